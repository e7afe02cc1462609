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

QString TQtDesktop::DesktopFolder() { return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation); }

QString TQtDesktop::ApplicationsFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::ApplicationsLocation);
}

void TQtDesktop::TrustLauncher(const QString &fileName) {
  const QString gio = QStandardPaths::findExecutable(QStringLiteral("gio"));
  if (gio.isEmpty())
    return;
  // Without a running GVfs the attribute cannot be set; the executable bit then has to do.
  QProcess process;
  process.start(gio, {QStringLiteral("set"), fileName, QStringLiteral("metadata::trusted"), QStringLiteral("true")});
  process.waitForFinished(5000);
}
