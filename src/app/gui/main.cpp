#include "app/commands/AuthorMailer.h"
#include "app/commands/ProcessRunner.h"
#include "app/gui/AfterFirstPaint.h"
#include "app/gui/BusyMailer.h"
#include "app/gui/Form2.h"
#include "app/gui/PolishTranslations.h"
#include "app/gui/ProgramOptions.h"
#include "app/gui/QtDesktop.h"
#include "app/gui/QtDialogs.h"
#include "app/gui/QtLog.h"
#include "app/gui/SampledFrameStyle.h"

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <fontconfig/fontconfig.h>
#include <future>
#include <optional>

int main(int argc, char *argv[]) {
  if (const std::optional<int> status = AnswerWithoutWindow(argc, argv))
    return *status;
  // Reading the system's font configuration is the largest part of the start-up, and the first
  // text field waits for it: another core reads it while the application is set up.
  std::future<FcBool> fontConfiguration = std::async(std::launch::async, FcInit);
  QApplication application(argc, argv);
  InstallPolishTranslations(application);
  QApplication::setStyle(new TSampledFrameStyle);
  // Lets the desktop match the window with the menu entry "pavena.desktop" and its icon.
  QGuiApplication::setDesktopFileName(QStringLiteral("pavena"));
  const TAppPaths paths = TAppPaths::OfRunningProgram();
  // Decoding the icon's 256-pixel picture is a good part of the start-up: another core does it
  // while the window is being built, and the window still has its icon before it is shown.
  // Reading it also loads Qt's image format plugins, which the first paint would otherwise load
  // itself (the group box's frame is a picture).
  std::future<QImage> icon = std::async(std::launch::async, [file = paths.IconFile()] { return QImage(file); });
  TQtLog log;
  TQtDialogs dialogs;
  TQtDesktop desktop;
  TAuthorMailer authorMailer;
  TBusyMailer mailer(authorMailer);
  TProcessRunner processes;
  const THost host{log, dialogs, desktop, mailer, processes, [] { return QDateTime::currentDateTime(); }, paths};
  fontConfiguration.wait();
  TForm2 window(host, log);
  QApplication::setWindowIcon(QPixmap::fromImage(icon.get()));
  dialogs.SetOwner(&window);
  // bench/run measures the start-up from outside: with PAVENA_QUIT_AFTER_SHOW set the program
  // ends once the window has painted itself for the first time, as the bare window it is
  // compared with does. Installed after the window's own, this filter is asked first, so the
  // quit comes before the rest of the window's start-up, which a closed window skips.
  std::optional<TAfterFirstPaint> quitAfterFirstPaint;
  if (qEnvironmentVariableIsSet("PAVENA_QUIT_AFTER_SHOW"))
    quitAfterFirstPaint.emplace(window, &QCoreApplication::quit);
  window.show();
  return application.exec();
}
