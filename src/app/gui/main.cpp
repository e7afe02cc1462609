#include "app/gui/Form2.h"
#include "app/gui/QtDesktop.h"
#include "app/gui/QtDialogs.h"

#include <QApplication>

int main(int argc, char *argv[]) {
  QApplication application(argc, argv);
  TQtDialogs dialogs;
  TQtDesktop desktop;
  TForm2 window({dialogs, desktop, [] { return QDateTime::currentDateTime(); }});
  dialogs.SetOwner(&window);
  window.show();
  return application.exec();
}
