// KSeF's JSON answers as the client reads them: every reader must fail with one Polish
// sentence or give records within their bounds, never crash.

#include "FuzzInput.h"
#include "ksefapi/KsefAnswers.h"
#include "model/Exception.h"

template <typename Reader> static void Try(Reader reader) {
  try {
    reader();
  } catch (const Exception &error) {
    if (error.Message().isEmpty())
      PropertyFailed("an answer was refused without a message");
  }
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const QByteArray json = InputBytes(data, size);
  Try([&] { (void)ReadPublicKeys(json); });
  Try([&] { (void)ReadChallenge(json); });
  Try([&] { (void)ReadAuthStart(json); });
  Try([&] { (void)ReadAuthStatus(json); });
  Try([&] { (void)ReadTokens(json); });
  Try([&] { (void)ReadRefreshedAccessToken(json); });
  Try([&] { (void)ReadExportReference(json); });
  Try([&] {
    const TKsefExportStatus status = ReadExportStatus(json);
    for (const TKsefPackagePart &part : status.Parts)
      if (part.Hash.size() != 32 || part.EncryptedHash.size() != 32 || part.Size < 1 || part.EncryptedSize < 1)
        PropertyFailed("a package part out of its bounds was accepted");
  });
  (void)ReadErrorAnswer(json);
  if (const auto invoices = ReadPackageMetadata(json))
    for (const TKsefInvoiceMetadata &invoice : *invoices)
      if (invoice.InvoiceHash.size() != 32)
        PropertyFailed("an invoice hash that is not SHA-256 was accepted");
  return 0;
}
