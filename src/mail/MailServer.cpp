#include "mail/MailServer.h"

#include "MailBuildSettings.h"

TMailServer BuiltInMailServer() {
  TMailServer server;
  server.Host = QString::fromUtf8(PAVENA_MAIL_HOST);
  server.Port = PAVENA_MAIL_PORT;
  server.User = QString::fromUtf8(PAVENA_MAIL_USER);
  server.Password = QString::fromUtf8(PAVENA_MAIL_PASSWORD);
  server.Address = QString::fromUtf8(PAVENA_MAIL_ADDRESS);
  server.CAFile = QString::fromUtf8(PAVENA_MAIL_CA_FILE);
  return server;
}
