#pragma once

#include "app/commands/HistoryListing.h"
#include "app/commands/Host.h"

// What the page "Historia" asks for: the listing it shows, the archived file of a payment,
// and the export of what it shows.
class THistoryCommands {
public:
  explicit THistoryCommands(THost &host);

  // Fails with the message of ListHistory.
  THistoryListing Load(const THistoryFilter &filter) const;
  // Opens the archived transfer file that paid `entry`; says so in a box when it is gone.
  void OpenArchivedFile(const THistoryEntry &entry);
  // "Eksportuj do CSV…": asks where to, then writes `entries` as CSV and logs the file's name;
  // a file that cannot be written is shown in the error box.
  void PressExportCsv(const std::vector<THistoryEntry> &entries);

private:
  THost &FHost;
};
