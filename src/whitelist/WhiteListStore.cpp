#include "whitelist/WhiteListStore.h"

#include "model/Exception.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

const QString IndexSuffix = QStringLiteral(".indeks");
const QString RunDirectoryPrefix = QStringLiteral(".wczytywanie-");

QString DayText(QDate day) { return day.toString(QStringLiteral("dd.MM.yyyy")); }

QDate DayOfIndex(const QString &fileName) {
  if (fileName.size() != 8 + IndexSuffix.size() || !fileName.endsWith(IndexSuffix))
    return {};
  return QDate::fromString(fileName.left(8), QStringLiteral("yyyyMMdd"));
}

// Held while a load runs. The system drops the lock with the process, however it ends, so no
// stale lock outlives a killed load; and the lock file is never written, so a full disk does
// not stop it.
class TLoadLock {
public:
  explicit TLoadLock(const QString &fileName) {
    FHandle = ::open(QFile::encodeName(fileName).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (FHandle < 0)
      throw Exception(QStringLiteral("Nie można utworzyć pliku „%1”.").arg(fileName));
    if (::flock(FHandle, LOCK_EX | LOCK_NB) != 0) {
      ::close(FHandle);
      throw Exception(QStringLiteral("Inny plik płaski jest właśnie wczytywany: poczekaj, aż wczytywanie się "
                                     "skończy, i spróbuj ponownie."));
    }
  }
  ~TLoadLock() { ::close(FHandle); }
  TLoadLock(const TLoadLock &) = delete;
  TLoadLock &operator=(const TLoadLock &) = delete;

private:
  int FHandle = -1;
};

} // namespace

TWhiteListStore::TWhiteListStore(QString directory) : FDirectory(std::move(directory)) {}

QList<QDate> TWhiteListStore::Days() const {
  QList<QDate> days;
  for (const QString &name : QDir(FDirectory).entryList({u'*' + IndexSuffix}, QDir::Files, QDir::Name))
    if (const QDate day = DayOfIndex(name); day.isValid())
      days.append(day);
  return days;
}

std::optional<QDate> TWhiteListStore::NewestUpTo(QDate day) const {
  const QList<QDate> days = Days();
  const auto after = std::upper_bound(days.begin(), days.end(), day);
  if (after == days.begin())
    return std::nullopt;
  return *std::prev(after);
}

void TWhiteListStore::CheckKept(QDate day) const {
  const QList<QDate> days = Days();
  if (days.isEmpty() || day.daysTo(days.last()) < KeptDays)
    return;
  throw Exception(QStringLiteral("Pliku płaskiego z dnia %1 nie wczytano: jest o %2 dni starszy niż najnowszy "
                                 "wczytany, z dnia %3, a indeksy starsze od najnowszego o %4 dni lub więcej program "
                                 "usuwa.")
                      .arg(DayText(day))
                      .arg(day.daysTo(days.last()))
                      .arg(DayText(days.last()))
                      .arg(KeptDays));
}

QString TWhiteListStore::IndexFile(QDate day) const {
  return QDir(FDirectory).filePath(day.toString(QStringLiteral("yyyyMMdd")) + IndexSuffix);
}

TFlatFileLoad TWhiteListStore::Load(const QString &flatFile, QDate today, IProgress &progress) {
  QElapsedTimer timer;
  timer.start();
  QDir directory(FDirectory);
  if (!directory.mkpath(QStringLiteral(".")))
    throw Exception(QStringLiteral("Nie można utworzyć katalogu „%1”.").arg(FDirectory));
  const TLoadLock lock(directory.filePath(QStringLiteral(".wczytywanie.lock")));
  // What a killed load left behind.
  for (const QString &name : directory.entryList({RunDirectoryPrefix + u'*'}, QDir::Dirs | QDir::Hidden))
    QDir(directory.filePath(name)).removeRecursively();
  QTemporaryDir runs(directory.filePath(RunDirectoryPrefix + QStringLiteral("XXXXXX")));
  if (!runs.isValid())
    throw Exception(QStringLiteral("Nie można utworzyć katalogu tymczasowego w „%1”.").arg(FDirectory));

  TWhiteListIndexWriter writer(runs.path());
  const TFlatFileHeader header = ReadFlatFile(flatFile, today, writer, progress);
  CheckKept(header.Date);
  writer.Write(IndexFile(header.Date), header);
  RemoveOldIndexes();
  return {header.Date, writer.Counts(), timer.elapsed()};
}

void TWhiteListStore::RemoveOldIndexes() const {
  const QList<QDate> days = Days();
  for (const QDate day : days)
    if (day.daysTo(days.last()) >= KeptDays)
      QFile::remove(IndexFile(day));
}
