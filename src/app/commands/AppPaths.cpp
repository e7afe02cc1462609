#include "app/commands/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace {

// Absolute, with "/" inside and at the end, so that the paths shown in the log are full paths.
QString DirectoryText(const QString &dir) {
  QString text = QFileInfo(QDir::fromNativeSeparators(dir)).absoluteFilePath();
  if (!text.endsWith(u'/'))
    text += u'/';
  return text;
}

// The same directory, links followed; a directory that does not exist is nobody's.
bool IsSameDirectory(const QString &one, const QString &other) {
  const QString canonical = QFileInfo(one).canonicalFilePath();
  return !canonical.isEmpty() && canonical == QFileInfo(other).canonicalFilePath();
}

} // namespace

void TAppPaths::CreateWorkDirectories() const {
  for (const char *name : {"XML_PZ", "FAKTURY", "PLIKI_DO_BANKU"})
    QDir().mkpath(AppFilePath(QString::fromLatin1(name)));
}

TAppPaths TAppPaths::OfRunningProgram() {
  return Choose(QCoreApplication::applicationDirPath(), qEnvironmentVariable("PAVENA_DIR"), UserDataDir(),
                QStringLiteral(PAVENA_PACKAGED_PROGRAM_DIR));
}

TAppPaths TAppPaths::Choose(const QString &programDir, const QString &dataDirOverride, const QString &userDataDir,
                            const QString &packagedProgramDir) {
  TAppPaths paths = InDirectory(programDir);
  // Tests and portable set-ups point the program at another data directory.
  if (!dataDirOverride.isEmpty())
    paths = {paths.ProgramDir, DirectoryText(dataDirOverride), TDataDirChoice::Override};
  else if (!userDataDir.isEmpty() && (IsSameDirectory(programDir, packagedProgramDir) || !CanCreateFilesIn(programDir)))
    paths = {paths.ProgramDir, DirectoryText(userDataDir), TDataDirChoice::UserData};
  return paths;
}

TAppPaths TAppPaths::InDirectory(const QString &dir) { return {DirectoryText(dir), DirectoryText(dir)}; }

bool TAppPaths::CanCreateFilesIn(const QString &dir) {
  QTemporaryFile probe(QDir(dir).filePath(QStringLiteral(".pavena-probe-XXXXXX")));
  // The probe is removed when it goes out of scope.
  return probe.open();
}

QString TAppPaths::UserDataDir() {
  // What QStandardPaths::AppDataLocation names for the application "Pavena", spelt out so
  // that the window and pavena-cli share one folder whatever their executables are called.
  const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  return data.isEmpty() ? QString() : data + QStringLiteral("/Pavena");
}
