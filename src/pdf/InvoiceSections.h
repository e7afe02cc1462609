#pragma once

#include "ksef/InvoiceDocument.h"
#include "pdf/PdfBlocks.h"

// The invoice as the parts of its PDF, in the order of the KSeF visualisation: title, parties,
// details, correction, lines, total, VAT summary, annotations, settlement, payment, terms,
// additional descriptions, footer, and the verification code. A part the invoice does not
// carry is left out. `ksefNumber` is printed only when not empty; `verificationLink` is the
// link of the code.
std::vector<TPdfBlock> InvoiceSections(const TInvoiceDocument &invoice, const QString &ksefNumber,
                                       const QString &verificationLink);

// "Faktura nr FV/1" with the KSeF number when known: the foot of every page.
QString FooterText(const TInvoiceDocument &invoice, const QString &ksefNumber);
