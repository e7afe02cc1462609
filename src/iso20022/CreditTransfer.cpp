#include "iso20022/CreditTransfer.h"

#include "iso20022/Pain001Document.h"

namespace {

// "VATX" tells the bank that the transfer is a split payment.
QString CategoryPurpose(const TMPPSettings &mpp) {
  return mpp.Enabled ? QStringLiteral("VATX") : QStringLiteral("Payment");
}

// The agent is named by its Polish sort code alone.
void AddClearingSystemMember(xmlNode *agent, const QString &memberId) {
  xmlNode *member = AppendElementPath(agent, {"FinInstnId", "ClrSysMmbId"});
  AppendElementPath(member, {"ClrSysId", "Cd"}, QStringLiteral("PLKNR"));
  AppendElement(member, "MmbId", memberId);
}

void AddAccount(xmlNode *parent, const char *name, const QString &iban) {
  AppendElementPath(parent, {name, "Id", "Othr", "Id"}, iban);
}

void AddOptional(xmlNode *parent, const char *name, const QString &text) {
  if (!text.isEmpty())
    AppendElement(parent, name, text);
}

void AddControlSum(xmlNode *parent, const std::optional<TAmount> &controlSum) {
  if (controlSum)
    AppendElement(parent, "CtrlSum", FormatAmount(*controlSum));
}

} // namespace

xmlNode *AddPaymentBlock(xmlNode *document, const TPaymentBlock &block) {
  const QString numberOfTransactions = QString::number(block.NumberOfTransactions);
  xmlNode *initiation = AppendElement(document, "CstmrCdtTrfInitn");

  xmlNode *header = AppendElement(initiation, "GrpHdr");
  AppendElement(header, "MsgId", block.MessageId);
  AppendElement(header, "CreDtTm", block.Times.CreationDateTime);
  AppendElement(header, "NbOfTxs", numberOfTransactions);
  AddControlSum(header, block.ControlSum);
  xmlNode *initiatingParty = AppendElement(header, "InitgPty");
  if (!block.MPP.Enabled)
    AppendElement(initiatingParty, "Nm", block.Debtor.Name);

  xmlNode *paymentInfo = AppendElement(initiation, "PmtInf");
  AppendElement(paymentInfo, "PmtInfId", block.PaymentInfoId);
  AppendElement(paymentInfo, "PmtMtd", QStringLiteral("TRF"));
  AppendElement(paymentInfo, "NbOfTxs", numberOfTransactions);
  AddControlSum(paymentInfo, block.ControlSum);
  AppendElementPath(paymentInfo, {"PmtTpInf", "CtgyPurp", "Prtry"}, CategoryPurpose(block.MPP));
  AppendElementPath(paymentInfo, {"ReqdExctnDt", "Dt"}, block.Times.ExecutionDate);
  AppendElement(paymentInfo, "Dbtr");
  AddAccount(paymentInfo, "DbtrAcct", block.Debtor.IBAN);
  AddClearingSystemMember(AppendElement(paymentInfo, "DbtrAgt"), block.Debtor.IBAN.mid(4, 8));
  return paymentInfo;
}

xmlNode *AddCreditTransfer(xmlNode *paymentInfo, const TCreditTransfer &transfer, const TMPPSettings &mpp) {
  xmlNode *transaction = AppendElement(paymentInfo, "CdtTrfTxInf");
  AppendElementPath(transaction, {"PmtId", "EndToEndId"}, transfer.InvoiceNumber.left(35));

  xmlNode *paymentType = AppendElement(transaction, "PmtTpInf");
  AppendElement(paymentType, "InstrPrty", QStringLiteral("NORM"));
  AppendElementPath(paymentType, {"CtgyPurp", "Prtry"}, CategoryPurpose(mpp));

  xmlNode *amount = AppendElementPath(transaction, {"Amt", "InstdAmt"}, FormatAmount(transfer.Amount));
  SetAttribute(amount, "Ccy", transfer.Currency);

  AddClearingSystemMember(AppendElement(transaction, "CdtrAgt"), transfer.CreditorAgentMemberId);

  xmlNode *creditor = AppendElement(transaction, "Cdtr");
  AppendElement(creditor, "Nm", transfer.CreditorName);
  xmlNode *address = AppendElement(creditor, "PstlAdr");
  AddOptional(address, "StrtNm", transfer.CreditorAddress.StrtNm);
  AddOptional(address, "BldgNb", transfer.CreditorAddress.BldgNb);
  AddOptional(address, "PstCd", transfer.CreditorAddress.PstCd);
  AddOptional(address, "TwnNm", transfer.CreditorAddress.TwnNm);
  AppendElement(address, "Ctry", transfer.CreditorCountry);

  AddAccount(transaction, "CdtrAcct", transfer.CreditorIBAN);
  return transaction;
}
