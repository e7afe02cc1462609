#pragma once

#include "iso20022/Pain001Times.h"
#include "model/Amount.h"
#include "model/Types.h"
#include "xml/XmlOutputDocument.h"

#include <QString>
#include <optional>

// The content both transfer documents share: the document frame, the group header, the
// debtor's payment block and the credit transfer transactions, each document filling in its
// own values.

// An empty pain.001.001.09 document: its root Document declares the format's namespace as the
// default one.
TXmlOutputDocument NewPain001Document();

struct TPaymentBlock {
  QString MessageId;
  QString PaymentInfoId;
  TPain001Times Times;
  qsizetype NumberOfTransactions = 0;
  // Written after NbOfTxs in both headers when present.
  std::optional<TAmount> ControlSum;
  // Name (left out under split payment) and IBAN.
  TCompanyData Debtor;
  TMPPSettings MPP;
};

// Builds CstmrCdtTrfInitn below the root: the group header, then the payment information up to
// and including the debtor agent. Returns PmtInf, which takes the transactions.
TXmlOutElement AddPaymentBlock(TXmlOutElement document, const TPaymentBlock &block);

struct TCreditTransfer {
  // EndToEndId takes its first 35 characters.
  QString InvoiceNumber;
  TAmount Amount;
  QString Currency;
  QString CreditorAgentMemberId;
  QString CreditorName;
  // Each part is written only when it is not empty.
  TStructuredAddress CreditorAddress;
  QString CreditorCountry;
  QString CreditorIBAN;
};

// Appends one CdtTrfTxInf, up to and including CdtrAcct, and returns it for the remittance block.
TXmlOutElement AddCreditTransfer(TXmlOutElement paymentInfo, const TCreditTransfer &transfer, const TMPPSettings &mpp);
