#include "TestSupport.h"
#include "xml/XmlOutputDocument.h"

namespace {

TEST(XmlOutputDocument, SavesUtf8IndentedByTwoSpacesPerLevel) {
  TXmlOutputDocument document("Dokument", "urn:przyklad");
  const TXmlOutElement header = document.Root().AppendElement("Naglowek");
  header.AppendElement("Nazwa", QStringLiteral("Spółka & <Syn> \"A\""));
  header.AppendElement("Pusty");
  document.Root()
      .AppendElementPath({"A", "B", "C"}, QStringLiteral("tekst"))
      .SetAttribute("Ccy", QStringLiteral("PLN"));
  // A control character other than tab and line ends has no place in XML 1.0.
  document.Root().AppendElement("Tytul", QStringLiteral("a\x01"
                                                        "b\tc"));

  TTempDir dir;
  document.Save(dir.File(QStringLiteral("wynik.xml")));
  EXPECT_EQ(dir.ReadBytes(QStringLiteral("wynik.xml")), QByteArray(R"(<?xml version="1.0" encoding="UTF-8"?>
<Dokument xmlns="urn:przyklad">
  <Naglowek>
    <Nazwa>Spółka &amp; &lt;Syn&gt; "A"</Nazwa>
    <Pusty/>
  </Naglowek>
  <A>
    <B>
      <C Ccy="PLN">tekst</C>
    </B>
  </A>
  <Tytul>a b	c</Tytul>
</Dokument>
)"));
}

} // namespace
