#pragma once

#include "app/commands/HistoryListing.h"
#include "app/commands/Host.h"

#include <functional>

// What the page "Historia" asks for besides its listing: the archived file of a payment, the
// export of the listing it shows, and withdrawing a file that never went to the bank.
class THistoryCommands {
public:
  explicit THistoryCommands(THost &host);

  // Opens the archived transfer file that paid `entry`; says so in a box when it is gone.
  void OpenArchivedFile(const THistoryEntry &entry);
  // "Eksportuj do CSV…", in three steps so that the writing may run off the window's thread:
  // asks where to (empty when the user gives up), writes the listing of `filter` there as CSV
  // (failing with the reason; the journal itself is never written over), and logs the file's
  // name. The writing takes the data directory by value: it may outlive the window's host.
  QString ChooseExportFile();
  static void ExportCsv(const TAppPaths &paths, const QString &fileName, const THistoryFilter &filter);
  void ReportExport(const QString &fileName);
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
