#include "app/gui/Form2Ui.h"

#include "app/gui/BankPage.h"
#include "app/gui/PayerPanel.h"
#include "app/gui/QtLog.h"
#include "model/Text.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>
#include <iterator>

namespace {

QPushButton *NewButton(const QString &name, const QString &caption) {
  auto *button = new QPushButton(caption);
  button->setObjectName(name);
  return button;
}

QPushButton *NewHelpButton(const QString &name) {
  auto *button = new QPushButton;
  button->setObjectName(name);
  button->setIcon(QApplication::style()->standardIcon(QStyle::SP_MessageBoxQuestion));
  return button;
}

QLineEdit *NewField(const QString &name) {
  auto *field = new QLineEdit;
  field->setObjectName(name);
  return field;
}

// A labelled path field with its "..." chooser and its question-mark help button on one row.
void AddPathRow(QVBoxLayout &layout, const QString &label, QLineEdit *field, QPushButton *choose, QPushButton *help) {
  auto *caption = new QLabel(label);
  caption->setBuddy(field);
  layout.addWidget(caption);
  auto *row = new QHBoxLayout;
  row->addWidget(field, 1);
  row->addWidget(choose);
  row->addWidget(help);
  layout.addLayout(row);
}

void AddLabelledField(QVBoxLayout &layout, const QString &label, QLineEdit *field) {
  auto *caption = new QLabel(label);
  caption->setBuddy(field);
  layout.addWidget(caption);
  layout.addWidget(field);
}

// The frame of the pages with a log: a scrollable area, the page's input controls at the top
// and, below them, a group holding the page's log.
QWidget *NewLogPage(QWidget *inputs, QPlainTextEdit *log) {
  auto *logGroup = new QGroupBox;
  (new QVBoxLayout(logGroup))->addWidget(log);
  auto *content = new QWidget;
  auto *page = new QScrollArea;
  page->setWidgetResizable(true);
  page->setFrameShape(QFrame::NoFrame);
  // The content goes in while still empty: the scroll area would measure a filled one at once,
  // and the window measures it again when it lays itself out.
  page->setWidget(content);
  auto *layout = new QVBoxLayout(content);
  layout->addWidget(inputs);
  layout->addWidget(logGroup, 1);
  return page;
}

QWidget *BuildSinglePage(TForm2Ui &ui) {
  auto *inputs = new QGroupBox;
  auto *layout = new QVBoxLayout(inputs);
  ui.InvoiceFileField = NewField(QStringLiteral("EdtSciezkaDoPlikuXML"));
  ui.ChooseInvoiceFileButton = NewButton(QStringLiteral("BtnSciezkaPlik"), QStringLiteral("..."));
  ui.SingleTransferHelpButton = NewHelpButton(QStringLiteral("BitBtn4"));
  AddPathRow(*layout, QStringLiteral("Ścieżka do pliku XML faktury zakupowej KSeF"), ui.InvoiceFileField,
             ui.ChooseInvoiceFileButton, ui.SingleTransferHelpButton);
  ui.CreateSingleTransferButton = NewButton(
      QStringLiteral("Button1"), QStringLiteral("Stwórz plik przelewu  bankowego  ISO20022 dla pojedynczej faktury"));
  layout->addWidget(ui.CreateSingleTransferButton);
  ui.ExtraReferenceField = NewField(QStringLiteral("EdtDodReferencja"));
  AddLabelledField(*layout, QStringLiteral("Dodatkowa własna referencja do przelewu"), ui.ExtraReferenceField);
  ui.InvoicePdfButton = NewButton(QStringLiteral("BtnPodgladPDF"),
                                  QStringLiteral("Stwórz plik PDF dla pojedynczej faktury i wyświetl go"));
  layout->addWidget(ui.InvoicePdfButton);
  ui.SingleTransferLog = TQtLog::NewView(QStringLiteral("MemoLog"));
  return NewLogPage(inputs, ui.SingleTransferLog);
}

QWidget *BuildBatchPage(TForm2Ui &ui) {
  auto *inputs = new QGroupBox;
  auto *layout = new QVBoxLayout(inputs);
  ui.InvoiceDirectoryField = NewField(QStringLiteral("EdtSciezkaDoKatalogu2"));
  ui.ChooseInvoiceDirectoryButton = NewButton(QStringLiteral("Button3"), QStringLiteral("..."));
  ui.BatchTransferHelpButton = NewHelpButton(QStringLiteral("BitBtn1"));
  AddPathRow(*layout, QStringLiteral("Ścieżka do katalogu z plikami XML faktur zakupowych"), ui.InvoiceDirectoryField,
             ui.ChooseInvoiceDirectoryButton, ui.BatchTransferHelpButton);
  ui.CreateBatchTransferButton = NewButton(
      QStringLiteral("Button4"), QStringLiteral("Stwórz plik przelewu  bankowego ISO20022 dla paczki faktur"));
  layout->addWidget(ui.CreateBatchTransferButton);
  ui.BatchTransferLog = TQtLog::NewView(QStringLiteral("MemoPaczka"));
  return NewLogPage(inputs, ui.BatchTransferLog);
}

QWidget *BuildVideoTelPage(TForm2Ui &ui) {
  auto *inputs = new QGroupBox;
  auto *layout = new QVBoxLayout(inputs);
  ui.VideoTelFileField = NewField(QStringLiteral("EdtSciezkaDoPlikuVideoTel"));
  ui.ChooseVideoTelFileButton = NewButton(QStringLiteral("Button2"), QStringLiteral("..."));
  ui.VideoTelHelpButton = NewHelpButton(QStringLiteral("BitBtn5"));
  AddPathRow(*layout, QStringLiteral("Ścieżka do pliku w formacie VideoTel"), ui.VideoTelFileField,
             ui.ChooseVideoTelFileButton, ui.VideoTelHelpButton);
  ui.CreateVideoTelTransferButton =
      NewButton(QStringLiteral("Button5"),
                QStringLiteral("Stwórz plik przelewu  bankowego  ISO20022 dla pliku w formacie VideoTel"));
  ui.ShowVideoTelFileButton = NewButton(
      QStringLiteral("Button9"), QStringLiteral("Wyświetl zawartość wybranego pliku w formacie VideoTel-a   (IMP)"));
  layout->addWidget(ui.CreateVideoTelTransferButton);
  layout->addWidget(ui.ShowVideoTelFileButton);
  ui.VideoTelLog = TQtLog::NewView(QStringLiteral("MemoVideoTel"));
  return NewLogPage(inputs, ui.VideoTelLog);
}

QWidget *BuildTechnicalPage(TForm2Ui &ui) {
  auto *inputs = new QGroupBox;
  auto *layout = new QVBoxLayout(inputs);
  ui.PayerGroup = new QGroupBox;
  ui.PayerGroup->setObjectName(QStringLiteral("GrpPlatnik"));
  ui.Payer = new TPayerPanel;
  (new QVBoxLayout(ui.PayerGroup))->addWidget(ui.Payer);
  layout->addWidget(ui.PayerGroup);

  ui.SplitPaymentCheck = new QCheckBox(QStringLiteral("MPP"));
  ui.SplitPaymentCheck->setObjectName(QStringLiteral("ChkMPP"));
  ui.SplitPaymentFormatGroup = new QGroupBox(QStringLiteral("Format MPP"));
  ui.SplitPaymentFormatGroup->setObjectName(QStringLiteral("RGrpMPP"));
  // The button group numbers the items by their index and reports every change of selection.
  ui.SplitPaymentFormatItems = new QButtonGroup(ui.SplitPaymentFormatGroup);
  auto *items = new QVBoxLayout(ui.SplitPaymentFormatGroup);
  const QString captions[] = {QStringLiteral("Bez Struktury"), QStringLiteral("Struktura"), QStringLiteral("Oba"),
                              QStringLiteral("Standard bankowy (/VAT/…/IDC/…/INV/…/TXT/…)")};
  for (int index = 0; index < int(std::size(captions)); ++index) {
    auto *item = new QRadioButton(captions[index]);
    ui.SplitPaymentFormatItems->addButton(item, index);
    items->addWidget(item);
  }
  ui.SplitPaymentHelpButton = NewHelpButton(QStringLiteral("BtnPomocMPP"));
  auto *mppRow = new QHBoxLayout;
  mppRow->addWidget(ui.SplitPaymentCheck, 0, Qt::AlignTop);
  mppRow->addWidget(ui.SplitPaymentFormatGroup);
  mppRow->addWidget(ui.SplitPaymentHelpButton, 0, Qt::AlignTop);
  mppRow->addStretch(1);
  layout->addLayout(mppRow);

  ui.CreateShortcutButton =
      NewButton(QStringLiteral("BtnUtworzSkrot"), WithLineFeeds(QStringLiteral("Utwórz skrót\rna pulpicie")));
  ui.AboutButton = NewButton(QStringLiteral("BtnInformacja"), WithLineFeeds(QStringLiteral("Informacja\ro programie")));
  auto *programRow = new QHBoxLayout;
  programRow->addWidget(ui.CreateShortcutButton);
  programRow->addWidget(ui.AboutButton);
  ui.WhiteListArea = new QWidget;
  programRow->addWidget(ui.WhiteListArea);
  programRow->addStretch(1);
  layout->addLayout(programRow);

  ui.MailFileField = NewField(QStringLiteral("EdtSciezkaDoPlikuMail"));
  ui.ChooseMailFileButton = NewButton(QStringLiteral("BtnSciezkaMail"), QStringLiteral("..."));
  ui.SendToAuthorHelpButton = NewHelpButton(QStringLiteral("BtnPomocMail"));
  AddPathRow(*layout, QStringLiteral("Ścieżka do pliku XML/IMP, który ma być wysłany do autora programu"),
             ui.MailFileField, ui.ChooseMailFileButton, ui.SendToAuthorHelpButton);
  ui.SendToAuthorButton =
      NewButton(QStringLiteral("BtnWyslijMail"), QStringLiteral("Wyślij wskazany plik do autora programu"));
  ui.MailUnavailableLabel = new QLabel;
  ui.MailUnavailableLabel->setObjectName(QStringLiteral("LblWysylkaNiedostepna"));
  ui.MailUnavailableLabel->setWordWrap(true);
  ui.MailUnavailableLabel->hide();
  auto *sendRow = new QHBoxLayout;
  sendRow->addWidget(ui.SendToAuthorButton);
  sendRow->addWidget(ui.MailUnavailableLabel, 1);
  layout->addLayout(sendRow);

  ui.TechnicalLog = TQtLog::NewView(QStringLiteral("MemoTech"));
  return NewLogPage(inputs, ui.TechnicalLog);
}

QWidget *BuildBanksPage(TForm2Ui &ui) {
  auto *page = new QWidget;
  page->setObjectName(QStringLiteral("PageBanki"));
  auto *layout = new QVBoxLayout(page);
  ui.BankPage = new TBankPage;
  layout->addWidget(ui.BankPage, 1);
  ui.ManualButton =
      NewButton(QStringLiteral("BtnInstrukcja"), WithLineFeeds(QStringLiteral("Wyświetl\rinstrukcję\rdo programu")));
  auto *manualRow = new QHBoxLayout;
  manualRow->addWidget(ui.ManualButton);
  manualRow->addStretch(1);
  layout->addLayout(manualRow);
  return page;
}

} // namespace

TForm2Ui TForm2Ui::Build(QMainWindow &window) {
  TForm2Ui ui{};
  ui.Pages = new QTabWidget;
  ui.Pages->setObjectName(QStringLiteral("Pages"));
  ui.Pages->addTab(BuildSinglePage(ui), QStringLiteral("Przelew pojedynczy"));
  ui.Pages->addTab(BuildBatchPage(ui), QStringLiteral("Przelew paczki"));
  ui.Pages->addTab(BuildVideoTelPage(ui), QStringLiteral("VideoTel"));
  ui.Pages->addTab(BuildTechnicalPage(ui), QStringLiteral("Funkcje techniczne"));
  ui.Pages->addTab(BuildBanksPage(ui), QStringLiteral("Banki"));
  ui.HistoryArea = new QWidget;
  ui.HistoryArea->setObjectName(QStringLiteral("PageHistoria"));
  (new QVBoxLayout(ui.HistoryArea))->setContentsMargins(0, 0, 0, 0);
  ui.Pages->addTab(ui.HistoryArea, QStringLiteral("Historia"));
  ui.KsefArea = new QWidget;
  ui.KsefArea->setObjectName(QStringLiteral("PageKsef"));
  (new QVBoxLayout(ui.KsefArea))->setContentsMargins(0, 0, 0, 0);
  ui.Pages->addTab(ui.KsefArea, QStringLiteral("KSeF"));
  ui.DueArea = new QWidget;
  ui.DueArea->setObjectName(QStringLiteral("PageDoZaplaty"));
  (new QVBoxLayout(ui.DueArea))->setContentsMargins(0, 0, 0, 0);
  ui.Pages->addTab(ui.DueArea, QStringLiteral("Do zapłaty"));
  window.setCentralWidget(ui.Pages);
  return ui;
}
