#include "journal/TransferArchive.h"

#include "model/Exception.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <unistd.h>

namespace {

// Enough for any number of runs in one second; a directory that refuses every name is
// a directory that cannot be written. The counter is written with this many digits, so that
// the names sort in the order the copies were made.
constexpr int CounterDigits = 4;
constexpr int MaxCounter = 9999;

// Creates the empty file under the first free name, leaves `reserved` open on it for writing
// and gives that name.
QString ReserveName(const QString &archiveDir, const QString &stem, const QString &originalName, QFile &reserved) {
  for (int counter = 1; counter <= MaxCounter; ++counter) {
    const QString name =
        QStringLiteral("%1_%2_%3").arg(stem).arg(counter, CounterDigits, 10, QLatin1Char('0')).arg(originalName);
    reserved.setFileName(archiveDir + u'/' + name);
    if (reserved.open(QIODevice::WriteOnly | QIODevice::NewOnly))
      return name;
    if (!reserved.exists())
      throw Exception(QStringLiteral("Unable to write to %1").arg(reserved.fileName()));
  }
  throw Exception(QStringLiteral("Unable to write to %1").arg(archiveDir));
}

// Copies `content` to `copy` block by block and gives the SHA-256 of what it copied; the copy
// is on the disk when it returns.
QString CopyAndHash(QIODevice &content, const QString &originalName, QFile &copy) {
  const auto unableToWrite = [&] { return Exception(QStringLiteral("Unable to write to %1").arg(copy.fileName())); };
  QCryptographicHash hash(QCryptographicHash::Sha256);
  constexpr qint64 BlockSize = 1 << 16;
  while (!content.atEnd()) {
    const QByteArray block = content.read(BlockSize);
    if (block.isEmpty())
      throw Exception(QStringLiteral("Unable to read %1").arg(originalName));
    hash.addData(block);
    if (copy.write(block) != block.size())
      throw unableToWrite();
  }
  // A write cut short (a full disk) may only show when the data reaches the disk.
  if (!copy.flush() || ::fdatasync(copy.handle()) != 0)
    throw unableToWrite();
  copy.close();
  if (copy.error() != QFileDevice::NoError)
    throw unableToWrite();
  return QString::fromLatin1(hash.result().toHex());
}

} // namespace

TArchivedCopy ArchiveTransferFile(const QString &archiveDir, const QString &originalName, QIODevice &content,
                                  const QDateTime &writtenAt) {
  if (!QDir().mkpath(archiveDir))
    throw Exception(QStringLiteral("Unable to write to %1").arg(archiveDir));
  QFile copy;
  const QString name =
      ReserveName(archiveDir, writtenAt.toString(QStringLiteral("yyyy-MM-dd_HHmmss")), originalName, copy);
  try {
    return TArchivedCopy{name, CopyAndHash(content, originalName, copy)};
  } catch (...) {
    // The name was only held for this copy: a file under it would look like an archived
    // transfer.
    copy.close();
    QFile::remove(copy.fileName());
    throw;
  }
}
