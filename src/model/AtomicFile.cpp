#include "model/AtomicFile.h"

#include "model/Exception.h"

#include <QFileInfo>
#include <QSaveFile>

void WriteFileAtomically(const QString &fileName, const QByteArray &content) {
  const auto refuse = [&] { throw Exception(QStringLiteral("Unable to write to %1").arg(fileName)); };
  const QFileInfo target(fileName);
  // A rename would replace a file the user marked read-only; honour the mark instead, also
  // for an administrator, whom the permission bits alone would not stop.
  const bool markedReadOnly = !target.isWritable() || !(target.permissions() & QFileDevice::WriteOwner);
  if (target.exists() && (!target.isFile() || markedReadOnly))
    refuse();
  QSaveFile file(fileName);
  if (!file.open(QIODevice::WriteOnly))
    refuse();
  // A write cut short (full disk, file size limit) may only show when the buffer is flushed,
  // and commit() would still rename the truncated file over the target.
  if (file.write(content) != content.size() || !file.flush()) {
    file.cancelWriting();
    refuse();
  }
  if (!file.commit())
    refuse();
}
