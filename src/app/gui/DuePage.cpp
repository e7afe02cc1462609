#include "app/gui/DuePage.h"

#include "app/commands/DueInvoiceCommands.h"
#include "app/gui/DueQueries.h"
#include "app/gui/DueTableModel.h"
#include "app/gui/PaidOutsideDialog.h"
#include "app/gui/QtLog.h"
#include "model/KsefNumberForm.h"
#include "model/PolishNumbers.h"
#include "model/Text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// How far ahead the list looks at first.
constexpr int DaysAhead = 7;

template <class Widget> Widget *Named(Widget *widget, const QString &name) {
  widget->setObjectName(name);
  return widget;
}

QString SumsText(const QMap<QString, TAmount> &sums) {
  if (sums.isEmpty())
    return QStringLiteral("0,00");
  QStringList parts;
  for (auto sum = sums.cbegin(); sum != sums.cend(); ++sum)
    parts.append(PolishAmount(sum.value()) + u' ' + sum.key());
  return parts.join(QStringLiteral("; "));
}

// The statuses of "CmbStatus", as pavena-cli do-zaplaty --status names them in words.
const std::pair<const char *, std::optional<TDueStatus>> StatusItems[] = {
    {"wszystkie", std::nullopt},
    {"do zapłaty", TDueStatus::ToPay},
    {"w pliku", TDueStatus::InFile},
    {"zapłacona poza programem", TDueStatus::PaidOutside},
    {"nie do przelewu", TDueStatus::NotPayable},
};

} // namespace

TDuePage::TDuePage(THost &host, std::function<TMPPSettings()> splitPayment, TReader reader, QWidget *parent)
    : QWidget(parent), FHost(host), FSplitPayment(std::move(splitPayment)), FReader(std::move(reader)),
      FFiles(host.Paths), FModel(new TDueTableModel(this)), FQueries(new TDueQueries(this)),
      FTypingDelay(Named(new QTimer(this), QStringLiteral("TmrFiltr"))),
      FStatus(Named(new QComboBox, QStringLiteral("CmbStatus"))),
      FDueUpToOn(Named(new QCheckBox(QStringLiteral("Termin do")), QStringLiteral("ChkTerminDo"))),
      FDueUpTo(Named(new QDateEdit(host.Now().date().addDays(DaysAhead)), QStringLiteral("DataTerminDo"))),
      FSeller(Named(new QLineEdit, QStringLiteral("EdtSprzedawca"))),
      FSearch(Named(new QLineEdit, QStringLiteral("EdtSzukaj"))),
      FGrid(Named(new QTableView, QStringLiteral("GridDoZaplaty"))),
      FSums(Named(new QLabel, QStringLiteral("LblSumy"))), FLog(TQtLog::NewView(QStringLiteral("MemoDoZaplaty"))) {
  setObjectName(QStringLiteral("DuePage"));
  if (!FReader)
    FReader = [paths = host.Paths, now = host.Now](IDueInvoiceSource &files, const TCancellation &cancellation) {
      return ReadDueInvoices(paths, files, now(), &cancellation);
    };
  for (const auto &[text, status] : StatusItems)
    FStatus->addItem(QString::fromUtf8(text));
  FDueUpToOn->setChecked(true);
  FDueUpTo->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
  FDueUpTo->setCalendarPopup(true);
  connect(FDueUpToOn, &QCheckBox::toggled, FDueUpTo, &QWidget::setEnabled);
  FSeller->setPlaceholderText(QStringLiteral("Sprzedawca albo NIP"));
  FSeller->setClearButtonEnabled(true);
  FSearch->setPlaceholderText(QStringLiteral("Szukaj: numer faktury, numer KSeF, rachunek, status"));
  FSearch->setClearButtonEnabled(true);

  FGrid->setModel(FModel);
  FGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
  FGrid->setSelectionMode(QAbstractItemView::SingleSelection);
  FGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  FGrid->verticalHeader()->hide();
  FGrid->horizontalHeader()->setStretchLastSection(true);
  FGrid->horizontalHeader()->setResizeContentsPrecision(0);
  FSums->setWordWrap(true);

  auto *create = Named(new QPushButton(QStringLiteral("Utwórz plik przelewów")), QStringLiteral("BtnUtworzPlik"));
  auto *mark = Named(new QPushButton(QStringLiteral("Oznacz jako zapłacone poza programem…")),
                     QStringLiteral("BtnOznaczZaplacone"));
  auto *undo = Named(new QPushButton(QStringLiteral("Cofnij oznaczenie")), QStringLiteral("BtnCofnijOznaczenie"));
  auto *addFolder =
      Named(new QPushButton(QStringLiteral("Dodaj faktury z folderu…")), QStringLiteral("BtnDodajFolder"));
  auto *refresh = Named(new QPushButton(QStringLiteral("Odśwież")), QStringLiteral("BtnOdswiez"));

  auto *filters = new QHBoxLayout;
  filters->addWidget(new QLabel(QStringLiteral("Status")));
  filters->addWidget(FStatus);
  filters->addWidget(FDueUpToOn);
  filters->addWidget(FDueUpTo);
  filters->addWidget(FSeller, 1);
  filters->addWidget(FSearch, 2);
  auto *actions = new QHBoxLayout;
  for (QPushButton *button : {create, mark, undo, addFolder, refresh})
    actions->addWidget(button);
  actions->addStretch(1);
  auto *layout = new QVBoxLayout(this);
  layout->addLayout(filters);
  layout->addWidget(FGrid, 3);
  layout->addWidget(FSums);
  layout->addLayout(actions);
  layout->addWidget(FLog, 1);

  FTypingDelay->setSingleShot(true);
  FTypingDelay->setInterval(SearchDelayMs);
  connect(FTypingDelay, &QTimer::timeout, this, &TDuePage::ApplyFilter);
  for (QLineEdit *field : {FSeller, FSearch})
    connect(field, &QLineEdit::textChanged, FTypingDelay, qOverload<>(&QTimer::start));
  connect(FStatus, &QComboBox::currentIndexChanged, this, &TDuePage::ApplyFilter);
  connect(FDueUpToOn, &QCheckBox::toggled, this, &TDuePage::ApplyFilter);
  connect(FDueUpTo, &QDateEdit::dateChanged, this, &TDuePage::ApplyFilter);

  connect(FModel, &TDueTableModel::TicksChanged, this, &TDuePage::ShowSums);
  connect(FQueries, &TDueQueries::Listed, this, &TDuePage::ShowListing);
  connect(FQueries, &TDueQueries::Failed, this, [this](const QString &message) {
    FSums->setText(message);
    FHost.Log.AppendError(message);
  });
  connect(FQueries, &TDueQueries::Idle, this, &TDuePage::Shown);

  const auto guarded = [this](QPushButton *button, void (TDuePage::*press)()) {
    connect(button, &QPushButton::clicked, this,
            [this, press] { RunGuarded(FHost.Dialogs, [&] { (this->*press)(); }); });
  };
  guarded(create, &TDuePage::CreateTransferFile);
  guarded(mark, &TDuePage::MarkSelected);
  guarded(undo, &TDuePage::UndoSelectedMark);
  guarded(addFolder, &TDuePage::AddFolder);
  guarded(refresh, &TDuePage::Reload);
}

TDuePage::~TDuePage() {
  // The reading thread ends before the page it answers goes.
  delete FQueries;
}

void TDuePage::showEvent(QShowEvent *event) {
  QWidget::showEvent(event);
  if (!FRead)
    Reload();
}

void TDuePage::Reload() {
  FRead = true;
  FTypingDelay->stop();
  FSums->setText(QStringLiteral("Czytam faktury…"));
  FQueries->Load([reader = FReader,
                  files = FFiles](const TCancellation &cancellation) mutable { return reader(files, cancellation); },
                 CurrentFilter());
}

void TDuePage::ListChanged() {
  if (isVisible())
    Reload();
  else
    FRead = false;
}

bool TDuePage::Reading() const { return FQueries->Busy(); }

TDueFilter TDuePage::CurrentFilter() const {
  TDueFilter filter;
  filter.Status = StatusItems[std::max(0, FStatus->currentIndex())].second;
  if (FDueUpToOn->isChecked())
    filter.DueUpTo = FDueUpTo->date();
  filter.Seller = FSeller->text();
  filter.Search = FSearch->text();
  return filter;
}

void TDuePage::ApplyFilter() {
  FTypingDelay->stop();
  if (FRead)
    FQueries->Filter(CurrentFilter());
}

void TDuePage::ShowListing(const TDueListing &listing) {
  FShownSums = listing.ShownSums;
  FModel->SetListing(listing, FHost.Now().date());
  FGrid->resizeColumnsToContents();
}

void TDuePage::ShowSums() {
  const std::vector<TDueInvoice> ticked = FModel->Ticked();
  std::vector<const TDueInvoice *> tickedPointers;
  for (const TDueInvoice &invoice : ticked)
    tickedPointers.push_back(&invoice);
  FSums->setText(QStringLiteral("Zaznaczone: %1, do zapłaty %2. Pokazane: %3, do zapłaty %4.")
                     .arg(ticked.size())
                     .arg(SumsText(DueSums(tickedPointers)))
                     .arg(FModel->rowCount())
                     .arg(SumsText(FShownSums)));
}

void TDuePage::CreateTransferFile() {
  const std::vector<TDueInvoice> ticked = FModel->Ticked();
  if (ticked.empty()) {
    FHost.Dialogs.ShowInformation(
        QStringLiteral("Zaznacz w tabeli faktury, które mają się znaleźć w pliku przelewów."));
    return;
  }
  CreateDueTransfer(FHost, ticked, FSplitPayment());
  // Also when nothing was written: another window or run may have paid some of them first.
  Reload();
}

std::optional<TDueInvoice> TDuePage::SelectedKsefInvoice() {
  const QModelIndexList selected = FGrid->selectionModel()->selectedRows();
  if (selected.isEmpty()) {
    FHost.Dialogs.ShowInformation(QStringLiteral("Zaznacz w tabeli fakturę, której to dotyczy."));
    return std::nullopt;
  }
  const TDueInvoice &invoice = FModel->Invoice(selected.front().row());
  if (!IsKsefNumber(Trim(invoice.Payment.nrKsef))) {
    FHost.Dialogs.ShowInformation(
        QStringLiteral("Jako zapłaconą poza programem można oznaczyć tylko fakturę z numerem KSeF."));
    return std::nullopt;
  }
  return invoice;
}

void TDuePage::MarkSelected() {
  // A copy: the list may be read again while the dialog is open.
  const std::optional<TDueInvoice> invoice = SelectedKsefInvoice();
  if (!invoice)
    return;
  const std::optional<TPaidOutside> paid = AskPaidOutside(
      this,
      QStringLiteral("Faktura %1 (KSeF %2), %3")
          .arg(invoice->Payment.InvoiceNumber, Trim(invoice->Payment.nrKsef), invoice->Payment.CreditorName),
      FHost.Now().date());
  if (!paid)
    return;
  FHost.Log.AppendLog(MarkPaidOutside(FHost.Paths, invoice->Payment.nrKsef, paid->Note, paid->PaidOn.startOfDay()),
                      true);
  Reload();
}

void TDuePage::UndoSelectedMark() {
  if (const std::optional<TDueInvoice> invoice = SelectedKsefInvoice()) {
    FHost.Log.AppendLog(UndoPaidOutside(FHost.Paths, invoice->Payment.nrKsef), true);
    Reload();
  }
}

void TDuePage::AddFolder() {
  const QString folder = FHost.Dialogs.ChooseDirectory(QStringLiteral("Dodaj faktury z folderu"));
  if (folder.isEmpty())
    return;
  FFiles.AddFolder(folder);
  Reload();
}
