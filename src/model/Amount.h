#pragma once

#include <QString>
#include <QStringView>
#include <compare>
#include <cstdint>
#include <optional>

// A decimal text split as written: "-1234.50" is negative with "1234" and "50".
struct TDecimalParts {
  bool Negative = false;
  QStringView Integer;
  QStringView Fraction;
  bool HasPoint = false;
};

// Splits an optional sign, ASCII digits and at most one decimal point (any character of
// `points`) followed by ASCII digits; either side of the point may be empty. Nothing else,
// blanks included. The one reader of decimal texts: amounts, and the numbers the PDF prints.
std::optional<TDecimalParts> SplitDecimal(QStringView text, QStringView points);

// A fixed-point amount: a signed 64-bit count of ten-thousandths (12.34 is 123400).
// All arithmetic is exact integer work; an overflow is an error, never a wrap-around.
class TAmount {
public:
  static constexpr std::int64_t UnitsPerOne = 10000;

  constexpr TAmount() = default;
  static constexpr TAmount FromUnits(std::int64_t units) { return TAmount(units); }

  // Converts a decimal text written in the Polish number format: an optional sign, digits
  // and at most one decimal comma followed by digits, no thousands separators. Digits past
  // the fourth decimal are rounded half away from zero. Any other text, or a value too large
  // for the type, fails with "'<text>' is not a valid floating point value".
  static TAmount ParsePolish(const QString &text);

  constexpr std::int64_t Units() const { return FUnits; }

  TAmount operator+(TAmount other) const;
  TAmount operator-(TAmount other) const;
  TAmount &operator+=(TAmount other);

  constexpr auto operator<=>(const TAmount &) const = default;

private:
  constexpr explicit TAmount(std::int64_t units) : FUnits(units) {}
  std::int64_t FUnits = 0;
};

// The amount rounded half away from zero to two decimals, written with a full stop and no
// grouping, "-" in front when negative: 1234.5 gives "1234.50", zero gives "0.00".
QString FormatAmount(TAmount amount);
