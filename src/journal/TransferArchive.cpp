#include "journal/TransferArchive.h"

#include "model/AtomicFile.h"
#include "model/Exception.h"

#include <QDir>
#include <QFile>

namespace {

// Enough for any number of runs in one second; a directory that refuses every name is
// a directory that cannot be written.
constexpr int MaxCounter = 10000;

// Creates the empty file under the first free name and gives that name.
QString ReserveName(const QString &archiveDir, const QString &stem, const QString &originalName) {
  for (int counter = 1; counter <= MaxCounter; ++counter) {
    const QString name = QStringLiteral("%1_%2_%3").arg(stem).arg(counter).arg(originalName);
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
  WriteFileAtomically(archiveDir + u'/' + name, [&](const TByteSink &sink) {
    constexpr qint64 BlockSize = 1 << 16;
    while (!content.atEnd()) {
      const QByteArray block = content.read(BlockSize);
      if (block.isEmpty())
        throw Exception(QStringLiteral("Unable to read %1").arg(originalName));
      sink(block);
    }
  });
  return name;
}
