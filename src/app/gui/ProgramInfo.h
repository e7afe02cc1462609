#pragma once

#include "app/commands/AboutProgram.h"

#include <QString>

// The name in the title of the program's own message boxes.
inline QString ProgramName() { return QStringLiteral("Pavena"); }

inline QString VersionText() { return QStringLiteral(PAVENA_VERSION); }

inline QString WindowTitle() {
  return QStringLiteral("Pavena;    autor: ") + AuthorName() + QStringLiteral(";    ver: ") + VersionText();
}
