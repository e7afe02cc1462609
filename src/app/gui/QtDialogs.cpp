#include "app/gui/QtDialogs.h"

#include "app/gui/LineBreaks.h"
#include "app/gui/ProgramInfo.h"

#include <QMessageBox>

namespace {

QMessageBox::StandardButton Ask(QWidget *owner, QMessageBox::Icon icon, const QString &title, const QString &text,
                                QMessageBox::StandardButtons buttons) {
  QMessageBox box(icon, title, WithLineFeeds(text), buttons, owner);
  // File names and error texts are shown as they are, never read as markup.
  box.setTextFormat(Qt::PlainText);
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

} // namespace

void TQtDialogs::SetOwner(QWidget *owner) { FOwner = owner; }

void TQtDialogs::ShowInformation(const QString &text) {
  Ask(FOwner, QMessageBox::Information, QStringLiteral("Ekran pomocy"), text, QMessageBox::Ok);
}

void TQtDialogs::ShowMessage(const QString &text) {
  Ask(FOwner, QMessageBox::NoIcon, ProgramName(), text, QMessageBox::Ok);
}

bool TQtDialogs::Confirm(const QString &text) {
  return Ask(FOwner, QMessageBox::Question, ProgramName(), text, QMessageBox::Yes | QMessageBox::No) ==
         QMessageBox::Yes;
}
