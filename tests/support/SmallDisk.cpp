#include "SmallDisk.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <sched.h>
#include <stdexcept>
#include <sys/mount.h>

namespace {

QString LastError(const char *what) {
  return QStringLiteral("%1: %2").arg(what, QString::fromLocal8Bit(std::strerror(errno)));
}

// Once per process: a private copy of the mount table, whose changes never reach the machine's.
QString EnterPrivateMountNamespace() {
  static const QString problem = [] {
    if (unshare(CLONE_NEWNS) != 0)
      return LastError("unshare(CLONE_NEWNS) for a private mount namespace");
    if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
      return LastError("making the mounts private");
    return QString();
  }();
  return problem;
}

} // namespace

TSmallDisk::TSmallDisk(qint64 bytes) {
  FProblem = EnterPrivateMountNamespace();
  if (!FProblem.isEmpty())
    return;
  const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0700";
  if (mount("tmpfs", QFile::encodeName(Path()).constData(), "tmpfs", 0, options.constData()) != 0) {
    FProblem = LastError("mounting a tmpfs");
    return;
  }
  FMounted = true;
}

TSmallDisk::~TSmallDisk() {
  if (FMounted)
    umount2(QFile::encodeName(Path()).constData(), MNT_DETACH);
}

void TSmallDisk::Fill() const {
  QFile filler(File(QStringLiteral("filler")));
  if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
    throw std::runtime_error("Cannot create the filler file");
  const QByteArray block(4096, 'f');
  while (filler.write(block) == block.size()) {
  }
  // What did not fit into whole blocks fills up byte by byte.
  while (filler.write("f", 1) == 1) {
  }
}

void TSmallDisk::MakeReadOnly() {
  if (mount(nullptr, QFile::encodeName(Path()).constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0)
    throw std::runtime_error(LastError("remounting read-only").toStdString());
}
