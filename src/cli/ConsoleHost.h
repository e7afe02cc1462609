#pragma once

#include "app/commands/AuthorMailer.h"
#include "app/commands/Host.h"
#include "app/commands/ProcessRunner.h"

#include <cstdio>

// The host of pavena-cli. Log entries go to standard output, errors and warnings and message
// boxes to standard error; the desktop does nothing, since a terminal run must never open a
// window. Nothing is ever confirmed or chosen; outside programs run as in the window.
class TConsoleHost : public ILog, public IDialogs, public IDesktop {
public:
  explicit TConsoleHost(const TAppPaths &paths);
  TConsoleHost(const TConsoleHost &) = delete;
  TConsoleHost &operator=(const TConsoleHost &) = delete;

  THost &Host() { return FHost; }

  void Append(const QString &text, bool withSeparator, TLogKind kind) override;
  void ShowInformation(const QString &text) override;
  void ShowMessage(const QString &text) override;
  void ShowAbout(const QList<TAboutLine> &lines) override;
  bool Confirm(const QString &text) override;
  void ShowError(const QString &message) override;
  QString ChooseFile(const TFileChoice &choice) override;
  QString ChooseSaveFile(const TFileChoice &choice) override;
  QString ChooseDirectory(const QString &title) override;
  void OpenWithDefaultApplication(const QString &fileName) override;
  void OpenInTextEditor(const QString &argument) override;
  void PlaySound(const QString &fileName) override;
  // A terminal has no desktop: no folders, nothing to trust.
  QString DesktopFolder() override;
  QString ApplicationsFolder() override;
  void TrustLauncher(const QString &fileName) override;

private:
  TAuthorMailer FMailer;
  TProcessRunner FProcesses;
  THost FHost;
};

// Writes the text with each of its line breaks (CR LF, CR or LF) as one line feed, ended by
// a line feed.
void WriteLines(std::FILE *stream, const QString &text);
