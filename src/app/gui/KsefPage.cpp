#include "app/gui/KsefPage.h"

#include "app/commands/KsefInvoiceJournal.h"
#include "app/gui/QtLog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

template <class Widget> Widget *Named(Widget *widget, const QString &name) {
  widget->setObjectName(name);
  return widget;
}

QDateEdit *DateField(const QString &name, QDate day) {
  auto *field = Named(new QDateEdit(day), name);
  field->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
  field->setCalendarPopup(true);
  field->setEnabled(false);
  return field;
}

QCheckBox *DateSwitch(const QString &name, const QString &text, QDateEdit *date) {
  auto *box = Named(new QCheckBox(text), name);
  QObject::connect(box, &QCheckBox::toggled, date, &QWidget::setEnabled);
  return box;
}

} // namespace

TKsefPage::TKsefPage(THost &host, TBackgroundWork &background, ISecretPrompt &prompt, IKeyring &keyring,
                     IKsefWaiter &waiter, QWidget *parent)
    : QWidget(parent), FHost(host), FBackground(background), FWaiter(waiter), FCommand(host, prompt, keyring),
      FEnvironment(Named(new QComboBox, QStringLiteral("CmbKsefSrodowisko"))),
      FByCertificate(Named(new QRadioButton(QStringLiteral("Certyfikat KSeF, pieczęć albo podpis kwalifikowany")),
                           QStringLiteral("RbKsefCertyfikat"))),
      FByToken(Named(new QRadioButton(QStringLiteral("Token KSeF")), QStringLiteral("RbKsefToken"))),
      FCertificate(Named(new QLineEdit, QStringLiteral("EdtKsefCertyfikat"))),
      FChooseCertificate(Named(new QPushButton(QStringLiteral("...")), QStringLiteral("BtnKsefCertyfikat"))),
      FKey(Named(new QLineEdit, QStringLiteral("EdtKsefKlucz"))),
      FChooseKey(Named(new QPushButton(QStringLiteral("...")), QStringLiteral("BtnKsefKlucz"))),
      FFrom(DateField(QStringLiteral("DataKsefOd"), host.Now().date())),
      FTo(DateField(QStringLiteral("DataKsefDo"), host.Now().date())),
      FStart(Named(new QLabel, QStringLiteral("LblKsefStart"))),
      FDownload(Named(new QPushButton(QStringLiteral("Pobierz")), QStringLiteral("BtnKsefPobierz"))),
      FInvoices(Named(new QTableWidget(0, 5), QStringLiteral("GridKsef"))),
      FLog(TQtLog::NewView(QStringLiteral("MemoKsef"))) {
  setObjectName(QStringLiteral("KsefPage"));
  FEnvironment->addItems({QStringLiteral("testowe"), QStringLiteral("demo"), QStringLiteral("produkcyjne")});
  auto *methods = new QButtonGroup(this);
  methods->addButton(FByCertificate);
  methods->addButton(FByToken);
  FCertificate->setPlaceholderText(QStringLiteral("certyfikat PEM albo plik PKCS#12 (.p12, .pfx)"));
  FKey->setPlaceholderText(QStringLiteral("klucz prywatny PEM; pusty przy pliku PKCS#12"));
  FFromOn = DateSwitch(QStringLiteral("ChkKsefOd"), QStringLiteral("Od"), FFrom);
  FToOn = DateSwitch(QStringLiteral("ChkKsefDo"), QStringLiteral("Do"), FTo);
  FStart->setWordWrap(true);

  FInvoices->setHorizontalHeaderLabels({QStringLiteral("Numer KSeF"), QStringLiteral("Sprzedawca"),
                                        QStringLiteral("Numer faktury"), QStringLiteral("Kwota brutto"),
                                        QStringLiteral("Stan")});
  FInvoices->setEditTriggers(QAbstractItemView::NoEditTriggers);
  FInvoices->setSelectionBehavior(QAbstractItemView::SelectRows);
  FInvoices->verticalHeader()->hide();
  FInvoices->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);

  auto *login = new QGroupBox(QStringLiteral("Logowanie do KSeF"));
  auto *grid = new QGridLayout(login);
  grid->addWidget(new QLabel(QStringLiteral("Środowisko")), 0, 0);
  grid->addWidget(FEnvironment, 0, 1, Qt::AlignLeft);
  auto *methodRow = new QHBoxLayout;
  methodRow->addWidget(FByCertificate);
  methodRow->addWidget(FByToken);
  methodRow->addStretch(1);
  grid->addLayout(methodRow, 1, 1);
  const auto addFileRow = [grid](int row, const QString &label, QLineEdit *field, QPushButton *choose) {
    auto *caption = new QLabel(label);
    caption->setBuddy(field);
    grid->addWidget(caption, row, 0);
    auto *line = new QHBoxLayout;
    line->addWidget(field, 1);
    line->addWidget(choose);
    grid->addLayout(line, row, 1);
  };
  addFileRow(2, QStringLiteral("Certyfikat"), FCertificate, FChooseCertificate);
  addFileRow(3, QStringLiteral("Klucz prywatny"), FKey, FChooseKey);
  grid->setColumnStretch(1, 1);

  auto *range = new QHBoxLayout;
  for (QWidget *widget : std::initializer_list<QWidget *>{FFromOn, FFrom, FToOn, FTo, FDownload})
    range->addWidget(widget);
  range->addStretch(1);
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(login);
  layout->addLayout(range);
  layout->addWidget(FStart);
  layout->addWidget(FInvoices, 3);
  layout->addWidget(FLog, 1);

  ShowSettings(TKsefPageSettings::Load(FHost.Paths.SettingsFile()));
  connect(FByCertificate, &QRadioButton::toggled, this, &TKsefPage::ShowMethod);
  connect(FEnvironment, &QComboBox::currentTextChanged, this,
          [this] { RunGuarded(FHost.Dialogs, [this] { ShowStart(); }); });
  connect(FChooseCertificate, &QPushButton::clicked, this, [this] {
    ChooseFile(*FCertificate, QStringLiteral("Wybierz certyfikat KSeF"),
               QStringLiteral("Certyfikaty (*.pem *.crt *.cer *.p12 *.pfx)"));
  });
  connect(FChooseKey, &QPushButton::clicked, this, [this] {
    ChooseFile(*FKey, QStringLiteral("Wybierz klucz prywatny certyfikatu"), QStringLiteral("Klucze PEM (*.pem *.key)"));
  });
  connect(FDownload, &QPushButton::clicked, this, [this] { RunGuarded(FHost.Dialogs, [this] { Download(); }); });
}

void TKsefPage::ShowSettings(const TKsefPageSettings &settings) {
  if (FEnvironment->findText(settings.Environment) < 0)
    // Shown as it is, so that a download names what is wrong with it.
    FEnvironment->addItem(settings.Environment);
  FEnvironment->setCurrentText(settings.Environment);
  (settings.Method == TKsefLoginMethod::Token ? FByToken : FByCertificate)->setChecked(true);
  FCertificate->setText(settings.Certificate);
  FKey->setText(settings.Key);
  ShowMethod();
  RunGuarded(FHost.Dialogs, [this] { ShowStart(); });
}

TKsefPageSettings TKsefPage::CurrentSettings() const {
  TKsefPageSettings settings;
  settings.Environment = FEnvironment->currentText();
  settings.Method = FByToken->isChecked() ? TKsefLoginMethod::Token : TKsefLoginMethod::Certificate;
  settings.Certificate = FCertificate->text().trimmed();
  settings.Key = FKey->text().trimmed();
  return settings;
}

TKsefDownloadRequest TKsefPage::CurrentRequest() const {
  TKsefDownloadRequest request;
  if (FFromOn->isChecked())
    request.From = FFrom->date();
  if (FToOn->isChecked())
    request.To = FTo->date();
  return request;
}

void TKsefPage::ShowMethod() {
  const bool byCertificate = FByCertificate->isChecked();
  for (QWidget *widget : std::initializer_list<QWidget *>{FCertificate, FChooseCertificate, FKey, FChooseKey})
    widget->setEnabled(byCertificate);
}

void TKsefPage::ShowStart() { FStart->setText(FCommand.StartText(FEnvironment->currentText())); }

void TKsefPage::ChooseFile(QLineEdit &field, const QString &title, const QString &filter) {
  RunGuarded(FHost.Dialogs, [&] {
    const QString chosen = FHost.Dialogs.ChooseFile({title, {}, filter, field.text()});
    if (!chosen.isEmpty())
      field.setText(chosen);
  });
}

void TKsefPage::Download() {
  // The keyring answers in an event loop of its own: meanwhile a second click must not start
  // a second download.
  FDownload->setEnabled(false);
  const std::unique_ptr<QPushButton, void (*)(QPushButton *)> enableAgain(
      FDownload, [](QPushButton *button) { button->setEnabled(true); });
  const std::unique_ptr<IKsefLogin> login = FCommand.PrepareLogin(CurrentSettings());
  if (!login)
    return;
  const TAppPaths paths = FHost.Paths;
  const QDateTime now = FHost.Now();
  const TKsefDownloadRequest request = CurrentRequest();
  TKsefDownloadOutcome outcome;
  FBackground.Run(QStringLiteral("Pobieranie faktur z KSeF"), [&](TBackgroundTask &task) {
    outcome = DownloadAndRecordKsefInvoices(paths, now, *login, request, task, FWaiter);
  });
  ShowInvoices(outcome);
  FCommand.SettleSecret(outcome);
  FCommand.LogOutcome(outcome);
  ShowStart();
  emit Finished();
}

void TKsefPage::ShowInvoices(const TKsefDownloadOutcome &outcome) {
  const QList<QStringList> rows = TKsefPageCommand::InvoiceRows(outcome);
  FInvoices->setRowCount(int(rows.size()));
  for (int row = 0; row < int(rows.size()); ++row)
    for (int column = 0; column < int(rows[row].size()); ++column)
      FInvoices->setItem(row, column, new QTableWidgetItem(rows[row][column]));
  FInvoices->resizeColumnsToContents();
}
