#include "app/commands/AuthorMailer.h"

#include "mail/MailSender.h"
#include "model/Cancellation.h"

TAuthorMailer::TAuthorMailer(const TMailServer &server) : FServer(server) {}

void TAuthorMailer::SendFileToAuthor(const QString &body, const QString &fileName) {
  TMailSender::SendFile(FServer, body, fileName);
}

void TAuthorMailer::SendFileToAuthor(const QString &body, const QString &fileName, TCancellation &cancellation) {
  TMailSender::SendFile(FServer, body, fileName, cancellation);
}

QString TAuthorMailer::Unavailable() const { return MissingMailSettings(FServer); }
