#include "app/commands/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString AppDir() {
  // Tests and portable set-ups point the program at another directory; it is made absolute
  // so that the paths shown in the log are full paths.
  const QString override = qEnvironmentVariable("PAVENA_DIR");
  QString dir = override.isEmpty() ? QCoreApplication::applicationDirPath()
                                   : QFileInfo(QDir::fromNativeSeparators(override)).absoluteFilePath();
  if (!dir.endsWith(u'/'))
    dir += u'/';
  return dir;
}

QString AppFilePath(const QString &name) { return AppDir() + name; }

void CreateWorkDirectories() {
  for (const char *name : {"XML_PZ", "FAKTURY", "PLIKI_DO_BANKU"})
    QDir().mkpath(AppFilePath(QString::fromLatin1(name)));
}
