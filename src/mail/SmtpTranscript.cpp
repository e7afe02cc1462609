#include "mail/SmtpTranscript.h"

#include <QByteArrayList>

namespace {

const QByteArrayList Commands = {"EHLO", "HELO", "STARTTLS", "AUTH", "MAIL", "RCPT", "DATA", "QUIT"};

QByteArray Verb(QByteArrayView line) {
  const QByteArray verb = line.toByteArray().trimmed().split(' ').first().toUpper();
  return Commands.contains(verb) ? verb : QByteArray();
}

} // namespace

void TSmtpTranscript::Sent(QByteArrayView text) {
  // During a login the lines sent are the encoded user name and password, not commands.
  if (FQuitting || (FCommand == "AUTH" && FReply.startsWith(QLatin1String("334"))))
    return;
  const QByteArray verb = Verb(text);
  if (verb == "QUIT")
    FQuitting = true;
  else if (!verb.isEmpty())
    FCommand = verb;
}

void TSmtpTranscript::Received(QByteArrayView text) {
  if (FQuitting)
    return;
  for (const QByteArray &line : text.toByteArray().split('\n'))
    if (!line.trimmed().isEmpty())
      FReply = QString::fromUtf8(line.trimmed());
}

bool TSmtpTranscript::Refused() const {
  return FReply.startsWith(QLatin1Char('4')) || FReply.startsWith(QLatin1Char('5'));
}
