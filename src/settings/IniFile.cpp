#include "settings/IniFile.h"

#include "model/AtomicFile.h"
#include "model/Text.h"

#include <QFile>

namespace {

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

// What a line is, worked out once when the line is read or written, so that a lookup compares
// ready names instead of trimming every line of the file again: with hundreds of sections in
// BANKI.INI, saving the register would otherwise take seconds.
TIniFile::TLine TIniFile::ParseLine(const QString &text) {
  TLine line{text, TLineKind::Other, {}, {}};
  const QString trimmed = Trim(text);
  if (trimmed.startsWith(u'[')) {
    const qsizetype close = trimmed.indexOf(u']');
    line.Kind = TLineKind::Section;
    line.Name = Trim(trimmed.mid(1, close < 0 ? -1 : close - 1));
  } else if (const qsizetype equals = text.indexOf(u'='); equals >= 0) {
    line.Kind = TLineKind::Key;
    line.Name = Trim(text.left(equals));
  }
  line.FoldedName = line.Name.toCaseFolded();
  return line;
}

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
    FLines.append(ParseLine(text.mid(start, i - start)));
    i += crlf ? 1 : 0;
    start = i + 1;
  }
  FEndsWithLineEnd = start == text.size();
  if (!FEndsWithLineEnd)
    FLines.append(ParseLine(text.mid(start)));
}

TIniFile::TSectionRange TIniFile::FindSection(const QString &section) const {
  const QString folded = section.toCaseFolded();
  for (qsizetype i = 0; i < FLines.size(); ++i) {
    if (FLines[i].Kind != TLineKind::Section || FLines[i].FoldedName != folded)
      continue;
    qsizetype end = i + 1;
    while (end < FLines.size() && FLines[end].Kind != TLineKind::Section)
      ++end;
    return {i, end};
  }
  return {};
}

qsizetype TIniFile::FindKeyLine(const TSectionRange &range, const QString &key) const {
  if (range.Header < 0)
    return -1;
  const QString folded = key.toCaseFolded();
  for (qsizetype i = range.Header + 1; i < range.End; ++i)
    if (FLines[i].Kind == TLineKind::Key && FLines[i].FoldedName == folded)
      return i;
  return -1;
}

QString TIniFile::ReadString(const QString &section, const QString &key, const QString &defaultValue) const {
  const qsizetype line = FindKeyLine(FindSection(section), key);
  if (line < 0)
    return defaultValue;
  const QString &text = FLines[line].Text;
  return Unquote(Trim(text.mid(text.indexOf(u'=') + 1))).left(MaxValueLength);
}

QStringList TIniFile::ReadSections() const {
  QStringList sections;
  for (const TLine &line : FLines)
    if (line.Kind == TLineKind::Section)
      sections.append(line.Name);
  return sections;
}

QStringList TIniFile::ReadKeys(const QString &section) const {
  QStringList keys;
  const TSectionRange range = FindSection(section);
  if (range.Header < 0)
    return keys;
  for (qsizetype i = range.Header + 1; i < range.End; ++i)
    if (FLines[i].Kind == TLineKind::Key)
      keys.append(FLines[i].Name);
  return keys;
}

void TIniFile::WriteString(const QString &section, const QString &key, const QString &value) {
  const TSectionRange range = FindSection(section);
  const qsizetype keyLine = FindKeyLine(range, key);
  if (keyLine >= 0) {
    FLines[keyLine] = ParseLine(FLines[keyLine].Name + u'=' + SingleLine(value));
    return;
  }
  const TLine line = ParseLine(key + u'=' + SingleLine(value));
  if (range.Header < 0) {
    FLines.append(ParseLine(u'[' + section + u']'));
    FLines.append(line);
    FEndsWithLineEnd = true;
    return;
  }
  // After the last non-blank line of the section, so blank lines before the next one stay.
  qsizetype insertAt = range.End;
  while (insertAt > range.Header + 1 && Trim(FLines[insertAt - 1].Text).isEmpty())
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
  QStringList texts;
  texts.reserve(FLines.size());
  for (const TLine &line : FLines)
    texts.append(line.Text);
  QString text = texts.join(FLineEnd);
  if (FEndsWithLineEnd && !FLines.isEmpty())
    text += FLineEnd;
  WriteFileAtomically(FFileName, EncodeReadably(text, FEncoding));
}
