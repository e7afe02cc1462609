#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

// An invoice's XML as a small tree of elements, read with Qt's stream reader: no network, no
// entities beyond XML's own, and a document declaring a DOCTYPE is refused, so a file can
// neither pull in another file nor blow up memory.
struct TXmlNode {
  // The element's name without its namespace prefix.
  QString LocalName;
  // The text directly inside the element (text and CDATA), untrimmed.
  QString Text;
  std::vector<TXmlNode> Children;

  // The first child element named `name` (ASCII case ignored), or nullptr.
  const TXmlNode *Child(const QString &name) const;
  // Every child element named `name`, in document order.
  std::vector<const TXmlNode *> ChildrenNamed(const QString &name) const;
  // The trimmed text of the first child named `name`; empty when there is none.
  QString ChildText(const QString &name) const;
};

// The root element of the document. Fails with one Polish message naming the file (without
// its directory) and, where the reader gives one, the line.
TXmlNode ParseXmlTree(const QByteArray &bytes, const QString &fileName);
