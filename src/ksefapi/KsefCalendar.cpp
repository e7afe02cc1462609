#include "ksefapi/KsefCalendar.h"

#include "model/Exception.h"

QTimeZone KsefTimeZone() {
  const QTimeZone zone(QByteArrayLiteral("Europe/Warsaw"));
  if (!zone.isValid())
    throw Exception(QStringLiteral("W systemie brak danych strefy czasowej Europe/Warsaw (pakiet tzdata), a daty KSeF "
                                   "liczy się według czasu polskiego; zainstaluj pakiet tzdata."));
  return zone;
}

QDateTime KsefDayStart(QDate day) { return QDateTime(day, QTime(0, 0), KsefTimeZone()); }

QDate KsefDefaultFirstDay(const QDateTime &now) {
  const QDate previousMonth = now.toTimeZone(KsefTimeZone()).date().addMonths(-1);
  return QDate(previousMonth.year(), previousMonth.month(), 1);
}
