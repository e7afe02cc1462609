#include "whitelist/WhiteListStore.h"

#include "model/Exception.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLockFile>
#include <QTemporaryDir>

namespace {

const QString IndexSuffix = QStringLiteral(".indeks");
const QString RunDirectoryPrefix = QStringLiteral(".wczytywanie-");

QDate DayOfIndex(const QString &fileName) {
  if (fileName.size() != 8 + IndexSuffix.size() || !fileName.endsWith(IndexSuffix))
    return {};
  return QDate::fromString(fileName.left(8), QStringLiteral("yyyyMMdd"));
}

} // namespace

TWhiteListStore::TWhiteListStore(QString directory) : FDirectory(std::move(directory)) {}

QList<QDate> TWhiteListStore::Days() const {
  QList<QDate> days;
  for (const QString &name : QDir(FDirectory).entryList({u'*' + IndexSuffix}, QDir::Files, QDir::Name))
    if (const QDate day = DayOfIndex(name); day.isValid())
      days.append(day);
  return days;
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
  QLockFile lock(directory.filePath(QStringLiteral(".wczytywanie.lock")));
  // A load may take minutes; only a lock whose process is gone counts as stale.
  lock.setStaleLockTime(0);
  if (!lock.tryLock(0))
    throw Exception(QStringLiteral("Inny plik płaski jest właśnie wczytywany: poczekaj, aż wczytywanie się skończy, i "
                                   "spróbuj ponownie."));
  // What a killed load left behind.
  for (const QString &name : directory.entryList({RunDirectoryPrefix + u'*'}, QDir::Dirs | QDir::Hidden))
    QDir(directory.filePath(name)).removeRecursively();
  QTemporaryDir runs(directory.filePath(RunDirectoryPrefix + QStringLiteral("XXXXXX")));
  if (!runs.isValid())
    throw Exception(QStringLiteral("Nie można utworzyć katalogu tymczasowego w „%1”.").arg(FDirectory));

  TWhiteListIndexWriter writer(runs.path());
  const TFlatFileHeader header = ReadFlatFile(flatFile, today, writer, progress);
  writer.Write(IndexFile(header.Date), header);
  RemoveOldIndexes(header.Date);
  return {header.Date, writer.Counts(), timer.elapsed()};
}

void TWhiteListStore::RemoveOldIndexes(QDate loaded) const {
  const QList<QDate> days = Days();
  const QDate newest = std::max(loaded, days.isEmpty() ? loaded : days.last());
  for (const QDate day : days)
    if (day != loaded && day.daysTo(newest) >= KeptDays)
      QFile::remove(IndexFile(day));
}
