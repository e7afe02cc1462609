#include "app/gui/BankPage.h"

#include "app/gui/BankTableModel.h"
#include "app/gui/LineBreaks.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QPushButton *NewButton(const QString &name, const QString &caption) {
  auto *button = new QPushButton(WithLineFeeds(caption));
  button->setObjectName(name);
  return button;
}

} // namespace

TBankPage::TBankPage(QWidget *parent) : QWidget(parent), FModel(new TBankTableModel(this)), FGrid(new QTableView) {
  setObjectName(QStringLiteral("BankPage"));

  FGrid->setObjectName(QStringLiteral("GridBanki"));
  FGrid->setModel(FModel);
  FGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
  FGrid->setSelectionMode(QAbstractItemView::SingleSelection);
  FGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  FGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  FGrid->setColumnHidden(TBankTableModel::colKonto, true);
  FGrid->setColumnWidth(TBankTableModel::colOpis, 161);
  FGrid->setColumnWidth(TBankTableModel::colIBAN, 192);
  FGrid->setColumnWidth(TBankTableModel::colBIC, 75);
  FGrid->setColumnWidth(TBankTableModel::colNIP, 74);
  connect(FGrid, &QTableView::doubleClicked, this, &TBankPage::EditRequested);

  FMenu = new QMenu(this);
  FMenu->setObjectName(QStringLiteral("MenuBanki"));
  QAction *remove = FMenu->addAction(QStringLiteral("Kasowanie podświetlonego wiersza"));
  remove->setObjectName(QStringLiteral("MenuKasowanie"));
  connect(remove, &QAction::triggered, this, &TBankPage::DeleteRequested);
  QAction *correct = FMenu->addAction(QStringLiteral("Korekta podświetlonego wiersz"));
  correct->setObjectName(QStringLiteral("MenuKorekta"));
  connect(correct, &QAction::triggered, this, &TBankPage::EditRequested);

  auto *panel = new QWidget;
  panel->setObjectName(QStringLiteral("PanelBanki"));
  QPushButton *add = NewButton(QStringLiteral("BtnDodajBank"), QStringLiteral("Dodaj\rnowy bank"));
  auto *help = new QPushButton;
  help->setObjectName(QStringLiteral("BtnPomocBanki"));
  help->setIcon(QApplication::style()->standardIcon(QStyle::SP_MessageBoxQuestion));
  connect(add, &QPushButton::clicked, this, &TBankPage::AddBankClicked);
  connect(help, &QPushButton::clicked, this, &TBankPage::HelpClicked);
  auto *buttons = new QHBoxLayout(panel);
  buttons->addWidget(add);
  buttons->addWidget(help);
  buttons->addStretch(1);

  // The menu opens over the grid and over the button panel alike. A grid reports the
  // position in its viewport's coordinates.
  const auto openMenuOver = [this](QWidget *area, QWidget *origin) {
    area->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(area, &QWidget::customContextMenuRequested, this,
            [this, origin](const QPoint &position) { FMenu->popup(origin->mapToGlobal(position)); });
  };
  openMenuOver(FGrid, FGrid->viewport());
  openMenuOver(panel, panel);

  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(FGrid, 1);
  layout->addWidget(panel);
}

void TBankPage::ShowRows(const std::vector<TBankRow> &rows) { FModel->SetRows(rows); }

int TBankPage::CurrentRow() const {
  const QModelIndex current = FGrid->currentIndex();
  return current.isValid() ? current.row() : -1;
}

void TBankPage::SetCurrentRow(int row) {
  if (row < 0 || row >= FModel->rowCount()) {
    FGrid->clearSelection();
    FGrid->setCurrentIndex({});
    return;
  }
  FGrid->selectRow(row);
}
