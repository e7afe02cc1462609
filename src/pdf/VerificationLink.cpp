#include "pdf/VerificationLink.h"

#include "model/Exception.h"

#include <QCryptographicHash>
#include <QDate>

QString VerificationLink(const QString &base, const QString &sellerNip, const QString &issueDate,
                         const QByteArray &invoiceFile) {
  if (sellerNip.isEmpty())
    throw Exception(QStringLiteral("Faktura nie zawiera numeru NIP sprzedawcy potrzebnego do kodu weryfikującego."));
  const QDate date = QDate::fromString(issueDate.left(10), Qt::ISODate);
  if (!date.isValid())
    throw Exception(QStringLiteral("Data wystawienia faktury (P_1) \"%1\" nie jest poprawną datą.").arg(issueDate));
  const QByteArray hash = QCryptographicHash::hash(invoiceFile, QCryptographicHash::Sha256)
                              .toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals);
  return base + sellerNip + u'/' + date.toString(QStringLiteral("dd-MM-yyyy")) + u'/' + QString::fromLatin1(hash);
}
