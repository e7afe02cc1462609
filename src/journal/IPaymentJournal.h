#pragma once

#include "journal/JournalRecords.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

// The payment journal: every transfer file written and every payment in it, the KSeF
// invoices downloaded and the invoices marked as paid outside the program. It lives in the
// data directory's "historia.sqlite" (TPaymentJournal) or, for an office of several
// workstations, in a PostgreSQL database (TPgPaymentJournal); the commands never know which.
// Failures are Exceptions with a Polish message.
class IPaymentJournal {
public:
  virtual ~IPaymentJournal() = default;

  // The latest earlier file that paid the same thing: the same real KSeF number, the same
  // payee NIP and invoice number (case and surrounding blanks ignored), or for a VideoTel
  // payment the same account, amount and title. A withdrawn file paid nothing and is passed by.
  std::optional<TEarlierPayment> FindEarlier(const TJournalPayment &payment) {
    return FindEarlier(std::vector{payment}).front();
  }
  // The same for each of `payments`, in their order, with one read of the journal for all.
  virtual std::vector<std::optional<TEarlierPayment>> FindEarlier(const std::vector<TJournalPayment> &payments) = 0;

  // Records the file and all its payments in one transaction: all of it or nothing.
  virtual void Record(const TJournalFile &file, const std::vector<TJournalPayment> &payments) = 0;

  // Marks the file `fileId` (THistoryEntry::FileId) as never sent to the bank at `at`, or with
  // no time takes the mark away; a file already in that state is left as it is. A withdrawn
  // file's payments stay listed, shown as withdrawn, and FindEarlier no longer finds them;
  // nothing is deleted. Gives the file's mark as it was before, or none for an unknown file.
  virtual std::optional<TFileMark> MarkWithdrawn(std::int64_t fileId, const std::optional<QDateTime> &at) = 0;

  // Hands the payments that `filter` lets through to `take`, newest first, one at a time, so
  // that a listing of any length needs no more memory than one line.
  virtual void ForEach(const THistoryFilter &filter, const std::function<void(const THistoryEntry &)> &take) = 0;
  // At most `limit` of those payments, newest first, starting below the payment `below` (its
  // Id) when given: a listing read page by page.
  virtual std::vector<THistoryEntry> ListPage(const THistoryFilter &filter, std::optional<std::int64_t> below,
                                              int limit) = 0;
  // How many payments `filter` lets through and their sums per currency.
  virtual THistorySummary Summarize(const THistoryFilter &filter) = 0;

  // Runs `work` holding the journal's write lock from its start: no other process records or
  // marks anything meanwhile, so what `work` finds it may record in the same transaction. The
  // reads and writes `work` makes on this journal join it; an exception takes all of them back.
  // It waits for another process's (or workstation's) lock however long that one holds it,
  // until Interrupt.
  virtual void Exclusively(const std::function<void()> &work) = 0;

  // Marks the invoice known by `invoiceKey` (InvoiceKey) as paid without a transfer file of
  // this program, replacing an earlier mark; UnmarkPaidOutside takes the mark away and tells
  // whether there was one.
  virtual void MarkPaidOutside(const QString &invoiceKey, const QDateTime &at, const QString &note) = 0;
  virtual bool UnmarkPaidOutside(const QString &invoiceKey) = 0;
  // Every mark, by its invoice's key.
  virtual QHash<QString, TPaidOutsideMark> PaidOutsideMarks() = 0;
  // Records a purchase invoice downloaded from KSeF; one already recorded for its environment
  // is left as it was. True when it was added.
  virtual bool RecordKsefInvoice(const TKsefInvoiceRecord &invoice) = 0;
  // Hands the downloaded invoices of the days of `filter` (days of download; its search is not
  // used) to `take`, newest first, one at a time.
  virtual void ForEachKsefInvoice(const THistoryFilter &filter,
                                  const std::function<void(const TKsefInvoiceRecord &)> &take) = 0;

  // Makes the read running on another thread, or Exclusively's wait, end soon with an Exception.
  virtual void Interrupt() noexcept = 0;
};
