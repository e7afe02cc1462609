#include "TestSupport.h"
#include "xml/XmlDocument.h"

namespace {

TXmlDocument Parse(const char *xml) { return ParseXml(xml, QStringLiteral("test.xml")); }

QStringList Ids(const QList<TXmlElement> &elements) {
  QStringList ids;
  for (const TXmlElement &element : elements)
    ids.append(element.Attribute("id"));
  return ids;
}

struct TNameCase {
  const char *Xml;
  const char *Name;
  bool Found;
};

void PrintTo(const TNameCase &row, std::ostream *os) { *os << row.Xml << " / " << row.Name; }

class FirstChild : public ::testing::TestWithParam<TNameCase> {};

TEST_P(FirstChild, MatchesTheLocalNameIgnoringAsciiCase) {
  const TXmlDocument document = Parse(GetParam().Xml);
  EXPECT_EQ(!document.Root().FirstChild(QString::fromUtf8(GetParam().Name)).IsNull(), GetParam().Found);
}

INSTANTIATE_TEST_SUITE_P(Names, FirstChild,
                         ::testing::Values(TNameCase{"<F xmlns:f=\"urn:x\"><f:Nazwa/></F>", "Nazwa", true},
                                           // An undeclared prefix, which libxml2 keeps in the name, too.
                                           TNameCase{"<F><x:Nazwa/></F>", "Nazwa", true},
                                           TNameCase{"<F><NAZWA/></F>", "nazwa", true},
                                           TNameCase{"<F><Kwota\xC5\x81/></F>", "kwota\xC5\x81", true},
                                           TNameCase{"<F><Kwota\xC5\x81/></F>", "kwota\xC5\x82", false},
                                           TNameCase{"<F><Nazwa/></F>", "Nazw", false},
                                           TNameCase{"<F><Nazwa/></F>", "Nazwaa", false},
                                           TNameCase{"<F><Kwota/></F>", "kwota\xC5\x81", false},
                                           // Grandchildren are not children.
                                           TNameCase{"<F><G><Nazwa/></G></F>", "Nazwa", false}));

TEST(XmlElement, ChildrenAreTheElementsInDocumentOrder) {
  const TXmlDocument document =
      Parse("<F>tekst<a id=\"1\"/><!-- uwaga --><B id=\"2\"/><A id=\"3\"><a id=\"4\"/></A></F>");
  const TXmlElement root = document.Root();
  EXPECT_EQ(Ids(root.Children()), (QStringList{"1", "2", "3"}));
  EXPECT_EQ(Ids(root.Children(QStringLiteral("a"))), (QStringList{"1", "3"}));
  EXPECT_EQ(root.FirstChild(QStringLiteral("A")).Attribute("id"), QStringLiteral("1"));
  EXPECT_EQ(root.Attribute("id"), QString());
}

TEST(XmlElement, FindFirstTestsAnElementBeforeItsChildren) {
  const TXmlDocument document = Parse("<a id=\"1\"><b id=\"2\"><c id=\"3\"/></b><c id=\"4\"/></a>");
  const TXmlElement root = document.Root();
  EXPECT_EQ(root.FindFirst(QStringLiteral("A")).Attribute("id"), QStringLiteral("1"));
  EXPECT_EQ(root.FindFirst(QStringLiteral("c")).Attribute("id"), QStringLiteral("3"));
  EXPECT_TRUE(root.FindFirst(QStringLiteral("d")).IsNull());
}

TEST(XmlElement, ANullElementFindsNothingAndHasNoText) {
  const TXmlDocument document = Parse("<F><G id=\"1\">tekst</G></F>");
  const TXmlElement missing = document.Root().FirstChild(QStringLiteral("H"));
  ASSERT_TRUE(missing.IsNull());
  EXPECT_TRUE(missing.FirstChild(QStringLiteral("G")).IsNull());
  EXPECT_TRUE(missing.FindFirst(QStringLiteral("G")).IsNull());
  EXPECT_TRUE(missing.Children().isEmpty());
  EXPECT_EQ(missing.LocalName(), QString());
  EXPECT_EQ(missing.SingleText(), QString());
  EXPECT_EQ(missing.TextContent(), QString());
  EXPECT_EQ(missing.Attribute("id"), QString());
}

struct TTextCase {
  const char *Xml;
  QString Expected;
};

class SingleText : public ::testing::TestWithParam<TTextCase> {};

TEST_P(SingleText, IsTheOnlyTextNodeUntrimmed) {
  const TXmlDocument document = Parse(GetParam().Xml);
  EXPECT_EQ(document.Root().SingleText(), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Texts, SingleText,
                         ::testing::Values(TTextCase{"<F> a &amp; b </F>", QStringLiteral(" a & b ")},
                                           TTextCase{"<F><![CDATA[a<b]]></F>", QStringLiteral("a<b")},
                                           TTextCase{"<F/>", QString()}));

TEST(XmlElement, SingleTextRefusesAnythingButOneTextNode) {
  EXPECT_THROW_MESSAGE(Parse("<F>a<!-- uwaga -->b</F>").Root().SingleText(),
                       QStringLiteral("Element \"F\" does not contain a single text node"));
  EXPECT_THROW_MESSAGE(Parse("<p:F xmlns:p=\"urn:x\"><G/></p:F>").Root().SingleText(),
                       QStringLiteral("Element \"p:F\" does not contain a single text node"));
}

} // namespace
