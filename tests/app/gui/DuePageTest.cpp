#include "app/gui/DuePage.h"

#include "FakeHost.h"
#include "GuiTestSupport.h"
#include "TestSupport.h"
#include "app/gui/DueTableModel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSemaphore>
#include <QTableView>
#include <QTimer>
#include <atomic>

namespace {

using TColumn = TDueTableModel::TColumn;

const QString FirstKsef = QStringLiteral("8943001230-20260302-000000000001-44");

// The list read as the page reads it, except that the reads can be held at their start until
// the test lets them go: the test learns that a read waits there by a handshake.
class THeldReader {
public:
  explicit THeldReader(const TAppPaths &paths, const QDateTime &now) : FPaths(paths), FNow(now) {}

  TDuePage::TReader Reader() {
    return [this](IDueInvoiceSource &files, const TCancellation &cancellation) {
      if (FHold.exchange(false)) {
        FWaiting.release();
        FGo.acquire();
        HeldReadCancelled = cancellation.IsCancelled();
      }
      return ReadDueInvoices(FPaths, files, FNow, &cancellation);
    };
  }
  // The next read waits at its start until Release.
  void Hold() { FHold = true; }
  void AwaitHeldRead() { FWaiting.acquire(); }
  void Release() { FGo.release(); }

  std::atomic<bool> HeldReadCancelled = false;

private:
  TAppPaths FPaths;
  QDateTime FNow;
  std::atomic<bool> FHold = false;
  QSemaphore FWaiting;
  QSemaphore FGo;
};

// The page over the invoices of FAKTURY_KSEF, driven through the fake host; its clock stands
// at 2026-03-05.
class TDuePageTest : public ::testing::Test {
protected:
  TDuePageTest() {
    EnsureApplication();
    App.Paths().CreateWorkDirectories();
    QFile::copy(QStringLiteral(PAVENA_SOURCE_DIR "/examples/settings.ini"), App.File(QStringLiteral("settings.ini")));
    QDir().mkpath(App.File(QStringLiteral("FAKTURY_KSEF")));
  }

  void Download(const QString &fixture, const QString &folder = QStringLiteral("FAKTURY_KSEF")) {
    ASSERT_TRUE(QFile::copy(FixturePath(QStringLiteral("due/") + fixture), App.File(folder + u'/' + fixture)));
  }
  // The four invoices of the tests, due on 2026-03-16 (two), 2026-03-31 and on no day.
  void DownloadFour() {
    for (const char *fixture : {"dwa-terminy.xml", "czesciowo-reszta.xml", "termin-opisem.xml", "w-euro.xml"})
      Download(QString::fromLatin1(fixture));
  }

  void AwaitShown() {
    ProcessEventsUntil([&] { return !Page.Reading() && !Control<QTimer>(Page, QStringLiteral("TmrFiltr")).isActive(); },
                       "the list shown");
  }
  void Load() {
    Page.Reload();
    AwaitShown();
  }
  void ShowDueUpTo(QDate day) {
    Control<QDateEdit>(Page, QStringLiteral("DataTerminDo")).setDate(day);
    AwaitShown();
  }
  void Type(const QString &field, const QString &text) {
    Control<QLineEdit>(Page, field).setText(text);
    AwaitShown();
  }
  void Press(const QString &button) { Control<QPushButton>(Page, button).click(); }

  TDueTableModel &Model() const {
    return dynamic_cast<TDueTableModel &>(*Control<QTableView>(Page, QStringLiteral("GridDoZaplaty")).model());
  }
  QStringList Column(TColumn column) const {
    QStringList texts;
    for (int row = 0; row < Model().rowCount(); ++row)
      texts.append(Model().index(row, TDueTableModel::Index(column)).data().toString());
    return texts;
  }
  int RowOf(const QString &invoiceNumber) const { return int(Column(TColumn::Invoice).indexOf(invoiceNumber)); }
  void Tick(const QString &invoiceNumber) {
    ASSERT_GE(RowOf(invoiceNumber), 0) << invoiceNumber.toStdString();
    Model().SetTicked(RowOf(invoiceNumber), true);
  }
  void Select(const QString &invoiceNumber) {
    auto &grid = Control<QTableView>(Page, QStringLiteral("GridDoZaplaty"));
    grid.selectionModel()->select(Model().index(RowOf(invoiceNumber), 0),
                                  QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  }
  QString Sums() const { return Control<QLabel>(Page, QStringLiteral("LblSumy")).text(); }
  QStringList Log() const {
    QStringList lines;
    for (const TLogEntry &entry : Fake.LogEntries)
      lines.append(entry.Text);
    return lines;
  }
  int ArchivedFiles() const {
    return int(QDir(App.File(QStringLiteral("PLIKI_DO_BANKU/archiwum"))).entryList(QDir::Files).size());
  }

  TTempAppDir App;
  TFakeHost Fake{App.Paths()};
  THeldReader Reads{App.Paths(), Fake.Clock};
  TDuePage Page{Fake.Host(), [] { return TMPPSettings{}; }, Reads.Reader()};
};

// By due date, those without one first; at first up to a week from today.
TEST_F(TDuePageTest, ListsByDueDateUpToAWeekFromTodayAtFirst) {
  DownloadFour();
  Load();
  EXPECT_EQ(Control<QDateEdit>(Page, QStringLiteral("DataTerminDo")).date(), QDate(2026, 3, 12));
  EXPECT_EQ(Column(TColumn::Invoice), QStringList{QStringLiteral("FV/2")});

  ShowDueUpTo(QDate(2026, 3, 31));
  EXPECT_EQ(Column(TColumn::Due), (QStringList{QStringLiteral("brak terminu"), QStringLiteral("2026-03-16"),
                                               QStringLiteral("2026-03-16"), QStringLiteral("2026-03-31")}));
  EXPECT_EQ(Column(TColumn::Status),
            (QStringList{QStringLiteral("do zapłaty"), QStringLiteral("do zapłaty"),
                         QStringLiteral("nie do przelewu: waluta EUR, a plik przelewów płaci tylko w PLN"),
                         QStringLiteral("do zapłaty")}));
  const int row = RowOf(QStringLiteral("FV/1"));
  ASSERT_GE(row, 0);
  EXPECT_EQ(Model().index(row, TDueTableModel::Index(TColumn::Ksef)).data().toString(), FirstKsef);
  EXPECT_EQ(Model().index(row, TDueTableModel::Index(TColumn::Seller)).data().toString(),
            QStringLiteral("Papiernia Zielony Dąb sp. z o.o."));
  EXPECT_EQ(Model().index(row, TDueTableModel::Index(TColumn::Issued)).data().toString(), QStringLiteral("2026-03-02"));
  EXPECT_EQ(Model().index(row, TDueTableModel::Index(TColumn::ToPay)).data().toString(), QStringLiteral("1 230,00"));
}

// Each filter narrows what was read; the sums of the shown rows follow them, per currency.
TEST_F(TDuePageTest, FiltersNarrowTheRowsAndTheirSums) {
  DownloadFour();
  Load();
  ShowDueUpTo(QDate(2026, 3, 31));
  EXPECT_TRUE(Sums().endsWith(QStringLiteral("Pokazane: 4, do zapłaty 1 230,00 EUR; 3 460,01 PLN.")))
      << Sums().toStdString();

  Control<QComboBox>(Page, QStringLiteral("CmbStatus")).setCurrentText(QStringLiteral("nie do przelewu"));
  AwaitShown();
  EXPECT_EQ(Column(TColumn::Invoice), QStringList{QStringLiteral("FV/8")});
  Control<QComboBox>(Page, QStringLiteral("CmbStatus")).setCurrentText(QStringLiteral("wszystkie"));

  Type(QStringLiteral("EdtSzukaj"), FirstKsef.right(6));
  EXPECT_EQ(Column(TColumn::Invoice), QStringList{QStringLiteral("FV/1")});
  Type(QStringLiteral("EdtSzukaj"), {});
  Type(QStringLiteral("EdtSprzedawca"), QStringLiteral("Inny Sprzedawca"));
  EXPECT_EQ(Model().rowCount(), 0);
  EXPECT_TRUE(Sums().endsWith(QStringLiteral("Pokazane: 0, do zapłaty 0,00."))) << Sums().toStdString();
}

// The ticked rows' sums never add PLN and another currency together; ticks stay while a
// filter hides their rows.
TEST_F(TDuePageTest, TheTickedRowsSumsPerCurrency) {
  DownloadFour();
  Load();
  ShowDueUpTo(QDate(2026, 3, 31));
  Tick(QStringLiteral("FV/2"));
  Tick(QStringLiteral("FV/8"));
  EXPECT_TRUE(Sums().startsWith(QStringLiteral("Zaznaczone: 2, do zapłaty 1 230,00 EUR; 1 230,00 PLN.")))
      << Sums().toStdString();
  ShowDueUpTo(QDate(2026, 3, 12));
  EXPECT_TRUE(Sums().startsWith(QStringLiteral("Zaznaczone: 2, do zapłaty 1 230,00 EUR; 1 230,00 PLN.")))
      << Sums().toStdString();
}

// Rows due before today and still to pay are marked, the others not.
TEST_F(TDuePageTest, OverdueRowsMarked) {
  DownloadFour();
  Fake.Clock = QDateTime(QDate(2026, 3, 17), QTime(0, 0));
  Load();
  ShowDueUpTo(QDate(2026, 3, 31));
  const auto marked = [&](const QString &invoice) {
    return Model().index(RowOf(invoice), TDueTableModel::Index(TColumn::Due)).data(Qt::ForegroundRole).isValid();
  };
  EXPECT_TRUE(marked(QStringLiteral("FV/4")));
  EXPECT_FALSE(marked(QStringLiteral("FV/8")));
  EXPECT_FALSE(marked(QStringLiteral("FV/1")));
  EXPECT_FALSE(marked(QStringLiteral("FV/2")));
}

// One file of exactly the ticked invoices; the rows then show it. The same ticks again write
// nothing and say why.
TEST_F(TDuePageTest, CreatesOneFileOfTheTickedInvoicesAndNotASecond) {
  DownloadFour();
  Load();
  ShowDueUpTo(QDate(2026, 3, 31));
  Tick(QStringLiteral("FV/1"));
  Tick(QStringLiteral("FV/4"));
  Press(QStringLiteral("BtnUtworzPlik"));
  AwaitShown();

  const QString batchFile = App.File(QStringLiteral("PLIKI_DO_BANKU/Pain001Paczka.xml"));
  EXPECT_TRUE(IsValidPain001(batchFile));
  const QByteArray written = App.ReadBytes(QStringLiteral("PLIKI_DO_BANKU/Pain001Paczka.xml"));
  EXPECT_EQ(written.count("<CdtTrfTxInf>"), 2);
  EXPECT_TRUE(written.contains("<InstdAmt Ccy=\"PLN\">1000.01</InstdAmt>"));
  EXPECT_EQ(ArchivedFiles(), 1);
  for (const char *invoice : {"FV/1", "FV/4"}) {
    const QString status =
        Model().index(RowOf(QString::fromLatin1(invoice)), TDueTableModel::Index(TColumn::Status)).data().toString();
    EXPECT_TRUE(status.startsWith(QStringLiteral("w pliku PLIKI_DO_BANKU/archiwum/"))) << status.toStdString();
    EXPECT_TRUE(status.endsWith(QStringLiteral(" 2026-03-05"))) << status.toStdString();
  }
  EXPECT_EQ(Model().index(RowOf(QStringLiteral("FV/2")), TDueTableModel::Index(TColumn::Status)).data().toString(),
            QStringLiteral("do zapłaty"));

  Fake.LogEntries.clear();
  Press(QStringLiteral("BtnUtworzPlik"));
  AwaitShown();
  const QStringList log = Log();
  ASSERT_EQ(log.size(), 3) << log.join(u'\n').toStdString();
  EXPECT_TRUE(log[0].startsWith(QStringLiteral("Uwaga: Pominięto: faktura FV/"))) << log[0].toStdString();
  EXPECT_TRUE(log[0].contains(QStringLiteral(", w pliku PLIKI_DO_BANKU/archiwum/"))) << log[0].toStdString();
  EXPECT_EQ(log[2],
            QStringLiteral("Błąd: Żadna z wybranych faktur nie jest do zapłaty: pliku przelewów nie zapisano."));
  EXPECT_EQ(App.ReadBytes(QStringLiteral("PLIKI_DO_BANKU/Pain001Paczka.xml")), written);
  EXPECT_EQ(ArchivedFiles(), 1);
}

TEST_F(TDuePageTest, NothingTickedIsSaidAndNothingWritten) {
  DownloadFour();
  Load();
  Press(QStringLiteral("BtnUtworzPlik"));
  EXPECT_EQ(Fake.InformationBoxes,
            QStringList{QStringLiteral("Zaznacz w tabeli faktury, które mają się znaleźć w pliku przelewów.")});
  EXPECT_FALSE(QFile::exists(App.File(QStringLiteral("PLIKI_DO_BANKU/Pain001Paczka.xml"))));
}

// The mark with the day and the note the user gives, and its undo.
TEST_F(TDuePageTest, MarksPaidOutsideAndUndoesTheMark) {
  DownloadFour();
  Load();
  ShowDueUpTo(QDate(2026, 3, 31));
  Select(QStringLiteral("FV/1"));
  {
    TModalAnswer answer([](QWidget &dialog) {
      Control<QDateEdit>(dialog, QStringLiteral("DataZaplaty")).setDate(QDate(2026, 3, 4));
      Control<QLineEdit>(dialog, QStringLiteral("EdtNotatka")).setText(QStringLiteral("kartą firmową"));
      dynamic_cast<QDialog &>(dialog).accept();
    });
    Press(QStringLiteral("BtnOznaczZaplacone"));
    EXPECT_EQ(answer.Answered(), 1);
  }
  AwaitShown();
  EXPECT_EQ(Model().index(RowOf(QStringLiteral("FV/1")), TDueTableModel::Index(TColumn::Status)).data().toString(),
            QStringLiteral("zapłacona poza programem 2026-03-04: kartą firmową"));
  EXPECT_EQ(Log().last(),
            QStringLiteral("Fakturę KSeF %1 oznaczono jako zapłaconą poza programem (2026-03-04).").arg(FirstKsef));

  Select(QStringLiteral("FV/1"));
  Press(QStringLiteral("BtnCofnijOznaczenie"));
  AwaitShown();
  EXPECT_EQ(Model().index(RowOf(QStringLiteral("FV/1")), TDueTableModel::Index(TColumn::Status)).data().toString(),
            QStringLiteral("do zapłaty"));
  EXPECT_TRUE(Fake.ErrorBoxes.isEmpty()) << Fake.ErrorBoxes.join(u'\n').toStdString();
}

TEST_F(TDuePageTest, ACancelledMarkChangesNothing) {
  DownloadFour();
  Load();
  Select(QStringLiteral("FV/2"));
  TModalAnswer answer([](QWidget &dialog) { dynamic_cast<QDialog &>(dialog).reject(); });
  Press(QStringLiteral("BtnOznaczZaplacone"));
  EXPECT_EQ(answer.Answered(), 1);
  AwaitShown();
  EXPECT_EQ(Column(TColumn::Status), QStringList{QStringLiteral("do zapłaty")});
  EXPECT_TRUE(Fake.LogEntries.empty());
}

TEST_F(TDuePageTest, InvoicesOfAnAddedFolderJoinTheList) {
  Download(QStringLiteral("termin-opisem.xml"));
  Load();
  QDir().mkpath(App.File(QStringLiteral("inne")));
  Download(QStringLiteral("zaplacona.xml"), QStringLiteral("inne"));
  Fake.ChooserAnswers.push_back(App.File(QStringLiteral("inne")));
  Press(QStringLiteral("BtnDodajFolder"));
  AwaitShown();
  EXPECT_EQ(Column(TColumn::Status),
            (QStringList{QStringLiteral("do zapłaty"), QStringLiteral("nie do przelewu: zapłacona według faktury")}));
}

// The buttons as the manual and the README quote them.
TEST_F(TDuePageTest, TheButtonsAreWordedAsTheManualQuotesThem) {
  const std::pair<const char *, const char *> buttons[] = {
      {"BtnUtworzPlik", "Utwórz plik przelewów"},
      {"BtnOznaczZaplacone", "Oznacz jako zapłacone poza programem…"},
      {"BtnCofnijOznaczenie", "Cofnij oznaczenie"},
      {"BtnDodajFolder", "Dodaj faktury z folderu…"},
      {"BtnOdswiez", "Odśwież"},
  };
  for (const auto &[name, text] : buttons)
    EXPECT_EQ(Control<QPushButton>(Page, QString::fromLatin1(name)).text(), QString::fromUtf8(text)) << name;
}

// A read asked while one runs cancels it; a filter asked meanwhile is the one shown.
TEST_F(TDuePageTest, ANewReadCancelsTheOneRunningAndTheLastFilterIsShown) {
  DownloadFour();
  Reads.Hold();
  Page.Reload();
  Reads.AwaitHeldRead();
  Control<QComboBox>(Page, QStringLiteral("CmbStatus")).setCurrentText(QStringLiteral("nie do przelewu"));
  Control<QDateEdit>(Page, QStringLiteral("DataTerminDo")).setDate(QDate(2026, 3, 31));
  Page.Reload();
  Reads.Release();
  AwaitShown();
  EXPECT_TRUE(Reads.HeldReadCancelled);
  EXPECT_EQ(Column(TColumn::Invoice), QStringList{QStringLiteral("FV/8")});
}

// A filter asked while the list is read is the one shown once it is read; the read goes on.
TEST_F(TDuePageTest, AFilterAskedWhileTheListIsReadIsShownOnceItIsRead) {
  DownloadFour();
  Reads.Hold();
  Page.Reload();
  Reads.AwaitHeldRead();
  Control<QComboBox>(Page, QStringLiteral("CmbStatus")).setCurrentText(QStringLiteral("nie do przelewu"));
  Control<QDateEdit>(Page, QStringLiteral("DataTerminDo")).setDate(QDate(2026, 3, 31));
  Reads.Release();
  AwaitShown();
  EXPECT_FALSE(Reads.HeldReadCancelled);
  EXPECT_EQ(Column(TColumn::Invoice), QStringList{QStringLiteral("FV/8")});
}

} // namespace
