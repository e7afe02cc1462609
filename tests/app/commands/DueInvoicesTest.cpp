#include "CommandTest.h"
#include "app/commands/DueInvoiceCommands.h"
#include "journal/PaymentJournal.h"

#include <QDir>
#include <QFile>

namespace {

QByteArray DueFixture(const QString &name) {
  QFile file(FixturePath(QStringLiteral("due/") + name));
  if (!file.open(QIODevice::ReadOnly))
    throw std::runtime_error("Missing fixture " + name.toStdString());
  return file.readAll();
}

QString KsefNumber(int serial) {
  static const char *const checks[] = {"44", "4D", "4A", "5F", "58", "51", "56", "7B"};
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

// The journal's downloads are the list's first source: a recorded invoice is listed once,
// beside it in FAKTURY_KSEF or not, and one whose file is gone is listed saying so.
TEST_F(TDueInvoicesTest, TheJournalsDownloadsListedOnceAndAGoneFileSaidSo) {
  Download(QStringLiteral("dwa-terminy.xml"));
  {
    TPaymentJournal journal(AppFile(QStringLiteral("historia.sqlite")));
    for (const char *file : {"FAKTURY_KSEF/dwa-terminy.xml", "FAKTURY_KSEF/usunieta.xml"}) {
      TKsefInvoiceRecord record;
      record.Environment = QStringLiteral("testowe");
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

} // namespace
