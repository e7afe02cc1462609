#include "PdfTestSupport.h"
#include "TestSupport.h"
#include "pdf/InvoicePdf.h"
#include "pdf/InvoiceReader.h"
#include "pdf/VerificationLink.h"

namespace {

const QString QrBase = QStringLiteral("https://qr.ksef.mf.gov.pl/invoice/");

class InvoicePdfTest : public ::testing::Test {
protected:
  InvoicePdfTest() { EnsureGuiApplication(); }

  // The text of the PDF rendered from the invoice's bytes.
  QString TextOf(const QByteArray &invoice, const QString &name = QStringLiteral("fa.xml"),
                 const QString &ksefNumber = QString()) {
    Dir.WriteBytes(QStringLiteral("fa.PDF"), RenderInvoicePdf(invoice, Dir.File(name), ksefNumber, QrBase));
    return PdfText(Dir.File(QStringLiteral("fa.PDF")));
  }

  TTempDir Dir;
};

TEST_F(InvoicePdfTest, EverySampleInvoiceRenders) {
  for (const QString &name : SampleInvoiceNames()) {
    const QByteArray pdf = RenderInvoicePdf(SampleInvoice(name), name, QString(), QrBase);
    EXPECT_TRUE(pdf.startsWith("%PDF-")) << name.toStdString();
  }
  EXPECT_GE(SampleInvoiceNames().size(), 35);
}

// Text copied out of the PDF is the text printed: a ligature ("fl" drawn as one glyph) would
// copy as U+FB02 and break a copied link or word.
TEST_F(InvoicePdfTest, TextCopiesOutWithoutLigaturesAndTheLinkVerbatim) {
  for (const QString &name : SampleInvoiceNames()) {
    const QByteArray invoice = SampleInvoice(name);
    const TInvoiceDocument document = ReadInvoiceDocument(invoice, name);
    const QString text = TextOf(invoice, name);

    for (const QChar c : text)
      ASSERT_FALSE(c.unicode() >= 0xFB00 && c.unicode() <= 0xFB06)
          << name.toStdString() << ": U+" << std::hex << int(c.unicode()) << "\n"
          << text.toStdString();
    EXPECT_TRUE(text.contains(VerificationLink(QrBase, document.Seller.Nip, document.IssueDate, invoice)))
        << name.toStdString() << "\n"
        << text.toStdString();
  }
  const QString text = TextOf(SampleInvoice(QStringLiteral("mf3-FA_3_Przyklad_1.xml")));
  EXPECT_TRUE(text.contains(QStringLiteral("/15-02-2026/X-wQflQVyRs1fImlI-xDPnWk1V37hys4O1lkx9iJbSA")))
      << text.toStdString();
}

TEST_F(InvoicePdfTest, ShowsPartiesLinesSummaryTotalAndAccount) {
  const QString text = TextOf(SampleInvoice(QStringLiteral("mf3-FA_3_Przyklad_9.xml")));

  for (const char *expected :
       {"Faktura podstawowa", "FV2026/02/150", "Sprzedawca", "Nabywca", "Gmina Bzdziszewo",
        "Szkoła Podstawowa w Bzdziszewie", "rata leasingowa za 01/2026", "Podsumowanie stawek podatku", "23% lub 22%",
        "zwolnione od podatku", "Kwota należności ogółem: 2 760,00 PLN", "73 1111 1111 1111 1111 1111 1111", "Przelew"})
    EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n" << text.toStdString();
}

TEST_F(InvoicePdfTest, ShowsTheVatInPlnOfAnInvoiceInEuro) {
  const QString text = TextOf(SampleInvoice(QStringLiteral("mf3-FA_3_Przyklad_21.xml")));

  EXPECT_TRUE(text.contains(QStringLiteral("Kwota podatku w"))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("13 768,14"))) << "P_14_1W\n" << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("Kwota należności ogółem: 16 678,80 EUR"))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("Rachunek bankowy faktora"))) << text.toStdString();
}

TEST_F(InvoicePdfTest, AnnotatesSplitPaymentAndKeepsPolishLetters) {
  const QString text = TextOf(MinimalInvoice(1, QStringLiteral("<Adnotacje><P_16>2</P_16><P_17>2</P_17><P_18>2</P_18>"
                                                               "<P_18A>1</P_18A></Adnotacje>")));

  EXPECT_TRUE(text.contains(QStringLiteral("Mechanizm podzielonej płatności"))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("Żółta Łódź sp. z o.o."))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("ul. Ślężna 5"))) << text.toStdString();
}

// A long invoice runs onto further pages, each with the lines' header and its number.
TEST_F(InvoicePdfTest, RepeatsTheLinesHeaderOnEveryPage) {
  const QStringList pages = TextOf(MinimalInvoice(120)).split(u'\f', Qt::SkipEmptyParts);

  ASSERT_GE(pages.size(), 3);
  for (qsizetype page = 0; page + 1 < pages.size(); ++page) {
    EXPECT_TRUE(pages[page].contains(QStringLiteral("Nazwa towaru lub usługi"))) << "page " << page + 1;
    EXPECT_TRUE(pages[page].contains(QStringLiteral("Strona %1 z %2").arg(page + 1).arg(pages.size())))
        << "page " << page + 1;
  }
  EXPECT_TRUE(pages[1].contains(QStringLiteral("Usługa numer 60")) ||
              pages[2].contains(QStringLiteral("Usługa numer 60")));
  EXPECT_TRUE(pages.last().contains(QStringLiteral("Kwota należności ogółem: 14 760,00 PLN")) ||
              pages[pages.size() - 2].contains(QStringLiteral("Kwota należności ogółem: 14 760,00 PLN")));
}

// The link of the code, worked out apart from the program from the sample's bytes.
TEST_F(InvoicePdfTest, TheQrCodeCarriesTheVerificationLink) {
  const QString expected = QStringLiteral(
      "https://qr.ksef.mf.gov.pl/invoice/9999999999/15-02-2026/FgGUpk3qgen0hB3swSuSn49dgGojtVn5kTQElEMbz4c");
  const QString text = TextOf(SampleInvoice(QStringLiteral("mf3-FA_3_Przyklad_4.xml")));
  const qsizetype pages = text.split(u'\f', Qt::SkipEmptyParts).size();

  EXPECT_EQ(QrCodesOnPage(Dir.File(QStringLiteral("fa.PDF")), static_cast<int>(pages)), expected);
  EXPECT_TRUE(text.contains(expected)) << "the link is printed below the code";
}

TEST_F(InvoicePdfTest, PrintsAKsefNumberOnlyWhenItIsOne) {
  const QString number = QStringLiteral("5265877635-20250826-0100001AF629-AF");

  EXPECT_TRUE(
      TextOf(MinimalInvoice(), QStringLiteral("fa.xml"), number).contains(QStringLiteral("Numer KSeF: ") + number));
  EXPECT_FALSE(
      TextOf(MinimalInvoice(), QStringLiteral("fa.xml"), QStringLiteral("Program")).contains(QStringLiteral("KSeF:")));
  EXPECT_TRUE(TextOf(MinimalInvoice(), number + QStringLiteral(".xml"), QStringLiteral("Program"))
                  .contains(QStringLiteral("Numer KSeF: ") + number))
      << "taken from the file name";
}

} // namespace
