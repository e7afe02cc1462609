#pragma once

#include <QDateTime>
#include <QString>

// Reads an ISO 8601 date: calendar (2024-05-31, 20240531), ordinal (2024-152, 2024152) or week
// date (2024-W22-5, 2024W225), optionally followed by "T" and a time of day (hh:mm[:ss[.f]] or
// hhmm[ss[.f]]) with an optional zone (Z, +hh, +hh:mm, +hhmm). Without a time the result is that
// day at midnight, local time; a time without a zone is local time too. Anything else, and any
// impossible day or time (2024-02-30, week 54, 25:00), fails with "Invalid date string: <text>".
QDateTime ParseIso8601Date(const QString &text);
