#include "iso20022/StandardTitle.h"

#include "TestSupport.h"

namespace {

// A KSeF number of the current form with a right check sum.
const QString KsefNumber = QStringLiteral("1234563218-20260305-0A1B2C3D4E5F-7E");

struct TTitleCase {
  const char *Name;
  TAmount VAT;
  QString NIP;
  QString Ksef;
  QString InvoiceNumber;
  QString Reference;
  QString Title;
  bool QuotesKsefNumber;
};

void PrintTo(const TTitleCase &c, std::ostream *os) { *os << c.Name; }

class StandardTitleCases : public ::testing::TestWithParam<TTitleCase> {};

TEST_P(StandardTitleCases, WritesTheBanksForm) {
  const TTitleCase &c = GetParam();
  const TStandardTitle title = StandardTitle(c.VAT, c.NIP, c.Ksef, c.InvoiceNumber, c.Reference);
  EXPECT_EQ(title.Text(), c.Title);
  EXPECT_EQ(title.QuotesKsefNumber, c.QuotesKsefNumber);
  EXPECT_LE(title.Text().size(), 140);
}

INSTANTIATE_TEST_SUITE_P(
    Titles, StandardTitleCases,
    ::testing::Values(
        TTitleCase{"withKsefNumber", TAmount::FromUnits(2300000), QStringLiteral("8943001230"), KsefNumber,
                   QStringLiteral("FV/12/2026"), QStringLiteral("ref"),
                   QStringLiteral("/VAT/230,00/IDC/8943001230/INV/") + KsefNumber + QStringLiteral("/TXT/FV/12/2026"),
                   true},
        TTitleCase{"withoutKsefNumberTheReferenceCloses", TAmount::FromUnits(2300000), QStringLiteral("8943001230"),
                   QStringLiteral("Program Fakturujący 2.1"), QStringLiteral("FV-12-2026"),
                   QStringLiteral("Zlecenie 7"),
                   QStringLiteral("/VAT/230,00/IDC/8943001230/INV/FV-12-2026/TXT/Zlecenie 7"), false},
        TTitleCase{"batchWithoutReferenceAndVatZero", TAmount(), QStringLiteral("8943001230"), QString(),
                   QStringLiteral("A1"), QString(), QStringLiteral("/VAT/0,00/IDC/8943001230/INV/A1/TXT/"), false},
        TTitleCase{"nipWithBlanksAndPrefix", TAmount::FromUnits(10000), QStringLiteral("PL 894-300-12-30"), QString(),
                   QStringLiteral("A1"), QString(), QStringLiteral("/VAT/1,00/IDC/8943001230/INV/A1/TXT/"), false},
        TTitleCase{"longInvoiceNumberCut", TAmount::FromUnits(10000), QStringLiteral("8943001230"), QString(),
                   QString(40, u'7'), QString(),
                   QStringLiteral("/VAT/1,00/IDC/8943001230/INV/") + QString(35, u'7') + QStringLiteral("/TXT/"),
                   false}),
    [](const auto &info) { return std::string(info.param.Name); });

} // namespace
