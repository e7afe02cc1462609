#pragma once

#include <QString>
#include <QStringList>

// A launcher of the freedesktop.org desktops (GNOME, KDE, Xfce...): a ".desktop" file, what a
// shell link is on Windows.
struct TLauncher {
  QString Name;
  // The program started, and its arguments.
  QString Target;
  QStringList Arguments;
  // The directory the program starts in; empty to leave it to the desktop.
  QString WorkingDirectory;
  // An icon file; empty for none.
  QString Icon;
};

// The launcher as the text of its file: the group "Desktop Entry" of an application, with line
// feeds. The program and each argument are quoted for the key Exec, so that blanks, quotation
// marks, backslashes, dollar signs and percent signs in a path survive; a program given as
// a plain command name (letters, digits, "_.+-") goes as it is.
QString DesktopEntryText(const TLauncher &launcher);
