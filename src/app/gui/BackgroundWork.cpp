#include "app/gui/BackgroundWork.h"

#include "model/Exception.h"
#include "model/PolishNumbers.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QEventLoop>
#include <QFuture>
#include <QFutureWatcher>
#include <QLabel>
#include <QMainWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>
#include <exception>

namespace {

// Disables what starts a command in `area` while it lives (its buttons, and the tables and
// lists a click or double-click acts on) and gives back what was enabled.
class TCommandsOnHold {
public:
  explicit TCommandsOnHold(QWidget *area) {
    if (!area)
      return;
    Hold(area->findChildren<QAbstractButton *>());
    Hold(area->findChildren<QAbstractItemView *>());
    Hold(area->findChildren<QComboBox *>());
  }
  ~TCommandsOnHold() {
    for (const QPointer<QWidget> &widget : FHeld)
      if (widget)
        widget->setEnabled(true);
  }
  TCommandsOnHold(const TCommandsOnHold &) = delete;
  TCommandsOnHold &operator=(const TCommandsOnHold &) = delete;

private:
  template <class Widget> void Hold(const QList<Widget *> &widgets) {
    for (Widget *widget : widgets)
      if (widget->isEnabled()) {
        FHeld.append(widget);
        widget->setEnabled(false);
      }
  }

  QList<QPointer<QWidget>> FHeld;
};

} // namespace

void TBackgroundTask::Report(qint64 done, qint64 total) {
  const int percent = total > 0 ? int(std::clamp<qint64>(done * 100 / total, 0, 100)) : -1;
  if (FPercent.exchange(percent) != percent && FChanged)
    FChanged();
}

TBackgroundWork::TBackgroundWork(QObject *parent) : QObject(parent) {}

TBackgroundWork::~TBackgroundWork() = default;

void TBackgroundWork::ShowIn(QMainWindow &window) {
  FWindow = &window;
  FWatched = &window;
  FStatus = new QLabel;
  FStatus->setObjectName(QStringLiteral("LblPraca"));
  FBusy = new QProgressBar;
  FBusy->setObjectName(QStringLiteral("PrgPraca"));
  FBusy->setMaximumWidth(120);
  FCancel = new QPushButton(QStringLiteral("Anuluj"));
  FCancel->setObjectName(QStringLiteral("BtnAnuluj"));
  QStatusBar *status = window.statusBar();
  status->addWidget(FStatus, 1);
  status->addPermanentWidget(FBusy);
  status->addPermanentWidget(FCancel);
  SetShown(false);
  FTicker = new QTimer(this);
  FTicker->setInterval(1000);
  connect(FTicker, &QTimer::timeout, this, &TBackgroundWork::ShowProgress);
  connect(FCancel, &QPushButton::clicked, this, &TBackgroundWork::Cancel);
  window.installEventFilter(this);
}

void TBackgroundWork::Run(const QString &what, const std::function<void(TBackgroundTask &)> &work) {
  TBackgroundTask task;
  if (!FWindow) {
    work(task);
    return;
  }
  // The window's commands wait while work runs, so nothing should get here then.
  if (FTask)
    throw Exception(QStringLiteral("Poczekaj, aż program skończy: %1.").arg(FWhat));
  // Only a change of the percentage crosses to the window's thread.
  task.FChanged = [this] { QMetaObject::invokeMethod(this, &TBackgroundWork::ShowProgress, Qt::QueuedConnection); };
  std::exception_ptr error;
  {
    const TCommandsOnHold onHold(FWindow->centralWidget());
    FWhat = what;
    FTask = &task;
    FElapsed.start();
    FCancel->setEnabled(true);
    ShowProgress();
    SetShown(true);
    FTicker->start();

    QEventLoop loop;
    QFutureWatcher<void> watcher;
    connect(&watcher, &QFutureWatcher<void>::finished, &loop, &QEventLoop::quit);
    // A pool of its own: Qt's global pool also draws large parts of the window, which must not
    // wait for a mail.
    QFuture<void> future = QtConcurrent::run(&FPool, [&work, &task, &error] {
      try {
        work(task);
      } catch (...) {
        error = std::current_exception();
      }
    });
    watcher.setFuture(future);
    if (!future.isFinished())
      loop.exec();
    // The application ends all its event loops at once when it quits: the work is then ended
    // here, as if cancelled, before anything it uses goes away.
    if (!future.isFinished()) {
      Cancel();
      future.waitForFinished();
    }
    FTicker->stop();
    SetShown(false);
    FTask = nullptr;
  }
  if (error)
    std::rethrow_exception(error);
}

bool TBackgroundWork::eventFilter(QObject *watched, QEvent *event) {
  // Compared as objects: the filter also sees the window's last events while it is destroyed.
  if (watched == FWatched && event->type() == QEvent::Close)
    Cancel();
  return false;
}

void TBackgroundWork::Cancel() {
  if (!FTask || !FCancel->isEnabled())
    return;
  FCancel->setEnabled(false);
  FStatus->setText(FWhat + QStringLiteral(": przerywanie…"));
  FTask->Cancellation.Cancel();
}

void TBackgroundWork::ShowProgress() {
  // A change told by work that has ended since.
  if (!FTask)
    return;
  const int percent = FTask->Percent();
  // Without a percentage the bar only moves, to say that the program is alive.
  FBusy->setRange(0, percent < 0 ? 0 : 100);
  FBusy->setValue(std::max(0, percent));
  FBusy->setTextVisible(percent >= 0);
  if (FCancel->isEnabled())
    FStatus->setText(QStringLiteral("%1… %2 s").arg(FWhat, PolishInteger(FElapsed.elapsed() / 1000)));
}

void TBackgroundWork::SetShown(bool shown) {
  FStatus->setVisible(shown);
  FBusy->setVisible(shown);
  FCancel->setVisible(shown);
}
