#include "FakeHost.h"
#include "GuiTestSupport.h"
#include "TestSupport.h"
#include "app/commands/TransferCommands.h"
#include "app/gui/HistoryPage.h"
#include "app/gui/HistoryQueries.h"
#include "app/gui/HistoryTableModel.h"
#include "model/Exception.h"

#include <QAbstractItemModel>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSemaphore>
#include <QTableView>
#include <QTimer>
#include <atomic>

namespace {

// The journal read as the page reads it, except that a read can be held at its start until the
// test lets it go: the test learns that a read waits there by a handshake.
class THeldSource : public IHistorySource {
public:
  explicit THeldSource(const TAppPaths &paths) : FReader(paths) {}

  // The next reads wait at their start until Release.
  void Hold() { FHold = true; }
  // Returns once a held read waits.
  void AwaitHeldRead() { FWaiting.acquire(); }
  void Release() {
    FHold = false;
    FGo.release();
  }

  std::vector<THistoryEntry> Page(const THistoryFilter &filter, std::optional<std::int64_t> below, int limit) override {
    Wait();
    return FReader.Page(filter, below, limit);
  }
  THistorySummary Summarize(const THistoryFilter &filter) override {
    Wait();
    return FReader.Summarize(filter);
  }
  void Interrupt() override { FReader.Interrupt(); }

private:
  void Wait() {
    if (!FHold)
      return;
    FWaiting.release();
    FGo.acquire();
  }

  THistoryReader FReader;
  std::atomic<bool> FHold = false;
  QSemaphore FWaiting;
  QSemaphore FGo;
};

// The page over a journal that two batches wrote, driven through the fake host.
class THistoryPageTest : public ::testing::Test {
protected:
  THistoryPageTest() {
    EnsureApplication();
    App.Paths().CreateWorkDirectories();
    QFile::copy(QStringLiteral(PAVENA_SOURCE_DIR "/examples/settings.ini"), App.File(QStringLiteral("settings.ini")));
    TTransferCommands commands(Host.Host());
    commands.PressBatch(QStringLiteral(PAVENA_SOURCE_DIR "/examples/faktury"), TMPPSettings{});
    commands.PressBatch(QStringLiteral(PAVENA_SOURCE_DIR "/examples/faktury"), TMPPSettings{});
  }

  const QAbstractItemModel &Model() const { return *Control<QTableView>(Page, QStringLiteral("GridHistoria")).model(); }

  QStringList Column(int column) const {
    QStringList texts;
    for (int row = 0; row < Model().rowCount(); ++row)
      texts.append(Model().index(row, column).data().toString());
    return texts;
  }

  QString Sums() const { return Control<QLabel>(Page, QStringLiteral("LblSuma")).text(); }

  void AwaitShown() {
    ProcessEventsUntil([this] { return !Page.Reading(); }, "the page's listing");
  }

  // Types `text` into the search field and ends the pause the page waits for after typing.
  void Search(const QString &text) {
    Control<QLineEdit>(Page, QStringLiteral("EdtSzukaj")).setText(text);
    Page.Reload();
  }

  TTempAppDir App;
  TFakeHost Host{App.Paths()};
  THeldSource Source{App.Paths()};
  THistoryPage Page{Host.Host(), &Source};
};

const QStringList OneRun{QStringLiteral("WS/2026/77"), QStringLiteral("12/03/2026"), QStringLiteral("HE/0311/2026")};

TEST_F(THistoryPageTest, ShowsBothRunsNewestFirstAndNarrowsBySearch) {
  Page.show();
  AwaitShown();

  EXPECT_EQ(Column(3), OneRun + OneRun);
  EXPECT_EQ(Column(5), (QStringList{QStringLiteral("480,60"), QStringLiteral("473,70"), QStringLiteral("1 955,70"),
                                    QStringLiteral("480,60"), QStringLiteral("473,70"), QStringLiteral("1 955,70")}));
  EXPECT_EQ(Sums(), QStringLiteral("Razem: 5 820,00 PLN; płatności: 6"));

  Search(QStringLiteral("sowa"));
  AwaitShown();

  EXPECT_EQ(Column(3), (QStringList{QStringLiteral("WS/2026/77"), QStringLiteral("WS/2026/77")}));
  EXPECT_EQ(Sums(), QStringLiteral("Razem: 961,20 PLN; płatności: 2"));
}

TEST_F(THistoryPageTest, TypingWaitsForAPauseBeforeItSearches) {
  Page.show();
  AwaitShown();
  const auto &delay = Control<QTimer>(Page, QStringLiteral("TmrSzukaj"));
  EXPECT_FALSE(delay.isActive());

  Control<QLineEdit>(Page, QStringLiteral("EdtSzukaj")).setText(QStringLiteral("s"));
  Control<QLineEdit>(Page, QStringLiteral("EdtSzukaj")).setText(QStringLiteral("so"));

  // Nothing is read while the keys come: the rows stay, and the pause is awaited.
  EXPECT_TRUE(delay.isActive());
  EXPECT_FALSE(Page.Reading());
  EXPECT_EQ(Column(3), OneRun + OneRun);

  Page.Reload(); // what the end of the pause runs
  EXPECT_FALSE(delay.isActive());
  AwaitShown();
  EXPECT_EQ(Column(3), (QStringList{QStringLiteral("WS/2026/77"), QStringLiteral("WS/2026/77")}));
}

TEST_F(THistoryPageTest, AnswersWhileAReadRunsAndShowsOnlyTheLastSearch) {
  Page.show();
  AwaitShown();
  Source.Hold();
  Search(QStringLiteral("sowa"));
  Source.AwaitHeldRead();

  // The read waits on the reading thread; the window's events still run, and the page says it
  // is searching while it keeps the rows it showed.
  bool answered = false;
  QTimer::singleShot(0, &Page, [&answered] { answered = true; });
  ProcessEventsUntil([&answered] { return answered; }, "an event of the window while the journal is read");
  EXPECT_EQ(Sums(), QStringLiteral("Szukam…"));
  EXPECT_EQ(Column(3), OneRun + OneRun);
  EXPECT_TRUE(Page.Reading());

  // A further key while the read waits: the earlier search is never shown.
  Search(QStringLiteral("7251904369"));
  Source.Release();
  AwaitShown();

  EXPECT_EQ(Column(3), (QStringList{QStringLiteral("12/03/2026"), QStringLiteral("12/03/2026")}));
  EXPECT_EQ(Sums(), QStringLiteral("Razem: 947,40 PLN; płatności: 2"));
}

TEST_F(THistoryPageTest, CutTextsAreReadWholeInTheirTips) {
  Page.show();
  AwaitShown();
  const QModelIndex file = Model().index(0, 7);
  EXPECT_FALSE(file.data().toString().contains(u'/'));
  EXPECT_EQ(file.data(Qt::ToolTipRole).toString(), QStringLiteral("PLIKI_DO_BANKU/archiwum/") + file.data().toString());
  const QModelIndex payee = Model().index(0, 1);
  EXPECT_EQ(payee.data(Qt::ToolTipRole), payee.data());
}

TEST_F(THistoryPageTest, ExportsWhatIsShownAsCsvAndSaysWhere) {
  Page.show();
  AwaitShown();
  Search(QStringLiteral("6340128771"));
  AwaitShown();
  const QString target = App.File(QStringLiteral("wybrane.csv"));
  Host.ChooserAnswers.push_back(target);

  Control<QPushButton>(Page, QStringLiteral("BtnEksportCsv")).click();
  AwaitShown();

  EXPECT_EQ(Control<QLabel>(Page, QStringLiteral("LblEksport")).text(), QStringLiteral("Zapisano do pliku: ") + target);
  QFile csv(target);
  ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
  const QList<QByteArray> lines = csv.readAll().split('\n');
  ASSERT_EQ(lines.size(), 4); // header, two payments, nothing after the last line break
  EXPECT_TRUE(
      lines[0].startsWith("\xEF\xBB\xBF"
                          "Data;Odbiorca;NIP;Numer faktury;Numer KSeF;Kwota;Waluta;Plik;Nr pliku;Wycofany;Rachunek;"));
  for (int line : {1, 2}) {
    EXPECT_TRUE(lines[line].contains(
        ";6340128771;WS/2026/77;6340128771-20260310-1D2E3F4A5B6C-24;480,60;PLN;PLIKI_DO_BANKU/archiwum/"));
    // The account, the title, no split payment, no VAT amount, no white-list check.
    EXPECT_TRUE(lines[line].contains(";PLIKI_DO_BANKU/archiwum/"));
    EXPECT_TRUE(lines[line].contains("61109010140000071219812874;")) << lines[line].toStdString();
    EXPECT_TRUE(lines[line].endsWith(";nie;;\r")) << lines[line].toStdString();
  }
}

// A source of `count` made-up payments, numbered down from `count`, read a page at a time.
class TNumberedSource : public IHistorySource {
public:
  explicit TNumberedSource(int count) : FCount(count) {}

  std::vector<THistoryEntry> Page(const THistoryFilter &, std::optional<std::int64_t> below, int limit) override {
    ++Pages;
    std::vector<THistoryEntry> entries;
    for (std::int64_t id = below.value_or(FCount + 1) - 1; id > 0 && int(entries.size()) < limit; --id) {
      THistoryEntry entry;
      entry.Id = id;
      entry.InvoiceNumber = QStringLiteral("FV/%1").arg(id);
      entry.Currency = QStringLiteral("PLN");
      entries.push_back(entry);
    }
    return entries;
  }
  THistorySummary Summarize(const THistoryFilter &) override { return {FCount, {}}; }
  void Interrupt() override {}

  std::atomic<int> Pages = 0;

private:
  int FCount;
};

TEST(HistoryPageRowsTest, ReadsRowsAPageAtATimeAsTheGridWantsThem) {
  EnsureApplication();
  TTempAppDir app;
  TFakeHost host{app.Paths()};
  const int count = 2 * THistoryQueries::PageSize + 50;
  TNumberedSource source(count);
  THistoryPage page(host.Host(), &source);
  page.show();
  ProcessEventsUntil([&page] { return !page.Reading(); }, "the first page");
  QAbstractItemModel &model = *Control<QTableView>(page, QStringLiteral("GridHistoria")).model();
  ASSERT_EQ(model.rowCount(), THistoryQueries::PageSize);
  EXPECT_EQ(model.index(0, 3).data().toString(), QStringLiteral("FV/%1").arg(count));

  for (int rows : {2 * THistoryQueries::PageSize, count}) {
    ASSERT_TRUE(model.canFetchMore({}));
    model.fetchMore({});
    ProcessEventsUntil([&page] { return !page.Reading(); }, "a further page");
    ASSERT_EQ(model.rowCount(), rows);
  }
  EXPECT_EQ(model.index(count - 1, 3).data().toString(), QStringLiteral("FV/1"));
  EXPECT_FALSE(model.canFetchMore({}));
  EXPECT_EQ(source.Pages, 3);
}

// The export would replace the journal it reads: refused, and the journal stays whole.
TEST_F(THistoryPageTest, AnExportOntoTheJournalItselfIsRefused) {
  Page.show();
  AwaitShown();
  const QString journal = App.File(QStringLiteral("historia.sqlite"));
  const QByteArray before = App.ReadBytes(QStringLiteral("historia.sqlite"));
  Host.ChooserAnswers.push_back(journal);

  Control<QPushButton>(Page, QStringLiteral("BtnEksportCsv")).click();
  AwaitShown();

  EXPECT_EQ(
      Host.ErrorBoxes,
      QStringList{
          QStringLiteral("Nie można zapisać historii do pliku %1: to plik samej historii płatności.").arg(journal)});
  EXPECT_EQ(App.ReadBytes(QStringLiteral("historia.sqlite")), before);
  EXPECT_EQ(Control<QLabel>(Page, QStringLiteral("LblEksport")).text(), QString());
}

// A listing whose rows cannot be read while its sum can: the sum must not cover the failure.
class TFailingPageSource : public IHistorySource {
public:
  std::vector<THistoryEntry> Page(const THistoryFilter &, std::optional<std::int64_t>, int) override {
    throw Exception(QStringLiteral("Historia jest zajęta."));
  }
  THistorySummary Summarize(const THistoryFilter &) override { return {5, {}}; }
  void Interrupt() override {}
};

TEST(THistoryPageFailureTest, AFailedListingStaysSaidWhenItsSumArrives) {
  EnsureApplication();
  TTempAppDir app;
  TFakeHost host{app.Paths()};
  TFailingPageSource source;
  THistoryPage page(host.Host(), &source);
  page.show();
  ProcessEventsUntil([&page] { return !page.Reading(); }, "the listing's answers");

  EXPECT_EQ(Control<QLabel>(page, QStringLiteral("LblSuma")).text(), QStringLiteral("Historia jest zajęta."));
  EXPECT_EQ(Control<QTableView>(page, QStringLiteral("GridHistoria")).model()->rowCount(), 0);
}

TEST_F(THistoryPageTest, WithdrawsTheSelectedPaymentsFileAfterAskingAndRestoresIt) {
  Page.show();
  AwaitShown();
  auto &grid = Control<QTableView>(Page, QStringLiteral("GridHistoria"));
  const int withdrawn = THistoryTableModel::Index(THistoryTableModel::TColumn::Withdrawn);

  Control<QPushButton>(Page, QStringLiteral("BtnWycofajPlik")).click();
  EXPECT_EQ(Host.InformationBoxes,
            QStringList{QStringLiteral("Zaznacz w tabeli płatność z pliku, którego to dotyczy.")});
  EXPECT_TRUE(Host.Confirmations.isEmpty());

  grid.selectRow(4);
  Host.ConfirmAnswers.push_back(true);
  Control<QPushButton>(Page, QStringLiteral("BtnWycofajPlik")).click();
  AwaitShown();

  ASSERT_EQ(Host.Confirmations.size(), 1);
  EXPECT_TRUE(Host.Confirmations[0].startsWith(QStringLiteral("Wycofać plik nr ")));
  const QString today = Host.Clock.date().toString(Qt::ISODate);
  EXPECT_EQ(Column(withdrawn), (QStringList{{}, {}, {}, today, today, today}));
  EXPECT_EQ(grid.model()->headerData(withdrawn, Qt::Horizontal).toString(), QStringLiteral("Wycofany"));
  EXPECT_EQ(Control<QLabel>(Page, QStringLiteral("LblSuma")).text(),
            QStringLiteral("Razem: 2 910,00 PLN; płatności: 6"));

  grid.selectRow(0);
  Host.ConfirmAnswers.push_back(true);
  Control<QPushButton>(Page, QStringLiteral("BtnPrzywrocPlik")).click();
  EXPECT_EQ(Host.ErrorBoxes.size(), 1);
  EXPECT_EQ(Column(withdrawn), (QStringList{{}, {}, {}, today, today, today}));

  grid.selectRow(5);
  Host.ConfirmAnswers.push_back(true);
  Control<QPushButton>(Page, QStringLiteral("BtnPrzywrocPlik")).click();
  AwaitShown();
  EXPECT_EQ(Column(withdrawn), QStringList(6, QString()));
  EXPECT_EQ(Control<QLabel>(Page, QStringLiteral("LblSuma")).text(),
            QStringLiteral("Razem: 5 820,00 PLN; płatności: 6"));
}

} // namespace
