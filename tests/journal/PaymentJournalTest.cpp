#include "JournalKinds.h"
#include "JournalTestData.h"
#include "TestSupport.h"
#include "journal/PaymentJournal.h"
#include "journal/SqliteDatabase.h"
#include "model/Exception.h"

#include <future>
#include <gtest/gtest.h>
#include <thread>

namespace {

const QDateTime March5(QDate(2026, 3, 5), QTime(14, 5, 9));
const QDateTime March9(QDate(2026, 3, 9), QTime(8, 0, 0));

class TPaymentJournalTest : public ::testing::Test {
protected:
  QString JournalFile() const { return Dir.File(QStringLiteral("historia.sqlite")); }

  std::vector<THistoryEntry> List(const THistoryFilter &filter) {
    std::vector<THistoryEntry> entries;
    Journal.ForEach(filter, [&](const THistoryEntry &entry) { entries.push_back(entry); });
    return entries;
  }

  TTempDir Dir;
  TPaymentJournal Journal{JournalFile()};
};

// The journal's behaviour, the same in historia.sqlite and in a PostgreSQL database.
class TJournalTestBase : public ::testing::Test {
protected:
  explicit TJournalTestBase(TJournalKind kind) : Place(kind), Opened(Place.Open()), Journal(*Opened) {}

  std::vector<THistoryEntry> List(const THistoryFilter &filter) {
    std::vector<THistoryEntry> entries;
    Journal.ForEach(filter, [&](const THistoryEntry &entry) { entries.push_back(entry); });
    return entries;
  }

  TTestJournalPlace Place;
  std::unique_ptr<IPaymentJournal> Opened;
  IPaymentJournal &Journal;
};

class TJournalTest : public TJournalTestBase, public ::testing::WithParamInterface<TJournalKind> {
protected:
  TJournalTest() : TJournalTestBase(GetParam()) {}
};

INSTANTIATE_TEST_SUITE_P(Kinds, TJournalTest, ::testing::ValuesIn(JournalKinds),
                         [](const auto &info) { return KindName(info.param); });

// The layout as another connection sees it.
qint64 PragmaOf(const QString &fileName, const char *pragma) {
  TSqliteDatabase database(fileName, false, 0);
  TSqliteStatement read(database, pragma);
  read.Next();
  return read.Integer(0);
}

TEST_F(TPaymentJournalTest, IsMadeWithTheCurrentLayoutInWalMode) {
  EXPECT_EQ(PragmaOf(JournalFile(), "PRAGMA user_version"), TPaymentJournal::SchemaVersion());
  TSqliteDatabase database(JournalFile(), false, 0);
  TSqliteStatement mode(database, "PRAGMA journal_mode");
  ASSERT_TRUE(mode.Next());
  EXPECT_EQ(mode.Text(0), QStringLiteral("wal"));
}

TEST_F(TPaymentJournalTest, AJournalOfANewerProgramIsRefusedAndLeftAlone) {
  {
    TSqliteDatabase database(JournalFile(), false, 0);
    database.Execute("PRAGMA user_version=99");
  }
  EXPECT_THROW_MESSAGE(TPaymentJournal{JournalFile()},
                       QStringLiteral("plik pochodzi z nowszej wersji programu (wersja układu 99)"));
  EXPECT_EQ(PragmaOf(JournalFile(), "PRAGMA user_version"), 99);
}

TEST_F(TPaymentJournalTest, ACorruptFileIsReportedAndNeverWrittenOver) {
  const QByteArray garbage = QByteArray("to nie jest baza danych\n").repeated(200);
  Dir.WriteBytes(QStringLiteral("zepsuta.sqlite"), garbage);

  EXPECT_THROW_MESSAGE(TPaymentJournal{Dir.File(QStringLiteral("zepsuta.sqlite"))},
                       QStringLiteral("plik jest uszkodzony; zostawiono go bez zmian (file is not a database)"));
  EXPECT_EQ(Dir.ReadBytes(QStringLiteral("zepsuta.sqlite")), garbage);
}

TEST_F(TPaymentJournalTest, AWriterWaitsNoLongerThanTheBusyTimeout) {
  TSqliteDatabase other(JournalFile(), false, 0);
  other.Execute("BEGIN IMMEDIATE");
  TPaymentJournal impatient(JournalFile(), 0);

  EXPECT_THROW_MESSAGE(impatient.Record(WrittenFile(QStringLiteral("a.xml"), March5),
                                        {InvoicePayment(QStringLiteral("1234563218"), QStringLiteral("FV/1"))}),
                       QStringLiteral("plik jest zajęty przez inny program (database is locked)"));
  other.Execute("ROLLBACK");
  EXPECT_TRUE(List({}).empty());
}

struct TMatchCase {
  const char *Name;
  TJournalPayment Earlier;
  TJournalPayment Now;
  bool Found;
};

void PrintTo(const TMatchCase &c, std::ostream *os) { *os << c.Name; }

TJournalPayment WithKsefNumber(TJournalPayment payment, const QString &number) {
  payment.KsefNumber = number;
  return payment;
}

const QString Nip = QStringLiteral("1234563218");
const QString OtherNip = QStringLiteral("7251904369");

const TMatchCase MatchCases[] = {
    {"sameNipAndNumber", InvoicePayment(Nip, QStringLiteral("FV/1/2026")),
     InvoicePayment(Nip, QStringLiteral("FV/1/2026")), true},
    {"caseAndBlanksIgnored", InvoicePayment(Nip, QStringLiteral("fv/1/2026")),
     InvoicePayment(QStringLiteral(" ") + Nip, QStringLiteral("  FV/1/2026\t")), true},
    {"sameNumberOtherNip", InvoicePayment(Nip, QStringLiteral("FV/1/2026")),
     InvoicePayment(OtherNip, QStringLiteral("FV/1/2026")), false},
    {"otherNumber", InvoicePayment(Nip, QStringLiteral("FV/1/2026")), InvoicePayment(Nip, QStringLiteral("FV/2/2026")),
     false},
    {"noNipMatchesNothing", InvoicePayment(QString(), QStringLiteral("FV/1/2026")),
     InvoicePayment(QString(), QStringLiteral("FV/1/2026")), false},
    {"sameKsefNumberOtherInvoiceNumber",
     WithKsefNumber(InvoicePayment(Nip, QStringLiteral("FV/1/2026")), RealKsefNumber),
     WithKsefNumber(InvoicePayment(OtherNip, QStringLiteral("KOREKTA 1")), RealKsefNumber), true},
    {"olderFormOfKsefNumberMatchesNothing",
     WithKsefNumber(InvoicePayment(Nip, QStringLiteral("FV/1")),
                    QStringLiteral("1234563218-20230305-0A1B2C-3D4E5F-7E")),
     WithKsefNumber(InvoicePayment(OtherNip, QStringLiteral("FV/2")),
                    QStringLiteral("1234563218-20230305-0A1B2C-3D4E5F-7E")),
     false},
    {"videoTelSameAccountAmountTitle",
     VideoTelPayment(QStringLiteral("PL61109010140000071219812874"), TAmount::FromUnits(500000),
                     QStringLiteral("Czynsz 03")),
     VideoTelPayment(QStringLiteral("PL61 1090 1014 0000 0712 1981 2874"), TAmount::FromUnits(500000),
                     QStringLiteral("czynsz 03")),
     true},
    {"videoTelOtherAmount",
     VideoTelPayment(QStringLiteral("PL61109010140000071219812874"), TAmount::FromUnits(500000),
                     QStringLiteral("Czynsz 03")),
     VideoTelPayment(QStringLiteral("PL61109010140000071219812874"), TAmount::FromUnits(500100),
                     QStringLiteral("Czynsz 03")),
     false},
    {"videoTelOtherTitle",
     VideoTelPayment(QStringLiteral("PL61109010140000071219812874"), TAmount::FromUnits(500000),
                     QStringLiteral("Czynsz 03")),
     VideoTelPayment(QStringLiteral("PL61109010140000071219812874"), TAmount::FromUnits(500000),
                     QStringLiteral("Czynsz 04")),
     false},
};

class TFindEarlierTest : public TJournalTestBase,
                         public ::testing::WithParamInterface<std::tuple<TJournalKind, TMatchCase>> {
protected:
  TFindEarlierTest() : TJournalTestBase(std::get<0>(GetParam())) {}
};

TEST_P(TFindEarlierTest, NamesTheLatestEarlierFileOfTheSamePayment) {
  const TMatchCase &c = std::get<1>(GetParam());
  Journal.Record(WrittenFile(QStringLiteral("pierwszy.xml"), March5), {c.Earlier});
  Journal.Record(WrittenFile(QStringLiteral("drugi.xml"), March9), {c.Earlier});

  const std::optional<TEarlierPayment> earlier = Journal.FindEarlier(c.Now);

  ASSERT_EQ(earlier.has_value(), c.Found);
  if (c.Found) {
    EXPECT_EQ(earlier->ArchivePath, QStringLiteral("PLIKI_DO_BANKU/archiwum/drugi.xml"));
    EXPECT_EQ(earlier->WrittenAt, March9);
  }
}

INSTANTIATE_TEST_SUITE_P(Payments, TFindEarlierTest,
                         ::testing::Combine(::testing::ValuesIn(JournalKinds), ::testing::ValuesIn(MatchCases)),
                         [](const auto &info) {
                           return KindName(std::get<0>(info.param)) + '_' + std::get<1>(info.param).Name;
                         });

TEST_P(TJournalTest, LooksUpEachOfManyPaymentsOnItsOwn) {
  Journal.Record(WrittenFile(QStringLiteral("pierwszy.xml"), March5), {InvoicePayment(Nip, QStringLiteral("FV/1"))});
  Journal.Record(WrittenFile(QStringLiteral("drugi.xml"), March9), {InvoicePayment(Nip, QStringLiteral("FV/2"))});

  const std::vector<std::optional<TEarlierPayment>> earlier = Journal.FindEarlier(
      std::vector{InvoicePayment(Nip, QStringLiteral("FV/2")), InvoicePayment(Nip, QStringLiteral("FV/3")),
                  InvoicePayment(QString(), QStringLiteral("FV/1")), InvoicePayment(Nip, QStringLiteral("FV/1"))});

  QStringList files;
  for (const std::optional<TEarlierPayment> &found : earlier)
    files.append(found ? found->ArchivePath : QStringLiteral("-"));
  EXPECT_EQ(files, (QStringList{QStringLiteral("PLIKI_DO_BANKU/archiwum/drugi.xml"), QStringLiteral("-"),
                                QStringLiteral("-"), QStringLiteral("PLIKI_DO_BANKU/archiwum/pierwszy.xml")}));
}

TEST_F(TPaymentJournalTest, RecordsTheFileItsSumsPerCurrencyAndEveryPayment) {
  TJournalPayment inEuro = InvoicePayment(OtherNip, QStringLiteral("INV-7"), TAmount::FromUnits(100000));
  inEuro.Currency = QStringLiteral("EUR");
  TJournalPayment split = WithKsefNumber(InvoicePayment(Nip, QStringLiteral("FV/1")), RealKsefNumber);
  split.SplitPayment = true;
  split.VATAmount = TAmount::FromUnits(230000);
  Journal.Record(WrittenFile(QStringLiteral("a.xml"), March5),
                 {split, InvoicePayment(Nip, QStringLiteral("FV/2"), TAmount::FromUnits(10000)), inEuro});

  TSqliteDatabase database(JournalFile(), false, 0);
  TSqliteStatement sums(database, "SELECT currency, amount FROM transfer_sum ORDER BY currency");
  QStringList sumTexts;
  while (sums.Next())
    sumTexts.append(sums.Text(0) + u' ' + QString::number(sums.Integer(1)));
  EXPECT_EQ(sumTexts, (QStringList{QStringLiteral("EUR 100000"), QStringLiteral("PLN 1244500")}));
  TSqliteStatement first(database, "SELECT payment_count, ksef_number, split_payment, vat_amount, whitelist_result, "
                                   "title FROM transfer_file JOIN payment ON file_id = transfer_file.id "
                                   "WHERE position = 1");
  ASSERT_TRUE(first.Next());
  EXPECT_EQ(first.Integer(0), 3);
  EXPECT_EQ(first.Text(1), RealKsefNumber);
  EXPECT_EQ(first.Integer(2), 1);
  EXPECT_EQ(first.Integer(3), 230000);
  EXPECT_TRUE(first.IsNull(4));
  EXPECT_EQ(first.Text(5), QStringLiteral("Zapłata za fakturę nr: FV/1"));
}

TEST_P(TJournalTest, TextsOfInvoicesAreStoredAsTheyAreNeverAsSql) {
  const QString hostile = QStringLiteral("FV'); DROP TABLE payment; --");
  Journal.Record(WrittenFile(QStringLiteral("a.xml"), March5), {InvoicePayment(Nip, hostile)});

  const std::vector<THistoryEntry> entries = List({});
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].InvoiceNumber, hostile);
  EXPECT_TRUE(Journal.FindEarlier(InvoicePayment(Nip, hostile)).has_value());
}

TEST_P(TJournalTest, ListsNewestFirstWithinTheDaysAndSearchIgnoringCase) {
  TJournalPayment fromLodz = InvoicePayment(Nip, QStringLiteral("FV/1"));
  fromLodz.PayeeName = QStringLiteral("ŁÓDZKA HURTOWNIA");
  Journal.Record(WrittenFile(QStringLiteral("a.xml"), March5), {fromLodz});
  Journal.Record(WrittenFile(QStringLiteral("b.xml"), March9),
                 {InvoicePayment(OtherNip, QStringLiteral("FV/2")),
                  WithKsefNumber(InvoicePayment(OtherNip, QStringLiteral("FV/3")), RealKsefNumber)});

  auto invoices = [&](const THistoryFilter &filter) {
    QStringList numbers;
    for (const THistoryEntry &entry : List(filter))
      numbers.append(entry.InvoiceNumber);
    return numbers;
  };
  EXPECT_EQ(invoices({}), (QStringList{QStringLiteral("FV/3"), QStringLiteral("FV/2"), QStringLiteral("FV/1")}));
  EXPECT_EQ(invoices({QDate(2026, 3, 5), QDate(2026, 3, 5), {}}), QStringList{QStringLiteral("FV/1")});
  EXPECT_EQ(invoices({QDate(2026, 3, 6), {}, {}}), (QStringList{QStringLiteral("FV/3"), QStringLiteral("FV/2")}));
  EXPECT_EQ(invoices({{}, QDate(2026, 3, 8), {}}), QStringList{QStringLiteral("FV/1")});
  EXPECT_EQ(invoices({{}, {}, QStringLiteral(" łódzka ")}), QStringList{QStringLiteral("FV/1")});
  EXPECT_EQ(invoices({{}, {}, QStringLiteral("0a1b2c3d")}), QStringList{QStringLiteral("FV/3")});
  EXPECT_EQ(invoices({{}, {}, QStringLiteral("725190")}),
            (QStringList{QStringLiteral("FV/3"), QStringLiteral("FV/2")}));

  QList<QDateTime> times;
  for (const THistoryEntry &entry : List({}))
    times.append(entry.WrittenAt);
  EXPECT_EQ(times, (QList<QDateTime>{March9, March9, March5}));
  const THistoryEntry newest = List({}).front();
  EXPECT_EQ(newest.PayeeNIP, OtherNip);
  EXPECT_EQ(newest.KsefNumber, RealKsefNumber);
  EXPECT_EQ(newest.Amount, TAmount::FromUnits(1234500));
  EXPECT_EQ(newest.Currency, QStringLiteral("PLN"));
  EXPECT_EQ(newest.ArchivePath, QStringLiteral("PLIKI_DO_BANKU/archiwum/b.xml"));
}

TEST_P(TJournalTest, ListsPageByPageAndSumsWhatTheFilterLetsThrough) {
  TJournalPayment split = InvoicePayment(Nip, QStringLiteral("FV/1"));
  split.PayeeName = QStringLiteral("ŁÓDZKA HURTOWNIA");
  split.SplitPayment = true;
  split.VATAmount = TAmount::FromUnits(230000);
  split.WhiteListResult = QStringLiteral("czynny podatnik VAT");
  TJournalPayment euro = InvoicePayment(OtherNip, QStringLiteral("FV/2"), TAmount::FromUnits(10000));
  euro.Currency = QStringLiteral("EUR");
  Journal.Record(WrittenFile(QStringLiteral("a.xml"), March5), {split, InvoicePayment(Nip, QStringLiteral("FV/3"))});
  Journal.Record(WrittenFile(QStringLiteral("b.xml"), March9),
                 {euro, InvoicePayment(OtherNip, QStringLiteral("FV/4")), InvoicePayment(Nip, QStringLiteral("FV/5"))});

  auto invoices = [](const std::vector<THistoryEntry> &entries) {
    QStringList numbers;
    for (const THistoryEntry &entry : entries)
      numbers.append(entry.InvoiceNumber);
    return numbers;
  };
  const std::vector<THistoryEntry> first = Journal.ListPage({}, std::nullopt, 2);
  EXPECT_EQ(invoices(first), (QStringList{QStringLiteral("FV/5"), QStringLiteral("FV/4")}));
  const std::vector<THistoryEntry> second = Journal.ListPage({}, first.back().Id, 2);
  EXPECT_EQ(invoices(second), (QStringList{QStringLiteral("FV/2"), QStringLiteral("FV/3")}));
  EXPECT_EQ(invoices(Journal.ListPage({}, second.back().Id, 2)), QStringList{QStringLiteral("FV/1")});
  EXPECT_EQ(invoices(Journal.ListPage({{}, {}, QStringLiteral("łódzka")}, std::nullopt, 10)),
            QStringList{QStringLiteral("FV/1")});
  // An ASCII search in a field with Polish letters, and the other way round.
  EXPECT_EQ(invoices(Journal.ListPage({{}, {}, QStringLiteral("dzka hURT")}, std::nullopt, 10)),
            QStringList{QStringLiteral("FV/1")});
  EXPECT_EQ(invoices(Journal.ListPage({{}, {}, QStringLiteral("zapłata")}, std::nullopt, 10)), QStringList());
  EXPECT_EQ(invoices(Journal.ListPage({QDate(2026, 3, 6), {}, Nip}, std::nullopt, 10)),
            QStringList{QStringLiteral("FV/5")});

  const THistorySummary all = Journal.Summarize({});
  EXPECT_EQ(all.Count, 5);
  EXPECT_EQ(all.Sums, (QMap<QString, TAmount>{{QStringLiteral("EUR"), TAmount::FromUnits(10000)},
                                              {QStringLiteral("PLN"), TAmount::FromUnits(4 * 1234500)}}));
  const THistorySummary march5 = Journal.Summarize({QDate(2026, 3, 5), QDate(2026, 3, 5), QStringLiteral(" Fv/ ")});
  EXPECT_EQ(march5.Count, 2);
  EXPECT_EQ(march5.Sums, (QMap<QString, TAmount>{{QStringLiteral("PLN"), TAmount::FromUnits(2 * 1234500)}}));
  EXPECT_EQ(Journal.Summarize({{}, {}, QStringLiteral("nic takiego")}).Count, 0);

  // What the export writes besides the columns of the page.
  const THistoryEntry oldest = Journal.ListPage({}, second.back().Id, 1).front();
  EXPECT_EQ(oldest.PayeeIBAN, QStringLiteral("PL61109010140000071219812874"));
  EXPECT_EQ(oldest.Title, QStringLiteral("Zapłata za fakturę nr: FV/1"));
  EXPECT_TRUE(oldest.SplitPayment);
  EXPECT_EQ(oldest.VATAmount, TAmount::FromUnits(230000));
  EXPECT_EQ(oldest.WhiteListResult, QStringLiteral("czynny podatnik VAT"));
  EXPECT_FALSE(first.front().SplitPayment);
  EXPECT_EQ(first.front().VATAmount, std::nullopt);
  EXPECT_EQ(first.front().WhiteListResult, QString());
}

// A payment made over and over: the newest file is named, and withdrawn files are passed by
// to the newest one that still counts, for a match by the invoice and one by the KSeF number.
TEST_P(TJournalTest, NamesTheNewestOfManyEarlierFilesPassingByWithdrawnOnes) {
  const struct {
    const char *Name;
    TJournalPayment Recorded;
    TJournalPayment Looked;
  } cases[] = {
      {"invoice", InvoicePayment(Nip, QStringLiteral("FV/1")), InvoicePayment(Nip, QStringLiteral("fv/1"))},
      {"ksefNumber", WithKsefNumber(InvoicePayment(Nip, QStringLiteral("FV/1")), RealKsefNumber),
       WithKsefNumber(InvoicePayment(OtherNip, QStringLiteral("KOREKTA")), RealKsefNumber)},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.Name);
    const TTestJournalPlace place(GetParam());
    const std::unique_ptr<IPaymentJournal> opened = place.Open();
    IPaymentJournal &journal = *opened;
    constexpr int Files = 30;
    for (int i = 1; i <= Files; ++i)
      journal.Record(WrittenFile(QStringLiteral("plik-%1.xml").arg(i), March5.addSecs(i)),
                     {InvoicePayment(Nip, QStringLiteral("inna/%1").arg(i)), c.Recorded, c.Recorded});

    EXPECT_EQ(journal.FindEarlier(c.Looked)->ArchivePath, QStringLiteral("PLIKI_DO_BANKU/archiwum/plik-30.xml"));
    // Listed newest first, three payments a file.
    const std::vector<THistoryEntry> newest = journal.ListPage({}, std::nullopt, 6);
    journal.MarkWithdrawn(newest.at(0).FileId, March9);
    journal.MarkWithdrawn(newest.at(5).FileId, March9);
    const std::optional<TEarlierPayment> earlier = journal.FindEarlier(c.Looked);
    ASSERT_TRUE(earlier.has_value());
    EXPECT_EQ(earlier->ArchivePath, QStringLiteral("PLIKI_DO_BANKU/archiwum/plik-28.xml"));
    EXPECT_EQ(earlier->WrittenAt, March5.addSecs(28));
  }
}

// Keys are found by a 64-bit hash of their text; two keys of the same hash are told apart by
// the text. The shared hash is made by writing one key's hash into the other's row.
TEST_F(TPaymentJournalTest, AKeyOfTheSameHashButOtherTextIsNoEarlierPayment) {
  const struct {
    const char *HashColumn;
    TJournalPayment Older;
    TJournalPayment Newer;
  } cases[] = {
      {"match_hash", InvoicePayment(Nip, QStringLiteral("FV/2")), InvoicePayment(Nip, QStringLiteral("FV/1"))},
      {"ksef_hash", WithKsefNumber(InvoicePayment(Nip, QStringLiteral("FV/2")), RealKsefNumber),
       WithKsefNumber(InvoicePayment(OtherNip, QStringLiteral("FV/1")),
                      QStringLiteral("7251904369-20260305-0A1B2C3D4E5F-11"))},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.HashColumn);
    TTempDir dir;
    const QString fileName = dir.File(QStringLiteral("historia.sqlite"));
    TPaymentJournal journal(fileName);
    journal.Record(WrittenFile(QStringLiteral("pierwszy.xml"), March5), {c.Older});
    journal.Record(WrittenFile(QStringLiteral("drugi.xml"), March9), {c.Newer});
    {
      TSqliteDatabase database(fileName, false, 0);
      const QByteArray column(c.HashColumn);
      TSqliteStatement collide(database, "UPDATE payment SET " + column + " = (SELECT " + column +
                                             " FROM payment WHERE invoice_number = ?1) WHERE invoice_number = ?2");
      collide.Bind(1, c.Older.InvoiceNumber);
      collide.Bind(2, c.Newer.InvoiceNumber);
      collide.Run();
      TSqliteStatement shared(database, "SELECT count(DISTINCT " + column + ") FROM payment");
      ASSERT_TRUE(shared.Next());
      ASSERT_EQ(shared.Integer(0), 1);
    }

    EXPECT_EQ(journal.FindEarlier(c.Older)->ArchivePath, QStringLiteral("PLIKI_DO_BANKU/archiwum/pierwszy.xml"));
    journal.MarkWithdrawn(journal.ListPage({}, std::nullopt, 2).back().FileId, March9);
    EXPECT_FALSE(journal.FindEarlier(c.Older).has_value());
  }
}

// A file withdrawn as never sent is passed by when looking for earlier payments, and shown
// as withdrawn in the listing; restored, it counts again. Nothing is deleted.
TEST_P(TJournalTest, AWithdrawnFileNoLongerCountsAsPaidUntilRestored) {
  const TJournalPayment payment = InvoicePayment(Nip, QStringLiteral("FV/1"));
  Journal.Record(WrittenFile(QStringLiteral("proba.xml"), March5), {payment});
  Journal.Record(WrittenFile(QStringLiteral("inny.xml"), March5), {InvoicePayment(Nip, QStringLiteral("FV/2"))});
  const std::int64_t trial = List({}).back().FileId;

  const std::optional<TFileMark> before = Journal.MarkWithdrawn(trial, March9);

  ASSERT_TRUE(before.has_value());
  EXPECT_EQ(before->ArchivePath, QStringLiteral("PLIKI_DO_BANKU/archiwum/proba.xml"));
  EXPECT_FALSE(before->WithdrawnAt.has_value());
  EXPECT_FALSE(Journal.FindEarlier(payment).has_value());
  const std::vector<THistoryEntry> entries = List({});
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].WithdrawnAt, std::nullopt);
  EXPECT_EQ(entries[0].SplitPaymentFormat, QString());
  EXPECT_EQ(entries[1].FileId, trial);
  EXPECT_EQ(entries[1].WithdrawnAt, std::optional(March9));
  EXPECT_NE(entries[0].FileId, trial);
  // Listed and counted, but left out of the sums.
  const THistorySummary summary = Journal.Summarize({});
  EXPECT_EQ(summary.Count, 2);
  EXPECT_EQ(summary.Sums, (QMap<QString, TAmount>{{QStringLiteral("PLN"), TAmount::FromUnits(1234500)}}));
  EXPECT_EQ(Journal.ListPage({}, std::nullopt, 10).back().WithdrawnAt, std::optional(March9));

  // Asked again, the file is left as it is and the first time kept.
  EXPECT_EQ(Journal.MarkWithdrawn(trial, March9.addDays(1))->WithdrawnAt, std::optional(March9));
  EXPECT_EQ(List({}).back().WithdrawnAt, std::optional(March9));

  EXPECT_EQ(Journal.MarkWithdrawn(trial, std::nullopt)->WithdrawnAt, std::optional(March9));
  EXPECT_EQ(Journal.FindEarlier(payment)->ArchivePath, QStringLiteral("PLIKI_DO_BANKU/archiwum/proba.xml"));
  EXPECT_EQ(List({}).back().WithdrawnAt, std::nullopt);

  EXPECT_EQ(Journal.MarkWithdrawn(trial + 100, March9), std::nullopt);
}

// Takes a journal back to the layout before its keys were indexed by their hashes (version 3), which
// kept no downloads from KSeF and no marks of invoices paid outside either.
void UndoKeyHashes(TSqliteDatabase &database) {
  database.Execute(
      "DROP TABLE paid_outside; DROP TABLE ksef_invoice; DROP INDEX payment_match_hash; DROP INDEX payment_ksef_hash; "
      "ALTER TABLE payment DROP COLUMN match_hash; ALTER TABLE payment DROP COLUMN ksef_hash; "
      "CREATE INDEX payment_match_key ON payment(match_key) WHERE match_key IS NOT NULL; "
      "CREATE INDEX payment_ksef_number ON payment(ksef_number) WHERE ksef_number IS NOT NULL; "
      "PRAGMA user_version=3");
}

QStringList IndexesOf(const QString &fileName) {
  TSqliteDatabase database(fileName, false, 0);
  TSqliteStatement indexes(database, "SELECT name FROM sqlite_schema WHERE type = 'index' AND sql IS NOT NULL "
                                     "ORDER BY name");
  QStringList names;
  while (indexes.Next())
    names.append(indexes.Text(0));
  return names;
}

// A journal written before files could be withdrawn: the new step runs once, keeps every
// record, and counts them all as sent.
// What a run finds and records under the write lock is one transaction: a failure after the
// record takes the record back, and the marks with it.
TEST_P(TJournalTest, AFailureUnderTheWriteLockLeavesTheJournalAsItWas) {
  const QString key = *InvoiceKey(RealKsefNumber, Nip, QStringLiteral("FV/1"));
  EXPECT_THROW(Journal.Exclusively([&] {
    EXPECT_FALSE(Journal.FindEarlier(InvoicePayment(Nip, QStringLiteral("FV/1"))));
    Journal.Record(WrittenFile(QStringLiteral("a.xml"), March5), {InvoicePayment(Nip, QStringLiteral("FV/1"))});
    Journal.MarkPaidOutside(key, March5, QStringLiteral("x"));
    throw Exception(QStringLiteral("dysk pełny"));
  }),
               Exception);
  EXPECT_EQ(Journal.Summarize({}).Count, 0);
  EXPECT_TRUE(Journal.PaidOutsideMarks().isEmpty());

  Journal.Exclusively([&] {
    Journal.Record(WrittenFile(QStringLiteral("a.xml"), March5), {InvoicePayment(Nip, QStringLiteral("FV/1"))});
  });
  EXPECT_EQ(Journal.Summarize({}).Count, 1);
}

// A second run under the write lock waits for the first to let go, however long past its busy
// timeout that takes (here none at all): the started thread may reach its wait before or after
// the first run records, and either way both records are kept.
TEST_F(TPaymentJournalTest, UnderTheWriteLockASecondRunWaitsPastItsBusyTimeout) {
  TPaymentJournal impatient(JournalFile(), 0);
  std::promise<void> started;
  std::future<void> second;
  Journal.Exclusively([&] {
    second = std::async(std::launch::async, [&] {
      started.set_value();
      impatient.Exclusively([&] {
        impatient.Record(WrittenFile(QStringLiteral("b.xml"), March9), {InvoicePayment(Nip, QStringLiteral("FV/2"))});
      });
    });
    started.get_future().wait();
    Journal.Record(WrittenFile(QStringLiteral("a.xml"), March5), {InvoicePayment(Nip, QStringLiteral("FV/1"))});
  });
  EXPECT_NO_THROW(second.get());
  EXPECT_EQ(Journal.Summarize({}).Count, 2);
}

// The wait without a limit still ends when the run is interrupted (the window's Cancel).
TEST_P(TJournalTest, AWaitForTheWriteLockEndsWhenInterrupted) {
  const std::unique_ptr<IPaymentJournal> waiting = Place.Open();
  Journal.Exclusively([&] {
    std::future<void> second = std::async(std::launch::async, [&] { waiting->Exclusively([] {}); });
    // Until the wait is reached an interrupt may find nothing to stop, so it is repeated.
    while (second.wait_for(std::chrono::seconds(0)) != std::future_status::ready) {
      waiting->Interrupt();
      std::this_thread::yield();
    }
    EXPECT_THROW(second.get(), Exception);
  });
}

// A mark is kept by the KSeF number where the invoice has a real one, else by its seller's NIP
// and number as the paid-twice check compares them.
TEST_P(TJournalTest, MarksPaidOutsideByKsefNumberOrNipAndNumber) {
  EXPECT_EQ(InvoiceKey(RealKsefNumber, Nip, QStringLiteral("FV/1")), QStringLiteral("K\n") + RealKsefNumber);
  EXPECT_EQ(InvoiceKey(QStringLiteral("program XYZ"), QStringLiteral(" 1234563218 "), QStringLiteral(" fv/1")),
            InvoiceKey({}, QStringLiteral("1234563218"), QStringLiteral("FV/1")));
  EXPECT_EQ(InvoiceKey({}, {}, QStringLiteral("FV/1")), std::nullopt);

  Journal.MarkPaidOutside(QStringLiteral("a"), March5, QStringLiteral("gotówką"));
  Journal.MarkPaidOutside(QStringLiteral("a"), March9, QString());
  const QHash<QString, TPaidOutsideMark> marks = Journal.PaidOutsideMarks();
  ASSERT_EQ(marks.size(), 1);
  EXPECT_EQ(marks.value(QStringLiteral("a")).MarkedAt, March9);
  EXPECT_EQ(marks.value(QStringLiteral("a")).Note, QString());
  EXPECT_TRUE(Journal.UnmarkPaidOutside(QStringLiteral("a")));
  EXPECT_FALSE(Journal.UnmarkPaidOutside(QStringLiteral("a")));
}

TEST(PaymentJournalLayoutTest, AJournalOfTheFirstLayoutIsBroughtUpToDateAndKeepsItsRecords) {
  TTempDir dir;
  const QString fileName = dir.File(QStringLiteral("historia.sqlite"));
  {
    TPaymentJournal journal(fileName);
    journal.Record(WrittenFile(QStringLiteral("a.xml"), March5), {InvoicePayment(Nip, QStringLiteral("FV/1"))});
  }
  {
    TSqliteDatabase database(fileName, false, 0);
    UndoKeyHashes(database);
    database.Execute("ALTER TABLE transfer_file DROP COLUMN split_payment_format; "
                     "ALTER TABLE transfer_file DROP COLUMN withdrawn_at; PRAGMA user_version=1");
  }

  TPaymentJournal journal(fileName);

  EXPECT_EQ(PragmaOf(fileName, "PRAGMA user_version"), TPaymentJournal::SchemaVersion());
  EXPECT_EQ(journal.FindEarlier(InvoicePayment(Nip, QStringLiteral("FV/1")))->ArchivePath,
            QStringLiteral("PLIKI_DO_BANKU/archiwum/a.xml"));
  std::vector<THistoryEntry> entries;
  journal.ForEach({}, [&](const THistoryEntry &entry) { entries.push_back(entry); });
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].WithdrawnAt, std::nullopt);
  EXPECT_EQ(entries[0].SplitPaymentFormat, QString());
  EXPECT_TRUE(journal.MarkWithdrawn(entries[0].FileId, March9).has_value());
  EXPECT_FALSE(journal.FindEarlier(InvoicePayment(Nip, QStringLiteral("FV/1"))).has_value());
}

// A journal written before its keys were indexed by their hashes: the step hashes the keys of
// every payment it holds, so its earlier payments are still found, by the invoice, the KSeF
// number and the VideoTel account, amount and title; the indexes of the keys' text are gone.
TEST(PaymentJournalLayoutTest, AJournalOfTheLayoutBeforeKeyHashesStillFindsItsPayments) {
  TTempDir dir;
  const QString fileName = dir.File(QStringLiteral("historia.sqlite"));
  const TJournalPayment invoice = WithKsefNumber(InvoicePayment(Nip, QStringLiteral("FV/1")), RealKsefNumber);
  const TJournalPayment videoTel = VideoTelPayment(QStringLiteral("PL61109010140000071219812874"),
                                                   TAmount::FromUnits(500000), QStringLiteral("Czynsz 03"));
  {
    TPaymentJournal journal(fileName);
    journal.Record(WrittenFile(QStringLiteral("a.xml"), March5), {invoice, videoTel});
    journal.Record(WrittenFile(QStringLiteral("b.xml"), March9), {InvoicePayment(Nip, QStringLiteral("FV/2"))});
  }
  {
    TSqliteDatabase database(fileName, false, 0);
    UndoKeyHashes(database);
  }
  ASSERT_TRUE(IndexesOf(fileName).contains(QStringLiteral("payment_match_key")));

  TPaymentJournal journal(fileName);

  EXPECT_EQ(PragmaOf(fileName, "PRAGMA user_version"), TPaymentJournal::SchemaVersion());
  QStringList found;
  for (const TJournalPayment &payment :
       {invoice, WithKsefNumber(InvoicePayment(OtherNip, QStringLiteral("KOREKTA")), RealKsefNumber), videoTel,
        InvoicePayment(Nip, QStringLiteral("FV/2")), InvoicePayment(Nip, QStringLiteral("FV/3"))}) {
    const std::optional<TEarlierPayment> earlier = journal.FindEarlier(payment);
    found.append(earlier ? earlier->ArchivePath.section(u'/', -1) : QStringLiteral("-"));
  }
  EXPECT_EQ(found, (QStringList{QStringLiteral("a.xml"), QStringLiteral("a.xml"), QStringLiteral("a.xml"),
                                QStringLiteral("b.xml"), QStringLiteral("-")}));
  EXPECT_EQ(journal.Summarize({}).Count, 3);
  EXPECT_EQ(IndexesOf(fileName),
            (QStringList{QStringLiteral("payment_file"), QStringLiteral("payment_ksef_hash"),
                         QStringLiteral("payment_match_hash"), QStringLiteral("transfer_file_written_at")}));
  // What it records from now on is found alongside.
  journal.Record(WrittenFile(QStringLiteral("c.xml"), March9.addDays(1)), {videoTel});
  EXPECT_EQ(journal.FindEarlier(videoTel)->ArchivePath, QStringLiteral("PLIKI_DO_BANKU/archiwum/c.xml"));
}

TKsefInvoiceRecord DownloadedInvoice(const QString &environment, const QString &number, const QDateTime &at) {
  TKsefInvoiceRecord invoice;
  invoice.Environment = environment;
  invoice.KsefNumber = number;
  invoice.SellerNIP = OtherNip;
  invoice.SellerName = QStringLiteral("Dostawca; \"Iskra\"");
  invoice.InvoiceNumber = QStringLiteral("FV/7/2026");
  invoice.IssueDate = QStringLiteral("2026-03-04");
  invoice.GrossAmount = TAmount::FromUnits(12301000);
  invoice.Currency = QStringLiteral("PLN");
  invoice.Sha256 = QString(64, u'a');
  invoice.FilePath = QStringLiteral("FAKTURY_KSEF/") + number + QStringLiteral(".xml");
  invoice.DownloadedAt = at;
  return invoice;
}

// Each downloaded number is recorded once per environment, and listed by the day of its
// download, newest first.
void ExpectDownloadsRecordedOncePerEnvironment(IPaymentJournal &journal) {
  const QString otherNumber = QStringLiteral("7251904369-20260304-0123456789AB-E4");
  TKsefInvoiceRecord withoutAmount = DownloadedInvoice(QStringLiteral("testowe"), otherNumber, March9);
  withoutAmount.GrossAmount = std::nullopt;
  const struct {
    TKsefInvoiceRecord Invoice;
    bool Added;
  } downloads[] = {
      {DownloadedInvoice(QStringLiteral("testowe"), RealKsefNumber, March5), true},
      {DownloadedInvoice(QStringLiteral("testowe"), RealKsefNumber, March9), false},
      {DownloadedInvoice(QStringLiteral("produkcyjne"), RealKsefNumber, March9), true},
      {withoutAmount, true},
  };
  for (const auto &download : downloads)
    EXPECT_EQ(journal.RecordKsefInvoice(download.Invoice), download.Added)
        << download.Invoice.Environment.toStdString();

  std::vector<TKsefInvoiceRecord> listed;
  journal.ForEachKsefInvoice({}, [&](const TKsefInvoiceRecord &record) { listed.push_back(record); });
  ASSERT_EQ(listed.size(), 3u);
  EXPECT_EQ(listed[0].KsefNumber, otherNumber);
  EXPECT_EQ(listed[0].GrossAmount, std::nullopt);
  EXPECT_EQ(listed[1].Environment, QStringLiteral("produkcyjne"));
  const TKsefInvoiceRecord &first = listed[2];
  const TKsefInvoiceRecord expected = DownloadedInvoice(QStringLiteral("testowe"), RealKsefNumber, March5);
  EXPECT_EQ(
      QStringList({first.Environment, first.KsefNumber, first.SellerNIP, first.SellerName, first.InvoiceNumber,
                   first.IssueDate, first.Currency, first.Sha256, first.FilePath}),
      QStringList({expected.Environment, expected.KsefNumber, expected.SellerNIP, expected.SellerName,
                   expected.InvoiceNumber, expected.IssueDate, expected.Currency, expected.Sha256, expected.FilePath}));
  EXPECT_EQ(first.GrossAmount, TAmount::FromUnits(12301000));
  EXPECT_EQ(first.DownloadedAt, March5);

  THistoryFilter fromMarch9;
  fromMarch9.From = March9.date();
  QStringList recent;
  journal.ForEachKsefInvoice(fromMarch9, [&](const TKsefInvoiceRecord &record) { recent.append(record.Environment); });
  EXPECT_EQ(recent, (QStringList{QStringLiteral("testowe"), QStringLiteral("produkcyjne")}));
}

// A journal of the layout before downloads from KSeF were kept: the new step runs once and keeps
// every payment, and records the downloads from then on.
TEST(PaymentJournalLayoutTest, AJournalOfTheLayoutBeforeKsefDownloadsKeepsItsPaymentsAndRecordsThem) {
  TTempDir dir;
  const QString fileName = dir.File(QStringLiteral("historia.sqlite"));
  const TJournalPayment invoice = WithKsefNumber(InvoicePayment(Nip, QStringLiteral("FV/1")), RealKsefNumber);
  {
    TPaymentJournal journal(fileName);
    journal.Record(WrittenFile(QStringLiteral("a.xml"), March5), {invoice});
  }
  {
    TSqliteDatabase database(fileName, false, 0);
    database.Execute("DROP TABLE paid_outside; DROP TABLE ksef_invoice; PRAGMA user_version=4");
  }

  TPaymentJournal journal(fileName);

  EXPECT_EQ(PragmaOf(fileName, "PRAGMA user_version"), TPaymentJournal::SchemaVersion());
  EXPECT_EQ(journal.Summarize({}).Count, 1);
  EXPECT_EQ(journal.FindEarlier(invoice)->ArchivePath, QStringLiteral("PLIKI_DO_BANKU/archiwum/a.xml"));

  ExpectDownloadsRecordedOncePerEnvironment(journal);
}

TEST_P(TJournalTest, RecordsEachKsefDownloadOncePerEnvironment) { ExpectDownloadsRecordedOncePerEnvironment(Journal); }

} // namespace
