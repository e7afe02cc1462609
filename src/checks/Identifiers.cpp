#include "checks/Identifiers.h"

#include <QRegularExpression>
#include <algorithm>

namespace {

bool IsDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// The IBAN with its first four characters moved to the end, letters read as 10 to 35, taken
// as one number modulo 97, digit by digit so that no number grows large.
int Mod97(const QString &iban) {
  const QString rearranged = iban.mid(4) + iban.left(4);
  int remainder = 0;
  for (const QChar c : rearranged) {
    if (IsDigit(c))
      remainder = (remainder * 10 + (c.unicode() - u'0')) % 97;
    else
      remainder = (remainder * 100 + (c.unicode() - u'A' + 10)) % 97;
  }
  return remainder;
}

} // namespace

TAccountProblem AccountProblem(const QString &account) {
  static const QRegularExpression polish(QRegularExpression::anchoredPattern(QStringLiteral("(?:PL)?([0-9]{26})")));
  static const QRegularExpression iban(
      QRegularExpression::anchoredPattern(QStringLiteral("[A-Z]{2}[0-9]{2}[A-Z0-9]{11,30}")));
  QString number = account;
  if (const QRegularExpressionMatch match = polish.match(account); match.hasMatch())
    number = QStringLiteral("PL") + match.captured(1);
  else if (account.startsWith(QStringLiteral("PL")) || !iban.match(account).hasMatch())
    return TAccountProblem::NotIban;
  return Mod97(number) == 1 ? TAccountProblem::None : TAccountProblem::CheckDigits;
}

bool IsValidNip(const QString &nip) {
  static constexpr int Weights[] = {6, 5, 7, 2, 3, 4, 5, 6, 7};
  if (nip.size() != 10 || !std::all_of(nip.begin(), nip.end(), IsDigit))
    return false;
  int sum = 0;
  for (int i = 0; i < 9; ++i)
    sum += Weights[i] * (nip[i].unicode() - u'0');
  const int check = sum % 11;
  return check != 10 && check == nip[9].unicode() - u'0';
}

QString NipWithoutSeparators(QString nip) { return nip.remove(u'-').remove(u' '); }

bool IsBicForm(const QString &bic) {
  static const QRegularExpression form(
      QRegularExpression::anchoredPattern(QStringLiteral("[A-Z0-9]{4}[A-Z]{2}[A-Z0-9]{2}(?:[A-Z0-9]{3})?")));
  return form.match(bic).hasMatch();
}
