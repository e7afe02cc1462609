#include "app/gui/Form2.h"

#include "app/commands/AboutProgram.h"
#include "app/commands/BankRegister.h"
#include "app/commands/DesktopShortcut.h"
#include "app/commands/PayerDataSettings.h"
#include "app/commands/SplitPaymentSettings.h"
#include "app/gui/BankDialog.h"
#include "app/gui/BankPage.h"
#include "app/gui/HistoryPage.h"
#include "app/gui/PayerPanel.h"
#include "app/gui/WhiteListPanel.h"
#include "app/gui/ProgramInfo.h"
#include "app/gui/QtMPPControls.h"
#include "settings/Settings.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QGroupBox>
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

struct TForm2::TLaterPages {
  TLaterPages(THost &host, const TForm2Ui &ui, QWidget *window)
      : MPPControls(*ui.ChkMPP, *ui.RGrpMPP, *ui.RGrpMPPItems), SplitPayment(MPPControls, host.Paths.SettingsFile()),
        Payer(new TPayerPanel), BankPage(new TBankPage), BankDialog(new TForm3(host.Dialogs, window)),
        Bank(host, *Payer, *Payer, *BankPage, *BankDialog) {}

  TQtMPPControls MPPControls;
  TSplitPaymentSettings SplitPayment;
  TPayerPanel *Payer;
  TBankPage *BankPage;
  TForm3 *BankDialog;
  TBankRegister Bank;
};

TForm2::TForm2(const THost &host, TQtLog &log, QWidget *parent)
    : QMainWindow(parent), FUi(TForm2Ui::Build(*this)), FHost(host), FLog(log), FCommands(FHost), FSendToAuthor(FHost),
      FPdfPreview(FHost) {
  setObjectName(QStringLiteral("Form2"));
  resize(900, 640);
  ConnectFirstPage();
  // No later page is shown empty, whatever comes first: the tab or the first paint.
  connect(FUi.Pages, &QTabWidget::currentChanged, this, [this] { LaterPages(); });
  FRestOfStartUp.emplace(*this, [this] { LaterPages(); });

  setWindowTitle(WindowTitle());
  FHost.Paths.CreateWorkDirectories();
  FUi.Pages->setCurrentIndex(0);
}

TForm2::~TForm2() = default;

TForm2::TLaterPages &TForm2::LaterPages() {
  if (!FLater)
    StartLaterPages();
  return *FLater;
}

void TForm2::StartLaterPages() {
  FUi.BuildLaterPages();
  FLater = std::make_unique<TLaterPages>(FHost, FUi, this);
  FLog.SetViews({FUi.MemoLog, FUi.MemoTech, FUi.MemoPaczka, FUi.MemoVideoTel});
  FLater->MPPControls.OnChanges([this] { FLater->SplitPayment.CheckChanged(); },
                                [this] { FLater->SplitPayment.GroupChanged(); }, FHost.Dialogs);
  (new QVBoxLayout(FUi.GrpPlatnik))->addWidget(FLater->Payer);
  (new QVBoxLayout(FUi.PnlBialaLista))->addWidget(new TWhiteListPanel(FHost));
  FUi.PnlBialaLista->layout()->setContentsMargins(0, 0, 0, 0);
  qobject_cast<QBoxLayout *>(FUi.PageBanki->layout())->insertWidget(0, FLater->BankPage, 1);
  FUi.PageHistoria->layout()->addWidget(new THistoryPage(FHost));
  ConnectLaterPages();

  FLater->Payer->SetPayerData(TSettings::LoadCompany(FHost.Paths.SettingsFile()));
  Guarded([this] { FLater->SplitPayment.Load(); });
  Guarded([this] { FLater->Bank.Start(); });
  ReportMissingPayerData(FHost);
}

void TForm2::AppendLog(const QString &text, bool withSeparator) {
  LaterPages();
  FHost.Log.AppendLog(text, withSeparator);
}

const TMPPSettings &TForm2::CurrentMPPSettings() { return LaterPages().SplitPayment.Current(); }

void TForm2::closeEvent(QCloseEvent *event) {
  // A settings file that cannot be written must not keep the user from closing the program.
  if (FLater)
    Guarded([this] { FLater->SplitPayment.Save(); });
  else
    FRestOfStartUp.reset();
  event->accept();
}

void TForm2::ConnectFirstPage() {
  OnClick(FUi.BtnSciezkaPlik,
          [this] { ChooseFile(*FUi.EdtSciezkaDoPlikuXML, QStringLiteral("Faktury KSeF (*.xml)")); });
  OnClick(FUi.BitBtn4, [this] { FHost.Dialogs.ShowInformation(SingleHelp); });
  OnClick(FUi.Button1, [this] {
    FCommands.PressSingle(FUi.EdtSciezkaDoPlikuXML->text(), FUi.EdtDodReferencja->text(),
                          FLater->SplitPayment.Current());
  });
  OnClick(FUi.BtnPodgladPDF, [this] { FPdfPreview.Press(FUi.EdtSciezkaDoPlikuXML->text()); });
}

void TForm2::ConnectLaterPages() {
  OnClick(FUi.Button3, [this] { ChooseDirectory(*FUi.EdtSciezkaDoKatalogu2); });
  OnClick(FUi.BitBtn1, [this] { FHost.Dialogs.ShowInformation(BatchHelp); });
  OnClick(FUi.Button4,
          [this] { FCommands.PressBatch(FUi.EdtSciezkaDoKatalogu2->text(), FLater->SplitPayment.Current()); });

  OnClick(FUi.Button2,
          [this] { ChooseFile(*FUi.EdtSciezkaDoPlikuVideoTel, QStringLiteral("Pliki VideoTel (*.imp)")); });
  OnClick(FUi.BitBtn5, [this] { FHost.Dialogs.ShowInformation(VideoTelHelp); });
  OnClick(FUi.Button5,
          [this] { FCommands.PressVideoTel(FUi.EdtSciezkaDoPlikuVideoTel->text(), FLater->SplitPayment); });
  OnClick(FUi.Button9, [this] { FCommands.PressShowVideoTel(FUi.EdtSciezkaDoPlikuVideoTel->text()); });

  OnClick(FUi.BtnPomocMPP, [this] { FHost.Dialogs.ShowInformation(TSplitPaymentSettings::HelpText); });
  OnClick(FUi.BtnUtworzSkrot, [this] { PressCreateDesktopShortcut(FHost); });
  OnClick(FUi.BtnInformacja, [this] { ShowAbout(FHost); });
  OnClick(FUi.BtnInstrukcja, [this] { OpenManual(FHost); });
  ConnectBankRegister();
  ConnectSendToAuthor();
}

void TForm2::ConnectBankRegister() {
  const auto guarded = [this](auto sender, auto signal, void (TBankRegister::*operation)()) {
    connect(sender, signal, this, [this, operation] { Guarded([this, operation] { (FLater->Bank.*operation)(); }); });
  };
  guarded(FLater->Payer, &TPayerPanel::BankChosen, &TBankRegister::CmbBankChange);
  guarded(FLater->Payer, &TPayerPanel::SavePayerDataClicked, &TBankRegister::SavePayerData);
  guarded(FLater->BankPage, &TBankPage::AddBankClicked, &TBankRegister::AddBank);
  guarded(FLater->BankPage, &TBankPage::EditRequested, &TBankRegister::EditBankRow);
  guarded(FLater->BankPage, &TBankPage::DeleteRequested, &TBankRegister::DeleteLastBankRow);
  guarded(FLater->BankPage, &TBankPage::HelpClicked, &TBankRegister::ShowHelp);
}

void TForm2::ConnectSendToAuthor() {
  OnClick(FUi.BtnSciezkaMail,
          [this] { ChooseFile(*FUi.EdtSciezkaDoPlikuMail, QStringLiteral("Pliki XML i IMP (*.xml *.imp)")); });
  OnClick(FUi.BtnPomocMail, [this] { FHost.Dialogs.ShowInformation(TSendToAuthorCommand::HelpText); });
  OnClick(FUi.BtnWyslijMail, [this] {
    const TCompanyData payer = FLater->Payer->PayerData();
    FSendToAuthor.Press(FUi.EdtSciezkaDoPlikuMail->text(), payer.Name, payer.NIP);
  });
  // A program that cannot send says so at once, instead of after the question.
  const QString unavailable = FSendToAuthor.Unavailable();
  FUi.BtnWyslijMail->setEnabled(unavailable.isEmpty());
  FUi.LblWysylkaNiedostepna->setText(unavailable);
  FUi.LblWysylkaNiedostepna->setVisible(!unavailable.isEmpty());
}

void TForm2::OnClick(QAbstractButton *button, std::function<void()> work) {
  // A click on the first page may come before the rest of the start-up has run: the command
  // still finds the stored split-payment choice and every page's log in place.
  connect(button, &QAbstractButton::clicked, this, [this, work = std::move(work)] {
    LaterPages();
    Guarded(work);
  });
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
