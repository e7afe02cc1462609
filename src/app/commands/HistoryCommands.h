#pragma once

#include "app/commands/HistoryListing.h"
#include "app/commands/Host.h"

// What the page "Historia" asks for besides its listing: the archived file of a payment, and the
// export of the listing it shows.
class THistoryCommands {
public:
  explicit THistoryCommands(THost &host);

  // Opens the archived transfer file that paid `entry`; says so in a box when it is gone.
  void OpenArchivedFile(const THistoryEntry &entry);
  // "Eksportuj do CSV…", in three steps so that the writing may run off the window's thread:
  // asks where to (empty when the user gives up), writes the listing of `filter` there as CSV
  // (failing with the reason), and logs the file's name.
  QString ChooseExportFile();
  void ExportCsv(const QString &fileName, const THistoryFilter &filter) const;
  void ReportExport(const QString &fileName);

private:
  THost &FHost;
};
