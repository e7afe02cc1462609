#include "pdf/PolishFormat.h"

#include "model/Amount.h"

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

// The text without the ASCII blanks around it.
QStringView WithoutAsciiBlanks(QStringView text) {
  const auto blank = [](QChar c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); };
  while (!text.isEmpty() && blank(text.front()))
    text = text.sliced(1);
  while (!text.isEmpty() && blank(text.back()))
    text.chop(1);
  return text;
}

QString GroupsOfFour(const QString &text) {
  QString grouped;
  for (qsizetype i = 0; i < text.size(); i += 4)
    grouped += (grouped.isEmpty() ? QString() : QStringLiteral(" ")) + text.mid(i, 4);
  return grouped;
}

} // namespace

QString PolishNumber(const QString &decimal, int minDecimals) {
  const std::optional<TDecimalParts> parts = SplitDecimal(WithoutAsciiBlanks(decimal), u".,");
  if (!parts || parts->Integer.isEmpty())
    return decimal;
  QString integer = parts->Integer.toString();
  while (integer.size() > 1 && integer.startsWith(u'0'))
    integer.remove(0, 1);
  QString fraction = parts->Fraction.toString();
  if (fraction.size() < minDecimals)
    fraction += QString(minDecimals - fraction.size(), u'0');
  const QString sign = parts->Negative ? QStringLiteral("-") : QString();
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
