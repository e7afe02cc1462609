#include "app/gui/Form2.h"

#include "app/commands/AboutProgram.h"
#include "app/commands/DesktopShortcut.h"
#include "app/commands/PayerDataSettings.h"
#include "app/commands/SplitPaymentSettings.h"
#include "app/gui/Form3.h"
#include "app/gui/BankPage.h"
#include "app/gui/DuePage.h"
#include "app/gui/HistoryPage.h"
#include "app/gui/KsefPage.h"
#include "app/gui/PayerPanel.h"
#include "app/gui/WhiteListPanel.h"
#include "app/gui/ProgramInfo.h"
#include "settings/Settings.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QLabel>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const QString SingleHelp = QStringLiteral(
    "Wybierz plik XML dla faktury zakupowej KSeF, dla której chcesz stworzyć plik dla potrzeb przelewu w formacie "
    "zgodnym z ISO 20022\r\rPotem w ten sposób otrzymany plik będziesz mógł wczytać do programu bankowego.\r\r"
    "Program bankowy w oparciu o ten plik wykona właściwy przelew. ");

const QString BatchHelp = QStringLiteral(
    "Wybierz katalog, w którym znajdują się pliki XML faktur zakupowych, dla których chcesz wygenerować plik dla "
    "potrzeb przelewu w formacie zgodnym z ISO 20022.\r\rPotem w ten sposób otrzymany plik będziesz mógł wczytać do "
    "programu bankowego.\r\rProgram bankowy w oparciu o ten plik wykona właściwy przelew. ");

const QString VideoTelHelp = QStringLiteral(
    "Wybierz plik IMP wygenerowany w standarcie VideoTel, dla którego chcesz stworzyć plik dla potrzeb przelewu w "
    "formacie zgodnym z ISO 20022\r\rPotem w ten sposób otrzymany plik będziesz mógł wczytać do programu "
    "bankowego.\r\rProgram bankowy w oparciu o ten plik wykona właściwy przelew. ");

} // namespace

TForm2::TForm2(const THost &host, TQtLog &log, TBackgroundWork &background, QWidget *parent)
    : QMainWindow(parent), FUi(TForm2Ui::Build(*this)), FHost(host), FLog(log),
      FMPPControls(*FUi.SplitPaymentCheck, *FUi.SplitPaymentFormatGroup, *FUi.SplitPaymentFormatItems),
      FSplitPayment(FMPPControls, FHost.Paths.SettingsFile()), FBankDialog(new TForm3(FHost.Dialogs, this)),
      FBank(FHost, *FUi.Payer, *FUi.Payer, *FUi.BankPage, *FBankDialog), FCommands(FHost), FSendToAuthor(FHost),
      FPdfPreview(FHost), FSecretPrompt(this) {
  setObjectName(QStringLiteral("Form2"));
  resize(900, 640);
  auto *ksefPage = new TKsefPage(FHost, background, FSecretPrompt, FKeyring, FKsefWaiter);
  FUi.KsefArea->layout()->addWidget(ksefPage);
  auto *duePage = new TDuePage(FHost, [this] { return FSplitPayment.Current(); });
  FUi.DueArea->layout()->addWidget(duePage);
  // New downloads join the list.
  connect(ksefPage, &TKsefPage::Finished, duePage, &TDuePage::ListChanged);
  FLog.SetViews({FUi.SingleTransferLog, FUi.TechnicalLog, FUi.BatchTransferLog, FUi.VideoTelLog, ksefPage->Log(),
                 duePage->Log()});
  (new QVBoxLayout(FUi.WhiteListArea))->addWidget(new TWhiteListPanel(FHost, background));
  FUi.WhiteListArea->layout()->setContentsMargins(0, 0, 0, 0);
  FUi.HistoryArea->layout()->addWidget(new THistoryPage(FHost));
  ConnectSingleTransfer();
  ConnectBatchTransfer();
  ConnectVideoTel();
  ConnectTechnicalFunctions();
  ConnectBankRegister();
  ConnectSendToAuthor();

  setWindowTitle(WindowTitle());
  FHost.Paths.CreateWorkDirectories();
  FUi.Pages->setCurrentIndex(0);
  FUi.Payer->SetPayerData(TSettings::LoadCompany(FHost.Paths.SettingsFile()));
  Guarded([this] { FSplitPayment.Load(); });
  Guarded([this] { FBank.Start(); });
  ReportMissingPayerData(FHost);
}

TForm2::~TForm2() = default;

void TForm2::AppendLog(const QString &text, bool withSeparator) { FHost.Log.AppendLog(text, withSeparator); }

const TMPPSettings &TForm2::CurrentMPPSettings() const { return FSplitPayment.Current(); }

void TForm2::closeEvent(QCloseEvent *event) {
  // A settings file that cannot be written must not keep the user from closing the program.
  Guarded([this] { FSplitPayment.Save(); });
  event->accept();
}

void TForm2::ConnectSingleTransfer() {
  OnClick(FUi.ChooseInvoiceFileButton,
          [this] { ChooseFile(*FUi.InvoiceFileField, QStringLiteral("Faktury KSeF (*.xml)")); });
  OnClick(FUi.SingleTransferHelpButton, [this] { FHost.Dialogs.ShowInformation(SingleHelp); });
  OnClick(FUi.CreateSingleTransferButton, [this] {
    FCommands.PressSingle(FUi.InvoiceFileField->text(), FUi.ExtraReferenceField->text(), FSplitPayment.Current());
  });
  OnClick(FUi.InvoicePdfButton, [this] { FPdfPreview.Press(FUi.InvoiceFileField->text()); });
}

void TForm2::ConnectBatchTransfer() {
  OnClick(FUi.ChooseInvoiceDirectoryButton, [this] { ChooseDirectory(*FUi.InvoiceDirectoryField); });
  OnClick(FUi.BatchTransferHelpButton, [this] { FHost.Dialogs.ShowInformation(BatchHelp); });
  OnClick(FUi.CreateBatchTransferButton,
          [this] { FCommands.PressBatch(FUi.InvoiceDirectoryField->text(), FSplitPayment.Current()); });
}

void TForm2::ConnectVideoTel() {
  OnClick(FUi.ChooseVideoTelFileButton,
          [this] { ChooseFile(*FUi.VideoTelFileField, QStringLiteral("Pliki VideoTel (*.imp)")); });
  OnClick(FUi.VideoTelHelpButton, [this] { FHost.Dialogs.ShowInformation(VideoTelHelp); });
  OnClick(FUi.CreateVideoTelTransferButton,
          [this] { FCommands.PressVideoTel(FUi.VideoTelFileField->text(), FSplitPayment); });
  OnClick(FUi.ShowVideoTelFileButton, [this] { FCommands.PressShowVideoTel(FUi.VideoTelFileField->text()); });
}

void TForm2::ConnectTechnicalFunctions() {
  FMPPControls.OnChanges([this] { FSplitPayment.CheckChanged(); }, [this] { FSplitPayment.GroupChanged(); },
                         FHost.Dialogs);
  OnClick(FUi.SplitPaymentHelpButton, [this] { FHost.Dialogs.ShowInformation(TSplitPaymentSettings::HelpText); });
  OnClick(FUi.CreateShortcutButton, [this] { PressCreateDesktopShortcut(FHost); });
  OnClick(FUi.AboutButton, [this] { ShowAbout(FHost); });
  OnClick(FUi.ManualButton, [this] { OpenManual(FHost); });
}

void TForm2::ConnectBankRegister() {
  const auto guarded = [this](auto sender, auto signal, void (TBankRegister::*operation)()) {
    connect(sender, signal, this, [this, operation] { Guarded([this, operation] { (FBank.*operation)(); }); });
  };
  guarded(FUi.Payer, &TPayerPanel::BankChosen, &TBankRegister::CmbBankChange);
  guarded(FUi.Payer, &TPayerPanel::SavePayerDataClicked, &TBankRegister::SavePayerData);
  guarded(FUi.Payer, &TPayerPanel::PayerFieldsEdited, &TBankRegister::ShowPayingAccount);
  guarded(FUi.BankPage, &TBankPage::AddBankClicked, &TBankRegister::AddBank);
  guarded(FUi.BankPage, &TBankPage::EditRequested, &TBankRegister::EditBankRow);
  guarded(FUi.BankPage, &TBankPage::DeleteRequested, &TBankRegister::DeleteLastBankRow);
  guarded(FUi.BankPage, &TBankPage::HelpClicked, &TBankRegister::ShowHelp);
}

void TForm2::ConnectSendToAuthor() {
  OnClick(FUi.ChooseMailFileButton,
          [this] { ChooseFile(*FUi.MailFileField, QStringLiteral("Pliki XML i IMP (*.xml *.imp)")); });
  OnClick(FUi.SendToAuthorHelpButton, [this] { FHost.Dialogs.ShowInformation(TSendToAuthorCommand::HelpText); });
  OnClick(FUi.SendToAuthorButton, [this] {
    const TCompanyData payer = FUi.Payer->PayerData();
    FSendToAuthor.Press(FUi.MailFileField->text(), payer.Name, payer.NIP);
  });
  // A program that cannot send says so at once, instead of after the question.
  const QString unavailable = FSendToAuthor.Unavailable();
  FUi.SendToAuthorButton->setEnabled(unavailable.isEmpty());
  FUi.MailUnavailableLabel->setText(unavailable);
  FUi.MailUnavailableLabel->setVisible(!unavailable.isEmpty());
}

void TForm2::OnClick(QAbstractButton *button, std::function<void()> work) {
  connect(button, &QAbstractButton::clicked, this, [this, work = std::move(work)] { Guarded(work); });
}

void TForm2::Guarded(const std::function<void()> &work) { RunGuarded(FHost.Dialogs, work); }

void TForm2::ChooseFile(QLineEdit &field, const QString &filter) {
  const QString chosen =
      FHost.Dialogs.ChooseFile({QStringLiteral("Wybierz plik"), FHost.Paths.AppDir, filter, field.text()});
  if (!chosen.isEmpty())
    field.setText(chosen);
}

void TForm2::ChooseDirectory(QLineEdit &field) {
  const QString chosen = FHost.Dialogs.ChooseDirectory(QStringLiteral("Wybierz katalog docelowy"));
  if (!chosen.isEmpty())
    field.setText(chosen);
}
