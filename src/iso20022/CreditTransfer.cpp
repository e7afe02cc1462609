#include "iso20022/CreditTransfer.h"

namespace {

// "VATX" tells the bank that the transfer is a split payment.
QString CategoryPurpose(const TMPPSettings &mpp) {
  return mpp.Enabled ? QStringLiteral("VATX") : QStringLiteral("Payment");
}

// The agent is named by its Polish sort code alone.
void AddClearingSystemMember(TXmlOutElement agent, const QString &memberId) {
  TXmlOutElement member = agent.AppendElementPath({"FinInstnId", "ClrSysMmbId"});
  member.AppendElementPath({"ClrSysId", "Cd"}, QStringLiteral("PLKNR"));
  member.AppendElement("MmbId", memberId);
}

void AddAccount(TXmlOutElement parent, const char *name, const QString &iban) {
  parent.AppendElementPath({name, "Id", "Othr", "Id"}, iban);
}

void AddOptional(TXmlOutElement parent, const char *name, const QString &text) {
  if (!text.isEmpty())
    parent.AppendElement(name, text);
}

void AddControlSum(TXmlOutElement parent, const std::optional<TAmount> &controlSum) {
  if (controlSum)
    parent.AppendElement("CtrlSum", FormatAmount(*controlSum));
}

} // namespace

TXmlOutputDocument NewPain001Document() {
  return TXmlOutputDocument("Document", "urn:iso:std:iso:20022:tech:xsd:pain.001.001.09");
}

TXmlOutElement AddPaymentBlock(TXmlOutElement document, const TPaymentBlock &block) {
  const QString numberOfTransactions = QString::number(block.NumberOfTransactions);
  TXmlOutElement initiation = document.AppendElement("CstmrCdtTrfInitn");

  TXmlOutElement header = initiation.AppendElement("GrpHdr");
  header.AppendElement("MsgId", block.MessageId);
  header.AppendElement("CreDtTm", block.Times.CreationDateTime);
  header.AppendElement("NbOfTxs", numberOfTransactions);
  AddControlSum(header, block.ControlSum);
  TXmlOutElement initiatingParty = header.AppendElement("InitgPty");
  if (!block.MPP.Enabled)
    initiatingParty.AppendElement("Nm", block.Debtor.Name);

  TXmlOutElement paymentInfo = initiation.AppendElement("PmtInf");
  paymentInfo.AppendElement("PmtInfId", block.PaymentInfoId);
  paymentInfo.AppendElement("PmtMtd", QStringLiteral("TRF"));
  paymentInfo.AppendElement("NbOfTxs", numberOfTransactions);
  AddControlSum(paymentInfo, block.ControlSum);
  paymentInfo.AppendElementPath({"PmtTpInf", "CtgyPurp", "Prtry"}, CategoryPurpose(block.MPP));
  paymentInfo.AppendElementPath({"ReqdExctnDt", "Dt"}, block.Times.ExecutionDate);
  paymentInfo.AppendElement("Dbtr");
  AddAccount(paymentInfo, "DbtrAcct", block.Debtor.IBAN);
  AddClearingSystemMember(paymentInfo.AppendElement("DbtrAgt"), block.Debtor.IBAN.mid(4, 8));
  return paymentInfo;
}

TXmlOutElement AddCreditTransfer(TXmlOutElement paymentInfo, const TCreditTransfer &transfer, const TMPPSettings &mpp) {
  TXmlOutElement transaction = paymentInfo.AppendElement("CdtTrfTxInf");
  transaction.AppendElementPath({"PmtId", "EndToEndId"}, transfer.InvoiceNumber.left(35));

  TXmlOutElement paymentType = transaction.AppendElement("PmtTpInf");
  paymentType.AppendElement("InstrPrty", QStringLiteral("NORM"));
  paymentType.AppendElementPath({"CtgyPurp", "Prtry"}, CategoryPurpose(mpp));

  TXmlOutElement amount = transaction.AppendElementPath({"Amt", "InstdAmt"}, FormatAmount(transfer.Amount));
  amount.SetAttribute("Ccy", transfer.Currency);

  AddClearingSystemMember(transaction.AppendElement("CdtrAgt"), transfer.CreditorAgentMemberId);

  TXmlOutElement creditor = transaction.AppendElement("Cdtr");
  creditor.AppendElement("Nm", transfer.CreditorName);
  TXmlOutElement address = creditor.AppendElement("PstlAdr");
  AddOptional(address, "StrtNm", transfer.CreditorAddress.StrtNm);
  AddOptional(address, "BldgNb", transfer.CreditorAddress.BldgNb);
  AddOptional(address, "PstCd", transfer.CreditorAddress.PstCd);
  AddOptional(address, "TwnNm", transfer.CreditorAddress.TwnNm);
  address.AppendElement("Ctry", transfer.CreditorCountry);

  AddAccount(transaction, "CdtrAcct", transfer.CreditorIBAN);
  return transaction;
}
