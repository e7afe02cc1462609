#pragma once

#include "journal/IPaymentJournal.h"
#include "journal/PgDatabase.h"

// The payment journal in a PostgreSQL database, shared by the workstations of an office. Its
// layout is brought up to date once, in one transaction, by whichever workstation comes first
// with a newer program; every write holds the journal's lock (a transaction-level advisory
// lock), so what one workstation finds and records in one transaction no other records
// meanwhile.
class TPgPaymentJournal : public IPaymentJournal {
public:
  // Connects to the database that the libpq URI `uri` names and brings its layout up to date.
  explicit TPgPaymentJournal(const QString &uri);

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

  // The layout version this program writes (the table pavena_schema).
  static int SchemaVersion();

private:
  void Migrate();
  template <typename Work> void Writing(Work &&work);
  template <typename Work> void Reading(Work &&work);

  TPgConnection FConnection;
  bool FExclusive = false;
};
