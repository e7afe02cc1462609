#include "app/commands/DesktopEntry.h"

#include <QRegularExpression>

namespace {

// The escapes of a string value: a backslash, and the characters a line cannot hold.
QString EscapedValue(const QString &value) {
  QString text;
  for (const QChar c : value) {
    switch (c.unicode()) {
    case u'\\': text += QStringLiteral("\\\\"); break;
    case u'\n': text += QStringLiteral("\\n"); break;
    case u'\r': text += QStringLiteral("\\r"); break;
    case u'\t': text += QStringLiteral("\\t"); break;
    default: text += c;
    }
  }
  return text;
}

// One word of Exec: in double quotation marks, with a backslash before the characters that are
// special inside them and a doubled percent sign, which would otherwise start a field code.
// The string escapes of the whole value come on top (so a backslash ends up as four).
QString QuotedArgument(const QString &argument) {
  QString text = QStringLiteral("\"");
  for (const QChar c : argument) {
    if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
      text += u'\\';
    text += c;
    if (c == u'%')
      text += u'%';
  }
  return text + u'"';
}

// A plain command name, found through PATH, goes without quotation marks.
QString ExecProgram(const QString &target) {
  static const QRegularExpression commandName(QStringLiteral("^[A-Za-z0-9_.+-]+$"));
  return commandName.match(target).hasMatch() ? target : QuotedArgument(target);
}

} // namespace

QString DesktopEntryText(const TLauncher &launcher) {
  QStringList command{ExecProgram(launcher.Target)};
  for (const QString &argument : launcher.Arguments)
    command << QuotedArgument(argument);
  QString text = QStringLiteral("[Desktop Entry]\n"
                                "Type=Application\n"
                                "Version=1.0\n");
  text += QStringLiteral("Name=") + EscapedValue(launcher.Name) + u'\n';
  text += QStringLiteral("Exec=") + EscapedValue(command.join(u' ')) + u'\n';
  if (!launcher.WorkingDirectory.isEmpty())
    text += QStringLiteral("Path=") + EscapedValue(launcher.WorkingDirectory) + u'\n';
  if (!launcher.Icon.isEmpty())
    text += QStringLiteral("Icon=") + EscapedValue(launcher.Icon) + u'\n';
  text += QStringLiteral("Terminal=false\n"
                         "Categories=Office;Finance;\n");
  return text;
}
