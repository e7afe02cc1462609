#pragma once

#include "journal/IPaymentJournal.h"
#include "journal/JournalKeys.h"
#include "journal/SqliteDatabase.h"

// The payment journal in the file "historia.sqlite". Several processes may use one file at
// once (the window and pavena-cli); each waits for the other's write for up to the busy
// timeout. A file that is no journal is reported and never written over.
class TPaymentJournal : public IPaymentJournal {
public:
  static constexpr int DefaultBusyTimeoutMs = 10000;

  // Opens the journal, creating it when it is missing, and brings its layout up to date.
  explicit TPaymentJournal(const QString &fileName, int busyTimeoutMs = DefaultBusyTimeoutMs);

  using IPaymentJournal::FindEarlier;
  std::vector<std::optional<TEarlierPayment>> FindEarlier(const std::vector<TJournalPayment> &payments) override;
  void Record(const TJournalFile &file, const std::vector<TJournalPayment> &payments) override;
  std::optional<TFileMark> MarkWithdrawn(std::int64_t fileId, const std::optional<QDateTime> &at) override;
  void ForEach(const THistoryFilter &filter, const std::function<void(const THistoryEntry &)> &take) override;
  std::vector<THistoryEntry> ListPage(const THistoryFilter &filter, std::optional<std::int64_t> below,
                                      int limit) override;
  THistorySummary Summarize(const THistoryFilter &filter) override;
  void Exclusively(const std::function<void()> &work) override;
  void MarkPaidOutside(const QString &invoiceKey, const QDateTime &at, const QString &note) override;
  bool UnmarkPaidOutside(const QString &invoiceKey) override;
  QHash<QString, TPaidOutsideMark> PaidOutsideMarks() override;
  bool RecordKsefInvoice(const TKsefInvoiceRecord &invoice) override;
  void ForEachKsefInvoice(const THistoryFilter &filter,
                          const std::function<void(const TKsefInvoiceRecord &)> &take) override;
  void Interrupt() noexcept override;

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
