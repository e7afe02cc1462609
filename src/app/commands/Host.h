#pragma once

#include "app/commands/AppPaths.h"
#include "model/Text.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>

// What a command asks of the program around it. The window, the terminal and the tests each
// provide their own implementation; commands never touch a widget.

// What a log entry is: the console host sends errors and warnings to standard error.
enum class TLogKind { Info, Error, Warning };

// The message log: every entry reaches every log the host shows.
class ILog {
public:
  virtual ~ILog() = default;
  // Appends the text (one line per line break it holds), then LogSeparator() when
  // withSeparator is set.
  virtual void Append(const QString &text, bool withSeparator, TLogKind kind) = 0;

  void AppendLog(const QString &text, bool withSeparator) { Append(text, withSeparator, TLogKind::Info); }
  // The one entry that ends a failed command: "Błąd: " and the error's message.
  void AppendError(const QString &message);
  // "Uwaga: " and what the bank or the tax office would reject in a file that was written.
  void AppendWarning(const QString &message);
};

// What a file chooser starts with. An empty Directory leaves the start folder to the chooser.
struct TFileChoice {
  QString Title;
  QString Directory;
  // "Description (*.ext)".
  QString Filter;
  // The file shown as chosen when the chooser opens; may be empty.
  QString Selected;
};

// One line of the about box: what it is, and its value.
struct TAboutLine {
  QString Label;
  QString Value;
  bool operator==(const TAboutLine &) const = default;
};

// Modal dialogs owned by the main window.
class IDialogs {
public:
  virtual ~IDialogs() = default;
  // Titled "Ekran pomocy", information icon, one OK button.
  virtual void ShowInformation(const QString &text) = 0;
  // A plain box with one OK button, no icon, titled with the program's name.
  virtual void ShowMessage(const QString &text) = 0;
  // The about box: titled "Informacja o programie", information icon, the lines with their
  // labels and values lined up, one OK button.
  virtual void ShowAbout(const QList<TAboutLine> &lines) = 0;
  // A Yes/No confirmation; true for Yes.
  virtual bool Confirm(const QString &text) = 0;
  // The default error box for an error no command handled itself: error icon, one OK button,
  // titled with the program's name.
  virtual void ShowError(const QString &message) = 0;
  // An existing file to open; empty when the user cancelled.
  virtual QString ChooseFile(const TFileChoice &choice) = 0;
  // An existing directory; empty when the user cancelled.
  virtual QString ChooseDirectory(const QString &title) = 0;
  // A file to write, new or to be replaced (the chooser asks before replacing); empty when the
  // user cancelled.
  virtual QString ChooseSaveFile(const TFileChoice &choice) = 0;
};

// The desktop around the program. Outcomes are not reported: a missing application is the
// desktop's business.
class IDesktop {
public:
  virtual ~IDesktop() = default;
  virtual void OpenWithDefaultApplication(const QString &fileName) = 0;
  // Starts the plain-text editor with `argument` as its only argument, without waiting.
  virtual void OpenInTextEditor(const QString &argument) = 0;
  // Plays a sound file without waiting for it to end.
  virtual void PlaySound(const QString &fileName) = 0;
  // The current user's desktop folder, as the desktop names it; it may not exist.
  virtual QString DesktopFolder() = 0;
  // The folder of the current user's own menu entries.
  virtual QString ApplicationsFolder() = 0;
  // Marks a launcher file on the desktop as one the user trusts, where the desktop keeps such
  // a mark beside the executable bit.
  virtual void TrustLauncher(const QString &fileName) = 0;
};

// Sends a file to the program's author by e-mail with `body` as the text. Fails with an
// Exception whose message says why.
class IMailer {
public:
  virtual ~IMailer() = default;
  virtual void SendFileToAuthor(const QString &body, const QString &fileName) = 0;
  // Why no file can go out at all (a build without the author's mailbox); empty when sending
  // may be tried.
  virtual QString Unavailable() const = 0;
};

// How a run of an outside program ended.
struct TProcessResult {
  // False when the program could not be started at all.
  bool Started = false;
  // True when it had to be ended because it ran past its time.
  bool TimedOut = false;
  // True when it was ended because the user cancelled it.
  bool Cancelled = false;
  // True when it crashed or was ended; ExitCode is then meaningless.
  bool Crashed = false;
  int ExitCode = 0;
  // What it wrote to standard error, for the report of a failure.
  QString ErrorOutput;
};

// Runs outside programs: with an argument list, never through a shell, without input, and
// waiting for their end.
class IProcessRunner {
public:
  virtual ~IProcessRunner() = default;
  // Starts `program` and waits until it ends; one still running after `timeoutMs` is ended.
  virtual TProcessResult Run(const QString &program, const QStringList &arguments, int timeoutMs) = 0;
};

// The split-payment controls of the window: the check box "MPP" and the radio group
// "Format MPP" with the items "Bez Struktury", "Struktura", "Oba". A change made through the
// setters runs the control's change handler, just as a change made by the user does.
class IMPPControls {
public:
  virtual ~IMPPControls() = default;
  virtual bool MPPChecked() const = 0;
  virtual void SetMPPChecked(bool checked) = 0;
  virtual void SetFormatGroupEnabled(bool enabled) = 0;
  // -1 when no item is selected.
  virtual int FormatIndex() const = 0;
  virtual void SetFormatIndex(int index) = 0;
};

// Everything a command may ask for, bundled; the clock is injected so tests fix the time, and
// the directories are resolved once by main().
struct THost {
  ILog &Log;
  IDialogs &Dialogs;
  IDesktop &Desktop;
  IMailer &Mailer;
  IProcessRunner &Processes;
  std::function<QDateTime()> Now;
  TAppPaths Paths;
};

// Runs the work of a user action. An error that the work does not handle itself ends it and
// is shown in the default error box; no exception goes further.
void RunGuarded(IDialogs &dialogs, const std::function<void()> &work);
