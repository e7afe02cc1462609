#pragma once

#include "model/Amount.h"
#include "model/Payment.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

// One payment order of a VideoTel ".imp" file, as the file gives it.
struct TVideoTelPayment {
  QString OrderingPartyName;
  QString OrderingPartyIBAN;
  QString BeneficiaryName;
  QString BeneficiaryIBAN;
  QString BeneficiaryAddress;
  TAmount Amount;
  QString Currency;
  QString Title;
};

// Reads a VideoTel file into payments, one per non-blank line, in the order of the lines, each
// with the given execution date. The first bad line fails the whole file.
TPaymentList LoadVideoTelFile(const QString &fileName, const QDateTime &executionDate);

// Splits one line into fields and reads the record from them; a line needs at least 14 fields.
TVideoTelPayment ParseVideoTelRecord(const QString &line);

// The fields of a line: separated by blanks, or enclosed in double quotation marks without
// any escape.
QStringList SplitVideoTelLine(const QString &line);

// The payment of one record: texts cut, trimmed and stripped of Polish letters, the town taken
// from the payee's address, today as the execution date.
TPayment VideoTelToPayment(const TVideoTelPayment &record);

// The text with the eighteen Polish letters replaced by their plain ASCII letters.
QString RemovePolishDiacritics(const QString &text);
