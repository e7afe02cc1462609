#include "app/gui/AfterFirstPaint.h"

#include <QApplication>
#include <QWidget>

// The reference for the window's start-up in bench/run: an empty window of the same size, shown
// and painted, then the program ends, as pavena does with PAVENA_QUIT_AFTER_SHOW set.
int main(int argc, char *argv[]) {
  QApplication application(argc, argv);
  QWidget window;
  window.resize(900, 640);
  TAfterFirstPaint quitAfterFirstPaint(window, &QCoreApplication::quit);
  window.show();
  return application.exec();
}
