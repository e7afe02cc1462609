// The page "Historia" over a journal that two batches wrote: its table, its search, its sums
// and the archived file opened on a double-click.

#include "app/gui/HistoryPage.h"

#include "FakeHost.h"
#include "GuiTestSupport.h"
#include "TestSupport.h"
#include "app/commands/TransferCommands.h"
#include "settings/Settings.h"

#include <QAbstractItemModel>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>

namespace {

class THistoryPageTest : public ::testing::Test {
protected:
  THistoryPageTest() {
    EnsureApplication();
    TSettings::SaveCompany(App.Paths().SettingsFile(),
                           TCompanyData{QStringLiteral("Płatnik S.A."), QStringLiteral("1234563218"),
                                        QStringLiteral("PL27114020040000300201355387"), QStringLiteral("BREXPLPW")});
    Invoices.WriteBytes(QStringLiteral("drukarnia.xml"), ReadFixture(QStringLiteral("commands/faktura-drukarnia.xml")));
    Invoices.WriteBytes(QStringLiteral("papiernia.xml"), ReadFixture(QStringLiteral("commands/faktura-papiernia.xml")));
  }

  static QByteArray ReadFixture(const QString &name) {
    QFile file(FixturePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  // The batch over both invoices, written at `when`.
  void Batch(const QDateTime &when) {
    Host.Clock = when;
    ASSERT_TRUE(TTransferCommands(Host.Host()).PressBatch(Invoices.Path(), TMPPSettings{}));
  }

  QAbstractItemModel &Table() { return *Control<QTableView>(Page, QStringLiteral("GridHistoria")).model(); }
  QString Cell(int row, int column) { return Table().index(row, column).data().toString(); }

  TTempAppDir App;
  TTempDir Invoices;
  TFakeHost Host{App.Paths()};
  THistoryPage Page{Host.Host()};
};

TEST_F(THistoryPageTest, ShowsThePaymentsNewestFirstWithTheirSumsAndFindsBySearch) {
  Batch(QDateTime(QDate(2026, 3, 5), QTime(14, 5, 9)));
  Batch(QDateTime(QDate(2026, 3, 6), QTime(9, 0, 0)));

  Page.show();

  ASSERT_EQ(Table().rowCount(), 4);
  EXPECT_EQ(Cell(0, 0), QStringLiteral("2026-03-06 09:00:00"));
  EXPECT_EQ(Cell(3, 0), QStringLiteral("2026-03-05 14:05:09"));
  QStringList invoices;
  for (int row = 0; row < 4; ++row)
    invoices << Cell(row, 3);
  EXPECT_EQ(invoices.count(QStringLiteral("D/45/2026")), 2);
  EXPECT_EQ(invoices.count(QStringLiteral("FV/2026/03/118")), 2);
  const QString allSums = Control<QLabel>(Page, QStringLiteral("LblSuma")).text();
  EXPECT_TRUE(allSums.contains(QStringLiteral("PLN"))) << allSums.toStdString();

  Control<QLineEdit>(Page, QStringLiteral("EdtSzukaj")).setText(QStringLiteral("9512345675"));

  ASSERT_EQ(Table().rowCount(), 2);
  EXPECT_EQ(Cell(0, 2), QStringLiteral("9512345675"));
  EXPECT_EQ(Cell(1, 3), QStringLiteral("D/45/2026"));
  EXPECT_NE(Control<QLabel>(Page, QStringLiteral("LblSuma")).text(), allSums);
}

TEST_F(THistoryPageTest, ADoubleClickOpensTheArchivedTransferFile) {
  Batch(QDateTime(QDate(2026, 3, 5), QTime(14, 5, 9)));
  Page.show();
  auto &grid = Control<QTableView>(Page, QStringLiteral("GridHistoria"));
  ASSERT_GT(grid.model()->rowCount(), 0);

  emit grid.doubleClicked(grid.model()->index(0, 0));

  const QString archived = App.File(QStringLiteral("PLIKI_DO_BANKU/archiwum/2026-03-05_140509_1_Pain001Paczka.xml"));
  EXPECT_EQ(Host.OpenedFiles.last(), archived);
  EXPECT_TRUE(QFile::exists(archived));
}

} // namespace
