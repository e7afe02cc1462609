#include "model/PolishNumbers.h"

#include <algorithm>

namespace {

QString GroupedThousands(const QString &digits) {
  QString grouped;
  for (qsizetype i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0)
      grouped += u' ';
    grouped += digits[i];
  }
  return grouped;
}

// The text without the ASCII blanks around it.
QStringView WithoutAsciiBlanks(QStringView text) {
  const auto blank = [](QChar c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); };
  while (!text.isEmpty() && blank(text.front()))
    text = text.sliced(1);
  while (!text.isEmpty() && blank(text.back()))
    text.chop(1);
  return text;
}

} // namespace

QString PolishNumber(const QString &decimal, int minDecimals) {
  const std::optional<TDecimalParts> parts = SplitDecimal(WithoutAsciiBlanks(decimal), u".,");
  if (!parts || parts->Integer.isEmpty())
    return decimal;
  QString integer = parts->Integer.toString();
  while (integer.size() > 1 && integer.startsWith(u'0'))
    integer.remove(0, 1);
  QString fraction = parts->Fraction.toString();
  if (fraction.size() < minDecimals)
    fraction += QString(minDecimals - fraction.size(), u'0');
  const QString sign = parts->Negative ? QStringLiteral("-") : QString();
  return sign + GroupedThousands(integer) + (fraction.isEmpty() ? QString() : u',' + fraction);
}

QString PolishAmount(TAmount amount) { return PolishNumber(FormatAmount(amount), 2); }

QString PolishInteger(qint64 value) { return PolishNumber(QString::number(value), 0); }

QString PolishSeconds(qint64 milliseconds) {
  const qint64 tenths = (std::max<qint64>(0, milliseconds) + 50) / 100;
  return PolishInteger(tenths / 10) + u',' + QString::number(tenths % 10);
}
