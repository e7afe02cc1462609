// The payment journal as the transfer commands use it: the warning for a payment already
// made, the record with its archived file, and a journal that cannot be used, which is said
// both for the check of earlier payments and for the record.

#include "CommandTest.h"
#include "SmallDisk.h"
#include "app/commands/TransferJournal.h"
#include "journal/SqliteDatabase.h"
#include "model/Exception.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

namespace {

const QString RealKsefNumber = QStringLiteral("1234563218-20260305-0A1B2C3D4E5F-7E");
const QString ArchiveOfFirstBatch = QStringLiteral("PLIKI_DO_BANKU/archiwum/2026-03-05_140509_0001_Pain001Paczka.xml");

QString NotChecked(const QString &reason) {
  return QStringLiteral("Uwaga: Nie sprawdzono, czy płatności z tego pliku nie ma już w historii (historia.sqlite): ") +
         reason + u'.';
}

QString NotRecorded(const QString &reason) {
  return QStringLiteral("Uwaga: Płatności z tego pliku nie zapisano w historii (historia.sqlite): ") + reason + u'.';
}

QString PaidBefore(const QString &invoiceNumber, const QString &payee, const QString &nip, const QString &archive) {
  return QStringLiteral("Uwaga: Przelew za fakturę %1 dla %2 (NIP odbiorcy %3) jest już w pliku %4 z 2026-03-05 "
                        "14:05:09: sprawdź, czy bank nie zapłaci go drugi raz.")
      .arg(invoiceNumber, payee, nip, archive);
}

QByteArray Invoice(const QString &number, const QByteArray &nip = "8943001230", const QByteArray &systemInfo = {}) {
  QByteArray xml =
      InvoiceXml(QStringLiteral("Dostawca"), QStringLiteral("ul. Polna 3"), QStringLiteral("00-950 Warszawa"), number);
  xml.replace("<NIP>8943001230</NIP>", "<NIP>" + nip + "</NIP>");
  if (!systemInfo.isEmpty())
    xml.replace("<Faktura>\n", "<Faktura>\n  <Naglowek><SystemInfo>" + systemInfo + "</SystemInfo></Naglowek>\n");
  return xml;
}

class TTransferJournalTest : public TCommandTest {
protected:
  // Writes the invoices into a fresh directory and runs the batch over it.
  TTransferResult Batch(const std::vector<std::pair<QString, QByteArray>> &invoices) {
    Directories.push_back(std::make_unique<TTempDir>());
    for (const auto &[name, xml] : invoices)
      Directories.back()->WriteBytes(name, xml);
    Host.LogEntries.clear();
    return Commands.PressBatch(Directories.back()->Path(), TMPPSettings{});
  }

  std::vector<std::unique_ptr<TTempDir>> Directories;
};

struct TRepeatCase {
  const char *Name;
  std::pair<QString, QByteArray> First;
  std::pair<QString, QByteArray> Second;
  QStringList Warnings;
};

void PrintTo(const TRepeatCase &c, std::ostream *os) { *os << c.Name; }

const TRepeatCase RepeatCases[] = {
    {"sameInvoiceAgain",
     {QStringLiteral("a.xml"), Invoice(QStringLiteral("FV/1/2026"))},
     {QStringLiteral("b.xml"), Invoice(QStringLiteral("fv/1/2026 "))},
     {PaidBefore(QStringLiteral("fv/1/2026"), QStringLiteral("Dostawca"), QStringLiteral("8943001230"),
                 ArchiveOfFirstBatch)}},
    {"sameNumberFromAnotherNip",
     {QStringLiteral("a.xml"), Invoice(QStringLiteral("FV/1/2026"))},
     {QStringLiteral("b.xml"), Invoice(QStringLiteral("FV/1/2026"), "1234563218")},
     {}},
    {"sameKsefNumberInTheFileName",
     {RealKsefNumber + QStringLiteral(".xml"), Invoice(QStringLiteral("FV/1/2026"))},
     {RealKsefNumber + QStringLiteral(".xml"), Invoice(QStringLiteral("KOREKTA/1"), "1234563218")},
     {PaidBefore(QStringLiteral("KOREKTA/1"), QStringLiteral("Dostawca"), QStringLiteral("1234563218"),
                 ArchiveOfFirstBatch)}},
    {"sameKsefNumberInSystemInfo",
     {QStringLiteral("a.xml"), Invoice(QStringLiteral("FV/1/2026"), "8943001230", RealKsefNumber.toUtf8())},
     {QStringLiteral("b.xml"), Invoice(QStringLiteral("FV/1/2026/K"), "8943001230", RealKsefNumber.toUtf8())},
     {PaidBefore(QStringLiteral("FV/1/2026/K"), QStringLiteral("Dostawca"), QStringLiteral("8943001230"),
                 ArchiveOfFirstBatch)}},
    {"sameSoftwareNameInSystemInfo",
     {QStringLiteral("a.xml"), Invoice(QStringLiteral("FV/1/2026"), "8943001230", "Fakturownik 2.1")},
     {QStringLiteral("b.xml"), Invoice(QStringLiteral("FV/2/2026"), "8943001230", "Fakturownik 2.1")},
     {}},
};

class TRepeatedPaymentTest : public TTransferJournalTest, public ::testing::WithParamInterface<TRepeatCase> {};

TEST_P(TRepeatedPaymentTest, WarnsOnlyForAPaymentInAnEarlierFileAndStillWritesTheFile) {
  ASSERT_TRUE(Batch({GetParam().First}));
  ASSERT_EQ(Warnings(), QStringList());

  const TTransferResult second = Batch({GetParam().Second});

  EXPECT_TRUE(second.Written);
  EXPECT_EQ(Warnings(), GetParam().Warnings);
  EXPECT_EQ(second.Warnings, GetParam().Warnings.size());
  EXPECT_TRUE(AppFileExists(QStringLiteral("PLIKI_DO_BANKU/archiwum/2026-03-05_140509_0002_Pain001Paczka.xml")));
}

INSTANTIATE_TEST_SUITE_P(Invoices, TRepeatedPaymentTest, ::testing::ValuesIn(RepeatCases),
                         [](const auto &info) { return std::string(info.param.Name); });

TEST_F(TTransferJournalTest, TheSingleInvoiceAgainWarnsNamingTheFirstFile) {
  Directories.push_back(std::make_unique<TTempDir>());
  Directories.back()->WriteBytes(QStringLiteral("f.xml"), Invoice(QStringLiteral("FV/7")));
  const QString invoice = Directories.back()->File(QStringLiteral("f.xml"));
  ASSERT_TRUE(Commands.PressSingle(invoice, QString(), TMPPSettings{}));
  Host.LogEntries.clear();

  ASSERT_TRUE(Commands.PressSingle(invoice, QString(), TMPPSettings{true, TMPPFormat::Ustrd}));

  EXPECT_EQ(Warnings(),
            QStringList{PaidBefore(QStringLiteral("FV/7"), QStringLiteral("Dostawca"), QStringLiteral("8943001230"),
                                   QStringLiteral("PLIKI_DO_BANKU/archiwum/2026-03-05_140509_0001_Pain001.xml"))});
}

TEST_F(TTransferJournalTest, AnInvoiceTwiceInTheBatchIsReportedOnceByEachCheck) {
  ASSERT_TRUE(Batch({{QStringLiteral("a.xml"), Invoice(QStringLiteral("FV/1"))}}));

  ASSERT_TRUE(Batch({{QStringLiteral("a.xml"), Invoice(QStringLiteral("FV/1"))},
                     {QStringLiteral("b.xml"), Invoice(QStringLiteral("FV/1"))}}));

  EXPECT_EQ(
      Warnings(),
      (QStringList{QStringLiteral("Uwaga: Przelew za fakturę FV/1 dla Dostawca: ta sama faktura (ten sam NIP "
                                  "odbiorcy i numer) jest już w pliku jako przelew nr 1: bank zapłaci ją dwa razy."),
                   PaidBefore(QStringLiteral("FV/1"), QStringLiteral("Dostawca"), QStringLiteral("8943001230"),
                              ArchiveOfFirstBatch)}));
}

TEST_F(TTransferJournalTest, AVideoTelFileLoadedAgainWarnsForEachTransfer) {
  const QString imp = QStringLiteral(PAVENA_SOURCE_DIR "/examples/przelewy.imp");
  ASSERT_TRUE(Commands.PressVideoTelWithoutSplitPayment(imp));
  const QStringList first = Warnings();
  Host.LogEntries.clear();

  ASSERT_TRUE(Commands.PressVideoTelWithoutSplitPayment(imp));

  const QStringList again = Warnings().mid(first.size());
  ASSERT_FALSE(again.isEmpty());
  for (const QString &warning : again)
    EXPECT_TRUE(warning.contains(QStringLiteral(" jest już w pliku PLIKI_DO_BANKU/archiwum/"
                                                "2026-03-05_140509_0001_Pain001VideoTel.xml z 2026-03-05 14:05:09")))
        << warning.toStdString();
}

TEST_F(TTransferJournalTest, TheArchiveHoldsTheBytesWrittenAndTheJournalTheirHash) {
  ASSERT_TRUE(Batch({{QStringLiteral("a.xml"), Invoice(QStringLiteral("FV/1"))},
                     {QStringLiteral("b.xml"), Invoice(QStringLiteral("FV/2"), "1234563218")}}));

  const QByteArray written = ReadAppFile(QStringLiteral("PLIKI_DO_BANKU/Pain001Paczka.xml"));
  EXPECT_EQ(ReadAppFile(ArchiveOfFirstBatch), written);
  TSqliteDatabase journal(AppFile(QStringLiteral("historia.sqlite")), false, 0);
  TSqliteStatement file(journal, "SELECT sha256, archive_path, file_name, command, payment_count, payer_iban "
                                 "FROM transfer_file");
  ASSERT_TRUE(file.Next());
  EXPECT_EQ(file.Text(0), QString::fromLatin1(QCryptographicHash::hash(written, QCryptographicHash::Sha256).toHex()));
  EXPECT_EQ(file.Text(1), ArchiveOfFirstBatch);
  EXPECT_EQ(file.Text(2), QStringLiteral("Pain001Paczka.xml"));
  EXPECT_EQ(file.Text(3), QStringLiteral("paczka"));
  EXPECT_EQ(file.Integer(4), 2);
  EXPECT_EQ(file.Text(5), QStringLiteral("PL79114020044000030020135538"));
  TSqliteStatement titles(journal, "SELECT title FROM payment ORDER BY position");
  QStringList recorded;
  while (titles.Next())
    recorded.append(titles.Text(0));
  EXPECT_EQ(recorded, (QStringList{QStringLiteral("Zapłata za fakturę nr: FV/1;  nr KSeF: "),
                                   QStringLiteral("Zapłata za fakturę nr: FV/2;  nr KSeF: ")}));
}

// The title as the file carries it, for each way of writing split payment: the plain text
// where there is one, else the structured block's reference.
TEST_F(TTransferJournalTest, TheJournalKeepsEachTitleAsTheFileCarriesIt) {
  const struct {
    TMPPFormat Format;
    QString Title;
  } cases[] = {
      {TMPPFormat::Ustrd, QStringLiteral("/VAT/23.00/IDC/FV/7/TXT/8943001230")},
      {TMPPFormat::Structured, RealKsefNumber},
      {TMPPFormat::Standard,
       QStringLiteral("/VAT/23,00/IDC/8943001230/INV/") + RealKsefNumber + QStringLiteral("/TXT/FV/7")},
  };
  for (const auto &c : cases) {
    Directories.push_back(std::make_unique<TTempDir>());
    Directories.back()->WriteBytes(QStringLiteral("a.xml"),
                                   Invoice(QStringLiteral("FV/7"), "8943001230", RealKsefNumber.toUtf8()));
    ASSERT_TRUE(Commands.PressBatch(Directories.back()->Path(), TMPPSettings{true, c.Format}));

    TSqliteDatabase journal(AppFile(QStringLiteral("historia.sqlite")), false, 0);
    TSqliteStatement title(journal, "SELECT title FROM payment ORDER BY id DESC LIMIT 1");
    ASSERT_TRUE(title.Next());
    EXPECT_EQ(title.Text(0), c.Title) << int(c.Format);
  }
}

TEST_F(TTransferJournalTest, ACorruptJournalIsReportedLeftAloneAndTheFileStillWritten) {
  const QByteArray garbage = QByteArray("nie baza\n").repeated(500);
  WriteAppFile(QStringLiteral("historia.sqlite"), garbage);

  const TTransferResult result = Batch({{QStringLiteral("a.xml"), Invoice(QStringLiteral("FV/1"))}});

  EXPECT_TRUE(result.Written);
  EXPECT_EQ(result.Warnings, 2);
  const QString corrupt = QStringLiteral("plik jest uszkodzony; zostawiono go bez zmian (file is not a database)");
  EXPECT_EQ(Warnings(), (QStringList{NotChecked(corrupt), NotRecorded(corrupt)}));
  EXPECT_EQ(ReadAppFile(QStringLiteral("historia.sqlite")), garbage);
  EXPECT_TRUE(AppFileExists(QStringLiteral("PLIKI_DO_BANKU/Pain001Paczka.xml")));
  EXPECT_EQ(QDir(AppFile(QStringLiteral("PLIKI_DO_BANKU/archiwum"))).entryList(QDir::Files), QStringList());
}

// Another program holding the journal for itself: the check cannot be made, and says so
// instead of passing for a file without earlier payments.
TEST_F(TTransferJournalTest, ALockedJournalSaysThatThePaymentsWereNotChecked) {
  ASSERT_TRUE(Batch({{QStringLiteral("a.xml"), Invoice(QStringLiteral("FV/1"))}}));
  TSqliteDatabase other(AppFile(QStringLiteral("historia.sqlite")), false, 0);
  other.Execute("PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE");
  TTransferJournal impatient(AppDirectory.Paths(), 0);
  TPayment payment;
  payment.CreditorNIP = QStringLiteral("8943001230");
  payment.InvoiceNumber = QStringLiteral("FV/1");

  EXPECT_EQ(
      impatient.EarlierPayments({payment}),
      QStringList{QStringLiteral("Nie sprawdzono, czy płatności z tego pliku nie ma już w historii "
                                 "(historia.sqlite): plik jest zajęty przez inny program (database is locked).")});
  other.Execute("ROLLBACK");
}

// Under the write lock a failure after the record (the commit at the end, say) takes back the
// record and the archived copy with it: no copy is left that no record names.
TEST_F(TTransferJournalTest, AFailureAfterTheRecordUnderTheLockTakesTheArchivedCopyBack) {
  QDir().mkpath(AppFile(QStringLiteral("PLIKI_DO_BANKU")));
  WriteAppFile(QStringLiteral("PLIKI_DO_BANKU/Pain001Paczka.xml"), "<Document/>");
  TPayment payment;
  payment.CreditorNIP = QStringLiteral("8943001230");
  payment.InvoiceNumber = QStringLiteral("FV/1");
  TTransferJournal journal(AppDirectory.Paths());

  EXPECT_THROW(journal.Exclusively([&] {
    EXPECT_EQ(journal.Record({TJournalCommand::Batch, AppFile(QStringLiteral("PLIKI_DO_BANKU/Pain001Paczka.xml")),
                              Host.Clock, QString(), QStringLiteral("PLN")},
                             {payment}, {QStringLiteral("FV/1")}, {}),
              QStringList());
    EXPECT_TRUE(AppFileExists(ArchiveOfFirstBatch));
    throw Exception(QStringLiteral("brak miejsca na dysku"));
  }),
               Exception);

  EXPECT_FALSE(AppFileExists(ArchiveOfFirstBatch));
  EXPECT_EQ(journal.EarlierPayments({payment}), QStringList());
}

// The data directory on a small disk of its own, its PLIKI_DO_BANKU elsewhere, so that the
// journal meets a fault the transfer file does not.
class TJournalDiskFaultTest : public ::testing::Test {
protected:
  TJournalDiskFaultTest() {
    if (!Disk.Mounted())
      return;
    QFile::link(Output.Path(), Disk.File(QStringLiteral("PLIKI_DO_BANKU")));
    QFile settings(Disk.File(QStringLiteral("settings.ini")));
    if (settings.open(QIODevice::WriteOnly))
      settings.write(PayerSettings);
    Invoices.WriteBytes(QStringLiteral("a.xml"), Invoice(QStringLiteral("FV/1")));
  }

  TTransferResult Transfer() {
    Host.LogEntries.clear();
    return Commands.PressBatch(Invoices.Path(), TMPPSettings{});
  }
  QStringList Warnings() const {
    QStringList texts;
    for (const TLogEntry &entry : Host.LogEntries)
      if (entry.Kind == TLogKind::Warning)
        texts.append(entry.Text);
    return texts;
  }

  TSmallDisk Disk{2 * 1024 * 1024};
  TTempDir Output;
  TTempDir Invoices;
  TFakeHost Host{TAppPaths::InDirectory(Disk.Path())};
  TTransferCommands Commands{Host.Host()};
};

TEST_F(TJournalDiskFaultTest, AReadOnlyDataDirectoryLeavesThePaymentsUnrecorded) {
  if (!Disk.Mounted())
    GTEST_SKIP() << "No file system to make read-only: " << Disk.Problem().toStdString();
  Disk.MakeReadOnly();

  const TTransferResult result = Transfer();

  EXPECT_TRUE(result.Written);
  const QString readOnly =
      QStringLiteral("nie można zapisywać w pliku ani w jego katalogu (unable to open database file)");
  EXPECT_EQ(Warnings(), (QStringList{NotChecked(readOnly), NotRecorded(readOnly)}));
  EXPECT_EQ(result.Warnings, 2);
  EXPECT_TRUE(QFile::exists(Output.File(QStringLiteral("Pain001Paczka.xml"))));
}

// A journal that can no longer be written, holding the invoice paid before: its silence would
// read as "never paid".
TEST_F(TJournalDiskFaultTest, AReadOnlyJournalSaysThatThePaymentsWereNotChecked) {
  if (!Disk.Mounted())
    GTEST_SKIP() << "No file system to make read-only: " << Disk.Problem().toStdString();
  ASSERT_TRUE(Transfer().Written);
  Disk.MakeReadOnly();

  const TTransferResult result = Transfer();

  EXPECT_TRUE(result.Written);
  const QString readOnly =
      QStringLiteral("nie można zapisywać w pliku ani w jego katalogu (unable to open database file)");
  EXPECT_EQ(Warnings(), (QStringList{NotChecked(readOnly), NotRecorded(readOnly)}));
  EXPECT_EQ(result.Warnings, 2);
}

TEST_F(TJournalDiskFaultTest, AFullDiskLeavesThePaymentsUnrecordedAndTheNextRunRecordsAgain) {
  if (!Disk.Mounted())
    GTEST_SKIP() << "No small disk to fill: " << Disk.Problem().toStdString();
  ASSERT_TRUE(Transfer().Written);
  for (int i = 2; i <= 40; ++i)
    Invoices.WriteBytes(QStringLiteral("f%1.xml").arg(i), Invoice(QStringLiteral("FV/%1").arg(i)));
  Disk.Fill();

  const TTransferResult result = Transfer();

  EXPECT_TRUE(result.Written);
  ASSERT_FALSE(Warnings().isEmpty());
  EXPECT_EQ(Warnings().last(), QStringLiteral("Uwaga: Płatności z tego pliku nie zapisano w historii "
                                              "(historia.sqlite): brak miejsca na dysku (database or disk is full)."));
  // Only the first run's copy: the second one, which no record names, is gone.
  EXPECT_EQ(QDir(Output.File(QStringLiteral("archiwum"))).entryList(QDir::Files | QDir::Hidden).size(), 1);

  ASSERT_TRUE(QFile::remove(Disk.File(QStringLiteral("filler"))));
  ASSERT_TRUE(Transfer().Written);
  TSqliteDatabase journal(Disk.File(QStringLiteral("historia.sqlite")), false, 0);
  TSqliteStatement files(journal, "SELECT payment_count FROM transfer_file ORDER BY id");
  QList<qint64> counts;
  while (files.Next())
    counts.append(files.Integer(0));
  EXPECT_EQ(counts, (QList<qint64>{1, 40}));
}

} // namespace
