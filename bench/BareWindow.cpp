#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace {

// Ends the program once the window has painted itself for the first time.
class TQuitAfterFirstPaint : public QObject {
public:
  bool eventFilter(QObject *, QEvent *event) override {
    if (event->type() == QEvent::Paint)
      QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);
    return false;
  }
};

} // namespace

// The reference for the window's start-up in bench/run: an empty window of the same size, shown
// and painted, then the program ends, as pavena does with PAVENA_QUIT_AFTER_SHOW set.
int main(int argc, char *argv[]) {
  QApplication application(argc, argv);
  QWidget window;
  window.resize(900, 640);
  TQuitAfterFirstPaint quitAfterFirstPaint;
  window.installEventFilter(&quitAfterFirstPaint);
  window.show();
  return application.exec();
}
