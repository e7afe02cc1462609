#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Follows the SMTP conversation through libcurl's debug stream and keeps where it stopped: the
// last command sent and the server's last reply. libcurl's error codes name the failing stage
// only roughly and differ between its versions; the command and the server's own words are
// what tells the user why the mail was refused. Nothing sent during a login is kept.
class TSmtpTranscript {
public:
  // A line the program sent (libcurl's CURLINFO_HEADER_OUT).
  void Sent(QByteArrayView text);
  // Lines the server sent (CURLINFO_HEADER_IN).
  void Received(QByteArrayView text);

  // The verb of the last command ("EHLO", "STARTTLS", "AUTH", "MAIL", "RCPT", "DATA"); empty
  // while the server's greeting is awaited. QUIT does not count: it ends every conversation.
  QByteArray LastCommand() const { return FCommand; }
  // The server's last reply line, e.g. "550 5.1.1 Mailbox unavailable".
  QString LastReply() const { return FReply; }
  // Whether that reply refused what was asked (a 4xx or 5xx code).
  bool Refused() const;

private:
  QByteArray FCommand;
  QString FReply;
  bool FQuitting = false;
};
