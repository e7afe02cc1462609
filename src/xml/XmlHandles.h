#pragma once

// libxml2's handles, declared exactly as libxml2's own headers declare them: the headers of
// this folder hold them typed, and only its .cpp files include libxml2.
typedef struct _xmlDoc xmlDoc;
typedef struct _xmlNode xmlNode;
typedef struct _xmlParserCtxt xmlParserCtxt;
typedef struct _xmlSchema xmlSchema;
typedef struct _xmlSchemaValidCtxt xmlSchemaValidCtxt;
