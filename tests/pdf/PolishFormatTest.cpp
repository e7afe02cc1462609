#include "TestSupport.h"
#include "pdf/PolishFormat.h"

namespace {

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
