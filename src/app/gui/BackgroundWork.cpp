#include "app/gui/BackgroundWork.h"

#include <QAbstractButton>
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
#include <exception>

namespace {

// Disables the enabled buttons of `area` while it lives and gives them back afterwards.
class TButtonsOnHold {
public:
  explicit TButtonsOnHold(QWidget *area) {
    if (!area)
      return;
    for (QAbstractButton *button : area->findChildren<QAbstractButton *>())
      if (button->isEnabled()) {
        FHeld.append(button);
        button->setEnabled(false);
      }
  }
  ~TButtonsOnHold() {
    for (const QPointer<QAbstractButton> &button : FHeld)
      if (button)
        button->setEnabled(true);
  }
  TButtonsOnHold(const TButtonsOnHold &) = delete;
  TButtonsOnHold &operator=(const TButtonsOnHold &) = delete;

private:
  QList<QPointer<QAbstractButton>> FHeld;
};

} // namespace

TBackgroundWork::TBackgroundWork(QObject *parent) : QObject(parent) {}

TBackgroundWork::~TBackgroundWork() = default;

void TBackgroundWork::ShowIn(QMainWindow &window) {
  FWindow = &window;
  FStatus = new QLabel;
  FStatus->setObjectName(QStringLiteral("LblPraca"));
  FBusy = new QProgressBar;
  FBusy->setObjectName(QStringLiteral("PrgPraca"));
  // No end to show: the bar only moves, to say that the program is alive.
  FBusy->setRange(0, 0);
  FBusy->setTextVisible(false);
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

void TBackgroundWork::Run(const QString &what, const std::function<void()> &work, const std::function<void()> &cancel) {
  if (!FWindow) {
    work();
    return;
  }
  std::exception_ptr error;
  {
    const TButtonsOnHold onHold(FWindow->centralWidget());
    FWhat = what;
    FCancelRunning = cancel;
    FElapsed.start();
    FCancel->setEnabled(true);
    ShowProgress();
    SetShown(true);
    FTicker->start();

    QEventLoop loop;
    QFutureWatcher<void> watcher;
    connect(&watcher, &QFutureWatcher<void>::finished, &loop, &QEventLoop::quit);
    QFuture<void> future = QtConcurrent::run([&work, &error] {
      try {
        work();
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
    FCancelRunning = nullptr;
  }
  if (error)
    std::rethrow_exception(error);
}

bool TBackgroundWork::eventFilter(QObject *watched, QEvent *event) {
  if (watched == FWindow && event->type() == QEvent::Close)
    Cancel();
  return false;
}

void TBackgroundWork::Cancel() {
  if (!FCancelRunning || !FCancel->isEnabled())
    return;
  FCancel->setEnabled(false);
  FStatus->setText(FWhat + QStringLiteral(": przerywanie…"));
  FCancelRunning();
}

void TBackgroundWork::ShowProgress() {
  if (FCancel->isEnabled())
    FStatus->setText(QStringLiteral("%1… %2 s").arg(FWhat).arg(FElapsed.elapsed() / 1000));
}

void TBackgroundWork::SetShown(bool shown) {
  FStatus->setVisible(shown);
  FBusy->setVisible(shown);
  FCancel->setVisible(shown);
}
