#include "checks/StandardTitleChecks.h"

#include "TestSupport.h"

namespace {

TPayment Payment(const QString &invoiceNumber, const QString &ksefNumber) {
  TPayment payment;
  payment.InvoiceNumber = invoiceNumber;
  payment.CreditorNIP = QStringLiteral("8943001230");
  payment.VATAmount = TAmount::FromUnits(2300000);
  payment.nrKsef = ksefNumber;
  return payment;
}

QStringList Texts(const QList<TTransferFinding> &findings) {
  QStringList texts;
  for (const TTransferFinding &finding : findings) {
    EXPECT_EQ(finding.Transfer, 2);
    texts << finding.Text;
  }
  return texts;
}

const TMPPSettings Standard{true, TMPPFormat::Standard};

TEST(StandardTitleChecks, ARealKsefNumberAndAPlainNumberFindNothing) {
  EXPECT_TRUE(Texts(CheckStandardTitle(
                        2, Payment(QStringLiteral("FV-12"), QStringLiteral("1234563218-20260305-0A1B2C3D4E5F-7E")),
                        QString(), Standard))
                  .isEmpty());
}

TEST(StandardTitleChecks, OtherFormatsAreNotChecked) {
  for (const TMPPSettings &mpp :
       {TMPPSettings{}, TMPPSettings{true, TMPPFormat::Ustrd}, TMPPSettings{true, TMPPFormat::Both}})
    EXPECT_TRUE(CheckStandardTitle(2, Payment(QStringLiteral("FV/12"), QString()), QString(), mpp).isEmpty());
}

TEST(StandardTitleChecks, ATitleWithoutKsefNumberACutAndASegmentCodeAreEachSaid) {
  const QStringList texts = Texts(CheckStandardTitle(
      2, Payment(QStringLiteral("FV/TXT/") + QString(36, u'1'), QStringLiteral("Fakturownik")), QString(), Standard));

  ASSERT_EQ(texts.size(), 3);
  EXPECT_TRUE(texts[0].contains(QStringLiteral("numeru KSeF"))) << texts[0].toStdString();
  EXPECT_TRUE(texts[1].startsWith(QStringLiteral("segment /INV/ tytułu przelewu (numer faktury) jest dłuższy niż")))
      << texts[1].toStdString();
  EXPECT_TRUE(texts[1].endsWith(QStringLiteral("w pliku pominięto „11111111”."))) << texts[1].toStdString();
  EXPECT_TRUE(texts[2].contains(QStringLiteral("zawiera „/TXT/”"))) << texts[2].toStdString();
}

// Polish invoice numbers nearly all hold a slash; only a segment's code, which the title's own
// slashes around the text may complete, reads as the start of another segment.
struct TSegmentCodeCase {
  const char *Name;
  QString InvoiceNumber;
  QString AdditionalReference;
  QStringList Texts;
};

void PrintTo(const TSegmentCodeCase &c, std::ostream *os) { *os << c.Name; }

class TSegmentCodeTest : public ::testing::TestWithParam<TSegmentCodeCase> {};

TEST_P(TSegmentCodeTest, IsSaidOnlyForASegmentCode) {
  const TSegmentCodeCase &c = GetParam();
  EXPECT_EQ(Texts(CheckStandardTitle(2, Payment(c.InvoiceNumber, QStringLiteral("1234563218-20260305-0A1B2C3D4E5F-7E")),
                                     c.AdditionalReference, Standard)),
            c.Texts);
}

QString CodeFound(const QString &content, const QString &text, const QString &segment, const QString &code) {
  return QStringLiteral("%1 „%2” w segmencie %3 tytułu przelewu zawiera „%4”: bank może to odczytać jako początek "
                        "kolejnego segmentu i źle odczytać przelew MPP.")
      .arg(content, text, segment, code);
}

INSTANTIATE_TEST_SUITE_P(
    StandardTitleChecks, TSegmentCodeTest,
    ::testing::Values(TSegmentCodeCase{"slashes", QStringLiteral("FV/2026/03/118"), QString(), {}},
                      TSegmentCodeCase{"codeLettersWithoutSlashes", QStringLiteral("FV/INV2026/VAT1"), QString(), {}},
                      TSegmentCodeCase{"codeInside",
                                       QStringLiteral("FV/VAT/12"),
                                       QString(),
                                       {CodeFound(QStringLiteral("numer faktury"), QStringLiteral("FV/VAT/12"),
                                                  QStringLiteral("/TXT/"), QStringLiteral("/VAT/"))}},
                      TSegmentCodeCase{"codeAtTheStart",
                                       QStringLiteral("IDC/12"),
                                       QString(),
                                       {CodeFound(QStringLiteral("numer faktury"), QStringLiteral("IDC/12"),
                                                  QStringLiteral("/TXT/"), QStringLiteral("/IDC/"))}},
                      TSegmentCodeCase{"codeAtTheEnd",
                                       QStringLiteral("12/INV"),
                                       QString(),
                                       {CodeFound(QStringLiteral("numer faktury"), QStringLiteral("12/INV"),
                                                  QStringLiteral("/TXT/"), QStringLiteral("/INV/"))}}),
    [](const ::testing::TestParamInfo<TSegmentCodeCase> &info) { return std::string(info.param.Name); });

} // namespace
