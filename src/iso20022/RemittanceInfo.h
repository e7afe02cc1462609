#pragma once

#include "model/Amount.h"
#include "model/Payment.h"
#include "model/Types.h"
#include "xml/XmlStreamWriter.h"

#include <QString>

// The values of one transaction that its remittance block carries.
struct TRemittanceValues {
  QString InvoiceNumber;
  QString CreditorNIP;
  TAmount VATAmount;
  // RefNb of the structured split-payment encoding, the invoice number standing in when it is
  // empty; the banks' title quotes it when it is a real KSeF number.
  QString KsefReference;
  // Closes the banks' split-payment title when that quotes no KSeF number.
  QString AdditionalReference;
  // The whole Ustrd text when split payment is off; each document words it its own way.
  QString PlainText;
};

// Writes the transaction's RmtInf into the open CdtTrfTxInf, as its last child: the plain text
// when split payment is off, otherwise the split-payment encoding that mpp.Format chooses (none
// at all for TMPPFormat::None, the banks' title for TMPPFormat::Standard).
void AddRemittanceInfo(TXmlStreamWriter &document, const TMPPSettings &mpp, const TRemittanceValues &values);

// True when the KSeF reference `ksefReference` is empty, so that the structured encoding gives
// the invoice number in its place: the schema takes no empty RefNb.
bool HasNoKsefReference(const QString &ksefReference);

// "Zapłata za fakturę nr: <number>;  nr KSeF: <KSeF number>", the start of both plain texts.
QString InvoicePaymentText(const QString &invoiceNumber, const QString &ksefNumber);

// The plain text of a payment of the multi-payment document: the title alone for a VideoTel
// payment, the invoice payment text otherwise.
QString PaymentRemittanceText(const TPayment &payment);
