#include "TestSupport.h"
#include "settings/Settings.h"

namespace {

class SettingsTest : public ::testing::Test {
protected:
  QString Path() const { return Dir.File(QStringLiteral("settings.ini")); }
  void Write(const QByteArray &bytes) const { Dir.WriteBytes(QStringLiteral("settings.ini"), bytes); }
  QByteArray Read() const { return Dir.ReadBytes(QStringLiteral("settings.ini")); }

  TTempDir Dir;
};

TEST_F(SettingsTest, MissingFileGivesEmptyPayerAndSplitPaymentOff) {
  const TCompanyData company = TSettings::LoadCompany(Path());
  EXPECT_TRUE(company.Name.isEmpty() && company.NIP.isEmpty() && company.IBAN.isEmpty() && company.BIC.isEmpty());
  const TMPPSettings mpp = TSettings::LoadMPP(Path());
  EXPECT_FALSE(mpp.Enabled);
  EXPECT_EQ(mpp.Format, TMPPFormat::None);
}

TEST_F(SettingsTest, CompanyIsWrittenInOrderAndReadBackWithoutBlanksOrQuotes) {
  TSettings::SaveCompany(Path(), {QStringLiteral(" Spółka "), QStringLiteral("1234563218"),
                                  QStringLiteral("PL61109010140000071219812874"), QStringLiteral("WBKPPLPP")});
  EXPECT_EQ(Read(), QByteArray("[COMPANY]\r\nNIP=1234563218\r\nName= Sp\xF3\xB3ka \r\n"
                               "IBAN=PL61109010140000071219812874\r\nBIC=WBKPPLPP\r\n"));
  EXPECT_EQ(TSettings::LoadCompany(Path()).Name, QStringLiteral("Spółka"));

  Write("[COMPANY]\r\nName=\"Firma\"\r\n");
  EXPECT_EQ(TSettings::LoadCompany(Path()).Name, QStringLiteral("Firma"));
}

TEST_F(SettingsTest, SplitPaymentRoundTrip) {
  TSettings::SaveMPP(Path(), {true, TMPPFormat::Both});
  EXPECT_EQ(Read(), QByteArray("[MPP]\r\nEnabled=1\r\nFormat=Both\r\n"));
  const TMPPSettings mpp = TSettings::LoadMPP(Path());
  EXPECT_TRUE(mpp.Enabled);
  EXPECT_EQ(mpp.Format, TMPPFormat::Both);

  TSettings::SaveMPP(Path(), {false, TMPPFormat::Structured});
  EXPECT_FALSE(TSettings::LoadMPP(Path()).Enabled);
  EXPECT_EQ(TSettings::LoadMPP(Path()).Format, TMPPFormat::Structured)
      << "the format is kept while split payment is off";
}

TEST_F(SettingsTest, EachSaveLeavesTheOtherSectionsAlone) {
  Write("[COMPANY]\r\nName=A\r\n[MPP]\r\nEnabled=1\r\nFormat=Ustrd\r\n[Program]\r\nLastBank=Konto2\r\n");
  TSettings::SaveCompany(Path(), {QStringLiteral("B"), QStringLiteral("N"), QStringLiteral("I"), QStringLiteral("C")});
  EXPECT_EQ(Read(),
            QByteArray("[COMPANY]\r\nName=B\r\nNIP=N\r\nIBAN=I\r\nBIC=C\r\n[MPP]\r\nEnabled=1\r\nFormat=Ustrd\r\n"
                       "[Program]\r\nLastBank=Konto2\r\n"));
  TSettings::SaveMPP(Path(), {false, TMPPFormat::None});
  EXPECT_EQ(Read(),
            QByteArray("[COMPANY]\r\nName=B\r\nNIP=N\r\nIBAN=I\r\nBIC=C\r\n[MPP]\r\nEnabled=0\r\nFormat=None\r\n"
                       "[Program]\r\nLastBank=Konto2\r\n"));
}

struct TFlagCase {
  const char *Value;
  bool Enabled;
};

class EnabledFlag : public SettingsTest, public ::testing::WithParamInterface<TFlagCase> {};

TEST_P(EnabledFlag, IsAnIntegerOtherThanZero) {
  Write(QByteArray("[MPP]\nEnabled=") + GetParam().Value + "\n");
  EXPECT_EQ(TSettings::LoadMPP(Path()).Enabled, GetParam().Enabled) << GetParam().Value;
}

INSTANTIATE_TEST_SUITE_P(Values, EnabledFlag,
                         ::testing::Values(TFlagCase{"1", true}, TFlagCase{"0", false}, TFlagCase{"2", true},
                                           TFlagCase{"-1", true}, TFlagCase{"0x1", true}, TFlagCase{"0x0", false},
                                           TFlagCase{"$A", true}, TFlagCase{"yes", false}, TFlagCase{"true", false},
                                           TFlagCase{"", false}, TFlagCase{"1.5", false}, TFlagCase{"0x", false},
                                           TFlagCase{"99999999999", false}, TFlagCase{"2147483648", false},
                                           TFlagCase{"-2147483648", true}, TFlagCase{"$ 1", false},
                                           TFlagCase{"0x 1", false}, TFlagCase{"- 1", false}, TFlagCase{"0x0x1", false},
                                           TFlagCase{"$0x1", false}, TFlagCase{"0xFFFFFFFF", true}));

struct TFormatCase {
  const char *Text;
  TMPPFormat Format;
};

class MPPFormatText : public ::testing::TestWithParam<TFormatCase> {};

TEST_P(MPPFormatText, ReadsTrimmedIgnoringCase) {
  EXPECT_EQ(TSettings::StringToMPPFormat(QString::fromUtf8(GetParam().Text)), GetParam().Format);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, MPPFormatText,
    ::testing::Values(TFormatCase{"None", TMPPFormat::None}, TFormatCase{"Ustrd", TMPPFormat::Ustrd},
                      TFormatCase{"Structured", TMPPFormat::Structured}, TFormatCase{"Both", TMPPFormat::Both},
                      TFormatCase{"structured", TMPPFormat::Structured},
                      TFormatCase{"  Structured", TMPPFormat::Structured}, TFormatCase{" both\t", TMPPFormat::Both},
                      TFormatCase{"Strd", TMPPFormat::None}, TFormatCase{"", TMPPFormat::None},
                      TFormatCase{"USTRD", TMPPFormat::Ustrd}, TFormatCase{"Standard", TMPPFormat::Standard},
                      TFormatCase{" standard ", TMPPFormat::Standard}));

TEST(MPPFormatToString, WritesTheFiveNames) {
  EXPECT_EQ(TSettings::MPPFormatToString(TMPPFormat::None), QStringLiteral("None"));
  EXPECT_EQ(TSettings::MPPFormatToString(TMPPFormat::Ustrd), QStringLiteral("Ustrd"));
  EXPECT_EQ(TSettings::MPPFormatToString(TMPPFormat::Structured), QStringLiteral("Structured"));
  EXPECT_EQ(TSettings::MPPFormatToString(TMPPFormat::Both), QStringLiteral("Both"));
  EXPECT_EQ(TSettings::MPPFormatToString(TMPPFormat::Standard), QStringLiteral("Standard"));
}

} // namespace
