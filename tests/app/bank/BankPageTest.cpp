#include "app/gui/BankPage.h"
#include "GridClicks.h"
#include "GuiTestSupport.h"
#include "TestSupport.h"
#include "app/gui/BankTableModel.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

namespace {

using TColumn = TBankTableModel::TColumn;

std::vector<TBankRow> Rows(int count) {
  std::vector<TBankRow> rows;
  for (int i = 1; i <= count; ++i)
    rows.push_back({QStringLiteral("Konto%1").arg(i), QStringLiteral("Opis %1").arg(i), {}, {}, {}, {}});
  return rows;
}

class BankPageTest : public ::testing::Test {
protected:
  void SetUp() override {
    EnsureApplication();
    Page.resize(800, 400);
    Page.show();
    Page.ShowRows(Rows(3));
  }
  QTableView &Grid() const { return Control<QTableView>(Page, QStringLiteral("GridBanki")); }
  QMenu &Menu() const { return Control<QMenu>(Page, QStringLiteral("MenuBanki")); }

  TBankPage Page;
};

TEST_F(BankPageTest, GridShowsTheAccountColumnsAndOnlyReadsRows) {
  QTableView &grid = Grid();
  EXPECT_TRUE(grid.isColumnHidden(TBankTableModel::Index(TColumn::Konto)));
  EXPECT_EQ(grid.selectionBehavior(), QAbstractItemView::SelectRows);
  EXPECT_EQ(grid.editTriggers(), QAbstractItemView::NoEditTriggers);
  EXPECT_EQ(grid.horizontalHeader()->sectionResizeMode(TBankTableModel::Index(TColumn::Name)),
            QHeaderView::Interactive);
  EXPECT_TRUE(grid.verticalHeader()->isVisible()) << "the row indicator";
  EXPECT_EQ(grid.model()->rowCount(), 3);
}

// The columns hold the longest values they were made for, measured by the grid itself.
TEST_F(BankPageTest, ColumnsShowTheLongestValuesWhole) {
  Page.ShowRows({{QStringLiteral("Konto1"), QString(30, u'x'), QStringLiteral("PL61109010140000071219812874"),
                  QStringLiteral("WBKPPLPPXXX"), QStringLiteral("5260250274"),
                  QStringLiteral("Przedsiębiorstwo Handlowo-Usługowe Wrzos")},
                 {QStringLiteral("Konto2"), QString(30, u'e'), QStringLiteral("PL80888888888888888888888888"),
                  QStringLiteral("MMMMPLPWMMM"), QStringLiteral("8888888888"), QStringLiteral("Firma")}});
  QTableView &grid = Grid();
  for (const TColumn shown : {TColumn::IBAN, TColumn::BIC, TColumn::NIP}) {
    const int column = TBankTableModel::Index(shown);
    const int width = grid.columnWidth(column);
    grid.resizeColumnToContents(column);
    EXPECT_GE(width, grid.columnWidth(column)) << "column " << column;
  }
  EXPECT_GE(grid.columnWidth(TBankTableModel::Index(TColumn::Opis)), grid.fontMetrics().averageCharWidth() * 30);
  EXPECT_TRUE(grid.horizontalHeader()->stretchLastSection()) << "the name takes the rest";
  EXPECT_FALSE(grid.wordWrap());
}

TEST_F(BankPageTest, CurrentRowFollowsTheProgramAndTheUser) {
  Page.SetCurrentRow(2);
  EXPECT_EQ(Page.CurrentRow(), 2);
  EXPECT_TRUE(Grid().selectionModel()->isRowSelected(2, {}));

  QTableView &grid = Grid();
  QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                    grid.visualRect(grid.model()->index(0, TBankTableModel::Index(TColumn::NIP))).center());
  EXPECT_EQ(Page.CurrentRow(), 0);

  Page.SetCurrentRow(-1);
  EXPECT_EQ(Page.CurrentRow(), -1);
  Page.ShowRows({});
  Page.SetCurrentRow(0);
  EXPECT_EQ(Page.CurrentRow(), -1);
}

TEST_F(BankPageTest, ButtonsMenuAndDoubleClickReportWhatTheUserAsks) {
  QSignalSpy add(&Page, &TBankPage::AddBankClicked);
  QSignalSpy edit(&Page, &TBankPage::EditRequested);
  QSignalSpy remove(&Page, &TBankPage::DeleteRequested);
  QSignalSpy help(&Page, &TBankPage::HelpClicked);

  EXPECT_EQ(Control<QPushButton>(Page, QStringLiteral("BtnDodajBank")).text(), QStringLiteral("Dodaj\nnowy bank"));
  for (const char *name : {"BtnDodajBank", "BtnPomocBanki"})
    QTest::mouseClick(&Control<QPushButton>(Page, QString::fromLatin1(name)), Qt::LeftButton);
  EXPECT_EQ(add.count(), 1);
  EXPECT_EQ(help.count(), 1);

  QStringList items;
  for (const QAction *action : Menu().actions())
    items.append(action->text());
  EXPECT_EQ(items, QStringList({QStringLiteral("Kasowanie podświetlonego wiersza"),
                                QStringLiteral("Korekta podświetlonego wiersz")}));
  Menu().actions()[0]->trigger();
  EXPECT_EQ(remove.count(), 1);
  Menu().actions()[1]->trigger();
  EXPECT_EQ(edit.count(), 1);

  QTableView &grid = Grid();
  DoubleClickRow(grid, 1);
  EXPECT_EQ(edit.count(), 2);
  EXPECT_EQ(Page.CurrentRow(), 1);
  EXPECT_EQ(add.count() + remove.count() + help.count(), 3) << "nothing else was reported";
}

TEST_F(BankPageTest, TheMenuOpensOverTheGridAndOverTheButtonPanel) {
  for (const char *name : {"GridBanki", "PanelBanki"}) {
    QWidget &area = Control<QWidget>(Page, QString::fromLatin1(name));
    EXPECT_EQ(area.contextMenuPolicy(), Qt::CustomContextMenu) << name;
    emit area.customContextMenuRequested(QPoint(5, 5));
    EXPECT_TRUE(Menu().isVisible()) << name;
    Menu().close();
  }
}

} // namespace
