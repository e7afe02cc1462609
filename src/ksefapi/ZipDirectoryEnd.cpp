#include "ksefapi/ZipDirectoryEnd.h"

#include <QByteArray>
#include <QFile>
#include <QtEndian>
#include <algorithm>
#include <cstring>

namespace {

constexpr qint64 EndRecordSize = 22;
constexpr qint64 MaxCommentSize = 0xFFFF;
constexpr qint64 Zip64LocatorSize = 20;
constexpr qint64 Zip64RecordSize = 56;

quint16 U16(const char *p) { return qFromLittleEndian<quint16>(p); }
quint32 U32(const char *p) { return qFromLittleEndian<quint32>(p); }
quint64 U64(const char *p) { return qFromLittleEndian<quint64>(p); }

QByteArray ReadAt(QFile &file, qint64 position, qint64 size) {
  if (position < 0 || !file.seek(position))
    return {};
  return file.read(size);
}

} // namespace

std::optional<TZipDirectoryEnd> ReadZipDirectoryEnd(const QString &zipFile) {
  QFile file(zipFile);
  if (!file.open(QIODevice::ReadOnly))
    return std::nullopt;
  const qint64 tailStart = std::max<qint64>(0, file.size() - EndRecordSize - MaxCommentSize);
  const QByteArray tail = ReadAt(file, tailStart, file.size() - tailStart);
  // The last record whose comment reaches exactly to the end of the file.
  qsizetype at = tail.size() - EndRecordSize;
  for (; at >= 0; --at)
    if (std::memcmp(tail.constData() + at, "PK\x05\x06", 4) == 0 &&
        at + EndRecordSize + U16(tail.constData() + at + 20) == tail.size())
      break;
  if (at < 0)
    return std::nullopt;
  const char *record = tail.constData() + at;
  TZipDirectoryEnd end;
  end.Entries = std::max(U16(record + 8), U16(record + 10));
  end.DirectorySize = U32(record + 12);
  end.DirectoryOffset = U32(record + 16);
  end.RecordPosition = quint64(tailStart + at);
  // A ZIP64 locator right before the record points at the ZIP64 record, whose numbers count.
  const qint64 locatorPosition = qint64(end.RecordPosition) - Zip64LocatorSize;
  const QByteArray locator = ReadAt(file, locatorPosition, Zip64LocatorSize);
  if (locator.size() != Zip64LocatorSize || !locator.startsWith(QByteArrayLiteral("PK\x06\x07")))
    return end;
  const quint64 zip64Position = U64(locator.constData() + 8);
  const QByteArray zip64 =
      zip64Position <= quint64(locatorPosition) ? ReadAt(file, qint64(zip64Position), Zip64RecordSize) : QByteArray();
  if (zip64.size() != Zip64RecordSize || !zip64.startsWith(QByteArrayLiteral("PK\x06\x06")))
    return std::nullopt;
  end.Entries = std::max(U64(zip64.constData() + 24), U64(zip64.constData() + 32));
  end.DirectorySize = U64(zip64.constData() + 40);
  end.DirectoryOffset = U64(zip64.constData() + 48);
  end.RecordPosition = zip64Position;
  return end;
}
