#include "app/commands/InvoiceDirectory.h"

#include "model/Exception.h"
#include "model/Text.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <algorithm>
#include <vector>

namespace {

// Names sort by letters regardless of case, as QString::compare(..., Qt::CaseInsensitive) has
// it, and names equal so are ordered by their exact text. For a name of ASCII characters alone,
// which nearly every invoice file has, that comparison is the one of its lower-case forms: made
// once per name, they spare the sort folding both names again at each of its comparisons.
struct TSortKey {
  QString Name;
  // Null when the name holds a character beyond ASCII.
  QString AsciiLower;
};

TSortKey SortKeyOf(const QString &name) {
  TSortKey key{name, name};
  for (QChar &c : key.AsciiLower) {
    if (c.unicode() >= 0x80)
      return {name, QString()};
    if (c >= u'A' && c <= u'Z')
      c = QChar(c.unicode() - u'A' + u'a');
  }
  return key;
}

bool SortsBefore(const TSortKey &a, const TSortKey &b) {
  const int byLetters = a.AsciiLower.isNull() || b.AsciiLower.isNull()
                            ? QString::compare(a.Name, b.Name, Qt::CaseInsensitive)
                            : QString::compare(a.AsciiLower, b.AsciiLower, Qt::CaseSensitive);
  return byLetters != 0 ? byLetters < 0 : a.Name < b.Name;
}

} // namespace

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
  std::vector<TSortKey> names;
  for (QDirIterator entries(dir); entries.hasNext();) {
    entries.next();
    names.push_back(SortKeyOf(entries.fileName()));
  }
  // The platform's listing order varies; a fixed order keeps the transfer file the same on every run.
  std::sort(names.begin(), names.end(), SortsBefore);
  // A transfer file without a transaction is one the bank refuses.
  if (names.empty())
    throw Exception(QStringLiteral("Katalog %1 nie zawiera żadnego pliku faktury (*.xml)").arg(directory));

  QStringList paths;
  paths.reserve(qsizetype(names.size()));
  for (const TSortKey &name : names)
    paths.append(dir.filePath(name.Name));
  return paths;
}
