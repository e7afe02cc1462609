#pragma once

#include <QString>

// The program's texts break lines with CR LF pairs or a bare CR (as written for Windows);
// Qt's widgets break on LF only. Each CR LF, CR or LF becomes one LF.
QString WithLineFeeds(const QString &text);
