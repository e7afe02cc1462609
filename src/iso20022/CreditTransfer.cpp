#include "iso20022/CreditTransfer.h"

#include "iso20022/Pain001Limits.h"

namespace {

// "VATX" tells the bank that the transfer is a split payment.
QString CategoryPurpose(const TMPPSettings &mpp) {
  return mpp.Enabled ? QStringLiteral("VATX") : QStringLiteral("Payment");
}

// The agent is named by its Polish sort code alone.
void AddClearingSystemMember(TXmlStreamWriter &document, const char *agent, const QString &memberId) {
  document.StartElement(agent);
  document.StartElement("FinInstnId");
  document.StartElement("ClrSysMmbId");
  document.TextElementPath({"ClrSysId", "Cd"}, QStringLiteral("PLKNR"));
  document.TextElement("MmbId", memberId);
  document.EndElement();
  document.EndElement();
  document.EndElement();
}

void AddAccount(TXmlStreamWriter &document, const char *name, const QString &iban) {
  document.TextElementPath({name, "Id", "Othr", "Id"}, iban);
}

void AddOptional(TXmlStreamWriter &document, const char *name, const QString &text) {
  if (!text.isEmpty())
    document.TextElement(name, text);
}

void AddControlSum(TXmlStreamWriter &document, const std::optional<TAmount> &controlSum) {
  if (controlSum)
    document.TextElement("CtrlSum", FormatAmount(*controlSum));
}

} // namespace

void WritePain001File(const QString &fileName, const std::function<void(TXmlStreamWriter &)> &content) {
  WriteXmlFile(fileName, "Document", "urn:iso:std:iso:20022:tech:xsd:pain.001.001.09", content);
}

void StartPaymentBlock(TXmlStreamWriter &document, const TPaymentBlock &block) {
  const QString numberOfTransactions = QString::number(block.NumberOfTransactions);
  document.StartElement("CstmrCdtTrfInitn");

  document.StartElement("GrpHdr");
  document.TextElement("MsgId", block.MessageId);
  document.TextElement("CreDtTm", block.Times.CreationDateTime);
  document.TextElement("NbOfTxs", numberOfTransactions);
  AddControlSum(document, block.ControlSum);
  document.StartElement("InitgPty");
  if (!block.MPP.Enabled)
    document.TextElement("Nm", block.Debtor.Name);
  document.EndElement();
  document.EndElement();

  document.StartElement("PmtInf");
  document.TextElement("PmtInfId", block.PaymentInfoId);
  document.TextElement("PmtMtd", QStringLiteral("TRF"));
  document.TextElement("NbOfTxs", numberOfTransactions);
  AddControlSum(document, block.ControlSum);
  document.TextElementPath({"PmtTpInf", "CtgyPurp", "Prtry"}, CategoryPurpose(block.MPP));
  document.TextElementPath({"ReqdExctnDt", "Dt"}, block.Times.ExecutionDate);
  document.TextElement("Dbtr", QString());
  AddAccount(document, "DbtrAcct", block.Debtor.IBAN);
  AddClearingSystemMember(document, "DbtrAgt", block.Debtor.IBAN.mid(4, 8));
}

void StartCreditTransfer(TXmlStreamWriter &document, const TCreditTransfer &transfer, const TMPPSettings &mpp) {
  document.StartElement("CdtTrfTxInf");
  document.TextElementPath({"PmtId", "EndToEndId"}, transfer.InvoiceNumber.left(TPain001Limits::EndToEndId));

  document.StartElement("PmtTpInf");
  document.TextElement("InstrPrty", QStringLiteral("NORM"));
  document.TextElementPath({"CtgyPurp", "Prtry"}, CategoryPurpose(mpp));
  document.EndElement();

  document.StartElement("Amt");
  document.TextElement("InstdAmt", FormatAmount(transfer.Amount), "Ccy", transfer.Currency);
  document.EndElement();

  AddClearingSystemMember(document, "CdtrAgt", transfer.CreditorAgentMemberId);

  document.StartElement("Cdtr");
  document.TextElement("Nm", transfer.CreditorName);
  document.StartElement("PstlAdr");
  AddOptional(document, "StrtNm", transfer.CreditorAddress.StrtNm);
  AddOptional(document, "BldgNb", transfer.CreditorAddress.BldgNb);
  AddOptional(document, "PstCd", transfer.CreditorAddress.PstCd);
  AddOptional(document, "TwnNm", transfer.CreditorAddress.TwnNm);
  document.TextElement("Ctry", transfer.CreditorCountry);
  document.EndElement();
  document.EndElement();

  AddAccount(document, "CdtrAcct", transfer.CreditorIBAN);
}
