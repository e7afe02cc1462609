#include "TestSupport.h"
#include "journal/KsefInvoiceText.h"

#include <gtest/gtest.h>

namespace {

// The seller's name and the invoice's number are KSeF's outside data: a spreadsheet gets them
// as text, never as a formula, and a semicolon or a quote does not break the line.
TEST(KsefInvoiceTextTest, TheCsvLineKeepsOutsideTextsAsText) {
  TKsefInvoiceRecord invoice;
  invoice.Environment = QStringLiteral("produkcyjne");
  invoice.KsefNumber = QStringLiteral("5260000001-20261103-A1B2C3000001-5D");
  invoice.SellerNIP = QStringLiteral("5260000001");
  invoice.SellerName = QStringLiteral("=HYPERLINK(\"x\";\"y\")");
  invoice.InvoiceNumber = QStringLiteral("FV;1");
  invoice.IssueDate = QStringLiteral("2026-11-03");
  invoice.Currency = QStringLiteral("EUR");
  invoice.Sha256 = QStringLiteral("ab");
  invoice.FilePath = QStringLiteral("FAKTURY_KSEF/5260000001-20261103-A1B2C3000001-5D.xml");
  invoice.DownloadedAt = QDateTime(QDate(2026, 12, 11), QTime(9, 5, 1));

  const struct {
    std::optional<TAmount> Gross;
    const char *Amount;
  } amounts[] = {{TAmount::FromUnits(-12345000), "-1234,50"}, {std::nullopt, ""}};
  for (const auto &amount : amounts) {
    invoice.GrossAmount = amount.Gross;
    EXPECT_EQ(QString::fromUtf8(KsefInvoiceCsvLine(invoice)),
              QStringLiteral("2026-12-11 09:05:01;5260000001-20261103-A1B2C3000001-5D;5260000001;"
                             "\"'=HYPERLINK(\"\"x\"\";\"\"y\"\")\";\"FV;1\";2026-11-03;%1;EUR;"
                             "FAKTURY_KSEF/5260000001-20261103-A1B2C3000001-5D.xml;produkcyjne;ab\r\n")
                  .arg(QString::fromLatin1(amount.Amount)));
  }
}

} // namespace
