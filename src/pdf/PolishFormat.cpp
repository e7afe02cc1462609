#include "pdf/PolishFormat.h"

#include <QRegularExpression>

namespace {

QString GroupedThousands(const QString &digits) {
  QString grouped;
  for (qsizetype i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0)
      grouped += u' ';
    grouped += digits[i];
  }
  return grouped;
}

QString GroupsOfFour(const QString &text) {
  QString grouped;
  for (qsizetype i = 0; i < text.size(); i += 4)
    grouped += (grouped.isEmpty() ? QString() : QStringLiteral(" ")) + text.mid(i, 4);
  return grouped;
}

} // namespace

QString PolishNumber(const QString &decimal, int minDecimals) {
  static const QRegularExpression number(QStringLiteral(R"(^\s*([+-]?)(\d+)(?:[.,](\d*))?\s*$)"));
  const QRegularExpressionMatch match = number.match(decimal);
  if (!match.hasMatch())
    return decimal;
  QString integer = match.captured(2);
  while (integer.size() > 1 && integer.startsWith(u'0'))
    integer.remove(0, 1);
  QString fraction = match.captured(3);
  if (fraction.size() < minDecimals)
    fraction += QString(minDecimals - fraction.size(), u'0');
  const QString sign = match.captured(1) == QStringLiteral("-") ? QStringLiteral("-") : QString();
  return sign + GroupedThousands(integer) + (fraction.isEmpty() ? QString() : u',' + fraction);
}

QString PolishDate(const QString &isoDate) {
  static const QRegularExpression date(QStringLiteral(R"(^\s*(\d{4})-(\d{2})-(\d{2})(?:$|[T\s]))"));
  const QRegularExpressionMatch match = date.match(isoDate);
  if (!match.hasMatch())
    return isoDate;
  return match.captured(3) + u'.' + match.captured(2) + u'.' + match.captured(1);
}

QString GroupedAccount(const QString &account) {
  static const QRegularExpression domestic(QStringLiteral(R"(^\d{26}$)"));
  static const QRegularExpression iban(QStringLiteral(R"(^[A-Z]{2}\d{2}[0-9A-Z]{8,30}$)"));
  if (domestic.match(account).hasMatch())
    return account.left(2) + u' ' + GroupsOfFour(account.mid(2));
  if (iban.match(account).hasMatch())
    return GroupsOfFour(account);
  return account;
}
