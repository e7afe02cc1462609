#include "xml/XmlStreamWriter.h"

#include "model/AtomicFile.h"

#include <algorithm>
#include <cstring>

namespace {

// The buffer goes to the sink in pieces of about this size.
constexpr std::size_t ChunkSize = 64 * 1024;

bool IsAscii(const QString &text) {
  for (QChar c : text)
    if (c.unicode() >= 0x80)
      return false;
  return true;
}

// Escaping turns no byte into more than this many.
constexpr std::size_t MaxEscapedLength = 6;

template <std::size_t N> char *Put(char *out, const char (&text)[N]) { return std::copy_n(text, N - 1, out); }

// UTF-8 text (or ASCII held in UTF-16 units) as libxml2 writes text: the markup characters and
// the carriage return as references, other control characters as blanks. A byte of a
// multi-byte character is 0x80 or above and passes unchanged.
template <typename Unit> char *PutText(char *out, const Unit *unit, std::size_t count) {
  for (const Unit *end = unit + count; unit != end; ++unit) {
    const char c = static_cast<char>(*unit);
    switch (c) {
    case '<': out = Put(out, "&lt;"); break;
    case '>': out = Put(out, "&gt;"); break;
    case '&': out = Put(out, "&amp;"); break;
    case '\r': out = Put(out, "&#13;"); break;
    case '\t':
    case '\n': *out++ = c; break;
    default: *out++ = static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
    }
  }
  return out;
}

// An attribute value as libxml2 writes it: the markup characters, the quotation mark and the
// whitespace a reader would normalise as references. libxml2 takes the value as a C string.
char *PutAttributeValue(char *out, const QByteArray &utf8) {
  for (const char *c = utf8.constData(); *c; ++c) {
    switch (*c) {
    case '\n': out = Put(out, "&#10;"); break;
    case '\r': out = Put(out, "&#13;"); break;
    case '\t': out = Put(out, "&#9;"); break;
    case '"': out = Put(out, "&quot;"); break;
    case '<': out = Put(out, "&lt;"); break;
    case '>': out = Put(out, "&gt;"); break;
    case '&': out = Put(out, "&amp;"); break;
    default: *out++ = *c;
    }
  }
  return out;
}

} // namespace

TXmlStreamWriter::TXmlStreamWriter(TSink sink, const char *rootName, const char *namespaceUri)
    : FSink(std::move(sink)) {
  FBuffer.reserve(ChunkSize + 4096);
  FBuffer.append("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
  StartElement(rootName);
  FBuffer.append(" xmlns=\"").append(namespaceUri).append("\"");
}

void TXmlStreamWriter::StartElement(const char *name) {
  CloseStartTag();
  Indent();
  FBuffer.append("<").append(name);
  FOpen.push_back(name);
  FStartTagOpen = true;
}

void TXmlStreamWriter::EndElement() {
  const char *name = FOpen.back();
  FOpen.pop_back();
  if (FStartTagOpen) {
    FBuffer.append("/>\n");
    FStartTagOpen = false;
  } else {
    Indent();
    FBuffer.append("</").append(name).append(">\n");
  }
  FlushWhenFull();
}

void TXmlStreamWriter::TextElement(const char *name, const QString &text) {
  TextElement(name, text, nullptr, QString());
}

void TXmlStreamWriter::TextElement(const char *name, const QString &text, const char *attribute, const QString &value) {
  CloseStartTag();
  // Most texts (accounts, amounts, codes) are ASCII: they are written straight from their UTF-16.
  const bool ascii = IsAscii(text);
  const QByteArray utf8 = ascii ? QByteArray() : text.toUtf8();
  const std::size_t textLength = ascii ? std::size_t(text.size()) : std::size_t(utf8.size());
  const QByteArray attributeValue = attribute ? value.toUtf8() : QByteArray();
  const std::size_t nameLength = std::strlen(name);
  const std::size_t attributeLength = attribute ? std::strlen(attribute) : 0;
  const std::size_t indent = 2 * FOpen.size();
  // Room for the longest the element can come to, filled by plain stores and cut back after.
  const std::size_t start = FBuffer.size();
  FBuffer.resize(start + indent + 2 * nameLength + attributeLength +
                 MaxEscapedLength * (textLength + std::size_t(attributeValue.size())) + 16);
  char *out = std::fill_n(FBuffer.data() + start, indent, ' ');
  *out++ = '<';
  out = std::copy_n(name, nameLength, out);
  if (attribute) {
    *out++ = ' ';
    out = std::copy_n(attribute, attributeLength, out);
    out = Put(out, "=\"");
    out = PutAttributeValue(out, attributeValue);
    *out++ = '"';
  }
  if (textLength == 0) {
    out = Put(out, "/>\n");
  } else {
    *out++ = '>';
    out = ascii ? PutText(out, text.utf16(), textLength) : PutText(out, utf8.constData(), textLength);
    out = Put(out, "</");
    out = std::copy_n(name, nameLength, out);
    out = Put(out, ">\n");
  }
  FBuffer.resize(std::size_t(out - FBuffer.data()));
  FlushWhenFull();
}

void TXmlStreamWriter::TextElementPath(std::initializer_list<const char *> names, const QString &text) {
  const char *const *last = names.end() - 1;
  for (const char *const *name = names.begin(); name != last; ++name)
    StartElement(*name);
  TextElement(*last, text);
  for (std::size_t i = 1; i < names.size(); ++i)
    EndElement();
}

void TXmlStreamWriter::Finish() {
  while (!FOpen.empty())
    EndElement();
  FSink(QByteArrayView(FBuffer.data(), FBuffer.size()));
  FBuffer.clear();
}

void TXmlStreamWriter::CloseStartTag() {
  if (FStartTagOpen) {
    FBuffer.append(">\n");
    FStartTagOpen = false;
  }
}

void TXmlStreamWriter::Indent() { FBuffer.append(2 * FOpen.size(), ' '); }

void TXmlStreamWriter::FlushWhenFull() {
  if (FBuffer.size() < ChunkSize)
    return;
  FSink(QByteArrayView(FBuffer.data(), FBuffer.size()));
  // clear() keeps the capacity for the next piece.
  FBuffer.clear();
}

void WriteXmlFile(const QString &fileName, const char *rootName, const char *namespaceUri,
                  const std::function<void(TXmlStreamWriter &)> &content) {
  WriteFileAtomically(fileName, [&](const TByteSink &sink) {
    TXmlStreamWriter writer(sink, rootName, namespaceUri);
    content(writer);
    writer.Finish();
  });
}
