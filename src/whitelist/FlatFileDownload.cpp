#include "whitelist/FlatFileDownload.h"

#include "model/Exception.h"

#include <QFile>
#include <QScopeGuard>
#include <curl/curl.h>
#include <memory>

namespace {

// The real file is some hundreds of megabytes; a server sending without end is stopped.
constexpr curl_off_t MaxDownloadSize = curl_off_t(4) << 30;

struct TCurlFree {
  void operator()(CURL *curl) const { curl_easy_cleanup(curl); }
};

struct TTransfer {
  QFile *File = nullptr;
  IProgress *Progress = nullptr;
  bool WriteFailed = false;
};

std::size_t WriteBody(char *data, std::size_t size, std::size_t count, void *user) {
  auto *transfer = static_cast<TTransfer *>(user);
  const qint64 bytes = qint64(size * count);
  if (transfer->File->write(data, bytes) != bytes) {
    transfer->WriteFailed = true;
    return 0;
  }
  return size * count;
}

int ReportProgress(void *user, curl_off_t total, curl_off_t done, curl_off_t, curl_off_t) {
  auto *transfer = static_cast<TTransfer *>(user);
  transfer->Progress->Report(qint64(done), qint64(total));
  return transfer->Progress->Cancelled() ? 1 : 0;
}

QString FailureReason(CURLcode code, long status) {
  switch (code) {
  case CURLE_COULDNT_RESOLVE_HOST:
  case CURLE_COULDNT_RESOLVE_PROXY:
  case CURLE_COULDNT_CONNECT:
  case CURLE_OPERATION_TIMEDOUT: return QStringLiteral("brak połączenia z serwerem (sprawdź dostęp do internetu)");
  case CURLE_PEER_FAILED_VERIFICATION:
  case CURLE_SSL_CACERT_BADFILE:
  case CURLE_SSL_CONNECT_ERROR: return QStringLiteral("nie udało się potwierdzić certyfikatu serwera");
  case CURLE_HTTP_RETURNED_ERROR:
    return status == 404 ? QStringLiteral("serwer nie ma takiego pliku")
                         : QStringLiteral("serwer odpowiedział błędem HTTP %1").arg(status);
  case CURLE_FILESIZE_EXCEEDED: return QStringLiteral("plik jest większy niż 4 GB");
  case CURLE_UNSUPPORTED_PROTOCOL: return QStringLiteral("adres musi zaczynać się od https://");
  case CURLE_PARTIAL_FILE:
  case CURLE_RECV_ERROR: return QStringLiteral("połączenie przerwano przed końcem pliku");
  default: return QStringLiteral("przerwane połączenie (kod %1)").arg(int(code));
  }
}

} // namespace

void DownloadFile(const TDownloadSource &source, const QString &fileName, IProgress &progress) {
  const QString partName = fileName + QStringLiteral(".czesc");
  QFile part(partName);
  if (!part.open(QIODevice::WriteOnly | QIODevice::Truncate))
    throw Exception(QStringLiteral("Nie można utworzyć pliku „%1”.").arg(partName));
  // Whatever ends the download before the rename takes the part with it.
  const auto removePart = qScopeGuard([&] { part.remove(); });

  const std::unique_ptr<CURL, TCurlFree> curl(curl_easy_init());
  if (!curl)
    throw std::bad_alloc();
  TTransfer transfer{&part, &progress};
  const QByteArray url = source.Url.toUtf8();
  const QByteArray caFile = QFile::encodeName(source.CaFile);
  curl_easy_setopt(curl.get(), CURLOPT_URL, url.constData());
  curl_easy_setopt(curl.get(), CURLOPT_PROTOCOLS_STR, "https");
  curl_easy_setopt(curl.get(), CURLOPT_REDIR_PROTOCOLS_STR, "https");
  curl_easy_setopt(curl.get(), CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(curl.get(), CURLOPT_MAXREDIRS, 5L);
  curl_easy_setopt(curl.get(), CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(curl.get(), CURLOPT_SSL_VERIFYHOST, 2L);
  if (!source.CaFile.isEmpty())
    curl_easy_setopt(curl.get(), CURLOPT_CAINFO, caFile.constData());
  curl_easy_setopt(curl.get(), CURLOPT_FAILONERROR, 1L);
  curl_easy_setopt(curl.get(), CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl.get(), CURLOPT_CONNECTTIMEOUT, 30L);
  // A stalled server: less than a byte a second for a minute.
  curl_easy_setopt(curl.get(), CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(curl.get(), CURLOPT_LOW_SPEED_TIME, 60L);
  curl_easy_setopt(curl.get(), CURLOPT_MAXFILESIZE_LARGE, MaxDownloadSize);
  curl_easy_setopt(curl.get(), CURLOPT_WRITEFUNCTION, WriteBody);
  curl_easy_setopt(curl.get(), CURLOPT_WRITEDATA, &transfer);
  curl_easy_setopt(curl.get(), CURLOPT_XFERINFOFUNCTION, ReportProgress);
  curl_easy_setopt(curl.get(), CURLOPT_XFERINFODATA, &transfer);
  curl_easy_setopt(curl.get(), CURLOPT_NOPROGRESS, 0L);
  const CURLcode code = curl_easy_perform(curl.get());
  long status = 0;
  curl_easy_getinfo(curl.get(), CURLINFO_RESPONSE_CODE, &status);

  if (code == CURLE_ABORTED_BY_CALLBACK)
    throw TCancelled(QStringLiteral("Pobieranie pliku płaskiego przerwano."));
  if (transfer.WriteFailed || (code == CURLE_OK && !part.flush()))
    throw Exception(QStringLiteral("Nie udało się zapisać pliku „%1” (czy na dysku jest miejsce?).").arg(partName));
  if (code != CURLE_OK)
    throw Exception(
        QStringLiteral("Nie udało się pobrać pliku płaskiego z %1: %2.").arg(source.Url, FailureReason(code, status)));
  part.close();
  QFile::remove(fileName);
  if (!QFile::rename(partName, fileName))
    throw Exception(QStringLiteral("Nie można zapisać pliku „%1”.").arg(fileName));
}
