// The issue date of an invoice in ISO 8601. An accepted text is a real day.

#include "FuzzInput.h"
#include "ksef/Iso8601Date.h"
#include "model/Exception.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const QString text = InputText(data, size);
  try {
    const QDateTime date = ParseIso8601Date(text);
    if (!date.date().isValid())
      PropertyFailed("an accepted date is not a valid day");
  } catch (const Exception &) {
  }
  return 0;
}
