#pragma once

#include "model/Cancellation.h"
#include "whitelist/LoadProgress.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QThreadPool>
#include <atomic>
#include <functional>

class QLabel;
class QMainWindow;
class QProgressBar;
class QPushButton;
class QTimer;

// What a running step shares with the window: the user's cancellation, and how far it has come.
// It is the progress the slow commands take.
class TBackgroundTask : public IProgress {
public:
  // Set by "Anuluj" or by closing the window.
  TCancellation Cancellation;

  // Any thread: `done` of `total`; the window shows the percentage. `total` 0: not known.
  void Report(qint64 done, qint64 total) override;
  bool Cancelled() const override { return Cancellation.IsCancelled(); }
  // 0 to 100, or -1 while the step has not told how far it has come.
  int Percent() const { return FPercent; }

private:
  friend class TBackgroundWork;
  std::atomic<int> FPercent = -1;
  // Called on the step's thread when the percentage changes.
  std::function<void()> FChanged;
};

// Runs a command's slow step (a mail, an outside program, a load or download of the white list)
// on another thread while the window stays alive: it repaints and moves, its status line shows
// what runs and for how long (and how far, where the step knows), and "Anuluj" cancels the
// step's TCancellation. The window's other command buttons, and the tables a click
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

  // Runs `work` on another thread and returns when it has ended, rethrowing what it threw. The
  // task's cancellation is cancelled when the user presses "Anuluj" or closes the window; `work`
  // must then end soon.
  void Run(const QString &what, const std::function<void(TBackgroundTask &)> &work);

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
  TBackgroundTask *FTask = nullptr;
  QThreadPool FPool;
};
