#include "app/commands/HistoryCommands.h"

#include <QFileInfo>

THistoryCommands::THistoryCommands(THost &host) : FHost(host) {}

void THistoryCommands::OpenArchivedFile(const THistoryEntry &entry) {
  const QString fileName = FHost.Paths.AppFilePath(entry.ArchivePath);
  if (!QFileInfo::exists(fileName)) {
    FHost.Dialogs.ShowMessage(QStringLiteral("Nie ma już pliku %1.").arg(fileName));
    return;
  }
  FHost.Desktop.OpenWithDefaultApplication(fileName);
}

QString THistoryCommands::ChooseExportFile() {
  return FHost.Dialogs.ChooseSaveFile(TFileChoice{QStringLiteral("Eksportuj do CSV"), FHost.Paths.AppDir,
                                                  QStringLiteral("Pliki CSV (*.csv)"), QStringLiteral("historia.csv")});
}

void THistoryCommands::ExportCsv(const QString &fileName, const THistoryFilter &filter) const {
  WriteFileAtomically(fileName, [&](const TByteSink &sink) { WriteHistoryCsv(FHost.Paths, filter, sink); });
}

void THistoryCommands::ReportExport(const QString &fileName) {
  FHost.Log.AppendLog(QStringLiteral("Zapisano historię płatności do pliku [%1]").arg(fileName), true);
}
