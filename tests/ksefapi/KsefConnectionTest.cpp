#include "TestSupport.h"
#include "ksefapi/KsefConnection.h"

#include <gtest/gtest.h>

namespace {

struct TConnectionCase {
  const char *Settings;
  const char *Environment;
  const char *BaseUrl;
  const char *CaFile;
};

class TKsefConnectionTest : public ::testing::TestWithParam<TConnectionCase> {};

TEST_P(TKsefConnectionTest, ComesFromTheSectionKsefOfSettings) {
  const TConnectionCase &item = GetParam();
  const TTempDir dir;
  dir.WriteBytes(QStringLiteral("settings.ini"), item.Settings);
  const TKsefConnection connection = KsefConnectionFromSettings(dir.File(QStringLiteral("settings.ini")));
  EXPECT_EQ(connection.Environment, QString::fromUtf8(item.Environment));
  EXPECT_EQ(connection.BaseUrl, QString::fromUtf8(item.BaseUrl));
  EXPECT_EQ(connection.CaFile, QString::fromUtf8(item.CaFile));
}

INSTANTIATE_TEST_SUITE_P(
    Environments, TKsefConnectionTest,
    ::testing::Values(
        TConnectionCase{"[COMPANY]\nNIP=1\n", "produkcyjne", "https://api.ksef.mf.gov.pl/v2", ""},
        TConnectionCase{"[KSeF]\nSrodowisko=testowe\n", "testowe", "https://api-test.ksef.mf.gov.pl/v2", ""},
        TConnectionCase{"[ksef]\nsrodowisko=Demo\n", "demo", "https://api-demo.ksef.mf.gov.pl/v2", ""},
        TConnectionCase{"[KSeF]\nSrodowisko=produkcyjne\nAdres=https://proxy.firma.pl/ksef/v2/\nPlikCA=/etc/ca.pem\n",
                        "produkcyjne", "https://proxy.firma.pl/ksef/v2", "/etc/ca.pem"}));

TEST(TKsefConnectionErrorTest, AnUnknownEnvironmentOrAPlainAddressIsRefused) {
  const TTempDir dir;
  dir.WriteBytes(QStringLiteral("settings.ini"), "[KSeF]\nSrodowisko=test\n");
  EXPECT_THROW_MESSAGE(KsefConnectionFromSettings(dir.File(QStringLiteral("settings.ini"))),
                       QStringLiteral("Nieznane środowisko KSeF „test” w settings.ini ([KSeF] Srodowisko=): wpisz "
                                      "testowe, demo albo produkcyjne."));
  dir.WriteBytes(QStringLiteral("settings.ini"), "[KSeF]\nAdres=http://proxy/v2\n");
  EXPECT_THROW_MESSAGE(KsefConnectionFromSettings(dir.File(QStringLiteral("settings.ini"))),
                       QStringLiteral("Adres KSeF „http://proxy/v2” w settings.ini ([KSeF] Adres=) musi zaczynać się "
                                      "od https://."));
}

TEST(TKsefConnectionErrorTest, AnAddressServesOnlyTheConfiguredEnvironment) {
  const TTempDir dir;
  dir.WriteBytes(QStringLiteral("settings.ini"), "[KSeF]\nSrodowisko=demo\nAdres=https://proxy.firma.pl/v2\n");
  const QString settings = dir.File(QStringLiteral("settings.ini"));
  EXPECT_THROW_MESSAGE(KsefConnectionFromSettings(settings, QStringLiteral("testowe")),
                       QStringLiteral("W settings.ini jest adres KSeF ([KSeF] Adres=) dla środowiska „demo”, więc "
                                      "środowiska „testowe” nie można wybrać: zmień [KSeF] Srodowisko= albo usuń "
                                      "Adres=."));
  const TKsefConnection same = KsefConnectionFromSettings(settings, QStringLiteral("demo"));
  EXPECT_EQ(same.Environment, QStringLiteral("demo"));
  EXPECT_EQ(same.BaseUrl, QStringLiteral("https://proxy.firma.pl/v2"));
  // Without an address of its own, any environment may be chosen.
  dir.WriteBytes(QStringLiteral("settings.ini"), "[KSeF]\nSrodowisko=demo\n");
  EXPECT_EQ(KsefConnectionFromSettings(settings, QStringLiteral("testowe")).BaseUrl,
            QStringLiteral("https://api-test.ksef.mf.gov.pl/v2"));
}

} // namespace
