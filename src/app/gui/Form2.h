#pragma once

#include "app/commands/BankRegister.h"
#include "app/commands/SendToAuthorCommand.h"
#include "app/commands/Host.h"
#include "app/commands/InvoicePdfPreview.h"
#include "app/commands/SplitPaymentSettings.h"
#include "app/commands/TransferCommands.h"
#include "app/gui/Form2Ui.h"
#include "app/gui/QtLog.h"
#include "app/gui/QtMPPControls.h"

#include <QMainWindow>
#include <functional>

class QAbstractButton;
class QLineEdit;
class TBankPage;
class TForm3;
class TPayerPanel;

// The main window: five pages of controls, the message log and the split-payment choice. It
// reads its fields, hands them to the commands and shows what they report; the work itself is
// the commands'.
class TForm2 : public QMainWindow {
  Q_OBJECT

public:
  // Start-up: title, working directories, first page, payer data, stored split-payment
  // choice, then the account list (which may replace the payer fields) and the bank table.
  // `log` is the host's log: the window shows it in the logs of its pages.
  TForm2(const THost &host, TQtLog &log, QWidget *parent = nullptr);

  void AppendLog(const QString &text, bool withSeparator);
  const TMPPSettings &CurrentMPPSettings() const;

protected:
  // Saves the split-payment choice; the window closes even when that fails.
  void closeEvent(QCloseEvent *event) override;

private:
  void ConnectCommands();
  void ConnectBankRegister();
  // Runs `work` on every click, guarded: what it leaves unhandled goes to the default error box.
  void OnClick(QAbstractButton *button, std::function<void()> work);
  void Guarded(const std::function<void()> &work);
  void ChooseFile(QLineEdit &field, const QString &filter);
  void ConnectSendToAuthor();
  void ChooseDirectory(QLineEdit &field);

  TForm2Ui FUi;
  THost FHost;
  TQtMPPControls FMPPControls;
  TSplitPaymentSettings FSplitPayment;
  TTransferCommands FCommands;
  TSendToAuthorCommand FSendToAuthor;
  TInvoicePdfPreview FPdfPreview;
  TPayerPanel *FPayer;
  TBankPage *FBankPage;
  TForm3 *FBankDialog;
  TBankRegister FBank;
};
