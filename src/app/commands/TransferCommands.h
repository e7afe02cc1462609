#pragma once

#include "app/commands/Host.h"
#include "model/Types.h"

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
  // Shows the help box and gives false when the field is empty.
  bool IsFilled(const QString &fieldText, const QString &emptyFieldHelp);
  static TCompanyData LoadCheckedCompany();
  void Succeeded(const QString &outputName, const QString &description);
  void Failed(const QString &message);

  THost &FHost;
};
