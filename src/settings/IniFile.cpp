#include "settings/IniFile.h"

#include "model/AtomicFile.h"
#include "model/Text.h"

#include <QFile>

#include <optional>

namespace {

bool SameName(const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

bool IsSectionHeader(const QString &line) { return Trim(line).startsWith(u'['); }

// The name of a "[name]" line.
QString SectionName(const QString &line) {
  const QString trimmed = Trim(line);
  const qsizetype close = trimmed.indexOf(u']');
  return Trim(trimmed.mid(1, close < 0 ? -1 : close - 1));
}

// The key of a "key=value" line; nothing when the line holds no "=".
std::optional<QString> KeyName(const QString &line) {
  const qsizetype equals = line.indexOf(u'=');
  if (equals < 0)
    return std::nullopt;
  return Trim(line.left(equals));
}

QString Unquote(const QString &value) {
  if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
    return value.mid(1, value.size() - 2);
  return value;
}

// A line break inside a value would start a new line of the file and could forge keys.
QString SingleLine(QString value) {
  value.replace(u'\r', u' ');
  value.replace(u'\n', u' ');
  return value;
}

} // namespace

TIniFile::TIniFile(const QString &fileName) : FFileName(fileName) {
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly))
    return;
  const TDecodedText decoded = DecodeText(file.readAll());
  FEncoding = decoded.Encoding;
  const QString &text = decoded.Text;
  if (text.isEmpty())
    return;

  // Lines end with CR LF, LF or CR; the first line end tells how to write them back.
  qsizetype start = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] != u'\r' && text[i] != u'\n')
      continue;
    const bool crlf = text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n';
    if (FLines.isEmpty())
      FLineEnd = crlf ? QStringLiteral("\r\n") : QString(text[i]);
    FLines.append(text.mid(start, i - start));
    i += crlf ? 1 : 0;
    start = i + 1;
  }
  FEndsWithLineEnd = start == text.size();
  if (!FEndsWithLineEnd)
    FLines.append(text.mid(start));
}

TIniFile::TSectionRange TIniFile::FindSection(const QString &section) const {
  for (qsizetype i = 0; i < FLines.size(); ++i) {
    if (!IsSectionHeader(FLines[i]) || !SameName(SectionName(FLines[i]), section))
      continue;
    qsizetype end = i + 1;
    while (end < FLines.size() && !IsSectionHeader(FLines[end]))
      ++end;
    return {i, end};
  }
  return {};
}

qsizetype TIniFile::FindKeyLine(const TSectionRange &range, const QString &key) const {
  if (range.Header < 0)
    return -1;
  for (qsizetype i = range.Header + 1; i < range.End; ++i) {
    const std::optional<QString> name = KeyName(FLines[i]);
    if (name && SameName(*name, key))
      return i;
  }
  return -1;
}

QString TIniFile::ReadString(const QString &section, const QString &key, const QString &defaultValue) const {
  const qsizetype line = FindKeyLine(FindSection(section), key);
  if (line < 0)
    return defaultValue;
  const QString &text = FLines[line];
  return Unquote(Trim(text.mid(text.indexOf(u'=') + 1))).left(MaxValueLength);
}

QStringList TIniFile::ReadSections() const {
  QStringList sections;
  for (const QString &line : FLines)
    if (IsSectionHeader(line))
      sections.append(SectionName(line));
  return sections;
}

QStringList TIniFile::ReadKeys(const QString &section) const {
  QStringList keys;
  const TSectionRange range = FindSection(section);
  if (range.Header < 0)
    return keys;
  for (qsizetype i = range.Header + 1; i < range.End; ++i) {
    if (const std::optional<QString> name = KeyName(FLines[i]))
      keys.append(*name);
  }
  return keys;
}

void TIniFile::WriteString(const QString &section, const QString &key, const QString &value) {
  const TSectionRange range = FindSection(section);
  const qsizetype keyLine = FindKeyLine(range, key);
  if (keyLine >= 0) {
    FLines[keyLine] = *KeyName(FLines[keyLine]) + u'=' + SingleLine(value);
    return;
  }
  const QString line = key + u'=' + SingleLine(value);
  if (range.Header < 0) {
    FLines.append(u'[' + section + u']');
    FLines.append(line);
    FEndsWithLineEnd = true;
    return;
  }
  // After the last non-blank line of the section, so blank lines before the next one stay.
  qsizetype insertAt = range.End;
  while (insertAt > range.Header + 1 && Trim(FLines[insertAt - 1]).isEmpty())
    --insertAt;
  FLines.insert(insertAt, line);
  if (insertAt == FLines.size() - 1)
    FEndsWithLineEnd = true;
}

void TIniFile::EraseSection(const QString &section) {
  for (TSectionRange range = FindSection(section); range.Header >= 0; range = FindSection(section))
    FLines.remove(range.Header, range.End - range.Header);
}

void TIniFile::Save() const {
  QString text = FLines.join(FLineEnd);
  if (FEndsWithLineEnd && !FLines.isEmpty())
    text += FLineEnd;
  WriteFileAtomically(FFileName, EncodeReadably(text, FEncoding));
}
