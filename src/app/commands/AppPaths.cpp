#include "app/commands/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

// Absolute, with "/" inside and at the end, so that the paths shown in the log are full paths.
QString DirectoryText(const QString &dir) {
  QString text = QFileInfo(QDir::fromNativeSeparators(dir)).absoluteFilePath();
  if (!text.endsWith(u'/'))
    text += u'/';
  return text;
}

} // namespace

void TAppPaths::CreateWorkDirectories() const {
  for (const char *name : {"XML_PZ", "FAKTURY", "PLIKI_DO_BANKU"})
    QDir().mkpath(AppFilePath(QString::fromLatin1(name)));
}

TAppPaths TAppPaths::OfRunningProgram() {
  TAppPaths paths = InDirectory(QCoreApplication::applicationDirPath());
  // Tests and portable set-ups point the program at another data directory.
  const QString override = qEnvironmentVariable("PAVENA_DIR");
  if (!override.isEmpty())
    paths.AppDir = DirectoryText(override);
  return paths;
}

TAppPaths TAppPaths::InDirectory(const QString &dir) { return {DirectoryText(dir), DirectoryText(dir)}; }
