#include "checks/Pain001Schema.h"

#include "model/Exception.h"

#include <QFile>

namespace {

TXmlDocument EmbeddedSchema() {
  QFile file(QStringLiteral(":/schemas/pain.001.001.09.xsd"));
  if (!file.open(QIODevice::ReadOnly))
    throw Exception(QStringLiteral("Program nie zawiera schematu pain.001.001.09."));
  return ParseXml(file.readAll(), file.fileName());
}

} // namespace

const TXmlSchema &Pain001Schema() {
  static const TXmlSchema schema(EmbeddedSchema());
  return schema;
}
