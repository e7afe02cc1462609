#include "xml/XmlStreamWriter.h"

#include "model/AtomicFile.h"

namespace {

// The buffer goes to the sink in pieces of about this size.
constexpr qsizetype ChunkSize = 64 * 1024;

bool IsAscii(const QString &text) {
  for (QChar c : text)
    if (c.unicode() >= 0x80)
      return false;
  return true;
}

// One byte of UTF-8 text as libxml2 writes text: the markup characters and the carriage return
// as references. A byte of a multi-byte character is 0x80 or above and passes unchanged.
void AppendTextByte(QByteArray &out, char c) {
  switch (c) {
  case '<':
    out.append("&lt;");
    return;
  case '>':
    out.append("&gt;");
    return;
  case '&':
    out.append("&amp;");
    return;
  case '\r':
    out.append("&#13;");
    return;
  case '\t':
  case '\n':
    out.append(c);
    return;
  default:
    out.append(static_cast<unsigned char>(c) < 0x20 ? ' ' : c);
  }
}

void AppendText(QByteArray &out, const QString &text) {
  // Most texts (accounts, amounts, codes) are ASCII: they need no conversion of their own.
  if (IsAscii(text)) {
    for (QChar c : text)
      AppendTextByte(out, static_cast<char>(c.unicode()));
    return;
  }
  for (char c : text.toUtf8())
    AppendTextByte(out, c);
}

// An attribute value as libxml2 writes it: the markup characters, the quotation mark and the
// whitespace a reader would normalise as references. libxml2 takes the value as a C string.
void AppendAttributeValue(QByteArray &out, const QString &value) {
  const QByteArray utf8 = value.toUtf8();
  for (const char *p = utf8.constData(); *p; ++p) {
    switch (*p) {
    case '\n':
      out.append("&#10;");
      break;
    case '\r':
      out.append("&#13;");
      break;
    case '\t':
      out.append("&#9;");
      break;
    case '"':
      out.append("&quot;");
      break;
    case '<':
      out.append("&lt;");
      break;
    case '>':
      out.append("&gt;");
      break;
    case '&':
      out.append("&amp;");
      break;
    default:
      out.append(*p);
    }
  }
}

} // namespace

TXmlStreamWriter::TXmlStreamWriter(TSink sink, const char *rootName, const char *namespaceUri)
    : FSink(std::move(sink)) {
  FBuffer.reserve(ChunkSize + 4096);
  FBuffer.append("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
  StartElement(rootName);
  FBuffer.append(" xmlns=\"").append(namespaceUri).append('"');
}

void TXmlStreamWriter::StartElement(const char *name) {
  CloseStartTag();
  Indent();
  FBuffer.append('<').append(name);
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

void TXmlStreamWriter::TextElement(const char *name, const QString &text, const char *attribute,
                                   const QString &value) {
  CloseStartTag();
  Indent();
  FBuffer.append('<').append(name);
  if (attribute) {
    FBuffer.append(' ').append(attribute).append("=\"");
    AppendAttributeValue(FBuffer, value);
    FBuffer.append('"');
  }
  if (text.isEmpty()) {
    FBuffer.append("/>\n");
  } else {
    FBuffer.append('>');
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
  FSink(FBuffer);
  FBuffer.resize(0);
}

void TXmlStreamWriter::CloseStartTag() {
  if (FStartTagOpen) {
    FBuffer.append(">\n");
    FStartTagOpen = false;
  }
}

void TXmlStreamWriter::Indent() { FBuffer.append(2 * qsizetype(FOpen.size()), ' '); }

void TXmlStreamWriter::FlushWhenFull() {
  if (FBuffer.size() < ChunkSize)
    return;
  FSink(FBuffer);
  // resize() keeps the capacity for the next piece.
  FBuffer.resize(0);
}

void WriteXmlFile(const QString &fileName, const char *rootName, const char *namespaceUri,
                  const std::function<void(TXmlStreamWriter &)> &content) {
  WriteFileAtomically(fileName, [&](const TByteSink &sink) {
    TXmlStreamWriter writer(sink, rootName, namespaceUri);
    content(writer);
    writer.Finish();
  });
}
