#pragma once

#include "model/Amount.h"

#include <QDateTime>
#include <QString>

// The payment data of one e-invoice.
struct TInvoicePaymentData {
  QString InvoiceNumber;
  QDateTime InvoiceDate;
  QDateTime DueDate;
  QString CreditorName;
  QString CreditorNIP;
  QString CreditorCountry;
  QString CreditorAddress;
  QString CreditorAddress2;
  QString CreditorStrtNm;
  QString CreditorBldgNb;
  QString CreditorPstCd;
  QString CreditorTwnNm;
  QString CreditorIBAN;
  TAmount Amount;
  QString CurrencyCode;
  TAmount VATAmount;
  // The invoice is marked for split payment (Adnotacje/P_18A is 1): the law wants it paid so.
  bool SplitPayment = false;
};

// The payer: the user's own company.
struct TCompanyData {
  QString Name;
  QString NIP;
  QString IBAN;
  QString BIC;
};

// Which split-payment remittance encoding a document carries. Standard is the title in the
// form the banks' own transfer forms use.
enum class TMPPFormat { None, Ustrd, Structured, Both, Standard };

struct TMPPSettings {
  bool Enabled = false;
  TMPPFormat Format = TMPPFormat::None;
};

// A postal address split into the parts an ISO 20022 postal address carries.
struct TStructuredAddress {
  QString StrtNm;
  QString BldgNb;
  QString PstCd;
  QString TwnNm;
};
