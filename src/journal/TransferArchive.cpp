#include "journal/TransferArchive.h"

#include "model/AtomicFile.h"
#include "model/Exception.h"

#include <QDir>
#include <QFile>

namespace {

// Enough for any number of runs in one second; a directory that refuses every name is
// a directory that cannot be written. The counter is written with this many digits, so that
// the names sort in the order the copies were made.
constexpr int CounterDigits = 4;
constexpr int MaxCounter = 9999;

// Creates the empty file under the first free name and gives that name.
QString ReserveName(const QString &archiveDir, const QString &stem, const QString &originalName) {
  for (int counter = 1; counter <= MaxCounter; ++counter) {
    const QString name =
        QStringLiteral("%1_%2_%3").arg(stem).arg(counter, CounterDigits, 10, QLatin1Char('0')).arg(originalName);
    QFile reserved(archiveDir + u'/' + name);
    if (reserved.open(QIODevice::WriteOnly | QIODevice::NewOnly))
      return name;
    if (!reserved.exists())
      throw Exception(QStringLiteral("Unable to write to %1").arg(reserved.fileName()));
  }
  throw Exception(QStringLiteral("Unable to write to %1").arg(archiveDir));
}

} // namespace

QString ArchiveTransferFile(const QString &archiveDir, const QString &originalName, QIODevice &content,
                            const QDateTime &writtenAt) {
  if (!QDir().mkpath(archiveDir))
    throw Exception(QStringLiteral("Unable to write to %1").arg(archiveDir));
  const QString name = ReserveName(archiveDir, writtenAt.toString(QStringLiteral("yyyy-MM-dd_HHmmss")), originalName);
  const QString fileName = archiveDir + u'/' + name;
  try {
    WriteFileAtomically(fileName, [&](const TByteSink &sink) {
      constexpr qint64 BlockSize = 1 << 16;
      while (!content.atEnd()) {
        const QByteArray block = content.read(BlockSize);
        if (block.isEmpty())
          throw Exception(QStringLiteral("Unable to read %1").arg(originalName));
        sink(block);
      }
    });
  } catch (...) {
    // The name was only held for this copy: an empty file under it would look like an
    // archived transfer.
    QFile::remove(fileName);
    throw;
  }
  return name;
}
