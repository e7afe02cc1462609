// Amounts of invoices and VideoTel files in the Polish number format. An accepted text gives
// an amount that reads back to itself from its own four-decimal form.

#include "FuzzInput.h"
#include "model/Amount.h"
#include "model/Exception.h"

#include <cstdlib>

namespace {

// The amount as ParsePolish takes it back, with all four decimals.
QString FourDecimals(TAmount amount) {
  const std::int64_t units = amount.Units();
  const std::uint64_t magnitude = units < 0 ? 0 - static_cast<std::uint64_t>(units) : static_cast<std::uint64_t>(units);
  return (units < 0 ? QStringLiteral("-") : QString()) + QString::number(magnitude / 10000) + u',' +
         QStringLiteral("%1").arg(magnitude % 10000, 4, 10, QChar(u'0'));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const QString text = InputText(data, size);
  TAmount amount;
  try {
    amount = TAmount::ParsePolish(text);
  } catch (const Exception &) {
    return 0;
  }
  if (TAmount::ParsePolish(FourDecimals(amount)) != amount)
    PropertyFailed("an amount does not read back from its own text");
  const QString formatted = FormatAmount(amount);
  if (formatted.isEmpty() || formatted.count(u'.') != 1)
    PropertyFailed("a formatted amount has no single decimal point");
  try {
    // The sums of a batch: an overflow is an error, never a wrap-around.
    const TAmount twice = amount + amount;
    if ((amount > TAmount()) != (twice > amount))
      PropertyFailed("a sum wrapped around");
  } catch (const Exception &) {
  }
  return 0;
}
