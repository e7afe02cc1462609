#include "TestSupport.h"
#include "model/PolishNumbers.h"

namespace {

TEST(PolishNumbers, DecimalTextsTakeADecimalCommaAndBlanksBetweenThousands) {
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

struct TNumberCase {
  QString Shown;
  QString Expected;
};

// Counts, durations and amounts of the program's messages, all with the same comma and blank.
TEST(PolishNumbers, CountsDurationsAndAmountsOfMessages) {
  const TNumberCase cases[] = {
      {PolishInteger(0), QStringLiteral("0")},
      {PolishInteger(999), QStringLiteral("999")},
      {PolishInteger(1000), QStringLiteral("1 000")},
      {PolishInteger(12345678), QStringLiteral("12 345 678")},
      {PolishInteger(-4500), QStringLiteral("-4 500")},
      {PolishSeconds(0), QStringLiteral("0,0")},
      {PolishSeconds(12345), QStringLiteral("12,3")},
      {PolishSeconds(12350), QStringLiteral("12,4")},
      {PolishSeconds(1234049), QStringLiteral("1 234,0")},
      {PolishAmount(TAmount::ParsePolish(QStringLiteral("18450"))), QStringLiteral("18 450,00")},
      {PolishAmount(TAmount::ParsePolish(QStringLiteral("-1234567,891"))), QStringLiteral("-1 234 567,89")},
      {PolishAmount(TAmount::ParsePolish(QStringLiteral("0,5"))), QStringLiteral("0,50")},
  };
  for (const TNumberCase &number : cases)
    EXPECT_EQ(number.Shown, number.Expected);
}

} // namespace
