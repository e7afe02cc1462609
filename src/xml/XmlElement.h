#pragma once

#include "xml/XmlHandles.h"

#include <QList>
#include <QString>

// An element of a TXmlDocument, or a null element where a lookup found none. Every lookup on
// a null element finds nothing and every text of it is empty, so a chain of lookups needs no
// check at each step. Elements are found by their local name: the namespace prefix plays no
// part, and the case of ASCII letters is ignored (other letters must match exactly).
// An element points into its document and must not outlive it.
class TXmlElement {
public:
  TXmlElement() = default;

  bool IsNull() const { return !FNode; }

  // The element's name without any namespace prefix.
  QString LocalName() const;

  // The element children named `name`, in document order.
  QList<TXmlElement> Children(const QString &name) const;
  // All element children, in document order.
  QList<TXmlElement> Children() const;
  // The first element child named `name`.
  TXmlElement FirstChild(const QString &name) const;
  // The first element named `name` in document order: this element itself is tested before
  // its children (depth first).
  TXmlElement FindFirst(const QString &name) const;

  // The text of an element that holds one text or CDATA node and nothing else, untrimmed;
  // empty for an empty element. Anything else fails with
  // "Element "<name as written, prefix included>" does not contain a single text node".
  QString SingleText() const;
  // All text and CDATA below the element in document order. Entity references are skipped
  // rather than expanded, so the text can never grow beyond what the file holds.
  QString TextContent() const;
  // The value of the attribute `name`; empty when there is none.
  QString Attribute(const char *name) const;

private:
  friend class TXmlDocument;
  friend class TXmlSchema;
  explicit TXmlElement(const xmlNode *node) : FNode(node) {}

  const xmlNode *FNode = nullptr;
};
