#include "app/commands/InvoiceDirectory.h"

#include "model/Exception.h"
#include "model/Text.h"

#include <QDir>
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

  const QDir dir(directory);
  // Hidden files count. FIFOs, sockets and devices do not: reading one would block the command.
  QFileInfoList files = dir.entryInfoList({QStringLiteral("*.xml")}, QDir::Files | QDir::Hidden);
  // The platform's listing order varies; a fixed order keeps the transfer file the same on every run.
  std::sort(files.begin(), files.end(), [](const QFileInfo &a, const QFileInfo &b) {
    const int byLetters = QString::compare(a.fileName(), b.fileName(), Qt::CaseInsensitive);
    return byLetters != 0 ? byLetters < 0 : a.fileName() < b.fileName();
  });

  QStringList paths;
  for (const QFileInfo &file : files)
    paths.append(dir.filePath(file.fileName()));
  return paths;
}
