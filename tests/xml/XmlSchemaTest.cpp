#include "TestSupport.h"
#include "xml/XmlSchema.h"

#include <QBuffer>

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

// Items of a name of one to five characters and a code of two capital letters, each in a
// language of two small letters.
const char *const ItemSchema = R"(<?xml version="1.0"?>
<xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema" xmlns="urn:przyklad" targetNamespace="urn:przyklad"
           elementFormDefault="qualified">
  <xs:element name="Lista">
    <xs:complexType>
      <xs:sequence>
        <xs:element name="Pozycja" maxOccurs="unbounded">
          <xs:complexType>
            <xs:sequence>
              <xs:element name="Nazwa">
                <xs:simpleType>
                  <xs:restriction base="xs:string"><xs:minLength value="1"/><xs:maxLength value="5"/></xs:restriction>
                </xs:simpleType>
              </xs:element>
              <xs:element name="Kod">
                <xs:simpleType><xs:restriction base="xs:string"><xs:pattern value="[A-Z]{2}"/></xs:restriction></xs:simpleType>
              </xs:element>
            </xs:sequence>
            <xs:attribute name="jezyk">
              <xs:simpleType><xs:restriction base="xs:string"><xs:pattern value="[a-z]{2}"/></xs:restriction></xs:simpleType>
            </xs:attribute>
          </xs:complexType>
        </xs:element>
      </xs:sequence>
    </xs:complexType>
  </xs:element>
</xs:schema>
)";

struct TViolationCase {
  TXmlViolationKind Kind;
  QString Path;
  QString Actual;
  QString Allowed;
};

QString PathText(const QList<TXmlStep> &path) {
  QStringList steps;
  for (const TXmlStep &step : path)
    steps.append(QStringLiteral("%1[%2]").arg(step.Name).arg(step.Position));
  return steps.join(u'/');
}

QList<TXmlViolation> ViolationsOf(const TXmlSchema &schema, QByteArray document, const TXmlElementVisitor &visit = {}) {
  QBuffer input(&document);
  input.open(QIODevice::ReadOnly);
  return schema.Violations(input, QStringLiteral("pozycje.xml"), visit);
}

const QByteArray Items = "<p:Lista xmlns:p=\"urn:przyklad\">\n"
                         "  <p:Pozycja jezyk=\"PL\"><p:Nazwa>dobra</p:Nazwa><p:Kod>PL</p:Kod></p:Pozycja>\n"
                         "  <p:Pozycja><p:Nazwa></p:Nazwa><p:Kod>PL</p:Kod></p:Pozycja>\n"
                         "  <p:Pozycja><p:Nazwa>za d&#322;uga</p:Nazwa><p:Kod>pl</p:Kod></p:Pozycja>\n"
                         "  <p:Pozycja><p:Nazwa>bez</p:Nazwa></p:Pozycja>\n"
                         "</p:Lista>\n";

TEST(XmlSchema, NamesTheElementOfEachViolationWithItsPathAndLimits) {
  const TXmlSchema schema(ParseXml(ItemSchema, QStringLiteral("pozycje.xsd")));

  const QList<TXmlViolation> violations = ViolationsOf(schema, Items);

  const TViolationCase expected[] = {
      // An attribute's violation is the element's that carries it.
      {TXmlViolationKind::Pattern, QStringLiteral("Lista[1]/Pozycja[1]"), QStringLiteral("PL"),
       QStringLiteral("[a-z]{2}")},
      {TXmlViolationKind::TooShort, QStringLiteral("Lista[1]/Pozycja[2]/Nazwa[1]"), QStringLiteral("0"),
       QStringLiteral("1")},
      {TXmlViolationKind::TooLong, QStringLiteral("Lista[1]/Pozycja[3]/Nazwa[1]"), QStringLiteral("8"),
       QStringLiteral("5")},
      {TXmlViolationKind::Pattern, QStringLiteral("Lista[1]/Pozycja[3]/Kod[1]"), QStringLiteral("pl"),
       QStringLiteral("[A-Z]{2}")},
      // A missing child is the parent's fault; such a violation carries no values.
      {TXmlViolationKind::Other, QStringLiteral("Lista[1]/Pozycja[4]"), QString(), QString()},
  };
  ASSERT_EQ(violations.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(violations[qsizetype(i)].Kind, expected[i].Kind);
    EXPECT_EQ(PathText(violations[qsizetype(i)].Path), expected[i].Path);
    EXPECT_EQ(violations[qsizetype(i)].Actual, expected[i].Actual);
    EXPECT_EQ(violations[qsizetype(i)].Allowed, expected[i].Allowed);
  }
  EXPECT_EQ(violations[2].Content, QStringLiteral("za długa"));
  EXPECT_EQ(violations[4].Content, QString());
  EXPECT_TRUE(violations[1].Text.startsWith(QStringLiteral("wiersz 3: "))) << violations[1].Text.toStdString();
  EXPECT_TRUE(violations[4].Text.startsWith(QStringLiteral("wiersz 5: "))) << violations[4].Text.toStdString();
}

TEST(XmlSchema, AVisitorSeesEachElementAsItEndsWithItsPlaceAndText) {
  const TXmlSchema schema(ParseXml(ItemSchema, QStringLiteral("pozycje.xsd")));
  QStringList seen;
  ViolationsOf(schema, Items, [&](const TXmlStreamElement &element) {
    if (element.EndsWith({"Pozycja", "Nazwa"}))
      seen.append(QStringLiteral("%1:%2").arg(element.PositionOf("Pozycja")).arg(element.Text()));
    else if (element.EndsWith({"Lista", "Pozycja"}))
      seen.append(QStringLiteral("Pozycja %1 „%2”").arg(element.PositionOf("Pozycja")).arg(element.Text()));
    EXPECT_FALSE(element.EndsWith({"Pozycja", "Kod", "Nazwa"}));
    EXPECT_EQ(element.PositionOf("Brak"), 0);
  });
  EXPECT_EQ(seen,
            QStringList({QStringLiteral("1:dobra"), QStringLiteral("Pozycja 1 „”"), QStringLiteral("2:"),
                         QStringLiteral("Pozycja 2 „”"), QStringLiteral("3:za długa"), QStringLiteral("Pozycja 3 „”"),
                         QStringLiteral("4:bez"), QStringLiteral("Pozycja 4 „”")}));
}

TEST(XmlSchema, AStreamThatIsNoGoodXmlFailsLikeAFileLoadedWhole) {
  const TXmlSchema schema(ParseXml(ItemSchema, QStringLiteral("pozycje.xsd")));
  EXPECT_THROW_MESSAGE(ViolationsOf(schema, "<p:Lista xmlns:p=\"urn:przyklad\">\n<p:Pozycja>\n</p:Lista>\n"),
                       QStringLiteral("Plik \"pozycje.xml\" nie jest poprawnym plikiem XML (wiersz 3: Opening and "
                                      "ending tag mismatch: Pozycja line 2 and Lista)."));
  EXPECT_THROW_MESSAGE(
      ViolationsOf(schema, "<!DOCTYPE Lista [<!ENTITY a \"b\">]><Lista/>"),
      QStringLiteral("Plik \"pozycje.xml\" zawiera deklarację DOCTYPE, której faktura nie może mieć."));
  // A visitor's failure ends the reading and comes out as it was.
  EXPECT_THROW_MESSAGE(ViolationsOf(schema, Items, [](const TXmlStreamElement &) { throw Exception("stop"); }),
                       QStringLiteral("stop"));
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
