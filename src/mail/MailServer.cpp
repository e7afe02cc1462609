#include "mail/MailServer.h"

#include "MailBuildSettings.h"

#include <QStringList>

TMailServer BuiltInMailServer() {
  TMailServer server;
  server.Host = QString::fromUtf8(PAVENA_MAIL_HOST);
  server.Port = PAVENA_MAIL_PORT;
  server.User = QString::fromUtf8(PAVENA_MAIL_USER);
  server.Password = QString::fromUtf8(PAVENA_MAIL_PASSWORD);
  server.Address = QString::fromUtf8(PAVENA_MAIL_ADDRESS);
  server.CAFile = QString::fromUtf8(PAVENA_MAIL_CA_FILE);
  server.AllowPlain = PAVENA_MAIL_ALLOW_PLAIN;
  return server;
}

QString MissingMailSettings(const TMailServer &server) {
  QStringList missing;
  if (server.Host.isEmpty())
    missing << QStringLiteral("serwer");
  if (server.Port <= 0 || server.Port > 65535)
    missing << QStringLiteral("port");
  if (server.User.isEmpty())
    missing << QStringLiteral("użytkownik");
  if (server.Password.isEmpty())
    missing << QStringLiteral("hasło");
  if (server.Address.isEmpty())
    missing << QStringLiteral("adres autora");
  if (missing.isEmpty())
    return QString();
  return QStringLiteral("Program zbudowano bez ustawień serwera pocztowego (brak: %1)")
      .arg(missing.join(QStringLiteral(", ")));
}
