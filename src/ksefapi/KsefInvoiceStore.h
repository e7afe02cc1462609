#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

// The folder of invoices downloaded from KSeF: each one "<KSeF number>.xml", its bytes exactly
// as KSeF served them. Invoices are stored in batches: each new one is written to a hidden
// temporary beside its name (".faktura-XXXXXX.xml"), and Commit() brings the batch to the disk
// with one sync of the file system before each temporary takes its name. A file named by a
// KSeF number is therefore always whole, and a batch costs one sync, not one per invoice.
class TKsefInvoiceStore {
public:
  explicit TKsefInvoiceStore(QString directory);
  // Temporaries not committed are removed.
  ~TKsefInvoiceStore();
  TKsefInvoiceStore(const TKsefInvoiceStore &) = delete;
  TKsefInvoiceStore &operator=(const TKsefInvoiceStore &) = delete;

  // What Run of a download removes at its start: the temporaries of a run that was killed.
  static QStringList TemporaryPatterns();

  QString FileOf(const QString &ksefNumber) const;
  // True when the invoice is to be written (at the next Commit); false when the same bytes are
  // there already. The same number with other bytes fails with a sentence naming both, and
  // nothing is overwritten.
  bool Add(const QString &ksefNumber, const QByteArray &bytes);
  // Brings the invoices added since the last commit to the disk under their names.
  void Commit();

private:
  QString FDirectory;
  // The temporary of each invoice added, and its name.
  std::vector<std::pair<QString, QString>> FPending;
};
