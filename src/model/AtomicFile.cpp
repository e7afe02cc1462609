#include "model/AtomicFile.h"

#include "model/Exception.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cstdio>
#include <iterator>
#include <unistd.h>

namespace {

constexpr qsizetype RandomPartLength = 6;

std::function<void(TAtomicWriteStep)> &Observer() {
  static std::function<void(TAtomicWriteStep)> observer;
  return observer;
}

void Reach(TAtomicWriteStep step) {
  if (Observer())
    Observer()(step);
}

// Hidden, and marked with the program's name, so that a temporary left by a killed run can be
// told apart from any file of the user's ("settings.ini.backup") and removed by the next write.
QString TemporaryPrefix(const QString &targetName) { return u'.' + targetName + QStringLiteral(".pavena-"); }

bool IsTemporaryOf(const QString &name, const QString &prefix) {
  if (!name.startsWith(prefix) || name.size() != prefix.size() + RandomPartLength)
    return false;
  for (qsizetype i = prefix.size(); i < name.size(); ++i) {
    const char16_t c = name[i].unicode();
    if (!((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9')))
      return false;
  }
  return true;
}

QString RandomPart() {
  static constexpr char16_t Letters[] = u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  QString part(RandomPartLength, Qt::Uninitialized);
  for (QChar &c : part)
    c = QChar(Letters[QRandomGenerator::global()->bounded(int(std::size(Letters) - 1))]);
  return part;
}

// A run killed while it wrote leaves its temporary behind; two runs writing the same file at
// once are not expected, and if they happen the one whose temporary went fails cleanly.
void RemoveStaleTemporaries(const QDir &dir, const QString &targetName) {
  const QString prefix = TemporaryPrefix(targetName);
  for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System))
    if (IsTemporaryOf(name, prefix))
      QFile::remove(dir.filePath(name));
}

// Removes the temporary on every way out but the rename.
class TTemporaryFile {
public:
  explicit TTemporaryFile(const QDir &dir, const QString &targetName) {
    const QString prefix = dir.filePath(TemporaryPrefix(targetName));
    for (int attempt = 0; attempt < 16 && !FCreated; ++attempt) {
      FFile.setFileName(prefix + RandomPart());
      // The permissions before the umask, as for any new file; an existing target's own
      // permissions are copied over afterwards.
      FCreated = FFile.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered,
                            QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                                QFileDevice::WriteGroup | QFileDevice::ReadOther | QFileDevice::WriteOther);
    }
  }
  ~TTemporaryFile() {
    if (!FCreated || FRenamed)
      return;
    // Not FFile.remove(): after a failed write its close fails too, and then it removes nothing.
    FFile.close();
    QFile::remove(FFile.fileName());
  }
  TTemporaryFile(const TTemporaryFile &) = delete;
  TTemporaryFile &operator=(const TTemporaryFile &) = delete;

  bool IsCreated() const { return FCreated; }

  // The content comes in pieces of any size; it goes to the file in blocks.
  bool Write(QByteArrayView bytes) {
    FBuffer.append(bytes);
    return FBuffer.size() < BlockSize || Flush();
  }

  // A write cut short (full disk, file size limit) may only show when the data reaches the
  // disk; the rename must not happen then.
  bool Sync() {
    if (!Flush() || ::fdatasync(FFile.handle()) != 0)
      return false;
    Reach(TAtomicWriteStep::Synced);
    return true;
  }

  bool CopyPermissionsOf(const QFileInfo &target) {
    return !target.exists() || FFile.setPermissions(target.permissions());
  }

  bool RenameOver(const QString &target) {
    FFile.close();
    if (FFile.error() != QFileDevice::NoError)
      return false;
    // rename() replaces the target in one step, which QFile::rename does not.
    FRenamed = std::rename(QFile::encodeName(FFile.fileName()).constData(), QFile::encodeName(target).constData()) == 0;
    return FRenamed;
  }

private:
  static constexpr qsizetype BlockSize = 1 << 16;

  bool Flush() {
    const bool written = FFile.write(FBuffer) == FBuffer.size();
    FBuffer.clear();
    if (written)
      Reach(TAtomicWriteStep::PartWritten);
    return written;
  }

  QFile FFile;
  QByteArray FBuffer;
  bool FCreated = false;
  bool FRenamed = false;
};

} // namespace

void WriteFileAtomically(const QString &fileName, const std::function<void(const TByteSink &sink)> &produce) {
  const auto refuse = [&] { throw Exception(QStringLiteral("Unable to write to %1").arg(fileName)); };
  QFileInfo target(fileName);
  // A link is followed, so that the file it points to gets the new content and the link stays.
  if (target.isSymLink())
    target = QFileInfo(target.symLinkTarget());
  // A rename would replace a file the user marked read-only; honour the mark instead, also
  // for an administrator, whom the permission bits alone would not stop.
  const bool markedReadOnly = !target.isWritable() || !(target.permissions() & QFileDevice::WriteOwner);
  if (target.exists() && (!target.isFile() || markedReadOnly))
    refuse();
  // The output directories may have been removed while the program ran; they come back.
  const QDir dir = target.absoluteDir();
  if (!QDir().mkpath(dir.path()))
    refuse();
  RemoveStaleTemporaries(dir, target.fileName());
  // Until the rename the content is in the temporary only; should `produce` throw, the
  // temporary goes with it.
  TTemporaryFile temporary(dir, target.fileName());
  if (!temporary.IsCreated())
    refuse();
  Reach(TAtomicWriteStep::TemporaryCreated);
  bool written = true;
  produce([&](QByteArrayView bytes) {
    if (written)
      written = temporary.Write(bytes);
  });
  if (!written || !temporary.Sync() || !temporary.CopyPermissionsOf(target) ||
      !temporary.RenameOver(target.absoluteFilePath()))
    refuse();
  Reach(TAtomicWriteStep::Renamed);
}

void WriteFileAtomically(const QString &fileName, const QByteArray &content) {
  WriteFileAtomically(fileName, [&content](const TByteSink &sink) { sink(content); });
}

void SetAtomicWriteObserver(std::function<void(TAtomicWriteStep step)> observer) { Observer() = std::move(observer); }
