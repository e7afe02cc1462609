#include "xml/XmlElement.h"

#include "model/Exception.h"

#include <libxml/tree.h>

namespace {

const xmlNode *AsNode(const void *node) { return static_cast<const xmlNode *>(node); }

QString FromXml(const xmlChar *text) { return QString::fromUtf8(reinterpret_cast<const char *>(text)); }

bool IsElement(const xmlNode *node) { return node && node->type == XML_ELEMENT_NODE; }

QString LocalNameOf(const xmlNode *node) {
  if (!node || !node->name)
    return QString();
  const QString name = FromXml(node->name);
  // libxml2 keeps "x:P_15" whole when the prefix x was never declared; the prefix plays no
  // part in finding an element either way.
  return name.mid(name.indexOf(u':') + 1);
}

bool HasLocalName(const xmlNode *node, const QString &name) {
  if (!IsElement(node))
    return false;
  const QString local = LocalNameOf(node);
  if (local.size() != name.size())
    return false;
  for (qsizetype i = 0; i < local.size(); ++i) {
    QChar a = local[i], b = name[i];
    if (a.unicode() < 0x80 && b.unicode() < 0x80 ? a.toLower() != b.toLower() : a != b)
      return false;
  }
  return true;
}

const xmlNode *FindFirstNode(const xmlNode *node, const QString &name) {
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

QString TXmlElement::LocalName() const { return LocalNameOf(AsNode(FNode)); }

QList<TXmlElement> TXmlElement::Children(const QString &name) const {
  QList<TXmlElement> children;
  for (const TXmlElement &child : Children())
    if (HasLocalName(AsNode(child.FNode), name))
      children.append(child);
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

TXmlElement TXmlElement::FirstChild(const QString &name) const { return Children(name).value(0); }

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
