#pragma once

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMainWindow;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QWidget;
class TBankPage;
class TPayerPanel;

// The controls of the main window, laid out on its six pages; each carries its component
// name as object name. Nothing here reacts to the user: TForm2 connects them.
struct TForm2Ui {
  QTabWidget *Pages;

  // "Przelew pojedynczy"
  QLineEdit *EdtSciezkaDoPlikuXML;
  QPushButton *BtnSciezkaPlik;
  QPushButton *BitBtn4;
  QPushButton *Button1;
  QLineEdit *EdtDodReferencja;
  QPushButton *BtnPodgladPDF;
  QPlainTextEdit *MemoLog;

  // "Przelew paczki"
  QLineEdit *EdtSciezkaDoKatalogu2;
  QPushButton *Button3;
  QPushButton *BitBtn1;
  QPushButton *Button4;
  QPlainTextEdit *MemoPaczka;

  // "VideoTel"
  QLineEdit *EdtSciezkaDoPlikuVideoTel;
  QPushButton *Button2;
  QPushButton *BitBtn5;
  QPushButton *Button5;
  QPushButton *Button9;
  QPlainTextEdit *MemoVideoTel;

  // "Funkcje techniczne"
  QGroupBox *GrpPlatnik;
  TPayerPanel *Payer;
  QCheckBox *ChkMPP;
  QGroupBox *RGrpMPP;
  // The items "Bez Struktury", "Struktura", "Oba", "Standard bankowy (…)" with the ids 0 to 3.
  QButtonGroup *RGrpMPPItems;
  QPushButton *BtnPomocMPP;
  QLineEdit *EdtSciezkaDoPlikuMail;
  QPushButton *BtnSciezkaMail;
  QPushButton *BtnPomocMail;
  QPushButton *BtnWyslijMail;
  // Beside "Wyślij": why this program cannot send, when it cannot.
  QLabel *LblWysylkaNiedostepna;
  QPushButton *BtnUtworzSkrot;
  QPushButton *BtnInformacja;
  // The place of the white list's buttons, beside the two above.
  QWidget *PnlBialaLista;
  QPlainTextEdit *MemoTech;

  // "Banki"
  TBankPage *BankPage;
  QPushButton *BtnInstrukcja;

  // "Historia": filled with the journal's page by the window.
  QWidget *PageHistoria;

  // Creates the six pages with their controls as the window's central widget.
  static TForm2Ui Build(QMainWindow &window);
};
