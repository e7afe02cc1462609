#include "app/gui/BankPage.h"

#include "app/gui/BankTableModel.h"
#include "model/Text.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

namespace {

using TColumn = TBankTableModel::TColumn;

// The widest text each column was made for: a Polish IBAN (PL and 26 digits), an 11-character
// BIC and a 10-digit NIP; the description gets room for 30 characters of average width.
const QString WidestIBAN = QStringLiteral("PL") + QString(26, u'0');
const QString WidestBIC = QString(11, u'W');
const QString WidestNIP = QString(10, u'0');
constexpr int OpisCharacters = 30;

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
  FGrid->setColumnHidden(TBankTableModel::Index(TColumn::Konto), true);
  SetColumnWidths();
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

void TBankPage::SetColumnWidths() {
  // Widths in pixels suit only the font they were chosen for; measured in the grid's own font
  // the values show whole whatever font the desktop gives.
  const QFontMetrics metrics = FGrid->fontMetrics();
  const int margins =
      2 * (FGrid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, FGrid) + 1) + metrics.averageCharWidth();
  const auto fit = [&](TColumn column, int textWidth) {
    const int section = TBankTableModel::Index(column);
    QFont bold = FGrid->horizontalHeader()->font();
    bold.setBold(true);
    const int titleWidth = QFontMetrics(bold).horizontalAdvance(FModel->headerData(section, Qt::Horizontal).toString());
    FGrid->setColumnWidth(section, std::max(textWidth, titleWidth) + margins);
  };
  fit(TColumn::Opis, OpisCharacters * metrics.averageCharWidth());
  fit(TColumn::IBAN, metrics.horizontalAdvance(WidestIBAN));
  fit(TColumn::BIC, metrics.horizontalAdvance(WidestBIC));
  fit(TColumn::NIP, metrics.horizontalAdvance(WidestNIP));
  // The payer's name takes the rest of the grid, on one line.
  FGrid->horizontalHeader()->setStretchLastSection(true);
  FGrid->setWordWrap(false);
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
