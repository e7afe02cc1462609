#pragma once

#include <QString>

// The name in the title of the program's own message boxes.
inline QString ProgramName() { return QStringLiteral("Pavena"); }

inline QString VersionText() { return QStringLiteral(PAVENA_VERSION); }

inline QString WindowTitle() { return QStringLiteral("Pavena;    autor: Orsolan;    ver: ") + VersionText(); }
