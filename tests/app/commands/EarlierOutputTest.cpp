#include "CommandTest.h"

#include <QFile>

namespace {

// Without split payment a transfer command first deletes its earlier plain file, or else its
// earlier split-payment file; with split payment it deletes nothing. The runs here fail at the
// payer check, which comes after the clean-up.
struct TEarlierOutputCase {
  const char *Name;
  bool Batch;
  bool SplitPayment;
  QStringList Present;
  QStringList Remaining;
};

void PrintTo(const TEarlierOutputCase &c, std::ostream *os) { *os << c.Name; }

class TEarlierOutputTest : public TCommandTest, public ::testing::WithParamInterface<TEarlierOutputCase> {};

TEST_P(TEarlierOutputTest, AtMostOneEarlierFileIsDeletedBeforeTheRun) {
  const TEarlierOutputCase &c = GetParam();
  QFile::remove(AppFile(QStringLiteral("settings.ini")));
  const QStringList others = {QStringLiteral("Pain001VideoTel.xml"),
                              c.Batch ? QStringLiteral("Pain001.xml") : QStringLiteral("Pain001Paczka.xml")};
  for (const QString &name : c.Present + others)
    WriteAppFile(QStringLiteral("PLIKI_DO_BANKU/") + name, "earlier");

  const TMPPSettings mpp{c.SplitPayment, TMPPFormat::Ustrd};
  EXPECT_FALSE(
      c.Batch ? Commands.PressBatch(FixturePath(QStringLiteral("commands")), mpp)
              : Commands.PressSingle(FixturePath(QStringLiteral("commands/faktura-papiernia.xml")), QString(), mpp));

  EXPECT_EQ(Log(), QStringList{MissingPayerError(QStringLiteral("Brak nazwy firmy"))});
  QStringList remaining;
  for (const QString &name : c.Present)
    if (AppFileExists(QStringLiteral("PLIKI_DO_BANKU/") + name))
      remaining.append(name);
  EXPECT_EQ(remaining, c.Remaining);
  for (const QString &name : others)
    EXPECT_TRUE(AppFileExists(QStringLiteral("PLIKI_DO_BANKU/") + name)) << name.toStdString();
}

const QString Plain = QStringLiteral("Pain001.xml");
const QString PlainMPP = QStringLiteral("Pain001_MPP.xml");
const QString Batch = QStringLiteral("Pain001Paczka.xml");
const QString BatchMPP = QStringLiteral("Pain001Paczka_MPP.xml");

INSTANTIATE_TEST_SUITE_P(
    Commands, TEarlierOutputTest,
    ::testing::Values(TEarlierOutputCase{"singleOffBoth", false, false, {Plain, PlainMPP}, {PlainMPP}},
                      TEarlierOutputCase{"singleOffOnlyMPP", false, false, {PlainMPP}, {}},
                      TEarlierOutputCase{"singleOnBoth", false, true, {Plain, PlainMPP}, {Plain, PlainMPP}},
                      TEarlierOutputCase{"batchOffBoth", true, false, {Batch, BatchMPP}, {BatchMPP}},
                      TEarlierOutputCase{"batchOffOnlyMPP", true, false, {BatchMPP}, {}},
                      TEarlierOutputCase{"batchOnBoth", true, true, {Batch, BatchMPP}, {Batch, BatchMPP}}),
    [](const ::testing::TestParamInfo<TEarlierOutputCase> &info) { return std::string(info.param.Name); });

} // namespace
