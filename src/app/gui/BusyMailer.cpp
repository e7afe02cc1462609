#include "app/gui/BusyMailer.h"

#include <QCursor>
#include <QGuiApplication>

namespace {

// The cursor comes back however the sending ends.
class TBusyCursor {
public:
  TBusyCursor() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
  ~TBusyCursor() { QGuiApplication::restoreOverrideCursor(); }
  TBusyCursor(const TBusyCursor &) = delete;
  TBusyCursor &operator=(const TBusyCursor &) = delete;
};

} // namespace

TBusyMailer::TBusyMailer(IMailer &mailer) : FMailer(mailer) {}

void TBusyMailer::SendFileToAuthor(const QString &body, const QString &fileName) {
  const TBusyCursor busy;
  FMailer.SendFileToAuthor(body, fileName);
}
