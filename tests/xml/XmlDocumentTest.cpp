#include "TestSupport.h"
#include "xml/XmlDocument.h"

#include <QFile>
#include <sys/resource.h>

namespace {

QString MessageOf(const QString &fileName) {
  try {
    LoadXmlFile(fileName);
  } catch (const Exception &error) {
    return error.Message();
  }
  ADD_FAILURE() << "Expected an Exception for " << fileName.toStdString();
  return QString();
}

QByteArray PasswdStart() {
  QFile passwd(QStringLiteral("/etc/passwd"));
  if (!passwd.open(QIODevice::ReadOnly))
    return QByteArray();
  return passwd.readLine().trimmed();
}

long PeakResidentKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

TEST(LoadXmlFile, MissingFileIsNamed) {
  TTempDir dir;
  EXPECT_THROW_MESSAGE(LoadXmlFile(dir.File(QStringLiteral("brak.xml"))),
                       QStringLiteral("Nie można otworzyć pliku \"brak.xml\": plik nie istnieje."));
}

TEST(LoadXmlFile, AFolderIsCalledAFolder) {
  TTempDir dir;
  ASSERT_TRUE(QDir(dir.Path()).mkdir(QStringLiteral("faktura.xml")));
  EXPECT_THROW_MESSAGE(LoadXmlFile(dir.File(QStringLiteral("faktura.xml"))),
                       QStringLiteral("Nie można otworzyć pliku \"faktura.xml\": to jest folder, a nie plik."));
}

TEST(LoadXmlFile, MalformedFileIsNamedWithoutItsDirectoryInOneLine) {
  const struct {
    const char *Name;
    QByteArray Bytes;
    QString MessageStart;
  } cases[] = {
      {"zla.xml", "<?xml version=\"1.0\"?>\n<Faktura>\n  <Fa>\n</Faktura>\n",
       QStringLiteral("Plik \"zla.xml\" nie jest poprawnym plikiem XML (wiersz 4: ")},
      // libxml2 puts the offending bytes on a line of their own.
      {"bajty.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Faktura>\xFF</Faktura>\n",
       QStringLiteral("Plik \"bajty.xml\" nie jest poprawnym plikiem XML (wiersz 2: ")},
      {"pusty.xml", "", QStringLiteral("Plik \"pusty.xml\" nie jest poprawnym plikiem XML")},
      // Bytes that windows-1250 leaves undefined: the message names them, not what they cut short.
      {"cp1250.xml", "<?xml version=\"1.0\" encoding=\"windows-1250\"?>\n<Faktura>\x81\x83\x98</Faktura>\n",
       QStringLiteral("Plik \"cp1250.xml\" nie jest poprawnym plikiem XML (input conversion failed due to input error, "
                      "bytes 0x81 0x83 0x98 0x3C")},
  };
  for (const auto &row : cases) {
    SCOPED_TRACE(row.Name);
    TTempDir dir;
    const QString name = QString::fromUtf8(row.Name);
    dir.WriteBytes(name, row.Bytes);
    testing::internal::CaptureStderr();
    const QString message = MessageOf(dir.File(name));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "nothing goes past the message";
    EXPECT_TRUE(message.startsWith(row.MessageStart)) << message.toStdString();
    EXPECT_FALSE(message.contains(dir.Path())) << "the directory is left out";
    EXPECT_FALSE(message.contains(u'\n') || message.contains(u'\r')) << message.toStdString();
  }
}

class ExternalReference : public ::testing::TestWithParam<const char *> {};

TEST_P(ExternalReference, IsNeverRead) {
  const QByteArray passwd = PasswdStart();
  ASSERT_FALSE(passwd.isEmpty()) << "the test needs /etc/passwd to look for";
  TTempDir dir;
  dir.WriteBytes(QStringLiteral("xxe.xml"), QByteArray("<?xml version=\"1.0\"?>\n") + GetParam());
  const QString message = MessageOf(dir.File(QStringLiteral("xxe.xml")));
  EXPECT_EQ(message, QStringLiteral("Plik \"xxe.xml\" zawiera deklarację DOCTYPE, której faktura nie może mieć."));
  EXPECT_FALSE(message.contains(QString::fromUtf8(passwd)));
}

INSTANTIATE_TEST_SUITE_P(
    Documents, ExternalReference,
    ::testing::Values("<!DOCTYPE Faktura [<!ENTITY xxe SYSTEM \"file:///etc/passwd\">]>\n"
                      "<Faktura><Nazwa>&xxe;</Nazwa></Faktura>\n",
                      "<!DOCTYPE Faktura SYSTEM \"/etc/passwd\">\n<Faktura/>\n",
                      "<!DOCTYPE Faktura [<!ENTITY % p SYSTEM \"file:///etc/passwd\"> %p;]>\n<Faktura/>\n"));

TEST(LoadXmlFile, EntityExpansionBombIsRefusedWithinBoundedMemory) {
  // Fully expanded, the text below would take about 3 GB.
  QByteArray bomb = "<?xml version=\"1.0\"?>\n<!DOCTYPE lolz [\n<!ENTITY lol0 \"lol\">\n";
  for (int i = 1; i <= 9; ++i)
    bomb += QStringLiteral("<!ENTITY lol%1 \"%2\">\n")
                .arg(i)
                .arg(QStringLiteral("&lol%1;").arg(i - 1).repeated(10))
                .toUtf8();
  bomb += "]>\n<lolz>&lol9;</lolz>\n";
  TTempDir dir;
  dir.WriteBytes(QStringLiteral("bomba.xml"), bomb);

  const long peakBefore = PeakResidentKilobytes();
  EXPECT_EQ(MessageOf(dir.File(QStringLiteral("bomba.xml"))),
            QStringLiteral("Plik \"bomba.xml\" zawiera deklarację DOCTYPE, której faktura nie może mieć."));
  EXPECT_LT(PeakResidentKilobytes() - peakBefore, 64 * 1024);
}

TEST(LoadXmlFile, ValidFileLoadsWithItsDeclaredEncoding) {
  TTempDir dir;
  dir.WriteBytes(QStringLiteral("fv.xml"), "<?xml version=\"1.0\" encoding=\"windows-1250\"?>\n"
                                           "<f:Faktura xmlns:f=\"urn:x\"><Nazwa>Sp\xF3\xB3ka</Nazwa></f:Faktura>\n");
  const TXmlDocument document = LoadXmlFile(dir.File(QStringLiteral("fv.xml")));
  EXPECT_EQ(document.Root().LocalName(), QStringLiteral("Faktura"));
  EXPECT_EQ(document.Root().FirstChild(QStringLiteral("Nazwa")).SingleText(), QStringLiteral("Spółka"));
}

// Bytes already in memory pass the same checks; the messages name them as the caller says.
TEST(ParseXml, ReadsBytesUnderTheGivenName) {
  EXPECT_EQ(ParseXml("<F><G/></F>", QStringLiteral("/tmp/wyjscie.xml")).Root().LocalName(), QStringLiteral("F"));
  EXPECT_THROW_MESSAGE(
      ParseXml("<!DOCTYPE F SYSTEM \"/etc/passwd\">\n<F/>\n", QStringLiteral("/tmp/wyjscie.xml")),
      QStringLiteral("Plik \"wyjscie.xml\" zawiera deklarację DOCTYPE, której faktura nie może mieć."));
}

// What reading a file gives: the root's name and its first child's text, or the error.
template <typename Load> QString Outcome(Load load, const QString &fileName) {
  try {
    const TXmlDocument document = load(fileName);
    const TXmlElement root = document.Root();
    return root.LocalName() + u'/' + root.Children().value(0).SingleText();
  } catch (const Exception &error) {
    return QStringLiteral("Błąd: ") + error.Message();
  }
}

TEST(XmlParser, ReadsDocumentAfterDocumentAsAFreshParserWould) {
  TTempDir dir;
  dir.WriteBytes(QStringLiteral("a.xml"), "<F><A>1</A></F>");
  dir.WriteBytes(QStringLiteral("zla.xml"), "<F>\n<A></F>");
  dir.WriteBytes(QStringLiteral("dtd.xml"), "<!DOCTYPE F SYSTEM \"/etc/passwd\">\n<F/>\n");
  dir.WriteBytes(QStringLiteral("b.xml"),
                 "<?xml version=\"1.0\" encoding=\"windows-1250\"?>\n<G><B>Sp\xF3\xB3ka</B></G>");
  const QStringList order = {QStringLiteral("a.xml"),   QStringLiteral("zla.xml"), QStringLiteral("a.xml"),
                             QStringLiteral("dtd.xml"), QStringLiteral("b.xml"),   QStringLiteral("brak.xml"),
                             QStringLiteral("a.xml")};
  ASSERT_EQ(Outcome(LoadXmlFile, dir.File(QStringLiteral("a.xml"))), QStringLiteral("F/1"));
  ASSERT_EQ(Outcome(LoadXmlFile, dir.File(QStringLiteral("b.xml"))), QStringLiteral("G/Spółka"));
  TXmlDocument kept = LoadXmlFile(dir.File(QStringLiteral("a.xml")));
  {
    TXmlParser parser;
    for (const QString &name : order) {
      SCOPED_TRACE(name.toStdString());
      const QString fileName = dir.File(name);
      EXPECT_EQ(Outcome([&](const QString &file) { return parser.Load(file); }, fileName),
                Outcome(LoadXmlFile, fileName));
    }
    kept = parser.Load(dir.File(QStringLiteral("b.xml")));
  }
  EXPECT_EQ(kept.Root().FirstChild(QStringLiteral("B")).SingleText(), QStringLiteral("Spółka"))
      << "a document outlives its parser";
}

} // namespace
