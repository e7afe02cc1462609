#pragma once

#include <QString>
#include <libxml/tree.h>

// The invoice's KSeF number in a parsed invoice: the text content, untrimmed, of the first
// element named SystemInfo (any namespace prefix, ASCII case ignored), or an empty text when
// there is none.
QString KsefNumberOf(const xmlDoc *document);
