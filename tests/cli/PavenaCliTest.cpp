#include "TestSupport.h"
#include "FlatFileFixture.h"
#include "Pain001View.h"
#include "journal/PaymentJournal.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

struct TRun {
  int ExitCode = -1;
  QString Out;
  QString Err;
};

QString Example(const QString &name) { return QDir(QStringLiteral(PAVENA_EXAMPLES_DIR)).filePath(name); }

QString Separator() { return QString(104, u'-'); }

QString WhiteListNotChecked() {
  return QStringLiteral("Rachunków odbiorców nie sprawdzono z białą listą podatników VAT: nie wczytano jeszcze pliku "
                        "płaskiego (przycisk „Wczytaj plik płaski…” na stronie „Funkcje techniczne” albo pavena-cli "
                        "biala-lista wczytaj PLIK).");
}

// Runs pavena-cli from an unrelated working directory with PAVENA_DIR naming the program
// directory of the test, as a user would from a script.
class TPavenaCliTest : public ::testing::Test {
protected:
  TPavenaCliTest() {
    QFile::copy(Example(QStringLiteral("settings.ini")), AppDirectory.File(QStringLiteral("settings.ini")));
  }

  TRun Run(const QStringList &arguments) const {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PAVENA_DIR"), AppDirectory.Path());
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(WorkingDirectory.Path());
    process.start(QStringLiteral(PAVENA_CLI), arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) {
      ADD_FAILURE() << "pavena-cli did not finish: " << process.errorString().toStdString();
      return {};
    }
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
  }

  QString Output(const QString &name) const { return AppDirectory.File(QStringLiteral("PLIKI_DO_BANKU/") + name); }
  // The success line, then the note of a run while no flat file of the white list was loaded.
  QString Success(const QString &name, const QString &description) const {
    return QStringLiteral("Poprawnie wygenerowano plik [") + Output(name) + QStringLiteral("] ") + description + u'\n' +
           Separator() + u'\n' + WhiteListNotChecked() + u'\n';
  }
  void SetStoredSplitPayment(const QByteArray &mpp) const {
    QByteArray settings = AppDirectory.ReadBytes(QStringLiteral("settings.ini"));
    settings.replace("Enabled=0\r\nFormat=Ustrd", mpp);
    AppDirectory.WriteBytes(QStringLiteral("settings.ini"), settings);
  }
  QByteArray Settings() const { return AppDirectory.ReadBytes(QStringLiteral("settings.ini")); }

  TTempDir AppDirectory;
  TTempDir WorkingDirectory;
};

// Without PAVENA_DIR the program directory is the one holding the executable, wherever the
// command is started from.
TEST_F(TPavenaCliTest, WithoutOverrideWorksBesideTheExecutable) {
  const QString program = AppDirectory.File(QStringLiteral("pavena-cli"));
  ASSERT_TRUE(QFile::copy(QStringLiteral(PAVENA_CLI), program));
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove(QStringLiteral("PAVENA_DIR"));
  process.setProcessEnvironment(environment);
  process.setWorkingDirectory(WorkingDirectory.Path());
  process.start(program, {QStringLiteral("faktura"), Example(QStringLiteral("faktury/hurtownia-iskra.xml"))});
  ASSERT_TRUE(process.waitForFinished(60000));
  EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
  EXPECT_EQ(QString::fromUtf8(process.readAllStandardOutput()),
            Success(QStringLiteral("Pain001.xml"), QStringLiteral("dla potrzeb przelewu, dla pojedynczej faktury...")));
  EXPECT_TRUE(IsValidPain001(Output(QStringLiteral("Pain001.xml"))));
  EXPECT_TRUE(QDir(WorkingDirectory.Path()).isEmpty()) << "nothing lands in the working directory";

  process.start(program, {QStringLiteral("--help")});
  ASSERT_TRUE(process.waitForFinished(60000));
  EXPECT_TRUE(QString::fromUtf8(process.readAllStandardOutput())
                  .contains(QStringLiteral("Katalog danych tego uruchomienia: %1/\n(katalog programu, w którym wolno "
                                           "zapisywać).\n")
                                .arg(AppDirectory.Path())));
}

TEST_F(TPavenaCliTest, TurnsAnExampleInvoiceIntoATransferFile) {
  const QByteArray settingsBefore = Settings();

  const TRun run = Run({QStringLiteral("faktura"), Example(QStringLiteral("faktury/hurtownia-iskra.xml")),
                        QStringLiteral("--referencja"), QStringLiteral("zlecenie 7")});

  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_EQ(run.Out,
            Success(QStringLiteral("Pain001.xml"), QStringLiteral("dla potrzeb przelewu, dla pojedynczej faktury...")));
  EXPECT_EQ(run.Err, QString());
  EXPECT_TRUE(IsValidPain001(Output(QStringLiteral("Pain001.xml"))));
  EXPECT_EQ(TPain001View(Output(QStringLiteral("Pain001.xml"))).TextsNamed(QStringLiteral("Ustrd")),
            QStringList{QStringLiteral("Zapłata za fakturę nr: HE/0311/2026;  nr KSeF: "
                                       "1122334458-20260309-8B7A6C5D4E3F-6E; zlecenie 7")});
  EXPECT_EQ(Settings(), settingsBefore);
}

struct TSplitPaymentCase {
  const char *Name;
  QByteArray Stored; // the [MPP] keys of settings.ini
  QStringList Options;
  QString OutputName;
  QString Purpose; // the category purpose, Payment or VATX
  // The remittance blocks the format gives: unstructured texts and structured blocks.
  int Unstructured;
  int Structured;
};

void PrintTo(const TSplitPaymentCase &c, std::ostream *os) { *os << c.Name; }

class TCliSplitPaymentTest : public TPavenaCliTest, public ::testing::WithParamInterface<TSplitPaymentCase> {};

TEST_P(TCliSplitPaymentTest, TheOptionsOverrideTheStoredChoiceForThisRunOnly) {
  const TSplitPaymentCase &c = GetParam();
  SetStoredSplitPayment(c.Stored);
  const QByteArray settingsBefore = Settings();

  const TRun run =
      Run(QStringList{QStringLiteral("faktura"), Example(QStringLiteral("faktury/wydawnictwo-sowa.xml"))} + c.Options);

  EXPECT_EQ(run.ExitCode, 0) << run.Err.toStdString();
  EXPECT_TRUE(run.Out.startsWith(QStringLiteral("Poprawnie wygenerowano plik [") + Output(c.OutputName) + u']'));
  EXPECT_TRUE(IsValidPain001(Output(c.OutputName)));
  const TPain001View file(Output(c.OutputName));
  EXPECT_EQ(file.TextsNamed(QStringLiteral("Prtry")).value(0), c.Purpose);
  EXPECT_EQ(file.CountNamed(QStringLiteral("Ustrd")), c.Unstructured);
  EXPECT_EQ(file.CountNamed(QStringLiteral("Strd")), c.Structured);
  EXPECT_EQ(Settings(), settingsBefore);
}

INSTANTIATE_TEST_SUITE_P(Choices, TCliSplitPaymentTest,
                         ::testing::Values(TSplitPaymentCase{"storedOff",
                                                             "Enabled=0\r\nFormat=Both",
                                                             {},
                                                             QStringLiteral("Pain001.xml"),
                                                             QStringLiteral("Payment"),
                                                             1,
                                                             0},
                                           TSplitPaymentCase{"storedOn",
                                                             "Enabled=1\r\nFormat=Both",
                                                             {},
                                                             QStringLiteral("Pain001_MPP.xml"),
                                                             QStringLiteral("VATX"),
                                                             1,
                                                             1},
                                           TSplitPaymentCase{"mppOption",
                                                             "Enabled=0\r\nFormat=Ustrd",
                                                             {QStringLiteral("--mpp"), QStringLiteral("Structured")},
                                                             QStringLiteral("Pain001_MPP.xml"),
                                                             QStringLiteral("VATX"),
                                                             0,
                                                             1},
                                           TSplitPaymentCase{"mppUstrd",
                                                             "Enabled=0\r\nFormat=Both",
                                                             {QStringLiteral("--mpp"), QStringLiteral("Ustrd")},
                                                             QStringLiteral("Pain001_MPP.xml"),
                                                             QStringLiteral("VATX"),
                                                             1,
                                                             0},
                                           TSplitPaymentCase{"mppNone",
                                                             "Enabled=0\r\nFormat=Both",
                                                             {QStringLiteral("--mpp"), QStringLiteral("None")},
                                                             QStringLiteral("Pain001_MPP.xml"),
                                                             QStringLiteral("VATX"),
                                                             0,
                                                             0},
                                           TSplitPaymentCase{"mppOptionWithEquals",
                                                             "Enabled=0\r\nFormat=Ustrd",
                                                             {QStringLiteral("--mpp=both")},
                                                             QStringLiteral("Pain001_MPP.xml"),
                                                             QStringLiteral("VATX"),
                                                             1,
                                                             1},
                                           TSplitPaymentCase{"noMppOption",
                                                             "Enabled=1\r\nFormat=Both",
                                                             {QStringLiteral("--bez-mpp")},
                                                             QStringLiteral("Pain001.xml"),
                                                             QStringLiteral("Payment"),
                                                             1,
                                                             0}),
                         [](const ::testing::TestParamInfo<TSplitPaymentCase> &info) {
                           return std::string(info.param.Name);
                         });

TEST_F(TPavenaCliTest, TurnsTheExampleDirectoryIntoOneBatchFile) {
  const TRun run = Run({QStringLiteral("paczka"), Example(QStringLiteral("faktury"))});

  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_EQ(run.Out, Success(QStringLiteral("Pain001Paczka.xml"),
                             QStringLiteral("dla potrzeb przelewu, dla paczki faktur ...")));
  EXPECT_TRUE(IsValidPain001(Output(QStringLiteral("Pain001Paczka.xml"))));
  EXPECT_EQ(TPain001View(Output(QStringLiteral("Pain001Paczka.xml"))).TextsNamed(QStringLiteral("EndToEndId")),
            QStringList({QStringLiteral("HE/0311/2026"), QStringLiteral("12/03/2026"), QStringLiteral("WS/2026/77")}));
}

TEST_F(TPavenaCliTest, TurnsTheExampleVideoTelFileIntoATransferFileWithoutSplitPayment) {
  SetStoredSplitPayment("Enabled=1\r\nFormat=Structured");
  const QByteArray settingsBefore = Settings();

  const TRun run = Run({QStringLiteral("videotel"), Example(QStringLiteral("przelewy.imp"))});

  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_EQ(run.Out, Success(QStringLiteral("Pain001VideoTel.xml"),
                             QStringLiteral("dla potrzeb przelewu, z pliku w formacie VideoTel ...")));
  EXPECT_EQ(run.Err, QString());
  const QString output = Output(QStringLiteral("Pain001VideoTel.xml"));
  EXPECT_TRUE(IsValidPain001(output));
  const TPain001View file(output);
  EXPECT_EQ(file.TextsNamed(QStringLiteral("Prtry")).value(0), QStringLiteral("Payment"));
  EXPECT_EQ(file.TextsNamed(QStringLiteral("TwnNm")),
            QStringList({QStringLiteral("Krakow"), QStringLiteral("Jelenia Gora"), QStringLiteral("Bialystok")}));
  EXPECT_EQ(Settings(), settingsBefore);
}

struct TStrictCase {
  const char *Name;
  const char *Invoice;
  bool Strict;
  int ExitCode;
  QString Err;
};

void PrintTo(const TStrictCase &c, std::ostream *os) { *os << c.Name; }

class TCliWarningsTest : public TPavenaCliTest, public ::testing::WithParamInterface<TStrictCase> {};

// The repair shop's invoice has no SystemInfo, so the structured split-payment block refers to
// it by its number, and says so. The file is written either way.
TEST_P(TCliWarningsTest, GoToStandardErrorAndWithStrictChangeTheExitStatus) {
  QStringList arguments{QStringLiteral("faktura"), Example(QString::fromUtf8(GetParam().Invoice)),
                        QStringLiteral("--mpp=Structured")};
  if (GetParam().Strict)
    arguments.append(QStringLiteral("--scisle"));

  const TRun run = Run(arguments);

  EXPECT_EQ(run.ExitCode, GetParam().ExitCode);
  EXPECT_EQ(run.Out, Success(QStringLiteral("Pain001_MPP.xml"),
                             QStringLiteral("dla potrzeb przelewu, dla pojedynczej faktury (mechanizm MPP)...")));
  EXPECT_EQ(run.Err, GetParam().Err);
  EXPECT_TRUE(QFile::exists(Output(QStringLiteral("Pain001_MPP.xml"))));
}

const QString EmptyReference =
    QStringLiteral("Uwaga: Przelew za fakturę 12/03/2026 dla Serwis Komputerowy Bajt Piotr Zieliński: faktura nie ma "
                   "numeru KSeF, więc w polu RefNb struktury MPP jest w zamian numer faktury „12/03/2026”.\n");

INSTANTIATE_TEST_SUITE_P(
    Cases, TCliWarningsTest,
    ::testing::Values(TStrictCase{"warning", "faktury/serwis-bajt.xml", false, 0, EmptyReference},
                      TStrictCase{"warningStrict", "faktury/serwis-bajt.xml", true, 3, EmptyReference},
                      TStrictCase{"noWarningStrict", "faktury/hurtownia-iskra.xml", true, 0, QString()}),
    [](const ::testing::TestParamInfo<TStrictCase> &info) { return std::string(info.param.Name); });

// The example invoices carry real KSeF numbers and invoice numbers with slashes: the banks'
// title quotes the KSeF number and the strict run finds nothing to warn of.
TEST_F(TPavenaCliTest, TheExampleInvoicesGiveTheBanksTitleWithoutWarnings) {
  const QStringList titles{
      QStringLiteral("/VAT/365,70/IDC/1122334458/INV/1122334458-20260309-8B7A6C5D4E3F-6E/TXT/HE/0311/2026"),
      QStringLiteral("/VAT/35,60/IDC/6340128771/INV/6340128771-20260310-1D2E3F4A5B6C-24/TXT/WS/2026/77")};
  int example = 0;
  for (const QString &name : {QStringLiteral("hurtownia-iskra.xml"), QStringLiteral("wydawnictwo-sowa.xml")}) {
    const TRun run = Run({QStringLiteral("faktura"), Example(QStringLiteral("faktury/") + name),
                          QStringLiteral("--mpp=Standard"), QStringLiteral("--scisle")});

    EXPECT_EQ(run.ExitCode, 0) << name.toStdString();
    EXPECT_EQ(run.Err, QString());
    EXPECT_EQ(TPain001View(Output(QStringLiteral("Pain001_MPP.xml"))).TextsNamed(QStringLiteral("Ustrd")),
              QStringList{titles[example++]});
  }
}

TEST_F(TPavenaCliTest, AFailedConversionReportsOnStandardErrorWithStatusOne) {
  const QString missing = WorkingDirectory.File(QStringLiteral("brak.xml"));

  const TRun run = Run({QStringLiteral("faktura"), missing});

  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_EQ(run.Out, QString());
  EXPECT_TRUE(run.Err.startsWith(QStringLiteral("Błąd: Plik: brak.xml\nFaktura: \nKontrahent: \nBłąd: ")))
      << run.Err.toStdString();
  EXPECT_TRUE(run.Err.endsWith(u'\n' + Separator() + u'\n')) << run.Err.toStdString();
  EXPECT_FALSE(QFile::exists(Output(QStringLiteral("Pain001.xml"))));
}

TEST_F(TPavenaCliTest, ABatchOfADirectoryWithoutInvoicesFailsWithStatusOne) {
  const TRun run = Run({QStringLiteral("paczka"), WorkingDirectory.Path()});

  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_EQ(run.Out, QString());
  EXPECT_EQ(
      run.Err,
      QStringLiteral("Błąd: Katalog %1 nie zawiera żadnego pliku faktury (*.xml)\n").arg(WorkingDirectory.Path()));
  EXPECT_FALSE(QFile::exists(Output(QStringLiteral("Pain001Paczka.xml"))));
}

TEST_F(TPavenaCliTest, MissingPayerDataFailsWithStatusOne) {
  QFile::remove(AppDirectory.File(QStringLiteral("settings.ini")));

  const TRun run = Run({QStringLiteral("paczka"), Example(QStringLiteral("faktury"))});

  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_EQ(run.Err, QStringLiteral("Błąd: Brak nazwy firmy w %1: uzupełnij dane Płatnika na stronie „Funkcje "
                                    "techniczne” i naciśnij „Zapisz dane Płatnika” albo wpisz je w sekcji [COMPANY] "
                                    "tego pliku (klucze Name, NIP, IBAN, BIC)\n")
                         .arg(AppDirectory.File(QStringLiteral("settings.ini"))));
  EXPECT_EQ(run.Out, QString());
}

TEST_F(TPavenaCliTest, ABadVideoTelFileShowsTheBoxTextAndTheLogLine) {
  WorkingDirectory.WriteBytes(QStringLiteral("zly.imp"), "a b c\r\n");

  const TRun run = Run({QStringLiteral("videotel"), QStringLiteral("zly.imp")});

  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_EQ(run.Err, QStringLiteral("Exception: Nieprawidłowy rekord VideoTEL. Liczba pól=3\n"
                                    "Błąd: Nieprawidłowy rekord VideoTEL. Liczba pól=3\n"));
  EXPECT_FALSE(QFile::exists(Output(QStringLiteral("Pain001VideoTel.xml"))));
}

TEST_F(TPavenaCliTest, SendingWithoutAMailboxInTheBuildSaysSoAndFails) {
  if (PAVENA_MAIL_CONFIGURED)
    GTEST_SKIP() << "this build has the author's mailbox; the send would really go out";
  WorkingDirectory.WriteBytes(QStringLiteral("faktura.xml"), "<Faktura/>");

  const TRun run = Run({QStringLiteral("wyslij"), QStringLiteral("faktura.xml")});

  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_EQ(run.Out, QString());
  EXPECT_EQ(run.Err, QStringLiteral("Błąd: Wysyłka do autora jest niedostępna. Program zbudowano bez ustawień serwera "
                                    "pocztowego (brak: serwer, użytkownik, hasło, adres autora)\n"));
}

TEST_F(TPavenaCliTest, AnEmptyInvoiceArgumentShowsTheHelpTextAndFails) {
  const TRun run = Run({QStringLiteral("faktura"), QString()});

  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_EQ(run.Err, QStringLiteral("Pole ścieżki do pliku XML faktury zakupowej KSeF nie może być puste ...\n\n"
                                    "Wybierz odpowiedni plik XML. \n"));
}

// The generator Velmira lies beside pavena-cli in the build directory, where the command finds it.
TEST_F(TPavenaCliTest, PdfWritesThePdfBesideTheInvoiceWithoutOpeningIt) {
  QFile::copy(SharedPath(QStringLiteral("ksef/samples/mf3-FA_3_Przyklad_1.xml")),
              WorkingDirectory.File(QStringLiteral("faktura.xml")));

  const TRun run = Run({QStringLiteral("pdf"), WorkingDirectory.File(QStringLiteral("faktura.xml"))});

  EXPECT_EQ(run.ExitCode, 0) << run.Err.toStdString();
  EXPECT_EQ(run.Out, QStringLiteral("Poprawnie wygenerowano plik [") +
                         WorkingDirectory.File(QStringLiteral("faktura.PDF")) +
                         QStringLiteral("] dla potrzeb podglądu pojedynczej faktury...\n") + Separator() + u'\n');
  EXPECT_EQ(run.Err, QString());
  EXPECT_TRUE(WorkingDirectory.ReadBytes(QStringLiteral("faktura.PDF")).startsWith("%PDF-"));
}

TEST_F(TPavenaCliTest, PdfOfAFileTheGeneratorRefusesFailsWithItsMessage) {
  WorkingDirectory.WriteBytes(QStringLiteral("inny.xml"), "<Zamowienie/>");

  const TRun run = Run({QStringLiteral("pdf"), WorkingDirectory.File(QStringLiteral("inny.xml"))});

  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_EQ(run.Out, QString());
  EXPECT_EQ(run.Err, QStringLiteral("Błąd: Generator PDF zakończył pracę z kodem 1. Plik \"inny.xml\" nie jest fakturą "
                                    "KSeF: brak elementu Faktura.\n"));
  EXPECT_FALSE(QFile::exists(WorkingDirectory.File(QStringLiteral("inny.PDF"))));
}

TEST_F(TPavenaCliTest, PdfOfAMissingFileFailsBeforeTheGeneratorRuns) {
  const TRun run = Run({QStringLiteral("pdf"), WorkingDirectory.File(QStringLiteral("brak.xml"))});

  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_EQ(run.Err, QStringLiteral("Błąd: Nie można otworzyć pliku \"brak.xml\": plik nie istnieje.\n"));
}

TEST_F(TPavenaCliTest, AFolderGivenForAnInvoiceIsCalledAFolder) {
  ASSERT_TRUE(QDir(WorkingDirectory.Path()).mkdir(QStringLiteral("faktura.xml")));
  const QString folder = WorkingDirectory.File(QStringLiteral("faktura.xml"));
  const QString reason = QStringLiteral("Nie można otworzyć pliku \"faktura.xml\": to jest folder, a nie plik.");

  const TRun pdf = Run({QStringLiteral("pdf"), folder});
  const TRun single = Run({QStringLiteral("faktura"), folder});

  EXPECT_EQ(pdf.ExitCode, 1);
  EXPECT_EQ(pdf.Err, QStringLiteral("Błąd: ") + reason + u'\n');
  EXPECT_EQ(single.ExitCode, 1);
  EXPECT_EQ(single.Err, QStringLiteral("Błąd: Plik: faktura.xml\nFaktura: \nKontrahent: \nBłąd: ") + reason + u'\n' +
                            Separator() + u'\n');
}

struct TUsageCase {
  const char *Name;
  QStringList Arguments;
  QString Message;
};

void PrintTo(const TUsageCase &c, std::ostream *os) { *os << c.Name; }

class TCliUsageTest : public TPavenaCliTest, public ::testing::WithParamInterface<TUsageCase> {};

TEST_P(TCliUsageTest, AWrongCallPrintsWhatIsWrongAndAHintWithStatusTwo) {
  const QByteArray settingsBefore = Settings();

  const TRun run = Run(GetParam().Arguments);

  EXPECT_EQ(run.ExitCode, 2);
  EXPECT_EQ(run.Out, QString());
  EXPECT_TRUE(run.Err.startsWith(QStringLiteral("pavena-cli: ") + GetParam().Message + QStringLiteral("\nUżycie: ")))
      << run.Err.toStdString();
  EXPECT_FALSE(QDir(AppDirectory.File(QStringLiteral("PLIKI_DO_BANKU"))).exists());
  EXPECT_EQ(Settings(), settingsBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Calls, TCliUsageTest,
    ::testing::Values(
        TUsageCase{"noCommand",
                   {},
                   QStringLiteral("Brak polecenia (faktura, paczka, videotel, pdf, wyslij, biala-lista, historia, ksef "
                                  "albo do-zaplaty)")},
        TUsageCase{
            "unknownKsefEnvironment",
            {QStringLiteral("ksef"), QStringLiteral("pobierz"), QStringLiteral("--srodowisko"), QStringLiteral("test")},
            QStringLiteral("Opcja --srodowisko wymaga nazwy środowiska KSeF: testowe, demo albo produkcyjne, "
                           "a nie „test”")},
        TUsageCase{
            "keyWithoutCertificate",
            {QStringLiteral("ksef"), QStringLiteral("pobierz"), QStringLiteral("--klucz"), QStringLiteral("klucz.pem")},
            QStringLiteral("Opcja --klucz wymaga opcji --certyfikat")},
        TUsageCase{"tokenAndCertificate",
                   {QStringLiteral("ksef"), QStringLiteral("pobierz"), QStringLiteral("--token-plik"),
                    QStringLiteral("token"), QStringLiteral("--certyfikat"), QStringLiteral("c.p12")},
                   QStringLiteral("Opcje --token-plik i --certyfikat wykluczają się")},
        TUsageCase{"missingFileToSend", {QStringLiteral("wyslij")}, QStringLiteral("Brak argumentu PLIK")},
        TUsageCase{"mppForSending",
                   {QStringLiteral("wyslij"), QStringLiteral("a.xml"), QStringLiteral("--bez-mpp")},
                   QStringLiteral("Nieznana opcja polecenia wyslij: --bez-mpp (dozwolone: --help)")},
        TUsageCase{"mppForPdf",
                   {QStringLiteral("pdf"), QStringLiteral("a.xml"), QStringLiteral("--mpp=Both")},
                   QStringLiteral("Nieznana opcja polecenia pdf: --mpp (dozwolone: --help)")},
        TUsageCase{"referenceForPdf",
                   {QStringLiteral("pdf"), QStringLiteral("a.xml"), QStringLiteral("--referencja=x")},
                   QStringLiteral("Nieznana opcja polecenia pdf: --referencja (dozwolone: --help)")},
        TUsageCase{"unknownCommand",
                   {QStringLiteral("przelew"), QStringLiteral("a.xml")},
                   QStringLiteral("Nieznane polecenie: przelew (dozwolone: faktura, paczka, videotel, pdf, wyslij, "
                                  "biala-lista, historia, ksef albo do-zaplaty)")},
        TUsageCase{"missingInvoice", {QStringLiteral("faktura")}, QStringLiteral("Brak argumentu PLIK.xml")},
        TUsageCase{"missingDirectory",
                   {QStringLiteral("paczka"), QStringLiteral("--bez-mpp")},
                   QStringLiteral("Brak argumentu KATALOG")},
        TUsageCase{"extraArgument",
                   {QStringLiteral("faktura"), QStringLiteral("a.xml"), QStringLiteral("b.xml")},
                   QStringLiteral("Nadmiarowy argument: b.xml (polecenie faktura przyjmuje tylko PLIK.xml)")},
        TUsageCase{
            "unknownOption",
            {QStringLiteral("faktura"), QStringLiteral("a.xml"), QStringLiteral("--szybko")},
            QStringLiteral("Nieznana opcja polecenia faktura: --szybko (dozwolone: --referencja, --mpp, --bez-mpp, "
                           "--scisle albo --help)")},
        TUsageCase{"mppWithoutValue",
                   {QStringLiteral("faktura"), QStringLiteral("a.xml"), QStringLiteral("--mpp")},
                   QStringLiteral("Opcja --mpp wymaga wartości")},
        TUsageCase{
            "unknownFormat",
            {QStringLiteral("faktura"), QStringLiteral("a.xml"), QStringLiteral("--mpp"), QStringLiteral("Strd")},
            QStringLiteral("Nieznany format MPP: Strd (dozwolone: None, Ustrd, Structured, Both, Standard)")},
        TUsageCase{
            "mppAndNoMpp",
            {QStringLiteral("paczka"), QStringLiteral("d"), QStringLiteral("--mpp=Both"), QStringLiteral("--bez-mpp")},
            QStringLiteral("Opcje --mpp i --bez-mpp wykluczają się")},
        TUsageCase{"repeatedReference",
                   {QStringLiteral("faktura"), QStringLiteral("a.xml"), QStringLiteral("--referencja=x"),
                    QStringLiteral("--referencja"), QStringLiteral("y")},
                   QStringLiteral("Opcja --referencja została podana więcej niż raz")},
        TUsageCase{
            "referenceForBatch",
            {QStringLiteral("paczka"), QStringLiteral("d"), QStringLiteral("--referencja=x")},
            QStringLiteral(
                "Nieznana opcja polecenia paczka: --referencja (dozwolone: --mpp, --bez-mpp, --scisle albo --help)")},
        TUsageCase{"strictForSending",
                   {QStringLiteral("wyslij"), QStringLiteral("a.xml"), QStringLiteral("--scisle")},
                   QStringLiteral("Nieznana opcja polecenia wyslij: --scisle (dozwolone: --help)")},
        TUsageCase{"repeatedStrict",
                   {QStringLiteral("videotel"), QStringLiteral("p.imp"), QStringLiteral("--scisle"),
                    QStringLiteral("--scisle")},
                   QStringLiteral("Opcja --scisle została podana więcej niż raz")},
        TUsageCase{"mppForVideoTel",
                   {QStringLiteral("videotel"), QStringLiteral("p.imp"), QStringLiteral("--mpp=Both")},
                   QStringLiteral("Nieznana opcja polecenia videotel: --mpp (dozwolone: --scisle albo --help)")},
        TUsageCase{"noWhiteListCommand",
                   {QStringLiteral("biala-lista")},
                   QStringLiteral("Brak polecenia po biala-lista (wczytaj, pobierz albo sprawdz)")},
        TUsageCase{"unknownWhiteListCommand",
                   {QStringLiteral("biala-lista"), QStringLiteral("usun")},
                   QStringLiteral("Nieznane polecenie: biala-lista usun (dozwolone: wczytaj, pobierz albo sprawdz)")},
        TUsageCase{"missingAccount",
                   {QStringLiteral("biala-lista"), QStringLiteral("sprawdz"), QStringLiteral("1")},
                   QStringLiteral("Brak argumentu RACHUNEK")},
        TUsageCase{"badDay",
                   {QStringLiteral("biala-lista"), QStringLiteral("pobierz"), QStringLiteral("--data=20261332")},
                   QStringLiteral("Opcja --data wymaga daty w postaci RRRR-MM-DD albo RRRRMMDD, a nie „20261332”")},
        TUsageCase{"badIsoDay",
                   {QStringLiteral("biala-lista"), QStringLiteral("sprawdz"), QStringLiteral("1"), QStringLiteral("2"),
                    QStringLiteral("--data"), QStringLiteral("2026-02-30")},
                   QStringLiteral("Opcja --data wymaga daty w postaci RRRR-MM-DD albo RRRRMMDD, a nie „2026-02-30”")},
        TUsageCase{"dayForLoading",
                   {QStringLiteral("biala-lista"), QStringLiteral("wczytaj"), QStringLiteral("a.7z"),
                    QStringLiteral("--data"), QStringLiteral("20261210")},
                   QStringLiteral("Nieznana opcja polecenia biala-lista wczytaj: --data (dozwolone: --help)")},
        TUsageCase{"badHistoryDate",
                   {QStringLiteral("historia"), QStringLiteral("--od"), QStringLiteral("2026-02-30")},
                   QStringLiteral("Opcja --od wymaga daty w postaci RRRR-MM-DD albo RRRRMMDD, a nie „2026-02-30”")},
        TUsageCase{"historyRangeBackwards",
                   {QStringLiteral("historia"), QStringLiteral("--od=2026-03-02"), QStringLiteral("--do=2026-03-01")},
                   QStringLiteral("Data opcji --od jest późniejsza niż data opcji --do")},
        TUsageCase{"historyWithInput",
                   {QStringLiteral("historia"), QStringLiteral("a.xml")},
                   QStringLiteral("Nadmiarowy argument: a.xml (polecenie historia nie przyjmuje argumentów)")},
        TUsageCase{
            "strictForHistory",
            {QStringLiteral("historia"), QStringLiteral("--scisle")},
            QStringLiteral("Nieznana opcja polecenia historia: --scisle (dozwolone: --od, --do, --szukaj, --csv, "
                           "--wycofaj, --przywroc albo --help)")},
        TUsageCase{"csvForBatch",
                   {QStringLiteral("paczka"), QStringLiteral("d"), QStringLiteral("--csv")},
                   QStringLiteral(
                       "Nieznana opcja polecenia paczka: --csv (dozwolone: --mpp, --bez-mpp, --scisle albo --help)")},
        TUsageCase{
            "withdrawForBatch",
            {QStringLiteral("paczka"), QStringLiteral("d"), QStringLiteral("--wycofaj=3")},
            QStringLiteral(
                "Nieznana opcja polecenia paczka: --wycofaj (dozwolone: --mpp, --bez-mpp, --scisle albo --help)")},
        TUsageCase{"withdrawAndRestore",
                   {QStringLiteral("historia"), QStringLiteral("--wycofaj=3"), QStringLiteral("--przywroc=3")},
                   QStringLiteral("Opcje --wycofaj i --przywroc wykluczają się")},
        TUsageCase{
            "withdrawWithCsv",
            {QStringLiteral("historia"), QStringLiteral("--csv"), QStringLiteral("--wycofaj"), QStringLiteral("3")},
            QStringLiteral("Opcja --wycofaj nie łączy się z opcjami --od, --do, --szukaj i --csv")},
        TUsageCase{"restoreWithoutNumber",
                   {QStringLiteral("historia"), QStringLiteral("--przywroc")},
                   QStringLiteral("Opcja --przywroc wymaga wartości")},
        TUsageCase{"withdrawNotANumber",
                   {QStringLiteral("historia"), QStringLiteral("--wycofaj"), QStringLiteral("ostatni")},
                   QStringLiteral("Opcja --wycofaj wymaga numeru pliku z kolumny Nr polecenia historia: ostatni")},
        TUsageCase{"valueOfAFlag",
                   {QStringLiteral("historia"), QStringLiteral("--csv=tak")},
                   QStringLiteral("Opcja --csv nie przyjmuje wartości")},
        TUsageCase{"createWithoutChoice",
                   {QStringLiteral("do-zaplaty"), QStringLiteral("--utworz"), QStringLiteral("--scisle")},
                   QStringLiteral("Opcja --utworz wymaga opcji --termin-do albo --ksef")},
        TUsageCase{"createByDayAndNumber",
                   {QStringLiteral("do-zaplaty"), QStringLiteral("--utworz"), QStringLiteral("--termin-do=2026-03-31"),
                    QStringLiteral("--ksef=x")},
                   QStringLiteral("Opcje --termin-do i --ksef wykluczają się")},
        TUsageCase{"unknownDueStatus",
                   {QStringLiteral("do-zaplaty"), QStringLiteral("--status"), QStringLiteral("zaplacone")},
                   QStringLiteral("Opcja --status przyjmuje do-zaplaty, w-pliku, poza-programem, nie-do-przelewu albo "
                                  "wszystkie, a nie „zaplacone”")},
        TUsageCase{"noteWithoutMark",
                   {QStringLiteral("do-zaplaty"), QStringLiteral("--notatka"), QStringLiteral("przelew z banku")},
                   QStringLiteral("Opcja --notatka wymaga opcji --oznacz-zaplacona")},
        TUsageCase{"markAndCreate",
                   {QStringLiteral("do-zaplaty"), QStringLiteral("--oznacz-zaplacona=x"), QStringLiteral("--utworz")},
                   QStringLiteral("Opcja --utworz nie łączy się z opcjami --oznacz-zaplacona i --notatka")},
        TUsageCase{"withdrawZero",
                   {QStringLiteral("historia"), QStringLiteral("--wycofaj=0")},
                   QStringLiteral("Opcja --wycofaj wymaga numeru pliku z kolumny Nr polecenia historia: 0")}),
    [](const ::testing::TestParamInfo<TUsageCase> &info) { return std::string(info.param.Name); });

TEST_F(TPavenaCliTest, HelpAndVersion) {
  const TRun help = Run({QStringLiteral("--help")});
  EXPECT_EQ(help.ExitCode, 0);
  EXPECT_TRUE(help.Out.contains(
      QStringLiteral("  pavena-cli faktura PLIK.xml [--referencja TEKST] [--mpp FORMAT | --bez-mpp] [--scisle]\n")));
  EXPECT_TRUE(help.Out.contains(QStringLiteral("Kod wyjścia: 0")));
  EXPECT_TRUE(help.Out.contains(QStringLiteral("  3. w przeciwnym razie ~/.local/share/Pavena ($XDG_DATA_HOME/Pavena): "
                                               "program\n")));
  EXPECT_TRUE(help.Out.contains(
      QStringLiteral("Katalog danych tego uruchomienia: %1/\n(wskazany zmienną środowiskową PAVENA_DIR).\n")
          .arg(AppDirectory.Path())));
  EXPECT_TRUE(help.Out.contains(QStringLiteral("  --scisle            kod wyjścia 3, gdy plik przelewu zapisano z "
                                               "ostrzeżeniami\n")));
  EXPECT_TRUE(help.Out.contains(QStringLiteral("None: przelew MPP bez informacji\n"
                                               "                      o płatności (RmtInf), więc bez kwoty VAT i "
                                               "numeru faktury,\n")));
  EXPECT_EQ(help.Err, QString());

  const TRun history = Run({QStringLiteral("historia"), QStringLiteral("--help")});
  EXPECT_EQ(history.ExitCode, 0);
  EXPECT_EQ(
      history.Out,
      QStringLiteral("Polecenie pavena-cli historia:\n"
                     "  płatności zapisane w historii (historia.sqlite), od najnowszych:\n"
                     "  data, odbiorca, NIP, numer faktury, numer KSeF, kwota, waluta, numer pliku\n"
                     "  przelewu (Nr), data wycofania i kopia pliku w PLIKI_DO_BANKU/archiwum\n"
                     "\n"
                     "Użycie:\n"
                     "  pavena-cli historia [--od RRRR-MM-DD] [--do RRRR-MM-DD] [--szukaj TEKST] [--csv]\n"
                     "  pavena-cli historia --wycofaj NR | --przywroc NR\n"
                     "  pavena-cli historia --help\n"
                     "\n"
                     "Opcje:\n"
                     "  --od RRRR-MM-DD     historia: płatności z plików zapisanych tego dnia i później;\n"
                     "                      ksef pobierz: faktury przyjęte przez KSeF od tego dnia (bez niej: od\n"
                     "                      miejsca, w którym skończyło się poprzednie pobieranie, a za pierwszym\n"
                     "                      razem od pierwszego dnia poprzedniego miesiąca);\n"
                     "                      ksef lista: faktury pobrane tego dnia i później\n"
                     "  --do RRRR-MM-DD     historia: płatności z plików zapisanych tego dnia i wcześniej;\n"
                     "                      ksef pobierz: faktury przyjęte przez KSeF do tego dnia włącznie;\n"
                     "                      ksef lista: faktury pobrane tego dnia i wcześniej\n"
                     "  --szukaj TEKST      historia: tylko płatności, których odbiorca, NIP, numer faktury\n"
                     "                      albo numer KSeF zawiera TEKST (wielkość liter bez znaczenia)\n"
                     "  --csv               historia, ksef lista i do-zaplaty jako CSV (średniki, UTF-8\n"
                     "                      ze znacznikiem BOM)\n"
                     "  --wycofaj NR        historia: plik przelewu nr NR nie trafił do banku (próba, plik\n"
                     "                      odrzucony albo zastąpiony poprawionym): jego płatności zostają\n"
                     "                      w historii jako wycofane i nie są już ostrzeżeniem \"już w pliku\";\n"
                     "                      nic nie jest usuwane\n"
                     "  --przywroc NR       historia: cofa wycofanie pliku nr NR\n"
                     "  --help              ten opis i wyjście; po poleceniu (pavena-cli historia --help):\n"
                     "                      opis tego polecenia\n"
                     "\n"
                     "Kod wyjścia: 0 - historia wypisana (plik wycofany, przywrócony), 1 - nie powiodło się,\n"
                     "2 - błędne wywołanie.\n"));
  EXPECT_EQ(history.Err, QString());
  EXPECT_FALSE(QFile::exists(AppDirectory.File(QStringLiteral("historia.sqlite"))));

  const TRun version = Run({QStringLiteral("--version")});
  EXPECT_EQ(version.ExitCode, 0);
  EXPECT_EQ(version.Out, QStringLiteral("1.19\n"));
}

TEST_F(TPavenaCliTest, AFileNameBeginningWithAHyphenFollowsTheEndOfOptions) {
  QFile::copy(Example(QStringLiteral("faktury/serwis-bajt.xml")), WorkingDirectory.File(QStringLiteral("-serwis.xml")));

  const TRun run = Run(
      {QStringLiteral("faktura"), QStringLiteral("--bez-mpp"), QStringLiteral("--"), QStringLiteral("-serwis.xml")});

  EXPECT_EQ(run.ExitCode, 0) << run.Err.toStdString();
  EXPECT_TRUE(IsValidPain001(Output(QStringLiteral("Pain001.xml"))));
  EXPECT_EQ(TPain001View(Output(QStringLiteral("Pain001.xml"))).TextsNamed(QStringLiteral("EndToEndId")),
            QStringList{QStringLiteral("12/03/2026")});
}

TEST_F(TPavenaCliTest, TheWhiteListIsLoadedAskedAndChecksTheTransfers) {
  using namespace FlatFilePairs;
  TTempDir files;
  const QDate today = QDate::currentDate();
  const QString day = today.toString(QStringLiteral("yyyyMMdd"));
  const QString archive = PackWith7z(files, day + QStringLiteral(".7z"),
                                     {MakeStandardFlatFileJson(files, day + QStringLiteral(".json"), today)});

  const TRun load = Run({QStringLiteral("biala-lista"), QStringLiteral("wczytaj"), archive});
  EXPECT_EQ(load.ExitCode, 0) << load.Err.toStdString();
  EXPECT_TRUE(load.Out.startsWith(QStringLiteral("Wczytano plik płaski białej listy podatników VAT z dnia %1: skróty "
                                                 "podatników czynnych: 2, zwolnionych: 1, maski rachunków "
                                                 "wirtualnych: 1; czas: ")
                                      .arg(today.toString(QStringLiteral("dd.MM.yyyy")))))
      << load.Out.toStdString();
  // Progress goes to a terminal only.
  EXPECT_EQ(load.Err, QString());

  const QString data = today.toString(QStringLiteral("dd.MM.yyyy"));
  const struct {
    QString Nip;
    QString Account;
    int ExitCode;
    QString Out;
  } checks[] = {
      {ActiveNip, QStringLiteral("PL") + ActiveAccount, 0,
       QStringLiteral("NIP 5260250995, rachunek 61109010140000071219812874: figuruje w wykazie podatników VAT jako "
                      "podatnik czynny (biała lista, dane z dnia %1).\n")
           .arg(data)},
      {VirtualNip, VirtualAccount, 0,
       QStringLiteral("NIP 7740001454, rachunek 39105012140000000012000000: figuruje w wykazie podatników VAT jako "
                      "rachunek wirtualny, według maski banku (biała lista, dane z dnia %1).\n")
           .arg(data)},
      {ActiveNip, ExemptAccount, 1,
       QStringLiteral("NIP 5260250995, rachunek 27114020040000300201355387: nie figuruje w wykazie podatników VAT "
                      "(biała lista, dane z dnia %1).\n")
           .arg(data)},
      {QStringLiteral("526025099"), ActiveAccount, 2, QString()},
  };
  for (const auto &check : checks) {
    const TRun run =
        Run({QStringLiteral("biala-lista"), QStringLiteral("sprawdz"), check.Nip, check.Account, "--data=" + day});
    EXPECT_EQ(run.ExitCode, check.ExitCode) << check.Nip.toStdString();
    EXPECT_EQ(run.Out, check.Out);
  }
  // The date as everywhere else in the program.
  const TRun isoDay = Run({QStringLiteral("biala-lista"), QStringLiteral("sprawdz"), checks[0].Nip, checks[0].Account,
                           QStringLiteral("--data"), today.toString(Qt::ISODate)});
  EXPECT_EQ(isoDay.ExitCode, 0) << isoDay.Err.toStdString();
  EXPECT_EQ(isoDay.Out, checks[0].Out);

  // The example invoice's payee is not on this list.
  const TRun transfer = Run(
      {QStringLiteral("faktura"), Example(QStringLiteral("faktury/hurtownia-iskra.xml")), QStringLiteral("--scisle")});
  EXPECT_EQ(transfer.ExitCode, 3);
  EXPECT_TRUE(transfer.Err.contains(QStringLiteral("nie figuruje w wykazie podatników VAT (biała lista, dane z dnia ") +
                                    data + QStringLiteral(").")))
      << transfer.Err.toStdString();
  EXPECT_FALSE(transfer.Out.contains(QStringLiteral("pliku płaskiego")));
}

// The payment journal from the command line: the batch converted again warns for every
// invoice, and historia lists both runs.
class TCliHistoryTest : public TPavenaCliTest {
protected:
  // The CSV as Python's csv module reads it back: one list of fields per row.
  QList<QStringList> ReadBackCsv(const QByteArray &csv) const {
    WorkingDirectory.WriteBytes(QStringLiteral("historia.csv"), csv);
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"),
                  QStringLiteral("import csv, json, sys\n"
                                 "with open(sys.argv[1], encoding='utf-8-sig', newline='') as f:\n"
                                 "    print(json.dumps(list(csv.reader(f, delimiter=';'))))\n"),
                  WorkingDirectory.File(QStringLiteral("historia.csv"))});
    if (!python.waitForFinished(60000) || python.exitCode() != 0) {
      ADD_FAILURE() << "python3 failed: " << python.readAllStandardError().toStdString();
      return {};
    }
    QList<QStringList> rows;
    for (const QJsonValue &row : QJsonDocument::fromJson(python.readAllStandardOutput()).array())
      rows.append(row.toVariant().toStringList());
    return rows;
  }
};

TEST_F(TCliHistoryTest, TheBatchAgainWarnsForEachInvoiceAndHistoriaListsBothRuns) {
  const QString batch = Example(QStringLiteral("faktury"));
  ASSERT_EQ(Run({QStringLiteral("paczka"), batch, QStringLiteral("--scisle")}).ExitCode, 0);

  const TRun again = Run({QStringLiteral("paczka"), batch, QStringLiteral("--scisle")});

  EXPECT_EQ(again.ExitCode, 3);
  const QStringList warnings = again.Err.split(u'\n', Qt::SkipEmptyParts);
  EXPECT_EQ(warnings.size(), 3) << again.Err.toStdString();
  for (const QString &warning : warnings)
    EXPECT_TRUE(warning.startsWith(QStringLiteral("Uwaga: Przelew za fakturę ")) &&
                warning.contains(QStringLiteral(" jest już w pliku PLIKI_DO_BANKU/archiwum/")))
        << warning.toStdString();

  const TRun csv = Run({QStringLiteral("historia"), QStringLiteral("--csv")});
  ASSERT_EQ(csv.ExitCode, 0) << csv.Err.toStdString();
  const QList<QStringList> rows = ReadBackCsv(csv.Out.toUtf8());
  ASSERT_EQ(rows.size(), 7);
  EXPECT_EQ(rows[0],
            (QStringList{QStringLiteral("Data"), QStringLiteral("Odbiorca"), QStringLiteral("NIP"),
                         QStringLiteral("Numer faktury"), QStringLiteral("Numer KSeF"), QStringLiteral("Kwota"),
                         QStringLiteral("Waluta"), QStringLiteral("Plik"), QStringLiteral("Nr pliku"),
                         QStringLiteral("Wycofany"), QStringLiteral("Rachunek"), QStringLiteral("Tytuł"),
                         QStringLiteral("MPP"), QStringLiteral("Kwota VAT"), QStringLiteral("Biała lista")}));
  QStringList invoices;
  QStringList files;
  for (const QStringList &row : rows.mid(1)) {
    ASSERT_EQ(row.size(), 15);
    // Split payment was off and the white list was not checked.
    EXPECT_EQ(row.mid(12), (QStringList{QStringLiteral("nie"), QString(), QString()}));
    invoices.append(row[3]);
    files.append(row[7]);
  }
  const QStringList oneRun{QStringLiteral("WS/2026/77"), QStringLiteral("12/03/2026"), QStringLiteral("HE/0311/2026")};
  EXPECT_EQ(invoices, oneRun + oneRun);
  // Newest first: three payments from the second run's archived file, then three from the first's.
  const QString archive = QStringLiteral("PLIKI_DO_BANKU/archiwum/");
  const QStringList archived = QDir(AppDirectory.File(archive)).entryList(QDir::Files, QDir::Name);
  ASSERT_EQ(archived.size(), 2);
  EXPECT_EQ(files, QStringList(3, archive + archived[1]) + QStringList(3, archive + archived[0]));
  EXPECT_EQ(rows[1][5], QStringLiteral("480,60"));
  EXPECT_TRUE(rows[1][10].contains(QStringLiteral("61109010140000071219812874"))) << rows[1][10].toStdString();
  EXPECT_TRUE(rows[1][11].contains(QStringLiteral("WS/2026/77"))) << rows[1][11].toStdString();

  const TRun search = Run({QStringLiteral("historia"), QStringLiteral("--szukaj"), QStringLiteral("SOWA")});
  const QStringList lines = search.Out.split(u'\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 4) << search.Out.toStdString();
  EXPECT_TRUE(lines[1].contains(QStringLiteral("WS/2026/77")));
  EXPECT_TRUE(lines[2].contains(QStringLiteral("WS/2026/77")));
  EXPECT_EQ(lines[3], QStringLiteral("Razem: 961,20 PLN"));
}

TEST_F(TCliHistoryTest, TheCsvNamesTheSplitPaymentFormatOfEachFile) {
  const QString batch = Example(QStringLiteral("faktury"));
  ASSERT_EQ(Run({QStringLiteral("paczka"), batch, QStringLiteral("--mpp"), QStringLiteral("Standard")}).ExitCode, 0);
  ASSERT_EQ(Run({QStringLiteral("paczka"), batch, QStringLiteral("--bez-mpp")}).ExitCode, 0);

  const TRun csv = Run({QStringLiteral("historia"), QStringLiteral("--csv")});
  ASSERT_EQ(csv.ExitCode, 0) << csv.Err.toStdString();
  const QList<QStringList> rows = ReadBackCsv(csv.Out.toUtf8());
  ASSERT_EQ(rows.size(), 7);
  QStringList formats;
  for (const QStringList &row : rows.mid(1))
    formats.append(row.value(12));
  // Newest first: the run without split payment, then the one in the banks' title.
  EXPECT_EQ(formats, (QStringList{QStringLiteral("nie"), QStringLiteral("nie"), QStringLiteral("nie"),
                                  QStringLiteral("Standard"), QStringLiteral("Standard"), QStringLiteral("Standard")}));
}

TEST_F(TCliHistoryTest, WithoutAJournalListsNothing) {
  const TRun run = Run({QStringLiteral("historia"), QStringLiteral("--od"), QStringLiteral("2026-01-01")});

  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_TRUE(run.Out.endsWith(QStringLiteral("\nRazem: 0,00\n")));
  EXPECT_FALSE(QFile::exists(AppDirectory.File(QStringLiteral("historia.sqlite"))));
}

// A trial run withdrawn from the command line: the batch again raises no warning, the listing
// shows the trial's payments as withdrawn, and the mark can be taken back.
TEST_F(TCliHistoryTest, AWithdrawnTrialRunNoLongerCountsAsPaid) {
  const QString batch = Example(QStringLiteral("faktury"));
  ASSERT_EQ(Run({QStringLiteral("paczka"), batch}).ExitCode, 0);
  const QList<QStringList> trial = ReadBackCsv(Run({QStringLiteral("historia"), QStringLiteral("--csv")}).Out.toUtf8());
  ASSERT_EQ(trial.size(), 4);
  const QString id = trial[1][8];
  const QString archived = trial[1][7];

  const TRun withdraw = Run({QStringLiteral("historia"), QStringLiteral("--wycofaj"), id});

  EXPECT_EQ(withdraw.ExitCode, 0) << withdraw.Err.toStdString();
  EXPECT_EQ(withdraw.Out, QStringLiteral("Plik nr %1 (%2) oznaczono jako wycofany: jego płatności nie liczą się już "
                                         "jako zapłacone.\n")
                              .arg(id, archived));
  const TRun again = Run({QStringLiteral("paczka"), batch, QStringLiteral("--scisle")});
  EXPECT_EQ(again.ExitCode, 0) << again.Err.toStdString();
  EXPECT_EQ(again.Err, QString());
  const QList<QStringList> rows = ReadBackCsv(Run({QStringLiteral("historia"), QStringLiteral("--csv")}).Out.toUtf8());
  ASSERT_EQ(rows.size(), 7);
  for (const QStringList &row : rows.mid(1, 3))
    EXPECT_EQ(row[9], QString()) << row.join(u';').toStdString();
  for (const QStringList &row : rows.mid(4))
    EXPECT_TRUE(QDateTime::fromString(row[9], QStringLiteral("yyyy-MM-dd HH:mm:ss")).isValid())
        << row.join(u';').toStdString();
  const TRun table = Run({QStringLiteral("historia")});
  EXPECT_TRUE(table.Out.endsWith(QStringLiteral("\nRazem: 2 910,00 PLN\n"))) << table.Out.toStdString();

  const TRun twice = Run({QStringLiteral("historia"), QStringLiteral("--wycofaj=") + id});
  EXPECT_EQ(twice.ExitCode, 1);
  EXPECT_TRUE(twice.Err.startsWith(QStringLiteral("Błąd: Plik nr %1 (%2) jest już wycofany od ").arg(id, archived)))
      << twice.Err.toStdString();
  const TRun restore = Run({QStringLiteral("historia"), QStringLiteral("--przywroc"), id});
  EXPECT_EQ(restore.ExitCode, 0) << restore.Err.toStdString();
  EXPECT_EQ(
      restore.Out,
      QStringLiteral("Plik nr %1 (%2) przywrócono: jego płatności znów liczą się jako zapłacone.\n").arg(id, archived));
  const TRun unknown = Run({QStringLiteral("historia"), QStringLiteral("--przywroc"), QStringLiteral("999")});
  EXPECT_EQ(unknown.ExitCode, 1);
  EXPECT_EQ(unknown.Err, QStringLiteral("Błąd: W historii nie ma pliku nr 999.\n"));
}

// "historia | head": the reader closes the pipe long before the listing ends, which ends the
// listing without a word and without a signal.
TEST_F(TCliHistoryTest, AReaderThatStopsEarlyEndsTheListingQuietly) {
  {
    TPaymentJournal journal(AppDirectory.File(QStringLiteral("historia.sqlite")));
    std::vector<TJournalPayment> payments(5000);
    for (std::size_t i = 0; i < payments.size(); ++i) {
      payments[i].PayeeName = QStringLiteral("Dostawca z bardzo długą nazwą, żeby wiersz był szeroki %1").arg(i);
      payments[i].InvoiceNumber = QStringLiteral("FV/%1/2026").arg(i);
      payments[i].Amount = TAmount::FromUnits(10000);
      payments[i].Currency = QStringLiteral("PLN");
    }
    journal.Record(TJournalFile{.WrittenAt = QDateTime(QDate(2026, 3, 5), QTime(14, 5, 9)),
                                .Command = TJournalCommand::Batch,
                                .PayerIBAN = QStringLiteral("PL79114020044000030020135538"),
                                .FileName = QStringLiteral("Pain001Paczka.xml"),
                                .Sha256 = QString(64, u'0'),
                                .ArchivePath = QStringLiteral("PLIKI_DO_BANKU/archiwum/a.xml")},
                   payments);
  }
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("PAVENA_DIR"), AppDirectory.Path());
  process.setProcessEnvironment(environment);
  process.start(QStringLiteral(PAVENA_CLI), {QStringLiteral("historia")});
  // The first lines are there: the program is writing, with far more to come than a pipe holds.
  ASSERT_TRUE(process.waitForReadyRead(60000));
  process.closeReadChannel(QProcess::StandardOutput);

  ASSERT_TRUE(process.waitForFinished(60000));
  EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(process.exitCode(), 0);
  EXPECT_EQ(QString::fromUtf8(process.readAllStandardError()), QString());
}

// Output that cannot be written for another reason than a reader gone is an error.
TEST_F(TCliHistoryTest, AFullOutputIsAnError) {
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("PAVENA_DIR"), AppDirectory.Path());
  process.setProcessEnvironment(environment);
  process.setStandardOutputFile(QStringLiteral("/dev/full"));
  process.start(QStringLiteral(PAVENA_CLI), {QStringLiteral("historia")});

  ASSERT_TRUE(process.waitForFinished(60000));
  EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(process.exitCode(), 1);
  EXPECT_EQ(QString::fromUtf8(process.readAllStandardError()),
            QStringLiteral("Błąd: Nie można pisać na standardowe wyjście.\n"));
}

// The list "Do zapłaty" of the downloads in FAKTURY_KSEF.
class TDueInvoicesCliTest : public TPavenaCliTest {
protected:
  void Download(const QString &fixture) const {
    QFile file(FixturePath(QStringLiteral("due/") + fixture));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QDir().mkpath(AppDirectory.File(QStringLiteral("FAKTURY_KSEF")));
    AppDirectory.WriteBytes(QStringLiteral("FAKTURY_KSEF/") + fixture, file.readAll());
  }
  // Starts pavena-cli as Run does, without waiting for it.
  std::unique_ptr<QProcess> Start(const QStringList &arguments) const {
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PAVENA_DIR"), AppDirectory.Path());
    process->setProcessEnvironment(environment);
    process->setWorkingDirectory(WorkingDirectory.Path());
    process->setReadChannel(QProcess::StandardError);
    process->start(QStringLiteral(PAVENA_CLI), arguments);
    return process;
  }
};

const QString FirstKsefNumber = QStringLiteral("8943001230-20260302-000000000001-44");
const QString UnknownKsefNumber = QStringLiteral("8943001230-20260302-0000000000FF-00");

TEST_F(TDueInvoicesCliTest, ListsTheInvoicesOfAStatusAsCsv) {
  Download(QStringLiteral("dwa-terminy.xml"));
  Download(QStringLiteral("zaplacona.xml"));
  const TRun run = Run({QStringLiteral("do-zaplaty"), QStringLiteral("--status"), QStringLiteral("nie-do-przelewu"),
                        QStringLiteral("--csv")});
  EXPECT_EQ(run.ExitCode, 0) << run.Err.toStdString();
  // QString::fromUtf8 drops the byte-order mark.
  EXPECT_EQ(run.Out, QStringLiteral("Termin;Sprzedawca;NIP;Numer faktury;Numer KSeF;Data wystawienia;Brutto;"
                                    "Do zapłaty;Waluta;Rachunek;Status;Biała lista;Plik\r\n"
                                    "brak terminu;Papiernia Zielony Dąb sp. z o.o.;8943001230;FV/3;"
                                    "8943001230-20260302-000000000003-4A;2026-03-02;1230,00;0,00;PLN;"
                                    "PL32102028922000000102034567;nie do przelewu: zapłacona według faktury;;") +
                         AppDirectory.File(QStringLiteral("FAKTURY_KSEF/zaplacona.xml")) + QStringLiteral("\r\n"));
}

// The file of the numbers given, what was left out said as a warning; the same call again
// finds the invoice in that file and writes nothing.
TEST_F(TDueInvoicesCliTest, CreatesTheFileOfTheNumbersGivenOnce) {
  Download(QStringLiteral("dwa-terminy.xml"));
  const QStringList create{
      QStringLiteral("do-zaplaty"), QStringLiteral("--utworz"), QStringLiteral("--ksef"),  FirstKsefNumber,
      QStringLiteral("--ksef"),     UnknownKsefNumber,          QStringLiteral("--scisle")};
  const TRun first = Run(create);
  EXPECT_EQ(first.ExitCode, 3) << first.Err.toStdString();
  EXPECT_EQ(first.Err, QStringLiteral("Uwaga: Pominięto: numer KSeF %1, nie ma takiej faktury w FAKTURY_KSEF.\n")
                           .arg(UnknownKsefNumber));
  EXPECT_EQ(first.Out, Success(QStringLiteral("Pain001Paczka.xml"),
                               QStringLiteral("dla potrzeb przelewu, dla paczki faktur ...")));
  EXPECT_TRUE(IsValidPain001(Output(QStringLiteral("Pain001Paczka.xml"))));

  const TRun second = Run(create);
  EXPECT_EQ(second.ExitCode, 1);
  EXPECT_TRUE(
      second.Err.startsWith(QStringLiteral("Uwaga: Pominięto: numer KSeF %1, nie ma takiej faktury w FAKTURY_KSEF.\n"
                                           "Uwaga: Pominięto: faktura FV/1 (KSeF %2), w pliku PLIKI_DO_BANKU/archiwum/")
                                .arg(UnknownKsefNumber, FirstKsefNumber)))
      << second.Err.toStdString();
  EXPECT_TRUE(second.Err.endsWith(
      QStringLiteral("Błąd: Żadna z wybranych faktur nie jest do zapłaty: pliku przelewów nie zapisano.\n")));
}

TEST_F(TDueInvoicesCliTest, MarksAnInvoicePaidOutsideAndTakesTheMarkBack) {
  Download(QStringLiteral("dwa-terminy.xml"));
  const TRun mark = Run({QStringLiteral("do-zaplaty"), QStringLiteral("--oznacz-zaplacona"), FirstKsefNumber,
                         QStringLiteral("--notatka"), QStringLiteral("gotówką")});
  EXPECT_EQ(mark.ExitCode, 0) << mark.Err.toStdString();
  EXPECT_TRUE(mark.Out.startsWith(
      QStringLiteral("Fakturę KSeF %1 oznaczono jako zapłaconą poza programem (").arg(FirstKsefNumber)));
  const TRun listed = Run({QStringLiteral("do-zaplaty"), QStringLiteral("--status=poza-programem")});
  EXPECT_TRUE(listed.Out.contains(QStringLiteral(": gotówką\n"))) << listed.Out.toStdString();

  const QStringList undo{QStringLiteral("do-zaplaty"), QStringLiteral("--cofnij"), FirstKsefNumber};
  EXPECT_EQ(Run(undo).ExitCode, 0);
  const TRun again = Run(undo);
  EXPECT_EQ(again.ExitCode, 1);
  EXPECT_EQ(
      again.Err,
      QStringLiteral("Błąd: Faktura KSeF %1 nie jest oznaczona jako zapłacona poza programem.\n").arg(FirstKsefNumber));
}

// A word on an invoice to pay goes to standard error, after the listing.
TEST_F(TDueInvoicesCliTest, ListsAnAdvanceInvoiceWithAWarning) {
  Download(QStringLiteral("zaliczkowa.xml"));
  const TRun run = Run({QStringLiteral("do-zaplaty"), QStringLiteral("--csv")});
  EXPECT_EQ(run.ExitCode, 0) << run.Err.toStdString();
  EXPECT_TRUE(run.Out.contains(QStringLiteral(";FV/12;"))) << run.Out.toStdString();
  EXPECT_EQ(run.Err, QStringLiteral("Uwaga: faktura FV/12 (KSeF 8943001230-20260302-000000000012-58): to faktura "
                                    "zaliczkowa, która zwykle dokumentuje zaliczkę już zapłaconą; sprawdź, czy jest "
                                    "jeszcze coś do zapłaty.\n"));
}

// Two runs read the list while the journal is held; each says so (its warning about the
// unknown number comes after its reading), and only then is the journal let go: one of them
// writes the file, the other finds the invoice in it under the journal's lock and writes nothing.
TEST_F(TDueInvoicesCliTest, TwoRunsAtOnceEndWithOneFile) {
  Download(QStringLiteral("dwa-terminy.xml"));
  const QStringList create{QStringLiteral("do-zaplaty"), QStringLiteral("--utworz"),
                           QStringLiteral("--ksef"),     FirstKsefNumber,
                           QStringLiteral("--ksef"),     UnknownKsefNumber};
  std::vector<std::unique_ptr<QProcess>> runs;
  TPaymentJournal held(AppDirectory.File(QStringLiteral("historia.sqlite")));
  held.Exclusively([&] {
    for (int i = 0; i < 2; ++i)
      runs.push_back(Start(create));
    for (const auto &run : runs)
      while (!run->canReadLine())
        ASSERT_TRUE(run->waitForReadyRead(-1)) << "pavena-cli ended before reading its list";
  });
  std::vector<int> exitCodes;
  QString errors;
  for (const auto &run : runs) {
    ASSERT_TRUE(run->waitForFinished(-1));
    exitCodes.push_back(run->exitCode());
    errors += QString::fromUtf8(run->readAllStandardError());
  }
  std::sort(exitCodes.begin(), exitCodes.end());
  EXPECT_EQ(exitCodes, std::vector<int>({0, 1})) << errors.toStdString();
  EXPECT_TRUE(errors.contains(QStringLiteral("Błąd: Nie zapisano pliku przelewów, żeby nic nie zostało zapłacone "
                                             "drugi raz: faktura FV/1 (NIP 8943001230) jest już w pliku "
                                             "PLIKI_DO_BANKU/archiwum/")))
      << errors.toStdString();
  EXPECT_EQ(QDir(AppDirectory.File(QStringLiteral("PLIKI_DO_BANKU/archiwum"))).entryList(QDir::Files).size(), 1);
  THistorySummary summary = held.Summarize({});
  EXPECT_EQ(summary.Count, 1);
}

} // namespace
