#include "iso20022/Pain001Document.h"

#include "model/AtomicFile.h"
#include "model/Exception.h"

#include <new>

namespace {

constexpr char Pain001Namespace[] = "urn:iso:std:iso:20022:tech:xsd:pain.001.001.09";

const xmlChar *XmlText(const char *text) { return reinterpret_cast<const xmlChar *>(text); }

// libxml2 reports a failed allocation with a null pointer.
template <typename T> T *Allocated(T *pointer) {
  if (!pointer)
    throw std::bad_alloc();
  return pointer;
}

// XML 1.0 has no place for control characters other than tab and line ends: written as
// character references they would make the file unreadable for the bank. A VideoTel title
// can carry one; it becomes a blank.
QString XmlSafeText(QString text) {
  for (QChar &c : text)
    if (c.unicode() < 0x20 && c != u'\t' && c != u'\n' && c != u'\r')
      c = u' ';
  return text;
}

struct TXmlCharFree {
  void operator()(xmlChar *text) const { xmlFree(text); }
};

} // namespace

TPain001Document::TPain001Document() : FDoc(Allocated(xmlNewDoc(XmlText("1.0")))) {
  // Element names come from a dictionary instead of a copy per element: a document of many
  // payments has dozens of elements each, all with the same few names.
  FDoc->dict = Allocated(xmlDictCreate());
  FRoot = Allocated(xmlNewDocNode(FDoc.get(), nullptr, XmlText("Document"), nullptr));
  xmlDocSetRootElement(FDoc.get(), FRoot);
  xmlSetNs(FRoot, Allocated(xmlNewNs(FRoot, XmlText(Pain001Namespace), nullptr)));
}

void TPain001Document::Save(const QString &fileName) const {
  xmlChar *text = nullptr;
  int size = 0;
  // With format=1 libxml2 indents every element that holds only elements, by its default
  // indentation string of two spaces, and keeps text elements on one line.
  xmlDocDumpFormatMemoryEnc(FDoc.get(), &text, &size, "UTF-8", 1);
  const std::unique_ptr<xmlChar, TXmlCharFree> owned(text);
  if (!text)
    throw Exception(QStringLiteral("Unable to write to %1").arg(fileName));
  WriteFileAtomically(fileName, QByteArray::fromRawData(reinterpret_cast<const char *>(text), size));
}

xmlNode *AppendElement(xmlNode *parent, const char *name, const QString &text) {
  xmlNode *element = Allocated(xmlNewDocNode(parent->doc, parent->ns, XmlText(name), nullptr));
  xmlAddChild(parent, element);
  if (!text.isEmpty()) {
    // A text node keeps its content literally; the serialiser escapes it.
    const QByteArray utf8 = XmlSafeText(text).toUtf8();
    xmlAddChild(element, Allocated(xmlNewDocText(parent->doc, XmlText(utf8.constData()))));
  }
  return element;
}

xmlNode *AppendElementPath(xmlNode *parent, std::initializer_list<const char *> names, const QString &text) {
  xmlNode *element = parent;
  std::size_t remaining = names.size();
  for (const char *name : names)
    element = AppendElement(element, name, --remaining == 0 ? text : QString());
  return element;
}

void SetAttribute(xmlNode *element, const char *name, const QString &value) {
  Allocated(xmlSetProp(element, XmlText(name), XmlText(value.toUtf8().constData())));
}
