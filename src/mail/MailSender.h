#pragma once

#include "mail/MailServer.h"
#include "model/Cancellation.h"

#include <QString>

// Mails a file to the program's author over SMTP submission.
//
// The message goes from the author's address to the same address, subject "Plik z programu
// pavena.exe", with `body` as a UTF-8 text part and the file attached under its own name. The
// server's certificate and host name are checked (the system's store or server.CAFile), TLS
// 1.2 only. The connection is encrypted with STARTTLS and the program logs in with AUTH LOGIN if
// the server lists LOGIN. A server that offers no STARTTLS gets nothing, unless `server` allows
// clear text: then the message goes unencrypted and without logging in, so the password never
// travels in clear text.
class TMailSender {
public:
  TMailSender() = delete;

  // Throws Exception with a Polish message saying what failed: incomplete settings (before any
  // connection), the connection, a server without STARTTLS, the certificate, the login, a
  // refusal by the server, the time limits of `server`; libcurl's own words are its Detail(). A file that cannot be
  // read (it is read while the message goes out, after the login) gives the file layer's "Cannot open file "%s". %s".
  static void SendFile(const TMailServer &server, const QString &body, const QString &fileName);
  // The same, ended by `cancellation` from another thread: then it fails with TCancelled
  // "Wysyłanie pliku przerwane przez użytkownika." and the server gets no message.
  static void SendFile(const TMailServer &server, const QString &body, const QString &fileName,
                       TCancellation &cancellation);
};
