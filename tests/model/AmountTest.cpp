#include "TestSupport.h"
#include "model/Amount.h"
#include "model/Payment.h"

#include <limits>

namespace {

struct TParseCase {
  const char *Text;
  std::int64_t Units;
};

class AmountParse : public ::testing::TestWithParam<TParseCase> {};

TEST_P(AmountParse, HoldsTheExactCount) {
  EXPECT_EQ(TAmount::ParsePolish(QString::fromUtf8(GetParam().Text)).Units(), GetParam().Units);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, AmountParse,
    ::testing::Values(TParseCase{"12,34", 123400}, TParseCase{"0,0001", 1}, TParseCase{"1234,5", 12345000},
                      TParseCase{"-5,00", -50000}, TParseCase{"+7", 70000}, TParseCase{"0", 0}, TParseCase{",5", 5000},
                      TParseCase{"1,23455", 12346}, TParseCase{"1,23454", 12345}, TParseCase{"-1,00005", -10001},
                      TParseCase{"922337203685477,5807", std::numeric_limits<std::int64_t>::max()}));

class AmountParseFailure : public ::testing::TestWithParam<const char *> {};

TEST_P(AmountParseFailure, NamesTheText) {
  const QString text = QString::fromUtf8(GetParam());
  EXPECT_THROW_MESSAGE(TAmount::ParsePolish(text),
                       QStringLiteral("'%1' is not a valid floating point value").arg(text));
}

INSTANTIATE_TEST_SUITE_P(Texts, AmountParseFailure,
                         ::testing::Values("", "-", "abc", "12.34", "1,000,50", "12,", " 12", "12 ", "1e5",
                                           "922337203685477,5808", "99999999999999999999"));

// The one reader of decimal texts keeps the digits as written, for the PDF to print them all.
struct TSplitCase {
  const char *Text;
  const char *Points;
  bool Valid;
  bool Negative;
  const char *Integer;
  const char *Fraction;
  bool HasPoint;
};

class DecimalSplit : public ::testing::TestWithParam<TSplitCase> {};

TEST_P(DecimalSplit, KeepsTheDigitsAsWritten) {
  const TSplitCase &c = GetParam();
  const QString text = QString::fromUtf8(c.Text);
  const std::optional<TDecimalParts> parts = SplitDecimal(text, QString::fromUtf8(c.Points));
  ASSERT_EQ(parts.has_value(), c.Valid) << c.Text;
  if (!parts)
    return;
  EXPECT_EQ(parts->Negative, c.Negative) << c.Text;
  EXPECT_EQ(parts->Integer.toString(), QString::fromUtf8(c.Integer)) << c.Text;
  EXPECT_EQ(parts->Fraction.toString(), QString::fromUtf8(c.Fraction)) << c.Text;
  EXPECT_EQ(parts->HasPoint, c.HasPoint) << c.Text;
}

INSTANTIATE_TEST_SUITE_P(Texts, DecimalSplit,
                         ::testing::Values(TSplitCase{"-1234.500001", ".,", true, true, "1234", "500001", true},
                                           TSplitCase{"+007,5", ".,", true, false, "007", "5", true},
                                           TSplitCase{"12.", ".", true, false, "12", "", true},
                                           TSplitCase{",5", ",", true, false, "", "5", true},
                                           TSplitCase{"42", ",", true, false, "42", "", false},
                                           TSplitCase{"12.5", ",", false, false, "", "", false},
                                           TSplitCase{" 12", ".,", false, false, "", "", false},
                                           TSplitCase{"1 234,5", ",", false, false, "", "", false},
                                           TSplitCase{"1.2.3", ".", false, false, "", "", false},
                                           TSplitCase{"١٢", ".", false, false, "", "", false}));

TEST(Amount, SumsAreExact) {
  const TAmount sum = TAmount::ParsePolish(QStringLiteral("100,10")) + TAmount::ParsePolish(QStringLiteral("200,20")) +
                      TAmount::ParsePolish(QStringLiteral("0,05"));
  EXPECT_EQ(sum.Units(), 3003500);
  EXPECT_EQ(FormatAmount(sum), QStringLiteral("300.35"));
  EXPECT_LT(TAmount(), TAmount::FromUnits(1));
  EXPECT_EQ(TAmount::FromUnits(5) - TAmount::FromUnits(7), TAmount::FromUnits(-2));
}

TEST(Amount, SumPastTheRangeFailsInsteadOfWrapping) {
  const TAmount max = TAmount::FromUnits(std::numeric_limits<std::int64_t>::max());
  EXPECT_THROW_MESSAGE(max + TAmount::FromUnits(1), QStringLiteral("Arithmetic overflow"));
  EXPECT_THROW_MESSAGE(TAmount::FromUnits(std::numeric_limits<std::int64_t>::min()) - TAmount::FromUnits(1),
                       QStringLiteral("Arithmetic overflow"));
}

struct TFormatCase {
  std::int64_t Units;
  const char *Text;
};

class AmountFormat : public ::testing::TestWithParam<TFormatCase> {};

TEST_P(AmountFormat, TwoDecimalsWithAFullStop) {
  EXPECT_EQ(FormatAmount(TAmount::FromUnits(GetParam().Units)), QString::fromUtf8(GetParam().Text));
}

INSTANTIATE_TEST_SUITE_P(
    Amounts, AmountFormat,
    ::testing::Values(TFormatCase{12345000, "1234.50"}, TFormatCase{0, "0.00"}, TFormatCase{10000000000, "1000000.00"},
                      TFormatCase{-50000, "-5.00"}, TFormatCase{12350, "1.24"}, TFormatCase{12349, "1.23"},
                      TFormatCase{-12350, "-1.24"}, TFormatCase{-49, "0.00"},
                      TFormatCase{std::numeric_limits<std::int64_t>::min(), "-922337203685477.58"}));

TEST(Payment, StartsEmpty) {
  const TPayment payment;
  EXPECT_EQ(payment.Kind, TPaymentKind::Invoice);
  EXPECT_TRUE(payment.InvoiceNumber.isEmpty());
  EXPECT_TRUE(payment.CreditorAddress.isEmpty());
  EXPECT_TRUE(payment.nrKsef.isEmpty());
  EXPECT_EQ(payment.Amount.Units(), 0);
  EXPECT_EQ(payment.VATAmount.Units(), 0);
  EXPECT_TRUE(payment.ExecutionDate.isNull());
  EXPECT_TRUE(payment.DueDate.isNull());
  EXPECT_FALSE(payment.SplitPayment);
}

} // namespace
