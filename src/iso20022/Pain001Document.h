#pragma once

#include "ksef/XmlInput.h"

#include <QString>
#include <initializer_list>
#include <libxml/tree.h>

// A pain.001.001.09 document under construction: the root Document declares the format's
// namespace as the default one, and every element appended below it shares that namespace,
// so the root carries the file's only namespace declaration.
class TPain001Document {
public:
  TPain001Document();

  xmlNode *Root() const { return FRoot; }

  // Writes the document as UTF-8, indented by two spaces per level with LF line ends, and
  // replaces `fileName` in one step: on failure no file appears and an older one stays as it was.
  void Save(const QString &fileName) const;

private:
  TXmlDocument FDoc;
  xmlNode *FRoot = nullptr;
};

// Appends an element in the parent's namespace as its last child, holding `text` when it is
// not empty (an empty element otherwise). Returns the new element.
xmlNode *AppendElement(xmlNode *parent, const char *name, const QString &text = QString());

// Appends a chain of elements, each the only child of the one before it, with `text` in the
// last one. Returns the last element.
xmlNode *AppendElementPath(xmlNode *parent, std::initializer_list<const char *> names,
                           const QString &text = QString());

void SetAttribute(xmlNode *element, const char *name, const QString &value);
