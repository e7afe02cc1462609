#include "FlatFileFixture.h"

#include <QFileInfo>
#include <QProcess>
#include <stdexcept>

namespace {

void Run(const QString &program, const QStringList &arguments, const QString &directory = {}) {
  QProcess process;
  process.setWorkingDirectory(directory);
  process.start(program, arguments);
  if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
    throw std::runtime_error((program + QStringLiteral(" failed: ")).toStdString() +
                             process.readAllStandardError().toStdString());
}

} // namespace

QString MakeFlatFileJson(const TTempDir &dir, const QString &name, QDate date, int rounds, const QStringList &entries) {
  const QString file = dir.File(name);
  // Debian's own interpreter, whatever python3 comes first on PATH.
  Run(QStringLiteral("/usr/bin/python3"),
      QStringList{QStringLiteral(PAVENA_MAKE_FLAT_FILE), file, date.toString(QStringLiteral("yyyyMMdd")),
                  QString::number(rounds)} +
          entries);
  return file;
}

QString MakeStandardFlatFileJson(const TTempDir &dir, const QString &name, QDate date, int rounds) {
  using namespace FlatFilePairs;
  return MakeFlatFileJson(dir, name, date, rounds,
                          {QStringLiteral("a:") + ActiveNip + u':' + ActiveAccount,
                           QStringLiteral("E:") + ExemptNip + u':' + ExemptAccount,
                           QStringLiteral("a:") + VirtualNip + u':' + MaskedText, QStringLiteral("m:") + Mask});
}

QString PackWith7z(const TTempDir &dir, const QString &archiveName, const QStringList &files) {
  QStringList names;
  for (const QString &file : files)
    names.append(QFileInfo(file).fileName());
  Run(QStringLiteral("7z"), QStringList{QStringLiteral("a"), QStringLiteral("-bd"), archiveName} + names, dir.Path());
  return dir.File(archiveName);
}
