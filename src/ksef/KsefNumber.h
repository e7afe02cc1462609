#pragma once

#include "model/KsefNumberForm.h"
#include "xml/XmlDocument.h"

#include <QString>

// The invoice's KSeF number in a parsed invoice: the text content, untrimmed, of the first
// element named SystemInfo (any namespace prefix, ASCII case ignored), or an empty text when
// there is none. Real invoices often fill SystemInfo with the name of the software that issued
// them; where it holds no KSeF number but the invoice's file name `fileName` carries a valid
// one (as KSeF names its downloads), that one is the number.
QString KsefNumberOf(const TXmlDocument &document, const QString &fileName);

// The same for an invoice file. Errors loading the file pass to the caller unchanged.
QString ReadKsefNumber(const QString &fileName);
