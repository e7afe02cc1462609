#include "net/HttpsClient.h"

#include "model/SecretBytes.h"

#include <QFile>
#include <algorithm>
#include <cstring>
#include <curl/curl.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509_vfy.h>
#include <exception>
#include <memory>

namespace {

// What an error answer may say is read only this far.
constexpr qint64 MaxErrorBody = 64 << 10;

struct TCurlFree {
  void operator()(CURL *curl) const { curl_easy_cleanup(curl); }
};

// A header line may carry an access token: curl's copies are overwritten before they are freed.
struct TListFree {
  void operator()(curl_slist *list) const {
    for (curl_slist *line = list; line; line = line->next)
      WipeSecret(line->data, std::strlen(line->data));
    curl_slist_free_all(list);
  }
};

struct TTransfer {
  THttpsAnswer *Answer = nullptr;
  const TBodySink *Sink = nullptr;
  IProgress *Progress = nullptr;
  qint64 MaxAnswer = 0;
  qint64 Received = 0;
  bool TooLong = false;
  // An error answer longer than what is read of it: ended there, its status kept.
  bool ErrorBodyCut = false;
  long Status = 0;
  std::exception_ptr SinkError;
};

std::size_t TakeBody(char *data, std::size_t size, std::size_t count, void *user) {
  auto *transfer = static_cast<TTransfer *>(user);
  const qint64 bytes = qint64(size * count);
  if (transfer->Status / 100 != 2) {
    // Only the answer asked for is bounded by MaxAnswer; an error is read as far as it may say.
    transfer->Answer->Body.append(data, std::min(bytes, MaxErrorBody - transfer->Answer->Body.size()));
    if (transfer->Answer->Body.size() < MaxErrorBody)
      return size * count;
    transfer->ErrorBodyCut = true;
    return 0;
  }
  transfer->Received += bytes;
  if (transfer->Received > transfer->MaxAnswer) {
    transfer->TooLong = true;
    return 0;
  }
  if (*transfer->Sink) {
    try {
      (*transfer->Sink)(QByteArrayView(data, bytes));
    } catch (...) {
      transfer->SinkError = std::current_exception();
      return 0;
    }
  } else {
    transfer->Answer->Body.append(data, bytes);
  }
  return size * count;
}

std::size_t TakeHeader(char *data, std::size_t size, std::size_t count, void *user) {
  auto *transfer = static_cast<TTransfer *>(user);
  const QByteArray line = QByteArray(data, qsizetype(size * count)).trimmed();
  if (line.startsWith("HTTP/")) {
    // A new answer (after a redirect or a 100 Continue): its own status and headers.
    const QList<QByteArray> words = line.split(' ');
    transfer->Status = words.size() > 1 ? words[1].toLong() : 0;
    transfer->Received = 0;
    transfer->Answer->Body.clear();
    transfer->Answer->ContentType.clear();
    transfer->Answer->RetryAfter.reset();
    return size * count;
  }
  const qsizetype colon = line.indexOf(':');
  if (colon <= 0)
    return size * count;
  const QByteArray name = line.left(colon).trimmed().toLower();
  const QByteArray value = line.mid(colon + 1).trimmed();
  if (name == "content-type") {
    transfer->Answer->ContentType = value.left(200);
  } else if (name == "content-length" && transfer->Status / 100 == 2) {
    bool ok = false;
    if (value.toLongLong(&ok) > transfer->MaxAnswer && ok) {
      transfer->TooLong = true;
      return 0;
    }
  } else if (name == "retry-after") {
    bool ok = false;
    const int seconds = value.toInt(&ok);
    if (ok && seconds >= 0)
      transfer->Answer->RetryAfter = seconds;
  }
  return size * count;
}

int ReportProgress(void *user, curl_off_t total, curl_off_t done, curl_off_t, curl_off_t) {
  auto *transfer = static_cast<TTransfer *>(user);
  transfer->Progress->Report(qint64(done), qint64(total));
  return transfer->Progress->Cancelled() ? 1 : 0;
}

// `connected`: the server had been reached when the request failed.
THttpsFailure Failure(CURLcode code, bool connected = false) {
  using TKind = THttpsFailure::TKind;
  if (code == CURLE_OPERATION_TIMEDOUT && connected)
    return {TKind::TimedOut, QStringLiteral("serwer nie przysłał odpowiedzi w dopuszczalnym czasie")};
  switch (code) {
  case CURLE_COULDNT_RESOLVE_HOST:
  case CURLE_COULDNT_RESOLVE_PROXY:
  case CURLE_COULDNT_CONNECT:
  case CURLE_OPERATION_TIMEDOUT:
    return {TKind::NoConnection, QStringLiteral("brak połączenia z serwerem (sprawdź dostęp do internetu)")};
  case CURLE_PEER_FAILED_VERIFICATION:
  case CURLE_SSL_CACERT_BADFILE:
  case CURLE_SSL_CONNECT_ERROR:
    return {TKind::Certificate, QStringLiteral("nie udało się potwierdzić certyfikatu serwera")};
  case CURLE_UNSUPPORTED_PROTOCOL: return {TKind::NotHttps, QStringLiteral("adres musi zaczynać się od https://")};
  case CURLE_PARTIAL_FILE:
  case CURLE_RECV_ERROR: return {TKind::CutShort, QStringLiteral("połączenie przerwano przed końcem pliku")};
  case CURLE_ABORTED_BY_CALLBACK: return {TKind::Cancelled, QStringLiteral("przerwano")};
  case CURLE_FILESIZE_EXCEEDED: return {TKind::TooLong, QStringLiteral("odpowiedź jest dłuższa niż dopuszczalna")};
  default: return {TKind::Other, QStringLiteral("przerwane połączenie (kod %1)").arg(int(code))};
  }
}

// Adds the authorities of a PEM file to those curl loaded (the system's bundle), and the
// system's as OpenSSL finds them (SSL_CERT_FILE, SSL_CERT_DIR, else its own directory), where
// there are any.
CURLcode AddAuthorities(CURL *, void *sslContext, void *caFile) {
  X509_STORE *store = SSL_CTX_get_cert_store(static_cast<SSL_CTX *>(sslContext));
  (void)X509_STORE_set_default_paths(store);
  const bool added = X509_STORE_load_file(store, static_cast<const QByteArray *>(caFile)->constData()) == 1;
  ERR_clear_error();
  return added ? CURLE_OK : CURLE_SSL_CACERT_BADFILE;
}

} // namespace

THttpsClient::THttpsClient(QString caFile, TCaFileUse use) : FCaFile(std::move(caFile)), FCaFileUse(use) {}

THttpsAnswer THttpsClient::Send(const THttpsRequest &request, IProgress &progress, const TBodySink &sink) const {
  const std::unique_ptr<CURL, TCurlFree> curl(curl_easy_init());
  if (!curl)
    throw std::bad_alloc();
  THttpsAnswer answer;
  TTransfer transfer;
  transfer.Answer = &answer;
  transfer.Sink = &sink;
  transfer.Progress = &progress;
  transfer.MaxAnswer = request.MaxAnswer;
  QList<QByteArray> headerLines = request.Headers;
  // A POST without a body of its own is sent as such, not as an empty form.
  if (request.Method == "POST" && std::none_of(headerLines.begin(), headerLines.end(), [](const QByteArray &line) {
        return line.toLower().startsWith("content-type:");
      }))
    headerLines << "Content-Type:";
  std::unique_ptr<curl_slist, TListFree> headers;
  for (const QByteArray &header : headerLines) {
    curl_slist *list = curl_slist_append(headers.get(), header.constData());
    if (!list)
      throw std::bad_alloc();
    (void)headers.release();
    headers.reset(list);
  }
  const QByteArray url = request.Url.toUtf8();
  const QByteArray caFile = QFile::encodeName(FCaFile);
  CURL *handle = curl.get();
  curl_easy_setopt(handle, CURLOPT_URL, url.constData());
  curl_easy_setopt(handle, CURLOPT_CUSTOMREQUEST, request.Method.constData());
  if (request.Method == "POST") {
    curl_easy_setopt(handle, CURLOPT_POSTFIELDS, request.Body.constData());
    curl_easy_setopt(handle, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(request.Body.size()));
  }
  curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headers.get());
  curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "https");
  curl_easy_setopt(handle, CURLOPT_REDIR_PROTOCOLS_STR, "https");
  if (request.FollowRedirects) {
    curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(handle, CURLOPT_MAXREDIRS, 5L);
  }
  curl_easy_setopt(handle, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(handle, CURLOPT_SSL_VERIFYHOST, 2L);
  if (!FCaFile.isEmpty() && FCaFileUse == TCaFileUse::InsteadOfSystem)
    curl_easy_setopt(handle, CURLOPT_CAINFO, caFile.constData());
  if (!FCaFile.isEmpty() && FCaFileUse == TCaFileUse::BesidesSystem) {
    curl_easy_setopt(handle, CURLOPT_SSL_CTX_FUNCTION, AddAuthorities);
    curl_easy_setopt(handle, CURLOPT_SSL_CTX_DATA, &caFile);
  }
  curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, 30L);
  // A stalled server: less than a byte a second for a minute.
  curl_easy_setopt(handle, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(handle, CURLOPT_LOW_SPEED_TIME, 60L);
  if (request.TimeLimitMs > 0)
    curl_easy_setopt(handle, CURLOPT_TIMEOUT_MS, long(request.TimeLimitMs));
  curl_easy_setopt(handle, CURLOPT_HEADERFUNCTION, TakeHeader);
  curl_easy_setopt(handle, CURLOPT_HEADERDATA, &transfer);
  curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, TakeBody);
  curl_easy_setopt(handle, CURLOPT_WRITEDATA, &transfer);
  curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, ReportProgress);
  curl_easy_setopt(handle, CURLOPT_XFERINFODATA, &transfer);
  curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
  const CURLcode code = curl_easy_perform(handle);

  if (transfer.SinkError)
    std::rethrow_exception(transfer.SinkError);
  if (transfer.TooLong)
    throw Failure(CURLE_FILESIZE_EXCEEDED);
  if (code != CURLE_OK && !transfer.ErrorBodyCut) {
    curl_off_t secured = 0;
    curl_easy_getinfo(handle, CURLINFO_APPCONNECT_TIME_T, &secured);
    throw Failure(code, secured > 0);
  }
  curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &answer.Status);
  return answer;
}
