#include "whitelist/ExternalSorter.h"

#include "model/Exception.h"

#include <QDir>
#include <QFile>
#include <atomic>

namespace {

constexpr std::size_t RunBufferSize = 1 << 18;

} // namespace

TRunFile::TRunFile(const QString &directory) : FDirectory(directory) {
  // Every sorter of a load puts its runs into the same directory.
  static std::atomic<int> runs = 0;
  FName = QDir(directory).filePath(QStringLiteral("run-%1").arg(runs++));
  FFile = std::fopen(QFile::encodeName(FName).constData(), "w+b");
  if (!FFile)
    throw Exception(
        QStringLiteral("Nie udało się utworzyć pliku tymczasowego białej listy w katalogu „%1”.").arg(FDirectory));
  std::setvbuf(FFile, nullptr, _IOFBF, RunBufferSize);
}

TRunFile::~TRunFile() {
  std::fclose(FFile);
  QFile::remove(FName);
}

void TRunFile::Write(const void *data, std::size_t size) {
  if (std::fwrite(data, 1, size, FFile) != size || std::fflush(FFile) != 0)
    throw Exception(
        QStringLiteral("Nie udało się zapisać pliku tymczasowego białej listy (czy na dysku jest miejsce?)."));
}

void TRunFile::Rewind() { std::rewind(FFile); }

bool TRunFile::Read(void *data, std::size_t size) {
  if (std::fread(data, 1, size, FFile) == size)
    return true;
  if (std::ferror(FFile))
    throw Exception(QStringLiteral("Nie udało się odczytać pliku tymczasowego w katalogu „%1”.").arg(FDirectory));
  return false;
}
