#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The desktop's plain-text editor started on one argument, as a program and its arguments (no
// shell): the default application for text/plain that `xdg-mime` names, when its desktop entry
// runs a windowed program; else the first known windowed editor on PATH; else xdg-open. Empty
// when there is none of them.
QStringList TextEditorCommand(const QString &argument);

// What the program needs of a desktop entry (the group "Desktop Entry").
struct TDesktopEntry {
  QString Exec;
  bool Terminal = false;
};

// nullopt when the file cannot be read.
std::optional<TDesktopEntry> ReadDesktopEntry(const QString &fileName);

// The command line of an Exec value with `argument` in place of its first file or URL field
// code, or appended when it has none. nullopt when the value is empty or needs the quoting
// rules of a shell to be read; then the entry is left to gtk-launch.
std::optional<QStringList> CommandFromExec(const QString &exec, const QString &argument);
