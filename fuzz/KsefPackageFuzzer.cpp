// A decrypted KSeF package as the client unpacks it from disk: only "<KSeF number>.xml" and
// _metadata.json entries, each within its bound, or one Polish sentence.

#include "FuzzInput.h"
#include "ksef/KsefNumber.h"
#include "ksefapi/KsefPackage.h"
#include "model/Exception.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  static const TFuzzFile file(QStringLiteral("paczka.zip"));
  file.Write(InputBytes(data, size));
  try {
    const TKsefPackage package(file.Path(), TKsefPackage::MaxInvoices);
    for (const QString &number : package.Numbers())
      if (!IsKsefNumber(number))
        PropertyFailed("an entry that is no KSeF number was listed");
    package.ForEachInvoice([](const QString &number, const QByteArray &bytes) {
      if (!IsKsefNumber(number) || bytes.size() > TKsefPackage::MaxInvoiceSize)
        PropertyFailed("an entry out of its bounds was handed on");
    });
  } catch (const Exception &error) {
    if (error.Message().isEmpty())
      PropertyFailed("a package was refused without a message");
  }
  return 0;
}
