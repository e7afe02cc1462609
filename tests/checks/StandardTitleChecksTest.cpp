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

TEST(StandardTitleChecks, ATitleWithoutKsefNumberACutAndASlashAreEachSaid) {
  const QStringList texts = Texts(CheckStandardTitle(
      2, Payment(QStringLiteral("FV/") + QString(40, u'1'), QStringLiteral("Fakturownik")), QString(), Standard));

  ASSERT_EQ(texts.size(), 3);
  EXPECT_TRUE(texts[0].contains(QStringLiteral("numeru KSeF"))) << texts[0].toStdString();
  EXPECT_TRUE(texts[1].startsWith(QStringLiteral("segment /INV/ tytułu przelewu (numer faktury) jest dłuższy niż")))
      << texts[1].toStdString();
  EXPECT_TRUE(texts[1].endsWith(QStringLiteral("w pliku pominięto „11111111”."))) << texts[1].toStdString();
  EXPECT_TRUE(texts[2].contains(QStringLiteral("ukośnik „/”"))) << texts[2].toStdString();
}

} // namespace
