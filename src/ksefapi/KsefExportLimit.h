#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

// KSeF's limits of export orders (x-rate-limits of POST /invoices/exports: 8 a second, 16 a
// minute, 20 an hour), kept across runs: the moments of the last orders per environment and
// NIP, in a small file of the data directory (section = environment, key = NIP), rewritten
// atomically at each order. Made without a file, it keeps them for one run only.
class TKsefExportLimit {
public:
  TKsefExportLimit() = default;
  TKsefExportLimit(QString fileName, QString environment, QString nip);

  // Seconds until one more order keeps within the limits; 0 when it may go now.
  qint64 SecondsToWait(const QDateTime &now) const;
  // Remembers an order made at `moment`.
  void Record(const QDateTime &moment);

  static constexpr int MaxPerHour = 20;

private:
  QString FFileName;
  QString FEnvironment;
  QString FNip;
  QList<QDateTime> FOrders;
};
