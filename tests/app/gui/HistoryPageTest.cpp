#include "FakeHost.h"
#include "GuiTestSupport.h"
#include "TestSupport.h"
#include "app/commands/TransferCommands.h"
#include "app/gui/HistoryPage.h"

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
  EXPECT_TRUE(lines[1].contains(";6340128771;WS/2026/77;;480,60;PLN;PLIKI_DO_BANKU/archiwum/"));
  EXPECT_TRUE(lines[2].contains(";6340128771;WS/2026/77;;480,60;PLN;PLIKI_DO_BANKU/archiwum/"));
}

} // namespace
