#pragma once

#include "model/TextCodec.h"

#include <QString>
#include <QStringList>

// An INI file read and written by the rules of the Windows private-profile functions:
// section and key names match without regard to case; a value is read trimmed, with one
// pair of enclosing quotation marks removed, at most 2047 characters; a written key replaces
// its value in place, a new key goes to the end of its section, a new section to the end of
// the file; every other line stays as it was.
//
// The file is read when the object is made; changes stay in memory until Save(), which
// replaces the file in one atomic step in the file's own encoding and line ends.
class TIniFile {
public:
  static constexpr qsizetype MaxValueLength = 2047;

  explicit TIniFile(const QString &fileName);

  QString ReadString(const QString &section, const QString &key, const QString &defaultValue = {}) const;
  // Section names in the order they stand in the file.
  QStringList ReadSections() const;
  // Key names of a section in the order they stand in the file.
  QStringList ReadKeys(const QString &section) const;

  void WriteString(const QString &section, const QString &key, const QString &value);
  void EraseSection(const QString &section);

  // Fails with "Unable to write to <path>"; the file on disk then stays as it was.
  void Save() const;

private:
  enum class TLineKind { Other, Section, Key };

  struct TLine {
    QString Text;
    TLineKind Kind = TLineKind::Other;
    QString Name;       // of the section or key, trimmed
    QString FoldedName; // for lookups without regard to case
  };

  struct TSectionRange {
    qsizetype Header = -1; // index of the "[name]" line, -1 when the section is missing
    qsizetype End = 0;     // index one past the section's last line
  };

  static TLine ParseLine(const QString &text);
  TSectionRange FindSection(const QString &section) const;
  qsizetype FindKeyLine(const TSectionRange &range, const QString &key) const;

  QString FFileName;
  QList<TLine> FLines;
  TTextEncoding FEncoding = TTextEncoding::Windows1250;
  QString FLineEnd = QStringLiteral("\r\n");
  bool FEndsWithLineEnd = true;
};
