#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A written transfer file read back for assertions: the texts of its elements by local name,
// in document order (an element with children gives its whitespace).
class TTransferFile {
public:
  explicit TTransferFile(const QString &fileName);

  QStringList Texts(const QString &localName) const;
  qsizetype Count(const QString &localName) const { return Texts(localName).size(); }

private:
  struct TElement {
    QString Name;
    QString Text;
  };
  QList<TElement> FElements;
};
