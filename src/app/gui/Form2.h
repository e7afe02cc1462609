#pragma once

#include "app/commands/BankRegister.h"
#include "app/commands/Host.h"
#include "app/commands/InvoicePdfPreview.h"
#include "app/commands/SendToAuthorCommand.h"
#include "app/commands/SplitPaymentSettings.h"
#include "app/commands/TransferCommands.h"
#include "app/gui/Form2Ui.h"
#include "app/gui/QtLog.h"
#include "app/gui/QtKeyring.h"
#include "app/gui/QtMPPControls.h"
#include "app/gui/QtSecretPrompt.h"
#include "ksefapi/KsefProgress.h"

#include <QMainWindow>
#include <functional>

class QAbstractButton;
class QLineEdit;
class TBackgroundWork;
class TForm3;

// The main window: eight pages of controls, the message log and the split-payment choice. It
// reads its fields, hands them to the commands and shows what they report; the work itself is
// the commands'.
class TForm2 : public QMainWindow {
  Q_OBJECT

public:
  // Builds the pages, sets the title and the working directories, then loads the payer data,
  // the stored split-payment choice and the bank register (whose remembered account may
  // replace the payer fields). `log` is the host's log: the window shows it in the logs of
  // its pages. `background` runs the white list's loads and downloads and the download from
  // KSeF, as it runs the host's slow work.
  TForm2(const THost &host, TQtLog &log, TBackgroundWork &background, QWidget *parent = nullptr);
  ~TForm2() override;

  void AppendLog(const QString &text, bool withSeparator);
  const TMPPSettings &CurrentMPPSettings() const;

protected:
  // Saves the split-payment choice; the window closes even when that fails.
  void closeEvent(QCloseEvent *event) override;

private:
  void ConnectSingleTransfer();
  void ConnectBatchTransfer();
  void ConnectVideoTel();
  void ConnectTechnicalFunctions();
  void ConnectBankRegister();
  void ConnectSendToAuthor();
  // Runs `work` on every click, guarded: what it leaves unhandled goes to the default error box.
  void OnClick(QAbstractButton *button, std::function<void()> work);
  void Guarded(const std::function<void()> &work);
  void ChooseFile(QLineEdit &field, const QString &filter);
  void ChooseDirectory(QLineEdit &field);

  TForm2Ui FUi;
  THost FHost;
  TQtLog &FLog;
  TQtMPPControls FMPPControls;
  TSplitPaymentSettings FSplitPayment;
  TForm3 *FBankDialog;
  TBankRegister FBank;
  TTransferCommands FCommands;
  TSendToAuthorCommand FSendToAuthor;
  TInvoicePdfPreview FPdfPreview;
  // The secrets of the KSeF login: asked for in a dialog, remembered in the desktop's keyring.
  TQtSecretPrompt FSecretPrompt;
  TQtKeyring FKeyring;
  TKsefSleeper FKsefWaiter;
};
