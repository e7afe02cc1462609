#pragma once

#include "TestSupport.h"
#include "app/commands/Host.h"

#include <QDateTime>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

class TSplitPaymentSettings;

struct TLogEntry {
  QString Text;
  bool WithSeparator = false;
  TLogKind Kind = TLogKind::Info;
};

// A temporary directory that stands in for the program's directory.
class TTempAppDir : public TTempDir {
public:
  TAppPaths Paths() const { return TAppPaths::InDirectory(Path()); }
};

// A run of an outside program as the command asked for it.
struct TProcessCall {
  QString Program;
  QStringList Arguments;
  int TimeoutMs = 0;
};

// A host that records what a command asked of it. Confirmations and choosers are answered
// from queues that the test fills; a question nobody expected fails the test and is answered
// No, or cancelled. Outside programs are never started: ProcessBehaviour stands in for them.
class TFakeHost : public ILog, public IDialogs, public IDesktop, public IMailer, public IProcessRunner {
public:
  // The clock stands still at 2026-03-05 14:05:09 local time unless the test sets another.
  explicit TFakeHost(const TAppPaths &paths = TAppPaths{});
  TFakeHost(const TFakeHost &) = delete;
  TFakeHost &operator=(const TFakeHost &) = delete;

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
  void SendFileToAuthor(const QString &body, const QString &fileName) override;
  QString Unavailable() const override { return MailUnavailable; }
  TProcessResult Run(const QString &program, const QStringList &arguments, int timeoutMs) override;
  QString DesktopFolder() override { return DesktopFolderPath; }
  QString ApplicationsFolder() override { return ApplicationsFolderPath; }
  void TrustLauncher(const QString &fileName) override;

  QDateTime Clock;
  std::vector<TLogEntry> LogEntries;
  QStringList InformationBoxes;
  QStringList MessageBoxes;
  std::vector<QList<TAboutLine>> AboutBoxes;
  QStringList Confirmations;
  std::deque<bool> ConfirmAnswers;
  QStringList ErrorBoxes;
  std::vector<TFileChoice> FileChoices;
  QStringList DirectoryChoices;
  // What the choosers answer, in order; an empty text is a cancelled chooser.
  std::deque<QString> ChooserAnswers;
  QStringList OpenedFiles;
  QStringList EditorArguments;
  QStringList Sounds;
  struct TSentMail {
    QString Body;
    QString FileName;
  };
  std::vector<TSentMail> SentMails;
  // When set, sending fails with this message (after it was recorded).
  QString MailFailure;
  // The technical detail that goes with MailFailure.
  QString MailFailureDetail;
  // The user cancels the send while it runs.
  bool MailCancelled = false;
  // When set, the mailer says it cannot send at all, for this reason.
  QString MailUnavailable;
  std::vector<TProcessCall> ProcessCalls;
  // What a run does and how it ends; unset, the program starts and ends with status 0
  // without doing anything.
  std::function<TProcessResult(const TProcessCall &)> ProcessBehaviour;
  // The desktop's folders; empty until a test names them.
  QString DesktopFolderPath;
  QString ApplicationsFolderPath;
  QStringList TrustedLaunchers;

private:
  THost FHost;
};

// The check box "MPP" and the group "Format MPP" as plain values. Like the toolkit's signals,
// a setter runs the connected handler only when the value really changes; the group's
// enabled state has no handler.
class TFakeMPPControls : public IMPPControls {
public:
  bool MPPChecked() const override { return FChecked; }
  void SetMPPChecked(bool checked) override;
  void SetFormatGroupEnabled(bool enabled) override { FGroupEnabled = enabled; }
  int FormatIndex() const override { return FIndex; }
  void SetFormatIndex(int index) override;

  bool FormatGroupEnabled() const { return FGroupEnabled; }

  // Runs the handlers of `settings` on every change, as the window connects them.
  void ConnectTo(TSplitPaymentSettings &settings);

  std::function<void()> OnCheckChanged;
  std::function<void()> OnGroupChanged;

private:
  bool FChecked = false;
  bool FGroupEnabled = true;
  int FIndex = -1;
};
