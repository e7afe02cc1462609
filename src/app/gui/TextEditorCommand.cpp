#include "app/gui/TextEditorCommand.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace {

// Windowed editors only: an editor in a terminal would leave a user of the window stranded.
const QStringList KnownEditors = {
    QStringLiteral("gnome-text-editor"),
    QStringLiteral("gedit"),
    QStringLiteral("mousepad"),
    QStringLiteral("kate"),
    QStringLiteral("kwrite"),
    QStringLiteral("xed"),
    QStringLiteral("pluma"),
    QStringLiteral("featherpad"),
    QStringLiteral("leafpad"),
};

QString DefaultTextApplication() {
  const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
  if (xdgMime.isEmpty())
    return {};
  QProcess query;
  query.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("text/plain")});
  if (!query.waitForFinished(5000) || query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0)
    return {};
  const QString answer = QString::fromUtf8(query.readAllStandardOutput());
  return answer.split(QRegularExpression(QStringLiteral("[;\\s]")), Qt::SkipEmptyParts).value(0);
}

std::optional<QStringList> DefaultApplicationCommand(const QString &argument) {
  const QString desktopId = DefaultTextApplication();
  if (desktopId.isEmpty())
    return std::nullopt;
  const QString file = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, desktopId);
  const std::optional<TDesktopEntry> entry = file.isEmpty() ? std::nullopt : ReadDesktopEntry(file);
  if (!entry || entry->Terminal)
    return std::nullopt;
  if (std::optional<QStringList> command = CommandFromExec(entry->Exec, argument)) {
    const QString program = QStandardPaths::findExecutable(command->first());
    if (program.isEmpty())
      return std::nullopt;
    (*command)[0] = program;
    return command;
  }
  const QString gtkLaunch = QStandardPaths::findExecutable(QStringLiteral("gtk-launch"));
  if (gtkLaunch.isEmpty())
    return std::nullopt;
  return QStringList{gtkLaunch, desktopId, argument};
}

} // namespace

QStringList TextEditorCommand(const QString &argument) {
  if (std::optional<QStringList> command = DefaultApplicationCommand(argument))
    return *command;
  for (const QString &editor : KnownEditors)
    if (const QString program = QStandardPaths::findExecutable(editor); !program.isEmpty())
      return {program, argument};
  if (const QString xdgOpen = QStandardPaths::findExecutable(QStringLiteral("xdg-open")); !xdgOpen.isEmpty())
    return {xdgOpen, argument};
  return {};
}

std::optional<TDesktopEntry> ReadDesktopEntry(const QString &fileName) {
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly))
    return std::nullopt;
  TDesktopEntry entry;
  bool inMainGroup = false;
  for (const QByteArray &rawLine : file.readAll().split('\n')) {
    const QString line = QString::fromUtf8(rawLine).trimmed();
    if (line.startsWith(QLatin1Char('['))) {
      inMainGroup = line == QStringLiteral("[Desktop Entry]");
      continue;
    }
    if (!inMainGroup || line.startsWith(QLatin1Char('#')))
      continue;
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    if (equals < 0)
      continue;
    const QString key = line.left(equals).trimmed();
    const QString value = line.mid(equals + 1).trimmed();
    if (key == QStringLiteral("Exec"))
      entry.Exec = value;
    else if (key == QStringLiteral("Terminal"))
      entry.Terminal = value == QStringLiteral("true");
  }
  return entry;
}

std::optional<QStringList> CommandFromExec(const QString &exec, const QString &argument) {
  static const QRegularExpression shellSyntax(QStringLiteral("[\"'\\\\`$]"));
  const QStringList tokens = exec.split(QLatin1Char(' '), Qt::SkipEmptyParts);
  if (exec.contains(shellSyntax) || tokens.isEmpty() || tokens.first().contains(QLatin1Char('%')))
    return std::nullopt;
  QStringList command;
  bool argumentPlaced = false;
  for (const QString &token : tokens) {
    if (!token.contains(QLatin1Char('%'))) {
      command << token;
    } else if (token == QStringLiteral("%%")) {
      command << QStringLiteral("%");
    } else if (token.size() == 2 && QStringLiteral("fFuU").contains(token.at(1))) {
      if (!argumentPlaced)
        command << argument;
      argumentPlaced = true;
    } else if (token.size() != 2 || !QStringLiteral("ickdDnNvm").contains(token.at(1))) {
      // A field code inside a longer word ("--file=%f") or an unknown one.
      return std::nullopt;
    }
  }
  if (!argumentPlaced)
    command << argument;
  return command;
}
