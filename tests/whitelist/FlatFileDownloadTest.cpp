#include "FlatFileFixture.h"
#include "HttpsTestServer.h"
#include "SmtpTestServer.h"
#include "TestSupport.h"
#include "app/commands/WhiteListCommands.h"
#include "whitelist/FlatFileDownload.h"
#include "whitelist/WhiteListIndex.h"

#include <QDir>

namespace {

const QDate Today(2026, 12, 10);

class TFlatFileDownloadTest : public ::testing::Test {
protected:
  TFlatFileDownloadTest() {
    PackWith7z(Served, QStringLiteral("20261210.7z"),
               {MakeStandardFlatFileJson(Served, QStringLiteral("20261210.json"), Today)});
  }
  QString Target() const { return Downloads.File(QStringLiteral("20261210.7z")); }
  QStringList DownloadedFiles() const {
    return QDir(Downloads.Path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
  }

  TTempDir Served;
  TTempDir Downloads;
  TTempDir Certificates;
  TTestCertificate Certificate =
      MakeCertificate(Certificates, QStringLiteral("serwer"), QStringLiteral("IP:127.0.0.1"));
  TNoProgress NoProgress;
};

TEST_F(TFlatFileDownloadTest, FetchesTheWholeFileFromAServerItTrusts) {
  const THttpsTestServer server(Served, Certificate);

  DownloadFile({server.Base() + QStringLiteral("20261210.7z"), Certificate.CertFile}, Target(), NoProgress);

  EXPECT_EQ(Downloads.ReadBytes(QStringLiteral("20261210.7z")), Served.ReadBytes(QStringLiteral("20261210.7z")));
  EXPECT_EQ(DownloadedFiles(), QStringList{QStringLiteral("20261210.7z")});
}

struct TFailureCase {
  const char *Name;
  QString File;
  bool OwnAuthority;
  bool Truncate;
  // %1 is the address.
  QString Reason;
};

void PrintTo(const TFailureCase &c, std::ostream *os) { *os << c.Name; }

class TDownloadFailureTest : public TFlatFileDownloadTest, public ::testing::WithParamInterface<TFailureCase> {};

TEST_P(TDownloadFailureTest, SaysWhyAndLeavesTheEarlierFileAlone) {
  Downloads.WriteBytes(QStringLiteral("20261210.7z"), "poprzedni");
  const THttpsTestServer server(Served, Certificate, GetParam().Truncate ? QStringList{"--truncate"} : QStringList{});
  const QString url = server.Base() + GetParam().File;

  EXPECT_THROW_MESSAGE(
      DownloadFile({url, GetParam().OwnAuthority ? Certificate.CertFile : QString()}, Target(), NoProgress),
      QStringLiteral("Nie udało się pobrać pliku płaskiego z %1: %2.").arg(url, GetParam().Reason));

  EXPECT_EQ(Downloads.ReadBytes(QStringLiteral("20261210.7z")), QByteArray("poprzedni"));
  EXPECT_EQ(DownloadedFiles(), QStringList{QStringLiteral("20261210.7z")});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TDownloadFailureTest,
    ::testing::Values(TFailureCase{"untrustedCertificate", QStringLiteral("20261210.7z"), false, false,
                                   QStringLiteral("nie udało się potwierdzić certyfikatu serwera")},
                      TFailureCase{"missingDay", QStringLiteral("20261209.7z"), true, false,
                                   QStringLiteral("serwer nie ma takiego pliku")},
                      TFailureCase{"cutShort", QStringLiteral("20261210.7z"), true, true,
                                   QStringLiteral("połączenie przerwano przed końcem pliku")}),
    [](const auto &info) { return std::string(info.param.Name); });

TEST_F(TFlatFileDownloadTest, WithoutAServerSaysThereIsNoConnection) {
  const QString url = QStringLiteral("https://127.0.0.1:%1/20261210.7z").arg(ClosedPort());
  EXPECT_THROW_MESSAGE(DownloadFile({url, Certificate.CertFile}, Target(), NoProgress),
                       QStringLiteral("Nie udało się pobrać pliku płaskiego z %1: brak połączenia z serwerem (sprawdź "
                                      "dostęp do internetu).")
                           .arg(url));
  EXPECT_TRUE(DownloadedFiles().isEmpty());
}

TEST_F(TFlatFileDownloadTest, OnlyHttpsIsUsed) {
  const QString url = QStringLiteral("http://127.0.0.1:1/20261210.7z");
  EXPECT_THROW_MESSAGE(
      DownloadFile({url, QString()}, Target(), NoProgress),
      QStringLiteral("Nie udało się pobrać pliku płaskiego z %1: adres musi zaczynać się od https://.").arg(url));
}

// The command takes the address and the authority from settings.ini, downloads the day's
// archive, loads it and keeps only the index.
TEST_F(TFlatFileDownloadTest, TheCommandDownloadsFromTheAddressOfTheSettingsAndLoads) {
  const THttpsTestServer server(Served, Certificate);
  TTempDir app;
  app.WriteBytes(QStringLiteral("settings.ini"), (QStringLiteral("[BialaLista]\nAdres=") + server.Base().chopped(1) +
                                                  QStringLiteral("\nPlikCA=") + Certificate.CertFile + u'\n')
                                                     .toUtf8());
  const TAppPaths paths = TAppPaths::InDirectory(app.Path());

  const TFlatFileOutcome outcome = TWhiteListCommands::DownloadFlatFile(paths, Today, Today, NoProgress);

  ASSERT_TRUE(outcome.Loaded) << outcome.Error.toStdString();
  EXPECT_EQ(outcome.Loaded->Date, Today);
  EXPECT_EQ(QDir(paths.WhiteListDirectory()).entryList(QDir::Files, QDir::Name),
            QStringList{QStringLiteral("20261210.indeks")});
  EXPECT_EQ(TWhiteListIndex(QDir(paths.WhiteListDirectory()).filePath(QStringLiteral("20261210.indeks")))
                .Find(FlatFilePairs::ActiveNip, FlatFilePairs::ActiveAccount),
            TWhiteListStatus::Active);
}

// Some hundreds of megabytes are not fetched for a day whose index would go at once: the
// closed port shows that no connection is tried.
TEST_F(TFlatFileDownloadTest, ADayTooOldToBeKeptIsNotDownloaded) {
  TTempDir app;
  app.WriteBytes(QStringLiteral("settings.ini"),
                 QStringLiteral("[BialaLista]\nAdres=https://127.0.0.1:%1/\n").arg(ClosedPort()).toUtf8());
  const TAppPaths paths = TAppPaths::InDirectory(app.Path());
  TTempDir files;
  TWhiteListStore(paths.WhiteListDirectory())
      .Load(MakeStandardFlatFileJson(files, QStringLiteral("d.json"), Today), Today, NoProgress);

  const TFlatFileOutcome outcome = TWhiteListCommands::DownloadFlatFile(paths, Today, Today.addDays(-9), NoProgress);

  EXPECT_FALSE(outcome.Loaded);
  EXPECT_EQ(outcome.Error, QStringLiteral("Pliku płaskiego z dnia 01.12.2026 nie wczytano: jest o 9 dni starszy niż "
                                          "najnowszy wczytany, z dnia 10.12.2026, a indeksy starsze od najnowszego o "
                                          "7 dni lub więcej program usuwa."));
  EXPECT_EQ(QDir(paths.WhiteListDirectory()).entryList(QDir::Files, QDir::Name),
            QStringList{QStringLiteral("20261210.indeks")});
}

} // namespace
