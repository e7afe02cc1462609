#include "app/commands/HistoryListing.h"

#include "app/commands/TransferJournal.h"
#include "journal/HistoryText.h"
#include "journal/PaymentJournal.h"
#include "model/Exception.h"

#include <QFileInfo>

void ListHistory(const TAppPaths &paths, const THistoryFilter &filter,
                 const std::function<void(const THistoryEntry &)> &take) {
  const QString fileName = JournalFile(paths);
  if (!QFileInfo::exists(fileName))
    return;
  try {
    TPaymentJournal(fileName).ForEach(filter, take);
  } catch (const Exception &error) {
    throw Exception(QStringLiteral("Nie można odczytać historii (historia.sqlite): ") + error.Message());
  }
}

THistoryListing LoadHistory(const TAppPaths &paths, const THistoryFilter &filter) {
  THistoryListing listing;
  ListHistory(paths, filter, [&](const THistoryEntry &entry) {
    listing.Entries.push_back(entry);
    AddToHistorySums(listing.Sums, entry);
  });
  return listing;
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

void WriteHistoryCsv(const std::vector<THistoryEntry> &entries, const TByteSink &sink) {
  sink(HistoryCsvHeader());
  for (const THistoryEntry &entry : entries)
    sink(HistoryCsvLine(entry));
}
