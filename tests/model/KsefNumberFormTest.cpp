#include "TestSupport.h"
#include "model/KsefNumberForm.h"

namespace {

struct TNumberCase {
  const char *Text;
  bool IsNumber;
};

class KsefNumberFormat : public ::testing::TestWithParam<TNumberCase> {};

TEST_P(KsefNumberFormat, TellsNumbersFromOtherTexts) {
  EXPECT_EQ(IsKsefNumber(QString::fromUtf8(GetParam().Text)), GetParam().IsNumber) << GetParam().Text;
}

INSTANTIATE_TEST_SUITE_P(Cases, KsefNumberFormat,
                         ::testing::Values(
                             // The example of the KSeF documentation, and one more whose check was worked out by hand.
                             TNumberCase{"5265877635-20250826-0100001AF629-AF", true},
                             TNumberCase{"6891152920-20231221-B3242FB4B54B-67", true},
                             // A wrong check, lower-case hex, a letter in the NIP, a blank around it.
                             TNumberCase{"5265877635-20250826-0100001AF629-AE", false},
                             TNumberCase{"6891152920-20231221-B3242FB4B54B-DF", false},
                             TNumberCase{"5265877635-20250826-0100001af629-AF", false},
                             TNumberCase{"52658776X5-20250826-0100001AF629-AF", false},
                             TNumberCase{" 5265877635-20250826-0100001AF629-AF", false},
                             TNumberCase{"5265877635-20250826-0100001AF629-AF\n", false},
                             // The first version's 36 characters: no check to make, the form alone counts.
                             TNumberCase{"5265877635-20230526-0A1B2C-3D4E5F-12", true},
                             TNumberCase{"5265877635-20230526-0A1B2C-3D4E5-12", false},
                             // What real invoices carry in SystemInfo.
                             TNumberCase{"Samplofaktur", false}, TNumberCase{"", false}));

TEST(KsefNumberInFileName, FindsTheNumberKsefNamedTheDownloadBy) {
  EXPECT_EQ(KsefNumberInFileName(QStringLiteral("/home/ala/Pobrane/5265877635-20250826-0100001AF629-AF.xml")),
            QStringLiteral("5265877635-20250826-0100001AF629-AF"));
  EXPECT_EQ(KsefNumberInFileName(QStringLiteral("FA_5265877635-20250826-0100001AF629-AF (1).xml")),
            QStringLiteral("5265877635-20250826-0100001AF629-AF"));
  EXPECT_EQ(KsefNumberInFileName(QStringLiteral("5265877635-20230526-0A1B2C-3D4E5F-12.xml")),
            QStringLiteral("5265877635-20230526-0A1B2C-3D4E5F-12"));
}

TEST(KsefNumberInFileName, TakesTheFirstNumberWhoseCheckHolds) {
  EXPECT_EQ(KsefNumberInFileName(
                QStringLiteral("6891152920-20231221-B3242FB4B54B-DF_6891152920-20231221-B3242FB4B54B-67.xml")),
            QStringLiteral("6891152920-20231221-B3242FB4B54B-67"));
}

TEST(KsefNumberInFileName, FindsNoneWhereNoneStandsApart) {
  for (const char *name :
       {"faktura.xml", "alap-6891152920-20231221-B3242FB4B54B-DF.xml", "15265877635-20250826-0100001AF629-AF.xml",
        "5265877635-20250826-0100001AF629-AFF.xml", "/5265877635-20250826-0100001AF629-AF/faktura.xml"})
    EXPECT_EQ(KsefNumberInFileName(QString::fromUtf8(name)), QString()) << name;
}

} // namespace
