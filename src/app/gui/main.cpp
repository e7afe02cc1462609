#include "app/commands/AuthorMailer.h"
#include "app/gui/BackgroundMailer.h"
#include "app/gui/BackgroundProcessRunner.h"
#include "app/gui/DisplayGuard.h"
#include "app/gui/Form2.h"
#include "app/gui/PolishTranslations.h"
#include "app/gui/ProgramOptions.h"
#include "app/gui/QtDesktop.h"
#include "app/gui/QtDialogs.h"
#include "app/gui/QtLog.h"

#include <QApplication>
#include <QIcon>
#include <optional>

int main(int argc, char *argv[]) {
  if (const std::optional<int> status = AnswerWithoutWindow(argc, argv))
    return *status;
  TDisplayGuard displayGuard;
  QApplication application(argc, argv);
  displayGuard.Release();
  InstallPolishTranslations(application);
  // Lets the desktop match the window with the menu entry "pavena.desktop" and its icon.
  QGuiApplication::setDesktopFileName(QStringLiteral("pavena"));

  const TAppPaths paths = TAppPaths::OfRunningProgram();
  QApplication::setWindowIcon(QIcon(paths.IconFile()));

  TQtLog log;
  TQtDialogs dialogs;
  TQtDesktop desktop;
  TBackgroundWork background;
  TAuthorMailer authorMailer;
  TBackgroundMailer mailer(authorMailer, background);
  TBackgroundProcessRunner processes(background);
  const THost host{log, dialogs, desktop, mailer, processes, [] { return QDateTime::currentDateTime(); }, paths};

  TForm2 window(host, log, background);
  dialogs.SetOwner(&window);
  background.ShowIn(window);
  window.show();
  return application.exec();
}
