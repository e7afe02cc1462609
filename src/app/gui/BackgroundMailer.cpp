#include "app/gui/BackgroundMailer.h"

TBackgroundMailer::TBackgroundMailer(TAuthorMailer &mailer, TBackgroundWork &background)
    : FMailer(mailer), FBackground(background) {}

void TBackgroundMailer::SendFileToAuthor(const QString &body, const QString &fileName) {
  TSendCancellation cancellation;
  FBackground.Run(
      QStringLiteral("Wysyłanie pliku do autora"), [&] { FMailer.SendFileToAuthor(body, fileName, cancellation); },
      [&] { cancellation.Cancel(); });
}
