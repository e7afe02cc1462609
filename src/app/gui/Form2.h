#pragma once

#include "app/commands/Host.h"
#include "app/commands/InvoicePdfPreview.h"
#include "app/commands/SendToAuthorCommand.h"
#include "app/commands/TransferCommands.h"
#include "app/gui/AfterFirstPaint.h"
#include "app/gui/Form2Ui.h"
#include "app/gui/QtLog.h"

#include <QMainWindow>
#include <functional>
#include <memory>
#include <optional>

class QAbstractButton;
class QLineEdit;

// The main window: six pages of controls, the message log and the split-payment choice. It
// reads its fields, hands them to the commands and shows what they report; the work itself is
// the commands'.
class TForm2 : public QMainWindow {
  Q_OBJECT

public:
  // Start-up: title, working directories and the first page. The rest follows right after the
  // window's first paint, or as soon as something needs it (a click, another page, the log):
  // the other pages, payer data, stored split-payment choice, then the account list (which may
  // replace the payer fields) and the bank table. `log` is the host's log: the window shows it
  // in the logs of its pages.
  TForm2(const THost &host, TQtLog &log, QWidget *parent = nullptr);
  ~TForm2() override;

  // True once the rest of the start-up has run.
  bool IsStartedUp() const { return FLater != nullptr; }

  void AppendLog(const QString &text, bool withSeparator);
  const TMPPSettings &CurrentMPPSettings();

protected:
  // Saves the split-payment choice; the window closes even when that fails. A window closed
  // before the rest of its start-up loaded anything has nothing to save and needs no more of it.
  void closeEvent(QCloseEvent *event) override;

private:
  // The four pages behind the first and the parts that work on their controls.
  struct TLaterPages;

  // The later pages, after the rest of the start-up, which runs first if it has not yet.
  TLaterPages &LaterPages();
  void StartLaterPages();
  void ConnectFirstPage();
  void ConnectLaterPages();
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
  TTransferCommands FCommands;
  TSendToAuthorCommand FSendToAuthor;
  TInvoicePdfPreview FPdfPreview;
  std::unique_ptr<TLaterPages> FLater;
  std::optional<TAfterFirstPaint> FRestOfStartUp;
};
