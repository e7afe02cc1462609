#pragma once

#include <QDateTime>
#include <QString>
#include <functional>

// What a command asks of the program around it. The window, the terminal and the tests each
// provide their own implementation; commands never touch a widget.

// The message log: every entry reaches every log the host shows.
class ILog {
public:
  virtual ~ILog() = default;
  // Appends the text (one line per line break it holds), then the line of 104 hyphens when
  // withSeparator is set.
  virtual void AppendLog(const QString &text, bool withSeparator) = 0;
};

// Message boxes owned by the main window.
class IDialogs {
public:
  virtual ~IDialogs() = default;
  // Titled "Ekran pomocy", information icon, one OK button.
  virtual void ShowInformation(const QString &text) = 0;
  // A plain box with one OK button, no icon, titled with the program's name.
  virtual void ShowMessage(const QString &text) = 0;
  // A Yes/No confirmation; true for Yes.
  virtual bool Confirm(const QString &text) = 0;
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
};

// The split-payment controls of the window: the check box "MPP" and the radio group
// "Format MPP" with the items "Bez Struktury", "Struktura", "Both". A change made through the
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

// Everything a command may ask for, bundled; the clock is injected so tests fix the time.
struct THost {
  ILog &Log;
  IDialogs &Dialogs;
  IDesktop &Desktop;
  std::function<QDateTime()> Now;
};
