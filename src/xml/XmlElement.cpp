#include "xml/XmlElement.h"

#include "model/Exception.h"

#include <cstring>
#include <libxml/tree.h>

namespace {

const xmlNode *AsNode(const void *node) { return static_cast<const xmlNode *>(node); }

QString FromXml(const xmlChar *text) { return QString::fromUtf8(reinterpret_cast<const char *>(text)); }

bool IsElement(const xmlNode *node) { return node && node->type == XML_ELEMENT_NODE; }

// libxml2 keeps "x:P_15" whole when the prefix x was never declared; the prefix plays no part in
// finding an element either way.
const char *LocalNameOf(const xmlNode *node) {
  const char *name = reinterpret_cast<const char *>(node->name);
  const char *colon = std::strchr(name, ':');
  return colon ? colon + 1 : name;
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

bool SameUtf8Name(const char *local, const QByteArray &name) {
  qsizetype i = 0;
  for (; i < name.size() && local[i]; ++i)
    if (AsciiLower(local[i]) != AsciiLower(name[i]))
      return false;
  return i == name.size() && !local[i];
}

// libxml2 keeps names in UTF-8. A byte of a multi-byte character is never an ASCII letter, so
// comparing bytes matches only ASCII letters in either case, as documented. The names looked
// for are ASCII: they are compared without being converted, as is every name passed on the way.
bool HasLocalName(const xmlNode *node, QStringView name) {
  if (!IsElement(node) || !node->name)
    return false;
  const char *local = LocalNameOf(node);
  for (qsizetype i = 0; i < name.size(); ++i) {
    const char16_t c = name[i].unicode();
    if (c >= 0x80)
      return SameUtf8Name(local, name.toUtf8());
    if (!local[i] || AsciiLower(local[i]) != AsciiLower(char(c)))
      return false;
  }
  return !local[name.size()];
}

const xmlNode *FindFirstNode(const xmlNode *node, QStringView name) {
  // Only elements are searched; the parser's depth limit bounds the recursion.
  if (!IsElement(node))
    return nullptr;
  if (HasLocalName(node, name))
    return node;
  for (const xmlNode *child = node->children; child; child = child->next)
    if (const xmlNode *found = FindFirstNode(child, name))
      return found;
  return nullptr;
}

// The element's name as written in the file, prefix included.
QString QualifiedName(const xmlNode *node) {
  const QString name = FromXml(node->name);
  if (!node->ns || !node->ns->prefix)
    return name;
  return FromXml(node->ns->prefix) + u':' + name;
}

void AppendTextContent(const xmlNode *node, QByteArray &text) {
  for (const xmlNode *child = node->children; child; child = child->next) {
    if (child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE)
      text += reinterpret_cast<const char *>(child->content);
    else if (child->type == XML_ELEMENT_NODE)
      AppendTextContent(child, text);
  }
}

} // namespace

QString TXmlElement::LocalName() const {
  const xmlNode *node = AsNode(FNode);
  return node && node->name ? QString::fromUtf8(LocalNameOf(node)) : QString();
}

QList<TXmlElement> TXmlElement::Children(const QString &name) const {
  QList<TXmlElement> children;
  if (FNode)
    for (const xmlNode *child = AsNode(FNode)->children; child; child = child->next)
      if (HasLocalName(child, name))
        children.append(TXmlElement(child));
  return children;
}

QList<TXmlElement> TXmlElement::Children() const {
  QList<TXmlElement> children;
  if (FNode)
    for (const xmlNode *child = AsNode(FNode)->children; child; child = child->next)
      if (IsElement(child))
        children.append(TXmlElement(child));
  return children;
}

TXmlElement TXmlElement::FirstChild(const QString &name) const {
  if (FNode)
    for (const xmlNode *child = AsNode(FNode)->children; child; child = child->next)
      if (HasLocalName(child, name))
        return TXmlElement(child);
  return TXmlElement();
}

TXmlElement TXmlElement::FindFirst(const QString &name) const {
  return TXmlElement(FindFirstNode(AsNode(FNode), name));
}

QString TXmlElement::SingleText() const {
  const xmlNode *element = AsNode(FNode);
  if (!element || !element->children)
    return QString();
  const xmlNode *content = element->children;
  // Entity references are never expanded: they count as content other than text.
  if (content->next || (content->type != XML_TEXT_NODE && content->type != XML_CDATA_SECTION_NODE))
    throw Exception(QStringLiteral("Element \"%1\" does not contain a single text node").arg(QualifiedName(element)));
  return FromXml(content->content);
}

QString TXmlElement::TextContent() const {
  QByteArray text;
  if (FNode)
    AppendTextContent(AsNode(FNode), text);
  return QString::fromUtf8(text);
}

QString TXmlElement::Attribute(const char *name) const {
  if (!FNode)
    return QString();
  xmlChar *value = xmlGetProp(AsNode(FNode), reinterpret_cast<const xmlChar *>(name));
  const QString text = FromXml(value);
  xmlFree(value);
  return text;
}
