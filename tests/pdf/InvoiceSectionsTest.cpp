#include "PdfTestSupport.h"
#include "TestSupport.h"
#include "pdf/InvoiceReader.h"
#include "pdf/InvoiceSections.h"

namespace {

const QString Link = QStringLiteral("https://qr.ksef.mf.gov.pl/invoice/1/01-02-2026/x");

std::vector<TPdfBlock> SectionsOf(const QByteArray &xml) {
  return InvoiceSections(ReadInvoiceDocument(xml, QStringLiteral("fa.xml")), QString(), Link);
}

QStringList Headings(const std::vector<TPdfBlock> &blocks) {
  QStringList headings;
  for (const TPdfBlock &block : blocks)
    if (const auto *heading = std::get_if<THeadingBlock>(&block))
      headings.append(heading->Text);
  return headings;
}

QStringList Texts(const std::vector<TPdfBlock> &blocks) {
  QStringList texts;
  for (const TPdfBlock &block : blocks)
    if (const auto *text = std::get_if<TTextBlock>(&block))
      texts.append(text->Text);
  return texts;
}

const TTableBlock *FirstTable(const std::vector<TPdfBlock> &blocks) {
  for (const TPdfBlock &block : blocks)
    if (const auto *table = std::get_if<TTableBlock>(&block))
      return table;
  return nullptr;
}

TEST(InvoiceSections, WhatTheInvoiceDoesNotCarryIsLeftOut) {
  const std::vector<TPdfBlock> blocks = SectionsOf(MinimalInvoice());

  EXPECT_EQ(Headings(blocks), (QStringList{QStringLiteral("Szczegóły"), QStringLiteral("Pozycje"),
                                           QStringLiteral("Podsumowanie stawek podatku"),
                                           QStringLiteral("Sprawdź, czy faktura znajduje się w KSeF")}));
  const TTableBlock *lines = FirstTable(blocks);
  ASSERT_NE(lines, nullptr);
  QStringList titles;
  for (const TTableColumn &column : lines->Columns)
    titles.append(column.Title);
  EXPECT_EQ(titles, (QStringList{QStringLiteral("Lp."), QStringLiteral("Nazwa towaru lub usługi"),
                                 QStringLiteral("Cena jedn. netto"), QStringLiteral("Ilość"), QStringLiteral("Miara"),
                                 QStringLiteral("Stawka podatku"), QStringLiteral("Wartość sprzedaży netto")}))
      << "no line has a discount";
}

TEST(InvoiceSections, SplitPaymentAndReverseChargeAreAnnotated) {
  const std::vector<TPdfBlock> blocks = SectionsOf(MinimalInvoice(
      1, QStringLiteral("<Adnotacje><P_16>2</P_16><P_17>2</P_17><P_18>1</P_18><P_18A>1</P_18A>"
                        "<Zwolnienie><P_19N>1</P_19N></Zwolnienie><NoweSrodkiTransportu><P_22N>1</P_22N>"
                        "</NoweSrodkiTransportu><P_23>2</P_23><PMarzy><P_PMarzyN>1</P_PMarzyN></PMarzy></Adnotacje>")));

  EXPECT_TRUE(Headings(blocks).contains(QStringLiteral("Adnotacje")));
  EXPECT_TRUE(Texts(blocks).contains(QStringLiteral("Mechanizm podzielonej płatności")));
  EXPECT_TRUE(Texts(blocks).contains(QStringLiteral("Odwrotne obciążenie")));
  EXPECT_FALSE(Texts(blocks).contains(QStringLiteral("Metoda kasowa")));
}

TEST(InvoiceSections, AnnotationsAllSaidNoLeaveTheSectionOut) {
  const std::vector<TPdfBlock> blocks = SectionsOf(SampleInvoice(QStringLiteral("mf3-FA_3_Przyklad_4.xml")));

  EXPECT_FALSE(Headings(blocks).contains(QStringLiteral("Adnotacje")));
  EXPECT_TRUE(Headings(blocks).contains(QStringLiteral("Rozliczenie")));
}

TEST(InvoiceSections, RatesFilledWithZerosAreLeftOutOfTheSummary) {
  // Only the exempt sale carries an amount; the other rates are written as zeros.
  const std::vector<TPdfBlock> blocks =
      SectionsOf(SampleInvoice(QStringLiteral("alap-6891152920-20231221-B3242FB4B54B-DF.xml")));

  for (const TPdfBlock &block : blocks)
    if (const auto *table = std::get_if<TTableBlock>(&block);
        table && table->Columns[1].Title == QStringLiteral("Stawka podatku") && table->Columns.size() == 5) {
      ASSERT_EQ(table->Rows.size(), 1u);
      EXPECT_EQ(table->Rows[0][1], QStringLiteral("zwolnione od podatku"));
      return;
    }
  ADD_FAILURE() << "no VAT summary";
}

TEST(InvoiceSections, ACorrectionNamesTheCorrectedInvoiceAndTheReason) {
  const std::vector<TPdfBlock> blocks = SectionsOf(SampleInvoice(QStringLiteral("mf3-FA_3_Przyklad_2.xml")));

  EXPECT_TRUE(Headings(blocks).contains(QStringLiteral("Dane faktury korygowanej")));
  bool reason = false;
  for (const TPdfBlock &block : blocks)
    if (const auto *fields = std::get_if<TFieldsBlock>(&block))
      for (const TField &field : fields->Fields)
        reason = reason || field.Label == QStringLiteral("Przyczyna korekty");
  EXPECT_TRUE(reason);
}

} // namespace
