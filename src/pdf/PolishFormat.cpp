#include "pdf/PolishFormat.h"

#include <QRegularExpression>

namespace {

QString GroupsOfFour(const QString &text) {
  QString grouped;
  for (qsizetype i = 0; i < text.size(); i += 4)
    grouped += (grouped.isEmpty() ? QString() : QStringLiteral(" ")) + text.mid(i, 4);
  return grouped;
}

} // namespace

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
