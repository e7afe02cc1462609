#include "mail/MailSender.h"

#include "mail/AttachmentHeaders.h"
#include "mail/AttachmentReader.h"
#include "mail/MailFailure.h"
#include "mail/SmtpTranscript.h"
#include "model/Exception.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <curl/curl.h>
#include <memory>
#include <new>
#include <optional>
#include <sys/socket.h>
#include <unistd.h>

namespace {

const char Subject[] = "Plik z programu pavena.exe";

struct TCurlFree {
  void operator()(CURL *handle) const { curl_easy_cleanup(handle); }
  void operator()(curl_mime *mime) const { curl_mime_free(mime); }
  void operator()(curl_slist *list) const { curl_slist_free_all(list); }
};
using TCurlHandle = std::unique_ptr<CURL, TCurlFree>;
// CURL and CURLM are the same void to the compiler, so the multi handle has a deleter of its own.
struct TCurlMultiFree {
  void operator()(CURLM *multi) const { curl_multi_cleanup(multi); }
};
using TCurlMulti = std::unique_ptr<CURLM, TCurlMultiFree>;
using TCurlMime = std::unique_ptr<curl_mime, TCurlFree>;
using TCurlList = std::unique_ptr<curl_slist, TCurlFree>;

void Append(TCurlList &list, const QByteArray &line) {
  curl_slist *head = curl_slist_append(list.get(), line.constData());
  if (!head)
    throw std::bad_alloc();
  (void)list.release();
  list.reset(head);
}

// The one-time set-up libcurl asks for before its first handle.
void InitialiseCurl() {
  static const CURLcode initialised = curl_global_init(CURL_GLOBAL_DEFAULT);
  if (initialised != CURLE_OK)
    throw Exception(QStringLiteral("Nie można uruchomić obsługi poczty: %1")
                        .arg(QString::fromUtf8(curl_easy_strerror(initialised))));
}

void RequireComplete(const TMailServer &server) {
  const QString missing = MissingMailSettings(server);
  if (!missing.isEmpty())
    throw Exception(missing);
}

QByteArray ServerUrl(const TMailServer &server) {
  const bool ipv6 = server.Host.contains(QLatin1Char(':'));
  const QString host = ipv6 ? QLatin1Char('[') + server.Host + QLatin1Char(']') : server.Host;
  return QStringLiteral("smtp://%1:%2").arg(host).arg(server.Port).toUtf8();
}

int OnDebug(CURL *, curl_infotype type, char *data, size_t size, void *transcript) {
  const QByteArrayView text(data, static_cast<qsizetype>(size));
  if (type == CURLINFO_HEADER_OUT)
    static_cast<TSmtpTranscript *>(transcript)->Sent(text);
  else if (type == CURLINFO_HEADER_IN)
    static_cast<TSmtpTranscript *>(transcript)->Received(text);
  return 0;
}

// How one attempt meets the server. The first is encrypted and logs in; one that offers no LOGIN
// is tried again encrypted without it. A server that offers no STARTTLS is tried again in clear
// text without the login only where the build allows it (TMailServer::AllowPlain).
struct TSecurity {
  bool Encrypt = true;
  bool LogIn = true;
};

void SetConnection(CURL *handle, const TMailServer &server, TSecurity security) {
  curl_easy_setopt(handle, CURLOPT_URL, ServerUrl(server).constData());
  curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
  // A cancellation during the name lookup need not wait for it to end.
  curl_easy_setopt(handle, CURLOPT_QUICK_EXIT, 1L);
  curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, static_cast<long>(server.ConnectTimeout.count()));
  // A server that stops answering a command, or stops taking the message, ends the send.
  curl_easy_setopt(handle, CURLOPT_SERVER_RESPONSE_TIMEOUT, static_cast<long>(server.StallTimeout.count()));
  curl_easy_setopt(handle, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(handle, CURLOPT_LOW_SPEED_TIME, static_cast<long>(server.StallTimeout.count()));

  if (!security.Encrypt) {
    curl_easy_setopt(handle, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_NONE));
    return;
  }
  // Demanding STARTTLS, not merely trying it, makes libcurl stop right after EHLO when the
  // server does not offer it, before the login or anything else has been sent.
  curl_easy_setopt(handle, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
  curl_easy_setopt(handle, CURLOPT_SSLVERSION, long{CURL_SSLVERSION_TLSv1_2} | long{CURL_SSLVERSION_MAX_TLSv1_2});
  curl_easy_setopt(handle, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(handle, CURLOPT_SSL_VERIFYHOST, 2L);
  if (!server.CAFile.isEmpty()) {
    curl_easy_setopt(handle, CURLOPT_CAINFO, QFile::encodeName(server.CAFile).constData());
    // Debian's libcurl also looks in /etc/ssl/certs unless told not to.
    curl_easy_setopt(handle, CURLOPT_CAPATH, nullptr);
  }
  if (!security.LogIn)
    return;
  curl_easy_setopt(handle, CURLOPT_USERNAME, server.User.toUtf8().constData());
  curl_easy_setopt(handle, CURLOPT_PASSWORD, server.Password.toUtf8().constData());
  // LOGIN only. When the server lists other mechanisms but not this one, libcurl gives up with
  // CURLE_LOGIN_DENIED before sending AUTH at all.
  curl_easy_setopt(handle, CURLOPT_LOGIN_OPTIONS, "AUTH=LOGIN");
}

// The message and the envelope; libcurl reads them during the transfer, so they must outlive it.
struct TMessage {
  TCurlList Headers;
  TCurlList Recipients;
  TCurlMime Mime;
};

void SetMessage(CURL *handle, TMessage &message, const TMailServer &server, const QString &body,
                const QString &fileName, TAttachmentReader &reader) {
  const QByteArray address = server.Address.toUtf8();
  Append(message.Headers, "Date: " + QDateTime::currentDateTime().toString(Qt::RFC2822Date).toLatin1());
  Append(message.Headers, "From: " + address);
  Append(message.Headers, "To: " + address);
  Append(message.Headers, QByteArray("Subject: ") + Subject);
  Append(message.Recipients, '<' + address + '>');

  message.Mime.reset(curl_mime_init(handle));
  curl_mimepart *text = curl_mime_addpart(message.Mime.get());
  const QByteArray bodyText = body.toUtf8();
  curl_mime_data(text, bodyText.constData(), static_cast<size_t>(bodyText.size()));
  curl_mime_type(text, "text/plain; charset=UTF-8");
  curl_mime_encoder(text, "quoted-printable");

  curl_mimepart *attachment = curl_mime_addpart(message.Mime.get());
  curl_mime_data_cb(attachment, -1, &TAttachmentReader::Read, &TAttachmentReader::Seek, nullptr, &reader);
  curl_mime_encoder(attachment, "base64");
  const QString name = QFileInfo(fileName).fileName();
  TCurlList attachmentHeaders;
  Append(attachmentHeaders, AttachmentContentType(name));
  Append(attachmentHeaders, AttachmentDisposition(name));
  curl_mime_headers(attachment, attachmentHeaders.release(), 1);

  curl_easy_setopt(handle, CURLOPT_MAIL_FROM, ('<' + address + '>').constData());
  curl_easy_setopt(handle, CURLOPT_MAIL_RCPT, message.Recipients.get());
  curl_easy_setopt(handle, CURLOPT_HTTPHEADER, message.Headers.get());
  curl_easy_setopt(handle, CURLOPT_MIMEPOST, message.Mime.get());
}

struct TFailure {
  // The attempt to make when the server lacked STARTTLS or LOGIN and so this one stopped
  // before the login or the message was sent.
  std::optional<TSecurity> Fallback;
  Exception Error;
};

std::optional<TSecurity> FallbackAfter(CURLcode code, const TSmtpTranscript &transcript, TSecurity security,
                                       const TMailServer &server) {
  const QByteArray stage = transcript.LastCommand();
  if (server.AllowPlain && security.Encrypt && code == CURLE_USE_SSL_FAILED && (stage == "EHLO" || stage == "HELO"))
    return TSecurity{false, false};
  if (security.LogIn && code == CURLE_LOGIN_DENIED && stage != "AUTH")
    return TSecurity{security.Encrypt, false};
  return std::nullopt;
}

// The cancellation wakes this send while it lives; it must not reach a freed multi handle.
class TWakeWhileSending {
public:
  TWakeWhileSending(TCancellation &cancellation, CURLM *multi) : FCancellation(cancellation) {
    FCancellation.SetWaker([multi] { curl_multi_wakeup(multi); });
  }
  ~TWakeWhileSending() { FCancellation.SetWaker({}); }
  TWakeWhileSending(const TWakeWhileSending &) = delete;
  TWakeWhileSending &operator=(const TWakeWhileSending &) = delete;

private:
  TCancellation &FCancellation;
};

// The socket libcurl talks to the server on, kept so that a cancellation can shut it; forgotten
// when libcurl closes it, so that a number the system hands out again is never touched.
struct TServerSocket {
  curl_socket_t Socket = CURL_SOCKET_BAD;

  static int Opened(void *self, curl_socket_t socket, curlsocktype) {
    static_cast<TServerSocket *>(self)->Socket = socket;
    return CURL_SOCKOPT_OK;
  }
  static int Closed(void *self, curl_socket_t socket) {
    auto *server = static_cast<TServerSocket *>(self);
    if (server->Socket == socket)
      server->Socket = CURL_SOCKET_BAD;
    return close(socket);
  }
};

// Runs the transfer until it ends or is cancelled; true when it was cancelled. The wait for the
// server is the multi interface's, which a cancellation from another thread can interrupt. Once
// the whole file is handed over the server is about to take the message, so a cancellation
// then is too late: the send ends as it would have, rather than reporting a mail that arrives
// as not sent.
bool Perform(CURL *handle, TCancellation &cancellation, const TAttachmentReader &reader, CURLcode &result) {
  // Before the multi handle: the connection is closed when that goes.
  TServerSocket server;
  const TCurlMulti multi(curl_multi_init());
  if (!multi)
    throw std::bad_alloc();
  curl_easy_setopt(handle, CURLOPT_SOCKOPTFUNCTION, &TServerSocket::Opened);
  curl_easy_setopt(handle, CURLOPT_SOCKOPTDATA, &server);
  curl_easy_setopt(handle, CURLOPT_CLOSESOCKETFUNCTION, &TServerSocket::Closed);
  curl_easy_setopt(handle, CURLOPT_CLOSESOCKETDATA, &server);
  curl_multi_add_handle(multi.get(), handle);
  bool cancelled = false;
  result = CURLE_FAILED_INIT;
  {
    const TWakeWhileSending wake(cancellation, multi.get());
    int running = 1;
    for (;;) {
      if (cancellation.IsCancelled() && !reader.Handed()) {
        cancelled = true;
        break;
      }
      if (curl_multi_perform(multi.get(), &running) != CURLM_OK)
        break;
      if (running == 0) {
        int queued = 0;
        while (const CURLMsg *done = curl_multi_info_read(multi.get(), &queued))
          if (done->msg == CURLMSG_DONE)
            result = done->data.result;
        break;
      }
      curl_multi_poll(multi.get(), nullptr, 0, 1000, nullptr);
    }
  }
  // A cancelled transfer's connection is shut at once: without that, ending it would still say
  // QUIT and wait for a silent server's answer.
  if (cancelled && server.Socket != CURL_SOCKET_BAD)
    shutdown(server.Socket, SHUT_RDWR);
  curl_multi_remove_handle(multi.get(), handle);
  return cancelled;
}

// One connection, from the greeting to QUIT.
std::optional<TFailure> Transmit(const TMailServer &server, const QString &body, const QString &fileName,
                                 TSecurity security, TCancellation &cancellation) {
  // Declared before the handle: they must outlive the transfer and its connection's end.
  TAttachmentReader reader(fileName);
  TSmtpTranscript transcript;
  char detail[CURL_ERROR_SIZE] = {};
  TMessage message;
  const TCurlHandle handle(curl_easy_init());
  if (!handle)
    throw Exception(QStringLiteral("Nie można uruchomić obsługi poczty"));
  curl_easy_setopt(handle.get(), CURLOPT_ERRORBUFFER, detail);
  curl_easy_setopt(handle.get(), CURLOPT_DEBUGFUNCTION, &OnDebug);
  curl_easy_setopt(handle.get(), CURLOPT_DEBUGDATA, &transcript);
  curl_easy_setopt(handle.get(), CURLOPT_VERBOSE, 1L);
  SetConnection(handle.get(), server, security);
  SetMessage(handle.get(), message, server, body, fileName, reader);

  CURLcode code = CURLE_OK;
  if (Perform(handle.get(), cancellation, reader, code))
    throw TCancelled(QStringLiteral("Wysyłanie pliku przerwane przez użytkownika."));
  if (code == CURLE_OK)
    return std::nullopt;
  if (reader.Failure())
    return TFailure{std::nullopt, Exception(*reader.Failure())};
  long verifyResult = 0;
  curl_easy_getinfo(handle.get(), CURLINFO_SSL_VERIFYRESULT, &verifyResult);
  return TFailure{FallbackAfter(code, transcript, security, server),
                  MailFailure(code, detail, verifyResult, transcript, server)};
}

} // namespace

void TMailSender::SendFile(const TMailServer &server, const QString &body, const QString &fileName) {
  TCancellation never;
  SendFile(server, body, fileName, never);
}

void TMailSender::SendFile(const TMailServer &server, const QString &body, const QString &fileName,
                           TCancellation &cancellation) {
  RequireComplete(server);
  InitialiseCurl();
  std::optional<TFailure> failure = Transmit(server, body, fileName, TSecurity{}, cancellation);
  if (failure && failure->Fallback)
    failure = Transmit(server, body, fileName, *failure->Fallback, cancellation);
  if (failure)
    throw failure->Error;
}
