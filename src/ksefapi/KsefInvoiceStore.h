#pragma once

#include <QByteArray>
#include <QString>

// The folder of invoices downloaded from KSeF: each one "<KSeF number>.xml", its bytes exactly
// as KSeF served them, written atomically.
class TKsefInvoiceStore {
public:
  explicit TKsefInvoiceStore(QString directory);

  QString FileOf(const QString &ksefNumber) const;
  // True when the invoice was written; false when the same bytes are there already. The same
  // number with other bytes fails with a sentence naming both, and nothing is overwritten.
  bool Store(const QString &ksefNumber, const QByteArray &bytes) const;

private:
  QString FDirectory;
};
