#include "model/AtomicFile.h"

#include "model/Exception.h"

#include <QFileInfo>
#include <QSaveFile>

void WriteFileAtomically(const QString &fileName, const std::function<void(const TByteSink &sink)> &produce) {
  const auto refuse = [&] { throw Exception(QStringLiteral("Unable to write to %1").arg(fileName)); };
  const QFileInfo target(fileName);
  // A rename would replace a file the user marked read-only; honour the mark instead, also
  // for an administrator, whom the permission bits alone would not stop.
  const bool markedReadOnly = !target.isWritable() || !(target.permissions() & QFileDevice::WriteOwner);
  if (target.exists() && (!target.isFile() || markedReadOnly))
    refuse();
  // Until commit() the content is in the temporary file only; should `produce` throw, the
  // destructor removes it.
  QSaveFile file(fileName);
  if (!file.open(QIODevice::WriteOnly))
    refuse();
  bool written = true;
  produce([&](QByteArrayView bytes) {
    if (written)
      written = file.write(bytes.data(), bytes.size()) == bytes.size();
  });
  // A write cut short (full disk, file size limit) may only show when the buffer is flushed,
  // and commit() would still rename the truncated file over the target.
  if (!written || !file.flush()) {
    file.cancelWriting();
    refuse();
  }
  if (!file.commit())
    refuse();
}

void WriteFileAtomically(const QString &fileName, const QByteArray &content) {
  WriteFileAtomically(fileName, [&content](const TByteSink &sink) { sink(content); });
}
