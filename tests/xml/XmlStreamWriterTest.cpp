#include "TestSupport.h"
#include "xml/XmlStreamWriter.h"

#include <QDir>
#include <stdexcept>

namespace {

// The pieces a writer hands to its sink, joined.
struct TCollected {
  QByteArray Bytes;
  int Pieces = 0;
  TXmlStreamWriter::TSink Sink() {
    return [this](QByteArrayView bytes) {
      Bytes.append(bytes);
      ++Pieces;
    };
  }
};

// The expected bytes are what libxml2's serialiser (xmlDocDumpFormatMemoryEnc, format 1) wrote
// for the same document built as a tree, which is what the bank files have always looked like.
TEST(XmlStreamWriter, WritesLibxml2sIndentedLayoutAndEscaping) {
  TCollected out;
  TXmlStreamWriter writer(out.Sink(), "Dokument", "urn:przyklad");
  writer.StartElement("Naglowek");
  writer.TextElement("Nazwa", QStringLiteral("Spółka & <Syn> \"A\""));
  writer.StartElement("Pusty");
  writer.EndElement();
  writer.EndElement();
  writer.StartElement("A");
  writer.StartElement("B");
  writer.TextElement("C", QStringLiteral("tekst"), "Ccy", QStringLiteral("PLN"));
  writer.EndElement();
  writer.EndElement();
  // A control character other than tab and line ends has no place in XML 1.0.
  writer.TextElement("Tytul", QStringLiteral("a\x01"
                                             "b\tc\r\nd"));
  writer.TextElement("Kwota", QStringLiteral("1.00"), "Ccy", QStringLiteral("\"zł\" <&>\t\r\n"));
  writer.TextElement("Bez", QString());
  writer.Finish();

  EXPECT_EQ(out.Bytes, QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                  "<Dokument xmlns=\"urn:przyklad\">\n"
                                  "  <Naglowek>\n"
                                  "    <Nazwa>Spółka &amp; &lt;Syn&gt; \"A\"</Nazwa>\n"
                                  "    <Pusty/>\n"
                                  "  </Naglowek>\n"
                                  "  <A>\n"
                                  "    <B>\n"
                                  "      <C Ccy=\"PLN\">tekst</C>\n"
                                  "    </B>\n"
                                  "  </A>\n"
                                  "  <Tytul>a b\tc&#13;\nd</Tytul>\n"
                                  "  <Kwota Ccy=\"&quot;zł&quot; &lt;&amp;&gt;&#9;&#13;&#10;\">1.00</Kwota>\n"
                                  "  <Bez/>\n"
                                  "</Dokument>\n"));
}

TEST(XmlStreamWriter, PathAndFinishCloseWhatIsOpen) {
  TCollected out;
  TXmlStreamWriter writer(out.Sink(), "Dokument", "urn:przyklad");
  writer.StartElement("Blok");
  writer.TextElementPath({"A", "B", "C"}, QStringLiteral("x"));
  writer.StartElement("Pusty");
  writer.Finish();
  EXPECT_EQ(out.Bytes, QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                  "<Dokument xmlns=\"urn:przyklad\">\n"
                                  "  <Blok>\n"
                                  "    <A>\n"
                                  "      <B>\n"
                                  "        <C>x</C>\n"
                                  "      </B>\n"
                                  "    </A>\n"
                                  "    <Pusty/>\n"
                                  "  </Blok>\n"
                                  "</Dokument>\n"));
}

TEST(XmlStreamWriter, ADocumentWithoutContentIsAnEmptyRoot) {
  TCollected out;
  TXmlStreamWriter(out.Sink(), "Dokument", "urn:przyklad").Finish();
  EXPECT_EQ(out.Bytes, QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Dokument xmlns=\"urn:przyklad\"/>\n"));
}

TEST(XmlStreamWriter, ALargeDocumentGoesToTheSinkInPiecesAsItIsWritten) {
  TCollected out;
  TXmlStreamWriter writer(out.Sink(), "D", "urn:x");
  QByteArray expected("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<D xmlns=\"urn:x\">\n");
  for (int i = 0; i < 20000; ++i) {
    writer.TextElement("Nr", QString::number(i));
    expected += "  <Nr>" + QByteArray::number(i) + "</Nr>\n";
  }
  const int piecesBeforeFinish = out.Pieces;
  writer.Finish();
  expected += "</D>\n";
  EXPECT_GT(piecesBeforeFinish, 1) << "the writer holds no more than a piece";
  EXPECT_EQ(out.Bytes, expected);
}

TEST(WriteXmlFile, ReplacesTheFileOrLeavesItWhenTheContentFails) {
  TTempDir dir;
  const QString target = dir.File(QStringLiteral("wynik.xml"));
  dir.WriteBytes(QStringLiteral("wynik.xml"), "stary");
  EXPECT_THROW(WriteXmlFile(target, "D", "urn:x",
                            [](TXmlStreamWriter &writer) {
                              writer.TextElement("A", QStringLiteral("1"));
                              throw std::runtime_error("przerwane");
                            }),
               std::runtime_error);
  EXPECT_EQ(dir.ReadBytes(QStringLiteral("wynik.xml")), QByteArray("stary"));
  EXPECT_EQ(QDir(dir.Path()).entryList(QDir::Files), QStringList{QStringLiteral("wynik.xml")}) << "no temporary left";

  WriteXmlFile(target, "D", "urn:x", [](TXmlStreamWriter &writer) { writer.TextElement("A", QStringLiteral("1")); });
  EXPECT_EQ(dir.ReadBytes(QStringLiteral("wynik.xml")),
            QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<D xmlns=\"urn:x\">\n  <A>1</A>\n</D>\n"));
}

} // namespace
