#pragma once

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

// The form of a number KSeF gives an invoice, to tell one from whatever else an invoice's
// SystemInfo carries (usually the name of the issuing software). The current form has 35
// characters, "NIP-YYYYMMDD-XXXXXXXXXXXX-CC": ten digits, a date, twelve upper-case hex digits
// and a CRC-8 (polynomial 0x07, initial 0x00) of the first 32 characters as two upper-case hex
// digits. The 36-character form of the first KSeF version splits the hex part with a hyphen
// and carries no check.
bool IsKsefNumber(const QString &text);

// The first KSeF number written in the file name (the directory is not searched), as KSeF
// downloads are often named by it; empty when there is none. A number counts only where it
// stands apart from other letters and digits.
QString KsefNumberInFileName(const QString &fileName);
