#pragma once

#include "app/commands/AuthorMailer.h"
#include "app/gui/BackgroundWork.h"

// The window's mailer: the author's mailbox, reached off the window's thread, with "Anuluj".
class TBackgroundMailer : public IMailer {
public:
  TBackgroundMailer(TAuthorMailer &mailer, TBackgroundWork &background);

  void SendFileToAuthor(const QString &body, const QString &fileName) override;
  QString Unavailable() const override { return FMailer.Unavailable(); }

private:
  TAuthorMailer &FMailer;
  TBackgroundWork &FBackground;
};
