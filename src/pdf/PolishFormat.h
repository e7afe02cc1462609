#pragma once

#include <QString>

// How the invoice PDF writes the invoice's values for a Polish reader.

// A decimal number of the invoice ("1234.5", "-200", "0.125") with a decimal comma and
// thousands grouped by blanks, with at least `minDecimals` decimals and every decimal the
// invoice gives: "1 234,50", "-200,00", "0,125". A text that is no decimal number stays as it is.
QString PolishNumber(const QString &decimal, int minDecimals);
// An amount of money: at least two decimals.
inline QString PolishAmount(const QString &decimal) { return PolishNumber(decimal, 2); }

// An ISO date ("2026-02-01", also with a time after it) as "01.02.2026"; another text stays.
QString PolishDate(const QString &isoDate);

// A bank account number in groups of four, as printed on Polish documents: a 26-digit
// number as "61 1090 1014 0000 0712 1981 2874", an IBAN as "PL61 1090 1014 ...". Anything
// else, or an account already written with blanks, stays as it is.
QString GroupedAccount(const QString &account);
