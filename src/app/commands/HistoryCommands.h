#pragma once

#include "app/commands/HistoryListing.h"
#include "app/commands/Host.h"

#include <functional>

// What the page "Historia" asks for: the listing it shows, the archived file of a payment,
// the export of what it shows, and withdrawing a file that never went to the bank.
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
  // "Wycofaj plik…": asks whether the transfer file that paid `entry` never went to the bank,
  // then marks it as withdrawn and logs so; "Przywróć plik" asks and takes the mark away. A
  // refusal (an unknown file, one already in that state) is shown in the error box. True
  // when the journal changed, so that the page reads it again.
  bool PressWithdraw(const THistoryEntry &entry);
  bool PressRestore(const THistoryEntry &entry);

private:
  bool Change(const QString &question, const std::function<QString()> &change);

  THost &FHost;
};
