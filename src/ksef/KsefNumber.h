#pragma once

#include "xml/XmlDocument.h"

#include <QString>

// The invoice's KSeF number in a parsed invoice: the text content, untrimmed, of the first
// element named SystemInfo (any namespace prefix, ASCII case ignored), or an empty text when
// there is none.
QString KsefNumberOf(const TXmlDocument &document);

// The same for an invoice file. Errors loading the file pass to the caller unchanged.
QString ReadKsefNumber(const QString &fileName);
