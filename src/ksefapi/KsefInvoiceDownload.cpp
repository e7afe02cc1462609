#include "ksefapi/KsefInvoiceDownload.h"

#include "ksefapi/KsefCalendar.h"
#include "ksefapi/KsefCrypto.h"
#include "ksefapi/KsefInvoiceStore.h"
#include "ksefapi/KsefMessages.h"
#include "ksefapi/KsefPackage.h"
#include "model/Exception.h"
#include "xml/XmlDocument.h"

#include <QDir>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <algorithm>

namespace {

constexpr int MaxExportPolls = 120;
// KSeF's 1 GB of invoices, with room for _metadata.json and the encryption's padding.
constexpr qint64 MaxPartsSize = (qint64(1) << 30) + (qint64(128) << 20);

QString IsoText(const QDateTime &moment) { return moment.toUTC().toString(Qt::ISODateWithMs); }

// KSeF keeps its moments to the microsecond: a next start cut to the millisecond would fall
// before invoices already taken and repeat them for ever, rounded up it would skip some.
QDateTime MomentOf(qint64 micros) { return QDateTime::fromMSecsSinceEpoch(micros / 1000, Qt::UTC); }

QString MicrosText(qint64 micros) {
  return MomentOf(micros).toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz")) +
         QStringLiteral("%1Z").arg(micros % 1000, 3, 10, QChar(u'0'));
}

qint64 MicrosOf(const QDateTime &moment) { return moment.toMSecsSinceEpoch() * 1000; }

// -1 when unreadable or before 1970.
qint64 ReadMicros(const QString &text) {
  static const QRegularExpression pattern(
      QStringLiteral("^(\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d)(?:\\.(\\d{1,9}))?(Z|[+-]\\d\\d:\\d\\d)$"));
  const QRegularExpressionMatch match = pattern.match(text);
  if (!match.hasMatch())
    return -1;
  const QDateTime seconds = QDateTime::fromString(match.captured(1) + match.captured(3), Qt::ISODate);
  if (!seconds.isValid() || seconds.toSecsSinceEpoch() < 0)
    return -1;
  const qint64 fraction = (match.captured(2) + QStringLiteral("000000")).left(6).toLongLong();
  return seconds.toSecsSinceEpoch() * 1000000 + fraction;
}

const QString LongerThanAnnounced = QStringLiteral("jest większa, niż zapowiedział KSeF");

Exception NotWritten(const QString &packageFile) {
  return Exception(QStringLiteral("Nie można zapisać paczki faktur z KSeF w pliku „%1” (czy na dysku jest miejsce?); "
                                  "nie zapisano z niej żadnej faktury.")
                       .arg(packageFile));
}

Exception PartFault(int ordinal, const QString &what) {
  return Exception(QStringLiteral("Część %1 paczki faktur z KSeF %2; z tej paczki nie zapisano żadnej faktury, "
                                  "spróbuj ponownie.")
                       .arg(ordinal)
                       .arg(what));
}

// KSeF's limit of export orders allows none before a moment too far off to wait for.
class TLimitReached : public Exception {
public:
  using Exception::Exception;
};

} // namespace

TKsefInvoiceDownload::TKsefInvoiceDownload(TKsefSession &session, QString invoiceDirectory, TKsefExportLimit limit)
    : FSession(session), FInvoiceDirectory(std::move(invoiceDirectory)), FLimit(std::move(limit)) {}

void TKsefInvoiceDownload::Run(const QDateTime &from, const std::optional<QDateTime> &to, const QDateTime &now,
                               const TKsefDownloadEvents &events) {
  // A package a killed run left behind: its invoices were never stored, nothing else reads it.
  const QDir invoiceDirectory(FInvoiceDirectory);
  for (const QString &stale :
       invoiceDirectory.entryList(QStringList{QStringLiteral(".paczka-*.zip")} + TKsefInvoiceStore::TemporaryPatterns(),
                                  QDir::Files | QDir::Hidden | QDir::System))
    QFile::remove(invoiceDirectory.filePath(stale));
  const QDateTime end = to ? std::min(*to, now) : now;
  qint64 start = MicrosOf(from);
  while (start < MicrosOf(end)) {
    // KSeF takes at most 3 months at once; the last window is left open up to its mark.
    const QDateTime windowEnd = MomentOf(start).addMonths(3);
    const std::optional<QDateTime> windowTo =
        windowEnd < end ? std::optional<QDateTime>(windowEnd) : (to ? std::optional<QDateTime>(end) : std::nullopt);
    for (;;) {
      std::pair<qint64, bool> exported;
      try {
        exported = ExportPackage(start, windowTo, events);
      } catch (const TLimitReached &reached) {
        // What this run stored stays; the rest is for a later one.
        if (FExports == 0)
          throw;
        FSession.Progress().Notice(reached.Message());
        return;
      }
      const auto [next, truncated] = exported;
      // Kept to the millisecond, cut: the next run may take again an invoice already stored.
      events.Checkpoint(MomentOf(next));
      if (!truncated) {
        // KSeF's mark short of the window: nothing later is stored for good yet.
        if (!windowTo || next < MicrosOf(*windowTo))
          return;
        start = MicrosOf(*windowTo);
        break;
      }
      if (next <= start)
        throw Exception(QStringLiteral("KSeF podał paczkę uciętą bez postępu; spróbuj ponownie później."));
      start = next;
    }
  }
}

std::pair<qint64, bool> TKsefInvoiceDownload::ExportPackage(qint64 fromMicros, const std::optional<QDateTime> &to,
                                                            const TKsefDownloadEvents &events) {
  const QByteArray key = RandomBytes(32);
  const QByteArray iv = RandomBytes(16);
  QJsonObject dateRange{{QStringLiteral("dateType"), QStringLiteral("PermanentStorage")},
                        {QStringLiteral("from"), MicrosText(fromMicros)},
                        {QStringLiteral("restrictToPermanentStorageHwmDate"), true}};
  if (to)
    dateRange.insert(QStringLiteral("to"), IsoText(*to));
  const QString reference = ReadExportReference(
      FSession.WithPublicKey(QStringLiteral("SymmetricKeyEncryption"), [&](const TKsefPublicKey &publicKey) {
        QJsonObject encryption{{QStringLiteral("encryptedSymmetricKey"),
                                QString::fromLatin1(RsaOaepEncrypt(publicKey.CertificateDer, key).toBase64())},
                               {QStringLiteral("initializationVector"), QString::fromLatin1(iv.toBase64())}};
        if (!publicKey.PublicKeyId.isEmpty())
          encryption.insert(QStringLiteral("publicKeyId"), publicKey.PublicKeyId);
        const QJsonObject request{
            {QStringLiteral("encryption"), encryption},
            {QStringLiteral("filters"), QJsonObject{{QStringLiteral("subjectType"), QStringLiteral("Subject2")},
                                                    {QStringLiteral("dateRange"), dateRange}}},
        };
        AwaitExportTurn();
        // Counted once made, whatever KSeF answered.
        QByteArray answer;
        try {
          answer = FSession.Call("POST", QStringLiteral("/invoices/exports"),
                                 QJsonDocument(request).toJson(QJsonDocument::Compact),
                                 QStringLiteral("zlecenie eksportu faktur"));
        } catch (...) {
          FLimit.Record(FSession.Waiter().Now());
          throw;
        }
        FLimit.Record(FSession.Waiter().Now());
        return answer;
      }));
  ++FExports;
  const TKsefExportStatus status = WaitForPackage(reference);
  if (!QDir().mkpath(FInvoiceDirectory))
    throw Exception(QStringLiteral("Nie można utworzyć katalogu „%1”.").arg(FInvoiceDirectory));
  // The pattern is the one Run clears of leftovers.
  QTemporaryFile package(QDir(FInvoiceDirectory).filePath(QStringLiteral(".paczka-XXXXXX.zip")));
  if (!package.open())
    throw Exception(QStringLiteral("Nie można utworzyć pliku tymczasowego w „%1”.").arg(FInvoiceDirectory));
  package.close();
  if (status.InvoiceCount > 0 || !status.Parts.isEmpty()) {
    DownloadParts(reference, status, key, iv, package.fileName());
    StorePackage(package.fileName(), status.InvoiceCount, events);
  }

  qint64 next = -1;
  if (status.Truncated)
    next = ReadMicros(status.LastPermanentStorageDate);
  else if (!status.PermanentStorageHwmDate.isEmpty())
    // KSeF's mark may lie past the end asked for; what lies between was not asked for.
    next = to ? std::min(ReadMicros(status.PermanentStorageHwmDate), MicrosOf(*to))
              : ReadMicros(status.PermanentStorageHwmDate);
  else
    next = to ? MicrosOf(*to) : fromMicros;
  if (next < 0)
    throw Exception(QStringLiteral("Odpowiedź KSeF na pytanie o stan eksportu faktur jest nieczytelna; spróbuj "
                                   "ponownie później."));
  return {next, status.Truncated};
}

void TKsefInvoiceDownload::AwaitExportTurn() {
  const qint64 seconds = FLimit.SecondsToWait(FSession.Waiter().Now());
  if (seconds > MaxLimitWaitSeconds) {
    // Told to the minute, rounded up: an order at that time keeps within the limit.
    const QDateTime allowed = FSession.Waiter().Now().addSecs(seconds + 59).toTimeZone(KsefTimeZone());
    throw TLimitReached(QStringLiteral("KSeF pozwala na %1 eksportów faktur na godzinę i ten limit jest już "
                                       "wyczerpany; dalsze faktury pobierz po %2.")
                            .arg(TKsefExportLimit::MaxPerHour)
                            .arg(allowed.toString(QStringLiteral("dd.MM.yyyy HH:mm"))));
  }
  if (seconds > 0) {
    FSession.Progress().Notice(QStringLiteral("KSeF ogranicza liczbę zapytań: ponowienie za %1 s").arg(seconds));
    FSession.Waiter().Wait(int(seconds), FSession.Progress());
  }
}

TKsefExportStatus TKsefInvoiceDownload::WaitForPackage(const QString &reference) {
  for (int attempt = 0;; ++attempt) {
    const TKsefExportStatus status = ReadExportStatus(FSession.Call(
        "GET", QStringLiteral("/invoices/exports/") + reference, {}, QStringLiteral("pytanie o stan eksportu faktur")));
    if (status.Status.Code == 200) {
      if (!status.HasPackage)
        throw Exception(QStringLiteral("Odpowiedź KSeF na pytanie o stan eksportu faktur jest nieczytelna; spróbuj "
                                       "ponownie później."));
      return status;
    }
    if (status.Status.Code != 100)
      throw Exception(ExportFailureMessage(status.Status));
    if (attempt == MaxExportPolls)
      throw Exception(
          QStringLiteral("KSeF nie przygotował paczki faktur w rozsądnym czasie; spróbuj ponownie później."));
    FSession.Waiter().Wait(PollWaitSeconds(attempt), FSession.Progress());
  }
}

void TKsefInvoiceDownload::DownloadParts(const QString &reference, TKsefExportStatus status, const QByteArray &key,
                                         const QByteArray &iv, const QString &packageFile) {
  std::sort(status.Parts.begin(), status.Parts.end(),
            [](const TKsefPackagePart &a, const TKsefPackagePart &b) { return a.OrdinalNumber < b.OrdinalNumber; });
  qint64 total = 0;
  qint64 plainTotal = 0;
  for (int i = 0; i < status.Parts.size(); ++i) {
    total += status.Parts[i].EncryptedSize;
    plainTotal += status.Parts[i].Size;
    if (status.Parts[i].OrdinalNumber != i + 1)
      throw Exception(QStringLiteral("Odpowiedź KSeF na pytanie o stan eksportu faktur jest nieczytelna; spróbuj "
                                     "ponownie później."));
  }
  // The parts are the package cut in pieces: a sum other than its size means one is missing.
  if (plainTotal != status.Size)
    throw Exception(QStringLiteral("KSeF zapowiedział paczkę faktur o rozmiarze %1 B, a jej części mają razem %2 B; "
                                   "niczego z niej nie pobrano, spróbuj ponownie później.")
                        .arg(status.Size)
                        .arg(plainTotal));
  if (total > MaxPartsSize)
    throw Exception(QStringLiteral("Paczka faktur z KSeF byłaby większa niż dopuszczalne %1 MB; niczego nie pobrano, "
                                   "spróbuj pobrać krótszy zakres dat.")
                        .arg(MaxPartsSize >> 20));
  QFile file(packageFile);
  // Unbuffered: a full disk is met at the write that fills it.
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
    throw Exception(QStringLiteral("Nie można zapisać pliku „%1”.").arg(packageFile));
  qint64 done = 0;
  for (int index = 0; index < status.Parts.size(); ++index) {
    TKsefPackagePart part = status.Parts[index];
    const qint64 partStart = file.pos();
    for (int attempt = 0;; ++attempt) {
      TSha256 encryptedHash;
      TSha256 plainHash;
      TAesCbcDecryptor decryptor(key, iv);
      qint64 received = 0;
      qint64 plainSize = 0;
      const auto write = [&](const QByteArray &plain) {
        plainHash.Add(plain);
        plainSize += plain.size();
        if (plainSize > part.Size)
          throw PartFault(part.OrdinalNumber, LongerThanAnnounced);
        if (file.write(plain) != plain.size())
          throw NotWritten(packageFile);
      };
      THttpsRequest request;
      request.Method = "GET";
      request.Url = part.Url;
      request.MaxAnswer = part.EncryptedSize;
      THttpsAnswer answer;
      try {
        answer = FSession.Fetch(request, [&](QByteArrayView bytes) {
          encryptedHash.Add(bytes);
          received += bytes.size();
          FSession.Progress().Report(done + received, total);
          write(decryptor.Add(bytes));
        });
      } catch (const THttpsFailure &failure) {
        if (failure.Kind() == THttpsFailure::TKind::TooLong)
          throw PartFault(part.OrdinalNumber, LongerThanAnnounced);
        if (failure.Kind() == THttpsFailure::TKind::TimedOut)
          throw PartFault(part.OrdinalNumber,
                          QStringLiteral("nie nadeszła w dopuszczalnym czasie (łącze jest zbyt wolne "
                                         "albo serwer przestał ją wysyłać)"));
        TKsefSession::Fail(failure, request.Url);
      }
      if ((answer.Status == 403 || answer.Status == 404 || answer.Status == 410) && attempt == 0) {
        // The part's address has expired: asking for the status again gives fresh ones.
        const TKsefExportStatus renewed = WaitForPackage(reference);
        const auto same = std::find_if(renewed.Parts.begin(), renewed.Parts.end(), [&](const TKsefPackagePart &p) {
          return p.OrdinalNumber == part.OrdinalNumber;
        });
        if (same == renewed.Parts.end())
          throw PartFault(part.OrdinalNumber, QStringLiteral("zniknęła z odpowiedzi KSeF"));
        part.Url = same->Url;
        file.resize(partStart);
        file.seek(partStart);
        continue;
      }
      if (answer.Status / 100 != 2)
        throw PartFault(part.OrdinalNumber, QStringLiteral("nie została wydana (HTTP %1)").arg(answer.Status));
      if (received != part.EncryptedSize || encryptedHash.Result() != part.EncryptedHash)
        throw PartFault(part.OrdinalNumber,
                        QStringLiteral("jest uszkodzona albo nie jest tym, co zapowiedział KSeF (nie zgadza się "
                                       "skrót zaszyfrowanej części)"));
      QByteArray last;
      if (!decryptor.Finish(last))
        throw PartFault(part.OrdinalNumber, QStringLiteral("nie daje się odszyfrować"));
      write(last);
      if (plainSize != part.Size || plainHash.Result() != part.Hash)
        throw PartFault(part.OrdinalNumber, QStringLiteral("po odszyfrowaniu ma inny skrót, niż zapowiedział KSeF"));
      done += received;
      break;
    }
  }
  if (!file.flush())
    throw NotWritten(packageFile);
}

void TKsefInvoiceDownload::StorePackage(const QString &packageFile, qint64 invoiceCount,
                                        const TKsefDownloadEvents &events) {
  const TKsefPackage package(packageFile, invoiceCount);
  QHash<QString, TKsefInvoiceMetadata> metadata;
  if (package.Metadata()) {
    for (const TKsefInvoiceMetadata &invoice : *package.Metadata())
      metadata.insert(invoice.KsefNumber, invoice);
    for (const QString &number : package.Numbers())
      if (!metadata.contains(number))
        throw Exception(QStringLiteral("Faktury %1 z paczki KSeF nie ma w jej pliku _metadata.json; z tej paczki nie "
                                       "zapisano żadnej faktury, spróbuj ponownie.")
                            .arg(number));
    const QSet<QString> numbers(package.Numbers().begin(), package.Numbers().end());
    for (const TKsefInvoiceMetadata &invoice : *package.Metadata())
      if (!numbers.contains(invoice.KsefNumber))
        throw Exception(QStringLiteral("Faktury %1 z pliku _metadata.json nie ma w paczce KSeF; z tej paczki nie "
                                       "zapisano żadnej faktury, spróbuj ponownie.")
                            .arg(invoice.KsefNumber));
  }
  if (package.Numbers().size() != invoiceCount)
    throw Exception(QStringLiteral("Paczka faktur z KSeF zawiera faktur: %1, a KSeF zapowiedział: %2; z tej paczki nie "
                                   "zapisano żadnej faktury, spróbuj ponownie.")
                        .arg(package.Numbers().size())
                        .arg(invoiceCount));
  if (!package.Metadata() && !package.Numbers().isEmpty())
    FSession.Progress().Notice(QStringLiteral("Paczka faktur z KSeF nie ma czytelnego pliku _metadata.json: faktury "
                                              "rozpoznano po nazwach plików, bez sprawdzenia ich skrótów."));
  TKsefInvoiceStore store(FInvoiceDirectory);
  QList<TKsefStoredInvoice> batch;
  const auto commit = [&] {
    store.Commit();
    if (!batch.isEmpty())
      events.InvoicesStored(batch);
    batch.clear();
  };
  try {
    package.ForEachInvoice([&](const QString &number, const QByteArray &bytes) {
      if (FTaken.contains(number))
        return;
      TKsefStoredInvoice invoice;
      invoice.Metadata = metadata.value(number);
      invoice.Metadata.KsefNumber = number;
      if (package.Metadata() && TSha256::Of(bytes) != invoice.Metadata.InvoiceHash)
        throw Exception(QStringLiteral("Faktura %1 z paczki KSeF ma inny skrót SHA-256, niż podaje _metadata.json; "
                                       "nie zapisano jej, spróbuj ponownie.")
                            .arg(number));
      // Read as any other input is, before it lies among the user's invoices.
      (void)ParseXml(bytes, number + QStringLiteral(".xml"));
      invoice.FileName = store.FileOf(number);
      invoice.New = store.Add(number, bytes);
      FTaken.insert(number);
      batch << invoice;
      if (batch.size() == StoreBatchSize)
        commit();
    });
  } catch (...) {
    // The invoices checked before the fault are kept.
    commit();
    throw;
  }
  commit();
}
