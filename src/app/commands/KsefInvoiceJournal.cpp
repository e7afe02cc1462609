#include "app/commands/KsefInvoiceJournal.h"

#include "app/commands/TransferJournal.h"
#include "model/Exception.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

namespace {

// KSeF writes amounts as JSON numbers ("1230.5"); anything else (an exponent) is no amount.
std::optional<TAmount> AmountOfKsefText(const QString &text) {
  if (text.isEmpty() || text.contains(u','))
    return std::nullopt;
  try {
    return TAmount::ParsePolish(QString(text).replace(u'.', u','));
  } catch (const Exception &) {
    return std::nullopt;
  }
}

QByteArray FileSha256(const QString &fileName) {
  QFile file(fileName);
  QCryptographicHash hash(QCryptographicHash::Sha256);
  if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
    throw Exception(QStringLiteral("Nie można odczytać pliku „%1”.").arg(fileName));
  return hash.result();
}

} // namespace

TKsefInvoiceRecord KsefInvoiceRecord(const TAppPaths &paths, const TKsefStoredInvoice &invoice,
                                     const QString &environment, const QDateTime &downloadedAt) {
  const TKsefInvoiceMetadata &data = invoice.Metadata;
  TKsefInvoiceRecord record;
  record.Environment = environment;
  record.KsefNumber = data.KsefNumber;
  record.SellerNIP = data.SellerNip;
  record.SellerName = data.SellerName;
  record.InvoiceNumber = data.InvoiceNumber;
  record.IssueDate = data.IssueDate;
  record.GrossAmount = AmountOfKsefText(data.GrossAmount);
  record.Currency = data.Currency;
  record.Sha256 =
      QString::fromLatin1((data.InvoiceHash.isEmpty() ? FileSha256(invoice.FileName) : data.InvoiceHash).toHex());
  record.FilePath = QDir(paths.AppDir).relativeFilePath(invoice.FileName);
  record.DownloadedAt = downloadedAt;
  return record;
}

TKsefInvoiceJournal::TKsefInvoiceJournal(const TAppPaths &paths, QString environment, QDateTime downloadedAt,
                                         int busyTimeoutMs)
    : FPaths(paths), FEnvironment(std::move(environment)), FDownloadedAt(std::move(downloadedAt)),
      FBusyTimeoutMs(busyTimeoutMs) {}

TKsefInvoiceJournal::~TKsefInvoiceJournal() = default;

bool TKsefInvoiceJournal::Record(const QList<TKsefStoredInvoice> &invoices) {
  // After the first failure the rest is not tried: one reason, one warning.
  if (!FFailure.isEmpty())
    return false;
  try {
    if (!FJournal)
      FJournal = TJournalPlace::Of(FPaths).Open(FBusyTimeoutMs);
    // One transaction, one sync of the journal, for the whole batch.
    FJournal->Exclusively([&] {
      for (const TKsefStoredInvoice &invoice : invoices)
        FJournal->RecordKsefInvoice(KsefInvoiceRecord(FPaths, invoice, FEnvironment, FDownloadedAt));
    });
    return true;
  } catch (const std::exception &error) {
    FFailure = ErrorMessage(error);
    FJournal.reset();
    return false;
  }
}

QString TKsefInvoiceJournal::Warning() const {
  if (FFailure.isEmpty())
    return {};
  return QStringLiteral("Pobranych faktur nie zapisano w historii (%1): %2; pliki faktur są w %3.")
      .arg(TJournalPlace::Of(FPaths).Name(), FFailure, KsefInvoiceFolder(FEnvironment));
}

TKsefDownloadOutcome DownloadAndRecordKsefInvoices(const TAppPaths &paths, const QDateTime &now, IKsefLogin &login,
                                                   const TKsefDownloadRequest &request, IProgress &progress,
                                                   IKsefWaiter &waiter) {
  QString environment;
  try {
    environment = KsefConnectionFromSettings(paths.SettingsFile(), request.Environment).Environment;
  } catch (const Exception &) {
    // The download says what is wrong with the settings; nothing comes in to be recorded.
    return DownloadKsefInvoices(paths, now, login, request, progress, waiter);
  }
  TKsefInvoiceJournal journal(paths, environment, now);
  TKsefDownloadOutcome outcome =
      DownloadKsefInvoices(paths, now, login, request, progress, waiter,
                           [&](const QList<TKsefStoredInvoice> &invoices) { return journal.Record(invoices); });
  if (const QString warning = journal.Warning(); !warning.isEmpty())
    outcome.Notices.append(QStringLiteral("Uwaga: ") + warning);
  return outcome;
}
