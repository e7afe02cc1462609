#pragma once

#include "iso20022/Pain001Times.h"
#include "model/Amount.h"
#include "model/StructuredAddress.h"
#include "model/Types.h"
#include "xml/XmlStreamWriter.h"

#include <QString>
#include <functional>
#include <optional>

// The content both transfer documents share: the document frame, the group header, the
// debtor's payment block and the credit transfer transactions, each document filling in its
// own values. The document is written as it is built, element after element.

// Writes `fileName` as a pain.001.001.09 document: its root Document declares the format's
// namespace as the default one, and `content` writes what lies below it. The file is replaced
// in one step at the end; when `content` throws, nothing is written.
void WritePain001File(const QString &fileName, const std::function<void(TXmlStreamWriter &)> &content);

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

// Writes CstmrCdtTrfInitn below the root: the group header, then the payment information up to
// and including the debtor agent. PmtInf stays open for the transactions.
void StartPaymentBlock(TXmlStreamWriter &document, const TPaymentBlock &block);

struct TCreditTransfer {
  // EndToEndId takes its first TPain001Limits::EndToEndId characters.
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

// Writes one CdtTrfTxInf, up to and including CdtrAcct, into the open PmtInf, and leaves it
// open for the remittance block.
void StartCreditTransfer(TXmlStreamWriter &document, const TCreditTransfer &transfer, const TMPPSettings &mpp);
