#include "GuiTestSupport.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QMessageBox>

namespace {

QApplication *Application = nullptr;

// The application lives from before the first test to after the last. It must not be left to
// static destruction: Qt's own global objects are gone by then.
class TApplicationEnvironment : public ::testing::Environment {
public:
  void SetUp() override { EnsureApplication(); }
  void TearDown() override {
    delete Application;
    Application = nullptr;
  }
};

[[maybe_unused]] ::testing::Environment *const Registered =
    ::testing::AddGlobalTestEnvironment(new TApplicationEnvironment);

} // namespace

void EnsureApplication() {
  static int argc = 1;
  static char name[] = "pavena_gui_tests";
  static char *argv[] = {name, nullptr};
  if (!Application)
    Application = new QApplication(argc, argv);
}

void ProcessEventsUntil(const std::function<bool()> &condition, const std::string &what) {
  // A safety net only: a busy machine may take seconds for what takes milliseconds here.
  const QDeadlineTimer deadline(std::chrono::minutes(1));
  while (!condition()) {
    if (deadline.hasExpired())
      throw std::runtime_error("Waited in vain for " + what);
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
}

TModalAnswer::TModalAnswer(std::function<void(QWidget &)> answer) : FAnswer(std::move(answer)) {
  FTimer.setInterval(5);
  QObject::connect(&FTimer, &QTimer::timeout, [this] {
    if (QWidget *dialog = QApplication::activeModalWidget(); dialog && dialog->isVisible()) {
      ++FAnswered;
      FAnswer(*dialog);
    }
  });
  FTimer.start();
}

TMessageBoxAnswer::TMessageBoxAnswer()
    : TModalAnswer([this](QWidget &dialog) {
        auto *box = qobject_cast<QMessageBox *>(&dialog);
        if (!box) {
          dialog.close();
          return;
        }
        FBoxes.push_back({box->windowTitle(), box->text(), int(box->icon())});
        box->done(QMessageBox::Ok);
      }) {}
