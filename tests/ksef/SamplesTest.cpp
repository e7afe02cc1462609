#include "TestSupport.h"
#include "ksef/InvoiceDocumentReader.h"
#include "ksef/KsefInvoiceReader.h"
#include "xml/XmlDocument.h"

#include <QDir>
#include <QFile>
#include <array>

namespace {

const QDateTime Now(QDate(2026, 5, 4), QTime(8, 0));
const QString Separator = QString(104, u'-') + QStringLiteral("\r\n");

QString SamplePath(const QString &name) { return SharedPath(QStringLiteral("ksef/samples/") + name); }

QStringList SampleNames() {
  return QDir(SharedPath(QStringLiteral("ksef/samples"))).entryList({QStringLiteral("*.xml")}, QDir::Files, QDir::Name);
}

QString FailureOf(const QString &name) {
  try {
    TKsefInvoiceReader::LoadFromFile(SamplePath(name), Now);
  } catch (const Exception &error) {
    return error.Message();
  }
  return QString();
}

QString Composite(const QString &file, const QString &invoice, const QString &seller, const QString &cause) {
  return QStringLiteral("Plik: %1\r\nFaktura: %2\r\nKontrahent: %3\r\nBłąd: %4\r\n").arg(file, invoice, seller, cause) +
         Separator;
}

TEST(Samples, EachLoadsOrFailsWithTheCompositeMessage) {
  const QStringList names = SampleNames();
  ASSERT_GE(names.size(), 30) << "the shared samples are missing";
  int loaded = 0;
  for (const QString &name : names) {
    SCOPED_TRACE(name.toStdString());
    try {
      const TPayment data = TKsefInvoiceReader::LoadFromFile(SamplePath(name), Now);
      EXPECT_GT(data.Amount, TAmount());
      EXPECT_FALSE(data.CreditorIBAN.isEmpty());
      EXPECT_FALSE(data.InvoiceNumber.isEmpty());
      ++loaded;
    } catch (const Exception &error) {
      EXPECT_TRUE(error.Message().startsWith(QStringLiteral("Plik: ") + name + QStringLiteral("\r\nFaktura: ")))
          << error.Message().toStdString();
      EXPECT_TRUE(error.Message().endsWith(QStringLiteral("\r\n") + Separator)) << error.Message().toStdString();
    }
  }
  EXPECT_GT(loaded, 0);
}

// A transfer reads the seller's payment data alone: for every sample it is what the whole
// document that the PDF shows holds.
TEST(Samples, ThePaymentDataReadAloneIsThatOfTheWholeDocument) {
  const QStringList names = SampleNames();
  ASSERT_GE(names.size(), 30) << "the shared samples are missing";
  for (const QString &name : names) {
    SCOPED_TRACE(name.toStdString());
    const TXmlDocument document = LoadXmlFile(SamplePath(name));
    const TInvoiceDocument whole = ReadInvoiceDocument(document, TInvoiceExtent::Whole);
    const TInvoiceDocument payment = ReadInvoiceDocument(document, TInvoiceExtent::Payment);
    EXPECT_EQ(payment.Seller.Name, whole.Seller.Name);
    EXPECT_EQ(payment.Seller.Nip, whole.Seller.Nip);
    EXPECT_EQ(payment.Seller.CountryCode, whole.Seller.CountryCode);
    EXPECT_EQ(payment.Seller.AddressLine1, whole.Seller.AddressLine1);
    EXPECT_EQ(payment.Seller.AddressLine2, whole.Seller.AddressLine2);
    EXPECT_EQ(payment.Number, whole.Number);
    EXPECT_EQ(payment.IssueDate, whole.IssueDate);
    EXPECT_EQ(payment.Currency, whole.Currency);
    EXPECT_EQ(payment.Total, whole.Total);
    for (const char *key : {"1", "2", "3", "4", "5", "6", "7"}) {
      const auto vatOf = [key](const TInvoiceDocument &invoice) {
        QString vat;
        for (const TVatRateTotal &row : invoice.VatRates)
          if (row.Key == QString::fromLatin1(key))
            vat = row.Vat;
        return vat;
      };
      EXPECT_EQ(vatOf(payment), vatOf(whole)) << "P_14_" << key;
    }
    EXPECT_EQ(payment.Annotations.SplitPayment, whole.Annotations.SplitPayment);
    ASSERT_EQ(payment.Payment.Accounts.size(), whole.Payment.Accounts.size());
    for (std::size_t i = 0; i < payment.Payment.Accounts.size(); ++i)
      EXPECT_EQ(payment.Payment.Accounts[i].Number, whole.Payment.Accounts[i].Number);
    EXPECT_EQ(payment.MixedTexts, whole.MixedTexts);
    // Nothing of the PDF's own sections.
    EXPECT_TRUE(payment.Lines.empty() && payment.Buyer.Name.isEmpty() && payment.FooterTexts.isEmpty());
  }
}

struct TSampleRecord {
  const char *File;
  // The sample copied under this name, for a KSeF number taken from the file name.
  const char *CopiedAs;
  const char *CreditorName;
  const char *CreditorAddress;
  const char *CreditorAddress2;
  // StrtNm, BldgNb, PstCd and TwnNm split from the two lines.
  std::array<const char *, 4> Parts;
  const char *InvoiceNumber;
  std::int64_t AmountUnits;
  std::int64_t VATUnits;
  QDate InvoiceDate;
  const char *CreditorIBAN;
  const char *NrKsef;
};

void PrintTo(const TSampleRecord &row, std::ostream *os) { *os << row.File; }

class SampleRecord : public ::testing::TestWithParam<TSampleRecord> {};

TEST_P(SampleRecord, HoldsThePaymentItsSplitAddressAndTheKsefNumber) {
  const TSampleRecord &row = GetParam();
  TTempDir dir;
  QString path = SamplePath(QString::fromUtf8(row.File));
  if (row.CopiedAs) {
    const QString copy = dir.File(QString::fromUtf8(row.CopiedAs));
    ASSERT_TRUE(QFile::copy(path, copy));
    path = copy;
  }
  const TPayment data = TKsefInvoiceReader::LoadFromFile(path, Now);
  EXPECT_EQ(data.Kind, TPaymentKind::Invoice);
  EXPECT_EQ(data.CreditorName, QString::fromUtf8(row.CreditorName));
  EXPECT_EQ(data.CreditorNIP, QStringLiteral("9999999999"));
  EXPECT_EQ(data.CreditorCountry, QStringLiteral("PL"));
  EXPECT_EQ(data.CreditorAddress, QString::fromUtf8(row.CreditorAddress));
  EXPECT_EQ(data.CreditorAddress2, QString::fromUtf8(row.CreditorAddress2));
  EXPECT_EQ((QStringList{data.CreditorStrtNm, data.CreditorBldgNb, data.CreditorPstCd, data.CreditorTwnNm}),
            (QStringList{QString::fromUtf8(row.Parts[0]), QString::fromUtf8(row.Parts[1]),
                         QString::fromUtf8(row.Parts[2]), QString::fromUtf8(row.Parts[3])}));
  EXPECT_EQ(data.InvoiceNumber, QString::fromUtf8(row.InvoiceNumber));
  EXPECT_EQ(data.CurrencyCode, QStringLiteral("PLN"));
  EXPECT_EQ(data.Amount, TAmount::FromUnits(row.AmountUnits));
  EXPECT_EQ(data.VATAmount, TAmount::FromUnits(row.VATUnits));
  EXPECT_FALSE(data.SplitPayment);
  EXPECT_EQ(data.InvoiceDate, QDateTime(row.InvoiceDate, QTime(0, 0)));
  EXPECT_EQ(data.DueDate, QDateTime(Now.date(), QTime(0, 0)));
  EXPECT_EQ(data.ExecutionDate, data.DueDate);
  EXPECT_EQ(data.CreditorIBAN, QString::fromUtf8(row.CreditorIBAN));
  EXPECT_EQ(data.nrKsef, QString::fromUtf8(row.NrKsef));
}

INSTANTIATE_TEST_SUITE_P(
    Files, SampleRecord,
    ::testing::Values(TSampleRecord{"ksef2-KSEF_01_VAT_STANDARD.xml",
                                    nullptr,
                                    "TECH-SOLUTIONS sp. z o.o.",
                                    "ul. Marszalkowska 100",
                                    "00-001 Warszawa",
                                    {"ul. Marszalkowska", "100", "00-001", "Warszawa"},
                                    "FV/2025/12/0001",
                                    50000000,
                                    9349600,
                                    QDate(2025, 12, 15),
                                    "PL61109010140000071219812874",
                                    "KSEF_TEST_SUITE"},
                      // SystemInfo names the issuing software; the KSeF download's name gives the number.
                      TSampleRecord{"ksef2-KSEF_01_VAT_STANDARD.xml",
                                    "FA_6891152920-20231221-B3242FB4B54B-67.xml",
                                    "TECH-SOLUTIONS sp. z o.o.",
                                    "ul. Marszalkowska 100",
                                    "00-001 Warszawa",
                                    {"ul. Marszalkowska", "100", "00-001", "Warszawa"},
                                    "FV/2025/12/0001",
                                    50000000,
                                    9349600,
                                    QDate(2025, 12, 15),
                                    "PL61109010140000071219812874",
                                    "6891152920-20231221-B3242FB4B54B-67"},
                      // A 26-digit account, and no VAT at all.
                      TSampleRecord{"mf3-FA_3_Przyklad_8.xml",
                                    nullptr,
                                    "Komis ABC AGD sp. z o. o.",
                                    "ul. Kwiatowa 1 m. 2",
                                    "00-001 Warszawa",
                                    {"ul. Kwiatowa 1 m.", "2", "00-001", "Warszawa"},
                                    "FM2026/02/150",
                                    150000000,
                                    0,
                                    QDate(2026, 2, 27),
                                    "PL73111111111111111111111111",
                                    "Samplofaktur"},
                      // Two VAT rates are summed: 943.04 + 22414.21.
                      TSampleRecord{"mf2-Fa_2_Przyklad_14.xml",
                                    nullptr,
                                    "ABC Developex S.A.",
                                    "ul. Sadowa 1 m. 3",
                                    "00-002 Kraków",
                                    {"ul. Sadowa 1 m.", "3", "00-002", "Kraków"},
                                    "FV2022/08/12",
                                    3076350000,
                                    233572500,
                                    QDate(2022, 8, 17),
                                    "PL73111111111111111111111111",
                                    "Samplofaktur"}),
    [](const ::testing::TestParamInfo<TSampleRecord> &info) {
      return std::string(info.param.CopiedAs ? "copiedUnderKsefNumber" : "asShared") + std::to_string(info.index);
    });

struct TSampleFailure {
  const char *File;
  const char *InvoiceNumber;
  const char *Seller;
  const char *Cause;
};

void PrintTo(const TSampleFailure &row, std::ostream *os) { *os << row.File; }

class SampleFailure : public ::testing::TestWithParam<TSampleFailure> {};

TEST_P(SampleFailure, IsReportedExactly) {
  const TSampleFailure &row = GetParam();
  EXPECT_EQ(FailureOf(QString::fromUtf8(row.File)),
            Composite(QString::fromUtf8(row.File), QString::fromUtf8(row.InvoiceNumber), QString::fromUtf8(row.Seller),
                      QString::fromUtf8(row.Cause)));
}

INSTANTIATE_TEST_SUITE_P(Files, SampleFailure,
                         ::testing::Values(
                             // Paid on the spot: no account at all.
                             TSampleFailure{"mf3-FA_3_Przyklad_1.xml", "FV2026/02/150", "ABC AGD sp. z o. o.",
                                            "Nieprawidłowy numer rachunku: faktura nie podaje rachunku bankowego "
                                            "sprzedawcy (RachunekBankowy)"},
                             // The only account is the factor's.
                             TSampleFailure{"mf2-FA_2_Przyklad_4.xml", "FV2022/02/150", "ABC AGD sp. z o. o.",
                                            "Nieprawidłowy numer rachunku: faktura nie podaje rachunku bankowego "
                                            "sprzedawcy (RachunekBankowy)"},
                             // Correction invoices: nothing to pay.
                             TSampleFailure{"mf3-FA_3_Przyklad_2.xml", "FK2026/03/200", "ABC AGD sp. z o. o.",
                                            "Nieprawidłowa/ujemna kwota faktury."},
                             TSampleFailure{"mf3-FA_3_Przyklad_11.xml", "FK2026/03/5", "ABC Developex sp. z o. o.",
                                            "Nieprawidłowa/ujemna kwota faktury."}));

} // namespace
