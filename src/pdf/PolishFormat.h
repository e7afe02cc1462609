#pragma once

#include "model/PolishNumbers.h"

#include <QString>

// How the invoice PDF writes the invoice's values for a Polish reader; its numbers are the
// program's own (model/PolishNumbers.h).

// An ISO date ("2026-02-01", also with a time after it) as "01.02.2026"; another text stays.
QString PolishDate(const QString &isoDate);

// A bank account number in groups of four, as printed on Polish documents: a 26-digit
// number as "61 1090 1014 0000 0712 1981 2874", an IBAN as "PL61 1090 1014 ...". Anything
// else, or an account already written with blanks, stays as it is.
QString GroupedAccount(const QString &account);
