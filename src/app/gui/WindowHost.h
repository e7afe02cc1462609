#pragma once

#include "app/commands/Host.h"

#include <QDateTime>
#include <functional>

// What the window is given: the message boxes and the desktop (the tests answer them in place
// of a user) and the clock. The logs and the split-payment controls are the window's own.
struct TWindowHost {
  IDialogs &Dialogs;
  IDesktop &Desktop;
  std::function<QDateTime()> Now;
};
