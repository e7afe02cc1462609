#include "KsefStandIn.h"
#include "Pain001View.h"
#include "TestSupport.h"
#include "app/commands/KsefDownload.h"
#include "journal/PaymentJournal.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>
#include <array>
#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <termios.h>
#include <tuple>
#include <unistd.h>
#include <vector>

// pavena-cli ksef pobierz and ksef lista against the KSeF stand-in, as a user's script runs them.

namespace {

const QString Nip = QStringLiteral("1234563218");
const QByteArray Token = "20261211-EC-0B1C2D3E40-9F8E7D6C5B-41|nip-1234563218|c0ffee5ec7e7";

struct TRun {
  int ExitCode = -1;
  QString Out;
  QString Err;
};

class TKsefCliTest : public ::testing::Test {
protected:
  // The stand-in stands for the environment `environment`, at its own address.
  void WriteSettings(const TKsefStandIn &server, const QByteArray &environment = "testowe") const {
    App.WriteBytes(QStringLiteral("settings.ini"),
                   "[COMPANY]\r\nNIP=" + Nip.toLatin1() +
                       "\r\nName=Pracownia Wrzos sp. z o.o.\r\nIBAN=PL79114020044000030020135538\r\n"
                       "BIC=BREXPLPWXXX\r\n[KSeF]\r\nSrodowisko=" +
                       environment + "\r\nAdres=" + server.Base().toLatin1() +
                       "\r\nPlikCA=" + server.CaFile().toLatin1() + "\r\n");
  }

  // Runs pavena-cli with the data directory of the test and, when given, the token in
  // PAVENA_KSEF_TOKEN; no secret of the calling environment reaches it.
  TRun Run(const QStringList &arguments, const QByteArray &token = {}, const QByteArray &passphrase = {}) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PAVENA_DIR"), App.Path());
    environment.remove(QStringLiteral("PAVENA_KSEF_TOKEN"));
    environment.remove(QStringLiteral("PAVENA_KSEF_HASLO"));
    if (!token.isEmpty())
      environment.insert(QStringLiteral("PAVENA_KSEF_TOKEN"), QString::fromLatin1(token));
    if (!passphrase.isEmpty())
      environment.insert(QStringLiteral("PAVENA_KSEF_HASLO"), QString::fromLatin1(passphrase));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(Elsewhere.Path());
    // No terminal: nothing is ever asked for.
    process.setStandardInputFile(QProcess::nullDevice());
    if (MergeOutput)
      process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral(PAVENA_CLI), arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit) {
      ADD_FAILURE() << "pavena-cli did not finish: " << process.errorString().toStdString();
      return {};
    }
    TRun run{process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
             QString::fromUtf8(process.readAllStandardError())};
    Outputs << run.Out << run.Err;
    return run;
  }

  // A file outside the data directory with these permissions.
  QString PrivateFile(const QString &name, const QByteArray &bytes, QFile::Permissions permissions) const {
    Elsewhere.WriteBytes(name, bytes);
    QFile::setPermissions(Elsewhere.File(name), permissions);
    return Elsewhere.File(name);
  }

  // The line of each new invoice and the summary, as pobierz prints them.
  static QString DownloadedLines(const TKsefStandIn &server) {
    QString lines;
    const QStringList gross{QStringLiteral("107.01"), QStringLiteral("114.02"), QStringLiteral("121.03")};
    for (qsizetype i = 0; i < server.InvoiceNumbers().size(); ++i) {
      const QString number = server.InvoiceNumbers()[i];
      lines += QStringLiteral("%1  Dostawca  FV/%2/2026  %3 PLN\n").arg(number, number.right(6), gross.value(i));
    }
    return lines + QStringLiteral("Pobrano z KSeF nowych faktur zakupu: %1.\n").arg(server.InvoiceNumbers().size());
  }

  // None of the secrets is in any file of the data directory (settings.ini, the journal, the
  // remembered start, the invoices, any log) nor in anything the runs printed.
  void ExpectNowhere(const QList<QByteArray> &secrets) const {
    QDirIterator files(App.Path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    QStringList searched;
    while (files.hasNext()) {
      QFile file(files.next());
      ASSERT_TRUE(file.open(QIODevice::ReadOnly));
      const QByteArray content = file.readAll();
      for (const QByteArray &secret : secrets)
        EXPECT_FALSE(content.contains(secret)) << file.fileName().toStdString() << ": " << secret.toStdString();
      searched << QDir(App.Path()).relativeFilePath(file.fileName());
    }
    EXPECT_TRUE(searched.contains(QStringLiteral("settings.ini")) &&
                searched.contains(QStringLiteral("historia.sqlite")) &&
                searched.contains(QStringLiteral("ksef-pobieranie.ini")))
        << searched.join(u' ').toStdString();
    for (const QString &output : Outputs)
      for (const QByteArray &secret : secrets)
        EXPECT_FALSE(output.toUtf8().contains(secret)) << output.toStdString();
  }

  // Every token the stand-in issued: an authentication token, then an access and a refresh
  // token at least.
  static QList<QByteArray> IssuedTokens(const TKsefStandIn &server) {
    const QList<QByteArray> issued = server.IssuedTokens();
    EXPECT_GE(issued.size(), 3);
    return issued;
  }

  TTempDir App;
  TTempDir Elsewhere;
  QStringList Outputs;
  // Both outputs in Out, in the order they were written.
  bool MergeOutput = false;
};

const QFile::Permissions OwnerOnly = QFile::ReadOwner | QFile::WriteOwner;

// The token comes from the environment or from a file of the owner's alone; the invoices land
// in FAKTURY_KSEF and in the journal, a second run finds nothing new, and no file of the data
// directory nor any line the runs printed holds the token, nor any token KSeF issued for it.
TEST_F(TKsefCliTest, DownloadsByTokenRecordsEachInvoiceOnceAndLeavesTheTokenNowhere) {
  QList<QByteArray> secrets;
  for (const bool fromFile : {false, true}) {
    SCOPED_TRACE(fromFile ? "--token-plik" : "PAVENA_KSEF_TOKEN");
    const TKsefStandIn server(Nip, {"--token", QString::fromLatin1(Token)});
    WriteSettings(server);
    QDir(App.File(QStringLiteral("FAKTURY_KSEF_testowe"))).removeRecursively();
    QFile::remove(App.File(QStringLiteral("ksef-pobieranie.ini")));
    QStringList login;
    QByteArray environmentToken = Token;
    if (fromFile) {
      login = QStringList{QStringLiteral("--token-plik"),
                          PrivateFile(QStringLiteral("token.txt"), Token + '\n', OwnerOnly)};
      environmentToken.clear();
    }

    const TRun first = Run(QStringList{QStringLiteral("ksef"), QStringLiteral("pobierz"), QStringLiteral("--od"),
                                       QStringLiteral("2026-11-01")} +
                               login,
                           environmentToken);
    EXPECT_EQ(first.Err, QString());
    EXPECT_EQ(first.ExitCode, 0);
    EXPECT_EQ(first.Out, DownloadedLines(server));
    for (const QString &number : server.InvoiceNumbers())
      EXPECT_EQ(App.ReadBytes(QStringLiteral("FAKTURY_KSEF_testowe/") + number + QStringLiteral(".xml")),
                server.InvoiceBytes(number));

    const TRun again = Run(QStringList{QStringLiteral("ksef"), QStringLiteral("pobierz")} + login, environmentToken);
    EXPECT_EQ(again.ExitCode, 0);
    EXPECT_EQ(again.Out, QStringLiteral("Brak nowych faktur zakupu w KSeF.\n"));
    EXPECT_EQ(server.Count("POST /v2/invoices/exports 201"), 2);
    secrets << IssuedTokens(server);
  }
  secrets << Token.left(30);

  // Both runs downloaded the same numbers of the same environment: each is recorded once.
  const TRun list = Run({QStringLiteral("ksef"), QStringLiteral("lista"), QStringLiteral("--csv")});
  ASSERT_EQ(list.ExitCode, 0) << list.Err.toStdString();
  QStringList rows = list.Out.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
  ASSERT_EQ(rows.size(), 4) << list.Out.toStdString();
  EXPECT_EQ(rows[0], QStringLiteral("Pobrano;Numer KSeF;NIP sprzedawcy;Sprzedawca;Numer faktury;Data wystawienia;"
                                    "Kwota brutto;Waluta;Plik;Środowisko;SHA-256"));
  // Newest first: the third invoice of the first download.
  const QStringList fields = rows[1].split(u';');
  ASSERT_EQ(fields.size(), 11);
  const QString number = fields[1];
  EXPECT_EQ(
      fields.mid(2),
      (QStringList{QStringLiteral("5260000063"), QStringLiteral("Dostawca"),
                   QStringLiteral("FV/") + number.right(6) + QStringLiteral("/2026"), QStringLiteral("2026-11-05"),
                   QStringLiteral("121,03"), QStringLiteral("PLN"),
                   QStringLiteral("FAKTURY_KSEF_testowe/") + number + QStringLiteral(".xml"), QStringLiteral("testowe"),
                   QString::fromLatin1(QCryptographicHash::hash(App.ReadBytes(QStringLiteral("FAKTURY_KSEF_testowe/") +
                                                                              number + QStringLiteral(".xml")),
                                                                QCryptographicHash::Sha256)
                                           .toHex())}));
  const TRun table = Run({QStringLiteral("ksef"), QStringLiteral("lista")});
  EXPECT_TRUE(table.Out.endsWith(QStringLiteral("\nRazem: 342,06 PLN\n"))) << table.Out.toStdString();

  ExpectNowhere(secrets);
}

// A transfer made of the downloaded invoices carries their real KSeF numbers into the banks'
// Standard title and into the journal, though the invoices themselves do not hold them.
TEST_F(TKsefCliTest, ATransferFromTheDownloadedInvoicesCarriesTheirKsefNumbers) {
  const TKsefStandIn server(Nip, {"--token", QString::fromLatin1(Token)});
  WriteSettings(server);
  ASSERT_EQ(
      Run({QStringLiteral("ksef"), QStringLiteral("pobierz"), QStringLiteral("--od"), QStringLiteral("2026-11-01")},
          Token)
          .ExitCode,
      0);

  const TRun batch = Run({QStringLiteral("paczka"), App.File(QStringLiteral("FAKTURY_KSEF_testowe")),
                          QStringLiteral("--mpp"), QStringLiteral("Standard")});
  ASSERT_EQ(batch.ExitCode, 0) << batch.Err.toStdString();

  const QStringList sellers{QStringLiteral("5260000028"), QStringLiteral("5260000040"), QStringLiteral("5260000063")};
  QStringList expectedTitles;
  for (qsizetype i = 0; i < server.InvoiceNumbers().size(); ++i)
    expectedTitles << QStringLiteral("/VAT/23,00/IDC/%1/INV/%2/TXT/FV/%3/2026")
                          .arg(sellers.value(i))
                          .arg(server.InvoiceNumbers()[i])
                          .arg(i + 1);
  const QStringList titles = TPain001View(App.File(QStringLiteral("PLIKI_DO_BANKU/Pain001Paczka_MPP.xml")))
                                 .TextsNamed(QStringLiteral("Ustrd"));
  EXPECT_EQ(titles, expectedTitles);
  const TRun history = Run({QStringLiteral("historia"), QStringLiteral("--csv")});
  for (const QString &number : server.InvoiceNumbers())
    EXPECT_TRUE(history.Out.contains(u';' + number + u';')) << history.Out.toStdString();
}

// The downloaded invoices listed by due date; those chosen paid in one file that passes the
// schema and every check, their real KSeF numbers in the banks' Standard titles; the journal
// then shows them in that file, and the same choice again writes nothing.
TEST_F(TKsefCliTest, TheDownloadedInvoicesChosenFromTheDueListArePaidOnce) {
  const TKsefStandIn server(Nip, {"--token", QString::fromLatin1(Token)});
  // Only the production environment's invoices are to pay.
  WriteSettings(server, "produkcyjne");
  ASSERT_EQ(
      Run({QStringLiteral("ksef"), QStringLiteral("pobierz"), QStringLiteral("--od"), QStringLiteral("2026-11-01")},
          Token)
          .ExitCode,
      0);
  const QStringList numbers = server.InvoiceNumbers();
  ASSERT_EQ(numbers.size(), 3);

  const TRun listed = Run({QStringLiteral("do-zaplaty"), QStringLiteral("--csv")});
  ASSERT_EQ(listed.ExitCode, 0) << listed.Err.toStdString();
  const QStringList rows = listed.Out.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts).mid(1);
  ASSERT_EQ(rows.size(), 3) << listed.Out.toStdString();
  for (qsizetype i = 0; i < rows.size(); ++i) {
    const QStringList fields = rows[i].split(u';');
    ASSERT_EQ(fields.size(), 13) << rows[i].toStdString();
    // The stand-in's invoices name no due date: due at once.
    EXPECT_EQ(fields[0], QStringLiteral("brak terminu"));
    EXPECT_EQ(fields[4], numbers[i]);
    EXPECT_EQ(fields[10], QStringLiteral("do zapłaty"));
  }

  const QStringList create{QStringLiteral("do-zaplaty"), QStringLiteral("--utworz"),
                           QStringLiteral("--ksef"),     numbers[0],
                           QStringLiteral("--ksef"),     numbers[2],
                           QStringLiteral("--mpp"),      QStringLiteral("Standard"),
                           QStringLiteral("--scisle")};
  const TRun first = Run(create);
  EXPECT_EQ(first.ExitCode, 0) << first.Err.toStdString();
  EXPECT_EQ(first.Err, QString());
  const QString batchFile = App.File(QStringLiteral("PLIKI_DO_BANKU/Pain001Paczka_MPP.xml"));
  EXPECT_TRUE(IsValidPain001(batchFile));
  EXPECT_EQ(TPain001View(batchFile).TextsNamed(QStringLiteral("Ustrd")),
            (QStringList{QStringLiteral("/VAT/23,00/IDC/5260000028/INV/%1/TXT/FV/1/2026").arg(numbers[0]),
                         QStringLiteral("/VAT/23,00/IDC/5260000063/INV/%1/TXT/FV/3/2026").arg(numbers[2])}));

  const TRun inFile = Run(
      {QStringLiteral("do-zaplaty"), QStringLiteral("--status"), QStringLiteral("w-pliku"), QStringLiteral("--csv")});
  const QStringList paid = inFile.Out.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts).mid(1);
  ASSERT_EQ(paid.size(), 2) << inFile.Out.toStdString();
  for (qsizetype i = 0; i < paid.size(); ++i) {
    const QStringList fields = paid[i].split(u';');
    EXPECT_EQ(fields.value(4), numbers[i * 2]);
    EXPECT_TRUE(fields.value(10).startsWith(QStringLiteral("w pliku PLIKI_DO_BANKU/archiwum/")))
        << paid[i].toStdString();
  }

  const QByteArray written = App.ReadBytes(QStringLiteral("PLIKI_DO_BANKU/Pain001Paczka_MPP.xml"));
  const TRun second = Run(create);
  EXPECT_EQ(second.ExitCode, 1);
  EXPECT_TRUE(
      second.Err.startsWith(QStringLiteral("Uwaga: Pominięto: faktura FV/1/2026 (KSeF %1), w pliku ").arg(numbers[0])))
      << second.Err.toStdString();
  EXPECT_TRUE(second.Err.endsWith(
      QStringLiteral("Błąd: Żadna z wybranych faktur nie jest do zapłaty: pliku przelewów nie zapisano.\n")))
      << second.Err.toStdString();
  EXPECT_EQ(App.ReadBytes(QStringLiteral("PLIKI_DO_BANKU/Pain001Paczka_MPP.xml")), written);
  EXPECT_EQ(QDir(App.File(QStringLiteral("PLIKI_DO_BANKU/archiwum"))).entryList(QDir::Files).size(), 1);
}

TEST_F(TKsefCliTest, ALoginKsefRefusesEndsWithItsLineAndStatusOne) {
  const TKsefStandIn server(Nip, {"--token", QString::fromLatin1(Token), "--fault", "login-415"});
  WriteSettings(server);

  const TRun run = Run({QStringLiteral("ksef"), QStringLiteral("pobierz")}, Token);

  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_EQ(run.Out, QString());
  EXPECT_EQ(run.Err, QStringLiteral("Błąd: Logowanie do KSeF nie powiodło się (415): certyfikat albo token nie ma "
                                    "prawa do faktur tej firmy; nadaj mu w KSeF uprawnienie „InvoiceRead” dla NIP "
                                    "płatnika.\n"));
  EXPECT_FALSE(QFile::exists(App.File(QStringLiteral("ksef-pobieranie.ini"))));
}

// A journal that cannot be opened loses no invoice: they are written, and one line says they
// were not recorded.
TEST_F(TKsefCliTest, AJournalThatCannotBeOpenedLeavesTheInvoicesWrittenAndSaysSo) {
  const TKsefStandIn server(Nip, {"--token", QString::fromLatin1(Token)});
  WriteSettings(server);
  ASSERT_TRUE(QDir(App.Path()).mkdir(QStringLiteral("historia.sqlite")));

  const TRun run = Run(
      {QStringLiteral("ksef"), QStringLiteral("pobierz"), QStringLiteral("--od"), QStringLiteral("2026-11-01")}, Token);

  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_EQ(run.Out, DownloadedLines(server));
  EXPECT_EQ(run.Err,
            QStringLiteral("Uwaga: Pobranych faktur nie zapisano w historii (historia.sqlite): "
                           "nie można zapisywać w pliku ani w jego katalogu (unable to open database file); pliki "
                           "faktur są w FAKTURY_KSEF_testowe.\n"));
  EXPECT_EQ(QDir(App.File(QStringLiteral("FAKTURY_KSEF_testowe"))).entryList(QDir::Files).size(), 3);
  // The start stays before what the journal did not take: the next run takes it again.
  EXPECT_FALSE(QFile::exists(App.File(QStringLiteral("ksef-pobieranie.ini"))));

  ASSERT_TRUE(QDir(App.Path()).rmdir(QStringLiteral("historia.sqlite")));
  const TRun again = Run(
      {QStringLiteral("ksef"), QStringLiteral("pobierz"), QStringLiteral("--od"), QStringLiteral("2026-11-01")}, Token);
  EXPECT_EQ(again.ExitCode, 0);
  EXPECT_EQ(again.Err, QString());
  const TRun list = Run({QStringLiteral("ksef"), QStringLiteral("lista"), QStringLiteral("--csv")});
  EXPECT_EQ(list.Out.count(QStringLiteral(";testowe;")), 3) << list.Out.toStdString();
}

// The test environments are shared: invoices there are anyone's, never the payer's debts, and
// their amounts are never added to the real ones.
TEST_F(TKsefCliTest, ListaShowsOneEnvironmentAndAddsUpOnlyItsAmounts) {
  App.WriteBytes(QStringLiteral("settings.ini"), "[KSeF]\r\nSrodowisko=testowe\r\n");
  {
    TPaymentJournal journal(App.File(QStringLiteral("historia.sqlite")));
    for (const auto &[environment, number, gross] :
         {std::tuple{"produkcyjne", "5260000001-20261103-A1B2C3000001-5D", 100000000},
          std::tuple{"testowe", "5260000002-20261104-A1B2C3000002-6E", 50000}}) {
      TKsefInvoiceRecord invoice;
      invoice.Environment = QString::fromLatin1(environment);
      invoice.KsefNumber = QString::fromLatin1(number);
      invoice.GrossAmount = TAmount::FromUnits(gross);
      invoice.Currency = QStringLiteral("PLN");
      invoice.FilePath = KsefInvoiceFolder(invoice.Environment) + u'/' + invoice.KsefNumber + QStringLiteral(".xml");
      invoice.DownloadedAt = QDateTime(QDate(2026, 12, 1), QTime(8, 0));
      ASSERT_TRUE(journal.RecordKsefInvoice(invoice));
    }
  }

  const TRun configured = Run({QStringLiteral("ksef"), QStringLiteral("lista")});
  EXPECT_EQ(configured.ExitCode, 0) << configured.Err.toStdString();
  EXPECT_TRUE(configured.Out.contains(QStringLiteral("5260000002-20261104-A1B2C3000002-6E")));
  EXPECT_FALSE(configured.Out.contains(QStringLiteral("5260000001-20261103-A1B2C3000001-5D")));
  EXPECT_TRUE(configured.Out.endsWith(QStringLiteral("\nRazem: 5,00 PLN\n"))) << configured.Out.toStdString();

  const TRun production = Run({QStringLiteral("ksef"), QStringLiteral("lista"), QStringLiteral("--srodowisko"),
                               QStringLiteral("produkcyjne"), QStringLiteral("--csv")});
  EXPECT_EQ(production.ExitCode, 0) << production.Err.toStdString();
  const QStringList rows = production.Out.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
  ASSERT_EQ(rows.size(), 2) << production.Out.toStdString();
  EXPECT_TRUE(rows[1].startsWith(QStringLiteral("2026-12-01"))) << rows[1].toStdString();
  EXPECT_TRUE(rows[1].contains(QStringLiteral(";10000,00;PLN;FAKTURY_KSEF/5260000001-20261103-A1B2C3000001-5D.xml;"
                                              "produkcyjne;")))
      << rows[1].toStdString();
}

// Ctrl-C at the prompt for the key's passphrase gives the terminal its echo back, and the
// program ends as Ctrl-C ends it.
TEST_F(TKsefCliTest, CtrlCAtThePassphrasePromptLeavesTheTerminalEchoing) {
  const TKsefStandIn server(Nip, {});
  WriteSettings(server);
  QFile keyFile(server.File(QStringLiteral("signer-ec.key")));
  ASSERT_TRUE(keyFile.open(QIODevice::ReadOnly));
  const QString key = PrivateFile(QStringLiteral("signer-ec.key"), keyFile.readAll(), OwnerOnly);
  const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(master, 0);
  ASSERT_EQ(::grantpt(master), 0);
  ASSERT_EQ(::unlockpt(master), 0);
  const QByteArray terminalName = ::ptsname(master);

  // Everything the child needs is made before it is forked.
  const QByteArray program = PAVENA_CLI;
  QList<QByteArray> arguments{program,
                              "ksef",
                              "pobierz",
                              "--certyfikat",
                              QFile::encodeName(server.File(QStringLiteral("signer-ec.crt"))),
                              "--klucz",
                              QFile::encodeName(key)};
  QList<QByteArray> environment{"PAVENA_DIR=" + QFile::encodeName(App.Path())};
  for (const QString &variable : QProcessEnvironment::systemEnvironment().toStringList())
    if (!variable.startsWith(QStringLiteral("PAVENA_")))
      environment << variable.toLocal8Bit();
  std::vector<char *> argv;
  for (QByteArray &argument : arguments)
    argv.push_back(argument.data());
  argv.push_back(nullptr);
  std::vector<char *> envp;
  for (QByteArray &variable : environment)
    envp.push_back(variable.data());
  envp.push_back(nullptr);
  const QByteArray workingDirectory = QFile::encodeName(Elsewhere.Path());

  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // A session of its own, whose controlling terminal is the pseudo-terminal.
    ::setsid();
    const int terminal = ::open(terminalName.constData(), O_RDWR);
    if (terminal < 0 || ::dup2(terminal, 0) < 0 || ::dup2(terminal, 1) < 0 || ::dup2(terminal, 2) < 0 ||
        ::chdir(workingDirectory.constData()) != 0)
      ::_exit(127);
    ::close(master);
    ::execve(argv[0], argv.data(), envp.data());
    ::_exit(127);
  }
  // The prompt is shown once the echo is off: read up to it. A child that ended instead closes
  // the terminal, and the read fails.
  const QByteArray prompt = QStringLiteral("Hasło klucza prywatnego: ").toUtf8();
  QByteArray shown;
  while (!shown.contains(prompt)) {
    std::array<char, 256> buffer{};
    const ssize_t got = ::read(master, buffer.data(), buffer.size());
    if (got <= 0)
      break;
    shown.append(buffer.data(), got);
  }
  ASSERT_TRUE(shown.contains(prompt)) << shown.toStdString();
  const int terminal = ::open(terminalName.constData(), O_RDWR | O_NOCTTY);
  ASSERT_GE(terminal, 0);
  termios asking{};
  ASSERT_EQ(::tcgetattr(terminal, &asking), 0);
  EXPECT_EQ(asking.c_lflag & ECHO, tcflag_t(0));

  ASSERT_EQ(::kill(child, SIGINT), 0);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGINT) << status;
  termios after{};
  ASSERT_EQ(::tcgetattr(terminal, &after), 0);
  EXPECT_NE(after.c_lflag & ECHO, tcflag_t(0));
  ::close(terminal);
  ::close(master);
}

// The journal's warning is one of the download's notices, told where the window tells it:
// with the other notices, before the list of what came in.
TEST_F(TKsefCliTest, TheJournalsWarningComesWithTheDownloadsNoticesBeforeTheList) {
  const TKsefStandIn server(Nip, {"--token", QString::fromLatin1(Token), "--fault", "no-metadata"});
  WriteSettings(server);
  ASSERT_TRUE(QDir(App.Path()).mkdir(QStringLiteral("historia.sqlite")));
  MergeOutput = true;

  const TRun run = Run(
      {QStringLiteral("ksef"), QStringLiteral("pobierz"), QStringLiteral("--od"), QStringLiteral("2026-11-01")}, Token);

  EXPECT_EQ(run.ExitCode, 0);
  QString lines;
  for (const QString &number : server.InvoiceNumbers())
    lines += number + u'\n';
  EXPECT_EQ(run.Out, QStringLiteral("Paczka faktur z KSeF nie ma czytelnego pliku _metadata.json: faktury rozpoznano "
                                    "po nazwach plików, bez sprawdzenia ich skrótów.\n"
                                    "Uwaga: Pobranych faktur nie zapisano w historii (historia.sqlite): nie można "
                                    "zapisywać w pliku ani w jego katalogu (unable to open database file); pliki "
                                    "faktur są w FAKTURY_KSEF_testowe.\n") +
                         lines + QStringLiteral("Pobrano z KSeF nowych faktur zakupu: 3.\n"));
}

struct TExposedSecretCase {
  const char *Name;
  // The options, "%1" standing for the file that others can read.
  QStringList Options;
  QFile::Permissions Permissions;
  const char *Shown;
};

void PrintTo(const TExposedSecretCase &c, std::ostream *os) { *os << c.Name; }

class TKsefCliExposedSecretTest : public TKsefCliTest, public ::testing::WithParamInterface<TExposedSecretCase> {};

// A token or a private key that others may read is refused before anything is read from it or
// sent anywhere.
TEST_P(TKsefCliExposedSecretTest, IsRefusedWithHowToFixIt) {
  const TExposedSecretCase &c = GetParam();
  App.WriteBytes(QStringLiteral("settings.ini"), "[COMPANY]\r\nNIP=" + Nip.toLatin1() + "\r\n");
  const QString exposed = PrivateFile(QStringLiteral("sekret"), Token, c.Permissions);
  const QString certificate = PrivateFile(QStringLiteral("cert.pem"), "-", OwnerOnly);
  QStringList arguments{QStringLiteral("ksef"), QStringLiteral("pobierz")};
  for (const QString &option : c.Options)
    arguments << QString(option).replace(QStringLiteral("%1"), exposed).replace(QStringLiteral("%2"), certificate);

  const TRun run = Run(arguments);

  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_EQ(run.Out, QString());
  EXPECT_EQ(run.Err,
            QStringLiteral("Błąd: Plik „%1” mogą czytać lub zmieniać inni użytkownicy (uprawnienia %2): token KSeF i "
                           "klucz prywatny muszą być dostępne tylko dla właściciela; wykonaj chmod 600 „%1” i spróbuj "
                           "ponownie.\n")
                .arg(exposed, QString::fromLatin1(c.Shown)));
}

INSTANTIATE_TEST_SUITE_P(Files, TKsefCliExposedSecretTest,
                         ::testing::Values(TExposedSecretCase{"tokenFile",
                                                              {QStringLiteral("--token-plik"), QStringLiteral("%1")},
                                                              OwnerOnly | QFile::ReadGroup | QFile::ReadOther,
                                                              "0644"},
                                           TExposedSecretCase{"keyFile",
                                                              {QStringLiteral("--certyfikat"), QStringLiteral("%2"),
                                                               QStringLiteral("--klucz"), QStringLiteral("%1")},
                                                              OwnerOnly | QFile::ReadGroup,
                                                              "0640"},
                                           TExposedSecretCase{"pkcs12File",
                                                              {QStringLiteral("--certyfikat"), QStringLiteral("%1")},
                                                              OwnerOnly | QFile::WriteOther,
                                                              "0602"}),
                         [](const auto &info) { return std::string(info.param.Name); });

struct TCertificateCase {
  const char *Name;
  // The stand-in's files: the certificate, and its PEM key (none for PKCS#12).
  const char *Certificate;
  const char *Key;
  const char *Passphrase;
  // Named in settings.ini ([KSeF] Certyfikat=, Klucz=) instead of on the command line.
  bool InSettings;
};

void PrintTo(const TCertificateCase &c, std::ostream *os) { *os << c.Name; }

class TKsefCliCertificateTest : public TKsefCliTest, public ::testing::WithParamInterface<TCertificateCase> {};

// The XAdES login from the command line: the key, made the owner's alone, with its passphrase from
// PAVENA_KSEF_HASLO (none needed for a key without one, and no terminal asked), and neither the
// passphrase nor any token KSeF issued anywhere after the run.
TEST_P(TKsefCliCertificateTest, LogsInAndDownloadsWithThePassphraseNowhereAfter) {
  const TCertificateCase &c = GetParam();
  const TKsefStandIn server(Nip, {});
  WriteSettings(server);
  QFile source(server.File(QString::fromLatin1(*c.Key ? c.Key : c.Certificate)));
  ASSERT_TRUE(source.open(QIODevice::ReadOnly));
  const QString key = PrivateFile(QStringLiteral("klucz"), source.readAll(), OwnerOnly);
  const QString certificate = *c.Key ? server.File(QString::fromLatin1(c.Certificate)) : key;
  QStringList login;
  if (c.InSettings)
    App.WriteBytes(QStringLiteral("settings.ini"), App.ReadBytes(QStringLiteral("settings.ini")) +
                                                       "Certyfikat=" + certificate.toUtf8() +
                                                       "\r\nKlucz=" + (*c.Key ? key.toUtf8() : QByteArray()) + "\r\n");
  else
    login << QStringLiteral("--certyfikat") << certificate;
  if (!c.InSettings && *c.Key)
    login << QStringLiteral("--klucz") << key;

  const TRun run = Run(QStringList{QStringLiteral("ksef"), QStringLiteral("pobierz"), QStringLiteral("--od"),
                                   QStringLiteral("2026-11-01")} +
                           login,
                       {}, c.Passphrase);

  EXPECT_EQ(run.Err, QString());
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_EQ(run.Out, DownloadedLines(server));
  EXPECT_EQ(server.Count("POST /v2/auth/xades-signature 202"), 1);
  QList<QByteArray> secrets = IssuedTokens(server);
  if (*c.Passphrase)
    secrets << c.Passphrase;
  ExpectNowhere(secrets);
}

INSTANTIATE_TEST_SUITE_P(
    Certificates, TKsefCliCertificateTest,
    ::testing::Values(TCertificateCase{"encryptedPemKey", "signer-ec.crt", "signer-ec.key", "haslo-klucza", false},
                      TCertificateCase{"pemKeyWithoutPassphrase", "signer-rsa.crt", "signer-rsa.key", "", false},
                      TCertificateCase{"pkcs12InSettings", "signer.p12", "", "haslo-p12", true}),
    [](const auto &info) { return std::string(info.param.Name); });

} // namespace
