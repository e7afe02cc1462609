#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QThreadPool>
#include <functional>

class QLabel;
class QMainWindow;
class QProgressBar;
class QPushButton;
class QTimer;

// Runs a command's slow step (a mail, an outside program) on another thread while the window
// stays alive: it repaints and moves, its status line shows what runs and for how long, and
// "Anuluj" asks the step to end. The window's other command buttons, and the tables a click
// acts on, are disabled meanwhile, so that commands never overlap. The command itself waits for the step, as it would
// for any call: it stays unaware of threads.
class TBackgroundWork : public QObject {
  Q_OBJECT

public:
  explicit TBackgroundWork(QObject *parent = nullptr);
  ~TBackgroundWork() override;

  // The window whose status line shows the work and whose buttons wait for it. Closing it
  // cancels the work. Without a window, work runs on the caller's thread.
  void ShowIn(QMainWindow &window);

  // Runs `work` on another thread and returns when it has ended, rethrowing what it threw.
  // `cancel` is called on this thread when the user presses "Anuluj" or closes the window; it
  // must make `work` end soon.
  void Run(const QString &what, const std::function<void()> &work, const std::function<void()> &cancel);

  bool eventFilter(QObject *watched, QEvent *event) override;

private:
  void Cancel();
  void ShowProgress();
  void SetShown(bool shown);

  QPointer<QMainWindow> FWindow;
  const QObject *FWatched = nullptr;
  QLabel *FStatus = nullptr;
  QProgressBar *FBusy = nullptr;
  QPushButton *FCancel = nullptr;
  QTimer *FTicker = nullptr;
  QString FWhat;
  QElapsedTimer FElapsed;
  std::function<void()> FCancelRunning;
  QThreadPool FPool;
};
