#include "ksefapi/KsefInvoiceStore.h"

#include "ksefapi/KsefCrypto.h"
#include "model/Exception.h"

#include <QDir>
#include <QFile>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace {

// mkstemps' pattern: six X before the suffix.
const QByteArray TemporaryPattern = QByteArrayLiteral(".faktura-XXXXXX.xml");
constexpr int TemporarySuffixLength = 4;

Exception NotWritten(const QString &fileName) {
  return Exception(
      QStringLiteral("Nie można zapisać faktury w pliku „%1” (czy na dysku jest miejsce?).").arg(fileName));
}

} // namespace

TKsefInvoiceStore::TKsefInvoiceStore(QString directory) : FDirectory(std::move(directory)) {}

TKsefInvoiceStore::~TKsefInvoiceStore() {
  for (const auto &[temporary, target] : FPending)
    QFile::remove(temporary);
}

QStringList TKsefInvoiceStore::TemporaryPatterns() {
  return {QString::fromLatin1(TemporaryPattern).replace(u'X', u'?')};
}

QString TKsefInvoiceStore::FileOf(const QString &ksefNumber) const {
  return QDir(FDirectory).filePath(ksefNumber + QStringLiteral(".xml"));
}

bool TKsefInvoiceStore::Add(const QString &ksefNumber, const QByteArray &bytes) {
  const QString fileName = FileOf(ksefNumber);
  QFile existing(fileName);
  if (existing.exists()) {
    if (!existing.open(QIODevice::ReadOnly))
      throw Exception(QStringLiteral("Nie można odczytać pliku „%1”.").arg(fileName));
    const QByteArray existingHash = TSha256::Of(existing.readAll());
    const QByteArray newHash = TSha256::Of(bytes);
    if (existingHash == newHash)
      return false;
    throw Exception(QStringLiteral("Faktura %1 jest już zapisana w „%2” z inną treścią (SHA-256 %3), a KSeF podał ją "
                                   "z SHA-256 %4; niczego nie nadpisano, sprawdź, który plik jest właściwy.")
                        .arg(ksefNumber, fileName, QString::fromLatin1(existingHash.toBase64()),
                             QString::fromLatin1(newHash.toBase64())));
  }
  // Written straight, without a buffer of its own or QTemporaryFile's unnamed file that is named
  // afterwards: on a package of 10,000 invoices the file calls are most of the work. Like the
  // package they came in, the files are the user's alone (0600).
  QByteArray temporary = QFile::encodeName(FDirectory) + '/' + TemporaryPattern;
  const int handle = ::mkstemps(temporary.data(), TemporarySuffixLength);
  if (handle < 0)
    throw NotWritten(fileName);
  FPending.emplace_back(QFile::decodeName(temporary), fileName);
  const bool written = ::write(handle, bytes.constData(), size_t(bytes.size())) == bytes.size();
  if (::close(handle) != 0 || !written)
    throw NotWritten(fileName);
  return true;
}

void TKsefInvoiceStore::Commit() {
  if (FPending.empty())
    return;
  // One sync of the file system holding the folder: every temporary's bytes are on the disk
  // before any of them is named as an invoice.
  const int handle = ::open(QFile::encodeName(FDirectory).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  const bool synced = handle >= 0 && ::syncfs(handle) == 0;
  if (handle >= 0)
    ::close(handle);
  if (!synced)
    throw NotWritten(FPending.front().second);
  // QFile::rename never replaces a file that appeared meanwhile.
  for (const auto &[temporary, target] : FPending)
    if (!QFile::rename(temporary, target))
      throw NotWritten(target);
  FPending.clear();
}
