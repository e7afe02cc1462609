#include "journal/TransferTitles.h"

void TTransferTitles::Visit(const TXmlStreamElement &element) {
  if (element.EndsWith({"CdtTrfTxInf", "RmtInf", "Ustrd"})) {
    if (!FPlain)
      FPlain = element.Text();
  } else if (element.EndsWith({"RmtInf", "Strd", "TaxRmt", "RefNb"})) {
    if (!FReference)
      FReference = element.Text();
  } else if (element.EndsWith({"PmtInf", "CdtTrfTxInf"})) {
    FTitles.append(FPlain.value_or(FReference.value_or(QString())));
    FPlain.reset();
    FReference.reset();
  }
}
