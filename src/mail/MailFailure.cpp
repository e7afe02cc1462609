#include "mail/MailFailure.h"

#include <openssl/x509_vfy.h>

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

// libcurl checks the host name itself once OpenSSL has accepted the chain, and records its
// refusal as the unspecified error; newer set-ups let OpenSSL check the name.
QString CertificateFailure(long verifyResult, const TMailServer &server) {
  switch (verifyResult) {
  case X509_V_OK:
  case X509_V_ERR_UNSPECIFIED:
  case X509_V_ERR_HOSTNAME_MISMATCH:
  case X509_V_ERR_IP_ADDRESS_MISMATCH:
    return QStringLiteral("Certyfikat serwera pocztowego wystawiono dla innego serwera niż %1. Plik nie został "
                          "wysłany.")
        .arg(server.Host);
  case X509_V_ERR_CERT_HAS_EXPIRED:
    return QStringLiteral("Certyfikat serwera pocztowego %1 wygasł. Plik nie został wysłany.").arg(server.Host);
  case X509_V_ERR_CERT_NOT_YET_VALID:
    return QStringLiteral("Certyfikat serwera pocztowego %1 nie jest jeszcze ważny. Plik nie został wysłany.")
        .arg(server.Host);
  default:
    return QStringLiteral("Certyfikat serwera pocztowego %1 nie jest zaufany: nie potwierdził go żaden zaufany urząd "
                          "certyfikacji. Plik nie został wysłany.")
        .arg(server.Host);
  }
}

} // namespace

Exception MailFailure(CURLcode code, const char *curlDetail, long verifyResult, const TSmtpTranscript &transcript,
                      const TMailServer &server) {
  if (transcript.Refused())
    return Exception(Refusal(transcript, server));
  // libcurl's own words, without the blank it sometimes leaves at the end.
  const QString detail =
      (curlDetail && *curlDetail ? QString::fromUtf8(curlDetail) : QString::fromUtf8(curl_easy_strerror(code)))
          .trimmed();
  const QString address = QStringLiteral("%1:%2").arg(server.Host).arg(server.Port);
  switch (code) {
  case CURLE_COULDNT_RESOLVE_HOST:
    return Exception(QStringLiteral("Nie można odnaleźć serwera pocztowego %1").arg(server.Host), detail);
  case CURLE_COULDNT_CONNECT:
    return Exception(QStringLiteral("Nie można połączyć się z serwerem pocztowym %1").arg(address), detail);
  case CURLE_OPERATION_TIMEDOUT:
    return Exception(QStringLiteral("Serwer pocztowy %1 nie odpowiedział w wyznaczonym czasie").arg(address), detail);
  case CURLE_USE_SSL_FAILED:
    return Exception(QStringLiteral("Serwer pocztowy %1 nie oferuje szyfrowania połączenia (STARTTLS). Plik nie "
                                    "został wysłany, bo bez szyfrowania każdy po drodze mógłby go odczytać.")
                         .arg(address),
                     detail);
  case CURLE_PEER_FAILED_VERIFICATION: return Exception(CertificateFailure(verifyResult, server), detail);
  case CURLE_SSL_CACERT_BADFILE:
    return Exception(QStringLiteral("Nie można wczytać zaufanych certyfikatów, którymi program sprawdza serwer "
                                    "pocztowy."),
                     detail);
  case CURLE_SSL_CONNECT_ERROR:
    return Exception(QStringLiteral("Nie udało się zaszyfrować połączenia z serwerem pocztowym %1.").arg(address),
                     detail);
  default: return Exception(QStringLiteral("Wysyłka do serwera pocztowego %1 nie powiodła się.").arg(address), detail);
  }
}
