#include "iso20022/Pain001Generator.h"

#include "iso20022/CreditTransfer.h"
#include "iso20022/RemittanceInfo.h"
#include "model/Exception.h"

void TPain001Generator::Generate(const TPayment &invoice, const TCompanyData &company, const TMPPSettings &mpp,
                                 const QString &outputFile, const QString &additionalReference, const QDateTime &now) {
  if (mpp.Enabled && invoice.VATAmount <= TAmount())
    throw Exception(
        QStringLiteral("Faktura %1 nie zawiera kwoty VAT (<=0) wymaganej dla MPP.").arg(invoice.InvoiceNumber));

  const TPain001Times times = Pain001Times(now);
  WritePain001File(outputFile, [&](TXmlStreamWriter &document) {
    StartPaymentBlock(document, TPaymentBlock{
                                    .MessageId = times.TimeStamp,
                                    .PaymentInfoId = times.TimeStamp,
                                    .Times = times,
                                    .NumberOfTransactions = 1,
                                    .ControlSum = std::nullopt,
                                    .Debtor = company,
                                    .MPP = mpp,
                                });
    StartCreditTransfer(document,
                        TCreditTransfer{
                            .InvoiceNumber = invoice.InvoiceNumber,
                            .Amount = invoice.Amount,
                            .Currency = invoice.CurrencyCode,
                            .CreditorAgentMemberId = invoice.CreditorIBAN.mid(4, 8),
                            .CreditorName = invoice.CreditorName,
                            .CreditorAddress = {invoice.CreditorStrtNm, invoice.CreditorBldgNb, invoice.CreditorPstCd,
                                                invoice.CreditorTwnNm},
                            .CreditorCountry = invoice.CreditorCountry,
                            .CreditorIBAN = invoice.CreditorIBAN,
                        },
                        mpp);
    AddRemittanceInfo(document, mpp,
                      TRemittanceValues{
                          .InvoiceNumber = invoice.InvoiceNumber,
                          .CreditorNIP = invoice.CreditorNIP,
                          .VATAmount = invoice.VATAmount,
                          .KsefReference = invoice.nrKsef,
                          .AdditionalReference = additionalReference,
                          .PlainText = InvoicePaymentText(invoice.InvoiceNumber, invoice.nrKsef) +
                                       QStringLiteral("; ") + additionalReference,
                      });
  });
}
