#include "ConsoleHost.h"

#include "model/Text.h"

TConsoleHost::TConsoleHost(const TAppPaths &paths)
    : FHost{*this, *this, *this, FMailer, FProcesses, [] { return QDateTime::currentDateTime(); }, paths} {}

void TConsoleHost::Append(const QString &text, bool withSeparator, TLogKind kind) {
  // A script tells failures and warnings apart from results by the stream alone.
  std::FILE *stream = kind == TLogKind::Info ? stdout : stderr;
  WriteLines(stream, text);
  if (withSeparator)
    WriteLines(stream, LogSeparator());
}

void TConsoleHost::ShowInformation(const QString &text) { WriteLines(stderr, text); }

void TConsoleHost::ShowMessage(const QString &text) { WriteLines(stderr, text); }

void TConsoleHost::ShowAbout(const QList<TAboutLine> &lines) {
  for (const TAboutLine &line : lines)
    WriteLines(stderr, line.Label + QStringLiteral(": ") + line.Value);
}

bool TConsoleHost::Confirm(const QString &text) {
  WriteLines(stderr, text);
  return false;
}

void TConsoleHost::ShowError(const QString &message) { WriteLines(stderr, QStringLiteral("Błąd: ") + message); }

QString TConsoleHost::ChooseFile(const TFileChoice &) { return QString(); }

QString TConsoleHost::ChooseSaveFile(const TFileChoice &) { return QString(); }

QString TConsoleHost::ChooseDirectory(const QString &) { return QString(); }

void TConsoleHost::OpenWithDefaultApplication(const QString &) {}

void TConsoleHost::OpenInTextEditor(const QString &) {}

void TConsoleHost::PlaySound(const QString &) {}

QString TConsoleHost::DesktopFolder() { return QString(); }

QString TConsoleHost::ApplicationsFolder() { return QString(); }

void TConsoleHost::TrustLauncher(const QString &) {}

void WriteLines(std::FILE *stream, const QString &text) {
  QString lines = WithLineFeeds(text);
  if (!lines.endsWith(u'\n'))
    lines += u'\n';
  std::fputs(lines.toUtf8().constData(), stream);
  std::fflush(stream);
}
