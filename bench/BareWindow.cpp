#include <QApplication>
#include <QWidget>

// The reference for the window's start-up in bench/run: an empty window of the same size, shown
// until it is closed.
int main(int argc, char *argv[]) {
  QApplication application(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("pavena_bare_window"));
  window.resize(900, 640);
  window.show();
  return application.exec();
}
