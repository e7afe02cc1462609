#pragma once

#include <QString>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>
#include <vector>

// The QApplication of the window tests (offscreen, as CTest sets QT_QPA_PLATFORM). A global
// test environment of this file creates it before the first test, so fixtures may hold widgets;
// a further call does nothing.
void EnsureApplication();

// The child of `root` with this object name; throws when there is none, so a renamed control
// fails the test with its name.
template <class T> T &Control(const QWidget &root, const QString &name) {
  T *control = root.findChild<T *>(name);
  if (!control)
    throw std::runtime_error("No control named " + name.toStdString());
  return *control;
}

// Runs the event loop until `condition` holds, as the program's loop would run; throws, naming
// `what`, when a minute passes first.
void ProcessEventsUntil(const std::function<bool()> &condition, const std::string &what);

// While it lives, answers every modal dialog the code under test opens: `answer` looks at the
// dialog and closes it.
class TModalAnswer {
public:
  explicit TModalAnswer(std::function<void(QWidget &)> answer);
  int Answered() const { return FAnswered; }

private:
  QTimer FTimer;
  std::function<void(QWidget &)> FAnswer;
  int FAnswered = 0;
};

// What a message box showed: title, text, icon.
struct TShownBox {
  QString Title;
  QString Text;
  int Icon = 0;
};

// Notes down each message box it meets and presses its escape/default button.
class TMessageBoxAnswer : public TModalAnswer {
public:
  TMessageBoxAnswer();
  const std::vector<TShownBox> &Boxes() const { return FBoxes; }

private:
  std::vector<TShownBox> FBoxes;
};
