#pragma once

#include "ksefapi/KsefAnswers.h"
#include "ksefapi/KsefExportLimit.h"
#include "ksefapi/KsefSession.h"

#include <QDateTime>
#include <QSet>
#include <QString>
#include <functional>
#include <optional>

// One invoice of a download, as written (or found already written) in the invoice folder.
struct TKsefStoredInvoice {
  // From _metadata.json; only KsefNumber is set when the package came without it.
  TKsefInvoiceMetadata Metadata;
  QString FileName;
  // False when the same bytes were there already.
  bool New = false;
};

// What the download tells as it goes. InvoicesStored is where the journal records a batch of
// invoices that reached the disk (up to StoreBatchSize, in the package's order); Checkpoint is
// where the starting point of the next download moves, called after each package whose every
// invoice was stored.
struct TKsefDownloadEvents {
  std::function<void(const QList<TKsefStoredInvoice> &invoices)> InvoicesStored;
  std::function<void(const QDateTime &start)> Checkpoint;
};

// Downloads the purchase invoices of the session's NIP (the business as buyer, Subject2) by
// KSeF's export of PermanentStorage dates: a range longer than KSeF's 3 months is split, a
// truncated package is continued from its last date, every part's hashes are checked before
// and after decrypting, every invoice's hash against _metadata.json, and numbers already taken
// in this run are skipped.
class TKsefInvoiceDownload {
public:
  // `invoiceDirectory`: the environment's invoice folder of the data directory; the package is
  // unpacked from a hidden temporary file there, removed whatever happens. `limit`: the export
  // orders made lately, the run's own added as they go.
  TKsefInvoiceDownload(TKsefSession &session, QString invoiceDirectory, TKsefExportLimit limit = {});

  // From `from` to `to` (to KSeF's high-water mark when empty). `now` bounds the windows.
  void Run(const QDateTime &from, const std::optional<QDateTime> &to, const QDateTime &now,
           const TKsefDownloadEvents &events);

  // The longest wait for KSeF's limit of exports; beyond it the download stops and says when
  // to go on.
  static constexpr int MaxLimitWaitSeconds = 300;
  // Invoices brought to the disk with one sync: a run killed midway loses at most these to
  // download again.
  static constexpr int StoreBatchSize = 1000;

private:
  // One export from `fromMicros` (microseconds since 1970, as KSeF keeps its moments); the
  // next start, and whether the package was cut short.
  std::pair<qint64, bool> ExportPackage(qint64 fromMicros, const std::optional<QDateTime> &to,
                                        const TKsefDownloadEvents &events);
  // Waits for the limit of export orders to allow one more.
  void AwaitExportTurn();
  TKsefExportStatus WaitForPackage(const QString &reference);
  void DownloadParts(const QString &reference, TKsefExportStatus status, const QByteArray &key, const QByteArray &iv,
                     const QString &packageFile);
  void StorePackage(const QString &packageFile, qint64 invoiceCount, const TKsefDownloadEvents &events);

  TKsefSession &FSession;
  QString FInvoiceDirectory;
  QSet<QString> FTaken;
  TKsefExportLimit FLimit;
  int FExports = 0;
};
