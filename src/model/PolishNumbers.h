#pragma once

#include "model/Amount.h"

#include <QString>
#include <QtGlobal>

// Numbers as every text of the program shows them to a Polish reader: a decimal comma and
// thousands grouped by blanks ("18 450,00", "12,3"). Logs, boxes, the status line and the
// invoice PDF all go through here, so that they agree.

// A decimal text ("1234.5", "-200", "0.125") with at least `minDecimals` decimals and every
// decimal it gives: "1 234,50", "-200,00", "0,125". A text that is no decimal number stays as it is.
QString PolishNumber(const QString &decimal, int minDecimals);
// A decimal text of money: at least two decimals.
inline QString PolishAmount(const QString &decimal) { return PolishNumber(decimal, 2); }
// An amount rounded to grosze: "18 450,00", "-0,50".
QString PolishAmount(TAmount amount);
// A count: "1 234 567".
QString PolishInteger(qint64 value);
// A duration in seconds with one decimal, rounded: 12 345 ms give "12,3".
QString PolishSeconds(qint64 milliseconds);
