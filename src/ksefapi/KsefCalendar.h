#pragma once

#include <QDate>
#include <QDateTime>
#include <QTimeZone>

// The days of KSeF's dates as a Polish business means them: days of Polish time
// (Europe/Warsaw, CET or CEST). A range of days runs from 00:00 of its first day there to the
// end of its last.

// Polish time; fails with a Polish sentence when the system has no data of the time zone.
QTimeZone KsefTimeZone();
// The moment `day` starts in Polish time.
QDateTime KsefDayStart(QDate day);
// The first day of the month before `now`'s month in Polish time: the start of a first
// download the user gave no date for.
QDate KsefDefaultFirstDay(const QDateTime &now);
