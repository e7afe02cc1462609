#pragma once

#include <QString>

// Checks of the numbers that identify a party to a transfer. They say whether a number can be
// right; only the bank knows whether it is.

enum class TAccountProblem { None, CheckDigits, NotIban };

// An IBAN, or a Polish account number of 26 digits written without its country code (the form
// VideoTel files and many invoices use): None when its check digits hold (ISO 7064 mod 97-10),
// CheckDigits when it has the form of one but they do not, NotIban when it has no such form (two
// capital letters, two digits, 11 to 30 capital letters or digits, no blanks; a Polish IBAN is PL
// and 26 digits).
TAccountProblem AccountProblem(const QString &account);

// Ten digits whose last is the check digit: the first nine weighted 6 5 7 2 3 4 5 6 7, summed,
// modulo 11 (a remainder of 10 makes no valid NIP).
bool IsValidNip(const QString &nip);

// A NIP as people write it, with hyphens or blanks between its digit groups, reduced to its digits.
QString NipWithoutSeparators(QString nip);

// The form of a BIC (ISO 9362): four letters or digits for the institution, two letters for the
// country, two letters or digits for the location, and optionally three for the branch.
bool IsBicForm(const QString &bic);
