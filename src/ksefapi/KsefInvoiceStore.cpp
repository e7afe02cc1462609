#include "ksefapi/KsefInvoiceStore.h"

#include "ksefapi/KsefCrypto.h"
#include "model/AtomicFile.h"
#include "model/Exception.h"

#include <QDir>
#include <QFile>

TKsefInvoiceStore::TKsefInvoiceStore(QString directory) : FDirectory(std::move(directory)) {}

QString TKsefInvoiceStore::FileOf(const QString &ksefNumber) const {
  return QDir(FDirectory).filePath(ksefNumber + QStringLiteral(".xml"));
}

bool TKsefInvoiceStore::Store(const QString &ksefNumber, const QByteArray &bytes) const {
  const QString fileName = FileOf(ksefNumber);
  QFile existing(fileName);
  if (existing.exists()) {
    if (!existing.open(QIODevice::ReadOnly))
      throw Exception(QStringLiteral("Nie można odczytać pliku „%1”.").arg(fileName));
    const QByteArray existingHash = TSha256::Of(existing.readAll());
    const QByteArray newHash = TSha256::Of(bytes);
    if (existingHash == newHash)
      return false;
    throw Exception(QStringLiteral("Faktura %1 jest już zapisana w „%2” z inną treścią (SHA-256 %3), a KSeF podał ją "
                                   "z SHA-256 %4; niczego nie nadpisano, sprawdź, który plik jest właściwy.")
                        .arg(ksefNumber, fileName, QString::fromLatin1(existingHash.toBase64()),
                             QString::fromLatin1(newHash.toBase64())));
  }
  WriteFileAtomically(fileName, bytes);
  return true;
}
