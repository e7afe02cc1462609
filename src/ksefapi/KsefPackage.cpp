#include "ksefapi/KsefPackage.h"

#include "ksef/KsefNumber.h"
#include "ksefapi/ZipDirectoryEnd.h"
#include "model/Exception.h"

#include <QFile>
#include <QSet>
#include <archive.h>
#include <algorithm>
#include <archive_entry.h>
#include <memory>

namespace {

const QString MetadataName = QStringLiteral("_metadata.json");

struct TArchiveFree {
  void operator()(archive *reader) const { archive_read_free(reader); }
};
using TArchive = std::unique_ptr<archive, TArchiveFree>;

Exception Unreadable() {
  return Exception(QStringLiteral("Paczka faktur z KSeF nie jest czytelnym archiwum ZIP; nie zapisano z niej żadnej "
                                  "faktury."));
}

// An entry's name as the user may see it: printable, short.
QString Shown(const QString &name) {
  QString shown = name.left(80);
  for (QChar &c : shown)
    if (!c.isPrint())
      c = u'?';
  return shown;
}

TArchive Open(const QString &zipFile) {
  TArchive reader(archive_read_new());
  if (!reader)
    throw std::bad_alloc();
  archive_read_support_format_zip(reader.get());
  if (archive_read_open_filename(reader.get(), QFile::encodeName(zipFile).constData(), 1 << 16) != ARCHIVE_OK)
    throw Unreadable();
  return reader;
}

// The entry's data, refused when longer than `limit`.
QByteArray ReadData(archive *reader, const QString &name, qint64 limit) {
  QByteArray data;
  char buffer[1 << 16];
  for (;;) {
    const la_ssize_t count = archive_read_data(reader, buffer, sizeof buffer);
    if (count < 0)
      throw Unreadable();
    if (count == 0)
      return data;
    if (data.size() + count > limit)
      throw Exception(QStringLiteral("Wpis „%1” paczki faktur z KSeF jest większy niż dopuszczalne %2 MB; nie "
                                     "zapisano z niej żadnej faktury.")
                          .arg(Shown(name))
                          .arg(limit >> 20));
    data.append(buffer, count);
  }
}

// Each entry, its name checked, its announced size bounded; `take` reads or skips the data.
void ForEachEntry(const QString &zipFile,
                  const std::function<void(archive *reader, const QString &name, bool isMetadata)> &take) {
  const TArchive reader = Open(zipFile);
  archive_entry *entry = nullptr;
  for (;;) {
    const int result = archive_read_next_header(reader.get(), &entry);
    if (result == ARCHIVE_EOF)
      return;
    if (result != ARCHIVE_OK && result != ARCHIVE_WARN)
      throw Unreadable();
    const char *rawName = archive_entry_pathname(entry);
    const QString name = rawName ? QString::fromUtf8(rawName) : QString();
    const bool isMetadata = name == MetadataName;
    const bool isInvoice = name.endsWith(QStringLiteral(".xml")) && IsKsefNumber(name.chopped(4));
    if ((!isMetadata && !isInvoice) || archive_entry_filetype(entry) != AE_IFREG)
      throw Exception(QStringLiteral("Paczka faktur z KSeF zawiera niedozwolony wpis „%1”; nie zapisano z niej "
                                     "żadnej faktury.")
                          .arg(Shown(name)));
    const qint64 limit = isMetadata ? TKsefPackage::MaxMetadataSize : TKsefPackage::MaxInvoiceSize;
    if (archive_entry_size_is_set(entry) && archive_entry_size(entry) > limit)
      throw Exception(QStringLiteral("Wpis „%1” paczki faktur z KSeF jest większy niż dopuszczalne %2 MB; nie "
                                     "zapisano z niej żadnej faktury.")
                          .arg(Shown(name))
                          .arg(limit >> 20));
    take(reader.get(), name, isMetadata);
  }
}

// Refuses a package whose directory is larger than `maxEntries` entries may take, before the
// ZIP library reads it.
void CheckDirectoryEnd(const QString &zipFile, qint64 maxEntries) {
  const std::optional<TZipDirectoryEnd> end = ReadZipDirectoryEnd(zipFile);
  if (!end || end->DirectoryOffset > end->RecordPosition)
    throw Unreadable();
  if (end->Entries > quint64(maxEntries))
    throw Exception(QStringLiteral("Paczka faktur z KSeF zapowiada w spisie archiwum ZIP wpisów: %1, a może ich mieć "
                                   "najwyżej %2 (zapowiedziane faktury i _metadata.json); nie zapisano z niej żadnej "
                                   "faktury.")
                        .arg(end->Entries)
                        .arg(maxEntries));
  const quint64 maxBytes = quint64(maxEntries) * TKsefPackage::MaxDirectoryBytesPerEntry;
  if (end->DirectorySize > maxBytes || end->RecordPosition - end->DirectoryOffset > maxBytes)
    throw Exception(QStringLiteral("Spis archiwum ZIP paczki faktur z KSeF jest większy, niż mieści się w nim %1 "
                                   "wpisów (zapowiedziane faktury i _metadata.json); nie zapisano z niej żadnej "
                                   "faktury.")
                        .arg(maxEntries));
}

} // namespace

TKsefPackage::TKsefPackage(QString zipFile, qint64 announcedInvoices)
    : FZipFile(std::move(zipFile)), FMaxEntries(std::clamp<qint64>(announcedInvoices, 0, MaxInvoices) + 1) {
  CheckDirectoryEnd(FZipFile, FMaxEntries);
  QSet<QString> seen;
  std::optional<QByteArray> metadata;
  ForEachEntry(FZipFile, [&](archive *reader, const QString &name, bool isMetadata) {
    if (seen.size() >= FMaxEntries)
      throw Exception(QStringLiteral("Paczka faktur z KSeF ma więcej wpisów, niż KSeF w niej mieści; nie zapisano z "
                                     "niej żadnej faktury."));
    if (seen.contains(name))
      throw Exception(QStringLiteral("Paczka faktur z KSeF zawiera wpis „%1” więcej niż raz; nie zapisano z niej "
                                     "żadnej faktury.")
                          .arg(Shown(name)));
    seen.insert(name);
    if (isMetadata) {
      metadata = ReadData(reader, name, MaxMetadataSize);
      return;
    }
    FNumbers.append(name.chopped(4));
    if (archive_read_data_skip(reader) != ARCHIVE_OK)
      throw Unreadable();
  });
  if (metadata)
    FMetadata = ReadPackageMetadata(*metadata);
}

void TKsefPackage::ForEachInvoice(
    const std::function<void(const QString &number, const QByteArray &bytes)> &take) const {
  ForEachEntry(FZipFile, [&](archive *reader, const QString &name, bool isMetadata) {
    if (isMetadata) {
      if (archive_read_data_skip(reader) != ARCHIVE_OK)
        throw Unreadable();
      return;
    }
    take(name.chopped(4), ReadData(reader, name, MaxInvoiceSize));
  });
}
