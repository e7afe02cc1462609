#pragma once

#include "xml/XmlDocument.h"

#include <QString>
#include <initializer_list>

// An element of a TXmlOutputDocument to build on. A handle: copies stand for the same element,
// which lives as long as its document.
class TXmlOutElement {
public:
  // Appends an element in this element's namespace as its last child, holding `text` when it is
  // not empty (an empty element otherwise). Returns the new element.
  TXmlOutElement AppendElement(const char *name, const QString &text = QString()) const;

  // Appends a chain of elements, each the only child of the one before it, with `text` in the
  // last one. Returns the last element.
  TXmlOutElement AppendElementPath(std::initializer_list<const char *> names, const QString &text = QString()) const;

  void SetAttribute(const char *name, const QString &value) const;

private:
  friend class TXmlOutputDocument;
  explicit TXmlOutElement(void *node) : FNode(node) {}

  void *FNode;
};

// A document to write: the root element declares `namespaceUri` as the default namespace, and
// every element appended below it shares that namespace, so the root carries the file's only
// namespace declaration.
class TXmlOutputDocument {
public:
  TXmlOutputDocument(const char *rootName, const char *namespaceUri);

  TXmlOutElement Root() const { return FRoot; }

  // Writes the document as UTF-8, indented by two spaces per level with LF line ends, and
  // replaces `fileName` in one step: on failure no file appears and an older one stays as it was.
  void Save(const QString &fileName) const;

private:
  TXmlDocument FDocument;
  TXmlOutElement FRoot;
};
