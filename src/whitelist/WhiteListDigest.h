#pragma once

#include "whitelist/FlatFileReader.h"

#include <QByteArray>
#include <QDate>
#include <QString>

// The digest under which the flat file lists a pair of NIP and account: SHA-512 of the text
// RRRRMMDD (the file's date) + NIP (10 digits) + the account's 26 digits, then SHA-512 of the
// previous digest written in lower-case hexadecimal, `transformations` times in all. The
// account may be a mask's text, with 'X' kept where the mask has it.
TDigestPrefix WhiteListDigest(QDate date, const QString &nip, const QString &account, int transformations);

// The text a mask makes of an account: the account's digits where the mask has 'Y', 'X'
// where it has 'X'. Empty when a digit of the mask differs from the account's.
QString MaskedAccount(const char *mask, const QString &account);
