#include "app/commands/InvoiceDirectory.h"

#include "model/Exception.h"
#include "model/Text.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <algorithm>

QStringList ListInvoiceFiles(const QString &directory) {
  if (Trim(directory).isEmpty())
    throw Exception(QStringLiteral("Nieprawidłowa ścieżka katalogu z plikami XML: \"%1\"").arg(directory));
  const QFileInfo info(directory);
  if (!info.isDir())
    throw Exception(QStringLiteral("Katalog %1 nie istnieje").arg(directory));
  // An unreadable directory would otherwise look empty and give a transfer file without payments.
  if (!info.isReadable() || !info.isExecutable())
    throw Exception(QStringLiteral("Brak dostępu do katalogu %1").arg(directory));

  // Hidden files count. FIFOs, sockets and devices do not: reading one would block the command.
  const QDir dir(directory, QStringLiteral("*.xml"), QDir::NoSort, QDir::Files | QDir::Hidden);
  // Walked by hand rather than by entryList(), which would hold the details of every file of the
  // directory at once only to hand out their names.
  QStringList names;
  for (QDirIterator entries(dir); entries.hasNext();) {
    entries.next();
    names.append(entries.fileName());
  }
  // The platform's listing order varies; a fixed order keeps the transfer file the same on every run.
  std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
    const int byLetters = QString::compare(a, b, Qt::CaseInsensitive);
    return byLetters != 0 ? byLetters < 0 : a < b;
  });

  QStringList paths;
  paths.reserve(names.size());
  for (const QString &name : names)
    paths.append(dir.filePath(name));
  return paths;
}
