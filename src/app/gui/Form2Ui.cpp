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
  ui.EdtSciezkaDoPlikuXML = NewField(QStringLiteral("EdtSciezkaDoPlikuXML"));
  ui.BtnSciezkaPlik = NewButton(QStringLiteral("BtnSciezkaPlik"), QStringLiteral("..."));
  ui.BitBtn4 = NewHelpButton(QStringLiteral("BitBtn4"));
  AddPathRow(*layout, QStringLiteral("Ścieżka do pliku XML faktury zakupowej KSeF"), ui.EdtSciezkaDoPlikuXML,
             ui.BtnSciezkaPlik, ui.BitBtn4);
  ui.Button1 = NewButton(QStringLiteral("Button1"),
                         QStringLiteral("Stwórz plik przelewu  bankowego  ISO20022 dla pojedynczej faktury"));
  layout->addWidget(ui.Button1);
  ui.EdtDodReferencja = NewField(QStringLiteral("EdtDodReferencja"));
  AddLabelledField(*layout, QStringLiteral("Dodatkowa własna referencja do przelewu"), ui.EdtDodReferencja);
  ui.BtnPodgladPDF = NewButton(QStringLiteral("BtnPodgladPDF"),
                               QStringLiteral("Stwórz plik PDF dla pojedynczej faktury i wyświetl go"));
  layout->addWidget(ui.BtnPodgladPDF);
  ui.MemoLog = TQtLog::NewView(QStringLiteral("MemoLog"));
  return NewLogPage(inputs, ui.MemoLog);
}

QWidget *BuildBatchPage(TForm2Ui &ui) {
  auto *inputs = new QGroupBox;
  auto *layout = new QVBoxLayout(inputs);
  ui.EdtSciezkaDoKatalogu2 = NewField(QStringLiteral("EdtSciezkaDoKatalogu2"));
  ui.Button3 = NewButton(QStringLiteral("Button3"), QStringLiteral("..."));
  ui.BitBtn1 = NewHelpButton(QStringLiteral("BitBtn1"));
  AddPathRow(*layout, QStringLiteral("Ścieżka do katalogu z plikami XML faktur zakupowych"), ui.EdtSciezkaDoKatalogu2,
             ui.Button3, ui.BitBtn1);
  ui.Button4 = NewButton(QStringLiteral("Button4"),
                         QStringLiteral("Stwórz plik przelewu  bankowego ISO20022 dla paczki faktur"));
  layout->addWidget(ui.Button4);
  ui.MemoPaczka = TQtLog::NewView(QStringLiteral("MemoPaczka"));
  return NewLogPage(inputs, ui.MemoPaczka);
}

QWidget *BuildVideoTelPage(TForm2Ui &ui) {
  auto *inputs = new QGroupBox;
  auto *layout = new QVBoxLayout(inputs);
  ui.EdtSciezkaDoPlikuVideoTel = NewField(QStringLiteral("EdtSciezkaDoPlikuVideoTel"));
  ui.Button2 = NewButton(QStringLiteral("Button2"), QStringLiteral("..."));
  ui.BitBtn5 = NewHelpButton(QStringLiteral("BitBtn5"));
  AddPathRow(*layout, QStringLiteral("Ścieżka do pliku w formacie VideoTel"), ui.EdtSciezkaDoPlikuVideoTel, ui.Button2,
             ui.BitBtn5);
  ui.Button5 = NewButton(QStringLiteral("Button5"),
                         QStringLiteral("Stwórz plik przelewu  bankowego  ISO20022 dla pliku w formacie VideoTel"));
  ui.Button9 = NewButton(QStringLiteral("Button9"),
                         QStringLiteral("Wyświetl zawartość wybranego pliku w formacie VideoTel-a   (IMP)"));
  layout->addWidget(ui.Button5);
  layout->addWidget(ui.Button9);
  ui.MemoVideoTel = TQtLog::NewView(QStringLiteral("MemoVideoTel"));
  return NewLogPage(inputs, ui.MemoVideoTel);
}

QWidget *BuildTechnicalPage(TForm2Ui &ui) {
  auto *inputs = new QGroupBox;
  auto *layout = new QVBoxLayout(inputs);
  ui.GrpPlatnik = new QGroupBox;
  ui.GrpPlatnik->setObjectName(QStringLiteral("GrpPlatnik"));
  ui.Payer = new TPayerPanel;
  (new QVBoxLayout(ui.GrpPlatnik))->addWidget(ui.Payer);
  layout->addWidget(ui.GrpPlatnik);

  ui.ChkMPP = new QCheckBox(QStringLiteral("MPP"));
  ui.ChkMPP->setObjectName(QStringLiteral("ChkMPP"));
  ui.RGrpMPP = new QGroupBox(QStringLiteral("Format MPP"));
  ui.RGrpMPP->setObjectName(QStringLiteral("RGrpMPP"));
  // The button group numbers the items by their index and reports every change of selection.
  ui.RGrpMPPItems = new QButtonGroup(ui.RGrpMPP);
  auto *items = new QVBoxLayout(ui.RGrpMPP);
  const QString captions[] = {QStringLiteral("Bez Struktury"), QStringLiteral("Struktura"), QStringLiteral("Oba"),
                              QStringLiteral("Standard bankowy (/VAT/…/IDC/…/INV/…/TXT/…)")};
  for (int index = 0; index < int(std::size(captions)); ++index) {
    auto *item = new QRadioButton(captions[index]);
    ui.RGrpMPPItems->addButton(item, index);
    items->addWidget(item);
  }
  ui.BtnPomocMPP = NewHelpButton(QStringLiteral("BtnPomocMPP"));
  auto *mppRow = new QHBoxLayout;
  mppRow->addWidget(ui.ChkMPP, 0, Qt::AlignTop);
  mppRow->addWidget(ui.RGrpMPP);
  mppRow->addWidget(ui.BtnPomocMPP, 0, Qt::AlignTop);
  mppRow->addStretch(1);
  layout->addLayout(mppRow);

  ui.BtnUtworzSkrot =
      NewButton(QStringLiteral("BtnUtworzSkrot"), WithLineFeeds(QStringLiteral("Utwórz skrót\rna pulpicie")));
  ui.BtnInformacja =
      NewButton(QStringLiteral("BtnInformacja"), WithLineFeeds(QStringLiteral("Informacja\ro programie")));
  auto *programRow = new QHBoxLayout;
  programRow->addWidget(ui.BtnUtworzSkrot);
  programRow->addWidget(ui.BtnInformacja);
  ui.PnlBialaLista = new QWidget;
  programRow->addWidget(ui.PnlBialaLista);
  programRow->addStretch(1);
  layout->addLayout(programRow);

  ui.EdtSciezkaDoPlikuMail = NewField(QStringLiteral("EdtSciezkaDoPlikuMail"));
  ui.BtnSciezkaMail = NewButton(QStringLiteral("BtnSciezkaMail"), QStringLiteral("..."));
  ui.BtnPomocMail = NewHelpButton(QStringLiteral("BtnPomocMail"));
  AddPathRow(*layout, QStringLiteral("Ścieżka do pliku XML/IMP, który ma być wysłany do autora programu"),
             ui.EdtSciezkaDoPlikuMail, ui.BtnSciezkaMail, ui.BtnPomocMail);
  ui.BtnWyslijMail =
      NewButton(QStringLiteral("BtnWyslijMail"), QStringLiteral("Wyślij wskazany plik do autora programu"));
  ui.LblWysylkaNiedostepna = new QLabel;
  ui.LblWysylkaNiedostepna->setObjectName(QStringLiteral("LblWysylkaNiedostepna"));
  ui.LblWysylkaNiedostepna->setWordWrap(true);
  ui.LblWysylkaNiedostepna->hide();
  auto *sendRow = new QHBoxLayout;
  sendRow->addWidget(ui.BtnWyslijMail);
  sendRow->addWidget(ui.LblWysylkaNiedostepna, 1);
  layout->addLayout(sendRow);

  ui.MemoTech = TQtLog::NewView(QStringLiteral("MemoTech"));
  return NewLogPage(inputs, ui.MemoTech);
}

QWidget *BuildBanksPage(TForm2Ui &ui) {
  auto *page = new QWidget;
  page->setObjectName(QStringLiteral("PageBanki"));
  auto *layout = new QVBoxLayout(page);
  ui.BankPage = new TBankPage;
  layout->addWidget(ui.BankPage, 1);
  ui.BtnInstrukcja =
      NewButton(QStringLiteral("BtnInstrukcja"), WithLineFeeds(QStringLiteral("Wyświetl\rinstrukcję\rdo programu")));
  auto *manualRow = new QHBoxLayout;
  manualRow->addWidget(ui.BtnInstrukcja);
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
  ui.PageHistoria = new QWidget;
  ui.PageHistoria->setObjectName(QStringLiteral("PageHistoria"));
  (new QVBoxLayout(ui.PageHistoria))->setContentsMargins(0, 0, 0, 0);
  ui.Pages->addTab(ui.PageHistoria, QStringLiteral("Historia"));
  window.setCentralWidget(ui.Pages);
  return ui;
}
