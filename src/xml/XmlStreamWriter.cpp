#include "xml/XmlStreamWriter.h"

#include "model/AtomicFile.h"

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

template <std::size_t N> char *Put(char *out, const char (&text)[N]) {
  std::memcpy(out, text, N - 1);
  return out + N - 1;
}

// UTF-8 text (or ASCII held in UTF-16 units) as libxml2 writes text: the markup characters and
// the carriage return as references, other control characters as blanks. A byte of a
// multi-byte character is 0x80 or above and passes unchanged. Room for the longest result is
// made first, so that each byte is a plain store.
template <typename TUnit> void AppendTextUnits(std::string &out, const TUnit *unit, const TUnit *end) {
  const std::size_t start = out.size();
  out.resize(start + MaxEscapedLength * std::size_t(end - unit));
  char *next = out.data() + start;
  for (; unit != end; ++unit) {
    const char c = static_cast<char>(*unit);
    switch (c) {
    case '<': next = Put(next, "&lt;"); break;
    case '>': next = Put(next, "&gt;"); break;
    case '&': next = Put(next, "&amp;"); break;
    case '\r': next = Put(next, "&#13;"); break;
    case '\t':
    case '\n': *next++ = c; break;
    default: *next++ = static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
    }
  }
  out.resize(std::size_t(next - out.data()));
}

void AppendText(std::string &out, const QString &text) {
  // Most texts (accounts, amounts, codes) are ASCII: they need no conversion of their own.
  if (IsAscii(text)) {
    AppendTextUnits(out, text.utf16(), text.utf16() + text.size());
    return;
  }
  const QByteArray utf8 = text.toUtf8();
  AppendTextUnits(out, utf8.constData(), utf8.constData() + utf8.size());
}

// An attribute value as libxml2 writes it: the markup characters, the quotation mark and the
// whitespace a reader would normalise as references. libxml2 takes the value as a C string.
void AppendAttributeValue(std::string &out, const QString &value) {
  const QByteArray utf8 = value.toUtf8();
  for (const char *c = utf8.constData(); *c; ++c) {
    switch (*c) {
    case '\n': out += "&#10;"; break;
    case '\r': out += "&#13;"; break;
    case '\t': out += "&#9;"; break;
    case '"': out += "&quot;"; break;
    case '<': out += "&lt;"; break;
    case '>': out += "&gt;"; break;
    case '&': out += "&amp;"; break;
    default: out += *c;
    }
  }
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
  Indent();
  FBuffer.append("<").append(name);
  if (attribute) {
    FBuffer.append(" ").append(attribute).append("=\"");
    AppendAttributeValue(FBuffer, value);
    FBuffer.append("\"");
  }
  if (text.isEmpty()) {
    FBuffer.append("/>\n");
  } else {
    FBuffer.append(">");
    AppendText(FBuffer, text);
    FBuffer.append("</").append(name).append(">\n");
  }
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
