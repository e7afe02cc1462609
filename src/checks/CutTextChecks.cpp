#include "checks/CutTextChecks.h"

namespace {

// What of `whole` the file lost: the tail that was cut off, or all of it when something else
// took its place.
QString LostPart(const QString &whole, const QString &written) {
  if (whole.isEmpty() || written == whole)
    return QString();
  return whole.startsWith(written) ? whole.mid(written.size()) : whole;
}

void CheckField(QList<TTransferFinding> &findings, int transfer, const TXmlElement &address, const char *element,
                const QString &field, int width, const QString &whole) {
  const QString lost = LostPart(whole, address.FirstChild(QString::fromLatin1(element)).TextContent());
  if (!lost.isEmpty())
    findings.append({transfer,
                     {},
                     QStringLiteral("%1 nie zmieściła się w polu %2 (%3): w pliku pominięto „%4”.")
                         .arg(field, QString::fromLatin1(element), CharacterCount(width), lost)});
}

} // namespace

QList<TTransferFinding> CutTextFindings(const TXmlDocument &written, const TPaymentList &payments) {
  QList<TTransferFinding> findings;
  const QList<TXmlElement> transactions = written.Root()
                                              .FirstChild(QStringLiteral("CstmrCdtTrfInitn"))
                                              .FirstChild(QStringLiteral("PmtInf"))
                                              .Children(QStringLiteral("CdtTrfTxInf"));
  for (int transfer = 0; transfer < int(transactions.size()) && transfer < int(payments.size()); ++transfer) {
    const TPayment &payment = payments[std::size_t(transfer)];
    const TXmlElement address =
        transactions[transfer].FirstChild(QStringLiteral("Cdtr")).FirstChild(QStringLiteral("PstlAdr"));
    CheckField(findings, transfer, address, "StrtNm", QStringLiteral("ulica odbiorcy"), 70, payment.CreditorStrtNm);
    CheckField(findings, transfer, address, "TwnNm", QStringLiteral("miejscowość odbiorcy"), 35, payment.CreditorTwnNm);
  }
  return findings;
}
