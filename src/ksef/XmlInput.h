#pragma once

#include <QString>
#include <libxml/tree.h>
#include <memory>

// Reading XML that comes from outside (invoices): no network, no entity substitution, no DTD
// loading, and a document that declares a DOCTYPE is refused, so a file can neither pull in a
// local file nor blow up memory.

struct TXmlDocFree {
  void operator()(xmlDoc *doc) const { xmlFreeDoc(doc); }
};
using TXmlDocument = std::unique_ptr<xmlDoc, TXmlDocFree>;

// Fails with one short Polish message that names the file (without its directory) and says
// what is wrong, with the line number where the parser gives one.
TXmlDocument LoadXmlFile(const QString &fileName);

// The element's name without any namespace prefix.
QString LocalName(const xmlNode *node);

// True for an element whose local name equals `name`, ignoring the case of ASCII letters.
bool HasLocalName(const xmlNode *node, const QString &name);
