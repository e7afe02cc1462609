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

// The controls of the main window, laid out on its six pages; each carries its component
// name as object name. Nothing here reacts to the user: TForm2 connects them. The window shows
// its first page before it fills the four others, whose controls stay null until then.
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
  QWidget *PageBanki;
  // "Historia": filled with the journal's page by the window.
  QWidget *PageHistoria;
  QPushButton *BtnInstrukcja;

  // Creates the six pages as the window's central widget, with the controls of the first.
  static TForm2Ui Build(QMainWindow &window);
  // Puts the controls onto the four other pages.
  void BuildLaterPages();
};
