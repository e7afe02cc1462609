#include "journal/JournalKeys.h"

#include "model/Text.h"

#include <QCryptographicHash>
#include <QtEndian>

namespace {

const QString DateTimeFormat = QStringLiteral("yyyy-MM-ddTHH:mm:ss");

QString Comparable(const QString &text) { return Trim(text).toCaseFolded(); }

} // namespace

std::optional<QString> MatchKey(const TJournalPayment &payment) {
  if (payment.VideoTel)
    return QStringLiteral("V\n%1\n%2\n%3")
        .arg(Comparable(payment.PayeeIBAN).remove(u' '), QString::number(payment.Amount.Units()),
             Comparable(payment.InvoiceNumber));
  const QString nip = Comparable(payment.PayeeNIP);
  const QString number = Comparable(payment.InvoiceNumber);
  if (nip.isEmpty() || number.isEmpty())
    return std::nullopt;
  return QStringLiteral("F\n%1\n%2").arg(nip, number);
}

std::optional<QString> MatchingKsefNumber(const TJournalPayment &payment) {
  if (payment.KsefNumber && payment.KsefNumber->size() == 35)
    return payment.KsefNumber;
  return std::nullopt;
}

std::int64_t KeyHash(const QByteArray &utf8) {
  return qFromBigEndian<qint64>(QCryptographicHash::hash(utf8, QCryptographicHash::Sha256).constData());
}

std::optional<THashedKey> Hashed(const std::optional<QString> &key) {
  if (!key)
    return std::nullopt;
  return THashedKey{*key, KeyHash(key->toUtf8())};
}

std::optional<QString> InvoiceKey(const QString &ksefNumber, const QString &nip, const QString &invoiceNumber) {
  TJournalPayment payment;
  payment.KsefNumber = ksefNumber;
  if (const std::optional<QString> number = MatchingKsefNumber(payment))
    return QStringLiteral("K\n") + *number;
  payment.PayeeNIP = nip;
  payment.InvoiceNumber = invoiceNumber;
  return MatchKey(payment);
}

QString CommandName(TJournalCommand command) {
  switch (command) {
  case TJournalCommand::Single: return QStringLiteral("faktura");
  case TJournalCommand::Batch: return QStringLiteral("paczka");
  case TJournalCommand::VideoTel: return QStringLiteral("videotel");
  }
  return {};
}

QString StoredDateTime(const QDateTime &time) { return time.toString(DateTimeFormat); }

QDateTime ReadDateTime(const QString &text) { return QDateTime::fromString(text, DateTimeFormat); }
