#include "app/commands/HistoryCommands.h"

#include "app/commands/OutputAsInput.h"
#include "app/commands/TransferFileWithdrawal.h"
#include "app/commands/TransferJournal.h"
#include "model/Exception.h"

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

void THistoryCommands::ExportCsv(const TAppPaths &paths, const QString &fileName, const THistoryFilter &filter) {
  if (IsSameFile(fileName, JournalFile(paths)))
    throw Exception(
        QStringLiteral("Nie można zapisać historii do pliku %1: to plik samej historii płatności.").arg(fileName));
  WriteFileAtomically(fileName, [&](const TByteSink &sink) { WriteHistoryCsv(paths, filter, sink); });
}

void THistoryCommands::ReportExport(const QString &fileName) {
  FHost.Log.AppendLog(QStringLiteral("Zapisano historię płatności do pliku [%1]").arg(fileName), true);
}

bool THistoryCommands::PressWithdraw(const THistoryEntry &entry) {
  return Change(QStringLiteral("Wycofać plik nr %1 (%2) z %3?\n\nRób to tylko dla pliku, który nie trafił do banku "
                               "(próba, plik odrzucony przez bank albo zastąpiony poprawionym). Jego płatności "
                               "zostaną w historii, ale nie będą już liczone jako zapłacone.")
                    .arg(QString::number(entry.FileId), entry.ArchivePath,
                         entry.WrittenAt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))),
                [&] { return WithdrawTransferFile(FHost.Paths, entry.FileId, FHost.Now()); });
}

bool THistoryCommands::PressRestore(const THistoryEntry &entry) {
  return Change(QStringLiteral("Przywrócić plik nr %1 (%2)?\n\nJego płatności znów będą liczone jako zapłacone.")
                    .arg(QString::number(entry.FileId), entry.ArchivePath),
                [&] { return RestoreTransferFile(FHost.Paths, entry.FileId); });
}

bool THistoryCommands::Change(const QString &question, const std::function<QString()> &change) {
  if (!FHost.Dialogs.Confirm(question))
    return false;
  try {
    FHost.Log.AppendLog(change(), true);
    return true;
  } catch (const std::exception &error) {
    FHost.Dialogs.ShowError(ErrorMessage(error));
    return false;
  }
}
