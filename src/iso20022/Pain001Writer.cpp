#include "iso20022/Pain001Writer.h"

#include "iso20022/CreditTransfer.h"
#include "iso20022/Pain001Limits.h"
#include "iso20022/RemittanceInfo.h"

namespace {

// The sort code follows "PL" and the two check digits, or only the check digits of an account
// written as 26 digits; a lower-case prefix counts as none.
QString CreditorAgentMemberId(const QString &iban) {
  return iban.startsWith(QStringLiteral("PL")) ? iban.mid(4, 8) : iban.mid(2, 8);
}

TCreditTransfer CreditTransferOf(const TPayment &payment) {
  // Cut to what the schema allows; a missing town gets a placeholder so that TwnNm is always there.
  const QString town = payment.CreditorTwnNm.isEmpty() ? QStringLiteral("Brak miasta")
                                                       : payment.CreditorTwnNm.left(TPain001Limits::TwnNm);
  return TCreditTransfer{
      .InvoiceNumber = payment.InvoiceNumber,
      .Amount = payment.Amount,
      .Currency = QStringLiteral("PLN"),
      .CreditorAgentMemberId = CreditorAgentMemberId(payment.CreditorIBAN),
      .CreditorName = payment.CreditorName,
      .CreditorAddress = {payment.CreditorStrtNm.left(TPain001Limits::StrtNm), payment.CreditorBldgNb,
                          payment.CreditorPstCd, town},
      .CreditorCountry = payment.CreditorCountry,
      .CreditorIBAN = payment.CreditorIBAN,
  };
}

TRemittanceValues RemittanceValuesOf(const TPayment &payment) {
  return TRemittanceValues{
      .InvoiceNumber = payment.InvoiceNumber,
      .CreditorNIP = payment.CreditorNIP,
      .VATAmount = payment.VATAmount,
      .KsefReference = payment.nrKsef,
      // A batch has no reference of its own.
      .AdditionalReference = QString(),
      .PlainText = PaymentRemittanceText(payment),
  };
}

} // namespace

void TPain001Writer::Generate(const TPaymentList &payments, const TCompanyData &settings, const TMPPSettings &mpp,
                              const QString &fileName, const QDateTime &now) {
  TAmount controlSum;
  for (const TPayment &payment : payments)
    controlSum += payment.Amount;

  const TPain001Times times = Pain001Times(now);
  WritePain001File(fileName, [&](TXmlStreamWriter &document) {
    StartPaymentBlock(document, TPaymentBlock{
                                    .MessageId = QStringLiteral("MSG_") + times.TimeStamp,
                                    .PaymentInfoId = QStringLiteral("PMT1"),
                                    .Times = times,
                                    .NumberOfTransactions = qsizetype(payments.size()),
                                    .ControlSum = controlSum,
                                    .Debtor = settings,
                                    .MPP = mpp,
                                });
    for (const TPayment &payment : payments) {
      StartCreditTransfer(document, CreditTransferOf(payment), mpp);
      AddRemittanceInfo(document, mpp, RemittanceValuesOf(payment));
      document.EndElement();
    }
  });
}
