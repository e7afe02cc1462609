#pragma once

#include "app/commands/Host.h"

#include <QString>
#include <QStringList>

// Creates the launcher `name` + ".desktop" in the user's desktop folder, starting `target` with
// the arguments in the target's directory and showing the icon; an existing one is replaced.
// The launcher is made executable and trusted, which is what the desktops ask before they start
// one. The same entry then goes among the user's menu entries as the lower-case name +
// ".desktop", the name of the installed package's entry, which it thus takes the place of.
// Fails with "Folder pulpitu <folder> nie istnieje" when the desktop folder is missing (it is
// not created), and with "Unable to write to <path>" when a file cannot be written.
void CreateDesktopShortcut(IDesktop &desktop, const QString &name, const QString &target, const QStringList &arguments,
                           const QString &iconPath);

// The launcher of an installed package's program: `command` found through PATH, its icon
// `command` found in the icon theme, so that it outlives an upgrade. The package has its own
// menu entry, which a user's copy would hide: none is written.
void CreatePackagedDesktopShortcut(IDesktop &desktop, const QString &name, const QString &command);

// The button "Utwórz skrót\rna pulpicie": for an installed package (its directory cannot be
// written), the packaged launcher of "pavena"; otherwise the launcher "Pavena" of the program
// "pavena" in the program directory, whatever the running executable is called. Then the
// message that it was created.
void PressCreateDesktopShortcut(const THost &host);
