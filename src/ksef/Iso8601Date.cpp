#include "ksef/Iso8601Date.h"

#include "model/Exception.h"

#include <QTimeZone>
#include <optional>

namespace {

// Walks the text left to right; every read either consumes exactly what it asks for or
// fails without moving.
class TIsoReader {
public:
  explicit TIsoReader(QStringView text) : FText(text) {}

  bool AtEnd() const { return FPos == FText.size(); }
  bool NextIs(char16_t c) const { return FPos < FText.size() && FText[FPos] == c; }
  bool NextIsDigit() const { return DigitsAhead() > 0; }

  bool Skip(char16_t c) {
    if (!NextIs(c))
      return false;
    ++FPos;
    return true;
  }

  qsizetype DigitsAhead() const {
    qsizetype end = FPos;
    while (end < FText.size() && FText[end] >= u'0' && FText[end] <= u'9')
      ++end;
    return end - FPos;
  }

  // Exactly `count` digits as a number.
  std::optional<int> Number(int count) {
    if (DigitsAhead() < count)
      return std::nullopt;
    int value = 0;
    for (int i = 0; i < count; ++i)
      value = value * 10 + (FText[FPos++].unicode() - u'0');
    return value;
  }

  // The digits of a decimal fraction as milliseconds; digits past the third are dropped.
  std::optional<int> FractionMilliseconds() {
    const qsizetype count = DigitsAhead();
    if (count == 0)
      return std::nullopt;
    int value = 0;
    for (qsizetype i = 0; i < 3; ++i)
      value = value * 10 + (i < count ? FText[FPos + i].unicode() - u'0' : 0);
    FPos += count;
    return value;
  }

private:
  QStringView FText;
  qsizetype FPos = 0;
};

QDate OrdinalDate(int year, int dayOfYear) {
  const QDate first(year, 1, 1);
  if (!first.isValid() || dayOfYear < 1 || dayOfYear > first.daysInYear())
    return {};
  return first.addDays(dayOfYear - 1);
}

// Week 1 is the week that holds 4 January; weeks start on Monday (day 1).
QDate WeekDate(int year, int week, int dayOfWeek) {
  const QDate january4(year, 1, 4);
  if (!january4.isValid() || week < 1 || week > QDate(year, 12, 28).weekNumber() || dayOfWeek < 1 || dayOfWeek > 7)
    return {};
  return january4.addDays(1 - january4.dayOfWeek() + (week - 1) * 7 + (dayOfWeek - 1));
}

QDate ReadDate(TIsoReader &reader) {
  const std::optional<int> year = reader.Number(4);
  if (!year)
    return {};
  const bool extended = reader.Skip(u'-');
  if (reader.Skip(u'W')) {
    const std::optional<int> week = reader.Number(2);
    if (!week || (extended && !reader.Skip(u'-')))
      return {};
    const std::optional<int> day = reader.Number(1);
    return day ? WeekDate(*year, *week, *day) : QDate();
  }
  if (reader.DigitsAhead() == 3)
    return OrdinalDate(*year, *reader.Number(3));
  if (reader.DigitsAhead() != (extended ? 2 : 4))
    return {};
  const int month = *reader.Number(2);
  if (extended && !reader.Skip(u'-'))
    return {};
  const std::optional<int> day = reader.Number(2);
  return day ? QDate(*year, month, *day) : QDate();
}

QTime ReadTime(TIsoReader &reader) {
  const std::optional<int> hour = reader.Number(2);
  if (!hour)
    return {};
  const bool extended = reader.Skip(u':');
  const std::optional<int> minute = reader.Number(2);
  if (!minute)
    return {};
  int second = 0;
  int milliseconds = 0;
  if (extended ? reader.Skip(u':') : reader.NextIsDigit()) {
    const std::optional<int> secondRead = reader.Number(2);
    if (!secondRead)
      return {};
    second = *secondRead;
    if (reader.Skip(u'.') || reader.Skip(u',')) {
      const std::optional<int> fraction = reader.FractionMilliseconds();
      if (!fraction)
        return {};
      milliseconds = *fraction;
    }
  }
  return QTime(*hour, *minute, second, milliseconds);
}

// The zone designator: none when the text has none, an invalid zone when it is malformed.
std::optional<QTimeZone> ReadZone(TIsoReader &reader) {
  if (reader.Skip(u'Z'))
    return QTimeZone::utc();
  const bool ahead = reader.NextIs(u'+');
  if (!reader.Skip(u'+') && !reader.Skip(u'-'))
    return std::nullopt;
  const std::optional<int> hours = reader.Number(2);
  std::optional<int> minutes = 0;
  if (reader.Skip(u':') || reader.NextIsDigit())
    minutes = reader.Number(2);
  if (!hours || !minutes || *hours > 23 || *minutes > 59)
    return QTimeZone();
  const int seconds = (*hours * 60 + *minutes) * 60;
  return QTimeZone(ahead ? seconds : -seconds);
}

} // namespace

QDateTime ParseIso8601Date(const QString &text) {
  const auto fail = [&text] { return Exception(QStringLiteral("Invalid date string: %1").arg(text)); };
  TIsoReader reader(text);
  const QDate date = ReadDate(reader);
  if (!date.isValid())
    throw fail();
  if (reader.AtEnd())
    return QDateTime(date, QTime(0, 0));
  if (!reader.Skip(u'T'))
    throw fail();
  const QTime time = ReadTime(reader);
  if (!time.isValid())
    throw fail();
  const std::optional<QTimeZone> zone = ReadZone(reader);
  if ((zone && !zone->isValid()) || !reader.AtEnd())
    throw fail();
  return zone ? QDateTime(date, time, *zone) : QDateTime(date, time);
}
