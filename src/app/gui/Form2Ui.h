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

// The controls of the main window, laid out on its eight pages; each carries its component
// name as object name. Nothing here reacts to the user: TForm2 connects them.
struct TForm2Ui {
  QTabWidget *Pages;

  // "Przelew pojedynczy"
  QLineEdit *InvoiceFileField;
  QPushButton *ChooseInvoiceFileButton;
  QPushButton *SingleTransferHelpButton;
  QPushButton *CreateSingleTransferButton;
  QLineEdit *ExtraReferenceField;
  QPushButton *InvoicePdfButton;
  QPlainTextEdit *SingleTransferLog;

  // "Przelew paczki"
  QLineEdit *InvoiceDirectoryField;
  QPushButton *ChooseInvoiceDirectoryButton;
  QPushButton *BatchTransferHelpButton;
  QPushButton *CreateBatchTransferButton;
  QPlainTextEdit *BatchTransferLog;

  // "VideoTel"
  QLineEdit *VideoTelFileField;
  QPushButton *ChooseVideoTelFileButton;
  QPushButton *VideoTelHelpButton;
  QPushButton *CreateVideoTelTransferButton;
  QPushButton *ShowVideoTelFileButton;
  QPlainTextEdit *VideoTelLog;

  // "Funkcje techniczne"
  QGroupBox *PayerGroup;
  TPayerPanel *Payer;
  QCheckBox *SplitPaymentCheck;
  QGroupBox *SplitPaymentFormatGroup;
  // The items "Bez Struktury", "Struktura", "Oba", "Standard bankowy (…)" with the ids 0 to 3.
  QButtonGroup *SplitPaymentFormatItems;
  QPushButton *SplitPaymentHelpButton;
  QLineEdit *MailFileField;
  QPushButton *ChooseMailFileButton;
  QPushButton *SendToAuthorHelpButton;
  QPushButton *SendToAuthorButton;
  // Beside "Wyślij": why this program cannot send, when it cannot.
  QLabel *MailUnavailableLabel;
  QPushButton *CreateShortcutButton;
  QPushButton *AboutButton;
  // The place of the white list's buttons, beside the two above.
  QWidget *WhiteListArea;
  QPlainTextEdit *TechnicalLog;

  // "Banki"
  TBankPage *BankPage;
  QPushButton *ManualButton;

  // "Historia": filled with the journal's page by the window.
  QWidget *HistoryArea;

  // "KSeF": filled with the download's page by the window.
  QWidget *KsefArea;

  // "Do zapłaty": filled with the list of invoices to pay by the window.
  QWidget *DueArea;

  // Creates the eight pages with their controls as the window's central widget.
  static TForm2Ui Build(QMainWindow &window);
};
