#include "app/commands/HistoryCommands.h"

#include "model/Exception.h"

#include <QFileInfo>

THistoryCommands::THistoryCommands(THost &host) : FHost(host) {}

THistoryListing THistoryCommands::Load(const THistoryFilter &filter) const { return LoadHistory(FHost.Paths, filter); }

void THistoryCommands::OpenArchivedFile(const THistoryEntry &entry) {
  const QString fileName = FHost.Paths.AppFilePath(entry.ArchivePath);
  if (!QFileInfo::exists(fileName)) {
    FHost.Dialogs.ShowMessage(QStringLiteral("Nie ma już pliku %1.").arg(fileName));
    return;
  }
  FHost.Desktop.OpenWithDefaultApplication(fileName);
}

void THistoryCommands::PressExportCsv(const std::vector<THistoryEntry> &entries) {
  const QString fileName =
      FHost.Dialogs.ChooseSaveFile(TFileChoice{QStringLiteral("Eksportuj do CSV"), FHost.Paths.AppDir,
                                               QStringLiteral("Pliki CSV (*.csv)"), QStringLiteral("historia.csv")});
  if (fileName.isEmpty())
    return;
  try {
    WriteFileAtomically(fileName, [&](const TByteSink &sink) { WriteHistoryCsv(entries, sink); });
    FHost.Log.AppendLog(QStringLiteral("Zapisano historię płatności do pliku [%1]").arg(fileName), true);
  } catch (const std::exception &error) {
    // The page has no log of its own: the user is looking at it.
    FHost.Dialogs.ShowError(ErrorMessage(error));
  }
}
