#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// What the fuzz targets share: the input as bytes or text, a file to hand to readers that take
// a file name, and the way a broken property stops the run.

inline QByteArray InputBytes(const std::uint8_t *data, std::size_t size) {
  return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

// Invalid UTF-8 becomes replacement characters, so every input is some text.
inline QString InputText(const std::uint8_t *data, std::size_t size) {
  return QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
}

// libFuzzer keeps the input that made the process abort, like any crash.
[[noreturn]] inline void PropertyFailed(const char *what) {
  std::fprintf(stderr, "Property failed: %s\n", what);
  std::abort();
}

// One file in a private directory, rewritten for every input.
class TFuzzFile {
public:
  explicit TFuzzFile(const QString &name) {
    if (!FDir.isValid())
      PropertyFailed("cannot create a temporary directory");
    FPath = FDir.filePath(name);
  }

  const QString &Path() const { return FPath; }

  void Write(const QByteArray &bytes) const {
    QFile file(FPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
      PropertyFailed("cannot write the input file");
  }

private:
  QTemporaryDir FDir;
  QString FPath;
};
