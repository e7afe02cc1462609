// A flat file of the VAT white list as the loader reads it from disk: a 7z archive or the
// JSON itself, every header field and list checked.

#include "FuzzInput.h"
#include "model/Exception.h"
#include "whitelist/FlatFileReader.h"

#include <cstring>

namespace {

class TCheckingSink : public IFlatFileSink {
public:
  void Digest(TPayerKind, const TDigestPrefix &) override {}
  void Mask(const char *mask) override {
    for (int i = 0; i < MaskLength; ++i) {
      const char c = mask[i];
      const bool digit = c >= '0' && c <= '9';
      if (i >= 2 && i < 10 ? !digit : !(digit || c == 'X' || c == 'Y'))
        PropertyFailed("a mask that is not one was taken");
    }
  }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  static const TFuzzFile file(QStringLiteral("plik.json"));
  file.Write(InputBytes(data, size));
  TCheckingSink sink;
  TNoProgress progress;
  try {
    const TFlatFileHeader header = ReadFlatFile(file.Path(), QDate(2100, 1, 1), sink, progress);
    if (!header.Date.isValid() || header.Transformations < 1)
      PropertyFailed("a header that is not one was accepted");
  } catch (const Exception &) {
  }
  return 0;
}
