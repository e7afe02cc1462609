#include "app/commands/KsefDownload.h"

#include "checks/Identifiers.h"
#include "ksefapi/KsefCalendar.h"
#include "ksefapi/KsefConnection.h"
#include "ksefapi/KsefDownloadState.h"
#include "model/Exception.h"
#include "settings/Settings.h"

#include <QLockFile>
#include <QScopeGuard>

namespace {

// Relays the byte counts and the cancellation of the host's progress, and keeps the notices.
class TRelayedProgress : public IKsefProgress {
public:
  TRelayedProgress(IProgress &progress, QStringList &notices) : FProgress(progress), FNotices(notices) {}
  void Report(qint64 done, qint64 total) override { FProgress.Report(done, total); }
  bool Cancelled() const override { return FProgress.Cancelled(); }
  void Notice(const QString &text) override { FNotices << text; }

private:
  IProgress &FProgress;
  QStringList &FNotices;
};

// One download at a time per data directory: each clears the package files another left, and
// both would move the same remembered start. The lock of a process that died is taken over;
// a live one is never taken however long it has run.
void LockDownload(QLockFile &lock) {
  lock.setStaleLockTime(0);
  if (lock.tryLock(0))
    return;
  if (lock.error() == QLockFile::LockFailedError)
    throw Exception(QStringLiteral("Faktury z KSeF pobiera już inne okno albo inne uruchomienie programu z tym samym "
                                   "katalogiem danych; poczekaj, aż skończy, i spróbuj ponownie."));
  throw Exception(QStringLiteral("Nie można utworzyć pliku blokady „%1”.").arg(lock.fileName()));
}

} // namespace

QString KsefPayerNip(const TAppPaths &paths) {
  const QString nip = NipWithoutSeparators(TSettings::LoadCompany(paths.SettingsFile()).NIP);
  if (!IsValidNip(nip))
    throw Exception(QStringLiteral("Brak poprawnego NIP płatnika w %1 ([COMPANY] NIP=): faktury zakupu pobiera się z "
                                   "KSeF dla NIP płatnika; uzupełnij dane Płatnika na stronie „Funkcje techniczne”.")
                        .arg(paths.SettingsFile()));
  return nip;
}

QString KsefProductionEnvironment() { return QStringLiteral("produkcyjne"); }

QString KsefInvoiceFolder(const QString &environment) {
  const QString folder = QStringLiteral("FAKTURY_KSEF");
  return environment == KsefProductionEnvironment() ? folder : folder + u'_' + environment;
}

QString KsefInvoiceDirectory(const TAppPaths &paths, const QString &environment) {
  return paths.AppFilePath(KsefInvoiceFolder(environment));
}

QString KsefStateFile(const TAppPaths &paths) { return paths.AppFilePath(QStringLiteral("ksef-pobieranie.ini")); }

QString KsefLockFile(const TAppPaths &paths) { return paths.AppFilePath(QStringLiteral("ksef-pobieranie.lock")); }
QString KsefExportLimitFile(const TAppPaths &paths) { return paths.AppFilePath(QStringLiteral("ksef-eksporty.ini")); }

TKsefDownloadOutcome
DownloadKsefInvoices(const TAppPaths &paths, const QDateTime &now, IKsefLogin &login,
                     const TKsefDownloadRequest &request, IProgress &progress, IKsefWaiter &waiter,
                     const std::function<bool(const QList<TKsefStoredInvoice> &)> &invoicesStored) {
  TKsefDownloadOutcome outcome;
  TRelayedProgress relayed(progress, outcome.Notices);
  try {
    const QString nip = KsefPayerNip(paths);
    QLockFile lock(KsefLockFile(paths));
    LockDownload(lock);
    const TKsefConnection connection = KsefConnectionFromSettings(paths.SettingsFile(), request.Environment);
    const TKsefDownloadState state(KsefStateFile(paths));
    const std::optional<QDateTime> remembered = state.Start(connection.Environment, nip);
    const QDateTime from = request.From ? KsefDayStart(*request.From)
                           : remembered ? *remembered
                                        : KsefDayStart(KsefDefaultFirstDay(now));
    const std::optional<QDateTime> to =
        request.To ? std::optional<QDateTime>(KsefDayStart(request.To->addDays(1))) : std::nullopt;
    if (to && *to <= from)
      throw Exception(QStringLiteral("Data końcowa jest wcześniejsza niż początkowa."));
    // The remembered start moves only when this run joins on to what was stored before.
    const bool joinsOn = !remembered || from <= *remembered;

    TKsefSession session(connection, login, nip, waiter, relayed);
    // However the work ends: a secret is remembered only once KSeF has taken it.
    const auto noteLogin = qScopeGuard([&] { outcome.LoggedIn = session.LoggedIn(); });
    TKsefInvoiceDownload download(session, KsefInvoiceDirectory(paths, connection.Environment),
                                  TKsefExportLimit(KsefExportLimitFile(paths), connection.Environment, nip));
    // An invoice the journal did not take keeps the start where it is, for the next run.
    bool allRecorded = true;
    TKsefDownloadEvents events;
    events.InvoicesStored = [&](const QList<TKsefStoredInvoice> &invoices) {
      outcome.Invoices << invoices;
      if (invoicesStored && !invoicesStored(invoices))
        allRecorded = false;
    };
    events.Checkpoint = [&](const QDateTime &start) {
      if (joinsOn && allRecorded && (!remembered || start > *remembered))
        state.SetStart(connection.Environment, nip, start);
    };
    try {
      download.Run(from, to, now, events);
    } catch (const TCancelled &) {
      throw;
    } catch (const std::exception &) {
      // A session that failed midway is ended too, rather than left open until it expires.
      session.LogOut();
      throw;
    }
    session.LogOut();
  } catch (const TCancelled &cancelled) {
    outcome.Error = cancelled.Message();
    outcome.Cancelled = true;
  } catch (const TKsefSecretRefused &refused) {
    outcome.Error = refused.Message();
    outcome.SecretRefused = true;
  } catch (const std::exception &error) {
    outcome.Error = ErrorMessage(error);
  }
  return outcome;
}

QStringList KsefDownloadLines(const TKsefDownloadOutcome &outcome) {
  QStringList lines;
  int fresh = 0;
  for (const TKsefStoredInvoice &invoice : outcome.Invoices) {
    if (!invoice.New)
      continue;
    ++fresh;
    const TKsefInvoiceMetadata &data = invoice.Metadata;
    lines << QStringLiteral("%1  %2  %3  %4 %5")
                 .arg(data.KsefNumber, data.SellerName.isEmpty() ? data.SellerNip : data.SellerName, data.InvoiceNumber,
                      data.GrossAmount, data.Currency)
                 .trimmed();
  }
  const qsizetype known = outcome.Invoices.size() - fresh;
  lines << (fresh == 0 ? QStringLiteral("Brak nowych faktur zakupu w KSeF.")
                       : QStringLiteral("Pobrano z KSeF nowych faktur zakupu: %1.").arg(fresh));
  if (known > 0)
    lines.last() += QStringLiteral(" Już zapisanych wcześniej: %1.").arg(known);
  return lines;
}
