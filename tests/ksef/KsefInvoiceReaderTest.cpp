#include "TestSupport.h"
#include "ksef/InvoiceDocumentReader.h"
#include "ksef/KsefInvoiceReader.h"
#include "xml/XmlDocument.h"

#include <QStringEncoder>
#include <utility>
#include <vector>

namespace {

const QDateTime Now(QDate(2025, 1, 2), QTime(15, 45, 10));

// A small invoice that loads; each test changes it by replacing texts in it.
const char *const PlainInvoice = R"(<?xml version="1.0" encoding="UTF-8"?>
<Faktura xmlns="http://crd.gov.pl/wzor/2025/06/25/13775/">
  <Podmiot1>
    <DaneIdentyfikacyjne><NIP>5261040828</NIP><Nazwa>Hurtownia Wisła sp. z o.o.</Nazwa></DaneIdentyfikacyjne>
    <Adres><KodKraju>PL</KodKraju><AdresL1>ul. Długa 5</AdresL1><AdresL2>00-950 Warszawa</AdresL2></Adres>
  </Podmiot1>
  <Fa>
    <KodWaluty>PLN</KodWaluty>
    <P_1>2024-05-31</P_1>
    <P_2>FV/7/2024</P_2>
    <P_14_1>23.00</P_14_1>
    <P_15>123.00</P_15>
    <Platnosc><RachunekBankowy><NrRB>61109010140000071219812874</NrRB></RachunekBankowy></Platnosc>
  </Fa>
</Faktura>
)";

const QString SellerName = QStringLiteral("Hurtownia Wisła sp. z o.o.");
const QString InvoiceNumber = QStringLiteral("FV/7/2024");

struct TEdit {
  const char *From;
  const char *To;
};
using TEdits = std::vector<TEdit>;

QString EditedInvoice(const TEdits &edits) {
  QString text = QString::fromUtf8(PlainInvoice);
  for (const TEdit &edit : edits) {
    const QString from = QString::fromUtf8(edit.From);
    if (!text.contains(from))
      ADD_FAILURE() << "The plain invoice has no " << edit.From;
    text.replace(from, QString::fromUtf8(edit.To));
  }
  return text;
}

QString Composite(const QString &file, const QString &invoice, const QString &seller, const QString &cause) {
  return QStringLiteral("Plik: ") + file + QStringLiteral("\r\nFaktura: ") + invoice +
         QStringLiteral("\r\nKontrahent: ") + seller + QStringLiteral("\r\nBłąd: ") + cause + QStringLiteral("\r\n") +
         QString(104, u'-') + QStringLiteral("\r\n");
}

class KsefInvoiceReaderTest : public ::testing::Test {
protected:
  QString Write(const QString &text, const QString &name = QStringLiteral("fv1.xml")) const {
    Dir.WriteBytes(name, text.toUtf8());
    return Dir.File(name);
  }
  TPayment Load(const TEdits &edits) const {
    return TKsefInvoiceReader::LoadFromFile(Write(EditedInvoice(edits)), Now);
  }

  TTempDir Dir;
};

TEST_F(KsefInvoiceReaderTest, ReadsEveryFieldOfTheInvoice) {
  const TPayment data =
      TKsefInvoiceReader::LoadFromFile(FixturePath(QStringLiteral("ksef/fa3-default-namespace.xml")), Now);
  EXPECT_EQ(data.Kind, TPaymentKind::Invoice);
  EXPECT_EQ(data.CreditorName, QStringLiteral("Hurtownia Papieru Wisła sp. z o.o."));
  EXPECT_EQ(data.CreditorNIP, QStringLiteral("5261040828"));
  EXPECT_EQ(data.CreditorCountry, QStringLiteral("PL"));
  EXPECT_EQ(data.CreditorAddress, QStringLiteral("ul. Długa 15 lok. 3"));
  EXPECT_EQ(data.CreditorAddress2, QStringLiteral("80-827 Gdańsk"));
  EXPECT_EQ(data.InvoiceNumber, QStringLiteral("FV/114/03/2026"));
  EXPECT_EQ(data.CurrencyCode, QStringLiteral("PLN"));
  EXPECT_EQ(data.Amount, TAmount::FromUnits(2310000));
  EXPECT_EQ(data.VATAmount, TAmount::FromUnits(310000));
  EXPECT_EQ(data.InvoiceDate, QDateTime(QDate(2026, 3, 2), QTime(0, 0)));
  EXPECT_EQ(data.DueDate, QDateTime(QDate(2025, 1, 2), QTime(0, 0))) << "the run's date, not the invoice's term";
  EXPECT_EQ(data.CreditorIBAN, QStringLiteral("PL61109010140000071219812874")) << "the first of two accounts";
  EXPECT_EQ(data.nrKsef, QStringLiteral("Pavena test"));
  // The address is split once, here, for every user of the payment.
  EXPECT_EQ((QStringList{data.CreditorStrtNm, data.CreditorBldgNb, data.CreditorPstCd, data.CreditorTwnNm}),
            (QStringList{QStringLiteral("ul. Długa 15 lok."), QStringLiteral("3"), QStringLiteral("80-827"),
                         QStringLiteral("Gdańsk")}));
}

TEST_F(KsefInvoiceReaderTest, PrefixedElementsAreFoundAndOnlyTheSevenVatFieldsCount) {
  const TPayment data = TKsefInvoiceReader::LoadFromFile(FixturePath(QStringLiteral("ksef/fa2-prefixed.xml")), Now);
  EXPECT_EQ(data.CreditorName, QStringLiteral("Tłocznia Owoców Sad-Pol"));
  EXPECT_EQ(data.CreditorAddress2, QStringLiteral("32-400 Myślenice"));
  EXPECT_EQ(data.InvoiceNumber, QStringLiteral("12/E/2025"));
  EXPECT_EQ(data.CurrencyCode, QStringLiteral("EUR"));
  EXPECT_EQ(data.Amount, TAmount::FromUnits(12300000));
  EXPECT_EQ(data.VATAmount, TAmount::FromUnits(2300000)) << "P_14_1W, the VAT in zloty, is not added";
  EXPECT_EQ(data.CreditorIBAN, QStringLiteral("PL27114020040000300201355387"));
}

TEST_F(KsefInvoiceReaderTest, CashInvoiceWithoutAccountFailsNamingInvoiceAndSeller) {
  EXPECT_THROW_MESSAGE(
      TKsefInvoiceReader::LoadFromFile(FixturePath(QStringLiteral("ksef/fa3-cash-no-bank-account.xml")), Now),
      Composite(QStringLiteral("fa3-cash-no-bank-account.xml"), QStringLiteral("P/2026/0415"),
                QStringLiteral("Sklep Żelazny Jan Bąk"),
                QStringLiteral("Nieprawidłowy numer rachunku: faktura nie podaje rachunku bankowego "
                               "sprzedawcy (RachunekBankowy)")));
}

TEST_F(KsefInvoiceReaderTest, FaNestedDeeperIsNotFound) {
  EXPECT_THROW_MESSAGE(TKsefInvoiceReader::LoadFromFile(FixturePath(QStringLiteral("ksef/fa-nested.xml")), Now),
                       Composite(QStringLiteral("fa-nested.xml"), QString(), QStringLiteral("Piekarnia Kłos"),
                                 QStringLiteral("'' is not a valid floating point value")));
}

TEST_F(KsefInvoiceReaderTest, MissingFileFailsWithTheParserMessage) {
  EXPECT_THROW_MESSAGE(TKsefInvoiceReader::LoadFromFile(Dir.File(QStringLiteral("brak.xml")), Now),
                       Composite(QStringLiteral("brak.xml"), QString(), QString(),
                                 QStringLiteral("Nie można otworzyć pliku \"brak.xml\": plik nie istnieje.")));
}

TEST_F(KsefInvoiceReaderTest, MalformedFileFailsWithTheParserMessage) {
  const QString path = Write(EditedInvoice({{"</Fa>", "</Faa>"}}), QStringLiteral("zla.xml"));
  QString parserMessage;
  try {
    LoadXmlFile(path);
  } catch (const Exception &error) {
    parserMessage = error.Message();
  }
  ASSERT_TRUE(parserMessage.startsWith(QStringLiteral("Plik \"zla.xml\" nie jest poprawnym plikiem XML (wiersz 14: ")))
      << parserMessage.toStdString();
  EXPECT_THROW_MESSAGE(TKsefInvoiceReader::LoadFromFile(path, Now),
                       Composite(QStringLiteral("zla.xml"), QString(), QString(), parserMessage));
}

struct TFailureCase {
  const char *Name;
  TEdits Edits;
  const char *Cause;
  bool InvoiceNumberRead;
  bool SellerNameRead;
};

void PrintTo(const TFailureCase &row, std::ostream *os) { *os << row.Name; }

class LoadFailure : public KsefInvoiceReaderTest, public ::testing::WithParamInterface<TFailureCase> {};

TEST_P(LoadFailure, NamesFileInvoiceSellerAndCause) {
  const TFailureCase &row = GetParam();
  EXPECT_THROW_MESSAGE(Load(row.Edits),
                       Composite(QStringLiteral("fv1.xml"), row.InvoiceNumberRead ? InvoiceNumber : QString(),
                                 row.SellerNameRead ? SellerName : QString(), QString::fromUtf8(row.Cause)));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LoadFailure,
    ::testing::Values(
        TFailureCase{"NameWithChildElement",
                     {{"<Nazwa>Hurtownia Wisła sp. z o.o.</Nazwa>", "<Nazwa>Hurtownia <b>Wisła</b></Nazwa>"}},
                     "Element \"Nazwa\" does not contain a single text node",
                     false,
                     false},
        TFailureCase{"PrefixedNameWithChildElement",
                     {{"<Nazwa>Hurtownia Wisła sp. z o.o.</Nazwa>", "<x:Nazwa xmlns:x=\"urn:x\"><x:Pelna/></x:Nazwa>"}},
                     "Element \"x:Nazwa\" does not contain a single text node",
                     false,
                     false},
        TFailureCase{"NumberWithComment",
                     {{"<P_2>FV/7/2024</P_2>", "<P_2>FV/7<!-- numer -->/2024</P_2>"}},
                     "Element \"P_2\" does not contain a single text node",
                     false,
                     true},
        TFailureCase{"CurrencyOnlyAComment",
                     {{"<KodWaluty>PLN</KodWaluty>", "<KodWaluty><!-- PLN --></KodWaluty>"}},
                     "Element \"KodWaluty\" does not contain a single text node",
                     true,
                     true},
        TFailureCase{"AmountTextAndCData",
                     {{"<P_15>123.00</P_15>", "<P_15>12<![CDATA[3.00]]></P_15>"}},
                     "Element \"P_15\" does not contain a single text node",
                     true,
                     true},
        TFailureCase{
            "AmountMissing", {{"<P_15>123.00</P_15>", ""}}, "'' is not a valid floating point value", true, true},
        TFailureCase{"AmountEmpty",
                     {{"<P_15>123.00</P_15>", "<P_15> </P_15>"}},
                     "'' is not a valid floating point value",
                     true,
                     true},
        TFailureCase{"AmountTwoFullStops",
                     {{"<P_15>123.00</P_15>", "<P_15>1.234.00</P_15>"}},
                     "'1,234,00' is not a valid floating point value",
                     true,
                     true},
        TFailureCase{"AmountGrouped",
                     {{"<P_15>123.00</P_15>", "<P_15>1 234.00</P_15>"}},
                     "'1 234,00' is not a valid floating point value",
                     true,
                     true},
        TFailureCase{"AmountZero",
                     {{"<P_15>123.00</P_15>", "<P_15>0</P_15>"}},
                     "Nieprawidłowa/ujemna kwota faktury.",
                     true,
                     true},
        TFailureCase{"AmountNegative",
                     {{"<P_15>123.00</P_15>", "<P_15>-5.00</P_15>"}},
                     "Nieprawidłowa/ujemna kwota faktury.",
                     true,
                     true},
        TFailureCase{"VatNotANumber",
                     {{"<P_14_1>23.00</P_14_1>", "<P_14_1>23.00</P_14_1><P_14_3>x.5</P_14_3>"}},
                     "'x,5' is not a valid floating point value",
                     true,
                     true},
        TFailureCase{"VatTotalNegative",
                     {{"<P_14_1>23.00</P_14_1>", "<P_14_1>23.00</P_14_1><P_14_2>-23.01</P_14_2>"}},
                     "Nieprawidłowa (ujemna) kwota VAT.",
                     true,
                     true},
        TFailureCase{"DateMissing", {{"<P_1>2024-05-31</P_1>", ""}}, "Invalid date string: ", true, true},
        TFailureCase{"DateInPolishForm",
                     {{"<P_1>2024-05-31</P_1>", "<P_1>31.05.2024</P_1>"}},
                     "Invalid date string: 31.05.2024",
                     true,
                     true},
        TFailureCase{"DateImpossible",
                     {{"<P_1>2024-05-31</P_1>", "<P_1>2024-02-30</P_1>"}},
                     "Invalid date string: 2024-02-30",
                     true,
                     true},
        TFailureCase{"AccountMissing",
                     {{"<NrRB>61109010140000071219812874</NrRB>", ""}},
                     "Nieprawidłowy numer rachunku: faktura nie podaje rachunku bankowego sprzedawcy (RachunekBankowy)",
                     true,
                     true},
        TFailureCase{
            "FactorAccountOnly",
            {{"<RachunekBankowy>", "<RachunekBankowyFaktora>"}, {"</RachunekBankowy>", "</RachunekBankowyFaktora>"}},
            "Nieprawidłowy numer rachunku: faktura nie podaje rachunku bankowego sprzedawcy (RachunekBankowy)",
            true,
            true},
        TFailureCase{"GermanIban",
                     {{"61109010140000071219812874", "DE89 3704 0044 0532 0130 00"}},
                     "Nieprawidłowy numer rachunku: DE89 3704 0044 0532 0130 00",
                     true,
                     true},
        TFailureCase{"AccountOneDigitShort",
                     {{"61109010140000071219812874", "6110901014000007121981287"}},
                     "Nieprawidłowy numer rachunku: 6110901014000007121981287",
                     true,
                     true},
        TFailureCase{"AccountWithTab",
                     {{"61109010140000071219812874", "6110901014\t0000071219812874"}},
                     "Nieprawidłowy numer rachunku: 6110901014\t0000071219812874",
                     true,
                     true}),
    [](const ::testing::TestParamInfo<TFailureCase> &info) { return std::string(info.param.Name); });

struct TAmountCase {
  const char *Name;
  TEdits Edits;
  std::int64_t AmountUnits;
  std::int64_t VATUnits;
};

void PrintTo(const TAmountCase &row, std::ostream *os) { *os << row.Name; }

class LoadAmounts : public KsefInvoiceReaderTest, public ::testing::WithParamInterface<TAmountCase> {};

TEST_P(LoadAmounts, AreReadExactly) {
  const TPayment data = Load(GetParam().Edits);
  EXPECT_EQ(data.Amount, TAmount::FromUnits(GetParam().AmountUnits));
  EXPECT_EQ(data.VATAmount, TAmount::FromUnits(GetParam().VATUnits));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LoadAmounts,
    ::testing::Values(
        TAmountCase{"Plain", {}, 1230000, 230000},
        TAmountCase{"FullStopDecimals", {{"<P_15>123.00</P_15>", "<P_15>1234.56</P_15>"}}, 12345600, 230000},
        TAmountCase{"CommaDecimals", {{"<P_15>123.00</P_15>", "<P_15>1234,56</P_15>"}}, 12345600, 230000},
        TAmountCase{"TrimmedText", {{"<P_15>123.00</P_15>", "<P_15>\n\t 0.01 \r\n</P_15>"}}, 100, 230000},
        TAmountCase{"CData", {{"<P_15>123.00</P_15>", "<P_15><![CDATA[ 99.5 ]]></P_15>"}}, 995000, 230000},
        TAmountCase{"LowerCaseName", {{"<P_15>123.00</P_15>", "<p_15>50</p_15>"}}, 500000, 230000},
        TAmountCase{"OtherPrefixAndNamespace",
                    {{"<P_15>123.00</P_15>", "<x:P_15 xmlns:x=\"urn:inny\">7</x:P_15>"}},
                    70000,
                    230000},
        TAmountCase{"FirstOfTwo", {{"<P_15>123.00</P_15>", "<P_15>1</P_15><P_15>2</P_15>"}}, 10000, 230000},
        TAmountCase{"VatFirstTwoRates",
                    {{"<P_14_1>23.00</P_14_1>", "<P_14_1>23.00</P_14_1><P_14_2>8.00</P_14_2>"}},
                    1230000,
                    310000},
        TAmountCase{
            "VatSiblingsIgnored",
            {{"<P_14_1>23.00</P_14_1>", "<P_14_1>23.00</P_14_1><P_14_1W>98.19</P_14_1W><P_14_2>8.00</P_14_2>"
                                        "<P_14_8>x</P_14_8><P_14_10>x</P_14_10><P_14_5A>x</P_14_5A><P_14>x</P_14>"}},
            1230000,
            310000},
        TAmountCase{
            "VatAllSeven",
            {{"<P_14_1>23.00</P_14_1>", "<P_14_7>7</P_14_7><P_14_1>1</P_14_1><P_14_2>2</P_14_2><P_14_3>3</P_14_3>"
                                        "<P_14_4>4</P_14_4><P_14_5>5</P_14_5><P_14_6>6</P_14_6>"}},
            1230000,
            280000},
        TAmountCase{"VatNone", {{"<P_14_1>23.00</P_14_1>", ""}}, 1230000, 0},
        TAmountCase{"VatEmptyAddsNothing",
                    {{"<P_14_1>23.00</P_14_1>", "<P_14_1/><P_14_2> </P_14_2><P_14_3>1.5</P_14_3>"}},
                    1230000,
                    15000},
        TAmountCase{
            "VatTotalZero", {{"<P_14_1>23.00</P_14_1>", "<P_14_1>-8.00</P_14_1><P_14_2>8</P_14_2>"}}, 1230000, 0}),
    [](const ::testing::TestParamInfo<TAmountCase> &info) { return std::string(info.param.Name); });

struct TAccountCase {
  const char *Text;
  const char *IBAN;
};

void PrintTo(const TAccountCase &row, std::ostream *os) { *os << row.Text; }

class AccountNormalisation : public KsefInvoiceReaderTest, public ::testing::WithParamInterface<TAccountCase> {};

TEST_P(AccountNormalisation, GivesTheStoredForm) {
  EXPECT_EQ(Load({{"61109010140000071219812874", GetParam().Text}}).CreditorIBAN, QString::fromUtf8(GetParam().IBAN));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, AccountNormalisation,
    ::testing::Values(TAccountCase{"PL61 1090 1014 0000 0712 1981 2874", "PL61109010140000071219812874"},
                      TAccountCase{"61 1090 1014 0000 0712 1981 2874", "PL61109010140000071219812874"},
                      TAccountCase{"61109010140000071219812874", "PL61109010140000071219812874"},
                      TAccountCase{"pl61 1090 1014 0000 0712 1981 2874", "PL61109010140000071219812874"},
                      TAccountCase{"\n    PL61109010140000071219812874\n  ", "PL61109010140000071219812874"},
                      TAccountCase{"PLX", "PLX"}, TAccountCase{"PL 12-34\t5", "PL12-34\t5"},
                      TAccountCase{"pląż", "PLąż"},
                      TAccountCase{"abcdefghijklmnopqrstuvwxyz", "PLABCDEFGHIJKLMNOPQRSTUVWXYZ"},
                      TAccountCase{"<![CDATA[61 1090 1014 0000 0712 1981 2874]]>", "PL61109010140000071219812874"}));

TEST_F(KsefInvoiceReaderTest, MissingSellerPartsAndNumbersLeaveFieldsEmpty) {
  const TPayment data = Load({{"<Podmiot1>", "<Podmiot9>"},
                              {"</Podmiot1>", "</Podmiot9>"},
                              {"<P_2>FV/7/2024</P_2>", ""},
                              {"<KodWaluty>PLN</KodWaluty>", ""}});
  EXPECT_TRUE(data.CreditorName.isEmpty() && data.CreditorNIP.isEmpty() && data.CreditorCountry.isEmpty() &&
              data.CreditorAddress.isEmpty() && data.CreditorAddress2.isEmpty());
  EXPECT_TRUE(data.InvoiceNumber.isEmpty());
  EXPECT_TRUE(data.CurrencyCode.isEmpty());
  EXPECT_EQ(data.Amount, TAmount::FromUnits(1230000));
  EXPECT_EQ(data.CreditorIBAN, QStringLiteral("PL61109010140000071219812874"));
}

TEST_F(KsefInvoiceReaderTest, AnyRootNameAndAnyAsciiCaseOfTheNames) {
  const TPayment data = Load({{"Faktura", "Dokument"},
                              {"Podmiot1>", "PODMIOT1>"},
                              {"DaneIdentyfikacyjne>", "daneidentyfikacyjne>"},
                              {"<Fa>", "<fA>"},
                              {"</Fa>", "</fA>"},
                              {"NrRB>", "nrrb>"}});
  EXPECT_EQ(data.CreditorName, SellerName);
  EXPECT_EQ(data.Amount, TAmount::FromUnits(1230000));
  EXPECT_EQ(data.CreditorIBAN, QStringLiteral("PL61109010140000071219812874"));
}

TEST_F(KsefInvoiceReaderTest, NoDefaultNamespaceWorksAlike) {
  const TPayment data = Load({{" xmlns=\"http://crd.gov.pl/wzor/2025/06/25/13775/\"", ""}});
  EXPECT_EQ(data.InvoiceNumber, InvoiceNumber);
  EXPECT_EQ(data.Amount, TAmount::FromUnits(1230000));
}

// The KSeF number comes from the same parse: the first SystemInfo anywhere, untrimmed.
TEST_F(KsefInvoiceReaderTest, GivesTheKsefNumberOfTheSameParse) {
  EXPECT_EQ(
      Load({{"<Podmiot1>", "<Naglowek><n:systeminfo xmlns:n=\"urn:x\"> KSEF-7 </n:systeminfo></Naglowek><Podmiot1>"}})
          .nrKsef,
      QStringLiteral(" KSEF-7 "));
  EXPECT_EQ(Load({}).nrKsef, QString());
}

struct TSplitPaymentMarkCase {
  const char *Name;
  const char *Annotations;
  bool Marked;
};

class SplitPaymentMark : public KsefInvoiceReaderTest, public ::testing::WithParamInterface<TSplitPaymentMarkCase> {};

// Adnotacje/P_18A is 1 on an invoice that must be paid by split payment and 2 on any other.
TEST_P(SplitPaymentMark, IsReadFromTheAnnotations) {
  const std::string annotations = std::string(GetParam().Annotations) + "<P_15>";
  EXPECT_EQ(Load({{"<P_15>", annotations.c_str()}}).SplitPayment, GetParam().Marked);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitPaymentMark,
    ::testing::Values(TSplitPaymentMarkCase{"one", "<Adnotacje><P_16>2</P_16><P_18A>1</P_18A></Adnotacje>", true},
                      TSplitPaymentMarkCase{"oneWithBlanks", "<Adnotacje><P_18A> 1 </P_18A></Adnotacje>", true},
                      TSplitPaymentMarkCase{"two", "<Adnotacje><P_18A>2</P_18A></Adnotacje>", false},
                      TSplitPaymentMarkCase{"noMark", "<Adnotacje><P_16>2</P_16></Adnotacje>", false},
                      TSplitPaymentMarkCase{"noAnnotations", "", false},
                      // Only the annotations of the invoice itself count.
                      TSplitPaymentMarkCase{"outsideTheAnnotations", "<P_18A>1</P_18A>", false}),
    [](const ::testing::TestParamInfo<TSplitPaymentMarkCase> &info) { return std::string(info.param.Name); });

// A prefix that was never declared leaves the file readable; it plays no part in the lookup.
TEST_F(KsefInvoiceReaderTest, UndeclaredPrefixesAreIgnoredToo) {
  const TPayment data =
      Load({{"<P_15>123.00</P_15>", "<x:P_15>123.00</x:P_15>"}, {"<Nazwa>", "<y:Nazwa>"}, {"</Nazwa>", "</y:Nazwa>"}});
  EXPECT_EQ(data.CreditorName, SellerName);
  EXPECT_EQ(data.Amount, TAmount::FromUnits(1230000));
  EXPECT_THROW_MESSAGE(Load({{"<P_2>FV/7/2024</P_2>", "<x:P_2><b/></x:P_2>"}}),
                       Composite(QStringLiteral("fv1.xml"), QString(), SellerName,
                                 QStringLiteral("Element \"x:P_2\" does not contain a single text node")));
}

TEST_F(KsefInvoiceReaderTest, DatesAreTheInvoiceDayAndTheDayOfTheRun) {
  const TPayment data = Load({{"<P_1>2024-05-31</P_1>", "<P_1> 2024-W22-5 </P_1>"}});
  EXPECT_EQ(data.InvoiceDate, QDateTime(QDate(2024, 5, 31), QTime(0, 0)));
  EXPECT_EQ(data.DueDate, QDateTime(QDate(2025, 1, 2), QTime(0, 0)));
}

TEST_F(KsefInvoiceReaderTest, EncodingDeclaredByTheFileIsHonoured) {
  QString text = EditedInvoice({{"encoding=\"UTF-8\"", "encoding=\"windows-1250\""}});
  QStringEncoder encoder("windows-1250");
  const QByteArray bytes = encoder.encode(text);
  ASSERT_FALSE(encoder.hasError());
  Dir.WriteBytes(QStringLiteral("cp1250.xml"), bytes);
  const TPayment data = TKsefInvoiceReader::LoadFromFile(Dir.File(QStringLiteral("cp1250.xml")), Now);
  EXPECT_EQ(data.CreditorName, SellerName);
  EXPECT_EQ(data.CreditorAddress, QStringLiteral("ul. Długa 5"));
}

TEST_F(KsefInvoiceReaderTest, ValuesWithPercentSignsStayIntactInTheMessage) {
  EXPECT_THROW_MESSAGE(Load({{"FV/7/2024", "FV/%1/%2"}, {"<P_15>123.00</P_15>", "<P_15>0</P_15>"}}),
                       Composite(QStringLiteral("fv1.xml"), QStringLiteral("FV/%1/%2"), SellerName,
                                 QStringLiteral("Nieprawidłowa/ujemna kwota faktury.")));
}

// The transfer and the PDF read one document: an element that holds more than one text is
// shown by the PDF and noted for the transfer, which refuses it.
TEST(InvoiceDocument, NotesTheMixedTextsOfThePaymentDataAndKeepsTheirText) {
  const TXmlDocument document = ParseXml(
      "<Faktura><Podmiot1><DaneIdentyfikacyjne><Nazwa>Firma <!-- x -->Sp. z o.o.</Nazwa>"
      "<NIP>5265877635</NIP></DaneIdentyfikacyjne></Podmiot1>"
      "<Fa><P_1>2026-02-01</P_1><P_2>FV/1</P_2><P_15>1<![CDATA[23.00]]></P_15><P_7>a<b/>c</P_7></Fa></Faktura>",
      QStringLiteral("fa.xml"));

  for (const TInvoiceExtent extent : {TInvoiceExtent::Whole, TInvoiceExtent::Payment}) {
    const TInvoiceDocument invoice = ReadInvoiceDocument(document, extent);
    EXPECT_EQ(invoice.Seller.Name, QStringLiteral("Firma Sp. z o.o."));
    EXPECT_EQ(invoice.Total, QStringLiteral("123.00"));
    EXPECT_EQ(invoice.MixedTexts,
              (QHash<QString, QString>{
                  {QStringLiteral("Nazwa"), QStringLiteral("Element \"Nazwa\" does not contain a single text node")},
                  {QStringLiteral("P_15"), QStringLiteral("Element \"P_15\" does not contain a single text node")}}));
  }
}

} // namespace
