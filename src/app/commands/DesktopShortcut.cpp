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

} // namespace

void CreateDesktopShortcut(IDesktop &desktop, const QString &name, const QString &target, const QStringList &arguments,
                           const QString &iconPath) {
  const QString desktopFolder = desktop.DesktopFolder();
  if (desktopFolder.isEmpty() || !QFileInfo(desktopFolder).isDir())
    throw Exception(QStringLiteral("Folder pulpitu %1 nie istnieje").arg(desktopFolder));
  const QByteArray entry =
      DesktopEntryText({name, target, arguments, QFileInfo(target).absolutePath() + u'/', iconPath}).toUtf8();

  const QString launcher = QDir(desktopFolder).filePath(name + QStringLiteral(".desktop"));
  WriteFileAtomically(launcher, entry);
  MakeExecutable(launcher);
  desktop.TrustLauncher(launcher);

  // A desktop without a folder of menu entries gets the launcher alone.
  const QString applications = desktop.ApplicationsFolder();
  if (applications.isEmpty())
    return;
  QDir().mkpath(applications);
  WriteFileAtomically(QDir(applications).filePath(name.toLower() + QStringLiteral(".desktop")), entry);
}

void PressCreateDesktopShortcut(const THost &host) {
  CreateDesktopShortcut(host.Desktop, QStringLiteral("Pavena"), host.Paths.ProgramFile(QStringLiteral("pavena")), {},
                        host.Paths.IconFile());
  host.Dialogs.ShowMessage(QStringLiteral("Skrót został utworzony na pulpicie !!!"));
}
