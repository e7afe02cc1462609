#pragma once

#include "app/commands/Host.h"
#include "mail/MailServer.h"
#include "model/Cancellation.h"

// The mailer of the window and of pavena-cli: the author's mailbox of the build.
class TAuthorMailer : public IMailer {
public:
  explicit TAuthorMailer(const TMailServer &server = BuiltInMailServer());

  void SendFileToAuthor(const QString &body, const QString &fileName) override;
  // The same, ended by `cancellation` from another thread (TCancelled).
  void SendFileToAuthor(const QString &body, const QString &fileName, TCancellation &cancellation);
  QString Unavailable() const override;

private:
  TMailServer FServer;
};
