#include "PdfTestSupport.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>

namespace {

struct TRun {
  int ExitCode = -1;
  QString Err;
};

// Runs the generator as the preview command does, with an argument list.
TRun RunVelmira(const QStringList &arguments) {
  QProcess process;
  process.start(QStringLiteral(VELMIRA), arguments);
  if (!process.waitForFinished(60000)) {
    ADD_FAILURE() << "Velmira did not finish";
    return {};
  }
  return {process.exitCode(), QString::fromUtf8(process.readAllStandardError())};
}

QStringList Arguments(const QString &invoice) {
  return {QStringLiteral("-i"),       invoice,
          QStringLiteral("-t"),       QStringLiteral("invoice"),
          QStringLiteral("--nrKSeF"), QStringLiteral("Samplofaktur"),
          QStringLiteral("--qrCode"), QStringLiteral("https://qr.ksef.mf.gov.pl/invoice/")};
}

TEST(Velmira, WritesThePdfBesideTheInvoice) {
  TTempDir dir;
  dir.WriteBytes(QStringLiteral("FA.XML"), SampleInvoice(QStringLiteral("mf3-FA_3_Przyklad_1.xml")));

  const TRun run = RunVelmira(Arguments(dir.File(QStringLiteral("FA.XML"))));

  EXPECT_EQ(run.ExitCode, 0) << run.Err.toStdString();
  EXPECT_EQ(run.Err, QString());
  EXPECT_TRUE(dir.ReadBytes(QStringLiteral("FA.PDF")).startsWith("%PDF-"));
}

TEST(Velmira, AMalformedInvoiceFailsWithAPolishMessageAndLeavesTheOlderPdf) {
  TTempDir dir;
  dir.WriteBytes(QStringLiteral("zla.xml"), "<Faktura><Fa>");
  dir.WriteBytes(QStringLiteral("zla.PDF"), "older");

  const TRun run = RunVelmira(Arguments(dir.File(QStringLiteral("zla.xml"))));

  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_TRUE(run.Err.startsWith(QStringLiteral("Plik \"zla.xml\" nie jest poprawnym plikiem XML")))
      << run.Err.toStdString();
  EXPECT_EQ(dir.ReadBytes(QStringLiteral("zla.PDF")), "older");
}

TEST(Velmira, AMissingInvoiceFailsAndWritesNothing) {
  TTempDir dir;

  const TRun run = RunVelmira(Arguments(dir.File(QStringLiteral("brak.xml"))));

  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_EQ(run.Err, QStringLiteral("Plik \"%1\" nie istnieje.\n").arg(dir.File(QStringLiteral("brak.xml"))));
  EXPECT_FALSE(QFile::exists(dir.File(QStringLiteral("brak.PDF"))));
}

TEST(Velmira, AFolderForTheInvoiceIsCalledAFolder) {
  TTempDir dir;
  ASSERT_TRUE(QDir(dir.Path()).mkdir(QStringLiteral("fa.xml")));

  const TRun run = RunVelmira(Arguments(dir.File(QStringLiteral("fa.xml"))));

  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_EQ(run.Err,
            QStringLiteral("\"%1\" jest folderem, a nie plikiem faktury.\n").arg(dir.File(QStringLiteral("fa.xml"))));
}

TEST(Velmira, WritesThePdfWhereAsked) {
  TTempDir dir;
  dir.WriteBytes(QStringLiteral("fa.xml"), SampleInvoice(QStringLiteral("mf3-FA_3_Przyklad_1.xml")));

  const TRun run = RunVelmira(Arguments(dir.File(QStringLiteral("fa.xml"))) +
                              QStringList{QStringLiteral("-o"), dir.File(QStringLiteral("FAKTURY/fa.PDF"))});

  EXPECT_EQ(run.ExitCode, 0) << run.Err.toStdString();
  EXPECT_TRUE(dir.ReadBytes(QStringLiteral("FAKTURY/fa.PDF")).startsWith("%PDF-"));
  EXPECT_FALSE(QFile::exists(dir.File(QStringLiteral("fa.PDF"))));
}

// Below a plain file no folder can be made, whoever runs the generator.
TEST(Velmira, APdfThatCannotBeWrittenIsSaidInPolish) {
  TTempDir dir;
  dir.WriteBytes(QStringLiteral("fa.xml"), SampleInvoice(QStringLiteral("mf3-FA_3_Przyklad_1.xml")));
  const QString pdf = dir.File(QStringLiteral("fa.xml/fa.PDF"));

  const TRun run = RunVelmira(Arguments(dir.File(QStringLiteral("fa.xml"))) + QStringList{QStringLiteral("-o"), pdf});

  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_EQ(run.Err, QStringLiteral("Nie można zapisać pliku \"%1\".\n").arg(pdf));
}

TEST(Velmira, AWrongCallSaysWhatIsWrong) {
  const TRun run = RunVelmira({QStringLiteral("-t"), QStringLiteral("invoice")});

  EXPECT_EQ(run.ExitCode, 2);
  EXPECT_TRUE(run.Err.startsWith(QStringLiteral("Velmira: Brak pliku faktury (-i PLIK.xml)\nUżycie: ")))
      << run.Err.toStdString();
}

} // namespace
