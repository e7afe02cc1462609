#include "app/gui/BackgroundMailer.h"

TBackgroundMailer::TBackgroundMailer(TAuthorMailer &mailer, TBackgroundWork &background)
    : FMailer(mailer), FBackground(background) {}

void TBackgroundMailer::SendFileToAuthor(const QString &body, const QString &fileName) {
  FBackground.Run(QStringLiteral("Wysyłanie pliku do autora"),
                  [&](TBackgroundTask &task) { FMailer.SendFileToAuthor(body, fileName, task.Cancellation); });
}
