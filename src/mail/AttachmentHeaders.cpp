#include "mail/AttachmentHeaders.h"

#include <QByteArrayList>
#include <optional>

namespace {

constexpr qsizetype MaxLineLength = 78;
// UTF-8 bytes per RFC 2047 word: 56 base64 characters, a word of 68, a line of at most 76
// with ` name="` before it and the closing quote.
constexpr qsizetype MaxWordBytes = 42;
// Characters of one RFC 2231 section: with ` filename*0*=UTF-8''` before it and the ";"
// after it a line holds 75.
constexpr qsizetype MaxSectionLength = 54;

const QByteArray ContentTypeStart = "Content-Type: application/octet-stream;";
const QByteArray DispositionStart = "Content-Disposition: attachment;";

QByteArray QuotedString(const QString &text) {
  QByteArray quoted = "\"";
  for (const char c : text.toLatin1()) {
    if (c == '"' || c == '\\')
      quoted += '\\';
    quoted += c;
  }
  return quoted + '"';
}

bool IsPrintableAscii(const QString &text) {
  for (const QChar c : text)
    if (c.unicode() < 0x20 || c.unicode() > 0x7e)
      return false;
  return true;
}

// The header with the name as a plain quoted string, when that is allowed and fits one line.
std::optional<QByteArray> PlainHeader(const QByteArray &start, const QByteArray &parameter, const QString &fileName) {
  if (!IsPrintableAscii(fileName))
    return std::nullopt;
  const QByteArray header = start + ' ' + parameter + '=' + QuotedString(fileName);
  return header.size() <= MaxLineLength ? std::optional(header) : std::nullopt;
}

// RFC 2047 encoded words, each holding whole characters only.
QByteArrayList EncodedWords(const QString &text) {
  QByteArrayList words;
  QByteArray chunk;
  const auto flush = [&] {
    if (!chunk.isEmpty())
      words << "=?UTF-8?B?" + chunk.toBase64() + "?=";
    chunk.clear();
  };
  for (qsizetype i = 0; i < text.size(); ++i) {
    const qsizetype units = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
    const QByteArray character = text.mid(i, units).toUtf8();
    i += units - 1;
    if (chunk.size() + character.size() > MaxWordBytes)
      flush();
    chunk += character;
  }
  flush();
  return words;
}

bool IsAttributeChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         QByteArrayView("!#$&+-.^_`|~").contains(c);
}

// RFC 2231 value sections: UTF-8 with every byte outside attr-char written as %XX, cut so
// that no %XX is split.
QByteArrayList PercentEncodedSections(const QString &text) {
  QByteArrayList sections{QByteArray()};
  for (const char c : text.toUtf8()) {
    const QByteArray piece = IsAttributeChar(c) ? QByteArray(1, c) : "%" + QByteArray(1, c).toHex().toUpper();
    if (sections.last().size() + piece.size() > MaxSectionLength)
      sections << QByteArray();
    sections.last() += piece;
  }
  return sections;
}

} // namespace

QByteArray AttachmentContentType(const QString &fileName) {
  if (const auto plain = PlainHeader(ContentTypeStart, "name", fileName))
    return *plain;
  return ContentTypeStart + "\r\n name=\"" + EncodedWords(fileName).join("\r\n ") + '"';
}

QByteArray AttachmentDisposition(const QString &fileName) {
  if (const auto plain = PlainHeader(DispositionStart, "filename", fileName))
    return *plain;
  const QByteArrayList sections = PercentEncodedSections(fileName);
  if (sections.size() == 1)
    return DispositionStart + "\r\n filename*=UTF-8''" + sections.first();
  QByteArray header = DispositionStart;
  for (qsizetype i = 0; i < sections.size(); ++i)
    header += (i > 0 ? ";" : "") + QByteArray("\r\n filename*") + QByteArray::number(i) +
              "*=" + (i == 0 ? "UTF-8''" : "") + sections.at(i);
  return header;
}
