#include "Pain001View.h"

#include <QRegularExpression>
#include <stdexcept>

namespace {

// The children of `parent` that one step of a path names.
QList<TXmlElement> Step(const TXmlElement &parent, const QString &step) {
  static const QRegularExpression pattern(QStringLiteral("^([^\\[]+)(?:\\[([1-9][0-9]*)\\])?$"));
  const QRegularExpressionMatch match = pattern.match(step);
  if (!match.hasMatch())
    throw std::runtime_error("Bad path step " + step.toStdString());
  const QString name = match.captured(1);
  QList<TXmlElement> named;
  for (const TXmlElement &child : parent.Children())
    if (name == u'*' || child.LocalName() == name)
      named.append(child);
  if (match.hasCaptured(2)) {
    const qsizetype position = match.captured(2).toInt();
    return position <= named.size() ? QList<TXmlElement>{named[position - 1]} : QList<TXmlElement>();
  }
  return named;
}

} // namespace

TPain001View::TPain001View(const QString &fileName) : FDoc(LoadXmlFile(fileName)) {}

QList<TXmlElement> TPain001View::Elements(const QString &path) const {
  const TXmlElement root = FDoc.Root();
  QList<TXmlElement> elements;
  if (root.LocalName() == QStringLiteral("Document"))
    elements.append(root);
  QStringList steps{QStringLiteral("CstmrCdtTrfInitn")};
  if (!path.isEmpty())
    steps += path.split(u'/');
  for (const QString &step : steps) {
    QList<TXmlElement> next;
    for (const TXmlElement &element : elements)
      next += Step(element, step);
    elements = next;
  }
  return elements;
}

TXmlElement TPain001View::Single(const QString &path) const {
  const QList<TXmlElement> elements = Elements(path);
  return elements.size() == 1 ? elements.front() : TXmlElement();
}

int TPain001View::Count(const QString &path) const { return int(Elements(path).size()); }

QString TPain001View::Text(const QString &path) const {
  const QList<TXmlElement> elements = Elements(path);
  if (elements.size() != 1)
    return QStringLiteral("<%1 elements>").arg(elements.size());
  return elements.front().TextContent();
}

QStringList TPain001View::Texts(const QString &path) const {
  QStringList texts;
  for (const TXmlElement &element : Elements(path))
    texts.append(element.TextContent());
  return texts;
}

QStringList TPain001View::ChildNames(const QString &path) const {
  QStringList names;
  for (const TXmlElement &child : Single(path).Children())
    names.append(child.LocalName());
  return names;
}

QString TPain001View::Attribute(const QString &path, const char *name) const {
  const TXmlElement element = Single(path);
  return element.IsNull() ? QStringLiteral("<no single element>") : element.Attribute(name);
}
