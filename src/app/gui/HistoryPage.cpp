#include "app/gui/HistoryPage.h"

#include "app/gui/HistoryQueries.h"
#include "app/gui/HistoryTableModel.h"
#include "app/gui/RowTable.h"
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
#include <QTimer>
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

IHistorySource &SourceOf(IHistorySource *given, std::unique_ptr<IHistorySource> &own, const TAppPaths &paths) {
  if (given)
    return *given;
  own = std::make_unique<THistoryReader>(paths);
  return *own;
}

} // namespace

THistoryPage::THistoryPage(THost &host, IHistorySource *source, QWidget *parent)
    : QWidget(parent), FCommands(host), FDialogs(host.Dialogs), FPaths(host.Paths),
      FModel(new THistoryTableModel(this)),
      FQueries(new THistoryQueries(SourceOf(source, FOwnSource, host.Paths), this)), FSearchDelay(new QTimer(this)),
      FGrid(new QTableView), FSearch(new QLineEdit), FFrom(DateField(QStringLiteral("DataOd"))),
      FTo(DateField(QStringLiteral("DataDo"))), FSums(new QLabel), FExported(new QLabel) {
  setObjectName(QStringLiteral("HistoryPage"));
  FSearch->setObjectName(QStringLiteral("EdtSzukaj"));
  FSearch->setPlaceholderText(QStringLiteral("Szukaj: odbiorca, NIP, numer faktury albo numer KSeF"));
  FSearch->setClearButtonEnabled(true);
  FFromOn = DateSwitch(QStringLiteral("ChkOd"), QStringLiteral("Od"), FFrom);
  FToOn = DateSwitch(QStringLiteral("ChkDo"), QStringLiteral("Do"), FTo);

  FGrid->setObjectName(QStringLiteral("GridHistoria"));
  ShowAsRowTable(*FGrid, FModel);

  FSums->setObjectName(QStringLiteral("LblSuma"));
  FExported->setObjectName(QStringLiteral("LblEksport"));
  FExported->setTextInteractionFlags(Qt::TextSelectableByMouse);
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
  layout->addWidget(FExported);

  FSearchDelay->setObjectName(QStringLiteral("TmrSzukaj"));
  FSearchDelay->setSingleShot(true);
  FSearchDelay->setInterval(SearchDelayMs);
  connect(FSearchDelay, &QTimer::timeout, this, &THistoryPage::Reload);
  connect(FSearch, &QLineEdit::textChanged, FSearchDelay, qOverload<>(&QTimer::start));
  for (QCheckBox *box : {FFromOn, FToOn})
    connect(box, &QCheckBox::toggled, this, &THistoryPage::Reload);
  for (QDateEdit *date : {FFrom, FTo})
    connect(date, &QDateEdit::dateChanged, this, &THistoryPage::Reload);

  connect(FModel, &THistoryTableModel::MoreWanted, FQueries, &THistoryQueries::FetchMore);
  connect(FQueries, &THistoryQueries::RowsRead, this, &THistoryPage::ShowRows);
  connect(FQueries, &THistoryQueries::Summarized, this, &THistoryPage::ShowSummary);
  connect(FQueries, &THistoryQueries::Failed, this, &THistoryPage::ShowFailure);
  connect(FQueries, &THistoryQueries::Idle, this, &THistoryPage::Shown);

  connect(FGrid, &QTableView::doubleClicked, this, [this](const QModelIndex &index) {
    RunGuarded(FDialogs, [&] { FCommands.OpenArchivedFile(FModel->Entry(index.row())); });
  });
  connect(exportButton, &QPushButton::clicked, this, [this] { RunGuarded(FDialogs, [this] { ExportCsv(); }); });
  connect(withdrawButton, &QPushButton::clicked, this,
          [this] { RunGuarded(FDialogs, [this] { ChangeSelectedFile(&THistoryCommands::PressWithdraw); }); });
  connect(restoreButton, &QPushButton::clicked, this,
          [this] { RunGuarded(FDialogs, [this] { ChangeSelectedFile(&THistoryCommands::PressRestore); }); });
}

THistoryPage::~THistoryPage() {
  // The reading thread ends before the source it reads and the page it writes for go.
  delete FQueries;
}

void THistoryPage::ChangeSelectedFile(bool (THistoryCommands::*press)(const THistoryEntry &)) {
  const QModelIndexList selected = FGrid->selectionModel()->selectedRows();
  if (selected.isEmpty()) {
    FDialogs.ShowInformation(QStringLiteral("Zaznacz w tabeli płatność z pliku, którego to dotyczy."));
    return;
  }
  if ((FCommands.*press)(FModel->Entry(selected.front().row())))
    Reload();
}

void THistoryPage::Reload() {
  FSearchDelay->stop();
  FShownFilter = CurrentFilter();
  FSums->setText(QStringLiteral("Szukam…"));
  FQueries->Start(FShownFilter);
}

bool THistoryPage::Reading() const { return FQueries->Busy(); }

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

void THistoryPage::ShowRows(const std::vector<THistoryEntry> &entries, bool first, bool more) {
  if (!first) {
    FModel->Append(entries, more);
    return;
  }
  FModel->SetEntries(entries, more);
  FGrid->scrollToTop();
  FGrid->resizeColumnsToContents();
}

void THistoryPage::ShowSummary(const THistorySummary &summary) {
  FSums->setText(QStringLiteral("%1; płatności: %2").arg(HistorySumsText(summary.Sums)).arg(summary.Count));
}

void THistoryPage::ShowFailure(const QString &message) {
  FModel->SetEntries({}, false);
  FSums->setText(message);
}

void THistoryPage::ExportCsv() {
  const QString fileName = FCommands.ChooseExportFile();
  if (fileName.isEmpty())
    return;
  FExported->setText(QStringLiteral("Zapisuję do pliku %1…").arg(fileName));
  FQueries->RunAfterReads(
      [paths = FPaths, fileName, filter = FShownFilter] { THistoryCommands::ExportCsv(paths, fileName, filter); },
      [this, fileName](const QString &error) {
        if (!error.isEmpty()) {
          FExported->clear();
          // The page has no log of its own: the user is looking at it.
          FDialogs.ShowError(error);
          return;
        }
        FCommands.ReportExport(fileName);
        FExported->setText(QStringLiteral("Zapisano do pliku: %1").arg(fileName));
      });
}
