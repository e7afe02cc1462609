#include "TestSupport.h"
#include "ksef/KsefInvoiceReader.h"

#include <QDir>

namespace {

const QDateTime Now(QDate(2026, 5, 4), QTime(8, 0));
const QString Separator = QString(104, u'-') + QStringLiteral("\r\n");

QString SamplePath(const QString &name) { return SharedPath(QStringLiteral("ksef/samples/") + name); }

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
  const QStringList names =
      QDir(SharedPath(QStringLiteral("ksef/samples"))).entryList({QStringLiteral("*.xml")}, QDir::Files, QDir::Name);
  ASSERT_GE(names.size(), 30) << "the shared samples are missing";
  int loaded = 0;
  for (const QString &name : names) {
    SCOPED_TRACE(name.toStdString());
    try {
      const TInvoicePaymentData data = TKsefInvoiceReader::LoadFromFile(SamplePath(name), Now);
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

TEST(Samples, InvoiceWithAccountLoads) {
  const TInvoicePaymentData data =
      TKsefInvoiceReader::LoadFromFile(SamplePath(QStringLiteral("ksef2-KSEF_01_VAT_STANDARD.xml")), Now);
  EXPECT_EQ(data.CreditorName, QStringLiteral("TECH-SOLUTIONS sp. z o.o."));
  EXPECT_EQ(data.CreditorNIP, QStringLiteral("9999999999"));
  EXPECT_EQ(data.CreditorAddress, QStringLiteral("ul. Marszalkowska 100"));
  EXPECT_EQ(data.CreditorAddress2, QStringLiteral("00-001 Warszawa"));
  EXPECT_EQ(data.InvoiceNumber, QStringLiteral("FV/2025/12/0001"));
  EXPECT_EQ(data.CurrencyCode, QStringLiteral("PLN"));
  EXPECT_EQ(data.Amount, TAmount::FromUnits(50000000));
  EXPECT_EQ(data.VATAmount, TAmount::FromUnits(9349600));
  EXPECT_EQ(data.InvoiceDate, QDateTime(QDate(2025, 12, 15), QTime(0, 0)));
  EXPECT_EQ(data.CreditorIBAN, QStringLiteral("PL61109010140000071219812874"));
}

TEST(Samples, TwentySixDigitAccountWithoutAnyVatLoads) {
  const TInvoicePaymentData data =
      TKsefInvoiceReader::LoadFromFile(SamplePath(QStringLiteral("mf3-FA_3_Przyklad_8.xml")), Now);
  EXPECT_EQ(data.InvoiceNumber, QStringLiteral("FM2026/02/150"));
  EXPECT_EQ(data.Amount, TAmount::FromUnits(150000000));
  EXPECT_EQ(data.VATAmount, TAmount());
  EXPECT_EQ(data.CreditorIBAN, QStringLiteral("PL73111111111111111111111111"));
}

TEST(Samples, TwoVatRatesAreSummed) {
  const TInvoicePaymentData data =
      TKsefInvoiceReader::LoadFromFile(SamplePath(QStringLiteral("mf2-Fa_2_Przyklad_14.xml")), Now);
  EXPECT_EQ(data.Amount, TAmount::FromUnits(3076350000));
  EXPECT_EQ(data.VATAmount, TAmount::FromUnits(233572500)) << "943.04 + 22414.21";
}

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
