#include "TestSupport.h"
#include "ksef/Iso8601Date.h"

#include <QTimeZone>

namespace {

struct TDateCase {
  const char *Text;
  QDate Date;
  QTime Time;
};

void PrintTo(const TDateCase &row, std::ostream *os) { *os << row.Text; }

class Iso8601DateForms : public ::testing::TestWithParam<TDateCase> {};

TEST_P(Iso8601DateForms, GiveTheDayInLocalTime) {
  const QDateTime result = ParseIso8601Date(QString::fromUtf8(GetParam().Text));
  EXPECT_EQ(result.date(), GetParam().Date);
  EXPECT_EQ(result.time(), GetParam().Time);
  EXPECT_EQ(result.timeSpec(), Qt::LocalTime);
}

const QTime Midnight(0, 0);

INSTANTIATE_TEST_SUITE_P(
    Texts, Iso8601DateForms,
    ::testing::Values(
        TDateCase{"2024-05-31", QDate(2024, 5, 31), Midnight}, TDateCase{"20240531", QDate(2024, 5, 31), Midnight},
        TDateCase{"2024-02-29", QDate(2024, 2, 29), Midnight}, TDateCase{"2024-152", QDate(2024, 5, 31), Midnight},
        TDateCase{"2024152", QDate(2024, 5, 31), Midnight}, TDateCase{"2024-366", QDate(2024, 12, 31), Midnight},
        TDateCase{"2024-W22-5", QDate(2024, 5, 31), Midnight}, TDateCase{"2024W225", QDate(2024, 5, 31), Midnight},
        // Week 1 of 2025 starts on Monday 30 December 2024.
        TDateCase{"2025-W01-1", QDate(2024, 12, 30), Midnight},
        // 2020 has 53 weeks; its last day is Sunday 3 January 2021.
        TDateCase{"2020-W53-7", QDate(2021, 1, 3), Midnight},
        TDateCase{"2024-05-31T10:30", QDate(2024, 5, 31), QTime(10, 30)},
        TDateCase{"2024-05-31T10:30:15", QDate(2024, 5, 31), QTime(10, 30, 15)},
        TDateCase{"2024-05-31T10:30:15.25", QDate(2024, 5, 31), QTime(10, 30, 15, 250)},
        TDateCase{"2024-05-31T10:30:15,1239", QDate(2024, 5, 31), QTime(10, 30, 15, 123)},
        TDateCase{"20240531T1030", QDate(2024, 5, 31), QTime(10, 30)},
        TDateCase{"20240531T103015", QDate(2024, 5, 31), QTime(10, 30, 15)},
        TDateCase{"2024-152T23:59:59", QDate(2024, 5, 31), QTime(23, 59, 59)},
        TDateCase{"2024-W22-5T00:00", QDate(2024, 5, 31), Midnight}));

struct TZoneCase {
  const char *Text;
  int OffsetSeconds;
};

void PrintTo(const TZoneCase &row, std::ostream *os) { *os << row.Text; }

class Iso8601DateZones : public ::testing::TestWithParam<TZoneCase> {};

TEST_P(Iso8601DateZones, KeepTheOffsetOfTheText) {
  const QDateTime result = ParseIso8601Date(QString::fromUtf8(GetParam().Text));
  EXPECT_EQ(result.date(), QDate(2024, 5, 31));
  EXPECT_EQ(result.time(), QTime(10, 30));
  EXPECT_EQ(result.offsetFromUtc(), GetParam().OffsetSeconds);
}

INSTANTIATE_TEST_SUITE_P(Texts, Iso8601DateZones,
                         ::testing::Values(TZoneCase{"2024-05-31T10:30Z", 0}, TZoneCase{"2024-05-31T10:30+02:00", 7200},
                                           TZoneCase{"2024-05-31T10:30-05:30", -19800},
                                           TZoneCase{"2024-05-31T10:30+01", 3600},
                                           TZoneCase{"20240531T1030+0200", 7200}, TZoneCase{"20240531T1030Z", 0}));

TEST(Iso8601Date, ZuluTimeIsTheSameInstantAsUtc) {
  EXPECT_EQ(ParseIso8601Date(QStringLiteral("2024-05-31T10:30Z")),
            QDateTime(QDate(2024, 5, 31), QTime(10, 30), QTimeZone::utc()));
}

class Iso8601DateFailure : public ::testing::TestWithParam<const char *> {};

TEST_P(Iso8601DateFailure, NamesTheText) {
  const QString text = QString::fromUtf8(GetParam());
  EXPECT_THROW_MESSAGE(ParseIso8601Date(text), QStringLiteral("Invalid date string: %1").arg(text));
}

INSTANTIATE_TEST_SUITE_P(Texts, Iso8601DateFailure,
                         ::testing::Values("", "2024", "2024-05", "202405", "2024-5-31", "24-05-31", "2024/05/31",
                                           "31.05.2024", "2024-02-30", "2023-02-29", "2024-13-01", "2024-00-10",
                                           "2024-05-00", "0000-01-01", "2024-000", "2023-366", "2024-367", "2024-W00-1",
                                           "2024-W53-1", "2024-W54-1", "2020-W53-8", "2024-W22-0", "2024-W22",
                                           "2024-W225", "2024W22-5", "2024-0531", "202405-31", " 2024-05-31",
                                           "2024-05-31 ", "2024-05-31T", "2024-05-31T10", "2024-05-31T24:00",
                                           "2024-05-31T10:60", "2024-05-31T10:30:60", "2024-05-31T10:3015",
                                           "2024-05-31T1030:15", "2024-05-31T10:30.5", "2024-05-31T10:30:15.",
                                           "2024-05-31T10:30+2", "2024-05-31T10:30+02:", "2024-05-31T10:30+24:00",
                                           "2024-05-31T10:30+02:60", "2024-05-31T10:30ZZ", "2024-05-31t10:30",
                                           "2024-05-31Z", "2024-05-31T10:30 CET", "２０２４-05-31"));

} // namespace
