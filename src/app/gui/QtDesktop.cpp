#include "app/gui/QtDesktop.h"

#include "app/gui/TextEditorCommand.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

void TQtDesktop::OpenWithDefaultApplication(const QString &fileName) {
  QDesktopServices::openUrl(QUrl::fromLocalFile(fileName));
}

void TQtDesktop::OpenInTextEditor(const QString &argument) {
  const QStringList command = TextEditorCommand(argument);
  if (!command.isEmpty())
    QProcess::startDetached(command.first(), command.mid(1));
}

void TQtDesktop::PlaySound(const QString &fileName) {
  if (QFileInfo(fileName).isFile()) {
    for (const QString &player : {QStringLiteral("paplay"), QStringLiteral("aplay")}) {
      const QString program = QStandardPaths::findExecutable(player);
      if (!program.isEmpty() && QProcess::startDetached(program, {fileName}))
        return;
    }
  }
  QApplication::beep();
}
