#include "app/commands/AuthorMailer.h"

#include "mail/MailSender.h"

TAuthorMailer::TAuthorMailer(const TMailServer &server) : FServer(server) {}

void TAuthorMailer::SendFileToAuthor(const QString &body, const QString &fileName) {
  TMailSender::SendFile(FServer, body, fileName);
}

QString TAuthorMailer::Unavailable() const { return MissingMailSettings(FServer); }
