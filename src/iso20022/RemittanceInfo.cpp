#include "iso20022/RemittanceInfo.h"

#include "iso20022/Pain001Document.h"

namespace {

// The bank's unstructured split-payment text. One multi-argument arg() keeps a "%1" inside a
// value from being substituted again.
QString UnstructuredText(const TRemittanceValues &values) {
  return QStringLiteral("/VAT/%1/IDC/%2/TXT/%3")
      .arg(FormatAmount(values.VATAmount), values.InvoiceNumber, values.CreditorNIP);
}

void AddStructured(xmlNode *remittance, const TRemittanceValues &values, const QString &reference) {
  xmlNode *structured = AppendElement(remittance, "Strd");
  xmlNode *tax = AppendElement(structured, "TaxRmt");
  AppendElementPath(tax, {"Cdtr", "TaxId"}, values.CreditorNIP);
  AppendElement(tax, "RefNb", reference);
  // Split payment settles VAT in złoty whatever the invoice's currency.
  SetAttribute(AppendElement(tax, "TtlTaxAmt", FormatAmount(values.VATAmount)), "Ccy", QStringLiteral("PLN"));
  AppendElement(structured, "AddtlRmtInf", QStringLiteral("Płatność podzielona"));
}

} // namespace

void AddRemittanceInfo(xmlNode *transaction, const TMPPSettings &mpp, const TRemittanceValues &values) {
  if (!mpp.Enabled) {
    AppendElementPath(transaction, {"RmtInf", "Ustrd"}, values.PlainText);
    return;
  }
  switch (mpp.Format) {
  case mfNone:
    return;
  case mfUstrd:
    AppendElementPath(transaction, {"RmtInf", "Ustrd"}, UnstructuredText(values));
    return;
  case mfStructured:
    AddStructured(AppendElement(transaction, "RmtInf"), values, values.KsefReference);
    return;
  case mfBoth: {
    xmlNode *remittance = AppendElement(transaction, "RmtInf");
    AppendElement(remittance, "Ustrd", UnstructuredText(values));
    AddStructured(remittance, values, values.InvoiceNumber);
    return;
  }
  }
}

QString InvoicePaymentText(const QString &invoiceNumber, const QString &ksefNumber) {
  return QStringLiteral("Zapłata za fakturę nr: ") + invoiceNumber + QStringLiteral(";  nr KSeF: ") + ksefNumber;
}

QString PaymentRemittanceText(const TPayment &payment) {
  if (payment.CreditorAddress == QStringLiteral("V"))
    return payment.InvoiceNumber;
  return InvoicePaymentText(payment.InvoiceNumber, payment.nrKsef);
}
