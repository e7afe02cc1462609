#include "FakeHost.h"
#include "GuiTestSupport.h"
#include "TestSupport.h"
#include "app/commands/TransferCommands.h"
#include "app/gui/HistoryPage.h"
#include "app/gui/HistoryTableModel.h"

#include <QAbstractItemModel>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

namespace {

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

  QStringList Column(int column) const {
    const QAbstractItemModel &model = *Control<QTableView>(Page, QStringLiteral("GridHistoria")).model();
    QStringList texts;
    for (int row = 0; row < model.rowCount(); ++row)
      texts.append(model.index(row, column).data().toString());
    return texts;
  }

  TTempAppDir App;
  TFakeHost Host{App.Paths()};
  THistoryPage Page{Host.Host()};
};

TEST_F(THistoryPageTest, ShowsBothRunsNewestFirstAndNarrowsBySearch) {
  Page.show();

  const QStringList oneRun{QStringLiteral("WS/2026/77"), QStringLiteral("12/03/2026"), QStringLiteral("HE/0311/2026")};
  EXPECT_EQ(Column(3), oneRun + oneRun);
  EXPECT_EQ(Column(5), (QStringList{QStringLiteral("480,60"), QStringLiteral("473,70"), QStringLiteral("1 955,70"),
                                    QStringLiteral("480,60"), QStringLiteral("473,70"), QStringLiteral("1 955,70")}));
  EXPECT_EQ(Control<QLabel>(Page, QStringLiteral("LblSuma")).text(), QStringLiteral("Razem: 5 820,00 PLN"));

  Control<QLineEdit>(Page, QStringLiteral("EdtSzukaj")).setText(QStringLiteral("sowa"));

  EXPECT_EQ(Column(3), (QStringList{QStringLiteral("WS/2026/77"), QStringLiteral("WS/2026/77")}));
  EXPECT_EQ(Control<QLabel>(Page, QStringLiteral("LblSuma")).text(), QStringLiteral("Razem: 961,20 PLN"));
}

TEST_F(THistoryPageTest, ExportsWhatIsShownAsCsv) {
  Page.show();
  Control<QLineEdit>(Page, QStringLiteral("EdtSzukaj")).setText(QStringLiteral("6340128771"));
  const QString target = App.File(QStringLiteral("wybrane.csv"));
  Host.ChooserAnswers.push_back(target);

  Control<QPushButton>(Page, QStringLiteral("BtnEksportCsv")).click();

  QFile csv(target);
  ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
  const QList<QByteArray> lines = csv.readAll().split('\n');
  ASSERT_EQ(lines.size(), 4); // header, two payments, nothing after the last line break
  EXPECT_TRUE(lines[0].startsWith("\xEF\xBB\xBF"
                                  "Data;Odbiorca;NIP;"));
  EXPECT_TRUE(lines[1].contains(
      ";6340128771;WS/2026/77;6340128771-20260310-1D2E3F4A5B6C-24;480,60;PLN;PLIKI_DO_BANKU/archiwum/"));
  EXPECT_TRUE(lines[2].contains(
      ";6340128771;WS/2026/77;6340128771-20260310-1D2E3F4A5B6C-24;480,60;PLN;PLIKI_DO_BANKU/archiwum/"));
}

TEST_F(THistoryPageTest, WithdrawsTheSelectedPaymentsFileAfterAskingAndRestoresIt) {
  Page.show();
  auto &grid = Control<QTableView>(Page, QStringLiteral("GridHistoria"));
  const int withdrawn = THistoryTableModel::Index(THistoryTableModel::TColumn::Withdrawn);

  Control<QPushButton>(Page, QStringLiteral("BtnWycofajPlik")).click();
  EXPECT_EQ(Host.InformationBoxes,
            QStringList{QStringLiteral("Zaznacz w tabeli płatność z pliku, którego to dotyczy.")});
  EXPECT_TRUE(Host.Confirmations.isEmpty());

  grid.selectRow(4);
  Host.ConfirmAnswers.push_back(true);
  Control<QPushButton>(Page, QStringLiteral("BtnWycofajPlik")).click();

  ASSERT_EQ(Host.Confirmations.size(), 1);
  EXPECT_TRUE(Host.Confirmations[0].startsWith(QStringLiteral("Wycofać plik nr ")));
  const QString today = Host.Clock.date().toString(Qt::ISODate);
  EXPECT_EQ(Column(withdrawn), (QStringList{{}, {}, {}, today, today, today}));
  EXPECT_EQ(grid.model()->headerData(withdrawn, Qt::Horizontal).toString(), QStringLiteral("Wycofany"));
  EXPECT_EQ(Control<QLabel>(Page, QStringLiteral("LblSuma")).text(), QStringLiteral("Razem: 2 910,00 PLN"));

  grid.selectRow(0);
  Host.ConfirmAnswers.push_back(true);
  Control<QPushButton>(Page, QStringLiteral("BtnPrzywrocPlik")).click();
  EXPECT_EQ(Host.ErrorBoxes.size(), 1);
  EXPECT_EQ(Column(withdrawn), (QStringList{{}, {}, {}, today, today, today}));

  grid.selectRow(5);
  Host.ConfirmAnswers.push_back(true);
  Control<QPushButton>(Page, QStringLiteral("BtnPrzywrocPlik")).click();
  EXPECT_EQ(Column(withdrawn), QStringList(6, QString()));
  EXPECT_EQ(Control<QLabel>(Page, QStringLiteral("LblSuma")).text(), QStringLiteral("Razem: 5 820,00 PLN"));
}

} // namespace
