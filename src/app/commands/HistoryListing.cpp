#include "app/commands/HistoryListing.h"

#include "app/commands/TransferJournal.h"
#include "journal/HistoryText.h"
#include "journal/KsefInvoiceText.h"
#include "journal/PaymentJournal.h"
#include "model/Exception.h"

namespace {

// Runs `read` on the journal, if there is one yet, with its failures told as the listing's.
template <class Result>
Result ReadJournal(const TAppPaths &paths, const std::function<Result(IPaymentJournal &)> &read) {
  const TJournalPlace place = TJournalPlace::Of(paths);
  try {
    const std::unique_ptr<IPaymentJournal> journal = place.OpenExisting();
    return journal ? read(*journal) : Result();
  } catch (const Exception &error) {
    throw Exception(QStringLiteral("Nie można odczytać historii (%1): %2").arg(place.Name(), error.Message()));
  }
}

} // namespace

void ListHistory(const TAppPaths &paths, const THistoryFilter &filter,
                 const std::function<void(const THistoryEntry &)> &take) {
  ReadJournal<bool>(paths, [&](IPaymentJournal &journal) {
    journal.ForEach(filter, take);
    return true;
  });
}

void WriteHistoryCsv(const TAppPaths &paths, const THistoryFilter &filter, const TByteSink &sink) {
  sink(HistoryCsvHeader());
  ListHistory(paths, filter, [&](const THistoryEntry &entry) { sink(HistoryCsvLine(entry)); });
}

void WriteHistoryTable(const TAppPaths &paths, const THistoryFilter &filter, const TByteSink &sink) {
  sink((HistoryTableHeader() + u'\n').toUtf8());
  QMap<QString, TAmount> sums;
  ListHistory(paths, filter, [&](const THistoryEntry &entry) {
    sink((HistoryTableLine(entry) + u'\n').toUtf8());
    AddToHistorySums(sums, entry);
  });
  sink((HistorySumsText(sums) + u'\n').toUtf8());
}

void ListKsefInvoices(const TAppPaths &paths, const THistoryFilter &filter, const QString &environment,
                      const std::function<void(const TKsefInvoiceRecord &)> &take) {
  ReadJournal<bool>(paths, [&](IPaymentJournal &journal) {
    journal.ForEachKsefInvoice(filter, [&](const TKsefInvoiceRecord &invoice) {
      if (invoice.Environment == environment)
        take(invoice);
    });
    return true;
  });
}

void WriteKsefInvoiceCsv(const TAppPaths &paths, const THistoryFilter &filter, const QString &environment,
                         const TByteSink &sink) {
  sink(KsefInvoiceCsvHeader());
  ListKsefInvoices(paths, filter, environment,
                   [&](const TKsefInvoiceRecord &invoice) { sink(KsefInvoiceCsvLine(invoice)); });
}

void WriteKsefInvoiceTable(const TAppPaths &paths, const THistoryFilter &filter, const QString &environment,
                           const TByteSink &sink) {
  sink((KsefInvoiceTableHeader() + u'\n').toUtf8());
  QMap<QString, TAmount> sums;
  ListKsefInvoices(paths, filter, environment, [&](const TKsefInvoiceRecord &invoice) {
    sink((KsefInvoiceTableLine(invoice) + u'\n').toUtf8());
    if (invoice.GrossAmount)
      sums[invoice.Currency] += *invoice.GrossAmount;
  });
  sink((HistorySumsText(sums) + u'\n').toUtf8());
}

THistoryReader::THistoryReader(const TAppPaths &paths) : FPaths(paths) {}

std::vector<THistoryEntry> THistoryReader::Page(const THistoryFilter &filter, std::optional<std::int64_t> below,
                                                int limit) {
  return Read<std::vector<THistoryEntry>>(
      [&](IPaymentJournal &journal) { return journal.ListPage(filter, below, limit); });
}

THistorySummary THistoryReader::Summarize(const THistoryFilter &filter) {
  return Read<THistorySummary>([&](IPaymentJournal &journal) { return journal.Summarize(filter); });
}

void THistoryReader::Interrupt() {
  const std::lock_guard lock(FMutex);
  if (FReading)
    FReading->Interrupt();
}

template <class Result> Result THistoryReader::Read(const std::function<Result(IPaymentJournal &)> &read) {
  return ReadJournal<Result>(FPaths, [&](IPaymentJournal &journal) {
    {
      const std::lock_guard lock(FMutex);
      FReading = &journal;
    }
    struct TDone {
      THistoryReader &Reader;
      ~TDone() {
        const std::lock_guard lock(Reader.FMutex);
        Reader.FReading = nullptr;
      }
    } done{*this};
    return read(journal);
  });
}
