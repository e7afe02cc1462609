#pragma once

#include "model/Amount.h"

#include <QDateTime>
#include <QString>
#include <vector>

// Where a payment comes from: an invoice (a KSeF file), or a line of a VideoTel file, whose
// InvoiceNumber holds the transfer's whole title and which names no invoice.
enum class TPaymentKind { Invoice, VideoTel };

// One payment, as its reader makes it, for the writers, the checks and the journal.
struct TPayment {
  TPaymentKind Kind = TPaymentKind::Invoice;
  QString InvoiceNumber;
  QDateTime InvoiceDate;
  QDateTime DueDate;
  // The day the transfer is requested for.
  QDateTime ExecutionDate;
  QString CreditorName;
  QString CreditorNIP;
  QString CreditorCountry;
  // The two free-text address lines of an invoice, and the parts ParseAddress splits them into
  // (a VideoTel line gives the town alone). The parts are whole: the writers cut them.
  QString CreditorAddress;
  QString CreditorAddress2;
  QString CreditorStrtNm;
  QString CreditorBldgNb;
  QString CreditorPstCd;
  QString CreditorTwnNm;
  QString CreditorIBAN;
  TAmount Amount;
  // Empty when the source names none.
  QString CurrencyCode;
  TAmount VATAmount;
  // The invoice is marked for split payment (Adnotacje/P_18A is 1): the law wants it paid so.
  bool SplitPayment = false;
  // The invoice's KSeF number (see KsefNumberOf), untrimmed; empty when it has none.
  QString nrKsef;
};

// The payments of one document, in the order they are written.
using TPaymentList = std::vector<TPayment>;
