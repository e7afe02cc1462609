#pragma once

#include "model/Amount.h"

#include <QDateTime>
#include <QString>
#include <vector>

// One payment of a multi-payment document.
struct TPayment {
  QString InvoiceNumber;
  QString CreditorName;
  QString CreditorIBAN;
  TAmount Amount;
  QDateTime ExecutionDate;
  QString CreditorNIP;
  QString CreditorCountry;
  // Exactly "V" marks a payment read from a VideoTel file.
  QString CreditorAddress;
  QString CreditorAddress2;
  QString CreditorStrtNm;
  QString CreditorBldgNb;
  QString CreditorPstCd;
  QString CreditorTwnNm;
  TAmount VATAmount;
  QString nrKsef;
};

// A payment read from a VideoTel file: its InvoiceNumber holds the transfer's whole title.
inline bool IsVideoTelPayment(const TPayment &payment) { return payment.CreditorAddress == QStringLiteral("V"); }

// The payments of one document, in the order they are written.
using TPaymentList = std::vector<TPayment>;
