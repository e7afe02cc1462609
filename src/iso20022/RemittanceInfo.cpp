#include "iso20022/RemittanceInfo.h"

#include "iso20022/StandardTitle.h"
#include "model/Text.h"

namespace {

// The bank's unstructured split-payment text. One multi-argument arg() keeps a "%1" inside a
// value from being substituted again.
QString UnstructuredText(const TRemittanceValues &values) {
  return QStringLiteral("/VAT/%1/IDC/%2/TXT/%3")
      .arg(FormatAmount(values.VATAmount), values.InvoiceNumber, values.CreditorNIP);
}

void AddStructured(TXmlStreamWriter &document, const TRemittanceValues &values, const QString &reference) {
  document.StartElement("Strd");
  document.StartElement("TaxRmt");
  document.TextElementPath({"Cdtr", "TaxId"}, values.CreditorNIP);
  document.TextElement("RefNb", reference);
  // Split payment settles VAT in złoty whatever the invoice's currency.
  document.TextElement("TtlTaxAmt", FormatAmount(values.VATAmount), "Ccy", QStringLiteral("PLN"));
  document.EndElement();
  document.TextElement("AddtlRmtInf", QStringLiteral("Płatność podzielona"));
  document.EndElement();
}

} // namespace

void AddRemittanceInfo(TXmlStreamWriter &document, const TMPPSettings &mpp, const TRemittanceValues &values) {
  if (!mpp.Enabled) {
    document.TextElementPath({"RmtInf", "Ustrd"}, values.PlainText);
    return;
  }
  switch (mpp.Format) {
  case TMPPFormat::None: return;
  case TMPPFormat::Ustrd: document.TextElementPath({"RmtInf", "Ustrd"}, UnstructuredText(values)); return;
  case TMPPFormat::Structured:
    document.StartElement("RmtInf");
    AddStructured(document, values,
                  HasNoKsefReference(values.KsefReference) ? values.InvoiceNumber : values.KsefReference);
    document.EndElement();
    return;
  case TMPPFormat::Both:
    document.StartElement("RmtInf");
    document.TextElement("Ustrd", UnstructuredText(values));
    AddStructured(document, values, values.InvoiceNumber);
    document.EndElement();
    return;
  case TMPPFormat::Standard:
    document.TextElementPath({"RmtInf", "Ustrd"},
                             StandardTitle(values.VATAmount, values.CreditorNIP, values.KsefReference,
                                           values.InvoiceNumber, values.AdditionalReference)
                                 .Text());
    return;
  }
}

bool HasNoKsefReference(const QString &ksefReference) { return Trim(ksefReference).isEmpty(); }

QString InvoicePaymentText(const QString &invoiceNumber, const QString &ksefNumber) {
  return QStringLiteral("Zapłata za fakturę nr: ") + invoiceNumber + QStringLiteral(";  nr KSeF: ") + ksefNumber;
}

QString PaymentRemittanceText(const TPayment &payment) {
  if (payment.Kind == TPaymentKind::VideoTel)
    return payment.InvoiceNumber;
  return InvoicePaymentText(payment.InvoiceNumber, payment.nrKsef);
}
