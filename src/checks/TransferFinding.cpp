#include "checks/TransferFinding.h"

#include "model/PolishNumbers.h"

QString TransferName(const TPayment &payment) {
  if (payment.Kind == TPaymentKind::VideoTel)
    return QStringLiteral("Przelew „%1” dla %2").arg(payment.InvoiceNumber, payment.CreditorName);
  return QStringLiteral("Przelew za fakturę %1 dla %2").arg(payment.InvoiceNumber, payment.CreditorName);
}

QString CharacterCount(qsizetype count) {
  const qsizetype lastDigit = count % 10;
  const qsizetype lastTwo = count % 100;
  if (count == 1)
    return QStringLiteral("1 znak");
  if (lastDigit >= 2 && lastDigit <= 4 && (lastTwo < 12 || lastTwo > 14))
    return QStringLiteral("%1 znaki").arg(PolishInteger(count));
  return QStringLiteral("%1 znaków").arg(PolishInteger(count));
}
