// The PDF generator reads the invoice a user points it at, from any supplier. Whatever the file
// holds, the reader either gives a document with the number and issue date the PDF is titled
// by, which then turns into the parts of its pages, or fails with its one message.

#include "FuzzInput.h"
#include "model/Exception.h"
#include "pdf/InvoiceReader.h"
#include "pdf/InvoiceSections.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  try {
    const TInvoiceDocument invoice = ReadInvoiceDocument(InputBytes(data, size), QStringLiteral("faktura.xml"));
    if (invoice.Number.isEmpty() || invoice.IssueDate.isEmpty())
      PropertyFailed("an accepted invoice has no number or no issue date");
    if (InvoiceSections(invoice, QString(), QStringLiteral("https://qr.ksef.mf.gov.pl/invoice/")).empty())
      PropertyFailed("an accepted invoice gives no part of a page");
  } catch (const Exception &) {
  }
  return 0;
}
