#pragma once

#include <QString>

// Where the PDF rendering of an invoice lies: the invoice path without its last three
// characters, followed by "PDF" ("FA_17.xml" gives "FA_17.PDF", "FA.XML" gives "FA.PDF").
// The preview command opens it and the generator writes it, so both use this one rule.
QString InvoicePdfPath(const QString &invoicePath);
