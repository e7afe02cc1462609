#pragma once

#include "ksefapi/KsefAnswers.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// A decrypted, joined package of KSeF's export: a ZIP of "<KSeF number>.xml" files and
// "_metadata.json". Anything else (paths, "..", links, directories, a second entry of the same
// name) refuses the whole package before any invoice is handed on, and every entry's size is
// bounded before it is unpacked. The ZIP's directory is bounded before the ZIP library reads it
// (it keeps the whole directory in memory): the entries its end record declares, and the bytes
// it spans, by the invoices KSeF announced (at most its 10,000 a package) and _metadata.json.
class TKsefPackage {
public:
  static constexpr qint64 MaxInvoiceSize = qint64(16) << 20;
  static constexpr qint64 MaxMetadataSize = qint64(64) << 20;
  // KSeF's own limit of a package.
  static constexpr qint64 MaxInvoices = 10000;
  // A directory entry of a KSeF number's name takes under 100 bytes with its extra fields.
  static constexpr qint64 MaxDirectoryBytesPerEntry = 1024;

  // Reads the entries' names and the metadata of a package of `announcedInvoices`; fails with
  // one Polish sentence.
  TKsefPackage(QString zipFile, qint64 announcedInvoices);

  // The KSeF numbers of the invoice entries, in the package's order.
  const QStringList &Numbers() const { return FNumbers; }
  // The metadata; nothing when _metadata.json is missing or unreadable.
  const std::optional<QList<TKsefInvoiceMetadata>> &Metadata() const { return FMetadata; }

  // Hands each invoice's bytes on in the package's order.
  void ForEachInvoice(const std::function<void(const QString &number, const QByteArray &bytes)> &take) const;

private:
  QString FZipFile;
  // Invoices and _metadata.json.
  qint64 FMaxEntries = 0;
  QStringList FNumbers;
  std::optional<QList<TKsefInvoiceMetadata>> FMetadata;
};
