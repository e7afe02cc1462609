#pragma once

#include "app/commands/AppPaths.h"
#include "ksefapi/KsefInvoiceDownload.h"
#include "ksefapi/KsefProgress.h"
#include "ksefapi/KsefSession.h"

#include <QDate>
#include <QDateTime>
#include <QStringList>
#include <functional>
#include <optional>

// What the user asked for: the range of the invoices' storage dates in KSeF.
struct TKsefDownloadRequest {
  // Empty: where the last download stopped, or, the first time, the first day of the
  // previous month.
  std::optional<QDate> From;
  // Empty: as far as KSeF has stored them for good.
  std::optional<QDate> To;
  // Stands for settings.ini's [KSeF] Srodowisko= in this download; empty for the settings'.
  QString Environment = {};
};

// What a download came to: made on any thread, shown on the host's.
struct TKsefDownloadOutcome {
  // Every invoice written or found already written, in the order KSeF gave them.
  QList<TKsefStoredInvoice> Invoices;
  // What KSeF or the package said along the way (a wait, a package without metadata).
  QStringList Notices;
  // Empty on success.
  QString Error;
  // The user ended the work: Error says so, and it is no failure.
  bool Cancelled = false;
  // KSeF took the login's secret; or, SecretRefused, it refused it (Error says so).
  bool LoggedIn = false;
  bool SecretRefused = false;
};

// Downloads the purchase invoices of the payer's NIP (settings.ini [COMPANY] NIP=) from the
// KSeF environment of settings.ini's [KSeF] into that environment's folder (KsefInvoiceFolder)
// of the data directory, and moves
// the remembered start (ksef-pobieranie.ini) past what was wholly stored. Touches no host, so
// that the window can run it off its thread. `login` holds the token or the certificate;
// `invoicesStored` is where the journal records each batch of invoices that reached the disk,
// false when it could not: the remembered start then stays before them, so that the next run
// takes them again (their files are already there) and records them.
TKsefDownloadOutcome
DownloadKsefInvoices(const TAppPaths &paths, const QDateTime &now, IKsefLogin &login,
                     const TKsefDownloadRequest &request, IProgress &progress, IKsefWaiter &waiter,
                     const std::function<bool(const QList<TKsefStoredInvoice> &)> &invoicesStored = {});

// The lines that tell the user what came in: one per new invoice (KSeF number, seller, number,
// gross amount), then a summary.
QStringList KsefDownloadLines(const TKsefDownloadOutcome &outcome);

// The payer's NIP, whose purchase invoices are downloaded; fails with a Polish sentence when
// settings.ini holds no valid one.
QString KsefPayerNip(const TAppPaths &paths);

// The environment whose invoices are real: the only one "Do zapłaty" pays from.
QString KsefProductionEnvironment();
// The folder of the invoices downloaded from `environment`, relative to the data directory:
// FAKTURY_KSEF for produkcyjne, FAKTURY_KSEF_testowe and FAKTURY_KSEF_demo for the others. The
// test environments are shared by every integrator, so anyone may issue invoices there to the
// payer's NIP: they must never lie among the real ones.
QString KsefInvoiceFolder(const QString &environment);
QString KsefInvoiceDirectory(const TAppPaths &paths, const QString &environment);
// The file of remembered starting points, the lock held while a download runs, and the file of
// the last export orders.
QString KsefStateFile(const TAppPaths &paths);
QString KsefLockFile(const TAppPaths &paths);
QString KsefExportLimitFile(const TAppPaths &paths);
