#include "Pain001View.h"

#include <libxml/parser.h>
#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>
#include <stdexcept>

namespace {

const xmlChar *XmlText(const char *text) { return reinterpret_cast<const xmlChar *>(text); }

QString FromXml(xmlChar *text) {
  const QString result = QString::fromUtf8(reinterpret_cast<const char *>(text));
  xmlFree(text);
  return result;
}

QString XPathOf(const QString &path) {
  QString xpath = QStringLiteral("/p:Document/p:CstmrCdtTrfInitn");
  if (!path.isEmpty())
    for (const QString &step : path.split(u'/'))
      xpath += QStringLiteral("/p:") + step;
  return xpath;
}

} // namespace

TPain001View::TPain001View(const QString &fileName)
    : FDoc(xmlReadFile(fileName.toUtf8().constData(), nullptr, XML_PARSE_NONET)) {
  if (!FDoc)
    throw std::runtime_error("Cannot parse " + fileName.toStdString());
}

QList<xmlNode *> TPain001View::Elements(const QString &path) const {
  std::unique_ptr<xmlXPathContext, decltype(&xmlXPathFreeContext)> context(xmlXPathNewContext(FDoc.get()),
                                                                         xmlXPathFreeContext);
  xmlXPathRegisterNs(context.get(), XmlText("p"), XmlText("urn:iso:std:iso:20022:tech:xsd:pain.001.001.09"));
  std::unique_ptr<xmlXPathObject, decltype(&xmlXPathFreeObject)> result(
      xmlXPathEvalExpression(XmlText(XPathOf(path).toUtf8().constData()), context.get()), xmlXPathFreeObject);
  if (!result)
    throw std::runtime_error("Bad path " + path.toStdString());
  QList<xmlNode *> elements;
  if (result->nodesetval)
    for (int i = 0; i < result->nodesetval->nodeNr; ++i)
      elements.append(result->nodesetval->nodeTab[i]);
  return elements;
}

xmlNode *TPain001View::Single(const QString &path) const {
  const QList<xmlNode *> elements = Elements(path);
  return elements.size() == 1 ? elements.front() : nullptr;
}

int TPain001View::Count(const QString &path) const { return int(Elements(path).size()); }

QString TPain001View::Text(const QString &path) const {
  const QList<xmlNode *> elements = Elements(path);
  if (elements.size() != 1)
    return QStringLiteral("<%1 elements>").arg(elements.size());
  return FromXml(xmlNodeGetContent(elements.front()));
}

QStringList TPain001View::Texts(const QString &path) const {
  QStringList texts;
  for (xmlNode *element : Elements(path))
    texts.append(FromXml(xmlNodeGetContent(element)));
  return texts;
}

QStringList TPain001View::ChildNames(const QString &path) const {
  QStringList names;
  if (xmlNode *element = Single(path))
    for (xmlNode *child = element->children; child; child = child->next)
      if (child->type == XML_ELEMENT_NODE)
        names.append(QString::fromUtf8(reinterpret_cast<const char *>(child->name)));
  return names;
}

QString TPain001View::Attribute(const QString &path, const char *name) const {
  xmlNode *element = Single(path);
  return element ? FromXml(xmlGetProp(element, XmlText(name))) : QStringLiteral("<no single element>");
}
