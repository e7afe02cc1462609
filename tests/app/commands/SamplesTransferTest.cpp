#include "CommandTest.h"

#include <QDir>
#include <QFile>

namespace {

// The published invoices, each through the single-invoice command in the plain flavour and
// with split payment in both encodings: a transfer file valid against the official schema, or
// one "Błąd: " entry with the reader's composite message (or the split-payment VAT message).
class TSamplesTransferTest : public TCommandTest {
protected:
  // The only log entry of one run, which must have failed.
  QString FailureOf(const QString &invoice, const TMPPSettings &mpp) {
    Host.LogEntries.clear();
    EXPECT_FALSE(Commands.CreateSingleTransfer(invoice, QString(), mpp));
    EXPECT_EQ(Host.LogEntries.size(), 1u);
    return Host.LogEntries.empty() ? QString() : Host.LogEntries.front().Text;
  }
};

TEST_F(TSamplesTransferTest, EachSampleBecomesAValidFileOrFailsWithTheReadersMessage) {
  const QDir samples(SharedPath(QStringLiteral("ksef/samples")));
  const QStringList names = samples.entryList({QStringLiteral("*.xml")}, QDir::Files, QDir::Name);
  ASSERT_GE(names.size(), 30) << "the shared samples are missing";
  const QString plain = AppFile(QStringLiteral("PLIKI_DO_BANKU/Pain001.xml"));
  const QString split = AppFile(QStringLiteral("PLIKI_DO_BANKU/Pain001_MPP.xml"));
  int writtenFiles = 0;
  int refused = 0;
  for (const QString &name : names) {
    SCOPED_TRACE(name.toStdString());
    const QString invoice = samples.filePath(name);
    Host.LogEntries.clear();
    const bool written = Commands.CreateSingleTransfer(invoice, QStringLiteral("ref"), TMPPSettings{}).Written;
    ASSERT_FALSE(Host.LogEntries.empty());
    if (written) {
      ++writtenFiles;
      EXPECT_TRUE(IsValidPain001(plain));
      QFile::remove(split);
      Host.LogEntries.clear();
      const bool splitWritten =
          Commands.CreateSingleTransfer(invoice, QString(), TMPPSettings{true, TMPPFormat::Both}).Written;
      ASSERT_FALSE(Host.LogEntries.empty());
      if (splitWritten)
        EXPECT_TRUE(IsValidPain001(split));
      else
        EXPECT_TRUE(
            Host.LogEntries.front().Text.startsWith(QStringLiteral("Błąd: Faktura ")) &&
            Host.LogEntries.front().Text.endsWith(QStringLiteral(" nie zawiera kwoty VAT (<=0) wymaganej dla MPP.")))
            << Host.LogEntries.front().Text.toStdString();
      continue;
    }
    ++refused;
    const QString message = Host.LogEntries.front().Text;
    EXPECT_TRUE(message.startsWith(QStringLiteral("Błąd: Plik: ") + name + QStringLiteral("\r\nFaktura: ")))
        << message.toStdString();
    EXPECT_TRUE(message.endsWith(QStringLiteral("\r\n") + Separator() + QStringLiteral("\r\n")))
        << message.toStdString();
    EXPECT_EQ(FailureOf(invoice, TMPPSettings{true, TMPPFormat::Both}), message) << "split payment fails the same way";
  }
  EXPECT_GT(writtenFiles, 0);
  EXPECT_GT(refused, 0);
}

// Two samples checked by hand: one without any bank account, one with an amount below zero.
TEST_F(TSamplesTransferTest, KnownFailuresNameTheirCause) {
  const QDir samples(SharedPath(QStringLiteral("ksef/samples")));
  const QString noAccount = FailureOf(samples.filePath(QStringLiteral("mf3-FA_3_Przyklad_1.xml")), TMPPSettings{});
  EXPECT_TRUE(noAccount.contains(QStringLiteral("\r\nBłąd: Nieprawidłowy numer rachunku: faktura nie podaje rachunku "
                                                "bankowego sprzedawcy (RachunekBankowy)\r\n")))
      << noAccount.toStdString();
  const QString negative = FailureOf(samples.filePath(QStringLiteral("mf3-FA_3_Przyklad_2.xml")), TMPPSettings{});
  EXPECT_TRUE(negative.contains(QStringLiteral("\r\nBłąd: Nieprawidłowa/ujemna kwota faktury.\r\n")))
      << negative.toStdString();
}

} // namespace
