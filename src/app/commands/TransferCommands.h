#pragma once

#include "app/commands/Host.h"
#include "app/commands/TransferJournal.h"
#include "app/commands/WhiteListCheck.h"
#include "checks/TransferFinding.h"
#include "journal/JournalRecords.h"
#include "model/Payment.h"
#include "model/Types.h"

#include <functional>

class TSplitPaymentSettings;
class TTransferTitles;

// What a transfer command came to: whether it wrote its transfer file, and how many warnings
// about that file it logged. Tests true when the file was written.
struct TTransferResult {
  bool Written = false;
  qsizetype Warnings = 0;
  // How each payment of the file stood on the VAT white list.
  TWhiteListResults WhiteList;

  explicit operator bool() const { return Written; }
};

// The three transfer commands. A Press* operation is the button: it checks its field and
// shows the help box when it is empty; otherwise it runs the command. Each command reports
// through the host's log: a success line with the separator followed by one "Uwaga: " entry
// for each thing the bank or the tax office would reject in the file written, or one
// "Błąd: " entry.
class TTransferCommands {
public:
  explicit TTransferCommands(THost &host);

  TTransferResult PressSingle(const QString &invoicePath, const QString &additionalReference, const TMPPSettings &mpp);
  TTransferResult PressBatch(const QString &directory, const TMPPSettings &mpp);
  // Switches split payment off through `mpp` first, as the VideoTel transfer always runs without it.
  TTransferResult PressVideoTel(const QString &videoTelPath, TSplitPaymentSettings &mpp);
  // The same button for a host without split-payment controls (the command line): the
  // transfer runs without split payment and the settings file is left alone.
  TTransferResult PressVideoTelWithoutSplitPayment(const QString &videoTelPath);
  void PressShowVideoTel(const QString &videoTelPath);

  TTransferResult CreateSingleTransfer(const QString &invoicePath, const QString &additionalReference,
                                       const TMPPSettings &mpp);
  TTransferResult CreateBatchTransfer(const QString &directory, const TMPPSettings &mpp);
  TTransferResult CreateVideoTelTransfer(const QString &videoTelPath, const TMPPSettings &mpp);
  // The batch file of invoices read already (the list "Do zapłaty" reads them, with the amount
  // left to pay), written and checked as CreateBatchTransfer writes its file. The journal's
  // write lock is held from before the journal is looked at until the file is recorded: when
  // the journal knows any of `payments` as paid, nothing is written and the error names each;
  // two runs at once end with one file.
  TTransferResult CreateDueBatch(const TPaymentList &payments, const TMPPSettings &mpp);

private:
  // Whether a transfer holds the journal's write lock throughout (see CreateDueBatch).
  enum class TJournalUse { Shared, Exclusive };

  // What the reading and writing of one transfer works with.
  struct TTransferRun {
    TCompanyData Company;
    QDateTime Now;
    QString OutputFile;
    TTransferJournal &Journal;
  };

  // What a written file pays, for the checks that follow the writing: its payments in file
  // order with their address parts whole, and what the command found in the invoices.
  struct TWrittenTransfers {
    TPaymentList Payments;
    QList<TTransferFinding> Findings;
    // The currency the file pays in, for the journal.
    QString Currency = QStringLiteral("PLN");
    TPayeeNips Nips = TPayeeNips::Named;
  };

  // Shows the help box and gives false when the field is empty.
  bool IsFilled(const QString &fieldText, const QString &emptyFieldHelp);
  void RemoveEarlierOutput(const QString &plainName, const QString &mppName);
  // The files of PLIKI_DO_BANKU that a run under `mpp` writes or may clear, none of which it
  // takes as input.
  QStringList OutputsOf(const QString &plainName, const QString &mppName, const TMPPSettings &mpp) const;
  // The shape every transfer shares: under one handler the payer data of settings.ini, then
  // `write` (read the input, write the file of PLIKI_DO_BANKU named `outputName`), then the
  // success line, the warnings of the file's check and of the payment journal, and the file
  // opened; any error ends it as one "Błąd: " entry. Exclusive runs all but the opening under
  // the journal's write lock, and an error there takes back whatever the journal was told; once
  // the file is written, a record or commit that fails takes the file back too: an error.
  TTransferResult Transfer(TJournalCommand command, const TMPPSettings &mpp, const QString &outputName,
                           const QString &description,
                           const std::function<TWrittenTransfers(const TTransferRun &)> &write,
                           TJournalUse journalUse = TJournalUse::Shared);
  // What the checks of a written file found, with the journal's warning when it could not
  // record the file.
  struct TCheckedTransfer {
    QStringList Warnings;
    TWhiteListReport WhiteList;
  };
  // What follows the writing of a file: the checks and the record. Within the journal's write
  // lock the record fails rather than warns (TTransferJournal::Record).
  TCheckedTransfer CheckAndRecord(TJournalCommand command, const TMPPSettings &mpp, const TTransferRun &run,
                                  const TWrittenTransfers &written);
  // The success line, then the checks' warnings and the white list's lines.
  TTransferResult Report(const QString &outputFile, const QString &description, TCheckedTransfer checked);
  // The batch file of `payments`, with the checks of their invoices.
  TWrittenTransfers WriteBatch(TPaymentList payments, const TTransferRun &run, const TMPPSettings &mpp);
  // The check's warnings; `titles` gathers the transfers' titles in the same reading.
  static QStringList CheckWrittenFile(const TTransferRun &run, const TWrittenTransfers &written,
                                      TTransferTitles &titles);
  // Logs what the VAT white list said of the payees' accounts; gives the warnings' count.
  qsizetype LogWhiteListLines(const QList<TWhiteListLine> &lines);
  TCompanyData LoadCheckedCompany() const;

  THost &FHost;
};
