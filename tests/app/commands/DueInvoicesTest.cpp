#include "CommandTest.h"
#include "app/commands/DueInvoiceCommands.h"
#include "journal/PaymentJournal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

QByteArray DueFixture(const QString &name) {
  QFile file(FixturePath(QStringLiteral("due/") + name));
  if (!file.open(QIODevice::ReadOnly))
    throw std::runtime_error("Missing fixture " + name.toStdString());
  return file.readAll();
}

QString KsefNumber(int serial) {
  static const char *const checks[] = {"44", "4D", "4A", "5F", "58", "51", "56", "7B", "7C", "56", "51", "58"};
  return QStringLiteral("8943001230-20260302-%1-%2")
      .arg(QString::number(serial).rightJustified(12, u'0'), QLatin1StringView(checks[serial - 1]));
}

// The downloads of FAKTURY_KSEF, as the list reads them.
class TDueInvoicesTest : public TCommandTest {
protected:
  void Download(const QString &fixture) const {
    QDir().mkpath(AppFile(QStringLiteral("FAKTURY_KSEF")));
    WriteAppFile(QStringLiteral("FAKTURY_KSEF/") + fixture, DueFixture(fixture));
  }
  std::vector<TDueInvoice> List() {
    TDueInvoiceFiles source(Host.Host().Paths);
    return ReadDueInvoices(Host.Host().Paths, source, Host.Clock);
  }
  TDueInvoice Only() {
    const std::vector<TDueInvoice> listed = List();
    EXPECT_EQ(listed.size(), 1u);
    return listed.empty() ? TDueInvoice() : listed.front();
  }
};

struct TDueCase {
  const char *Fixture;
  const char *DueDate;
  std::int64_t ToPayUnits;
  const char *Status;
};

// Each reason a transfer cannot pay an invoice, and what is to pay of the others.
TEST_F(TDueInvoicesTest, EachInvoiceWithItsDueDateAmountToPayAndStatus) {
  const TDueCase cases[] = {
      {"dwa-terminy.xml", "2026-03-31", 12300000, "do zapłaty"},
      {"termin-opisem.xml", "brak terminu", 12300000, "do zapłaty"},
      {"czesciowo-reszta.xml", "2026-03-16", 10000100, "do zapłaty"},
      {"zaplacona.xml", "brak terminu", 0, "nie do przelewu: zapłacona według faktury"},
      {"czesciowo-calosc.xml", "brak terminu", 0, "nie do przelewu: zapłacona według faktury (zapłaty częściowe)"},
      // Mark 2: paid whole in parts, whatever parts the invoice lists.
      {"czesciowo-znacznik-2.xml", "brak terminu", 0,
       "nie do przelewu: zapłacona według faktury (w całości, w częściach)"},
      // Parts that cover the gross amount settle it without any mark.
      {"czesciowo-bez-znacznika.xml", "brak terminu", 0,
       "nie do przelewu: zapłacona według faktury (zapłaty częściowe)"},
      {"bez-rachunku.xml", "2026-03-16", 12300000, "nie do przelewu: brak rachunku bankowego w fakturze"},
      {"korekta-na-minus.xml", "2026-03-16", -1230000, "nie do przelewu: korekta do zera lub na minus"},
      {"w-euro.xml", "2026-03-16", 12300000, "nie do przelewu: waluta EUR, a plik przelewów płaci tylko w PLN"},
  };
  for (const TDueCase &test : cases) {
    SCOPED_TRACE(test.Fixture);
    QDir(AppFile(QStringLiteral("FAKTURY_KSEF"))).removeRecursively();
    Download(QString::fromLatin1(test.Fixture));
    const TDueInvoice invoice = Only();
    EXPECT_EQ(DueDateText(invoice), QString::fromLatin1(test.DueDate));
    EXPECT_EQ(invoice.ToPay, TAmount::FromUnits(test.ToPayUnits));
    EXPECT_EQ(DueStatusText(invoice), QString::fromUtf8(test.Status));
    EXPECT_EQ(invoice.Payment.CreditorName, QStringLiteral("Papiernia Zielony Dąb sp. z o.o."));
    EXPECT_EQ(invoice.Payment.InvoiceDate.date(), QDate(2026, 3, 2));
  }
}

// The journal's production downloads are the list's first source: a recorded invoice is listed
// once, beside it in FAKTURY_KSEF or not, and one whose file is gone is listed saying so.
TEST_F(TDueInvoicesTest, TheJournalsDownloadsListedOnceAndAGoneFileSaidSo) {
  Download(QStringLiteral("dwa-terminy.xml"));
  {
    TPaymentJournal journal(AppFile(QStringLiteral("historia.sqlite")));
    // A download of KSeF's shared test environment is no invoice to pay.
    for (const auto &[environment, file] : {std::pair{"produkcyjne", "FAKTURY_KSEF/dwa-terminy.xml"},
                                            std::pair{"produkcyjne", "FAKTURY_KSEF/usunieta.xml"},
                                            std::pair{"testowe", "FAKTURY_KSEF_testowe/obca.xml"}}) {
      TKsefInvoiceRecord record;
      record.Environment = QString::fromLatin1(environment);
      record.KsefNumber = QString::fromLatin1(file);
      record.FilePath = QString::fromLatin1(file);
      record.DownloadedAt = Host.Clock;
      ASSERT_TRUE(journal.RecordKsefInvoice(record));
    }
  }
  const std::vector<TDueInvoice> listed = List();
  ASSERT_EQ(listed.size(), 2u);
  EXPECT_EQ(listed[0].FileName, AppFile(QStringLiteral("FAKTURY_KSEF/usunieta.xml")));
  EXPECT_EQ(listed[0].Status, TDueStatus::NotPayable);
  EXPECT_TRUE(listed[0].Reason.contains(QStringLiteral("usunieta.xml"))) << listed[0].Reason.toStdString();
  EXPECT_EQ(DueStatusText(listed[1]), QStringLiteral("do zapłaty"));
}

// The filter's day is a calendar day: the last of a month, of February in a leap year, and an
// invoice without a due date, which is due at once.
TEST(DueFilter, DueUpToADayAcrossMonthEnds) {
  const struct {
    QDate Due;
    QDate UpTo;
    bool Shown;
  } cases[] = {
      {QDate(2026, 3, 31), QDate(2026, 3, 30), false},
      {QDate(2026, 3, 31), QDate(2026, 3, 31), true},
      {QDate(2026, 3, 31), QDate(2026, 4, 1), true},
      {QDate(2028, 2, 29), QDate(2028, 2, 28), false},
      {QDate(2028, 2, 29), QDate(2028, 2, 29), true},
      {QDate(2026, 12, 31), QDate(2027, 1, 1), true},
      {QDate(), QDate(2026, 1, 1), true},
  };
  for (const auto &test : cases) {
    SCOPED_TRACE(test.Due.toString(Qt::ISODate).toStdString() + " " + test.UpTo.toString(Qt::ISODate).toStdString());
    TDueInvoice invoice;
    if (test.Due.isValid())
      invoice.Due.DueDate = test.Due;
    EXPECT_EQ(DueFilterPasses(TDueFilter{test.UpTo, std::nullopt, {}, {}}, invoice), test.Shown);
  }
}

// KSeF's test environments are shared: anyone may issue invoices there to the payer's NIP, so
// what was downloaded from them is never a debt to pay.
TEST_F(TDueInvoicesTest, OnlyTheProductionEnvironmentsDownloadsAreListed) {
  for (const QString &folder : {QStringLiteral("FAKTURY_KSEF_testowe"), QStringLiteral("FAKTURY_KSEF_demo")}) {
    QDir().mkpath(AppFile(folder));
    WriteAppFile(folder + QStringLiteral("/dwa-terminy.xml"), DueFixture(QStringLiteral("dwa-terminy.xml")));
  }
  EXPECT_TRUE(List().empty());
  Download(QStringLiteral("termin-opisem.xml"));
  EXPECT_EQ(QFileInfo(Only().FileName).fileName(), QStringLiteral("termin-opisem.xml"));
}

// Overdue from the first moment of the next day, whatever the time of the clock.
TEST_F(TDueInvoicesTest, OverdueFromMidnightOfTheDayAfter) {
  Download(QStringLiteral("dwa-terminy.xml"));
  Host.Clock = QDateTime(QDate(2026, 3, 31), QTime(23, 59, 59));
  EXPECT_FALSE(IsOverdue(Only(), Host.Clock.date()));
  Host.Clock = QDateTime(QDate(2026, 4, 1), QTime(0, 0));
  EXPECT_TRUE(IsOverdue(Only(), Host.Clock.date()));
}

TEST_F(TDueInvoicesTest, MarkedPaidOutsideWithItsNoteUntilTheMarkIsUndone) {
  Download(QStringLiteral("dwa-terminy.xml"));
  EXPECT_EQ(MarkPaidOutside(Host.Host().Paths, KsefNumber(1), QStringLiteral(" kartą firmową "), Host.Clock),
            QStringLiteral("Fakturę KSeF 8943001230-20260302-000000000001-44 oznaczono jako zapłaconą poza programem "
                           "(2026-03-05)."));
  EXPECT_EQ(DueStatusText(Only()), QStringLiteral("zapłacona poza programem 2026-03-05: kartą firmową"));

  EXPECT_EQ(UndoPaidOutside(Host.Host().Paths, KsefNumber(1)),
            QStringLiteral("Cofnięto oznaczenie faktury KSeF 8943001230-20260302-000000000001-44 jako zapłaconej poza "
                           "programem."));
  EXPECT_EQ(DueStatusText(Only()), QStringLiteral("do zapłaty"));
  EXPECT_THROW_MESSAGE(UndoPaidOutside(Host.Host().Paths, KsefNumber(1)),
                       QStringLiteral("Faktura KSeF 8943001230-20260302-000000000001-44 nie jest oznaczona jako "
                                      "zapłacona poza programem."));
  EXPECT_THROW_MESSAGE(MarkPaidOutside(Host.Host().Paths, QStringLiteral("FV/1"), {}, Host.Clock),
                       QStringLiteral("„FV/1” nie jest numerem KSeF."));
}

// The file pays what is left of each invoice to pay, leaves the others out saying why, and the
// list then shows the invoices in it.
TEST_F(TDueInvoicesTest, TheFileOfTheChosenInvoicesAndTheirStatusAfterwards) {
  Download(QStringLiteral("czesciowo-reszta.xml"));
  Download(QStringLiteral("w-euro.xml"));
  ASSERT_TRUE(CreateDueTransfer(Host.Host(), List(), TMPPSettings{}));

  const QString batchFile = AppFile(QStringLiteral("PLIKI_DO_BANKU/Pain001Paczka.xml"));
  EXPECT_EQ(Log().first(), QStringLiteral("Poprawnie wygenerowano plik [") + batchFile +
                               QStringLiteral("] dla potrzeb przelewu, dla paczki faktur ...|separator"));
  EXPECT_EQ(Log().last(), QStringLiteral("Uwaga: Pominięto: faktura FV/8 (KSeF %1), nie do przelewu: waluta EUR, a "
                                         "plik przelewów płaci tylko w PLN.")
                              .arg(KsefNumber(8)));
  EXPECT_TRUE(IsValidPain001(batchFile));
  EXPECT_TRUE(ReadAppFile(QStringLiteral("PLIKI_DO_BANKU/Pain001Paczka.xml"))
                  .contains("<InstdAmt Ccy=\"PLN\">1000.01</InstdAmt>"));

  const std::vector<TDueInvoice> after = List();
  ASSERT_EQ(after.size(), 2u);
  EXPECT_EQ(after[0].Status, TDueStatus::InFile);
  EXPECT_TRUE(DueStatusText(after[0]).startsWith(QStringLiteral("w pliku PLIKI_DO_BANKU/archiwum/")));
  EXPECT_TRUE(DueStatusText(after[0]).endsWith(QStringLiteral(" 2026-03-05")));
}

// An invoice paid whole in parts is left out of the file as one paid by Zaplacono is.
TEST_F(TDueInvoicesTest, AnInvoicePaidWholeInPartsIsLeftOutOfTheFile) {
  Download(QStringLiteral("dwa-terminy.xml"));
  Download(QStringLiteral("czesciowo-znacznik-2.xml"));
  ASSERT_TRUE(CreateDueTransfer(Host.Host(), List(), TMPPSettings{}));
  EXPECT_EQ(Log().last(), QStringLiteral("Uwaga: Pominięto: faktura FV/9 (KSeF %1), nie do przelewu: zapłacona według "
                                         "faktury (w całości, w częściach).")
                              .arg(KsefNumber(9)));
  const QByteArray file = ReadAppFile(QStringLiteral("PLIKI_DO_BANKU/Pain001Paczka.xml"));
  EXPECT_TRUE(file.contains("FV/1"));
  EXPECT_FALSE(file.contains("FV/9"));
}

// Another window or run wrote the file first, after this list was read: the journal's check
// under its lock finds it, and nothing of the chosen invoices is written again.
TEST_F(TDueInvoicesTest, AListReadBeforeAnotherRunWroteItsFileWritesNothing) {
  Download(QStringLiteral("dwa-terminy.xml"));
  Download(QStringLiteral("czesciowo-reszta.xml"));
  const std::vector<TDueInvoice> stale = List();
  ASSERT_TRUE(CreateDueTransfer(Host.Host(), {stale[1]}, TMPPSettings{}));
  const QByteArray first = ReadAppFile(QStringLiteral("PLIKI_DO_BANKU/Pain001Paczka.xml"));
  const std::vector<TDueInvoice> paid = List();
  ASSERT_TRUE(paid[1].Earlier);
  const QString archived = paid[1].Earlier->ArchivePath;
  Host.LogEntries.clear();

  EXPECT_FALSE(CreateDueTransfer(Host.Host(), stale, TMPPSettings{}));
  EXPECT_EQ(Log(), QStringList{QStringLiteral("Błąd: Nie zapisano pliku przelewów, żeby nic nie zostało zapłacone "
                                              "drugi raz: faktura FV/1 (NIP 8943001230) jest już w pliku %1 z "
                                              "2026-03-05 14:05:09.")
                                   .arg(archived)});
  EXPECT_EQ(ReadAppFile(QStringLiteral("PLIKI_DO_BANKU/Pain001Paczka.xml")), first);
  EXPECT_EQ(QDir(AppFile(QStringLiteral("PLIKI_DO_BANKU/archiwum"))).entryList(QDir::Files).size(), 1);
  EXPECT_EQ(List()[0].Status, TDueStatus::ToPay);
}

// The same invoice downloaded and copied by hand into a folder added to the list, under another
// name: listed once, as the download.
TEST_F(TDueInvoicesTest, AnInvoiceInTwoFoldersIsListedOnce) {
  Download(QStringLiteral("dwa-terminy.xml"));
  QTemporaryDir added;
  QFile copy(QDir(added.path()).filePath(QStringLiteral("kopia-faktury.xml")));
  ASSERT_TRUE(copy.open(QIODevice::WriteOnly));
  copy.write(DueFixture(QStringLiteral("dwa-terminy.xml")));
  copy.close();
  TDueInvoiceFiles source(Host.Host().Paths);
  source.AddFolder(added.path());

  const std::vector<TDueInvoice> listed = ReadDueInvoices(Host.Host().Paths, source, Host.Clock);
  ASSERT_EQ(listed.size(), 1u);
  EXPECT_EQ(listed[0].FileName, AppFile(QStringLiteral("FAKTURY_KSEF/dwa-terminy.xml")));
}

// A number given twice chooses its invoice once.
TEST_F(TDueInvoicesTest, ANumberGivenTwiceChoosesItsInvoiceOnce) {
  Download(QStringLiteral("dwa-terminy.xml"));
  QStringList unknown;
  const std::vector<TDueInvoice> chosen =
      ChooseDueInvoices(List(), {KsefNumber(1), QStringLiteral(" ") + KsefNumber(1)}, std::nullopt, unknown);
  EXPECT_EQ(chosen.size(), 1u);
  EXPECT_TRUE(unknown.isEmpty());
}

// Under the journal's lock the file is refused for an invoice chosen twice (rows of a list read
// twice) and for one another window marked as paid outside after the list was read.
TEST_F(TDueInvoicesTest, AnInvoiceChosenTwiceOrMarkedMeanwhileWritesNothing) {
  Download(QStringLiteral("dwa-terminy.xml"));
  Download(QStringLiteral("czesciowo-reszta.xml"));
  const std::vector<TDueInvoice> listed = List();
  MarkPaidOutside(Host.Host().Paths, KsefNumber(4), {}, Host.Clock);

  EXPECT_FALSE(CreateDueTransfer(Host.Host(), {listed[0], listed[1], listed[1]}, TMPPSettings{}));
  EXPECT_EQ(Log(), QStringList{QStringLiteral("Błąd: Nie zapisano pliku przelewów, żeby nic nie zostało zapłacone "
                                              "drugi raz: faktura FV/4 (NIP 8943001230) jest oznaczona jako zapłacona "
                                              "poza programem 2026-03-05; faktura FV/1 (NIP 8943001230) jest wybrana "
                                              "więcej niż raz.")});
  EXPECT_FALSE(AppFileExists(QStringLiteral("PLIKI_DO_BANKU/Pain001Paczka.xml")));
}

// The journal cannot record the file (here its archive copy cannot be written): a file it does
// not know of would be paid again by the next run, so it is taken back and the invoice stays to pay.
TEST_F(TDueInvoicesTest, AFileTheJournalCannotRecordIsTakenBack) {
  Download(QStringLiteral("dwa-terminy.xml"));
  QDir().mkpath(AppFile(QStringLiteral("PLIKI_DO_BANKU")));
  WriteAppFile(QStringLiteral("PLIKI_DO_BANKU/archiwum"), "no folder");

  const TTransferResult result = CreateDueTransfer(Host.Host(), List(), TMPPSettings{});

  EXPECT_FALSE(result.Written);
  EXPECT_EQ(Log(), QStringList{QStringLiteral("Błąd: Nie zapisano pliku przelewów, bo nie udało się zapisać go w "
                                              "historii (historia.sqlite): Unable to write to %1. Faktury pozostają "
                                              "do zapłaty.")
                                   .arg(AppFile(QStringLiteral("PLIKI_DO_BANKU/archiwum")))});
  EXPECT_FALSE(AppFileExists(QStringLiteral("PLIKI_DO_BANKU/Pain001Paczka.xml")));
  EXPECT_EQ(Only().Status, TDueStatus::ToPay);
}

// What is left of a partly paid invoice carries at most that much VAT in a split payment, and
// the list and the file say so.
TEST_F(TDueInvoicesTest, TheVatOfWhatIsLeftIsCutToTheAmountLeft) {
  Download(QStringLiteral("czesciowo-vat.xml"));
  const TDueInvoice invoice = Only();
  EXPECT_EQ(invoice.Payment.Amount, TAmount::FromUnits(1300000));
  EXPECT_EQ(invoice.Payment.VATAmount, TAmount::FromUnits(1300000));
  const QString warning = QStringLiteral("faktura FV/11 (KSeF %1): w przelewie MPP kwota VAT to 130,00, a nie 230,00 "
                                         "z faktury, bo do zapłaty zostało tylko 130,00; sprawdź, ile VAT przypada "
                                         "na tę część.")
                              .arg(KsefNumber(11));
  EXPECT_EQ(DueWarnings({&invoice}), QStringList{warning});

  const TTransferResult result = CreateDueTransfer(Host.Host(), {invoice}, TMPPSettings{true, TMPPFormat::Standard});
  ASSERT_TRUE(result.Written);
  EXPECT_EQ(Log().last(), QStringLiteral("Uwaga: ") + warning);
  EXPECT_EQ(result.Warnings, 1);
  EXPECT_TRUE(ReadAppFile(QStringLiteral("PLIKI_DO_BANKU/Pain001Paczka_MPP.xml")).contains("/VAT/130,00/"));
}

// An advance invoice stays to pay, with a word that it usually records an advance paid already.
TEST_F(TDueInvoicesTest, AnAdvanceInvoiceIsListedWithAWarning) {
  Download(QStringLiteral("zaliczkowa.xml"));
  const TDueInvoice invoice = Only();
  EXPECT_EQ(DueStatusText(invoice), QStringLiteral("do zapłaty"));
  EXPECT_EQ(DueWarnings({&invoice}),
            QStringList{QStringLiteral("faktura FV/12 (KSeF %1): to faktura zaliczkowa, która zwykle dokumentuje "
                                       "zaliczkę już zapłaconą; sprawdź, czy jest jeszcze coś do zapłaty.")
                            .arg(KsefNumber(12))});
}

} // namespace
