#include "model/KsefNumberForm.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace {

const QString CurrentForm = QStringLiteral(R"(\d{10}-\d{8}-[0-9A-F]{12}-[0-9A-F]{2})");
const QString FirstVersionForm = QStringLiteral(R"(\d{10}-\d{8}-[0-9A-F]{6}-[0-9A-F]{6}-[0-9A-F]{2})");

quint8 Crc8(const QByteArray &bytes) {
  quint8 crc = 0;
  for (const char byte : bytes) {
    crc ^= static_cast<quint8>(byte);
    for (int bit = 0; bit < 8; ++bit)
      crc = (crc & 0x80) ? static_cast<quint8>((crc << 1) ^ 0x07) : static_cast<quint8>(crc << 1);
  }
  return crc;
}

bool HasValidCheck(const QString &number) {
  const QString check = QStringLiteral("%1").arg(Crc8(number.left(32).toLatin1()), 2, 16, QLatin1Char('0')).toUpper();
  return number.right(2) == check;
}

} // namespace

bool IsKsefNumber(const QString &text) {
  static const QRegularExpression current(QRegularExpression::anchoredPattern(CurrentForm));
  static const QRegularExpression firstVersion(QRegularExpression::anchoredPattern(FirstVersionForm));
  if (current.match(text).hasMatch())
    return HasValidCheck(text);
  return firstVersion.match(text).hasMatch();
}

QString KsefNumberInFileName(const QString &fileName) {
  static const QRegularExpression candidate(
      QStringLiteral("(?<![0-9A-Za-z])(?:%1|%2)(?![0-9A-Za-z])").arg(CurrentForm, FirstVersionForm));
  auto matches = candidate.globalMatch(QFileInfo(fileName).fileName());
  while (matches.hasNext()) {
    const QString found = matches.next().captured();
    if (IsKsefNumber(found))
      return found;
  }
  return QString();
}
