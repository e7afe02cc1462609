#include "TestSupport.h"
#include "xml/XmlSchema.h"

namespace {

// A list of at least one amount; the amount's type comes from `typeName`, which a file
// schema may take from a schema it includes.
QByteArray ListSchema(const char *include, const char *typeName) {
  return QByteArray(R"(<?xml version="1.0"?>
<xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema" xmlns="urn:przyklad" targetNamespace="urn:przyklad"
           elementFormDefault="qualified">)") +
         include + R"(
  <xs:element name="Lista">
    <xs:complexType>
      <xs:sequence>
        <xs:element name="Kwota" type=")" +
         typeName + R"(" maxOccurs="unbounded"/>
      </xs:sequence>
    </xs:complexType>
  </xs:element>
</xs:schema>
)";
}

const char *const ValidList = "<Lista xmlns=\"urn:przyklad\"><Kwota>1.50</Kwota><Kwota>2</Kwota></Lista>";
const char *const InvalidList = "<Lista xmlns=\"urn:przyklad\">\n"
                                "  <Kwota>dwa</Kwota>\n"
                                "  <Kwota>2</Kwota>\n"
                                "  <Suma>2</Suma>\n"
                                "</Lista>\n";

QStringList Validate(const TXmlSchema &schema, const char *xml) {
  return schema.Validate(ParseXml(xml, QStringLiteral("lista.xml")));
}

TEST(XmlSchema, GivesOneLineWithItsLineNumberForEachViolation) {
  const TXmlSchema schema(ParseXml(ListSchema("", "xs:decimal"), QStringLiteral("lista.xsd")));
  EXPECT_EQ(Validate(schema, ValidList), QStringList());
  const QStringList messages = Validate(schema, InvalidList);
  ASSERT_EQ(messages.size(), 2) << messages.join(u'\n').toStdString();
  EXPECT_TRUE(messages[0].startsWith(QStringLiteral("wiersz 2: "))) << messages[0].toStdString();
  EXPECT_TRUE(messages[1].startsWith(QStringLiteral("wiersz 4: "))) << messages[1].toStdString();
  EXPECT_FALSE(messages.join(QString()).contains(u'\n'));
}

TEST(XmlSchema, ASchemaFileFindsTheSchemasItIncludesBesideIt) {
  TTempDir dir;
  dir.WriteBytes(QStringLiteral("typy.xsd"),
                 R"(<xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema" targetNamespace="urn:przyklad">
  <xs:simpleType name="TKwota"><xs:restriction base="xs:decimal"/></xs:simpleType>
</xs:schema>
)");
  dir.WriteBytes(QStringLiteral("lista.xsd"), ListSchema("\n  <xs:include schemaLocation=\"typy.xsd\"/>", "TKwota"));
  const TXmlSchema schema(LoadXmlFile(dir.File(QStringLiteral("lista.xsd"))));
  EXPECT_EQ(Validate(schema, ValidList), QStringList());
  EXPECT_EQ(Validate(schema, InvalidList).size(), 2);
}

TEST(XmlSchema, ADocumentThatIsNoSchemaFails) {
  const auto messageOf = [](const QByteArray &xsd) {
    try {
      TXmlSchema schema(ParseXml(xsd, QStringLiteral("lista.xsd")));
    } catch (const Exception &error) {
      return error.Message();
    }
    return QStringLiteral("no Exception");
  };
  for (const QString &message : {messageOf("<Lista/>"), messageOf(ListSchema("", "TNieznany"))})
    EXPECT_TRUE(message.startsWith(QStringLiteral("Schemat XSD jest niepoprawny ("))) << message.toStdString();
}

} // namespace
