#include "app/commands/PayerDataCheck.h"

#include "checks/Identifiers.h"
#include "model/Text.h"

namespace {

enum class TFieldKind { Text, Nip, Iban, Bic };

QString ProblemOf(TFieldKind kind, const QString &value) {
  if (Trim(value).isEmpty())
    return QStringLiteral("pole jest puste");
  switch (kind) {
  case TFieldKind::Text: break;
  case TFieldKind::Nip:
    if (!IsValidNip(NipWithoutSeparators(value)))
      return QStringLiteral("to nie jest poprawny NIP: 10 cyfr, z których ostatnia jest cyfrą kontrolną");
    break;
  case TFieldKind::Iban:
    switch (AccountProblem(NormalisedIban(value))) {
    case TAccountProblem::None: break;
    case TAccountProblem::CheckDigits:
      return QStringLiteral("błędne cyfry kontrolne (ISO 7064, mod 97-10): to literówka albo cudzy rachunek");
    case TAccountProblem::NotIban: return QStringLiteral("to nie jest numer IBAN ani polski numer rachunku z 26 cyfr");
    }
    break;
  case TFieldKind::Bic:
    if (!IsBicForm(value))
      return QStringLiteral("to nie jest kod BIC (ISO 9362): 8 albo 11 wielkich liter i cyfr, w tym na miejscach 5 "
                            "i 6 litery kraju");
    break;
  }
  return QString();
}

TFieldCheck Check(const QString &caption, TFieldKind kind, const QString &value) {
  return {caption, ProblemOf(kind, value)};
}

} // namespace

QString NormalisedIban(const QString &iban) {
  QString normalised;
  normalised.reserve(iban.size());
  for (const QChar c : iban)
    if (!c.isSpace())
      normalised.append(c.toUpper());
  return normalised;
}

QList<TFieldCheck> CheckPayerData(const TCompanyData &payer) {
  return {Check(QStringLiteral("Nazwa Płatnika"), TFieldKind::Text, payer.Name),
          Check(QStringLiteral("NIP Płatnika"), TFieldKind::Nip, payer.NIP),
          Check(QStringLiteral("IBAN Płatnika"), TFieldKind::Iban, payer.IBAN),
          Check(QStringLiteral("BIC Płatnika"), TFieldKind::Bic, payer.BIC)};
}

QList<TFieldCheck> CheckBankRow(const TBankRow &row) {
  return {Check(QStringLiteral("Opis konta"), TFieldKind::Text, row.Opis),
          Check(QStringLiteral("IBAN konta"), TFieldKind::Iban, row.IBAN),
          Check(QStringLiteral("BIC konta"), TFieldKind::Bic, row.BIC),
          Check(QStringLiteral("NIP Płatnika"), TFieldKind::Nip, row.NIP),
          Check(QStringLiteral("Nazwa Płatnika"), TFieldKind::Text, row.Name)};
}

bool ConfirmSavingDespiteProblems(IDialogs &dialogs, const QList<TFieldCheck> &checks) {
  QString problems;
  for (const TFieldCheck &check : checks)
    if (!check.Problem.isEmpty())
      problems += check.Caption + QStringLiteral(": ") + check.Problem + u'\r';
  if (problems.isEmpty())
    return true;
  return dialogs.Confirm(QStringLiteral("Te dane wyglądają na błędne:\r\r") + problems +
                         QStringLiteral("\rZapisać mimo to?"));
}
