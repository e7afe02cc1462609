#pragma once

#include "app/commands/AppPaths.h"
#include "app/commands/JournalPlace.h"
#include "app/commands/WhiteListCheck.h"
#include "journal/JournalRecords.h"
#include "journal/PaymentJournal.h"
#include "model/Payment.h"

#include <QDateTime>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

// A transfer file just written, as the journal records it.
struct TWrittenTransferFile {
  TJournalCommand Command = TJournalCommand::Single;
  QString OutputFile;
  QDateTime WrittenAt;
  QString PayerIBAN;
  QString Currency;
  bool SplitPayment = false;
  // All the "Uwaga: " lines logged for the file.
  qsizetype Warnings = 0;
  // The split-payment format as --mpp names it ("Standard"); empty without split payment.
  QString SplitPaymentFormat = {};
};

// The journal's part in one transfer command: the warning about payments already made in an
// earlier file, then the record and the archived copy of the file written. A journal that
// cannot be used never stops the command: the file is written all the same, and the command
// gets a warning saying that the payments were not checked against the journal, and one saying
// that they were not recorded, each with the reason.
class TTransferJournal {
public:
  explicit TTransferJournal(const TAppPaths &paths, int busyTimeoutMs = TPaymentJournal::DefaultBusyTimeoutMs);
  ~TTransferJournal();

  // One warning for each payment already in an earlier file that was not withdrawn, or the one
  // warning that the journal could not be looked at. A payment that repeats an invoice of the
  // same file is left to the file's own check.
  QStringList EarlierPayments(const TPaymentList &payments);

  // Archives the file and records it with its payments, their titles as the file carries them
  // and, where they were checked, the white list's word on their accounts (both in the
  // payments' order); the warning when it could not, leaving no archived copy behind. The
  // record holds the journal's write lock and looks the payments up again first: a payment
  // that another workstation (or process) recorded since EarlierPayments looked is warned
  // about here, so two conversions of one invoice at once never both pass in silence. Within
  // Exclusively, where RefuseEarlier has looked under the same lock, it looks up nothing and
  // fails instead of warning.
  QStringList Record(const TWrittenTransferFile &file, const TPaymentList &payments, const QStringList &titles,
                     const TWhiteListResults &whiteList);

  // Runs `work` under the journal's write lock (IPaymentJournal::Exclusively). Unlike the rest,
  // a journal that cannot be used fails here: without it nothing can be kept from being paid twice.
  // When `work` or the commit at its end fails, the archived copy Record made goes too.
  void Exclusively(const std::function<void()> &work);
  // Within Exclusively: fails, naming each, when any of `payments` is in an earlier file that
  // was not withdrawn, is marked as paid outside the program, or repeats an invoice (InvoiceKey)
  // of `payments`.
  void RefuseEarlier(const TPaymentList &payments);

private:
  // The journal, opened on first use; empty once it failed, with the reason kept.
  IPaymentJournal *Journal();
  // The warnings of PaidBefore for those of `payments` in an earlier file that was not withdrawn,
  // but for those of `known`; they are added to `known`.
  QStringList NewlyPaidBefore(const std::vector<const TPayment *> &payments, QSet<const TPayment *> &known);

  TAppPaths FPaths;
  TJournalPlace FPlace;
  int FBusyTimeoutMs;
  std::unique_ptr<IPaymentJournal> FJournal;
  QString FFailure;
  // Exclusively runs.
  bool FHeld = false;
  // The payments EarlierPayments warned about already.
  QSet<const TPayment *> FWarned;
  // The archived copy Record made within Exclusively, relative to the data directory.
  QString FArchivedHere;
};

// The payment as the journal keeps it, with the title the file carries for it.
TJournalPayment JournalPayment(const TPayment &payment, const QString &currency, bool splitPayment,
                               const QString &title);

// How the journal and the listings word the white list's word on an account.
QString WhiteListWord(TWhiteListStatus status);

// "historia.sqlite" in the data directory.
QString JournalFile(const TAppPaths &paths);
