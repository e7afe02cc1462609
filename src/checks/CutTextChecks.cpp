#include "checks/CutTextChecks.h"

#include "iso20022/Pain001Limits.h"

namespace {

const QString StreetField = QStringLiteral("ulica odbiorcy");
const QString TownField = QStringLiteral("miejscowość odbiorcy");

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
  if (HoldsTheTownInTheStreetField(payment)) {
    ReportTheTownInTheStreetField(transfer, payment);
    return;
  }
  CheckField(transfer, "StrtNm", StreetField, TPain001Limits::StrtNm, payment.CreditorStrtNm, FStreet);
  CheckField(transfer, "TwnNm", TownField, TPain001Limits::TwnNm, payment.CreditorTwnNm, FTown);
}

// The single invoice's way with a town too long for its field: the street field carries the
// town, as much of it as fits, in place of the street, and the town field its beginning.
bool TCutTextCheck::HoldsTheTownInTheStreetField(const TPayment &payment) const {
  const QString &town = payment.CreditorTwnNm;
  return town.size() > TPain001Limits::TwnNm && FTown == town.left(TPain001Limits::TwnNm) &&
         FStreet == town.left(TPain001Limits::StrtNm) && FStreet != payment.CreditorStrtNm.left(TPain001Limits::StrtNm);
}

void TCutTextCheck::ReportTheTownInTheStreetField(int transfer, const TPayment &payment) {
  if (!payment.CreditorStrtNm.isEmpty())
    FFindings.append({transfer,
                      {},
                      QStringLiteral("ulicy odbiorcy „%1” nie ma w pliku: pole StrtNm zajmuje miejscowość odbiorcy, "
                                     "za długa na pole TwnNm.")
                          .arg(payment.CreditorStrtNm)});
  const QString lost = LostPart(payment.CreditorTwnNm, FStreet);
  FFindings.append(
      {transfer,
       {},
       lost.isEmpty()
           ? QStringLiteral("%1 nie zmieściła się w polu TwnNm (%2): w pliku jest cała w polu StrtNm, a w polu TwnNm "
                            "jej początek.")
                 .arg(TownField, CharacterCount(TPain001Limits::TwnNm))
           : QStringLiteral("%1 nie zmieściła się w polu TwnNm (%2) ani w polu StrtNm (%3), do którego ją "
                            "przeniesiono: w pliku pominięto „%4”.")
                 .arg(TownField, CharacterCount(TPain001Limits::TwnNm), CharacterCount(TPain001Limits::StrtNm), lost)});
}

void TCutTextCheck::CheckField(int transfer, const char *name, const QString &field, qsizetype width,
                               const QString &whole, const QString &written) {
  const QString lost = LostPart(whole, written);
  if (!lost.isEmpty())
    FFindings.append({transfer,
                      {},
                      QStringLiteral("%1 nie zmieściła się w polu %2 (%3): w pliku pominięto „%4”.")
                          .arg(field, QString::fromLatin1(name), CharacterCount(width), lost)});
}
