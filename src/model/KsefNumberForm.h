#pragma once

#include <QString>

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
