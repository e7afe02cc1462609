#include "PdfTestSupport.h"

#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

namespace {

QGuiApplication *Application = nullptr;

// The application lives from before the first test to after the last, and goes before Qt's own
// global objects do; its end also frees what the font configuration holds.
class TGuiApplicationEnvironment : public ::testing::Environment {
public:
  void SetUp() override { EnsureGuiApplication(); }
  void TearDown() override {
    delete Application;
    Application = nullptr;
  }
};

[[maybe_unused]] ::testing::Environment *const Registered =
    ::testing::AddGlobalTestEnvironment(new TGuiApplicationEnvironment);

} // namespace

void EnsureGuiApplication() {
  static int argc = 1;
  static char name[] = "pavena_pdf_tests";
  static char *argv[] = {name, nullptr};
  if (!Application)
    Application = new QGuiApplication(argc, argv);
}

QByteArray SampleInvoice(const QString &name) {
  QFile file(SharedPath(QStringLiteral("ksef/samples/") + name));
  if (!file.open(QIODevice::ReadOnly))
    throw std::runtime_error("Missing sample " + name.toStdString());
  return file.readAll();
}

QStringList SampleInvoiceNames() {
  return QDir(SharedPath(QStringLiteral("ksef/samples"))).entryList({QStringLiteral("*.xml")}, QDir::Files, QDir::Name);
}

QString QrCodesOnPage(const QString &pdfFile, int page) {
  QTemporaryDir dir;
  const QString prefix = dir.filePath(QStringLiteral("page"));
  ToolOutput(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("150"),
                                          QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                                          QString::number(page), QStringLiteral("-singlefile"), pdfFile, prefix});
  return ToolOutput(QStringLiteral("zbarimg"),
                    {QStringLiteral("-q"), QStringLiteral("--raw"), prefix + QStringLiteral(".png")})
      .trimmed();
}

QByteArray MinimalInvoice(int lines, const QString &extraFa) {
  QString rows;
  for (int i = 1; i <= lines; ++i)
    rows += QStringLiteral("<FaWiersz><NrWierszaFa>%1</NrWierszaFa><P_7>Usługa numer %1</P_7><P_8A>szt.</P_8A>"
                           "<P_8B>1</P_8B><P_9A>100</P_9A><P_11>100</P_11><P_12>23</P_12></FaWiersz>")
                .arg(i);
  return QStringLiteral(
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
             "<Faktura xmlns=\"http://crd.gov.pl/wzor/2025/06/25/13775/\">"
             "<Naglowek><KodFormularza kodSystemowy=\"FA (3)\" wersjaSchemy=\"1-0E\">FA</KodFormularza>"
             "<WariantFormularza>3</WariantFormularza><SystemInfo>Program</SystemInfo></Naglowek>"
             "<Podmiot1><DaneIdentyfikacyjne><NIP>5265877635</NIP><Nazwa>Żółta Łódź sp. z o.o.</Nazwa>"
             "</DaneIdentyfikacyjne><Adres><KodKraju>PL</KodKraju><AdresL1>ul. Ślężna 5</AdresL1></Adres></Podmiot1>"
             "<Podmiot2><DaneIdentyfikacyjne><NIP>1111111111</NIP><Nazwa>Nabywca S.A.</Nazwa></DaneIdentyfikacyjne>"
             "</Podmiot2>"
             "<Fa><KodWaluty>PLN</KodWaluty><P_1>2026-02-01</P_1><P_2>FV/7/2026</P_2>"
             "<P_13_1>%1</P_13_1><P_14_1>%2</P_14_1><P_15>%3</P_15>%4<RodzajFaktury>VAT</RodzajFaktury>%5</Fa>"
             "</Faktura>\n")
      .arg(QString::number(lines * 100) + QStringLiteral(".00"), QString::number(lines * 23) + QStringLiteral(".00"),
           QString::number(lines * 123) + QStringLiteral(".00"), extraFa, rows)
      .toUtf8();
}
