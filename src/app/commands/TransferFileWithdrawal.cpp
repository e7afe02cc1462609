#include "app/commands/TransferFileWithdrawal.h"

#include "app/commands/TransferJournal.h"
#include "journal/PaymentJournal.h"
#include "model/Exception.h"

namespace {

QString UnknownFile(std::int64_t fileId) { return QStringLiteral("W historii nie ma pliku nr %1.").arg(fileId); }

// Sets or clears the mark; gives the file's mark as it was before.
TFileMark Mark(const TAppPaths &paths, std::int64_t fileId, const std::optional<QDateTime> &at) {
  const TJournalPlace place = TJournalPlace::Of(paths);
  std::optional<TFileMark> before;
  try {
    // Without a journal there is no file to mark, and none is made for the question.
    if (const std::unique_ptr<IPaymentJournal> journal = place.OpenExisting())
      before = journal->MarkWithdrawn(fileId, at);
  } catch (const Exception &error) {
    throw Exception(QStringLiteral("Nie można zmienić historii (%1): %2").arg(place.Name(), error.Message()));
  }
  if (!before)
    throw Exception(UnknownFile(fileId));
  return *before;
}

QString ShownDate(const QDateTime &time) { return time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")); }

} // namespace

QString WithdrawTransferFile(const TAppPaths &paths, std::int64_t fileId, const QDateTime &now) {
  const TFileMark before = Mark(paths, fileId, now);
  if (before.WithdrawnAt)
    throw Exception(QStringLiteral("Plik nr %1 (%2) jest już wycofany od %3.")
                        .arg(QString::number(fileId), before.ArchivePath, ShownDate(*before.WithdrawnAt)));
  return QStringLiteral("Plik nr %1 (%2) oznaczono jako wycofany: jego płatności nie liczą się już jako zapłacone.")
      .arg(QString::number(fileId), before.ArchivePath);
}

QString RestoreTransferFile(const TAppPaths &paths, std::int64_t fileId) {
  const TFileMark before = Mark(paths, fileId, std::nullopt);
  if (!before.WithdrawnAt)
    throw Exception(
        QStringLiteral("Plik nr %1 (%2) nie jest wycofany.").arg(QString::number(fileId), before.ArchivePath));
  return QStringLiteral("Plik nr %1 (%2) przywrócono: jego płatności znów liczą się jako zapłacone.")
      .arg(QString::number(fileId), before.ArchivePath);
}
