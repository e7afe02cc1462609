#pragma once

#include "app/commands/AppPaths.h"
#include "journal/JournalRecords.h"
#include "model/AtomicFile.h"

#include <QMap>
#include <functional>
#include <vector>

// The journal as the page "Historia" and `pavena-cli historia` list it. A journal not made
// yet lists nothing; one that cannot be read fails with "Nie można odczytać historii
// (historia.sqlite): " and the reason.

// Hands each payment that `filter` lets through to `take`, newest first.
void ListHistory(const TAppPaths &paths, const THistoryFilter &filter,
                 const std::function<void(const THistoryEntry &)> &take);

// What the page shows: the payments and their sums per currency (without withdrawn files).
struct THistoryListing {
  std::vector<THistoryEntry> Entries;
  QMap<QString, TAmount> Sums;
};
THistoryListing LoadHistory(const TAppPaths &paths, const THistoryFilter &filter);

// The listing as CSV (see HistoryCsvHeader), written out line by line as it is read.
void WriteHistoryCsv(const TAppPaths &paths, const THistoryFilter &filter, const TByteSink &sink);
// The listing as a table for the terminal, UTF-8, ended by the sums per currency (without
// withdrawn files).
void WriteHistoryTable(const TAppPaths &paths, const THistoryFilter &filter, const TByteSink &sink);

// Entries already listed, as CSV.
void WriteHistoryCsv(const std::vector<THistoryEntry> &entries, const TByteSink &sink);
