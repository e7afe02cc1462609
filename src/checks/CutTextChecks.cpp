#include "checks/CutTextChecks.h"

namespace {

// What of `whole` the file lost: the tail that was cut off, or all of it when something else
// took its place.
QString LostPart(const QString &whole, const QString &written) {
  if (whole.isEmpty() || written == whole)
    return QString();
  return whole.startsWith(written) ? whole.mid(written.size()) : whole;
}

} // namespace

void TCutTextCheck::Visit(const TXmlStreamElement &element) {
  if (element.EndsWith({"CdtTrfTxInf", "Cdtr", "PstlAdr", "StrtNm"}))
    FStreet = element.Text();
  else if (element.EndsWith({"CdtTrfTxInf", "Cdtr", "PstlAdr", "TwnNm"}))
    FTown = element.Text();
  else if (element.EndsWith({"PmtInf", "CdtTrfTxInf"})) {
    CheckTransfer(element.PositionOf("CdtTrfTxInf") - 1);
    FStreet.clear();
    FTown.clear();
  }
}

void TCutTextCheck::CheckTransfer(int transfer) {
  if (transfer >= int(FPayments.size()))
    return;
  const TPayment &payment = FPayments[std::size_t(transfer)];
  CheckField(transfer, "StrtNm", QStringLiteral("ulica odbiorcy"), 70, payment.CreditorStrtNm, FStreet);
  CheckField(transfer, "TwnNm", QStringLiteral("miejscowość odbiorcy"), 35, payment.CreditorTwnNm, FTown);
}

void TCutTextCheck::CheckField(int transfer, const char *name, const QString &field, int width, const QString &whole,
                               const QString &written) {
  const QString lost = LostPart(whole, written);
  if (!lost.isEmpty())
    FFindings.append({transfer,
                      {},
                      QStringLiteral("%1 nie zmieściła się w polu %2 (%3): w pliku pominięto „%4”.")
                          .arg(field, QString::fromLatin1(name), CharacterCount(width), lost)});
}
