#pragma once

#include <QDateTime>
#include <QString>

// The time values of a transfer file, all made from one reading of the clock so that the
// message identification and the creation time name the same second.
struct TPain001Times {
  QString TimeStamp;        // 20250131140509
  QString CreationDateTime; // 2025-01-31T14:05:09
  QString ExecutionDate;    // 2025-01-31
};

TPain001Times Pain001Times(const QDateTime &now);
