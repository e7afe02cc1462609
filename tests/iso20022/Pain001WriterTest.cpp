#include "Pain001View.h"
#include "TestSupport.h"
#include "iso20022/Pain001Writer.h"

namespace {

const QDateTime Now(QDate(2025, 1, 31), QTime(14, 5, 9));
const QString Transaction = QStringLiteral("PmtInf/CdtTrfTxInf");

const TCompanyData Company{QStringLiteral("Płatnik S.A."), QStringLiteral("1234563218"),
                           QStringLiteral("PL27114020040000300201355387"), QStringLiteral("BREXPLPW")};

TPayment Payment(const QString &invoiceNumber, const char *amount) {
  TPayment payment;
  payment.InvoiceNumber = invoiceNumber;
  payment.CreditorName = QStringLiteral("Dostawca ") + invoiceNumber;
  payment.CreditorIBAN = QStringLiteral("PL61109010140000071219812874");
  payment.Amount = TAmount::ParsePolish(QString::fromUtf8(amount));
  payment.CreditorNIP = QStringLiteral("5265877635");
  payment.CreditorCountry = QStringLiteral("PL");
  payment.CreditorAddress = QStringLiteral("Długa 5, 00-950 Warszawa");
  payment.CreditorStrtNm = QStringLiteral("Długa");
  payment.CreditorBldgNb = QStringLiteral("5");
  payment.CreditorPstCd = QStringLiteral("00-950");
  payment.CreditorTwnNm = QStringLiteral("Warszawa");
  payment.VATAmount = TAmount::ParsePolish(QStringLiteral("23,00"));
  payment.nrKsef = QStringLiteral("KSEF-") + invoiceNumber;
  return payment;
}

// One whole file, byte for byte: the declaration, the single namespace declaration, two spaces
// per level, LF line ends, empty elements, escaped text and UTF-8 letters.
TEST(Pain001Writer, WritesTheExactLayout) {
  TTempDir dir;
  dir.WriteBytes(QStringLiteral("Pain001Paczka.xml"), "an older and much longer file that must disappear entirely");
  TPayment payment = Payment(QStringLiteral("FV/1"), "12,3");
  payment.CreditorName = QStringLiteral("Kowalski & Syn <Łódź>");
  payment.CreditorBldgNb.clear();
  const QString file = dir.File(QStringLiteral("Pain001Paczka.xml"));
  TPain001Writer::Generate(TPaymentList{payment}, Company, TMPPSettings{}, file, Now);
  EXPECT_TRUE(IsValidPain001(file));

  const std::string expected = R"(<?xml version="1.0" encoding="UTF-8"?>
<Document xmlns="urn:iso:std:iso:20022:tech:xsd:pain.001.001.09">
  <CstmrCdtTrfInitn>
    <GrpHdr>
      <MsgId>MSG_20250131140509</MsgId>
      <CreDtTm>2025-01-31T14:05:09</CreDtTm>
      <NbOfTxs>1</NbOfTxs>
      <CtrlSum>12.30</CtrlSum>
      <InitgPty>
        <Nm>Płatnik S.A.</Nm>
      </InitgPty>
    </GrpHdr>
    <PmtInf>
      <PmtInfId>PMT1</PmtInfId>
      <PmtMtd>TRF</PmtMtd>
      <NbOfTxs>1</NbOfTxs>
      <CtrlSum>12.30</CtrlSum>
      <PmtTpInf>
        <CtgyPurp>
          <Prtry>Payment</Prtry>
        </CtgyPurp>
      </PmtTpInf>
      <ReqdExctnDt>
        <Dt>2025-01-31</Dt>
      </ReqdExctnDt>
      <Dbtr/>
      <DbtrAcct>
        <Id>
          <Othr>
            <Id>PL27114020040000300201355387</Id>
          </Othr>
        </Id>
      </DbtrAcct>
      <DbtrAgt>
        <FinInstnId>
          <ClrSysMmbId>
            <ClrSysId>
              <Cd>PLKNR</Cd>
            </ClrSysId>
            <MmbId>11402004</MmbId>
          </ClrSysMmbId>
        </FinInstnId>
      </DbtrAgt>
      <CdtTrfTxInf>
        <PmtId>
          <EndToEndId>FV/1</EndToEndId>
        </PmtId>
        <PmtTpInf>
          <InstrPrty>NORM</InstrPrty>
          <CtgyPurp>
            <Prtry>Payment</Prtry>
          </CtgyPurp>
        </PmtTpInf>
        <Amt>
          <InstdAmt Ccy="PLN">12.30</InstdAmt>
        </Amt>
        <CdtrAgt>
          <FinInstnId>
            <ClrSysMmbId>
              <ClrSysId>
                <Cd>PLKNR</Cd>
              </ClrSysId>
              <MmbId>10901014</MmbId>
            </ClrSysMmbId>
          </FinInstnId>
        </CdtrAgt>
        <Cdtr>
          <Nm>Kowalski &amp; Syn &lt;Łódź&gt;</Nm>
          <PstlAdr>
            <StrtNm>Długa</StrtNm>
            <PstCd>00-950</PstCd>
            <TwnNm>Warszawa</TwnNm>
            <Ctry>PL</Ctry>
          </PstlAdr>
        </Cdtr>
        <CdtrAcct>
          <Id>
            <Othr>
              <Id>PL61109010140000071219812874</Id>
            </Othr>
          </Id>
        </CdtrAcct>
        <RmtInf>
          <Ustrd>Zapłata za fakturę nr: FV/1;  nr KSeF: KSEF-FV/1</Ustrd>
        </RmtInf>
      </CdtTrfTxInf>
    </PmtInf>
  </CstmrCdtTrfInitn>
</Document>
)";
  EXPECT_EQ(dir.ReadBytes(QStringLiteral("Pain001Paczka.xml")).toStdString(), expected);
}

TEST(Pain001Writer, OneTransactionPerPaymentWithAnExactControlSum) {
  TTempDir dir;
  TPaymentList payments{Payment(QStringLiteral("A/1"), "100,10"), Payment(QStringLiteral("B/2"), "200,20"),
                        Payment(QStringLiteral("C/3"), "0,05")};
  // The requested date is today whatever the payment says.
  payments[0].ExecutionDate = QDateTime(QDate(2030, 6, 1), QTime(0, 0));
  const QString file = dir.File(QStringLiteral("Pain001Paczka.xml"));
  TPain001Writer::Generate(payments, Company, TMPPSettings{}, file, Now);
  EXPECT_TRUE(IsValidPain001(file));
  const TPain001View view(file);

  EXPECT_EQ(view.ChildNames("GrpHdr"), (QStringList{"MsgId", "CreDtTm", "NbOfTxs", "CtrlSum", "InitgPty"}));
  EXPECT_EQ(view.Text("GrpHdr/MsgId"), QStringLiteral("MSG_20250131140509"));
  EXPECT_EQ(view.Text("GrpHdr/CreDtTm"), QStringLiteral("2025-01-31T14:05:09"));
  EXPECT_EQ(view.Text("GrpHdr/NbOfTxs"), QStringLiteral("3"));
  EXPECT_EQ(view.Text("GrpHdr/CtrlSum"), QStringLiteral("300.35"));
  EXPECT_EQ(view.Text("GrpHdr/InitgPty/Nm"), QStringLiteral("Płatnik S.A."));

  EXPECT_EQ(view.ChildNames("PmtInf"),
            (QStringList{"PmtInfId", "PmtMtd", "NbOfTxs", "CtrlSum", "PmtTpInf", "ReqdExctnDt", "Dbtr", "DbtrAcct",
                         "DbtrAgt", "CdtTrfTxInf", "CdtTrfTxInf", "CdtTrfTxInf"}));
  EXPECT_EQ(view.Text("PmtInf/PmtInfId"), QStringLiteral("PMT1"));
  EXPECT_EQ(view.Text("PmtInf/NbOfTxs"), QStringLiteral("3"));
  EXPECT_EQ(view.Text("PmtInf/CtrlSum"), QStringLiteral("300.35"));
  EXPECT_EQ(view.Text("PmtInf/PmtTpInf/CtgyPurp/Prtry"), QStringLiteral("Payment"));
  EXPECT_EQ(view.Text("PmtInf/ReqdExctnDt/Dt"), QStringLiteral("2025-01-31"));
  EXPECT_EQ(view.Text("PmtInf/DbtrAgt/FinInstnId/ClrSysMmbId/MmbId"), QStringLiteral("11402004"));

  EXPECT_EQ(view.Texts(Transaction + "/PmtId/EndToEndId"), (QStringList{"A/1", "B/2", "C/3"}));
  EXPECT_EQ(view.Texts(Transaction + "/Amt/InstdAmt"), (QStringList{"100.10", "200.20", "0.05"}));
  EXPECT_EQ(view.Texts(Transaction + "/Cdtr/Nm"), (QStringList{"Dostawca A/1", "Dostawca B/2", "Dostawca C/3"}));
  EXPECT_EQ(view.Texts(Transaction + "/RmtInf/Ustrd"), (QStringList{"Zapłata za fakturę nr: A/1;  nr KSeF: KSEF-A/1",
                                                                    "Zapłata za fakturę nr: B/2;  nr KSeF: KSEF-B/2",
                                                                    "Zapłata za fakturę nr: C/3;  nr KSeF: KSEF-C/3"}));
  for (int i = 1; i <= 3; ++i) {
    const QString transaction = Transaction + QStringLiteral("[%1]").arg(i);
    EXPECT_EQ(view.ChildNames(transaction),
              (QStringList{"PmtId", "PmtTpInf", "Amt", "CdtrAgt", "Cdtr", "CdtrAcct", "RmtInf"}));
    EXPECT_EQ(view.Text(transaction + "/PmtTpInf/InstrPrty"), QStringLiteral("NORM"));
    EXPECT_EQ(view.Text(transaction + "/PmtTpInf/CtgyPurp/Prtry"), QStringLiteral("Payment"));
    EXPECT_EQ(view.Attribute(transaction + "/Amt/InstdAmt", "Ccy"), QStringLiteral("PLN"));
    EXPECT_EQ(view.Text(transaction + "/CdtrAcct/Id/Othr/Id"), QStringLiteral("PL61109010140000071219812874"));
  }
}

// No schema check: the schema needs at least one transaction.
TEST(Pain001Writer, EmptyListGivesADocumentWithoutTransactions) {
  TTempDir dir;
  const QString file = dir.File(QStringLiteral("Pain001VideoTel.xml"));
  TPain001Writer::Generate(TPaymentList{}, Company, TMPPSettings{}, file, Now);
  const TPain001View view(file);
  EXPECT_EQ(view.Texts("*/NbOfTxs"), (QStringList{"0", "0"}));
  EXPECT_EQ(view.Texts("*/CtrlSum"), (QStringList{"0.00", "0.00"}));
  EXPECT_EQ(view.Count("PmtInf/CdtTrfTxInf"), 0);
  EXPECT_EQ(view.ChildNames("PmtInf").last(), QStringLiteral("DbtrAgt"));
}

struct TMemberIdCase {
  QString IBAN;
  QString MemberId;
};

class CreditorAgentMemberId : public ::testing::TestWithParam<TMemberIdCase> {};

TEST_P(CreditorAgentMemberId, IsTheSortCodeAfterACapitalPlPrefix) {
  TTempDir dir;
  TPayment payment = Payment(QStringLiteral("FV/1"), "10");
  payment.CreditorIBAN = GetParam().IBAN;
  const QString file = dir.File(QStringLiteral("Pain001Paczka.xml"));
  TPain001Writer::Generate(TPaymentList{payment}, Company, TMPPSettings{}, file, Now);
  EXPECT_TRUE(IsValidPain001(file));
  EXPECT_EQ(TPain001View(file).Text(Transaction + "/CdtrAgt/FinInstnId/ClrSysMmbId/MmbId"), GetParam().MemberId);
}

INSTANTIATE_TEST_SUITE_P(Accounts, CreditorAgentMemberId,
                         ::testing::Values(TMemberIdCase{"PL61109010140000071219812874", "10901014"},
                                           TMemberIdCase{"61109010140000071219812874", "10901014"},
                                           TMemberIdCase{"pl61109010140000071219812874", "61109010"}));

struct TAddressCase {
  QString Street;
  QString Town;
  QStringList Expected;
};

class CreditorAddress : public ::testing::TestWithParam<TAddressCase> {};

TEST_P(CreditorAddress, IsCutToTheSchemaLengthsAndAlwaysHasATown) {
  TTempDir dir;
  TPayment payment = Payment(QStringLiteral("FV/1"), "10");
  payment.CreditorStrtNm = GetParam().Street;
  payment.CreditorTwnNm = GetParam().Town;
  const QString file = dir.File(QStringLiteral("Pain001Paczka.xml"));
  TPain001Writer::Generate(TPaymentList{payment}, Company, TMPPSettings{}, file, Now);
  EXPECT_TRUE(IsValidPain001(file));
  EXPECT_EQ(TPain001View(file).Texts(Transaction + "/Cdtr/PstlAdr/*"), GetParam().Expected);
}

const QString Street80 = QStringLiteral("Ś").repeated(80);
const QString Town40 = QStringLiteral("Ż").repeated(40);

INSTANTIATE_TEST_SUITE_P(
    Parts, CreditorAddress,
    ::testing::Values(TAddressCase{"Długa", "", {"Długa", "5", "00-950", "Brak miasta", "PL"}},
                      TAddressCase{Street80, Town40, {Street80.left(70), "5", "00-950", Town40.left(35), "PL"}},
                      TAddressCase{"", "Gdańsk", {"5", "00-950", "Gdańsk", "PL"}}));

TEST(Pain001Writer, SplitPaymentAcceptsAZeroVat) {
  TTempDir dir;
  TPayment payment = Payment(QStringLiteral("FV/0"), "10");
  payment.VATAmount = TAmount();
  const QString file = dir.File(QStringLiteral("Pain001Paczka_MPP.xml"));
  TPain001Writer::Generate(TPaymentList{payment}, Company, TMPPSettings{true, TMPPFormat::Ustrd}, file, Now);
  EXPECT_TRUE(IsValidPain001(file));
  const TPain001View view(file);
  EXPECT_EQ(view.Count("GrpHdr/InitgPty/*"), 0);
  EXPECT_EQ(view.Text("PmtInf/PmtTpInf/CtgyPurp/Prtry"), QStringLiteral("VATX"));
  EXPECT_EQ(view.Text(Transaction + "/PmtTpInf/CtgyPurp/Prtry"), QStringLiteral("VATX"));
  EXPECT_EQ(view.Text(Transaction + "/RmtInf/Ustrd"), QStringLiteral("/VAT/0.00/IDC/FV/0/TXT/5265877635"));
}

TEST(Pain001Writer, EndToEndIdTakesTheFirst35CharactersAndTheRemittanceTheWholeNumber) {
  TTempDir dir;
  const QString number = QStringLiteral("FV/2025/01/0123456789/0123456789/0123456789/ABCDEF");
  ASSERT_EQ(number.size(), 50);
  const QString file = dir.File(QStringLiteral("Pain001Paczka.xml"));
  TPain001Writer::Generate(TPaymentList{Payment(number, "10")}, Company, TMPPSettings{}, file, Now);
  EXPECT_TRUE(IsValidPain001(file));
  const TPain001View view(file);
  EXPECT_EQ(view.Text(Transaction + "/PmtId/EndToEndId"), number.left(35));
  EXPECT_EQ(view.Text(Transaction + "/RmtInf/Ustrd"),
            QStringLiteral("Zapłata za fakturę nr: ") + number + QStringLiteral(";  nr KSeF: KSEF-") + number);
}

// A control character has no place in XML 1.0; written as a reference it would make the file
// unreadable for the bank, so it reaches the file as a blank.
TEST(Pain001Writer, ControlCharactersBecomeBlanks) {
  TTempDir dir;
  TPayment payment = Payment(QStringLiteral("FV/1"), "10");
  payment.Kind = TPaymentKind::VideoTel;
  payment.InvoiceNumber = QStringLiteral("Tytu\x01\x1f\tprzelewu");
  const QString file = dir.File(QStringLiteral("Pain001VideoTel.xml"));
  TPain001Writer::Generate(TPaymentList{payment}, Company, TMPPSettings{}, file, Now);
  EXPECT_TRUE(IsValidPain001(file));
  EXPECT_EQ(TPain001View(file).Text(Transaction + "/RmtInf/Ustrd"), QStringLiteral("Tytu  \tprzelewu"));
}

// The output directory may have been removed while the program ran.
TEST(Pain001Writer, MissingDirectoryIsCreated) {
  TTempDir dir;
  const QString file = dir.File(QStringLiteral("PLIKI_DO_BANKU/Pain001Paczka.xml"));
  TPain001Writer::Generate(TPaymentList{Payment(QStringLiteral("FV/1"), "1")}, Company, TMPPSettings{}, file, Now);
  EXPECT_TRUE(IsValidPain001(file));
}

} // namespace
