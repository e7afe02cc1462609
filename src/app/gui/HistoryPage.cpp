#include "app/gui/HistoryPage.h"

#include "app/gui/HistoryTableModel.h"
#include "journal/HistoryText.h"
#include "model/Exception.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QDateEdit *DateField(const QString &name) {
  auto *field = new QDateEdit(QDate::currentDate());
  field->setObjectName(name);
  field->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
  field->setCalendarPopup(true);
  field->setEnabled(false);
  return field;
}

QCheckBox *DateSwitch(const QString &name, const QString &text, QDateEdit *date) {
  auto *box = new QCheckBox(text);
  box->setObjectName(name);
  QObject::connect(box, &QCheckBox::toggled, date, &QWidget::setEnabled);
  return box;
}

} // namespace

THistoryPage::THistoryPage(THost &host, QWidget *parent)
    : QWidget(parent), FCommands(host), FDialogs(host.Dialogs), FModel(new THistoryTableModel(this)),
      FGrid(new QTableView), FSearch(new QLineEdit), FFrom(DateField(QStringLiteral("DataOd"))),
      FTo(DateField(QStringLiteral("DataDo"))), FSums(new QLabel) {
  setObjectName(QStringLiteral("HistoryPage"));
  FSearch->setObjectName(QStringLiteral("EdtSzukaj"));
  FSearch->setPlaceholderText(QStringLiteral("Szukaj: odbiorca, NIP, numer faktury albo numer KSeF"));
  FSearch->setClearButtonEnabled(true);
  FFromOn = DateSwitch(QStringLiteral("ChkOd"), QStringLiteral("Od"), FFrom);
  FToOn = DateSwitch(QStringLiteral("ChkDo"), QStringLiteral("Do"), FTo);

  FGrid->setObjectName(QStringLiteral("GridHistoria"));
  FGrid->setModel(FModel);
  FGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
  FGrid->setSelectionMode(QAbstractItemView::SingleSelection);
  FGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  FGrid->verticalHeader()->hide();
  FGrid->horizontalHeader()->setStretchLastSection(true);

  FSums->setObjectName(QStringLiteral("LblSuma"));
  auto *exportButton = new QPushButton(QStringLiteral("Eksportuj do CSV…"));
  exportButton->setObjectName(QStringLiteral("BtnEksportCsv"));
  auto *withdrawButton = new QPushButton(QStringLiteral("Wycofaj plik…"));
  withdrawButton->setObjectName(QStringLiteral("BtnWycofajPlik"));
  auto *restoreButton = new QPushButton(QStringLiteral("Przywróć plik"));
  restoreButton->setObjectName(QStringLiteral("BtnPrzywrocPlik"));

  auto *filters = new QHBoxLayout;
  filters->addWidget(FSearch, 1);
  for (QWidget *widget : std::initializer_list<QWidget *>{FFromOn, FFrom, FToOn, FTo})
    filters->addWidget(widget);
  auto *bottom = new QHBoxLayout;
  bottom->addWidget(FSums, 1);
  bottom->addWidget(withdrawButton);
  bottom->addWidget(restoreButton);
  bottom->addWidget(exportButton);
  auto *layout = new QVBoxLayout(this);
  layout->addLayout(filters);
  layout->addWidget(FGrid, 1);
  layout->addLayout(bottom);

  connect(FSearch, &QLineEdit::textChanged, this, &THistoryPage::Reload);
  for (QCheckBox *box : {FFromOn, FToOn})
    connect(box, &QCheckBox::toggled, this, &THistoryPage::Reload);
  for (QDateEdit *date : {FFrom, FTo})
    connect(date, &QDateEdit::dateChanged, this, &THistoryPage::Reload);
  connect(FGrid, &QTableView::doubleClicked, this, [this](const QModelIndex &index) {
    RunGuarded(FDialogs, [&] { FCommands.OpenArchivedFile(FModel->Entries().at(std::size_t(index.row()))); });
  });
  connect(exportButton, &QPushButton::clicked, this,
          [this] { RunGuarded(FDialogs, [this] { FCommands.PressExportCsv(FModel->Entries()); }); });
  connect(withdrawButton, &QPushButton::clicked, this,
          [this] { RunGuarded(FDialogs, [this] { ChangeSelectedFile(&THistoryCommands::PressWithdraw); }); });
  connect(restoreButton, &QPushButton::clicked, this,
          [this] { RunGuarded(FDialogs, [this] { ChangeSelectedFile(&THistoryCommands::PressRestore); }); });
}

void THistoryPage::ChangeSelectedFile(bool (THistoryCommands::*press)(const THistoryEntry &)) {
  const QModelIndexList selected = FGrid->selectionModel()->selectedRows();
  if (selected.isEmpty()) {
    FDialogs.ShowInformation(QStringLiteral("Zaznacz w tabeli płatność z pliku, którego to dotyczy."));
    return;
  }
  if ((FCommands.*press)(FModel->Entries().at(std::size_t(selected.front().row()))))
    Reload();
}

void THistoryPage::Reload() {
  try {
    THistoryListing listing = FCommands.Load(CurrentFilter());
    FSums->setText(HistorySumsText(listing.Sums));
    FModel->SetEntries(std::move(listing.Entries));
  } catch (const std::exception &error) {
    FModel->SetEntries({});
    FSums->setText(ErrorMessage(error));
  }
  FGrid->resizeColumnsToContents();
}

void THistoryPage::showEvent(QShowEvent *event) {
  QWidget::showEvent(event);
  Reload();
}

THistoryFilter THistoryPage::CurrentFilter() const {
  THistoryFilter filter;
  if (FFromOn->isChecked())
    filter.From = FFrom->date();
  if (FToOn->isChecked())
    filter.To = FTo->date();
  filter.Search = FSearch->text();
  return filter;
}
