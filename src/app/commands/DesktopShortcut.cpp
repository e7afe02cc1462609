#include "app/commands/DesktopShortcut.h"

#include "app/commands/DesktopEntry.h"
#include "model/AtomicFile.h"
#include "model/Exception.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// GNOME, KDE and Xfce start a launcher from the desktop only when its file is executable.
void MakeExecutable(const QString &fileName) {
  const QFile::Permissions executable = QFile::ExeOwner | QFile::ExeUser | QFile::ExeGroup | QFile::ExeOther;
  if (!QFile::setPermissions(fileName, QFile::permissions(fileName) | executable))
    throw Exception(QStringLiteral("Unable to write to %1").arg(fileName));
}

// The desktop folder the desktop names, or, when that one is missing, the usual "Pulpit" or
// "Desktop" beside it in the home folder: user-dirs.dirs may name a folder that was renamed or
// never made.
QString ExistingDesktopFolder(IDesktop &desktop) {
  const QString named = desktop.DesktopFolder();
  if (!named.isEmpty() && QFileInfo(named).isDir())
    return named;
  if (!named.isEmpty()) {
    const QDir home = QFileInfo(named).dir();
    for (const QString &usual : {QStringLiteral("Pulpit"), QStringLiteral("Desktop")})
      if (QFileInfo(home.filePath(usual)).isDir())
        return home.filePath(usual);
  }
  throw Exception(QStringLiteral("Folder pulpitu %1 nie istnieje").arg(named));
}

void WriteLauncher(IDesktop &desktop, const QString &name, const QByteArray &entry) {
  const QString launcher = QDir(ExistingDesktopFolder(desktop)).filePath(name + QStringLiteral(".desktop"));
  WriteFileAtomically(launcher, entry);
  MakeExecutable(launcher);
  desktop.TrustLauncher(launcher);
}

} // namespace

void CreateDesktopShortcut(IDesktop &desktop, const QString &name, const QString &target, const QStringList &arguments,
                           const QString &iconPath) {
  const QByteArray entry =
      DesktopEntryText({name, target, arguments, QFileInfo(target).absolutePath() + u'/', iconPath}).toUtf8();
  WriteLauncher(desktop, name, entry);

  // A desktop without a folder of menu entries gets the launcher alone.
  const QString applications = desktop.ApplicationsFolder();
  if (applications.isEmpty())
    return;
  QDir().mkpath(applications);
  WriteFileAtomically(QDir(applications).filePath(name.toLower() + QStringLiteral(".desktop")), entry);
}

void CreatePackagedDesktopShortcut(IDesktop &desktop, const QString &name, const QString &command) {
  WriteLauncher(desktop, name, DesktopEntryText({name, command, {}, QString(), command}).toUtf8());
}

void PressCreateDesktopShortcut(const THost &host) {
  if (host.Paths.DataDirChoice == TDataDirChoice::UserData)
    CreatePackagedDesktopShortcut(host.Desktop, QStringLiteral("Pavena"), QStringLiteral("pavena"));
  else
    CreateDesktopShortcut(host.Desktop, QStringLiteral("Pavena"), host.Paths.ProgramFile(QStringLiteral("pavena")), {},
                          host.Paths.IconFile());
  host.Dialogs.ShowMessage(QStringLiteral("Skrót został utworzony na pulpicie !!!"));
}
