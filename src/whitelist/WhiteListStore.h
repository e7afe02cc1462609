#pragma once

#include "whitelist/LoadProgress.h"
#include "whitelist/WhiteListIndexWriter.h"

#include <QDate>
#include <QList>
#include <QString>

// What a load of a flat file came to.
struct TFlatFileLoad {
  QDate Date;
  TFlatFileCounts Counts;
  qint64 Milliseconds = 0;
};

// The directory of the white-list indexes, one file per day of data ("RRRRMMDD.indeks").
class TWhiteListStore {
public:
  // Indexes whose day is this many days or more before the newest one are removed.
  static constexpr int KeptDays = 7;

  explicit TWhiteListStore(QString directory);

  // The days with an index, oldest first.
  QList<QDate> Days() const;
  QString IndexFile(QDate day) const;

  // Reads a flat file (.7z or .json) into the index of its day, which it replaces in one step;
  // a load that fails leaves every index as it was. One load runs at a time, also between
  // processes; another one fails at once with its own message.
  TFlatFileLoad Load(const QString &flatFile, QDate today, IProgress &progress);

private:
  void RemoveOldIndexes(QDate loaded) const;

  QString FDirectory;
};
