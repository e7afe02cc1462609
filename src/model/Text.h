#pragma once

#include <QString>

// Removes every leading and trailing character whose code is U+0020 or lower.
// This is the program's meaning of "trim"; QString::trimmed() removes other characters.
QString Trim(const QString &text);
