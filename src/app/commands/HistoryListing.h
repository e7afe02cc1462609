#pragma once

#include "app/commands/AppPaths.h"
#include "journal/JournalRecords.h"
#include "model/AtomicFile.h"

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

class IPaymentJournal;

// The journal as the page "Historia" and `pavena-cli historia` list it. A journal not made
// yet lists nothing; one that cannot be read fails with "Nie można odczytać historii
// (historia.sqlite): " and the reason.

// Hands each payment that `filter` lets through to `take`, newest first.
void ListHistory(const TAppPaths &paths, const THistoryFilter &filter,
                 const std::function<void(const THistoryEntry &)> &take);

// The listing as CSV (see HistoryCsvHeader), written out line by line as it is read.
void WriteHistoryCsv(const TAppPaths &paths, const THistoryFilter &filter, const TByteSink &sink);
// The listing as a table for the terminal, UTF-8, ended by the sums per currency (without
// withdrawn files).
void WriteHistoryTable(const TAppPaths &paths, const THistoryFilter &filter, const TByteSink &sink);

// The purchase invoices downloaded from the KSeF environment `environment` that were recorded
// on the days of `filter`, newest first: to `take`, as CSV (KsefInvoiceCsvHeader) or as a table
// for the terminal ended by the sums per currency. One environment at a time: the test
// environments' invoices are no debts and never add to the real ones.
void ListKsefInvoices(const TAppPaths &paths, const THistoryFilter &filter, const QString &environment,
                      const std::function<void(const TKsefInvoiceRecord &)> &take);
void WriteKsefInvoiceCsv(const TAppPaths &paths, const THistoryFilter &filter, const QString &environment,
                         const TByteSink &sink);
void WriteKsefInvoiceTable(const TAppPaths &paths, const THistoryFilter &filter, const QString &environment,
                           const TByteSink &sink);

// What the page reads: a page of the listing at a time and the listing's totals. The page reads
// on a thread of its own and ends a read it no longer needs from the window's thread.
class IHistorySource {
public:
  virtual ~IHistorySource() = default;
  // At most `limit` payments, newest first, below the payment `below` (THistoryEntry::Id).
  virtual std::vector<THistoryEntry> Page(const THistoryFilter &filter, std::optional<std::int64_t> below,
                                          int limit) = 0;
  virtual THistorySummary Summarize(const THistoryFilter &filter) = 0;
  // Makes the read running now on another thread end soon with an Exception; callable from any
  // thread, and harmless when nothing runs.
  virtual void Interrupt() = 0;
};

// The journal file as such a source: each read opens it anew, so that the window never holds
// it open between reads.
class THistoryReader : public IHistorySource {
public:
  explicit THistoryReader(const TAppPaths &paths);

  std::vector<THistoryEntry> Page(const THistoryFilter &filter, std::optional<std::int64_t> below, int limit) override;
  THistorySummary Summarize(const THistoryFilter &filter) override;
  void Interrupt() override;

private:
  template <class Result> Result Read(const std::function<Result(IPaymentJournal &)> &read);

  const TAppPaths FPaths;
  // Guards FReading, which is set while a read runs.
  std::mutex FMutex;
  IPaymentJournal *FReading = nullptr;
};
