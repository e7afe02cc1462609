#include "TestSupport.h"

#include <libxml/parser.h>
#include <libxml/xmlschemas.h>
#include <memory>
#include <string>

namespace {

void CollectError(void *context, xmlErrorPtr error) {
  auto *messages = static_cast<std::string *>(context);
  *messages += "line " + std::to_string(error->line) + ": " + (error->message ? error->message : "?");
}

// The schema is parsed once per test program.
xmlSchemaPtr Pain001Schema() {
  static const std::unique_ptr<xmlSchema, decltype(&xmlSchemaFree)> schema = [] {
    const QByteArray path = SharedPath(QStringLiteral("schemas/pain.001.001.09.xsd")).toLocal8Bit();
    std::unique_ptr<xmlSchemaParserCtxt, decltype(&xmlSchemaFreeParserCtxt)> parser(
        xmlSchemaNewParserCtxt(path.constData()), xmlSchemaFreeParserCtxt);
    return std::unique_ptr<xmlSchema, decltype(&xmlSchemaFree)>(xmlSchemaParse(parser.get()), xmlSchemaFree);
  }();
  if (!schema)
    throw std::runtime_error("Cannot read the pain.001.001.09 schema from the shared folder");
  return schema.get();
}

} // namespace

::testing::AssertionResult IsValidPain001(const QString &fileName) {
  xmlSchemaPtr schema = Pain001Schema();
  const QByteArray path = fileName.toLocal8Bit();
  std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)> doc(xmlReadFile(path.constData(), nullptr, XML_PARSE_NONET),
                                                      xmlFreeDoc);
  if (!doc)
    return ::testing::AssertionFailure() << fileName.toStdString() << " is no well-formed XML file";
  std::unique_ptr<xmlSchemaValidCtxt, decltype(&xmlSchemaFreeValidCtxt)> validator(xmlSchemaNewValidCtxt(schema),
                                                                                   xmlSchemaFreeValidCtxt);
  std::string messages;
  xmlSchemaSetValidStructuredErrors(validator.get(), CollectError,
                                    &messages);
  if (xmlSchemaValidateDoc(validator.get(), doc.get()) != 0)
    return ::testing::AssertionFailure() << fileName.toStdString() << " breaks the schema: " << messages;
  return ::testing::AssertionSuccess();
}
