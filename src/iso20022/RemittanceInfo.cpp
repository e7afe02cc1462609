#include "iso20022/RemittanceInfo.h"

namespace {

// The bank's unstructured split-payment text. One multi-argument arg() keeps a "%1" inside a
// value from being substituted again.
QString UnstructuredText(const TRemittanceValues &values) {
  return QStringLiteral("/VAT/%1/IDC/%2/TXT/%3")
      .arg(FormatAmount(values.VATAmount), values.InvoiceNumber, values.CreditorNIP);
}

void AddStructured(TXmlOutElement remittance, const TRemittanceValues &values, const QString &reference) {
  TXmlOutElement structured = remittance.AppendElement("Strd");
  TXmlOutElement tax = structured.AppendElement("TaxRmt");
  tax.AppendElementPath({"Cdtr", "TaxId"}, values.CreditorNIP);
  tax.AppendElement("RefNb", reference);
  // Split payment settles VAT in złoty whatever the invoice's currency.
  tax.AppendElement("TtlTaxAmt", FormatAmount(values.VATAmount)).SetAttribute("Ccy", QStringLiteral("PLN"));
  structured.AppendElement("AddtlRmtInf", QStringLiteral("Płatność podzielona"));
}

} // namespace

void AddRemittanceInfo(TXmlOutElement transaction, const TMPPSettings &mpp, const TRemittanceValues &values) {
  if (!mpp.Enabled) {
    transaction.AppendElementPath({"RmtInf", "Ustrd"}, values.PlainText);
    return;
  }
  switch (mpp.Format) {
  case mfNone:
    return;
  case mfUstrd:
    transaction.AppendElementPath({"RmtInf", "Ustrd"}, UnstructuredText(values));
    return;
  case mfStructured:
    AddStructured(transaction.AppendElement("RmtInf"), values, values.KsefReference);
    return;
  case mfBoth: {
    TXmlOutElement remittance = transaction.AppendElement("RmtInf");
    remittance.AppendElement("Ustrd", UnstructuredText(values));
    AddStructured(remittance, values, values.InvoiceNumber);
    return;
  }
  }
}

QString InvoicePaymentText(const QString &invoiceNumber, const QString &ksefNumber) {
  return QStringLiteral("Zapłata za fakturę nr: ") + invoiceNumber + QStringLiteral(";  nr KSeF: ") + ksefNumber;
}

QString PaymentRemittanceText(const TPayment &payment) {
  if (IsVideoTelPayment(payment))
    return payment.InvoiceNumber;
  return InvoicePaymentText(payment.InvoiceNumber, payment.nrKsef);
}
