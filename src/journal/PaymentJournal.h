#pragma once

#include "journal/JournalRecords.h"
#include "journal/SqliteDatabase.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

// The payment journal "historia.sqlite": every transfer file written and every payment in it.
// Several processes may use one file at once (the window and pavena-cli); each waits for the
// other's write for up to the busy timeout. Failures are Exceptions with a Polish message; a
// file that is no journal is reported and never written over.
class TPaymentJournal {
public:
  static constexpr int DefaultBusyTimeoutMs = 10000;

  // Opens the journal, creating it when it is missing, and brings its layout up to date.
  explicit TPaymentJournal(const QString &fileName, int busyTimeoutMs = DefaultBusyTimeoutMs);

  // The latest earlier file that paid the same thing: the same real KSeF number, the same
  // payee NIP and invoice number (case and surrounding blanks ignored), or for a VideoTel
  // payment the same account, amount and title. A withdrawn file paid nothing and is passed by.
  std::optional<TEarlierPayment> FindEarlier(const TJournalPayment &payment);
  // The same for each of `payments`, in their order, with one statement and one read of the
  // journal for all of them.
  std::vector<std::optional<TEarlierPayment>> FindEarlier(const std::vector<TJournalPayment> &payments);

  // Records the file and all its payments in one transaction: all of it or nothing.
  void Record(const TJournalFile &file, const std::vector<TJournalPayment> &payments);

  // Marks the file `fileId` (THistoryEntry::FileId) as never sent to the bank at `at`, or with
  // no time takes the mark away; a file already in that state is left as it is. A withdrawn
  // file's payments stay listed, shown as withdrawn, and FindEarlier no longer finds them;
  // nothing is deleted. Gives the file's mark as it was before, or none for an unknown file.
  std::optional<TFileMark> MarkWithdrawn(std::int64_t fileId, const std::optional<QDateTime> &at);

  // Hands the payments that `filter` lets through to `take`, newest first, one at a time, so
  // that a listing of any length needs no more memory than one line.
  void ForEach(const THistoryFilter &filter, const std::function<void(const THistoryEntry &)> &take);
  // At most `limit` of those payments, newest first, starting below the payment `below` (its
  // Id) when given: a listing read page by page.
  std::vector<THistoryEntry> ListPage(const THistoryFilter &filter, std::optional<std::int64_t> below, int limit);
  // How many payments `filter` lets through and their sums per currency.
  THistorySummary Summarize(const THistoryFilter &filter);

  // Runs `work` holding the journal's write lock from its start: no other process records or
  // marks anything meanwhile, so what `work` finds it may record in the same transaction. The
  // reads and writes `work` makes on this journal join it; an exception takes all of them back.
  // It waits for another process's lock however long that one holds it, until Interrupt.
  void Exclusively(const std::function<void()> &work);

  // Marks the invoice known by `invoiceKey` (InvoiceKey) as paid without a transfer file of
  // this program, replacing an earlier mark; UnmarkPaidOutside takes the mark away and tells
  // whether there was one.
  void MarkPaidOutside(const QString &invoiceKey, const QDateTime &at, const QString &note);
  bool UnmarkPaidOutside(const QString &invoiceKey);
  // Every mark, by its invoice's key.
  QHash<QString, TPaidOutsideMark> PaidOutsideMarks();
  // Records a purchase invoice downloaded from KSeF; one already recorded for its environment
  // is left as it was. True when it was added.
  bool RecordKsefInvoice(const TKsefInvoiceRecord &invoice);
  // Hands the downloaded invoices of the days of `filter` (days of download; its search is not
  // used) to `take`, newest first, one at a time.
  void ForEachKsefInvoice(const THistoryFilter &filter, const std::function<void(const TKsefInvoiceRecord &)> &take);

  // Makes the read running on another thread, or Exclusively's wait, end soon with an Exception.
  void Interrupt() noexcept;

  // The layout version this program writes (PRAGMA user_version).
  static int SchemaVersion();

private:
  void Migrate();
  // A write transaction of its own, or a part of Exclusively's that fails alone.
  template <typename Work> void Writing(Work &&work);
  template <typename Work> void Reading(Work &&work);

  TSqliteDatabase FDatabase;
  bool FExclusive = false;
};

// The key an invoice's mark is kept by: its KSeF number when it has a real one, else its
// seller's NIP and its number as FindEarlier matches them (case and surrounding blanks
// ignored); none when it has neither.
std::optional<QString> InvoiceKey(const QString &ksefNumber, const QString &nip, const QString &invoiceNumber);
