#pragma once

#include "whitelist/LoadProgress.h"
#include "whitelist/WhiteListIndexWriter.h"

#include <QDate>
#include <QList>
#include <QString>
#include <optional>

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
  // The newest day with an index that is not after `day`: data of a later day never stands in
  // for it. Nothing when there is none.
  std::optional<QDate> NewestUpTo(QDate day) const;
  // Fails when an index of `day` would go at once, being KeptDays or more before the newest one,
  // so that nothing is read or downloaded for it.
  void CheckKept(QDate day) const;
  QString IndexFile(QDate day) const;

  // Reads a flat file (.7z or .json) into the index of its day, which it replaces in one step;
  // a load that fails, or a file of a day too old to be kept, leaves every index as it was. One load runs at a time,
  // also between processes; another one fails at once with its own message.
  TFlatFileLoad Load(const QString &flatFile, QDate today, IProgress &progress);

private:
  void RemoveOldIndexes() const;

  QString FDirectory;
};
