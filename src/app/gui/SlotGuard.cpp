#include "app/gui/SlotGuard.h"

#include "app/gui/LineBreaks.h"
#include "app/gui/ProgramInfo.h"
#include "model/Exception.h"

#include <QMessageBox>

void RunGuarded(QWidget *owner, const std::function<void()> &work) {
  try {
    work();
  } catch (const Exception &error) {
    ShowDefaultError(owner, error.Message());
  } catch (const std::exception &error) {
    ShowDefaultError(owner, QString::fromUtf8(error.what()));
  }
}

void ShowDefaultError(QWidget *owner, const QString &message) {
  QMessageBox box(QMessageBox::Critical, ProgramName(), WithLineFeeds(message), QMessageBox::Ok, owner);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}
