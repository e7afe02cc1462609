#include "ksefapi/KsefExportLimit.h"

#include "settings/IniFile.h"

#include <algorithm>

namespace {

struct TLimit {
  qint64 WindowMs;
  int Orders;
};

constexpr TLimit Limits[] = {{1000, 8}, {60 * 1000, 16}, {3600 * 1000, TKsefExportLimit::MaxPerHour}};

} // namespace

TKsefExportLimit::TKsefExportLimit(QString fileName, QString environment, QString nip)
    : FFileName(std::move(fileName)), FEnvironment(std::move(environment)), FNip(std::move(nip)) {
  // Whatever is not a moment (a hand-edited file) is no order.
  const QStringList texts = TIniFile(FFileName).ReadString(FEnvironment, FNip).split(u' ', Qt::SkipEmptyParts);
  for (const QString &text : texts)
    if (const QDateTime moment = QDateTime::fromString(text, Qt::ISODateWithMs); moment.isValid())
      FOrders << moment.toUTC();
  std::sort(FOrders.begin(), FOrders.end());
}

qint64 TKsefExportLimit::SecondsToWait(const QDateTime &now) const {
  qint64 waitMs = 0;
  for (const TLimit &limit : Limits) {
    const auto inWindow = std::count_if(FOrders.begin(), FOrders.end(),
                                        [&](const QDateTime &order) { return order.msecsTo(now) < limit.WindowMs; });
    if (inWindow < limit.Orders)
      continue;
    // The order that must leave the window before one more may come.
    const QDateTime leaving = FOrders[FOrders.size() - limit.Orders];
    waitMs = std::max(waitMs, limit.WindowMs - leaving.msecsTo(now));
  }
  return (waitMs + 999) / 1000;
}

void TKsefExportLimit::Record(const QDateTime &moment) {
  FOrders << moment.toUTC();
  std::sort(FOrders.begin(), FOrders.end());
  // Only the orders of the longest window count.
  while (FOrders.size() > MaxPerHour)
    FOrders.removeFirst();
  if (FFileName.isEmpty())
    return;
  QStringList texts;
  for (const QDateTime &order : FOrders)
    texts << order.toString(Qt::ISODateWithMs);
  TIniFile file(FFileName);
  file.WriteString(FEnvironment, FNip, texts.join(u' '));
  file.Save();
}
