#pragma once

#include "app/commands/AppPaths.h"
#include "app/commands/KsefDownload.h"
#include "journal/JournalRecords.h"
#include "app/commands/JournalPlace.h"
#include "ksefapi/KsefInvoiceDownload.h"

#include <QDateTime>
#include <QString>
#include <memory>

// The journal's part in a download from KSeF: each batch of invoices stored in the environment's
// folder is recorded as it comes (DownloadKsefInvoices' invoicesStored), in one transaction,
// each invoice once per environment. A journal that cannot
// be opened or written never stops the download: the invoices stay written, and Warning() says
// that they were not recorded, with the reason.
class TKsefInvoiceJournal {
public:
  TKsefInvoiceJournal(const TAppPaths &paths, QString environment, QDateTime downloadedAt,
                      int busyTimeoutMs = TPaymentJournal::DefaultBusyTimeoutMs);
  ~TKsefInvoiceJournal();
  TKsefInvoiceJournal(const TKsefInvoiceJournal &) = delete;
  TKsefInvoiceJournal &operator=(const TKsefInvoiceJournal &) = delete;

  // False when the invoices are not in the journal (this failure or an earlier one).
  bool Record(const QList<TKsefStoredInvoice> &invoices);
  // The one sentence for a journal that failed; empty while every invoice was recorded.
  QString Warning() const;

private:
  TAppPaths FPaths;
  QString FEnvironment;
  QDateTime FDownloadedAt;
  int FBusyTimeoutMs;
  std::unique_ptr<IPaymentJournal> FJournal;
  QString FFailure;
};

// The invoice as the journal keeps it: the amount read exactly from KSeF's text, the file's
// SHA-256 (KSeF's own, checked, or the file's when the package came without its metadata) and
// its path relative to the data directory.
TKsefInvoiceRecord KsefInvoiceRecord(const TAppPaths &paths, const TKsefStoredInvoice &invoice,
                                     const QString &environment, const QDateTime &downloadedAt);

// A download whose invoices are recorded in the journal as they come (the window's "Pobierz"):
// a journal that failed is one more notice of the outcome, "Uwaga: " and the reason.
TKsefDownloadOutcome DownloadAndRecordKsefInvoices(const TAppPaths &paths, const QDateTime &now, IKsefLogin &login,
                                                   const TKsefDownloadRequest &request, IProgress &progress,
                                                   IKsefWaiter &waiter);
