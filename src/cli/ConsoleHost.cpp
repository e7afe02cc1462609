#include "ConsoleHost.h"

#include <QRegularExpression>

TConsoleHost::TConsoleHost() : FHost{*this, *this, *this, [] { return QDateTime::currentDateTime(); }} {}

void TConsoleHost::AppendLog(const QString &text, bool withSeparator) {
  // Every command words its failures as "Błąd: " and the message, so a script can tell them
  // apart by the stream alone.
  std::FILE *stream = text.startsWith(QStringLiteral("Błąd: ")) ? stderr : stdout;
  WriteLines(stream, text);
  if (withSeparator)
    WriteLines(stream, QString(104, u'-'));
}

void TConsoleHost::ShowInformation(const QString &text) { WriteLines(stderr, text); }

void TConsoleHost::ShowMessage(const QString &text) { WriteLines(stderr, text); }

bool TConsoleHost::Confirm(const QString &text) {
  WriteLines(stderr, text);
  return false;
}

void TConsoleHost::OpenWithDefaultApplication(const QString &) {}

void TConsoleHost::OpenInTextEditor(const QString &) {}

void TConsoleHost::PlaySound(const QString &) {}

void WriteLines(std::FILE *stream, const QString &text) {
  static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
  QString lines = text;
  lines.replace(lineBreak, QStringLiteral("\n"));
  if (!lines.endsWith(u'\n'))
    lines += u'\n';
  std::fputs(lines.toUtf8().constData(), stream);
  std::fflush(stream);
}
