#include "TestSupport.h"
#include "ksef/KsefNumber.h"

namespace {

struct TKsefNumberCase {
  const char *Fixture;
  QString Expected;
};

class ReadKsefNumberFixture : public ::testing::TestWithParam<TKsefNumberCase> {};

TEST_P(ReadKsefNumberFixture, GivesTheTextOfTheFirstSystemInfo) {
  const QString fileName = FixturePath(QStringLiteral("ksef/") + QString::fromUtf8(GetParam().Fixture));
  EXPECT_EQ(ReadKsefNumber(fileName), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, ReadKsefNumberFixture,
                         ::testing::Values(
                             // A namespace prefix is not part of the name.
                             TKsefNumberCase{"SystemInfoPrefixed.xml",
                                             QStringLiteral("5265877635-20250131-0100A0B1C2D3-E4")},
                             // Depth first in document order, an element before its children, any ASCII case; the text
                             // content takes the nested element's text too.
                             TKsefNumberCase{"SystemInfoNested.xml", QStringLiteral("deep-inner")},
                             // Untrimmed; CDATA and character references count, a comment does not.
                             TKsefNumberCase{"SystemInfoMixedContent.xml", QStringLiteral(" KSeF <1&2>&xŁ ")},
                             TKsefNumberCase{"NoSystemInfo.xml", QString()}));

TEST(ReadKsefNumber, TheRootElementItselfCanBeTheMatch) {
  TTempDir dir;
  dir.WriteBytes(QStringLiteral("root.xml"), "<SYSTEMINFO>root text</SYSTEMINFO>");
  EXPECT_EQ(ReadKsefNumber(dir.File(QStringLiteral("root.xml"))), QStringLiteral("root text"));
}

TEST(ReadKsefNumber, AnUndeclaredPrefixIsNoPartOfTheName) {
  TTempDir dir;
  dir.WriteBytes(QStringLiteral("prefix.xml"), "<F><x:SystemInfo>KSEF-1</x:SystemInfo></F>");
  EXPECT_EQ(ReadKsefNumber(dir.File(QStringLiteral("prefix.xml"))), QStringLiteral("KSEF-1"));
}

struct TFileNameCase {
  const char *Name;
  const char *FileName;
  const char *SystemInfo;
  const char *Expected;
};

class KsefNumberFromFileName : public ::testing::TestWithParam<TFileNameCase> {};

// Issuing software often writes its own name into SystemInfo; a KSeF download is named by its
// number, and a transfer title must carry that number.
TEST_P(KsefNumberFromFileName, TakesAValidNumberOfTheFileNameWhereSystemInfoHoldsNone) {
  TTempDir dir;
  const QString systemInfo = QString::fromUtf8(GetParam().SystemInfo);
  dir.WriteBytes(QString::fromUtf8(GetParam().FileName),
                 systemInfo.isNull()
                     ? QByteArray("<Faktura/>")
                     : "<Faktura><Naglowek><SystemInfo>" + systemInfo.toUtf8() + "</SystemInfo></Naglowek></Faktura>");
  EXPECT_EQ(ReadKsefNumber(dir.File(QString::fromUtf8(GetParam().FileName))), QString::fromUtf8(GetParam().Expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, KsefNumberFromFileName,
    ::testing::Values(TFileNameCase{"softwareNameAndARightCheckSum", "5265877635-20250826-0100001AF629-AF.xml",
                                    "Samplofaktur", "5265877635-20250826-0100001AF629-AF"},
                      TFileNameCase{"noSystemInfoAndARightCheckSum", "FA_6891152920-20231221-B3242FB4B54B-67.xml",
                                    nullptr, "6891152920-20231221-B3242FB4B54B-67"},
                      // A wrong check sum makes no KSeF number: SystemInfo stays, whatever it holds.
                      TFileNameCase{"softwareNameAndAWrongCheckSum", "6891152920-20231221-B3242FB4B54B-DF.xml",
                                    "Samplofaktur", "Samplofaktur"},
                      TFileNameCase{"noSystemInfoAndAWrongCheckSum", "6891152920-20231221-B3242FB4B54B-DF.xml", nullptr,
                                    ""},
                      // A KSeF number in SystemInfo wins over one in the file name, blanks around it and all.
                      TFileNameCase{"numberInBoth", "6891152920-20231221-B3242FB4B54B-67.xml",
                                    " 5265877635-20250826-0100001AF629-AF\n", " 5265877635-20250826-0100001AF629-AF\n"},
                      TFileNameCase{"noNumberInTheName", "faktura.xml", "Samplofaktur", "Samplofaktur"}),
    [](const ::testing::TestParamInfo<TFileNameCase> &info) { return std::string(info.param.Name); });

TEST(ReadKsefNumber, LoadingErrorsPassUnchanged) {
  TTempDir dir;
  EXPECT_THROW_MESSAGE(ReadKsefNumber(dir.File(QStringLiteral("brak.xml"))),
                       QStringLiteral("Nie można otworzyć pliku \"brak.xml\": plik nie istnieje."));

  // An entity declaration never gets as far as being expanded.
  dir.WriteBytes(QStringLiteral("entity.xml"), "<?xml version=\"1.0\"?>\n<!DOCTYPE F [<!ENTITY big \"xxxxxxxxxx\">]>\n"
                                               "<F><SystemInfo>&big;&big;</SystemInfo></F>");
  EXPECT_THROW_MESSAGE(ReadKsefNumber(dir.File(QStringLiteral("entity.xml"))),
                       QStringLiteral("Plik \"entity.xml\" zawiera deklarację DOCTYPE, której faktura nie może mieć."));
}

} // namespace
