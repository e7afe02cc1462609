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
// bounded before it is unpacked.
class TKsefPackage {
public:
  static constexpr qint64 MaxInvoiceSize = qint64(16) << 20;
  static constexpr qint64 MaxMetadataSize = qint64(64) << 20;

  // Reads the entries' names and the metadata; fails with one Polish sentence.
  explicit TKsefPackage(QString zipFile);

  // The KSeF numbers of the invoice entries, in the package's order.
  const QStringList &Numbers() const { return FNumbers; }
  // The metadata; nothing when _metadata.json is missing or unreadable.
  const std::optional<QList<TKsefInvoiceMetadata>> &Metadata() const { return FMetadata; }

  // Hands each invoice's bytes on in the package's order.
  void ForEachInvoice(const std::function<void(const QString &number, const QByteArray &bytes)> &take) const;

private:
  QString FZipFile;
  QStringList FNumbers;
  std::optional<QList<TKsefInvoiceMetadata>> FMetadata;
};
