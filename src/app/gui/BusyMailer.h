#pragma once

#include "app/commands/Host.h"

// Shows the busy cursor while another mailer sends: the window cannot answer until the mail
// server has.
class TBusyMailer : public IMailer {
public:
  explicit TBusyMailer(IMailer &mailer);

  void SendFileToAuthor(const QString &body, const QString &fileName) override;
  QString Unavailable() const override { return FMailer.Unavailable(); }

private:
  IMailer &FMailer;
};
