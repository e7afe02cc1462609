#include "xml/XmlElement.h"

#include "model/Exception.h"

#include <QVarLengthArray>
#include <cstring>
#include <libxml/tree.h>

namespace {

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

// A name looked for, made ready once for comparing with the name of every element passed: the
// UTF-8 that libxml2 keeps names in, its ASCII letters in lower case. A byte of a multi-byte
// character is never an ASCII letter, so ASCII letters match in either case and all other
// characters only exactly, as documented.
class TLocalName {
public:
  explicit TLocalName(QStringView name) {
    // The names looked for are ASCII: they are converted without allocating.
    for (QChar c : name) {
      if (c.unicode() >= 0x80) {
        const QByteArray utf8 = name.toUtf8();
        FName.clear();
        FName.append(utf8.constData(), utf8.size());
        break;
      }
      FName.append(static_cast<char>(c.unicode()));
    }
    for (char &c : FName)
      c = AsciiLower(c);
  }

  bool Of(const xmlNode *node) const {
    if (!IsElement(node) || !node->name)
      return false;
    const char *local = LocalNameOf(node);
    qsizetype i = 0;
    for (; i < FName.size(); ++i)
      if (!local[i] || AsciiLower(local[i]) != FName[i])
        return false;
    return !local[i];
  }

private:
  QVarLengthArray<char, 32> FName;
};

const xmlNode *FindFirstNode(const xmlNode *node, const TLocalName &name) {
  // Only elements are searched; the parser's depth limit bounds the recursion.
  if (!IsElement(node))
    return nullptr;
  if (name.Of(node))
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
  return FNode && FNode->name ? QString::fromUtf8(LocalNameOf(FNode)) : QString();
}

QList<TXmlElement> TXmlElement::Children(const QString &name) const {
  const TLocalName local(name);
  QList<TXmlElement> children;
  if (FNode)
    for (const xmlNode *child = FNode->children; child; child = child->next)
      if (local.Of(child))
        children.append(TXmlElement(child));
  return children;
}

QList<TXmlElement> TXmlElement::Children() const {
  QList<TXmlElement> children;
  if (FNode)
    for (const xmlNode *child = FNode->children; child; child = child->next)
      if (IsElement(child))
        children.append(TXmlElement(child));
  return children;
}

TXmlElement TXmlElement::FirstChild(const QString &name) const {
  const TLocalName local(name);
  if (FNode)
    for (const xmlNode *child = FNode->children; child; child = child->next)
      if (local.Of(child))
        return TXmlElement(child);
  return TXmlElement();
}

TXmlElement TXmlElement::FindFirst(const QString &name) const {
  return TXmlElement(FindFirstNode(FNode, TLocalName(name)));
}

QString TXmlElement::SingleText() const {
  if (!FNode || !FNode->children)
    return QString();
  const xmlNode *content = FNode->children;
  // Entity references are never expanded: they count as content other than text.
  if (content->next || (content->type != XML_TEXT_NODE && content->type != XML_CDATA_SECTION_NODE))
    throw Exception(QStringLiteral("Element \"%1\" does not contain a single text node").arg(QualifiedName(FNode)));
  return FromXml(content->content);
}

QString TXmlElement::TextContent() const {
  QByteArray text;
  if (FNode)
    AppendTextContent(FNode, text);
  return QString::fromUtf8(text);
}

QString TXmlElement::Attribute(const char *name) const {
  if (!FNode)
    return QString();
  xmlChar *value = xmlGetProp(FNode, reinterpret_cast<const xmlChar *>(name));
  const QString text = FromXml(value);
  xmlFree(value);
  return text;
}
