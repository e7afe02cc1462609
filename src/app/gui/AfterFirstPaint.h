#pragma once

#include <QEvent>
#include <QObject>
#include <QWidget>
#include <functional>
#include <utility>

// Runs a function once, after a window has painted itself for the first time. The call is
// queued: the paint in progress, the window's children included, is finished and on the
// screen before the function runs. Header-only, so that bench/BareWindow.cpp, the reference of
// the start-up measurement, uses it without linking the program.
class TAfterFirstPaint : public QObject {
public:
  TAfterFirstPaint(QWidget &window, std::function<void()> then) : FThen(std::move(then)) {
    window.installEventFilter(this);
  }

  bool eventFilter(QObject *watched, QEvent *event) override {
    if (event->type() == QEvent::Paint) {
      watched->removeEventFilter(this);
      QMetaObject::invokeMethod(this, FThen, Qt::QueuedConnection);
    }
    return false;
  }

private:
  std::function<void()> FThen;
};
