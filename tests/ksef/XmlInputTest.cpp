#include "TestSupport.h"
#include "ksef/XmlInput.h"

#include <QFile>
#include <libxml/tree.h>
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

TEST(XmlInput, MissingFileIsNamed) {
  TTempDir dir;
  EXPECT_THROW_MESSAGE(LoadXmlFile(dir.File(QStringLiteral("brak.xml"))),
                       QStringLiteral("Nie można otworzyć pliku \"brak.xml\": plik nie istnieje."));
}

TEST(XmlInput, MalformedFileNamesTheFileAndTheLine) {
  TTempDir dir;
  dir.WriteBytes(QStringLiteral("zla.xml"), "<?xml version=\"1.0\"?>\n<Faktura>\n  <Fa>\n</Faktura>\n");
  const QString message = MessageOf(dir.File(QStringLiteral("zla.xml")));
  EXPECT_TRUE(message.startsWith(QStringLiteral("Plik \"zla.xml\" nie jest poprawnym plikiem XML (wiersz 4: ")))
      << message.toStdString();
  EXPECT_FALSE(message.contains(dir.Path())) << "the directory is left out";
}

TEST(XmlInput, EmptyFileIsRefused) {
  TTempDir dir;
  dir.WriteBytes(QStringLiteral("pusty.xml"), "");
  EXPECT_TRUE(MessageOf(dir.File(QStringLiteral("pusty.xml")))
                  .startsWith(QStringLiteral("Plik \"pusty.xml\" nie jest poprawnym plikiem XML")));
}

TEST(XmlInput, ParserMessageStaysOnOneLine) {
  TTempDir dir;
  dir.WriteBytes(QStringLiteral("bajty.xml"), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Faktura>\xFF</Faktura>\n");
  const QString message = MessageOf(dir.File(QStringLiteral("bajty.xml")));
  EXPECT_TRUE(message.startsWith(QStringLiteral("Plik \"bajty.xml\" nie jest poprawnym plikiem XML (wiersz 2: ")))
      << message.toStdString();
  EXPECT_FALSE(message.contains(u'\n') || message.contains(u'\r')) << message.toStdString();
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

TEST(XmlInput, EntityExpansionBombIsRefusedWithinBoundedMemory) {
  // Fully expanded, the text below would take about 3 GB.
  QByteArray bomb = "<?xml version=\"1.0\"?>\n<!DOCTYPE lolz [\n<!ENTITY lol0 \"lol\">\n";
  for (int i = 1; i <= 9; ++i)
    bomb += QStringLiteral("<!ENTITY lol%1 \"%2\">\n").arg(i).arg(QStringLiteral("&lol%1;").arg(i - 1).repeated(10)).toUtf8();
  bomb += "]>\n<lolz>&lol9;</lolz>\n";
  TTempDir dir;
  dir.WriteBytes(QStringLiteral("bomba.xml"), bomb);

  const long peakBefore = PeakResidentKilobytes();
  EXPECT_EQ(MessageOf(dir.File(QStringLiteral("bomba.xml"))),
            QStringLiteral("Plik \"bomba.xml\" zawiera deklarację DOCTYPE, której faktura nie może mieć."));
  EXPECT_LT(PeakResidentKilobytes() - peakBefore, 64 * 1024);
}

TEST(XmlInput, ValidFileLoadsWithItsDeclaredEncoding) {
  TTempDir dir;
  dir.WriteBytes(QStringLiteral("fv.xml"), "<?xml version=\"1.0\" encoding=\"windows-1250\"?>\n"
                                           "<f:Faktura xmlns:f=\"urn:x\"><Nazwa>Sp\xF3\xB3ka</Nazwa></f:Faktura>\n");
  const TXmlDocument document = LoadXmlFile(dir.File(QStringLiteral("fv.xml")));
  const xmlNode *root = xmlDocGetRootElement(document.get());
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(LocalName(root), QStringLiteral("Faktura"));
  EXPECT_TRUE(HasLocalName(root, QStringLiteral("FAKTURA")));
  EXPECT_FALSE(HasLocalName(root, QStringLiteral("Faktur")));
  const xmlNode *name = root->children;
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(QString::fromUtf8(reinterpret_cast<const char *>(name->children->content)), QStringLiteral("Spółka"));
}

TEST(XmlInput, LocalNamesIgnoreOnlyAsciiCase) {
  TTempDir dir;
  dir.WriteBytes(QStringLiteral("fv.xml"), "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Kwota\xC5\x81/>");
  const TXmlDocument document = LoadXmlFile(dir.File(QStringLiteral("fv.xml")));
  const xmlNode *root = xmlDocGetRootElement(document.get());
  EXPECT_TRUE(HasLocalName(root, QStringLiteral("kwotaŁ")));
  EXPECT_FALSE(HasLocalName(root, QStringLiteral("kwotał")));
}

} // namespace
