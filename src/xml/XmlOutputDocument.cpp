#include "xml/XmlOutputDocument.h"

#include "model/AtomicFile.h"
#include "model/Exception.h"

#include <libxml/tree.h>
#include <new>

namespace {

const xmlChar *XmlText(const char *text) { return reinterpret_cast<const xmlChar *>(text); }

xmlNode *AsNode(void *node) { return static_cast<xmlNode *>(node); }

// libxml2 reports a failed allocation with a null pointer.
template <typename T> T *Allocated(T *pointer) {
  if (!pointer)
    throw std::bad_alloc();
  return pointer;
}

// Gives a new document its root, which declares the default namespace.
xmlNode *StartDocument(void *document, const char *rootName, const char *namespaceUri) {
  xmlDoc *doc = static_cast<xmlDoc *>(document);
  // Element names come from a dictionary instead of a copy per element: a document of many
  // payments has dozens of elements each, all with the same few names.
  doc->dict = Allocated(xmlDictCreate());
  xmlNode *root = Allocated(xmlNewDocNode(doc, nullptr, XmlText(rootName), nullptr));
  xmlDocSetRootElement(doc, root);
  xmlSetNs(root, Allocated(xmlNewNs(root, XmlText(namespaceUri), nullptr)));
  return root;
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

TXmlOutElement TXmlOutElement::AppendElement(const char *name, const QString &text) const {
  xmlNode *parent = AsNode(FNode);
  xmlNode *element = Allocated(xmlNewDocNode(parent->doc, parent->ns, XmlText(name), nullptr));
  xmlAddChild(parent, element);
  if (!text.isEmpty()) {
    // A text node keeps its content literally; the serialiser escapes it.
    const QByteArray utf8 = XmlSafeText(text).toUtf8();
    xmlAddChild(element, Allocated(xmlNewDocText(parent->doc, XmlText(utf8.constData()))));
  }
  return TXmlOutElement(element);
}

TXmlOutElement TXmlOutElement::AppendElementPath(std::initializer_list<const char *> names, const QString &text) const {
  TXmlOutElement element = *this;
  std::size_t remaining = names.size();
  for (const char *name : names)
    element = element.AppendElement(name, --remaining == 0 ? text : QString());
  return element;
}

void TXmlOutElement::SetAttribute(const char *name, const QString &value) const {
  Allocated(xmlSetProp(AsNode(FNode), XmlText(name), XmlText(value.toUtf8().constData())));
}

TXmlOutputDocument::TXmlOutputDocument(const char *rootName, const char *namespaceUri)
    : FDocument(Allocated(xmlNewDoc(XmlText("1.0")))),
      FRoot(StartDocument(FDocument.FDocument.get(), rootName, namespaceUri)) {}

void TXmlOutputDocument::Save(const QString &fileName) const {
  xmlChar *text = nullptr;
  int size = 0;
  // With format=1 libxml2 indents every element that holds only elements, by its default
  // indentation string of two spaces, and keeps text elements on one line.
  xmlDocDumpFormatMemoryEnc(static_cast<xmlDoc *>(FDocument.FDocument.get()), &text, &size, "UTF-8", 1);
  const std::unique_ptr<xmlChar, TXmlCharFree> owned(text);
  if (!text)
    throw Exception(QStringLiteral("Unable to write to %1").arg(fileName));
  WriteFileAtomically(fileName, QByteArray::fromRawData(reinterpret_cast<const char *>(text), size));
}
