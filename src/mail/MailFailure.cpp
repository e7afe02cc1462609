#include "mail/MailFailure.h"

namespace {

QString Refusal(const TSmtpTranscript &transcript, const TMailServer &server) {
  const QByteArray command = transcript.LastCommand();
  const QString reply = transcript.LastReply();
  if (command == "STARTTLS")
    return QStringLiteral("Serwer pocztowy odmówił szyfrowania połączenia: %1").arg(reply);
  if (command == "AUTH")
    return QStringLiteral("Serwer pocztowy odrzucił logowanie (nazwa użytkownika lub hasło): %1").arg(reply);
  if (command == "MAIL")
    return QStringLiteral("Serwer pocztowy odrzucił nadawcę %1: %2").arg(server.Address, reply);
  if (command == "RCPT")
    return QStringLiteral("Serwer pocztowy odrzucił odbiorcę %1: %2").arg(server.Address, reply);
  if (command == "DATA")
    return QStringLiteral("Serwer pocztowy odrzucił wiadomość: %1").arg(reply);
  return QStringLiteral("Serwer pocztowy odrzucił połączenie: %1").arg(reply);
}

} // namespace

QString MailFailureMessage(CURLcode code, const char *curlDetail, const TSmtpTranscript &transcript,
                           const TMailServer &server) {
  if (transcript.Refused())
    return Refusal(transcript, server);
  // libcurl's own words, without the blank it sometimes leaves at the end.
  const QString detail =
      (curlDetail && *curlDetail ? QString::fromUtf8(curlDetail) : QString::fromUtf8(curl_easy_strerror(code)))
          .trimmed();
  const QString address = QStringLiteral("%1:%2").arg(server.Host).arg(server.Port);
  switch (code) {
  case CURLE_COULDNT_RESOLVE_HOST: return QStringLiteral("Nie można odnaleźć serwera pocztowego %1").arg(server.Host);
  case CURLE_COULDNT_CONNECT: return QStringLiteral("Nie można połączyć się z serwerem pocztowym %1").arg(address);
  case CURLE_OPERATION_TIMEDOUT:
    return QStringLiteral("Serwer pocztowy %1 nie odpowiedział w wyznaczonym czasie").arg(address);
  case CURLE_PEER_FAILED_VERIFICATION:
    return QStringLiteral("Certyfikat serwera pocztowego nie jest zaufany: %1").arg(detail);
  case CURLE_SSL_CACERT_BADFILE: return QStringLiteral("Nie można wczytać zaufanych certyfikatów: %1").arg(detail);
  case CURLE_SSL_CONNECT_ERROR:
    return QStringLiteral("Nie udało się zaszyfrować połączenia z serwerem pocztowym: %1").arg(detail);
  default: return QStringLiteral("Wysyłka nie powiodła się: %1").arg(detail);
  }
}
