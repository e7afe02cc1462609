#include "CommandTest.h"
#include "SmallDisk.h"
#include "app/commands/InvoicePdfPreview.h"

#include <QDir>
#include <QFile>
#include <QThread>

namespace {

const QString QrBase = QStringLiteral(PAVENA_KSEF_QR_BASE);

QByteArray InvoiceWithSystemInfo(const QString &systemInfo) {
  return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                        "<Faktura><Naglowek><SystemInfo>%1</SystemInfo></Naglowek><Fa><P_2>FV/1</P_2></Fa></Faktura>\n")
      .arg(systemInfo)
      .toUtf8();
}

void WriteExecutable(const QString &fileName) {
  QFile file(fileName);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("#!/bin/sh\nexit 0\n");
  file.close();
  file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// Replaces PATH while the object lives.
class TSearchPath {
public:
  explicit TSearchPath(const QString &path) : FPrevious(qgetenv("PATH")) { qputenv("PATH", path.toLocal8Bit()); }
  ~TSearchPath() { qputenv("PATH", FPrevious); }

private:
  QByteArray FPrevious;
};

// A PDF left by an earlier run, written yesterday.
void WriteOlderPdf(const QString &fileName) {
  QFile file(fileName);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("%PDF-1.4 older");
  ASSERT_TRUE(file.flush());
  ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addDays(-1), QFileDevice::FileModificationTime));
}

TProcessResult EndedWith(int exitCode, const QString &errorOutput = QString()) {
  TProcessResult result;
  result.Started = true;
  result.ExitCode = exitCode;
  result.ErrorOutput = errorOutput;
  return result;
}

// The program directory holds the generator; the invoices lie in a directory of their own.
class TInvoicePdfPreviewTest : public TCommandTest {
protected:
  TInvoicePdfPreviewTest() { WriteExecutable(Generator()); }

  QString Generator() const { return AppFile(QStringLiteral("Velmira")); }

  QString WriteInvoice(const QString &name, const QString &systemInfo = QStringLiteral("Samplofaktur")) {
    Invoices.WriteBytes(name, InvoiceWithSystemInfo(systemInfo));
    return Invoices.File(name);
  }

  // The generator as the tests want it: it writes `pdf` and ends well.
  void GeneratorWrites(const QString &pdf) {
    Host.ProcessBehaviour = [pdf](const TProcessCall &) {
      QDir().mkpath(QFileInfo(pdf).absolutePath());
      QFile file(pdf);
      file.open(QIODevice::WriteOnly);
      file.write("%PDF-1.4 new");
      return EndedWith(0);
    };
  }

  TTempDir Invoices;
  TInvoicePdfPreview Preview{Host.Host()};
};

TEST_F(TInvoicePdfPreviewTest, RunsTheGeneratorWithTheInvoiceAndItsSystemInfo) {
  const QString invoice = WriteInvoice(QStringLiteral("FA_17.xml"), QStringLiteral("T"));
  GeneratorWrites(Invoices.File(QStringLiteral("FA_17.PDF")));

  EXPECT_TRUE(Preview.Press(invoice));

  ASSERT_EQ(Host.ProcessCalls.size(), 1u);
  EXPECT_EQ(Host.ProcessCalls[0].Program, Generator());
  EXPECT_EQ(Host.ProcessCalls[0].Arguments,
            (QStringList{QStringLiteral("-i"), invoice, QStringLiteral("-t"), QStringLiteral("invoice"),
                         QStringLiteral("--nrKSeF"), QStringLiteral("T"), QStringLiteral("--qrCode"), QrBase}));
  EXPECT_EQ(Host.ProcessCalls[0].TimeoutMs, 60000);
  EXPECT_EQ(Host.OpenedFiles, QStringList{Invoices.File(QStringLiteral("FA_17.PDF"))});
  EXPECT_EQ(Log(),
            QStringList{QStringLiteral("Poprawnie wygenerowano plik [") + Invoices.File(QStringLiteral("FA_17")) +
                        QStringLiteral(".PDF] dla potrzeb podglądu pojedynczej faktury...|separator")});
}

TEST_F(TInvoicePdfPreviewTest, AnInvoiceWithoutSystemInfoGivesAnEmptyNumber) {
  Invoices.WriteBytes(QStringLiteral("fa.xml"), "<Faktura><Fa><P_2>FV/1</P_2></Fa></Faktura>");
  GeneratorWrites(Invoices.File(QStringLiteral("fa.PDF")));

  EXPECT_TRUE(Preview.Press(Invoices.File(QStringLiteral("fa.xml"))));

  ASSERT_EQ(Host.ProcessCalls.size(), 1u);
  EXPECT_EQ(Host.ProcessCalls[0].Arguments.mid(4, 2), (QStringList{QStringLiteral("--nrKSeF"), QString()}));
}

// The opened PDF and the logged one follow different rules: the last three characters give
// way to "PDF", while the log drops the extension, whatever its length, and adds ".PDF".
struct TPathCase {
  const char *Invoice;
  const char *Opened;
  const char *Logged;
};

class TPdfPathTest : public TInvoicePdfPreviewTest, public ::testing::WithParamInterface<TPathCase> {};

TEST_P(TPdfPathTest, OpensOneNameAndLogsTheOther) {
  QDir(Invoices.Path()).mkpath(QStringLiteral("v1.2"));
  const QString invoice = WriteInvoice(QString::fromUtf8(GetParam().Invoice));
  const QString opened = Invoices.File(QString::fromUtf8(GetParam().Opened));
  GeneratorWrites(opened);

  EXPECT_TRUE(Preview.Press(invoice));

  EXPECT_EQ(Host.OpenedFiles, QStringList{opened});
  ASSERT_EQ(Host.LogEntries.size(), 1u);
  EXPECT_EQ(Host.LogEntries[0].Text, QStringLiteral("Poprawnie wygenerowano plik [") +
                                         Invoices.File(QString::fromUtf8(GetParam().Logged)) +
                                         QStringLiteral("] dla potrzeb podglądu pojedynczej faktury..."));
}

INSTANTIATE_TEST_SUITE_P(Cases, TPdfPathTest,
                         ::testing::Values(TPathCase{"a.xm", "aPDF", "a.PDF"}, TPathCase{"FA.XML", "FA.PDF", "FA.PDF"},
                                           TPathCase{"faktura.xml", "faktura.PDF", "faktura.PDF"},
                                           TPathCase{"v1.2/faktura", "v1.2/faktPDF", "v1.2/faktura.PDF"}));

// A read-only medium binds root too, unlike a folder's mode bits.
TEST_F(TInvoicePdfPreviewTest, AnInvoiceInAReadOnlyFolderGetsItsPdfInTheDataDirectory) {
  TSmallDisk disk(1 << 20);
  if (!disk.Mounted())
    GTEST_SKIP() << "No file system to make read-only: " << disk.Problem().toStdString();
  QFile invoice(disk.File(QStringLiteral("FA_17.xml")));
  ASSERT_TRUE(invoice.open(QIODevice::WriteOnly));
  invoice.write(InvoiceWithSystemInfo(QStringLiteral("T")));
  invoice.close();
  disk.MakeReadOnly();
  const QString pdf = AppFile(QStringLiteral("FAKTURY/FA_17.PDF"));
  GeneratorWrites(pdf);

  EXPECT_TRUE(Preview.Press(invoice.fileName()));

  ASSERT_EQ(Host.ProcessCalls.size(), 1u);
  EXPECT_EQ(Host.ProcessCalls[0].Arguments.mid(8), (QStringList{QStringLiteral("-o"), pdf}));
  EXPECT_EQ(Host.OpenedFiles, QStringList{pdf});
  EXPECT_EQ(Log(), QStringList{QStringLiteral("Poprawnie wygenerowano plik [") + pdf +
                               QStringLiteral("] dla potrzeb podglądu pojedynczej faktury (folder faktury jest tylko "
                                              "do odczytu)...|separator")});
}

TEST_F(TInvoicePdfPreviewTest, ABlankFieldShowsTheHelpBoxAndRunsNothing) {
  for (const QString &field : {QString(), QStringLiteral("  \t ")})
    EXPECT_FALSE(Preview.Press(field));

  EXPECT_EQ(Host.InformationBoxes,
            QStringList(2, QStringLiteral("Pole ścieżki do pliku XML faktury zakupowej KSeF nie może być puste ...\r\r"
                                          "Wybierz odpowiedni plik XML. ")));
  EXPECT_TRUE(Host.ProcessCalls.empty());
  EXPECT_TRUE(Host.LogEntries.empty());
}

TEST_F(TInvoicePdfPreviewTest, AFieldWithBlanksAroundIsUsedAsTyped) {
  const QString invoice = WriteInvoice(QStringLiteral(" fa.xml"));
  GeneratorWrites(Invoices.File(QStringLiteral(" fa.PDF")));

  EXPECT_TRUE(Preview.Press(invoice));

  ASSERT_EQ(Host.ProcessCalls.size(), 1u);
  EXPECT_EQ(Host.ProcessCalls[0].Arguments[1], invoice);
}

TEST_F(TInvoicePdfPreviewTest, AnUnreadableInvoiceFailsBeforeTheGeneratorRuns) {
  EXPECT_THROW_MESSAGE(Preview.Press(Invoices.File(QStringLiteral("brak.xml"))),
                       QStringLiteral("Nie można otworzyć pliku \"brak.xml\": plik nie istnieje."));
  EXPECT_TRUE(Host.ProcessCalls.empty());
  EXPECT_TRUE(Host.LogEntries.empty());
  EXPECT_TRUE(Host.OpenedFiles.isEmpty());
}

TEST_F(TInvoicePdfPreviewTest, TheGeneratorIsLookedForOnPathWhenNotBesideTheProgram) {
  QFile::remove(Generator());
  TTempDir elsewhere;
  WriteExecutable(elsewhere.File(QStringLiteral("Velmira")));
  TSearchPath path(elsewhere.Path());
  const QString invoice = WriteInvoice(QStringLiteral("fa.xml"));
  GeneratorWrites(Invoices.File(QStringLiteral("fa.PDF")));

  EXPECT_TRUE(Preview.Press(invoice));

  ASSERT_EQ(Host.ProcessCalls.size(), 1u);
  EXPECT_EQ(Host.ProcessCalls[0].Program, elsewhere.File(QStringLiteral("Velmira")));
}

TEST_F(TInvoicePdfPreviewTest, AMissingGeneratorIsAnErrorAndNothingOpens) {
  QFile::remove(Generator());
  TTempDir empty;
  TSearchPath path(empty.Path());

  EXPECT_FALSE(Preview.Press(WriteInvoice(QStringLiteral("fa.xml"))));

  EXPECT_TRUE(Host.ProcessCalls.empty());
  EXPECT_EQ(Log(), QStringList{QStringLiteral("Błąd: Nie znaleziono generatora PDF Velmira ani w katalogu programu, "
                                              "ani w ścieżce PATH.")});
  EXPECT_TRUE(Host.OpenedFiles.isEmpty());
}

// Each way the generator can fail is logged as one error and opens nothing, also when an older
// PDF of the same name lies beside the invoice.
struct TFailureCase {
  const char *Name;
  std::function<TProcessResult(const QString &pdf)> Generator;
  // "%1" stands for the generator, "%2" for the PDF.
  const char *Message;
};

void PrintTo(const TFailureCase &c, std::ostream *os) { *os << c.Name; }

class TGeneratorFailureTest : public TInvoicePdfPreviewTest, public ::testing::WithParamInterface<TFailureCase> {};

TEST_P(TGeneratorFailureTest, IsLoggedAndOpensNothing) {
  const QString invoice = WriteInvoice(QStringLiteral("fa.xml"));
  const QString pdf = Invoices.File(QStringLiteral("fa.PDF"));
  WriteOlderPdf(pdf);
  Host.ProcessBehaviour = [&](const TProcessCall &) { return GetParam().Generator(pdf); };

  EXPECT_FALSE(Preview.Press(invoice));

  ASSERT_EQ(Host.LogEntries.size(), 1u);
  EXPECT_EQ(Host.LogEntries[0].Text, QStringLiteral("Błąd: ") + QString::fromUtf8(GetParam().Message)
                                                                    .replace(QStringLiteral("%1"), Generator())
                                                                    .replace(QStringLiteral("%2"), pdf));
  EXPECT_EQ(Host.LogEntries[0].Kind, TLogKind::Error);
  EXPECT_FALSE(Host.LogEntries[0].WithSeparator);
  EXPECT_TRUE(Host.OpenedFiles.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TGeneratorFailureTest,
    ::testing::Values(TFailureCase{"NotStarted", [](const QString &) { return TProcessResult{}; },
                                   "Nie udało się uruchomić generatora PDF %1."},
                      TFailureCase{"FailedWithAMessage",
                                   [](const QString &) {
                                     return EndedWith(1, QStringLiteral("Plik \"fa.xml\" nie jest fakturą KSeF.\n"));
                                   },
                                   "Generator PDF zakończył pracę z kodem 1. Plik \"fa.xml\" nie jest fakturą KSeF."},
                      TFailureCase{"FailedSilently", [](const QString &) { return EndedWith(3); },
                                   "Generator PDF zakończył pracę z kodem 3."},
                      TFailureCase{"Crashed",
                                   [](const QString &) {
                                     TProcessResult result = EndedWith(0);
                                     result.Crashed = true;
                                     return result;
                                   },
                                   "Generator PDF zakończył pracę awaryjnie."},
                      TFailureCase{"TimedOut",
                                   [](const QString &) {
                                     TProcessResult result;
                                     result.Started = true;
                                     result.TimedOut = true;
                                     return result;
                                   },
                                   "Generator PDF nie zakończył pracy w ciągu 60 sekund i został zatrzymany."},
                      TFailureCase{"WroteNothing", [](const QString &) { return EndedWith(0); },
                                   "Generator PDF nie zapisał pliku %2."},
                      TFailureCase{"FailedAfterWriting",
                                   [](const QString &pdf) {
                                     QFile file(pdf);
                                     file.open(QIODevice::WriteOnly);
                                     file.write("%PDF-1.4 half");
                                     return EndedWith(2);
                                   },
                                   "Generator PDF zakończył pracę z kodem 2."}));

// The user ended the generator: one line says so, not an error, and nothing is opened.
TEST_F(TInvoicePdfPreviewTest, ACancelledGeneratorLogsOneLineAndOpensNothing) {
  const QString invoice = WriteInvoice(QStringLiteral("fa.xml"));
  Host.ProcessBehaviour = [](const TProcessCall &) {
    TProcessResult result;
    result.Started = true;
    result.Cancelled = true;
    return result;
  };

  EXPECT_FALSE(Preview.Press(invoice));

  ASSERT_EQ(Host.LogEntries.size(), 1u);
  EXPECT_EQ(Host.LogEntries[0].Text, QStringLiteral("Tworzenie pliku PDF przerwane przez użytkownika."));
  EXPECT_EQ(Host.LogEntries[0].Kind, TLogKind::Info);
  EXPECT_TRUE(Host.OpenedFiles.isEmpty());
}

TEST_F(TInvoicePdfPreviewTest, ANewPdfReplacingAnOlderOneCounts) {
  const QString invoice = WriteInvoice(QStringLiteral("fa.xml"));
  WriteOlderPdf(Invoices.File(QStringLiteral("fa.PDF")));
  GeneratorWrites(Invoices.File(QStringLiteral("fa.PDF")));

  EXPECT_TRUE(Preview.Press(invoice));

  EXPECT_EQ(Host.OpenedFiles, QStringList{Invoices.File(QStringLiteral("fa.PDF"))});
}

} // namespace
