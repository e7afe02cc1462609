#include "KsefStandIn.h"
#include "TestSupport.h"
#include "app/commands/KsefDownload.h"
#include "ksefapi/KsefConnection.h"
#include "ksefapi/KsefDownloadState.h"
#include "ksefapi/KsefTokenLogin.h"
#include "ksefapi/KsefXadesLogin.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>
#include <QTimeZone>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QString Nip = QStringLiteral("1234563218");
const QByteArray Token = "20261211-EC-5A0F2C3B00-77E1D0A9B4-3C|nip-1234563218|a1b2c3d4e5f6";
const QDateTime Now(QDate(2026, 12, 1), QTime(0, 0), Qt::UTC);
const QDateTime Hwm(QDate(2026, 11, 30), QTime(0, 0), Qt::UTC);

// Records the waits KSeF asked for instead of waiting, and moves its clock by them.
class TRecordingWaiter : public IKsefWaiter {
public:
  void Wait(int seconds, const IKsefProgress &) override {
    Waits << seconds;
    Clock = Clock.addSecs(seconds);
  }
  QDateTime Now() const override { return Clock; }
  QList<int> Waits;
  // Starts at the real time: the stand-in's public keys are valid around it.
  QDateTime Clock = QDateTime::currentDateTimeUtc();
};

class TKsefDownloadTest : public ::testing::Test {
protected:
  void WriteSettings(const TKsefStandIn &server, bool trustServer = true) {
    QByteArray settings = "[COMPANY]\r\nNIP=" + Nip.toLatin1() +
                          "\r\n[KSeF]\r\nSrodowisko=testowe\r\nAdres=" + server.Base().toLatin1() + "\r\n";
    if (trustServer)
      settings += "PlikCA=" + server.CaFile().toLatin1() + "\r\n";
    Data.WriteBytes(QStringLiteral("settings.ini"), settings);
  }

  TKsefDownloadOutcome Download(const TKsefStandIn &server, const TKsefDownloadRequest &request = {},
                                const QDateTime &now = Now) {
    WriteSettings(server);
    TKsefTokenLogin login(Token);
    TNoProgress progress;
    return DownloadKsefInvoices(TAppPaths::InDirectory(Data.Path()), now, login, request, progress, Waiter);
  }

  QString InvoiceFile(const QString &number) const {
    return Data.File(QStringLiteral("FAKTURY_KSEF_testowe/") + number + QStringLiteral(".xml"));
  }
  // Every file of the invoice folder, hidden ones too.
  QStringList InvoiceFolder() const {
    return QDir(Data.File(QStringLiteral("FAKTURY_KSEF_testowe"))).entryList(QDir::Files | QDir::Hidden, QDir::Name);
  }
  std::optional<QDateTime> RememberedStart() const {
    return TKsefDownloadState(Data.File(QStringLiteral("ksef-pobieranie.ini"))).Start(QStringLiteral("testowe"), Nip);
  }

  TTempDir Data;
  TRecordingWaiter Waiter;
};

QStringList Numbers(const TKsefDownloadOutcome &outcome) {
  QStringList numbers;
  for (const TKsefStoredInvoice &invoice : outcome.Invoices)
    numbers << invoice.Metadata.KsefNumber;
  return numbers;
}

TEST_F(TKsefDownloadTest, TokenLoginDownloadsEveryPurchaseInvoiceWithItsExactBytesAndRemembersTheMark) {
  const TKsefStandIn server(Nip, {"--token", QString::fromLatin1(Token), "--invoices", "5"});
  const TKsefDownloadOutcome outcome = Download(server);

  ASSERT_EQ(outcome.Error, QString());
  EXPECT_EQ(Numbers(outcome), server.InvoiceNumbers());
  for (const QString &number : server.InvoiceNumbers()) {
    QFile file(InvoiceFile(number));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << number.toStdString();
    EXPECT_EQ(file.readAll(), server.InvoiceBytes(number));
  }
  EXPECT_EQ(InvoiceFolder().size(), 5);
  EXPECT_EQ(outcome.Invoices.first().Metadata.SellerNip, QStringLiteral("5260000028"));
  EXPECT_EQ(outcome.Invoices.first().Metadata.GrossAmount, QStringLiteral("107.01"));
  EXPECT_EQ(RememberedStart(), Hwm);
  // The login and the export were each found still running once.
  EXPECT_EQ(Waiter.Waits, (QList<int>{1, 1}));
  EXPECT_EQ(server.Count("POST /v2/auth/token/redeem 200"), 1);
  EXPECT_EQ(server.Count("DELETE /v2/auth/sessions/current 204"), 1);
  EXPECT_EQ(KsefDownloadLines(outcome).last(), QStringLiteral("Pobrano z KSeF nowych faktur zakupu: 5."));
  EXPECT_EQ(KsefDownloadLines(outcome).first(),
            QStringLiteral("%1  Dostawca  FV/%2/2026  107.01 PLN")
                .arg(server.InvoiceNumbers().first(), server.InvoiceNumbers().first().right(6)));

  // The next download starts at the mark and finds nothing new.
  const TKsefDownloadOutcome again = Download(server);
  ASSERT_EQ(again.Error, QString());
  EXPECT_TRUE(again.Invoices.isEmpty());
  EXPECT_EQ(KsefDownloadLines(again), QStringList{QStringLiteral("Brak nowych faktur zakupu w KSeF.")});
  EXPECT_EQ(RememberedStart(), Hwm);
}

TEST_F(TKsefDownloadTest, NoFileTheRunWritesNorAnyLineItShowsHoldsTheToken) {
  const TKsefStandIn server(
      Nip, {"--token", QString::fromLatin1(Token), "--fault", "rate-limit", "--fault", "expired-token"});
  const TKsefDownloadOutcome outcome = Download(server);
  ASSERT_EQ(outcome.Error, QString());
  const TKsefStandIn refusing(Nip, {"--token", "another token", "--fault", "login-450"});
  const TKsefDownloadOutcome refused = Download(refusing);
  ASSERT_FALSE(refused.Error.isEmpty());

  const QByteArray secret = Token.left(30);
  QDirIterator files(Data.Path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
  int searched = 0;
  while (files.hasNext()) {
    QFile file(files.next());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_FALSE(file.readAll().contains(secret)) << file.fileName().toStdString();
    ++searched;
  }
  EXPECT_GE(searched, 3);
  for (const TKsefDownloadOutcome *run : {&outcome, &refused})
    for (const QString &line : KsefDownloadLines(*run) + run->Notices + QStringList{run->Error})
      EXPECT_FALSE(line.toUtf8().contains(secret)) << line.toStdString();
}

struct TFaultCase {
  const char *Fault;
  // Empty: the download succeeds all the same.
  const char *Error;
  // A notice the user reads, or none.
  const char *Notice;
  // Invoices stored of the three.
  int Stored;
};

class TKsefFaultTest : public TKsefDownloadTest, public ::testing::WithParamInterface<TFaultCase> {};

TEST_P(TKsefFaultTest, ReachesTheUserAsOnePolishLineAndLeavesNothingHalfWritten) {
  const TFaultCase &fault = GetParam();
  const TKsefStandIn server(Nip, {"--token", QString::fromLatin1(Token), "--fault", fault.Fault});
  const TKsefDownloadOutcome outcome = Download(server);

  // %1 in a message: the last invoice of the server.
  EXPECT_EQ(outcome.Error,
            QString::fromUtf8(fault.Error).replace(QStringLiteral("%1"), server.InvoiceNumbers().last()));
  EXPECT_FALSE(outcome.Cancelled);
  if (*fault.Notice) {
    EXPECT_TRUE(outcome.Notices.contains(QString::fromUtf8(fault.Notice))) << outcome.Notices.join('\n').toStdString();
  }
  EXPECT_EQ(outcome.Invoices.size(), fault.Stored);
  // Only whole invoices, no temporary left.
  EXPECT_EQ(InvoiceFolder().size(), fault.Stored) << InvoiceFolder().join(' ').toStdString();
  EXPECT_EQ(RememberedStart(), *fault.Error ? std::nullopt : std::optional<QDateTime>(Hwm));
}

INSTANTIATE_TEST_SUITE_P(
    Faults, TKsefFaultTest,
    ::testing::Values(
        TFaultCase{"rate-limit", "", "KSeF ogranicza liczbę zapytań: ponowienie za 7 s", 3},
        TFaultCase{"expired-token", "", "", 3}, TFaultCase{"expired-part", "", "", 3},
        TFaultCase{"truncated", "", "", 3},
        TFaultCase{"no-metadata", "",
                   "Paczka faktur z KSeF nie ma czytelnego pliku _metadata.json: faktury rozpoznano po nazwach plików, "
                   "bez sprawdzenia ich skrótów.",
                   3},
        TFaultCase{"corrupt-part",
                   "Część 1 paczki faktur z KSeF jest uszkodzona albo nie jest tym, co zapowiedział KSeF (nie zgadza "
                   "się skrót zaszyfrowanej części); z tej paczki nie zapisano żadnej faktury, spróbuj ponownie.",
                   "", 0},
        TFaultCase{"html-part",
                   "Część 1 paczki faktur z KSeF jest uszkodzona albo nie jest tym, co zapowiedział KSeF (nie zgadza "
                   "się skrót zaszyfrowanej części); z tej paczki nie zapisano żadnej faktury, spróbuj ponownie.",
                   "", 0},
        TFaultCase{"long-part",
                   "Część 1 paczki faktur z KSeF jest większa, niż zapowiedział KSeF; z tej paczki nie zapisano żadnej "
                   "faktury, spróbuj ponownie.",
                   "", 0},
        TFaultCase{"missing-entry",
                   "Faktury %1 z pliku _metadata.json nie ma w paczce KSeF; z tej paczki nie zapisano żadnej faktury, "
                   "spróbuj ponownie.",
                   "", 0},
        TFaultCase{"big-package",
                   "Część 1 paczki faktur z KSeF jest uszkodzona albo nie jest tym, co zapowiedział KSeF (nie zgadza "
                   "się skrót zaszyfrowanej części); z tej paczki nie zapisano żadnej faktury, spróbuj ponownie.",
                   "", 0},
        TFaultCase{"oversize-package",
                   "Paczka faktur z KSeF byłaby większa niż dopuszczalne 1152 MB; niczego nie pobrano, spróbuj pobrać "
                   "krótszy zakres dat.",
                   "", 0},
        TFaultCase{"delete-part",
                   "Odpowiedź KSeF na pytanie o stan eksportu faktur jest nieczytelna; spróbuj ponownie później.", "",
                   0},
        TFaultCase{"bad-entry",
                   "Paczka faktur z KSeF zawiera niedozwolony wpis „../evil.xml”; nie zapisano z niej żadnej faktury.",
                   "", 0},
        TFaultCase{"login-415",
                   "Logowanie do KSeF nie powiodło się (415): certyfikat albo token nie ma prawa do faktur tej firmy; "
                   "nadaj mu w KSeF uprawnienie „InvoiceRead” dla NIP płatnika.",
                   "", 0},
        TFaultCase{"login-450",
                   "Logowanie do KSeF nie powiodło się (450): token KSeF jest błędny, nieaktywny albo unieważniony, "
                   "lub zegar komputera jest źle ustawiony; wygeneruj nowy token w KSeF i sprawdź czas.",
                   "", 0},
        TFaultCase{"login-460",
                   "Logowanie do KSeF nie powiodło się (460): certyfikat jest nieważny, odwołany, zawieszony albo jego "
                   "wystawca nie jest zaufany; użyj ważnego certyfikatu KSeF, pieczęci albo podpisu kwalifikowanego.",
                   "", 0},
        TFaultCase{"range-21405",
                   "KSeF odrzucił dane zapytania (kod 21405), np. zakres dat dłuższy niż 3 miesiące albo błędny NIP; "
                   "sprawdź daty i NIP płatnika.",
                   "", 0}),
    [](const ::testing::TestParamInfo<TFaultCase> &info) {
      return QString::fromLatin1(info.param.Fault).remove(u'-').toStdString();
    });

struct TSmallPartCase {
  const char *Name;
  QStringList Options;
};

class TKsefSmallPartTest : public TKsefDownloadTest, public ::testing::WithParamInterface<TSmallPartCase> {};

// Parts of 16 bytes: hundreds of them make an export status far longer than an error answer
// may be, and an expired address's error answer longer than the part.
TEST_P(TKsefSmallPartTest, EveryInvoiceArrives) {
  const TKsefStandIn server(Nip, QStringList{"--token", QString::fromLatin1(Token), "--part-size", "16"} +
                                     GetParam().Options);
  const TKsefDownloadOutcome outcome = Download(server);
  ASSERT_EQ(outcome.Error, QString());
  EXPECT_EQ(Numbers(outcome), server.InvoiceNumbers());
  EXPECT_EQ(RememberedStart(), Hwm);
}

INSTANTIATE_TEST_SUITE_P(SmallParts, TKsefSmallPartTest,
                         ::testing::Values(TSmallPartCase{"ManyParts", {"--invoices", "4"}},
                                           TSmallPartCase{"ExpiredPart",
                                                          {"--invoices", "1", "--fault", "expired-part"}}),
                         [](const ::testing::TestParamInfo<TSmallPartCase> &info) { return info.param.Name; });

TEST_F(TKsefDownloadTest, ARefusedRefreshLogsInAgainAndAskesOnce) {
  const TKsefStandIn server(
      Nip, {"--token", QString::fromLatin1(Token), "--fault", "expired-token", "--fault", "expired-refresh"});
  const TKsefDownloadOutcome outcome = Download(server);
  ASSERT_EQ(outcome.Error, QString());
  EXPECT_EQ(outcome.Invoices.size(), 3);
  EXPECT_EQ(server.Count("POST /v2/auth/token/refresh 401"), 1);
  EXPECT_EQ(server.Count("POST /v2/auth/ksef-token 202"), 2);
  EXPECT_EQ(server.Count("POST /v2/invoices/exports 201"), 1);
}

TEST_F(TKsefDownloadTest, ATruncatedPackageContinuesFromItsLastDateAndTakesEachNumberOnce) {
  const TKsefStandIn server(Nip, {"--token", QString::fromLatin1(Token), "--invoices", "5", "--fault", "truncated"});
  const TKsefDownloadOutcome outcome = Download(server);
  ASSERT_EQ(outcome.Error, QString());
  EXPECT_EQ(Numbers(outcome), server.InvoiceNumbers());
  // Packages of two, each next one starting at the previous one's last invoice.
  EXPECT_EQ(server.Count("POST /v2/invoices/exports 201"), 4);
}

TEST_F(TKsefDownloadTest, ATruncationBetweenInvoicesMicrosecondsApartLosesNeither) {
  // Invoice 2 at x.266578 ends a package; invoice 3 follows 300 µs later, before x.267.
  const TKsefStandIn server(Nip, {"--token", QString::fromLatin1(Token), "--invoices", "5", "--fault", "truncated",
                                  "--fault", "microseconds"});
  const TKsefDownloadOutcome outcome = Download(server);
  ASSERT_EQ(outcome.Error, QString());
  EXPECT_EQ(Numbers(outcome), server.InvoiceNumbers());
  EXPECT_EQ(RememberedStart(), Hwm);
}

// What the download says when KSeF's limit of 20 export orders an hour allows none before
// `allowed` (UTC, to the minute).
QString ExportLimitReached(const QDateTime &allowed) {
  return QStringLiteral("KSeF pozwala na 20 eksportów faktur na godzinę i ten limit jest już wyczerpany; dalsze "
                        "faktury pobierz po %1.")
      .arg(allowed.toTimeZone(QTimeZone(QByteArrayLiteral("Europe/Warsaw")))
               .toString(QStringLiteral("dd.MM.yyyy HH:mm")));
}

// Today at noon: within the stand-in's keys' validity, and a clock the waits alone move.
QDateTime Noon() { return QDateTime(QDateTime::currentDateTimeUtc().date(), QTime(12, 0), Qt::UTC); }

// Each order of the run and each wait for its package take a second of the test's clock: the
// 17th order waits for the first to leave the minute, the 21st would wait for it to leave the
// hour, and the run stops there.
TEST_F(TKsefDownloadTest, ARunAsksForNoMoreExportsThanKsefAllowsAndTheNextOneGoesOnFromThere) {
  const TKsefStandIn server(Nip, {"--token", QString::fromLatin1(Token), "--invoices", "27", "--fault", "truncated"});
  const QDateTime noon = Noon();
  Waiter.Clock = noon;
  const TKsefDownloadOutcome outcome = Download(server);
  ASSERT_EQ(outcome.Error, QString());
  EXPECT_EQ(outcome.Notices, (QStringList{QStringLiteral("KSeF ogranicza liczbę zapytań: ponowienie za 44 s"),
                                          ExportLimitReached(noon.addSecs(3660))}));
  EXPECT_EQ(server.Count("POST /v2/invoices/exports 201"), 20);
  // Packages of two, each but the first adding one: 21 invoices, the last one's date kept.
  EXPECT_EQ(outcome.Invoices.size(), 21);
  EXPECT_EQ(RememberedStart(), QDateTime(QDate(2026, 11, 23), QTime(10, 0), Qt::UTC));

  Waiter.Clock = Waiter.Clock.addSecs(3600);
  const TKsefDownloadOutcome rest = Download(server);
  ASSERT_EQ(rest.Error, QString());
  EXPECT_EQ(Numbers(outcome) + Numbers(rest).mid(1), server.InvoiceNumbers());
  EXPECT_EQ(KsefDownloadLines(rest).last(),
            QStringLiteral("Pobrano z KSeF nowych faktur zakupu: 6. Już zapisanych wcześniej: 1."));
  EXPECT_EQ(RememberedStart(), Hwm);
}

// The orders of a run are remembered: runs one after another ask KSeF for no more than the
// limit allows, and one with no order left says when to go on.
TEST_F(TKsefDownloadTest, QuickSuccessiveRunsTogetherKeepWithinKsefsLimitOfExports) {
  const TKsefStandIn server(Nip, {"--token", QString::fromLatin1(Token), "--invoices", "27", "--fault", "truncated"});
  const QDateTime noon = Noon();
  Waiter.Clock = noon;
  TKsefDownloadRequest first;
  first.To = QDate(2026, 11, 12);
  const TKsefDownloadOutcome tenDays = Download(server, first);
  ASSERT_EQ(tenDays.Error, QString());
  EXPECT_EQ(tenDays.Invoices.size(), 10);
  EXPECT_EQ(server.Count("POST /v2/invoices/exports 201"), 9);

  TKsefDownloadRequest next;
  next.From = QDate(2026, 11, 13);
  const TKsefDownloadOutcome cut = Download(server, next);
  ASSERT_EQ(cut.Error, QString());
  EXPECT_EQ(cut.Notices, (QStringList{QStringLiteral("KSeF ogranicza liczbę zapytań: ponowienie za 43 s"),
                                      ExportLimitReached(noon.addSecs(3660))}));
  EXPECT_EQ(server.Count("POST /v2/invoices/exports 201"), 20);
  EXPECT_EQ(cut.Invoices.size(), 12);

  const TKsefDownloadOutcome none = Download(server);
  EXPECT_EQ(none.Error, ExportLimitReached(noon.addSecs(3660)));
  EXPECT_TRUE(none.Invoices.isEmpty());
  EXPECT_EQ(server.Count("POST /v2/invoices/exports"), 20);
}

const QString KeysListed = QStringLiteral("GET /v2/security/public-key-certificates 200");

TEST_F(TKsefDownloadTest, APublicKeyIsChosenByItsUsageAndValidityNotByItsPlaceInTheList) {
  const TKsefStandIn server(Nip, {"--token", QString::fromLatin1(Token), "--fault", "expired-key-first"});
  const TKsefDownloadOutcome outcome = Download(server);
  ASSERT_EQ(outcome.Error, QString());
  EXPECT_EQ(Numbers(outcome), server.InvoiceNumbers());
  EXPECT_EQ(server.Count(KeysListed), 2);
}

TEST_F(TKsefDownloadTest, WithNoPublicKeyValidNowNothingIsSentAndTheUserIsToldToCheckTheClock) {
  const TKsefStandIn server(Nip, {"--token", QString::fromLatin1(Token)});
  // The keys are valid for two days from now.
  Waiter.Clock = Waiter.Clock.addDays(5);
  const TKsefDownloadOutcome outcome = Download(server);
  EXPECT_EQ(outcome.Error, QStringLiteral("Żaden klucz publiczny KSeF do szyfrowania (SymmetricKeyEncryption) nie "
                                          "jest teraz ważny; sprawdź datę i godzinę komputera albo spróbuj ponownie "
                                          "później."));
  EXPECT_EQ(server.Count("POST /v2/invoices/exports"), 0);
}

// A key KSeF withdrew after listing it: the list is asked for once more and the work goes on
// with the key chosen anew; a second refusal is the user's to retry.
TEST_F(TKsefDownloadTest, AWithdrawnTokenKeyIsChosenAnewOnce) {
  const TKsefStandIn server(Nip, {"--token", QString::fromLatin1(Token), "--fault", "key-withdrawn"});
  const TKsefDownloadOutcome outcome = Download(server);
  ASSERT_EQ(outcome.Error, QString());
  EXPECT_EQ(Numbers(outcome), server.InvoiceNumbers());
  EXPECT_EQ(server.Count("POST /v2/auth/ksef-token 400"), 1);
  EXPECT_EQ(server.Count("POST /v2/auth/ksef-token 202"), 1);

  const TKsefStandIn twice(Nip, {"--token", QString::fromLatin1(Token), "--fault", "key-withdrawn-twice"});
  const TKsefDownloadOutcome refused = Download(twice);
  EXPECT_EQ(refused.Error, QStringLiteral("KSeF nie zna już klucza publicznego, którym zaszyfrowano dane (kod 21470); "
                                          "spróbuj ponownie."));
  EXPECT_EQ(twice.Count("POST /v2/auth/ksef-token 400"), 2);
  // Nor is the export the login was for ordered again with another key of its own.
  EXPECT_EQ(twice.Count("POST /v2/invoices/exports"), 0);
}

TEST_F(TKsefDownloadTest, AWithdrawnExportKeyIsChosenAnewOnce) {
  for (const bool twice : {false, true}) {
    SCOPED_TRACE(twice ? "withdrawn twice" : "withdrawn once");
    const TKsefStandIn server(Nip, {"--fault", twice ? "key-withdrawn-twice" : "key-withdrawn"});
    WriteSettings(server);
    // The certificate's login uses no public key of KSeF's: the export meets the withdrawal.
    TKsefXadesLogin login({server.File("signer-rsa.crt"), server.File("signer-rsa.key")}, {},
                          [] { return QDateTime::currentDateTimeUtc(); });
    TNoProgress progress;
    const TKsefDownloadOutcome outcome =
        DownloadKsefInvoices(TAppPaths::InDirectory(Data.Path()), Now, login, {}, progress, Waiter);
    EXPECT_EQ(outcome.Error, twice ? QStringLiteral("KSeF nie zna już klucza publicznego, którym zaszyfrowano dane "
                                                    "(kod 21470); spróbuj ponownie.")
                                   : QString());
    EXPECT_EQ(outcome.Invoices.size(), twice ? 0 : 3);
    EXPECT_EQ(server.Count(KeysListed), 2);
    EXPECT_EQ(server.Count("POST /v2/invoices/exports 400"), twice ? 2 : 1);
  }
}

TEST_F(TKsefDownloadTest, ARangeLongerThanThreeMonthsIsSplit) {
  const TKsefStandIn server(Nip, {"--token", QString::fromLatin1(Token)});
  TKsefDownloadRequest request;
  request.From = QDate(2026, 1, 15);
  const TKsefDownloadOutcome outcome = Download(server, request);
  ASSERT_EQ(outcome.Error, QString());
  EXPECT_EQ(outcome.Invoices.size(), 3);
  // Jan 15 – Apr 15 – Jul 15 – Oct 15 – the mark: KSeF refuses any window longer than 3 months.
  EXPECT_EQ(server.Count("POST /v2/invoices/exports 201"), 4);
  EXPECT_EQ(RememberedStart(), Hwm);
}

TEST_F(TKsefDownloadTest, APackageAndAnInvoiceLeftBehindByAKilledRunAreRemoved) {
  const TKsefStandIn server(Nip, {"--token", QString::fromLatin1(Token)});
  ASSERT_TRUE(QDir().mkpath(Data.File(QStringLiteral("FAKTURY_KSEF_testowe"))));
  Data.WriteBytes(QStringLiteral("FAKTURY_KSEF_testowe/.paczka-Ab12Cd.zip"), "PK");
  Data.WriteBytes(QStringLiteral("FAKTURY_KSEF_testowe/.faktura-Xy34Zw.xml"), "<Fak");
  Data.WriteBytes(QStringLiteral("FAKTURY_KSEF_testowe/notatki.txt"), "moje");
  const TKsefDownloadOutcome outcome = Download(server);
  ASSERT_EQ(outcome.Error, QString());
  QStringList expected = server.InvoiceNumbers();
  for (QString &number : expected)
    number += QStringLiteral(".xml");
  expected << QStringLiteral("notatki.txt");
  expected.sort();
  EXPECT_EQ(InvoiceFolder(), expected);
}

TEST_F(TKsefDownloadTest, AFullDiskIsNamedAsSuchNotAsAPartTooLong) {
  const TKsefStandIn server(Nip, {"--token", QString::fromLatin1(Token), "--invoices", "5"});
  WriteSettings(server);
  TKsefTokenLogin login(Token);
  TNoProgress progress;
  TKsefDownloadOutcome outcome;
  {
    // Parts of 700 bytes: the third one fills the disk.
    const TFileSizeLimit limit(2000);
    outcome = DownloadKsefInvoices(TAppPaths::InDirectory(Data.Path()), Now, login, {}, progress, Waiter);
  }
  const QString package = QRegularExpression::escape(Data.File(QStringLiteral("FAKTURY_KSEF_testowe/.paczka-")));
  EXPECT_TRUE(QRegularExpression(QStringLiteral("^Nie można zapisać paczki faktur z KSeF w pliku „") + package +
                                 QStringLiteral("\\w{6}\\.zip” \\(czy na dysku jest miejsce\\?\\); nie zapisano z "
                                                "niej żadnej faktury\\.$"))
                  .match(outcome.Error)
                  .hasMatch())
      << outcome.Error.toStdString();
  EXPECT_EQ(InvoiceFolder(), QStringList());
}

TEST_F(TKsefDownloadTest, TheRememberedStartNeverPassesTheEndTheUserAskedFor) {
  const TKsefStandIn server(Nip, {"--token", QString::fromLatin1(Token), "--fault", "hwm-beyond-to"});
  TKsefDownloadRequest request;
  request.To = QDate(2026, 11, 10);
  const TKsefDownloadOutcome outcome = Download(server, request);
  ASSERT_EQ(outcome.Error, QString());
  EXPECT_EQ(outcome.Invoices.size(), 3);
  // The end of 10 November in Polish time (CET).
  EXPECT_EQ(RememberedStart(), QDateTime(QDate(2026, 11, 10), QTime(23, 0), Qt::UTC));
}

struct TPolishDaysCase {
  const char *Name;
  std::optional<QDate> From;
  std::optional<QDate> To;
  QDateTime Now;
  // The range of the export order, as KSeF reads it.
  const char *Sent;
};

void PrintTo(const TPolishDaysCase &c, std::ostream *os) { *os << c.Name; }

class TKsefPolishDaysTest : public TKsefDownloadTest, public ::testing::WithParamInterface<TPolishDaysCase> {};

// The user's days are days of Polish time, whatever the offset of each end.
TEST_P(TKsefPolishDaysTest, RunFromMidnightToTheEndOfTheLastDayInPolishTime) {
  const TPolishDaysCase &c = GetParam();
  const TKsefStandIn server(Nip, {"--token", QString::fromLatin1(Token)});
  TKsefDownloadRequest request;
  request.From = c.From;
  request.To = c.To;
  const TKsefDownloadOutcome outcome = Download(server, request, c.Now);
  ASSERT_EQ(outcome.Error, QString());
  QStringList orders;
  for (const QString &line : server.Requests())
    if (line.startsWith(QStringLiteral("POST /v2/invoices/exports 201")))
      orders << line.mid(30);
  EXPECT_EQ(orders, QStringList{QString::fromLatin1(c.Sent)});
}

INSTANTIATE_TEST_SUITE_P(
    Days, TKsefPolishDaysTest,
    ::testing::Values(TPolishDaysCase{"a winter month", QDate(2026, 11, 1), QDate(2026, 11, 30), Now,
                                      "from 2026-10-31T23:00:00.000000Z to 2026-11-30T23:00:00.000Z"},
                      TPolishDaysCase{"a summer month, ending on a month's last day", QDate(2026, 5, 1),
                                      QDate(2026, 5, 31), Now,
                                      "from 2026-04-30T22:00:00.000000Z to 2026-05-31T22:00:00.000Z"},
                      TPolishDaysCase{"the day summer time begins", QDate(2026, 3, 29), QDate(2026, 3, 29), Now,
                                      "from 2026-03-28T23:00:00.000000Z to 2026-03-29T22:00:00.000Z"},
                      TPolishDaysCase{"the day summer time ends", QDate(2026, 10, 25), QDate(2026, 10, 25), Now,
                                      "from 2026-10-24T22:00:00.000000Z to 2026-10-25T23:00:00.000Z"},
                      // 30 November 23:30 UTC is already 1 December in Poland: the previous month is November.
                      TPolishDaysCase{"the previous month of a Polish first of the month", std::nullopt, std::nullopt,
                                      QDateTime(QDate(2026, 11, 30), QTime(23, 30), Qt::UTC),
                                      "from 2026-10-31T23:00:00.000000Z to -"}),
    [](const ::testing::TestParamInfo<TPolishDaysCase> &info) { return "Case" + std::to_string(info.index); });

TEST_F(TKsefDownloadTest, TheSameNumberWithOtherBytesOverwritesNothingAndKeepsTheStartWhereItWas) {
  const TKsefStandIn server(Nip, {"--token", QString::fromLatin1(Token), "--invoices", "5", "--fault", "truncated"});
  const QString third = server.InvoiceNumbers()[2];
  ASSERT_TRUE(QDir().mkpath(Data.File(QStringLiteral("FAKTURY_KSEF_testowe"))));
  Data.WriteBytes(QStringLiteral("FAKTURY_KSEF_testowe/") + third + QStringLiteral(".xml"), "<Faktura/>");

  const TKsefDownloadOutcome outcome = Download(server);

  EXPECT_EQ(outcome.Error,
            QStringLiteral("Faktura %1 jest już zapisana w „%2” z inną treścią (SHA-256 %3), a KSeF podał ją z SHA-256 "
                           "%4; niczego nie nadpisano, sprawdź, który plik jest właściwy.")
                .arg(third, InvoiceFile(third),
                     QString::fromLatin1(QCryptographicHash::hash("<Faktura/>", QCryptographicHash::Sha256).toBase64()),
                     QString::fromLatin1(
                         QCryptographicHash::hash(server.InvoiceBytes(third), QCryptographicHash::Sha256).toBase64())));
  EXPECT_EQ(Data.ReadBytes(QStringLiteral("FAKTURY_KSEF_testowe/") + third + QStringLiteral(".xml")), "<Faktura/>");
  // The first package (invoices 1 and 2) was wholly stored; the second stopped at invoice 3.
  EXPECT_EQ(outcome.Invoices.size(), 2);
  EXPECT_EQ(RememberedStart(), QDateTime(QDate(2026, 11, 4), QTime(10, 0), Qt::UTC));
  // The session is ended all the same.
  EXPECT_EQ(server.Count("DELETE /v2/auth/sessions/current 204"), 1);
}

TEST_F(TKsefDownloadTest, APackageWhosePartsDoNotAddUpToItsSizeIsNotFetched) {
  const TKsefStandIn server(Nip, {"--token", QString::fromLatin1(Token), "--fault", "size-mismatch"});
  const TKsefDownloadOutcome outcome = Download(server);
  const QRegularExpressionMatch match =
      QRegularExpression(QStringLiteral("^KSeF zapowiedział paczkę faktur o rozmiarze (\\d+) B, a jej części mają "
                                        "razem (\\d+) B; niczego z niej nie pobrano, spróbuj ponownie później\\.$"))
          .match(outcome.Error);
  ASSERT_TRUE(match.hasMatch()) << outcome.Error.toStdString();
  EXPECT_EQ(match.captured(1).toLongLong(), match.captured(2).toLongLong() + 1);
  EXPECT_EQ(server.Count("GET /parts/"), 0);
  EXPECT_EQ(InvoiceFolder(), QStringList());
  EXPECT_EQ(RememberedStart(), std::nullopt);
}

// The progress bar's counts, as the user sees them move.
class TRecordingProgress : public IProgress {
public:
  void Report(qint64 done, qint64 total) override { Reports.append({done, total}); }
  bool Cancelled() const override { return false; }
  QList<std::pair<qint64, qint64>> Reports;
};

TEST_F(TKsefDownloadTest, TheProgressOfAPackageOnlyEverMovesOnOverTheWholePackage) {
  const TKsefStandIn server(Nip, {"--token", QString::fromLatin1(Token), "--invoices", "5"});
  WriteSettings(server);
  TKsefTokenLogin login(Token);
  TRecordingProgress progress;
  const TKsefDownloadOutcome outcome =
      DownloadKsefInvoices(TAppPaths::InDirectory(Data.Path()), Now, login, {}, progress, Waiter);
  ASSERT_EQ(outcome.Error, QString());
  ASSERT_GE(server.Count("GET /parts/"), 3);
  ASSERT_FALSE(progress.Reports.isEmpty());
  const qint64 total = progress.Reports.last().second;
  EXPECT_EQ(progress.Reports.last().first, total);
  qint64 done = 0;
  for (const auto &[reportedDone, reportedTotal] : progress.Reports) {
    EXPECT_EQ(reportedTotal, total);
    EXPECT_GE(reportedDone, done);
    done = reportedDone;
  }
}

TEST_F(TKsefDownloadTest, ASecondDownloadInTheSameDataDirectoryIsRefusedWhileTheFirstRuns) {
  const TKsefStandIn server(Nip, {"--token", QString::fromLatin1(Token)});
  // The first download, as the lock shows it to any other.
  QLockFile running(Data.File(QStringLiteral("ksef-pobieranie.lock")));
  ASSERT_TRUE(running.tryLock(0));
  const TKsefDownloadOutcome refused = Download(server);
  EXPECT_EQ(refused.Error, QStringLiteral("Faktury z KSeF pobiera już inne okno albo inne uruchomienie programu z tym "
                                          "samym katalogiem danych; poczekaj, aż skończy, i spróbuj ponownie."));
  EXPECT_EQ(server.Requests(), QStringList());
  EXPECT_EQ(InvoiceFolder(), QStringList());

  running.unlock();
  const TKsefDownloadOutcome after = Download(server);
  ASSERT_EQ(after.Error, QString());
  EXPECT_EQ(after.Invoices.size(), 3);
  EXPECT_FALSE(QFile::exists(Data.File(QStringLiteral("ksef-pobieranie.lock"))));
}

TEST_F(TKsefDownloadTest, TheLockOfADownloadWhoseProcessDiedIsTakenOver) {
  const TKsefStandIn server(Nip, {"--token", QString::fromLatin1(Token)});
  // A process that has ended and been reaped: its number names no live process.
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0)
    ::_exit(0);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  Data.WriteBytes(QStringLiteral("ksef-pobieranie.lock"), QByteArray::number(child) + "\npavena-cli\n\n");
  const TKsefDownloadOutcome outcome = Download(server);
  ASSERT_EQ(outcome.Error, QString());
  EXPECT_EQ(outcome.Invoices.size(), 3);
}

TEST_F(TKsefDownloadTest, InvoicesTheJournalDidNotTakeKeepTheStartBeforeThem) {
  const TKsefStandIn server(Nip, {"--token", QString::fromLatin1(Token), "--invoices", "5", "--fault", "truncated"});
  WriteSettings(server);
  TKsefTokenLogin login(Token);
  TNoProgress progress;
  const TAppPaths paths = TAppPaths::InDirectory(Data.Path());
  // The journal takes the first two invoices (the first package) and then fails.
  QStringList recorded;
  const auto failingAfterTwo = [&](const QList<TKsefStoredInvoice> &invoices) {
    if (recorded.size() == 2)
      return false;
    for (const TKsefStoredInvoice &invoice : invoices)
      recorded << invoice.Metadata.KsefNumber;
    return true;
  };
  const TKsefDownloadOutcome first = DownloadKsefInvoices(paths, Now, login, {}, progress, Waiter, failingAfterTwo);
  ASSERT_EQ(first.Error, QString());
  EXPECT_EQ(first.Invoices.size(), 5);
  // The first package's start: the second package's invoices are taken again next time.
  EXPECT_EQ(RememberedStart(), QDateTime(QDate(2026, 11, 4), QTime(10, 0), Qt::UTC));

  const auto recording = [&](const QList<TKsefStoredInvoice> &invoices) {
    for (const TKsefStoredInvoice &invoice : invoices)
      if (!recorded.contains(invoice.Metadata.KsefNumber))
        recorded << invoice.Metadata.KsefNumber;
    return true;
  };
  const TKsefDownloadOutcome second = DownloadKsefInvoices(paths, Now, login, {}, progress, Waiter, recording);
  ASSERT_EQ(second.Error, QString());
  EXPECT_EQ(recorded, server.InvoiceNumbers());
  EXPECT_EQ(RememberedStart(), Hwm);
}

TEST_F(TKsefDownloadTest, TestEnvironmentInvoicesLieApartFromTheRealOnes) {
  EXPECT_EQ(KsefInvoiceFolder(QStringLiteral("produkcyjne")), QStringLiteral("FAKTURY_KSEF"));
  EXPECT_EQ(KsefInvoiceFolder(QStringLiteral("testowe")), QStringLiteral("FAKTURY_KSEF_testowe"));
  EXPECT_EQ(KsefInvoiceFolder(QStringLiteral("demo")), QStringLiteral("FAKTURY_KSEF_demo"));
  const TKsefStandIn server(Nip, {"--token", QString::fromLatin1(Token)});
  const TKsefDownloadOutcome outcome = Download(server);
  ASSERT_EQ(outcome.Error, QString());
  EXPECT_EQ(InvoiceFolder().size(), 3);
  EXPECT_FALSE(QFileInfo::exists(Data.File(QStringLiteral("FAKTURY_KSEF"))));
}

// A server that stops sending: the request ends at its time limit, made tiny here.
struct TStallCase {
  const char *Fault;
  const char *Error;
};

class TKsefStallTest : public TKsefDownloadTest, public ::testing::WithParamInterface<TStallCase> {};

TEST_P(TKsefStallTest, EndsAtTheTimeLimitWithOnePolishLine) {
  const TKsefStandIn server(Nip, {"--token", QString::fromLatin1(Token), "--fault", GetParam().Fault});
  WriteSettings(server);
  TKsefTokenLogin login(Token);
  class TSilentProgress : public IKsefProgress {
  public:
    void Report(qint64, qint64) override {}
    bool Cancelled() const override { return false; }
    void Notice(const QString &) override {}
  } progress;
  // A second for an answer of the API or a part of the stand-in's few hundred bytes.
  const TKsefTimeLimits limits{1000, 1000, qint64(1) << 40};
  TKsefSession session(KsefConnectionFromSettings(Data.File(QStringLiteral("settings.ini"))), login, Nip, Waiter,
                       progress, limits);
  TKsefInvoiceDownload download(session, Data.File(QStringLiteral("FAKTURY_KSEF_testowe")));
  TKsefDownloadEvents events;
  events.InvoicesStored = [](const QList<TKsefStoredInvoice> &) {};
  events.Checkpoint = [](const QDateTime &) {};
  EXPECT_THROW_MESSAGE(download.Run(Hwm.addMonths(-1), std::nullopt, Now, events),
                       QString::fromUtf8(GetParam().Error).arg(server.Base()));
  EXPECT_EQ(InvoiceFolder(), QStringList());
}

INSTANTIATE_TEST_SUITE_P(
    Stalls, TKsefStallTest,
    ::testing::Values(TStallCase{"stalled-answer", "KSeF (%1/auth/challenge) nie przysłał odpowiedzi w dopuszczalnym "
                                                   "czasie; spróbuj ponownie później."},
                      TStallCase{"stalled-part",
                                 "Część 1 paczki faktur z KSeF nie nadeszła w dopuszczalnym czasie (łącze jest zbyt "
                                 "wolne albo serwer przestał ją wysyłać); z tej paczki nie zapisano żadnej faktury, "
                                 "spróbuj ponownie."}),
    [](const ::testing::TestParamInfo<TStallCase> &info) {
      return QString::fromLatin1(info.param.Fault).remove(u'-').toStdString();
    });

// Invoices are brought to the disk in batches; a fault midway keeps those checked before it.
TEST_F(TKsefDownloadTest, AFaultMidwayInAPackageKeepsTheInvoicesBeforeIt) {
  const TKsefStandIn server(Nip, {"--token", QString::fromLatin1(Token)});
  const QString second = server.InvoiceNumbers()[1];
  ASSERT_TRUE(QDir().mkpath(Data.File(QStringLiteral("FAKTURY_KSEF_testowe"))));
  Data.WriteBytes(QStringLiteral("FAKTURY_KSEF_testowe/") + second + QStringLiteral(".xml"), "<Faktura/>");

  const TKsefDownloadOutcome outcome = Download(server);

  EXPECT_TRUE(outcome.Error.startsWith(QStringLiteral("Faktura %1 jest już zapisana").arg(second)))
      << outcome.Error.toStdString();
  ASSERT_EQ(outcome.Invoices.size(), 1);
  EXPECT_EQ(outcome.Invoices[0].Metadata.KsefNumber, server.InvoiceNumbers()[0]);
  EXPECT_EQ(InvoiceFolder(),
            (QStringList{server.InvoiceNumbers()[0] + QStringLiteral(".xml"), second + QStringLiteral(".xml")}));
  EXPECT_EQ(
      Data.ReadBytes(QStringLiteral("FAKTURY_KSEF_testowe/") + server.InvoiceNumbers()[0] + QStringLiteral(".xml")),
      server.InvoiceBytes(server.InvoiceNumbers()[0]));
  EXPECT_EQ(RememberedStart(), std::nullopt);
}

TEST_F(TKsefDownloadTest, AnInvoiceWhoseHashIsNotTheOneOfTheMetadataIsNotStored) {
  const TKsefStandIn server(Nip, {"--token", QString::fromLatin1(Token), "--fault", "changed-invoice"});
  const TKsefDownloadOutcome outcome = Download(server);
  EXPECT_EQ(outcome.Error, QStringLiteral("Faktura %1 z paczki KSeF ma inny skrót SHA-256, niż podaje _metadata.json; "
                                          "nie zapisano jej, spróbuj ponownie.")
                               .arg(server.InvoiceNumbers().first()));
  EXPECT_EQ(InvoiceFolder(), QStringList());
  EXPECT_EQ(RememberedStart(), std::nullopt);
}

TEST_F(TKsefDownloadTest, AServerItsCertificateCannotConfirmGetsNothing) {
  const TKsefStandIn server(Nip, {"--token", QString::fromLatin1(Token)});
  WriteSettings(server, false);
  TKsefTokenLogin login(Token);
  TNoProgress progress;
  const TKsefDownloadOutcome outcome =
      DownloadKsefInvoices(TAppPaths::InDirectory(Data.Path()), Now, login, {}, progress, Waiter);
  EXPECT_EQ(outcome.Error,
            QStringLiteral("Nie udało się połączyć z KSeF (%1/security/public-key-certificates): nie udało się "
                           "potwierdzić certyfikatu serwera.")
                .arg(server.Base()));
  EXPECT_EQ(server.Requests(), QStringList());
}

TEST_F(TKsefDownloadTest, AWaitTheUserCancelsEndsTheDownloadAsCancelled) {
  const TKsefStandIn server(Nip, {"--token", QString::fromLatin1(Token), "--fault", "rate-limit"});
  WriteSettings(server);
  TKsefTokenLogin login(Token);
  // "Anuluj" pressed as the wait KSeF asked for begins; the real clock must see it.
  class TCancellableProgress : public IProgress {
  public:
    void Report(qint64, qint64) override {}
    bool Cancelled() const override { return Pressed; }
    bool Pressed = false;
  };
  class TPressingWaiter : public IKsefWaiter {
  public:
    explicit TPressingWaiter(TCancellableProgress &progress) : FProgress(progress) {}
    void Wait(int seconds, const IKsefProgress &progress) override {
      // The waits of the login and the export pass at once; the one of the 429 is cancelled.
      if (seconds != 7)
        return;
      FProgress.Pressed = true;
      TKsefSleeper().Wait(seconds, progress);
    }

  private:
    TCancellableProgress &FProgress;
  };
  TCancellableProgress progress;
  TPressingWaiter waiter(progress);
  const TKsefDownloadOutcome outcome =
      DownloadKsefInvoices(TAppPaths::InDirectory(Data.Path()), Now, login, {}, progress, waiter);
  EXPECT_TRUE(outcome.Cancelled);
  EXPECT_EQ(outcome.Error, QStringLiteral("Pobieranie z KSeF przerwano."));
  EXPECT_EQ(server.Count("POST /v2/invoices/exports"), 1);
  EXPECT_EQ(InvoiceFolder(), QStringList());
  EXPECT_EQ(RememberedStart(), std::nullopt);
}

// PlikCA= of [KSeF] adds a company proxy's authority to the system's: a server the system
// trusts (here through OpenSSL's SSL_CERT_FILE) is reached with PlikCA= naming another one.
TEST_F(TKsefDownloadTest, TheCaFileOfKsefIsTrustedBesidesTheSystemsAuthorities) {
  const TKsefStandIn proxy(Nip, {"--token", QString::fromLatin1(Token)});
  const TKsefStandIn server(Nip, {"--token", QString::fromLatin1(Token)});
  Data.WriteBytes(QStringLiteral("settings.ini"),
                  "[COMPANY]\r\nNIP=" + Nip.toLatin1() + "\r\n[KSeF]\r\nSrodowisko=testowe\r\nAdres=" +
                      server.Base().toLatin1() + "\r\nPlikCA=" + proxy.CaFile().toLatin1() + "\r\n");
  const QByteArray systemCa = qgetenv("SSL_CERT_FILE");
  const bool hadSystemCa = qEnvironmentVariableIsSet("SSL_CERT_FILE");
  qputenv("SSL_CERT_FILE", QFile::encodeName(server.CaFile()));
  TKsefTokenLogin login(Token);
  TNoProgress progress;
  const TKsefDownloadOutcome outcome =
      DownloadKsefInvoices(TAppPaths::InDirectory(Data.Path()), Now, login, {}, progress, Waiter);
  if (hadSystemCa)
    qputenv("SSL_CERT_FILE", systemCa);
  else
    qunsetenv("SSL_CERT_FILE");
  EXPECT_EQ(outcome.Error, QString());
  EXPECT_EQ(Numbers(outcome), server.InvoiceNumbers());
}

// The login overwrites its own copy of the token when it goes, never the caller's.
TEST(TKsefTokenLoginTest, WipesItsOwnCopyOfTheTokenNotTheCallers) {
  const QByteArray token("20261211-EC-token-of-the-caller");
  { const TKsefTokenLogin login(token); }
  EXPECT_EQ(token, QByteArray("20261211-EC-token-of-the-caller"));
}

} // namespace
