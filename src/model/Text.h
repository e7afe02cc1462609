#pragma once

#include <QString>
#include <QStringList>

// Removes every leading and trailing character whose code is U+0020 or lower.
// This is the program's meaning of "trim"; QString::trimmed() removes other characters.
QString Trim(const QString &text);

// The program's texts break lines with CR LF pairs or a bare CR (as written for Windows);
// widgets and terminals break on LF only. Each CR LF, CR or LF becomes one LF.
QString WithLineFeeds(const QString &text);

// The lines of a text, split at each CR LF, CR or LF.
QStringList SplitLines(const QString &text);

// The line that follows a command's success entry in the log: 104 hyphen-minus characters.
QString LogSeparator();
