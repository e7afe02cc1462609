#include "PdfTestSupport.h"
#include "TestSupport.h"
#include "pdf/InvoiceReader.h"

namespace {

TEST(InvoiceReader, ReadsPartiesLinesSettlementAndTheFactorsAccount) {
  const TInvoiceDocument invoice =
      ReadInvoiceDocument(SampleInvoice(QStringLiteral("mf3-FA_3_Przyklad_4.xml")), QStringLiteral("fa.xml"));

  EXPECT_EQ(invoice.Schema, QStringLiteral("FA (3)"));
  EXPECT_EQ(invoice.Kind, QStringLiteral("VAT"));
  EXPECT_EQ(invoice.Number, QStringLiteral("FV2026/02/150"));
  EXPECT_EQ(invoice.Seller.Name, QStringLiteral("ABC AGD sp. z o. o."));
  EXPECT_EQ(invoice.Seller.Nip, QStringLiteral("9999999999"));
  EXPECT_EQ(invoice.Buyer.Name, QStringLiteral("CDE sp. j."));
  ASSERT_EQ(invoice.OtherParties.size(), 1u);
  EXPECT_EQ(invoice.OtherParties[0].Role, QStringLiteral("Faktor"));
  ASSERT_EQ(invoice.Lines.size(), 3u);
  EXPECT_EQ(invoice.Lines[1].Name, QStringLiteral("zamrażarka Zimnotech mk2"));
  EXPECT_EQ(invoice.Lines[1].Discount, QStringLiteral("100"));
  EXPECT_EQ(invoice.Lines[1].Codes, QStringList{QStringLiteral("CN 8418 40 20")});
  EXPECT_FALSE(invoice.GrossPrices);
  ASSERT_EQ(invoice.VatRates.size(), 1u);
  EXPECT_EQ(invoice.VatRates[0].Net, QStringLiteral("52260.10"));
  EXPECT_EQ(invoice.Total, QStringLiteral("64279.92"));
  EXPECT_EQ(invoice.Settlement.ToPay, QStringLiteral("63279.92"));
  ASSERT_EQ(invoice.Payment.FactorAccounts.size(), 1u);
  EXPECT_EQ(invoice.Payment.FactorAccounts[0].Number, QStringLiteral("73111111111111111111111111"));
  EXPECT_TRUE(invoice.Payment.Accounts.empty());
  ASSERT_EQ(invoice.Registries.size(), 1u);
  EXPECT_EQ(invoice.Registries[0].Krs, QStringLiteral("0000099999"));
}

TEST(InvoiceReader, ReadsTheVatInPlnOfAForeignCurrencyInvoice) {
  const TInvoiceDocument invoice =
      ReadInvoiceDocument(SampleInvoice(QStringLiteral("mf2-Fa_2_Przyklad_20.xml")), QStringLiteral("fa.xml"));

  EXPECT_EQ(invoice.Schema, QStringLiteral("FA (2)"));
  EXPECT_EQ(invoice.Currency, QStringLiteral("EUR"));
  ASSERT_EQ(invoice.VatRates.size(), 1u);
  EXPECT_FALSE(invoice.VatRates[0].VatPln.isEmpty());
}

TEST(InvoiceReader, DescribesADueDateByItsEvent) {
  const TInvoiceDocument invoice =
      ReadInvoiceDocument(SampleInvoice(QStringLiteral("mf3-FA_3_Przyklad_8.xml")), QStringLiteral("fa.xml"));

  ASSERT_EQ(invoice.Payment.DueDates.size(), 1u);
  EXPECT_EQ(invoice.Payment.DueDates[0].Text, QStringLiteral("30 dni od zdarzenia: Otrzymanie faktury"));
  EXPECT_EQ(invoice.Annotations.MarginProcedure, QStringLiteral("P_PMarzy_3_1"));
}

TEST(InvoiceReader, RefusesWhatIsNoKsefInvoice) {
  EXPECT_THROW_MESSAGE(ReadInvoiceDocument("<Faktura><Podmiot1/></Faktura>", QStringLiteral("/tmp/x/fa.xml")),
                       QStringLiteral("Plik \"fa.xml\" nie jest fakturą KSeF: brak elementu Fa."));
  EXPECT_THROW_MESSAGE(ReadInvoiceDocument("<Zamowienie/>", QStringLiteral("fa.xml")),
                       QStringLiteral("Plik \"fa.xml\" nie jest fakturą KSeF: brak elementu Faktura."));
  EXPECT_THROW_MESSAGE(
      ReadInvoiceDocument("<Faktura><Podmiot1/><Fa><P_1>2026-02-01</P_1></Fa></Faktura>", QStringLiteral("fa.xml")),
      QStringLiteral("Plik \"fa.xml\" nie jest fakturą KSeF: brak elementu Fa/P_2."));
}

TEST(InvoiceReader, RefusesMalformedXmlNamingTheFile) {
  try {
    ReadInvoiceDocument("<Faktura><Fa>", QStringLiteral("/tmp/x/zla.xml"));
    ADD_FAILURE() << "no error";
  } catch (const Exception &error) {
    EXPECT_TRUE(error.Message().startsWith(QStringLiteral("Plik \"zla.xml\" nie jest poprawnym plikiem XML")))
        << error.Message().toStdString();
  }
}

} // namespace
