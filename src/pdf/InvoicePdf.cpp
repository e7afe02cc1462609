#include "pdf/InvoicePdf.h"

#include "model/KsefNumberForm.h"
#include "model/Text.h"
#include "pdf/InvoiceReader.h"
#include "pdf/InvoiceSections.h"
#include "ksef/InvoiceTexts.h"
#include "pdf/PdfPages.h"
#include "pdf/VerificationLink.h"

QString KsefNumberToPrint(const QString &given, const QString &invoicePath) {
  const QString trimmed = Trim(given);
  return IsKsefNumber(trimmed) ? trimmed : KsefNumberInFileName(invoicePath);
}

QByteArray RenderInvoicePdf(const QByteArray &invoiceFile, const QString &invoicePath, const QString &givenKsefNumber,
                            const QString &qrBase) {
  const TInvoiceDocument invoice = ReadInvoiceDocument(invoiceFile, invoicePath);
  const QString ksefNumber = KsefNumberToPrint(givenKsefNumber, invoicePath);
  const QString link = VerificationLink(qrBase, invoice.Seller.Nip, invoice.IssueDate, invoiceFile);
  const QString title = InvoiceKindName(invoice.Kind) + QStringLiteral(" nr ") + invoice.Number;
  return WritePdfPages(InvoiceSections(invoice, ksefNumber, link), FooterText(invoice, ksefNumber), title);
}
