#include "checks/SchemaFindings.h"

#include "checks/Pain001Paths.h"

#include <QHash>
#include <QSet>

namespace {

// The fields this program writes, by their path below CdtTrfTxInf or, outside a transaction,
// below CstmrCdtTrfInitn.
const QHash<QString, QString> &FieldNames() {
  static const QHash<QString, QString> names{
      {QStringLiteral("PmtId/EndToEndId"), QStringLiteral("identyfikator przelewu")},
      {QStringLiteral("Amt/InstdAmt"), QStringLiteral("kwota i waluta przelewu")},
      {Pain001Paths::PayeeBankCode, QStringLiteral("numer rozliczeniowy banku odbiorcy")},
      {QStringLiteral("Cdtr/Nm"), QStringLiteral("nazwa odbiorcy")},
      {QStringLiteral("Cdtr/PstlAdr/StrtNm"), QStringLiteral("ulica odbiorcy")},
      {QStringLiteral("Cdtr/PstlAdr/BldgNb"), QStringLiteral("numer budynku odbiorcy")},
      {QStringLiteral("Cdtr/PstlAdr/PstCd"), QStringLiteral("kod pocztowy odbiorcy")},
      {QStringLiteral("Cdtr/PstlAdr/TwnNm"), QStringLiteral("miejscowość odbiorcy")},
      {QStringLiteral("Cdtr/PstlAdr/Ctry"), QStringLiteral("kraj odbiorcy")},
      {Pain001Paths::PayeeAccount, QStringLiteral("rachunek odbiorcy")},
      {QStringLiteral("RmtInf/Ustrd"), QStringLiteral("tytuł przelewu")},
      {QStringLiteral("RmtInf/Strd/TaxRmt/Cdtr/TaxId"), QStringLiteral("NIP odbiorcy w bloku MPP")},
      {QStringLiteral("RmtInf/Strd/TaxRmt/RefNb"), QStringLiteral("numer referencyjny w bloku MPP")},
      {QStringLiteral("RmtInf/Strd/TaxRmt/TtlTaxAmt"), QStringLiteral("kwota VAT w bloku MPP")},
      {QStringLiteral("GrpHdr/InitgPty/Nm"), QStringLiteral("nazwa płatnika")},
      {Pain001Paths::PayerAccount, QStringLiteral("rachunek płatnika")},
      {Pain001Paths::PayerBankCode, QStringLiteral("numer rozliczeniowy banku płatnika")},
  };
  return names;
}

struct TLocation {
  int Transfer = TTransferFinding::NoTransfer;
  QString Element;
};

QString JoinedNames(const QList<TXmlStep> &steps) {
  QStringList names;
  for (const TXmlStep &step : steps)
    names.append(step.Name);
  return names.join(u'/');
}

// Inside a transaction, the transaction and the path below it; elsewhere the path below
// CstmrCdtTrfInitn, or the whole path in a document of another shape.
TLocation LocationOf(const QList<TXmlStep> &path) {
  for (qsizetype i = 0; i < path.size(); ++i)
    if (path[i].Name == QStringLiteral("CdtTrfTxInf"))
      return {path[i].Position - 1, JoinedNames(path.mid(i + 1))};
  for (qsizetype i = 0; i < path.size(); ++i)
    if (path[i].Name == QStringLiteral("CstmrCdtTrfInitn"))
      return {TTransferFinding::NoTransfer, JoinedNames(path.mid(i + 1))};
  return {TTransferFinding::NoTransfer, JoinedNames(path)};
}

QString FieldOf(const TLocation &location, const QList<TXmlStep> &path) {
  const QString name = FieldNames().value(location.Element);
  if (name.isEmpty())
    return QStringLiteral("pole %1").arg(location.Element.isEmpty() ? JoinedNames(path) : location.Element);
  return QStringLiteral("pole „%1” (%2)").arg(name, path.constLast().Name);
}

QString Problem(const TXmlViolation &violation) {
  switch (violation.Kind) {
  case TXmlViolationKind::TooShort:
    if (violation.Actual == QStringLiteral("0"))
      return QStringLiteral("jest puste, a format wymaga w nim tekstu");
    return QStringLiteral("ma %1, a format wymaga co najmniej %2")
        .arg(CharacterCount(violation.Actual.toLongLong()), CharacterCount(violation.Allowed.toLongLong()));
  case TXmlViolationKind::TooLong:
    return QStringLiteral("ma %1, a format pozwala na %2: bank odrzuci plik albo utnie „%3”")
        .arg(CharacterCount(violation.Actual.toLongLong()), CharacterCount(violation.Allowed.toLongLong()),
             violation.Content.mid(violation.Allowed.toLongLong()));
  case TXmlViolationKind::Pattern: return QStringLiteral("ma niedozwoloną postać „%1”").arg(violation.Actual);
  case TXmlViolationKind::Other: break;
  }
  return QStringLiteral("nie spełnia schematu pain.001.001.09 (%1)").arg(violation.Text);
}

} // namespace

QList<TTransferFinding> SchemaFindings(const QList<TXmlViolation> &violations) {
  QList<TTransferFinding> findings;
  // The validator may report one element more than once (a facet, then its type); the first
  // report says what is wrong.
  QSet<QString> reported;
  for (const TXmlViolation &violation : violations) {
    const TLocation location = LocationOf(violation.Path);
    const QString key = QString::number(location.Transfer) + u'/' + location.Element;
    if (reported.contains(key))
      continue;
    reported.insert(key);
    const QString field = violation.Path.isEmpty() ? QStringLiteral("plik") : FieldOf(location, violation.Path);
    findings.append({location.Transfer, {location.Element}, field + u' ' + Problem(violation) + u'.'});
  }
  return findings;
}
