#include <QApplication>
#include <QTimer>
#include <QWidget>

// The reference for the window's start-up in bench/run: an empty window, shown and painted,
// then the program ends, as pavena does with PAVENA_QUIT_AFTER_SHOW set.
int main(int argc, char *argv[]) {
  QApplication application(argc, argv);
  QWidget window;
  window.resize(900, 640);
  window.show();
  QTimer::singleShot(0, &application, &QCoreApplication::quit);
  return application.exec();
}
