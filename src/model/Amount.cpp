#include "model/Amount.h"

#include "model/Exception.h"

#include <limits>

namespace {

[[noreturn]] void ThrowNotAFloat(const QString &text) {
  throw Exception(QStringLiteral("'%1' is not a valid floating point value").arg(text));
}

bool IsDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// value * 10 + digit, or false when it would leave the 64-bit range.
bool AppendDigit(std::int64_t &value, int digit) {
  constexpr std::int64_t max = std::numeric_limits<std::int64_t>::max();
  if (value > (max - digit) / 10)
    return false;
  value = value * 10 + digit;
  return true;
}

} // namespace

std::optional<TDecimalParts> SplitDecimal(QStringView text, QStringView points) {
  TDecimalParts parts;
  qsizetype i = 0;
  const qsizetype n = text.size();
  if (i < n && (text[i] == u'+' || text[i] == u'-')) {
    parts.Negative = text[i] == u'-';
    ++i;
  }
  const qsizetype integerStart = i;
  while (i < n && IsDigit(text[i]))
    ++i;
  parts.Integer = text.sliced(integerStart, i - integerStart);
  if (i < n && points.contains(text[i])) {
    parts.HasPoint = true;
    const qsizetype fractionStart = ++i;
    while (i < n && IsDigit(text[i]))
      ++i;
    parts.Fraction = text.sliced(fractionStart, i - fractionStart);
  }
  if (i != n)
    return std::nullopt;
  return parts;
}

TAmount TAmount::ParsePolish(const QString &text) {
  const std::optional<TDecimalParts> parts = SplitDecimal(text, u",");
  if (!parts || (parts->HasPoint && parts->Fraction.isEmpty()) ||
      (parts->Integer.isEmpty() && parts->Fraction.isEmpty()))
    ThrowNotAFloat(text);

  std::int64_t units = 0;
  for (const QChar digit : parts->Integer)
    if (!AppendDigit(units, digit.digitValue()))
      ThrowNotAFloat(text);
  // Four decimals are kept; the fifth rounds them, half away from zero.
  for (qsizetype d = 0; d < 4; ++d)
    if (!AppendDigit(units, d < parts->Fraction.size() ? parts->Fraction[d].digitValue() : 0))
      ThrowNotAFloat(text);
  if (parts->Fraction.size() > 4 && parts->Fraction[4].digitValue() >= 5) {
    if (units == std::numeric_limits<std::int64_t>::max())
      ThrowNotAFloat(text);
    ++units;
  }
  return TAmount(parts->Negative ? -units : units);
}

TAmount TAmount::operator+(TAmount other) const {
  std::int64_t sum = 0;
  if (__builtin_add_overflow(FUnits, other.FUnits, &sum))
    throw Exception(QStringLiteral("Arithmetic overflow"));
  return TAmount(sum);
}

TAmount TAmount::operator-(TAmount other) const {
  std::int64_t difference = 0;
  if (__builtin_sub_overflow(FUnits, other.FUnits, &difference))
    throw Exception(QStringLiteral("Arithmetic overflow"));
  return TAmount(difference);
}

TAmount &TAmount::operator+=(TAmount other) {
  *this = *this + other;
  return *this;
}

QString FormatAmount(TAmount amount) {
  const std::int64_t units = amount.Units();
  // Work on the magnitude as unsigned so that the most negative value cannot overflow.
  std::uint64_t magnitude = units < 0 ? 0 - static_cast<std::uint64_t>(units) : static_cast<std::uint64_t>(units);
  std::uint64_t cents = magnitude / 100 + (magnitude % 100 >= 50 ? 1 : 0);
  const QString sign = units < 0 && cents != 0 ? QStringLiteral("-") : QString();
  return sign + QString::number(cents / 100) + u'.' + QStringLiteral("%1").arg(cents % 100, 2, 10, QChar(u'0'));
}
