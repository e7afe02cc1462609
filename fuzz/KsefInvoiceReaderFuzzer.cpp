// The invoice reader takes a whole file from a supplier. Whatever the file holds, it either
// gives payment data the transfer can be built from or fails with its one message.

#include "FuzzInput.h"
#include "ksef/KsefInvoiceReader.h"
#include "model/Exception.h"

#include <QDateTime>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  static const TFuzzFile file(QStringLiteral("faktura.xml"));
  static const QDateTime now(QDate(2026, 3, 5), QTime(14, 5, 9));
  file.Write(InputBytes(data, size));
  try {
    const TPayment invoice = TKsefInvoiceReader::LoadFromFile(file.Path(), now);
    if (invoice.Amount <= TAmount() || invoice.VATAmount < TAmount())
      PropertyFailed("an accepted invoice has an amount that is not positive or a negative VAT amount");
    if (!invoice.CreditorIBAN.startsWith(QStringLiteral("PL")))
      PropertyFailed("an accepted invoice has an account without the PL prefix");
    if (!invoice.InvoiceDate.date().isValid())
      PropertyFailed("an accepted invoice has no valid issue date");
  } catch (const Exception &) {
  }
  return 0;
}
