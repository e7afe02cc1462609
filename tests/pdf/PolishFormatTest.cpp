#include "TestSupport.h"
#include "pdf/PolishFormat.h"

namespace {

TEST(PolishFormat, NumbersTakeADecimalCommaAndBlanksBetweenThousands) {
  EXPECT_EQ(PolishAmount(QStringLiteral("1234.56")), QStringLiteral("1 234,56"));
  EXPECT_EQ(PolishAmount(QStringLiteral("1234567.5")), QStringLiteral("1 234 567,50"));
  EXPECT_EQ(PolishAmount(QStringLiteral("-200")), QStringLiteral("-200,00"));
  EXPECT_EQ(PolishAmount(QStringLiteral("0")), QStringLiteral("0,00"));
  EXPECT_EQ(PolishAmount(QStringLiteral("999")), QStringLiteral("999,00"));
  // Unit prices and quantities keep every decimal the invoice gives.
  EXPECT_EQ(PolishAmount(QStringLiteral("0.12345678")), QStringLiteral("0,12345678"));
  EXPECT_EQ(PolishNumber(QStringLiteral("1500"), 0), QStringLiteral("1 500"));
  EXPECT_EQ(PolishNumber(QStringLiteral("2.5"), 0), QStringLiteral("2,5"));
  // What is no number stays as the invoice wrote it.
  EXPECT_EQ(PolishAmount(QStringLiteral("brak")), QStringLiteral("brak"));
  EXPECT_EQ(PolishAmount(QString()), QString());
}

TEST(PolishFormat, DatesAreDayMonthYear) {
  EXPECT_EQ(PolishDate(QStringLiteral("2026-02-01")), QStringLiteral("01.02.2026"));
  EXPECT_EQ(PolishDate(QStringLiteral("2023-08-29T12:34:13Z")), QStringLiteral("29.08.2023"));
  EXPECT_EQ(PolishDate(QStringLiteral("luty")), QStringLiteral("luty"));
}

TEST(PolishFormat, AccountsAreGroupedByFour) {
  EXPECT_EQ(GroupedAccount(QStringLiteral("61109010140000071219812874")),
            QStringLiteral("61 1090 1014 0000 0712 1981 2874"));
  EXPECT_EQ(GroupedAccount(QStringLiteral("PL61109010140000071219812874")),
            QStringLiteral("PL61 1090 1014 0000 0712 1981 2874"));
  EXPECT_EQ(GroupedAccount(QStringLiteral("PL61 1090 1014")), QStringLiteral("PL61 1090 1014"));
}

} // namespace
