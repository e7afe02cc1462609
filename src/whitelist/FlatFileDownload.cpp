#include "whitelist/FlatFileDownload.h"

#include "model/Exception.h"
#include "net/HttpsClient.h"

#include <QFile>
#include <QScopeGuard>

namespace {

// The real file is some hundreds of megabytes; a server sending without end is stopped.
constexpr qint64 MaxDownloadSize = qint64(4) << 30;

QString FailureReason(const THttpsFailure &failure) {
  return failure.Kind() == THttpsFailure::TKind::TooLong ? QStringLiteral("plik jest większy niż 4 GB")
                                                         : failure.Reason();
}

QString StatusReason(long status) {
  return status == 404 ? QStringLiteral("serwer nie ma takiego pliku")
                       : QStringLiteral("serwer odpowiedział błędem HTTP %1").arg(status);
}

} // namespace

void DownloadFile(const TDownloadSource &source, const QString &fileName, IProgress &progress) {
  const QString partName = fileName + QStringLiteral(".czesc");
  QFile part(partName);
  if (!part.open(QIODevice::WriteOnly | QIODevice::Truncate))
    throw Exception(QStringLiteral("Nie można utworzyć pliku „%1”.").arg(partName));
  // Whatever ends the download before the rename takes the part with it.
  const auto removePart = qScopeGuard([&] { part.remove(); });
  const auto writeFailed = [&] {
    return Exception(QStringLiteral("Nie udało się zapisać pliku „%1” (czy na dysku jest miejsce?).").arg(partName));
  };

  THttpsRequest request;
  request.Url = source.Url;
  request.MaxAnswer = MaxDownloadSize;
  request.FollowRedirects = true;
  THttpsAnswer answer;
  try {
    answer = THttpsClient(source.CaFile).Send(request, progress, [&](QByteArrayView bytes) {
      if (part.write(bytes.data(), bytes.size()) != bytes.size())
        throw writeFailed();
    });
  } catch (const THttpsFailure &failure) {
    if (failure.Kind() == THttpsFailure::TKind::Cancelled)
      throw TCancelled(QStringLiteral("Pobieranie pliku płaskiego przerwano."));
    throw Exception(
        QStringLiteral("Nie udało się pobrać pliku płaskiego z %1: %2.").arg(source.Url, FailureReason(failure)));
  }
  if (answer.Status / 100 != 2)
    throw Exception(
        QStringLiteral("Nie udało się pobrać pliku płaskiego z %1: %2.").arg(source.Url, StatusReason(answer.Status)));
  if (!part.flush())
    throw writeFailed();
  part.close();
  QFile::remove(fileName);
  if (!QFile::rename(partName, fileName))
    throw Exception(QStringLiteral("Nie można zapisać pliku „%1”.").arg(fileName));
}
