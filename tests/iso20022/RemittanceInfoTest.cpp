#include "Pain001View.h"
#include "TestSupport.h"
#include "iso20022/Pain001Generator.h"
#include "iso20022/Pain001Writer.h"

#include <tuple>

namespace {

// The same invoice paid through both documents: their split-payment encodings differ only in
// where the structured KSeF reference comes from.
const QDateTime Now(QDate(2025, 1, 31), QTime(14, 5, 9));
const QString InvoiceNumber = QStringLiteral("FV/1/2025");
const QString NIP = QStringLiteral("5265877635");
const QString Transaction = QStringLiteral("PmtInf/CdtTrfTxInf");
const QString Unstructured = QStringLiteral("/VAT/230.85/IDC/FV/1/2025/TXT/5265877635");

const TCompanyData Company{QStringLiteral("Płatnik S.A."), QStringLiteral("1234563218"),
                           QStringLiteral("PL27114020040000300201355387"), QStringLiteral("BREXPLPW")};

// The invoice's payment as the batch writer gets it.
TPayment SupplierPayment(TAmount vat, const QString &ksefNumber) {
  TPayment payment;
  payment.InvoiceNumber = InvoiceNumber;
  payment.CreditorName = QStringLiteral("Dostawca");
  payment.CreditorNIP = NIP;
  payment.CreditorCountry = QStringLiteral("PL");
  payment.CreditorIBAN = QStringLiteral("PL61109010140000071219812874");
  payment.Amount = TAmount::ParsePolish(QStringLiteral("1234,50"));
  payment.VATAmount = vat;
  payment.nrKsef = ksefNumber;
  return payment;
}

enum class TDocument { SingleInvoice, MultiPayment };

// Writes the document and returns the KSeF reference its structured encoding should carry.
QString WriteDocument(TDocument kind, const TMPPSettings &mpp, const QString &file) {
  const TAmount vat = TAmount::ParsePolish(QStringLiteral("230,85"));
  if (kind == TDocument::SingleInvoice) {
    TPayment invoice;
    invoice.InvoiceNumber = InvoiceNumber;
    invoice.CreditorName = QStringLiteral("Dostawca");
    invoice.CreditorNIP = NIP;
    invoice.CreditorCountry = QStringLiteral("PL");
    invoice.CreditorTwnNm = QStringLiteral("Kraków");
    invoice.CreditorIBAN = QStringLiteral("PL61109010140000071219812874");
    invoice.Amount = TAmount::ParsePolish(QStringLiteral("1234,50"));
    invoice.CurrencyCode = QStringLiteral("PLN");
    invoice.VATAmount = vat;
    invoice.nrKsef = QStringLiteral("5265877635-20250131-0100A0B1C2D3-E4");
    TPain001Generator::Generate(invoice, Company, mpp, file, QString(), Now);
    return invoice.nrKsef;
  }
  const TPayment payment = SupplierPayment(vat, QStringLiteral("KSEF-REF-9"));
  TPain001Writer::Generate(TPaymentList{payment}, Company, mpp, file, Now);
  return payment.nrKsef;
}

class SplitPaymentRemittance : public ::testing::TestWithParam<std::tuple<TDocument, TMPPFormat>> {};

TEST_P(SplitPaymentRemittance, EncodesTheChosenFormat) {
  const auto [kind, format] = GetParam();
  TTempDir dir;
  const QString file = dir.File(QStringLiteral("Pain001_MPP.xml"));
  const QString ksefReference = WriteDocument(kind, TMPPSettings{true, format}, file);
  EXPECT_TRUE(IsValidPain001(file));
  const TPain001View view(file);
  const QString remittance = Transaction + QStringLiteral("/RmtInf");

  switch (format) {
  case TMPPFormat::None:
    EXPECT_EQ(view.ChildNames(Transaction).last(), QStringLiteral("CdtrAcct"));
    EXPECT_EQ(view.Count(remittance), 0);
    return;
  case TMPPFormat::Ustrd:
    EXPECT_EQ(view.ChildNames(remittance), QStringList{"Ustrd"});
    EXPECT_EQ(view.Text(remittance + "/Ustrd"), Unstructured);
    return;
  case TMPPFormat::Standard:
    EXPECT_EQ(view.ChildNames(remittance), QStringList{"Ustrd"});
    EXPECT_TRUE(view.Text(remittance + "/Ustrd").startsWith(QStringLiteral("/VAT/")));
    return;
  case TMPPFormat::Structured:
  case TMPPFormat::Both: break;
  }
  EXPECT_EQ(view.ChildNames(Transaction).last(), QStringLiteral("RmtInf"));
  EXPECT_EQ(view.ChildNames(remittance),
            format == TMPPFormat::Both ? (QStringList{"Ustrd", "Strd"}) : QStringList{"Strd"});
  if (format == TMPPFormat::Both) {
    EXPECT_EQ(view.Text(remittance + "/Ustrd"), Unstructured);
  }
  EXPECT_EQ(view.ChildNames(remittance + "/Strd"), (QStringList{"TaxRmt", "AddtlRmtInf"}));
  EXPECT_EQ(view.ChildNames(remittance + "/Strd/TaxRmt"), (QStringList{"Cdtr", "RefNb", "TtlTaxAmt"}));
  EXPECT_EQ(view.ChildNames(remittance + "/Strd/TaxRmt/Cdtr"), QStringList{"TaxId"});
  EXPECT_EQ(view.Text(remittance + "/Strd/TaxRmt/Cdtr/TaxId"), NIP);
  EXPECT_EQ(view.Text(remittance + "/Strd/TaxRmt/RefNb"), format == TMPPFormat::Both ? InvoiceNumber : ksefReference);
  EXPECT_EQ(view.Text(remittance + "/Strd/TaxRmt/TtlTaxAmt"), QStringLiteral("230.85"));
  EXPECT_EQ(view.Attribute(remittance + "/Strd/TaxRmt/TtlTaxAmt", "Ccy"), QStringLiteral("PLN"));
  EXPECT_EQ(view.Text(remittance + "/Strd/AddtlRmtInf"), QStringLiteral("Płatność podzielona"));
}

INSTANTIATE_TEST_SUITE_P(BothDocuments, SplitPaymentRemittance,
                         ::testing::Combine(::testing::Values(TDocument::SingleInvoice, TDocument::MultiPayment),
                                            ::testing::Values(TMPPFormat::None, TMPPFormat::Ustrd,
                                                              TMPPFormat::Structured, TMPPFormat::Both,
                                                              TMPPFormat::Standard)));

// A payment without a KSeF number, or with blanks for one, is referred to by its invoice number
// in the structured encoding: the schema takes no empty RefNb.
TEST(StructuredRemittance, WithoutKsefNumberGivesTheInvoiceNumber) {
  for (const QString &ksefNumber : {QString(), QStringLiteral("  ")}) {
    TTempDir dir;
    const QString file = dir.File(QStringLiteral("Pain001Paczka_MPP.xml"));
    const TPayment payment = SupplierPayment(TAmount::ParsePolish(QStringLiteral("230,85")), ksefNumber);
    TPain001Writer::Generate(TPaymentList{payment}, Company, TMPPSettings{true, TMPPFormat::Structured}, file, Now);
    EXPECT_TRUE(IsValidPain001(file));
    EXPECT_EQ(TPain001View(file).Text(Transaction + "/RmtInf/Strd/TaxRmt/RefNb"), InvoiceNumber);
  }
}

// No schema check: the schema refuses the empty tax number and name.
TEST(UnstructuredRemittance, ValuesGoInAsTheyAre) {
  TTempDir dir;
  const QString file = dir.File(QStringLiteral("Pain001.xml"));
  TPayment payment;
  payment.InvoiceNumber = QStringLiteral("A/%1/%2");
  payment.CreditorNIP = QString();
  payment.CreditorIBAN = QStringLiteral("PL61109010140000071219812874");
  payment.CreditorCountry = QStringLiteral("PL");
  TPain001Writer::Generate(TPaymentList{payment}, Company, TMPPSettings{true, TMPPFormat::Ustrd}, file, Now);
  EXPECT_EQ(TPain001View(file).Text(Transaction + "/RmtInf/Ustrd"), QStringLiteral("/VAT/0.00/IDC/A/%1/%2/TXT/"));
}

struct TPlainCase {
  TPaymentKind Kind;
  QString CreditorAddress;
  QString Expected;
};

class MultiPaymentPlainRemittance : public ::testing::TestWithParam<TPlainCase> {};

// A VideoTel payment is known by its kind, never by its address.
TEST_P(MultiPaymentPlainRemittance, OnlyAVideoTelPaymentIsWrittenAsItsTitle) {
  TTempDir dir;
  const QString file = dir.File(QStringLiteral("Pain001Paczka.xml"));
  TPayment payment;
  payment.Kind = GetParam().Kind;
  payment.InvoiceNumber = QStringLiteral("Czynsz za styczeń");
  payment.CreditorName = QStringLiteral("Wynajmujący");
  payment.CreditorIBAN = QStringLiteral("PL61109010140000071219812874");
  payment.CreditorCountry = QStringLiteral("PL");
  payment.CreditorAddress = GetParam().CreditorAddress;
  payment.nrKsef = QStringLiteral("KSEF-1");
  TPain001Writer::Generate(TPaymentList{payment}, Company, TMPPSettings{false, TMPPFormat::Both}, file, Now);
  EXPECT_TRUE(IsValidPain001(file));
  const TPain001View view(file);
  EXPECT_EQ(view.ChildNames(Transaction + "/RmtInf"), QStringList{"Ustrd"});
  EXPECT_EQ(view.Text(Transaction + "/RmtInf/Ustrd"), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, MultiPaymentPlainRemittance,
    ::testing::Values(TPlainCase{TPaymentKind::VideoTel, QString(), QStringLiteral("Czynsz za styczeń")},
                      TPlainCase{TPaymentKind::Invoice, QStringLiteral("V"),
                                 QStringLiteral("Zapłata za fakturę nr: Czynsz za styczeń;  nr KSeF: KSEF-1")},
                      TPlainCase{TPaymentKind::Invoice, QStringLiteral("ul. Długa 5"),
                                 QStringLiteral("Zapłata za fakturę nr: Czynsz za styczeń;  nr KSeF: KSEF-1")}));

} // namespace
