#pragma once

#include "app/commands/Host.h"
#include "model/Types.h"

#include <functional>

class TSplitPaymentSettings;

// The three transfer commands. A Press* operation is the button: it checks its field and
// shows the help box when it is empty; otherwise it runs the command. Each command reports
// through the host's log: a success line with the separator, or one "Błąd: " entry.
// Each returns true when it wrote its transfer file.
class TTransferCommands {
public:
  explicit TTransferCommands(THost &host);

  bool PressSingle(const QString &invoicePath, const QString &additionalReference, const TMPPSettings &mpp);
  bool PressBatch(const QString &directory, const TMPPSettings &mpp);
  // Switches split payment off through `mpp` first, as the VideoTel transfer always runs without it.
  bool PressVideoTel(const QString &videoTelPath, TSplitPaymentSettings &mpp);
  // The same button for a host without split-payment controls (the command line): the
  // transfer runs without split payment and the settings file is left alone.
  bool PressVideoTelWithoutSplitPayment(const QString &videoTelPath);
  void PressShowVideoTel(const QString &videoTelPath);

  bool CreateSingleTransfer(const QString &invoicePath, const QString &additionalReference, const TMPPSettings &mpp);
  bool CreateBatchTransfer(const QString &directory, const TMPPSettings &mpp);
  bool CreateVideoTelTransfer(const QString &videoTelPath, const TMPPSettings &mpp);

private:
  // What the reading and writing of one transfer works with.
  struct TTransferRun {
    TCompanyData Company;
    QDateTime Now;
    QString OutputFile;
  };

  // Shows the help box and gives false when the field is empty.
  bool IsFilled(const QString &fieldText, const QString &emptyFieldHelp);
  void RemoveEarlierOutput(const QString &plainName, const QString &mppName);
  // The shape every transfer shares: under one handler the payer data of settings.ini, then
  // `write` (read the input, write the file of PLIKI_DO_BANKU named `outputName`), then the
  // success line and the file opened; any error ends it as one "Błąd: " entry.
  bool Transfer(const QString &outputName, const QString &description,
                const std::function<void(const TTransferRun &)> &write);
  TCompanyData LoadCheckedCompany() const;

  THost &FHost;
};
