#include "TestSupport.h"

#include "xml/XmlSchema.h"

namespace {

// The schema is read once per test program.
const TXmlSchema &Pain001Schema() {
  static const TXmlSchema schema(LoadXmlFile(SharedPath(QStringLiteral("schemas/pain.001.001.09.xsd"))));
  return schema;
}

} // namespace

::testing::AssertionResult IsValidPain001(const QString &fileName) {
  const TXmlSchema &schema = Pain001Schema();
  QStringList messages;
  try {
    messages = schema.Validate(LoadXmlFile(fileName));
  } catch (const Exception &error) {
    return ::testing::AssertionFailure() << fileName.toStdString()
                                         << " is no well-formed XML file: " << error.Message().toStdString();
  }
  if (!messages.isEmpty())
    return ::testing::AssertionFailure() << fileName.toStdString()
                                         << " breaks the schema: " << messages.join(u'\n').toStdString();
  return ::testing::AssertionSuccess();
}
