#include "CommandTest.h"

#include <QDir>
#include <QFile>

namespace {

const QString Plain = QStringLiteral("Pain001.xml");
const QString PlainMPP = QStringLiteral("Pain001_MPP.xml");
const QString Batch = QStringLiteral("Pain001Paczka.xml");
const QString BatchMPP = QStringLiteral("Pain001Paczka_MPP.xml");
const QString VideoTel = QStringLiteral("Pain001VideoTel.xml");
const QByteArray Earlier = "earlier";

QString Output(const QString &name) { return QStringLiteral("PLIKI_DO_BANKU/") + name; }

class TOutputTest : public TCommandTest {
protected:
  TOutputTest() {
    Invoices.WriteBytes(QStringLiteral("a.xml"), CommandFixture(QStringLiteral("faktura-papiernia.xml")));
  }

  TTransferResult Run(bool batch, const TMPPSettings &mpp) {
    return batch ? Commands.PressBatch(Invoices.Path(), mpp)
                 : Commands.PressSingle(Invoices.File(QStringLiteral("a.xml")), QString(), mpp);
  }
  // The names among `names` whose files still hold what the test wrote there.
  QStringList StillEarlier(const QStringList &names) const {
    QStringList earlier;
    for (const QString &name : names)
      if (AppFileExists(Output(name)) && ReadAppFile(Output(name)) == Earlier)
        earlier.append(name);
    return earlier;
  }

  TTempDir Invoices;
};

// Without split payment a transfer command deletes its earlier plain file, or else its earlier
// split-payment file, once its input is read; with split payment it deletes nothing. The file
// it writes replaces its own earlier one.
struct TEarlierOutputCase {
  const char *Name;
  bool Batch;
  bool SplitPayment;
  QStringList Present;
  // Those still holding the earlier text after the run.
  QStringList Earlier;
  // Those gone after the run.
  QStringList Deleted;
};

void PrintTo(const TEarlierOutputCase &c, std::ostream *os) { *os << c.Name; }

class TEarlierOutputTest : public TOutputTest, public ::testing::WithParamInterface<TEarlierOutputCase> {};

TEST_P(TEarlierOutputTest, AtMostOneEarlierFileIsDeletedByTheRun) {
  const TEarlierOutputCase &c = GetParam();
  const QStringList others = {VideoTel, c.Batch ? Plain : Batch};
  for (const QString &name : c.Present + others)
    WriteAppFile(Output(name), Earlier);

  ASSERT_TRUE(Run(c.Batch, TMPPSettings{c.SplitPayment, TMPPFormat::Ustrd}));

  EXPECT_EQ(StillEarlier(c.Present), c.Earlier);
  QStringList deleted;
  for (const QString &name : c.Present)
    if (!AppFileExists(Output(name)))
      deleted.append(name);
  EXPECT_EQ(deleted, c.Deleted);
  EXPECT_EQ(StillEarlier(others), others);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, TEarlierOutputTest,
    ::testing::Values(TEarlierOutputCase{"singleOffBoth", false, false, {Plain, PlainMPP}, {PlainMPP}, {}},
                      TEarlierOutputCase{"singleOffOnlyMPP", false, false, {PlainMPP}, {}, {PlainMPP}},
                      TEarlierOutputCase{"singleOnBoth", false, true, {Plain, PlainMPP}, {Plain}, {}},
                      TEarlierOutputCase{"batchOffBoth", true, false, {Batch, BatchMPP}, {BatchMPP}, {}},
                      TEarlierOutputCase{"batchOffOnlyMPP", true, false, {BatchMPP}, {}, {BatchMPP}},
                      TEarlierOutputCase{"batchOnBoth", true, true, {Batch, BatchMPP}, {Batch}, {}}),
    [](const ::testing::TestParamInfo<TEarlierOutputCase> &info) { return std::string(info.param.Name); });

// Nothing is deleted before the input is read: a run that cannot read it leaves every earlier
// file as it was.
TEST_F(TOutputTest, ARunThatCannotReadItsInputDeletesNothing) {
  const QStringList present = {Plain, PlainMPP, Batch, BatchMPP, VideoTel};
  for (const QString &name : present)
    WriteAppFile(Output(name), Earlier);
  Invoices.WriteBytes(QStringLiteral("a.xml"), "<nie-faktura/>");
  Invoices.WriteBytes(QStringLiteral("p.imp"), "");

  EXPECT_FALSE(Run(false, TMPPSettings{}));
  EXPECT_FALSE(Run(true, TMPPSettings{}));
  EXPECT_FALSE(Commands.PressVideoTelWithoutSplitPayment(Invoices.File(QStringLiteral("missing.imp"))));

  EXPECT_EQ(StillEarlier(present), present);
}

// A file that the command writes or may clear is refused as its input, however it is named, and
// stays as it was.
struct TOutputAsInputCase {
  const char *Name;
  QString Present;
  // 's' single, 'b' batch over PLIKI_DO_BANKU, 'v' VideoTel.
  char Command;
  bool SplitPayment;
  // How the input is named: 'r' relative to the working directory, 'l' through a link outside
  // PLIKI_DO_BANKU, 'a' by its absolute path.
  char Naming;
};

void PrintTo(const TOutputAsInputCase &c, std::ostream *os) { *os << c.Name; }

class TOutputAsInputTest : public TOutputTest, public ::testing::WithParamInterface<TOutputAsInputCase> {
protected:
  TOutputAsInputTest() : FormerDir(QDir::currentPath()) {}
  ~TOutputAsInputTest() override { QDir::setCurrent(FormerDir); }

  QString FormerDir;
};

TEST_P(TOutputAsInputTest, IsRefusedWithItsNameAndKept) {
  const TOutputAsInputCase &c = GetParam();
  const QByteArray earlier = CommandFixture(QStringLiteral("faktura-papiernia.xml"));
  WriteAppFile(Output(c.Present), earlier);
  QString input = AppFile(Output(c.Present));
  if (c.Naming == 'r') {
    ASSERT_TRUE(QDir::setCurrent(AppFile(QString())));
    input = Output(c.Present);
  } else if (c.Naming == 'l') {
    input = Invoices.File(QStringLiteral("link.xml"));
    ASSERT_TRUE(QFile::link(AppFile(Output(c.Present)), input));
  }
  const TMPPSettings mpp{c.SplitPayment, TMPPFormat::Ustrd};

  if (c.Command == 's')
    EXPECT_FALSE(Commands.PressSingle(input, QString(), mpp));
  else if (c.Command == 'b')
    EXPECT_FALSE(Commands.PressBatch(AppFile(QStringLiteral("PLIKI_DO_BANKU")), mpp));
  else
    EXPECT_FALSE(Commands.PressVideoTelWithoutSplitPayment(input));

  EXPECT_EQ(Log(), QStringList{QStringLiteral("Błąd: Plik %1 nie może być danymi wejściowymi tego polecenia: polecenie "
                                              "zapisuje albo usuwa ten plik (%2).")
                                   .arg(input, AppFile(Output(c.Present)))});
  EXPECT_EQ(ReadAppFile(Output(c.Present)), earlier);
  EXPECT_TRUE(Host.OpenedFiles.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Commands, TOutputAsInputTest,
                         ::testing::Values(TOutputAsInputCase{"singlePlainRelative", Plain, 's', false, 'r'},
                                           TOutputAsInputCase{"singleMPPClearedLinked", PlainMPP, 's', false, 'l'},
                                           TOutputAsInputCase{"singleMPPWritten", PlainMPP, 's', true, 'a'},
                                           TOutputAsInputCase{"batchInItsOutputDirectory", Batch, 'b', false, 'a'},
                                           TOutputAsInputCase{"batchMPPInItsOutputDirectory", BatchMPP, 'b', true, 'a'},
                                           TOutputAsInputCase{"videoTelLinked", VideoTel, 'v', false, 'l'}),
                         [](const ::testing::TestParamInfo<TOutputAsInputCase> &info) {
                           return std::string(info.param.Name);
                         });

// A file the run neither writes nor clears is read as any other input.
TEST_F(TOutputTest, AnOutputOfTheOtherModeIsReadAsAnyInput) {
  WriteAppFile(Output(Plain), CommandFixture(QStringLiteral("faktura-papiernia.xml")));
  ASSERT_TRUE(Commands.PressSingle(AppFile(Output(Plain)), QString(), TMPPSettings{true, TMPPFormat::Ustrd}));
  EXPECT_EQ(ReadAppFile(Output(Plain)), CommandFixture(QStringLiteral("faktura-papiernia.xml")));
}

} // namespace
