#include "Pain001View.h"
#include "TestSupport.h"
#include "iso20022/Pain001Generator.h"
#include "model/StructuredAddress.h"

#include <QFile>

namespace {

const QDateTime Now(QDate(2025, 1, 31), QTime(14, 5, 9));
const QString KsefNumber = QStringLiteral("5265877635-20250131-0100A0B1C2D3-E4");
const QString Transaction = QStringLiteral("PmtInf/CdtTrfTxInf");

TPayment Invoice() {
  TPayment invoice;
  invoice.InvoiceNumber = QStringLiteral("FV/1/2025");
  invoice.CreditorName = QStringLiteral("Dostawca Sp. z o.o.");
  invoice.CreditorNIP = QStringLiteral("5265877635");
  invoice.CreditorCountry = QStringLiteral("PL");
  invoice.CreditorStrtNm = QStringLiteral("Długa");
  invoice.CreditorBldgNb = QStringLiteral("5/7");
  invoice.CreditorPstCd = QStringLiteral("00-950");
  invoice.CreditorTwnNm = QStringLiteral("Warszawa");
  invoice.CreditorIBAN = QStringLiteral("PL61109010140000071219812874");
  invoice.Amount = TAmount::ParsePolish(QStringLiteral("1234,5"));
  invoice.CurrencyCode = QStringLiteral("PLN");
  invoice.VATAmount = TAmount::ParsePolish(QStringLiteral("230,85"));
  invoice.nrKsef = KsefNumber;
  return invoice;
}

TCompanyData Company() {
  return TCompanyData{QStringLiteral("Płatnik S.A."), QStringLiteral("1234563218"),
                      QStringLiteral("PL27114020040000300201355387"), QStringLiteral("BREXPLPW")};
}

void Generate(const TPayment &invoice, const TMPPSettings &mpp, const QString &outputFile,
              const QString &reference = QStringLiteral("REF-7")) {
  TPain001Generator::Generate(invoice, Company(), mpp, outputFile, reference, Now);
}

TEST(Pain001Generator, PlainDocumentHoldsEveryPartInOrder) {
  TTempDir dir;
  const QString file = dir.File(QStringLiteral("Pain001.xml"));
  Generate(Invoice(), TMPPSettings{false, TMPPFormat::Both}, file);
  EXPECT_TRUE(IsValidPain001(file));
  const TPain001View view(file);

  EXPECT_EQ(view.ChildNames(QString()), (QStringList{"GrpHdr", "PmtInf"}));
  EXPECT_EQ(view.ChildNames("GrpHdr"), (QStringList{"MsgId", "CreDtTm", "NbOfTxs", "InitgPty"}));
  EXPECT_EQ(view.Text("GrpHdr/MsgId"), QStringLiteral("20250131140509"));
  EXPECT_EQ(view.Text("GrpHdr/CreDtTm"), QStringLiteral("2025-01-31T14:05:09"));
  EXPECT_EQ(view.Text("GrpHdr/NbOfTxs"), QStringLiteral("1"));
  EXPECT_EQ(view.ChildNames("GrpHdr/InitgPty"), QStringList{"Nm"});
  EXPECT_EQ(view.Text("GrpHdr/InitgPty/Nm"), QStringLiteral("Płatnik S.A."));

  EXPECT_EQ(view.ChildNames("PmtInf"), (QStringList{"PmtInfId", "PmtMtd", "NbOfTxs", "PmtTpInf", "ReqdExctnDt", "Dbtr",
                                                    "DbtrAcct", "DbtrAgt", "CdtTrfTxInf"}));
  EXPECT_EQ(view.Text("PmtInf/PmtInfId"), QStringLiteral("20250131140509"));
  EXPECT_EQ(view.Text("PmtInf/PmtMtd"), QStringLiteral("TRF"));
  EXPECT_EQ(view.Text("PmtInf/NbOfTxs"), QStringLiteral("1"));
  EXPECT_EQ(view.Text("PmtInf/PmtTpInf/CtgyPurp/Prtry"), QStringLiteral("Payment"));
  EXPECT_EQ(view.Text("PmtInf/ReqdExctnDt/Dt"), QStringLiteral("2025-01-31"));
  EXPECT_EQ(view.Count("PmtInf/Dbtr/*"), 0);
  EXPECT_EQ(view.Text("PmtInf/DbtrAcct/Id/Othr/Id"), QStringLiteral("PL27114020040000300201355387"));
  EXPECT_EQ(view.ChildNames("PmtInf/DbtrAgt/FinInstnId/ClrSysMmbId"), (QStringList{"ClrSysId", "MmbId"}));
  EXPECT_EQ(view.Text("PmtInf/DbtrAgt/FinInstnId/ClrSysMmbId/ClrSysId/Cd"), QStringLiteral("PLKNR"));
  EXPECT_EQ(view.Text("PmtInf/DbtrAgt/FinInstnId/ClrSysMmbId/MmbId"), QStringLiteral("11402004"));

  EXPECT_EQ(view.ChildNames(Transaction),
            (QStringList{"PmtId", "PmtTpInf", "Amt", "CdtrAgt", "Cdtr", "CdtrAcct", "RmtInf"}));
  EXPECT_EQ(view.Text(Transaction + "/PmtId/EndToEndId"), QStringLiteral("FV/1/2025"));
  EXPECT_EQ(view.ChildNames(Transaction + "/PmtTpInf"), (QStringList{"InstrPrty", "CtgyPurp"}));
  EXPECT_EQ(view.Text(Transaction + "/PmtTpInf/InstrPrty"), QStringLiteral("NORM"));
  EXPECT_EQ(view.Text(Transaction + "/PmtTpInf/CtgyPurp/Prtry"), QStringLiteral("Payment"));
  EXPECT_EQ(view.Text(Transaction + "/Amt/InstdAmt"), QStringLiteral("1234.50"));
  EXPECT_EQ(view.Attribute(Transaction + "/Amt/InstdAmt", "Ccy"), QStringLiteral("PLN"));
  EXPECT_EQ(view.Text(Transaction + "/CdtrAgt/FinInstnId/ClrSysMmbId/ClrSysId/Cd"), QStringLiteral("PLKNR"));
  EXPECT_EQ(view.Text(Transaction + "/CdtrAgt/FinInstnId/ClrSysMmbId/MmbId"), QStringLiteral("10901014"));
  EXPECT_EQ(view.Text(Transaction + "/Cdtr/Nm"), QStringLiteral("Dostawca Sp. z o.o."));
  EXPECT_EQ(view.Texts(Transaction + "/Cdtr/PstlAdr/*"), (QStringList{"Długa", "5/7", "00-950", "Warszawa", "PL"}));
  EXPECT_EQ(view.Text(Transaction + "/CdtrAcct/Id/Othr/Id"), QStringLiteral("PL61109010140000071219812874"));
  EXPECT_EQ(view.ChildNames(Transaction + "/RmtInf"), QStringList{"Ustrd"});
  EXPECT_EQ(view.Text(Transaction + "/RmtInf/Ustrd"),
            QStringLiteral("Zapłata za fakturę nr: FV/1/2025;  nr KSeF: ") + KsefNumber + QStringLiteral("; REF-7"));
}

TEST(Pain001Generator, SplitPaymentLeavesOutThePayerNameAndMarksVatx) {
  TTempDir dir;
  const QString file = dir.File(QStringLiteral("Pain001_MPP.xml"));
  Generate(Invoice(), TMPPSettings{true, TMPPFormat::Ustrd}, file);
  EXPECT_TRUE(IsValidPain001(file));
  const TPain001View view(file);
  EXPECT_EQ(view.Count("GrpHdr/InitgPty"), 1);
  EXPECT_EQ(view.Count("GrpHdr/InitgPty/*"), 0);
  EXPECT_FALSE(dir.ReadBytes(QStringLiteral("Pain001_MPP.xml")).contains(QStringLiteral("Płatnik").toUtf8()));
  EXPECT_EQ(view.Text("PmtInf/PmtTpInf/CtgyPurp/Prtry"), QStringLiteral("VATX"));
  EXPECT_EQ(view.Text(Transaction + "/PmtTpInf/CtgyPurp/Prtry"), QStringLiteral("VATX"));
}

struct TVatCheckCase {
  TMPPFormat Format;
  const char *VAT;
};

class VatCheck : public ::testing::TestWithParam<TVatCheckCase> {};

TEST_P(VatCheck, SplitPaymentWithoutVatWritesNothing) {
  TTempDir dir;
  TPayment invoice = Invoice();
  invoice.InvoiceNumber = QStringLiteral("FV/1");
  invoice.VATAmount = TAmount::ParsePolish(QString::fromUtf8(GetParam().VAT));
  const QString message = QStringLiteral("Faktura FV/1 nie zawiera kwoty VAT (<=0) wymaganej dla MPP.");

  dir.WriteBytes(QStringLiteral("old.xml"), "old file");
  EXPECT_THROW_MESSAGE(Generate(invoice, TMPPSettings{true, GetParam().Format}, dir.File(QStringLiteral("old.xml"))),
                       message);
  EXPECT_EQ(dir.ReadBytes(QStringLiteral("old.xml")), QByteArray("old file"));

  const QString fresh = dir.File(QStringLiteral("new.xml"));
  EXPECT_THROW_MESSAGE(Generate(invoice, TMPPSettings{true, GetParam().Format}, fresh), message);
  EXPECT_FALSE(QFile::exists(fresh));
}

INSTANTIATE_TEST_SUITE_P(Formats, VatCheck,
                         ::testing::Values(TVatCheckCase{TMPPFormat::None, "0"},
                                           TVatCheckCase{TMPPFormat::Ustrd, "0,00"},
                                           TVatCheckCase{TMPPFormat::Structured, "-0,01"},
                                           TVatCheckCase{TMPPFormat::Both, "0"}));

TEST(Pain001Generator, WithoutSplitPaymentAZeroVatIsWritten) {
  TTempDir dir;
  TPayment invoice = Invoice();
  invoice.VATAmount = TAmount();
  const QString file = dir.File(QStringLiteral("Pain001.xml"));
  Generate(invoice, TMPPSettings{false, TMPPFormat::Ustrd}, file);
  EXPECT_TRUE(IsValidPain001(file));
}

TEST(Pain001Generator, EndToEndIdTakesTheFirst35CharactersAndTheRemittanceTheWholeNumber) {
  TTempDir dir;
  TPayment invoice = Invoice();
  invoice.InvoiceNumber = QStringLiteral("FV/2025/01/31/ABCDEFGHIJKLMNOPQRSTUVWXYZ"); // 40 characters
  ASSERT_EQ(invoice.InvoiceNumber.size(), 40);
  const QString file = dir.File(QStringLiteral("Pain001.xml"));
  Generate(invoice, TMPPSettings{false, TMPPFormat::None}, file);
  EXPECT_TRUE(IsValidPain001(file));
  const TPain001View view(file);
  EXPECT_EQ(view.Text(Transaction + "/PmtId/EndToEndId"), invoice.InvoiceNumber.left(35));
  EXPECT_TRUE(view.Text(Transaction + "/RmtInf/Ustrd").contains(invoice.InvoiceNumber));
}

struct TAddressCase {
  TStructuredAddress Address;
  QStringList Expected;
};

class OptionalAddressParts : public ::testing::TestWithParam<TAddressCase> {};

TEST_P(OptionalAddressParts, EmptyPartsAreLeftOutAndTheCountryStays) {
  TTempDir dir;
  TPayment invoice = Invoice();
  invoice.CreditorStrtNm = GetParam().Address.StrtNm;
  invoice.CreditorBldgNb = GetParam().Address.BldgNb;
  invoice.CreditorPstCd = GetParam().Address.PstCd;
  invoice.CreditorTwnNm = GetParam().Address.TwnNm;
  const QString file = dir.File(QStringLiteral("Pain001.xml"));
  Generate(invoice, TMPPSettings{}, file);
  EXPECT_TRUE(IsValidPain001(file));
  EXPECT_EQ(TPain001View(file).ChildNames(Transaction + "/Cdtr/PstlAdr"), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Parts, OptionalAddressParts,
    ::testing::Values(TAddressCase{{"", "5", "00-950", "Warszawa"}, {"BldgNb", "PstCd", "TwnNm", "Ctry"}},
                      TAddressCase{{"Długa", "", "00-950", "Warszawa"}, {"StrtNm", "PstCd", "TwnNm", "Ctry"}},
                      TAddressCase{{"Długa", "5", "", "Warszawa"}, {"StrtNm", "BldgNb", "TwnNm", "Ctry"}},
                      // The single-invoice caller puts in a default town; written as received here.
                      TAddressCase{{"Długa", "5", "00-950", ""}, {"StrtNm", "BldgNb", "PstCd", "Ctry"}},
                      TAddressCase{{"", "", "", ""}, {"Ctry"}}));

TEST(Pain001Generator, InvoiceWithoutKsefNumberGivesAnEmptyOne) {
  TTempDir dir;
  TPayment invoice = Invoice();
  invoice.nrKsef = QString();
  const QString plain = dir.File(QStringLiteral("Pain001.xml"));
  Generate(invoice, TMPPSettings{}, plain, QString());
  EXPECT_TRUE(IsValidPain001(plain));
  EXPECT_EQ(TPain001View(plain).Text(Transaction + "/RmtInf/Ustrd"),
            QStringLiteral("Zapłata za fakturę nr: FV/1/2025;  nr KSeF: ; "));

  // The schema wants at least one character in RefNb: the invoice number stands in, as in "Both".
  const QString structured = dir.File(QStringLiteral("Pain001_MPP.xml"));
  Generate(invoice, TMPPSettings{true, TMPPFormat::Structured}, structured);
  EXPECT_TRUE(IsValidPain001(structured));
  const TPain001View view(structured);
  EXPECT_EQ(view.Count(Transaction + "/RmtInf/Strd/TaxRmt/RefNb"), 1);
  EXPECT_EQ(view.Text(Transaction + "/RmtInf/Strd/TaxRmt/RefNb"), QStringLiteral("FV/1/2025"));
}

TEST(Pain001Generator, EuroInvoiceKeepsItsCurrencyWhileTheTaxStaysInZloty) {
  TTempDir dir;
  TPayment invoice = Invoice();
  invoice.CurrencyCode = QStringLiteral("EUR");
  const QString file = dir.File(QStringLiteral("Pain001_MPP.xml"));
  Generate(invoice, TMPPSettings{true, TMPPFormat::Structured}, file);
  EXPECT_TRUE(IsValidPain001(file));
  const TPain001View view(file);
  EXPECT_EQ(view.Text(Transaction + "/Amt/InstdAmt"), QStringLiteral("1234.50"));
  EXPECT_EQ(view.Attribute(Transaction + "/Amt/InstdAmt", "Ccy"), QStringLiteral("EUR"));
  EXPECT_EQ(view.Attribute(Transaction + "/RmtInf/Strd/TaxRmt/TtlTaxAmt", "Ccy"), QStringLiteral("PLN"));
}

struct TKsefNumberCase {
  TMPPSettings MPP;
  const char *Path;
  QString Expected;
};

class QuotedKsefNumber : public ::testing::TestWithParam<TKsefNumberCase> {};

// The KSeF number comes with the payment, read with the invoice: the writer reads no file.
TEST_P(QuotedKsefNumber, TheRemittanceQuotesThePaymentsKsefNumber) {
  TTempDir dir;
  TPayment invoice = Invoice();
  invoice.nrKsef = QStringLiteral("6891152920-20231221-B3242FB4B54B-67");
  const QString file = dir.File(QStringLiteral("Pain001.xml"));
  Generate(invoice, GetParam().MPP, file);
  EXPECT_TRUE(IsValidPain001(file));
  EXPECT_EQ(TPain001View(file).Text(Transaction + "/RmtInf/" + QString::fromUtf8(GetParam().Path)),
            GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Remittances, QuotedKsefNumber,
    ::testing::Values(
        TKsefNumberCase{
            {false, TMPPFormat::None},
            "Ustrd",
            QStringLiteral("Zapłata za fakturę nr: FV/1/2025;  nr KSeF: 6891152920-20231221-B3242FB4B54B-67; "
                           "REF-7")},
        TKsefNumberCase{
            {true, TMPPFormat::Structured}, "Strd/TaxRmt/RefNb", QStringLiteral("6891152920-20231221-B3242FB4B54B-67")},
        TKsefNumberCase{{true, TMPPFormat::Both}, "Strd/TaxRmt/RefNb", QStringLiteral("FV/1/2025")}));

// The output directory may have been removed while the program ran.
TEST(Pain001Generator, MissingOutputDirectoryIsCreated) {
  TTempDir dir;
  const QString file = dir.File(QStringLiteral("PLIKI_DO_BANKU/Pain001.xml"));
  Generate(Invoice(), TMPPSettings{}, file);
  EXPECT_TRUE(IsValidPain001(file));
}

} // namespace
