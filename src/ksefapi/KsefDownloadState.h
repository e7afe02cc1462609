#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

// Where the next download of purchase invoices starts, per environment and NIP: the moment up
// to which every invoice was wholly stored. Kept in its own small file of the data directory
// ("ksef-pobieranie.ini", section = environment, key = NIP), apart from settings.ini.
class TKsefDownloadState {
public:
  explicit TKsefDownloadState(QString fileName);

  std::optional<QDateTime> Start(const QString &environment, const QString &nip) const;
  // Written at once, atomically.
  void SetStart(const QString &environment, const QString &nip, const QDateTime &start) const;

private:
  QString FFileName;
};
