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

TAmount TAmount::ParsePolish(const QString &text) {
  qsizetype i = 0;
  const qsizetype n = text.size();
  bool negative = false;
  if (i < n && (text[i] == u'+' || text[i] == u'-')) {
    negative = text[i] == u'-';
    ++i;
  }

  std::int64_t units = 0;
  qsizetype intDigits = 0;
  for (; i < n && IsDigit(text[i]); ++i, ++intDigits)
    if (!AppendDigit(units, text[i].digitValue()))
      ThrowNotAFloat(text);

  qsizetype fracDigits = 0;
  int roundingDigit = 0;
  if (i < n && text[i] == u',') {
    ++i;
    for (; i < n && IsDigit(text[i]); ++i, ++fracDigits) {
      if (fracDigits < 4) {
        if (!AppendDigit(units, text[i].digitValue()))
          ThrowNotAFloat(text);
      } else if (fracDigits == 4) {
        roundingDigit = text[i].digitValue();
      }
    }
    if (fracDigits == 0)
      ThrowNotAFloat(text);
  }
  if (i != n || intDigits + fracDigits == 0)
    ThrowNotAFloat(text);

  for (qsizetype d = std::min<qsizetype>(fracDigits, 4); d < 4; ++d)
    if (!AppendDigit(units, 0))
      ThrowNotAFloat(text);
  if (roundingDigit >= 5) {
    if (units == std::numeric_limits<std::int64_t>::max())
      ThrowNotAFloat(text);
    ++units;
  }
  return TAmount(negative ? -units : units);
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
