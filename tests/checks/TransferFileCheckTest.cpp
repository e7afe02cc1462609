#include "TestSupport.h"
#include "checks/TransferFileCheck.h"
#include "iso20022/Pain001Generator.h"
#include "iso20022/Pain001Writer.h"

#include <functional>

namespace {

const QDateTime Now(QDate(2026, 3, 5), QTime(14, 5, 9));
const TCompanyData Payer{QStringLiteral("Pracownia Wrzos sp. z o.o."), QStringLiteral("6772314552"),
                         QStringLiteral("PL79114020044000030020135538"), QStringLiteral("BREXPLPWXXX")};

TPayment Payment(const QString &invoiceNumber) {
  TPayment payment;
  payment.InvoiceNumber = invoiceNumber;
  payment.CreditorName = QStringLiteral("Papiernia Dąb");
  payment.CreditorIBAN = QStringLiteral("PL61109010140000071219812874");
  payment.Amount = TAmount::FromUnits(1230000);
  payment.CreditorNIP = QStringLiteral("8943001230");
  payment.CreditorCountry = QStringLiteral("PL");
  payment.CreditorStrtNm = QStringLiteral("ul. Lipowa");
  payment.CreditorBldgNb = QStringLiteral("12");
  payment.CreditorPstCd = QStringLiteral("31-042");
  payment.CreditorTwnNm = QStringLiteral("Kraków");
  payment.VATAmount = TAmount::FromUnits(230000);
  payment.nrKsef = QStringLiteral("8943001230-20260302-4F1A2B3C4D5E-48");
  return payment;
}

class TransferFileCheck : public ::testing::Test {
protected:
  QString WriteBatch(const TPaymentList &payments, const TMPPSettings &mpp = {},
                     const TCompanyData &payer = Payer) const {
    const QString file = Dir.File(QStringLiteral("Pain001Paczka.xml"));
    TPain001Writer::Generate(payments, payer, mpp, file, Now);
    return file;
  }

  TTempDir Dir;
};

TEST_F(TransferFileCheck, ARightFileGivesNoWarning) {
  const TPaymentList payments{Payment(QStringLiteral("FV/1")), Payment(QStringLiteral("FV/2"))};
  for (const TMPPSettings &mpp :
       {TMPPSettings{}, TMPPSettings{true, TMPPFormat::Both}, TMPPSettings{true, TMPPFormat::Structured}}) {
    const QString file = WriteBatch(payments, mpp);
    EXPECT_TRUE(IsValidPain001(file));
    EXPECT_EQ(CheckTransferFile(file, Payer, payments, {}), QStringList());
  }
}

struct TFileCase {
  const char *Name;
  std::function<void(TPaymentList &, TCompanyData &)> Change;
  TMPPSettings MPP;
  QStringList Expected;
};

void PrintTo(const TFileCase &c, std::ostream *os) { *os << c.Name; }

class SchemaCheck : public TransferFileCheck, public ::testing::WithParamInterface<TFileCase> {};

// Files the writer makes by its rules and the schema refuses: each finding names the
// transfer and the field, and says no more than once what one cause broke.
TEST_P(SchemaCheck, SaysWhatTheSchemaRefusesInTheUsersWords) {
  TPaymentList payments{Payment(QStringLiteral("FV/1"))};
  TCompanyData payer = Payer;
  GetParam().Change(payments, payer);
  const QString file = WriteBatch(payments, GetParam().MPP, payer);

  EXPECT_FALSE(IsValidPain001(file));
  EXPECT_EQ(CheckTransferFile(file, payer, payments, {}), GetParam().Expected);
}

const QString Name150 = QStringLiteral("Przedsiębiorstwo Handlowe ") + QString(124, u'x');
const QString Number120 = QStringLiteral("FV/") + QString(117, u'7');

INSTANTIATE_TEST_SUITE_P(
    Cases, SchemaCheck,
    ::testing::Values(
        TFileCase{"emptyBatch",
                  [](TPaymentList &payments, TCompanyData &) { payments.clear(); },
                  {},
                  {QStringLiteral("Plik nie zawiera żadnego przelewu: bank nie przyjmie pustego pliku.")}},
        TFileCase{"nameOver140",
                  [](TPaymentList &payments, TCompanyData &) { payments[0].CreditorName = Name150; },
                  {},
                  {QStringLiteral("Przelew za fakturę FV/1 dla ") + Name150 +
                   QStringLiteral(": pole „nazwa odbiorcy” (Nm) ma 150 znaków, a format pozwala na 140 znaków: bank "
                                  "odrzuci plik albo utnie „xxxxxxxxxx”.")}},
        TFileCase{"remittanceOver140",
                  [](TPaymentList &payments, TCompanyData &) { payments[0].InvoiceNumber = Number120; },
                  {},
                  {QStringLiteral("Przelew za fakturę ") + Number120 +
                   QStringLiteral(" dla Papiernia Dąb: pole „tytuł przelewu” (Ustrd) ma 190 znaków, a format pozwala "
                                  "na 140 znaków: bank odrzuci plik albo utnie „") +
                   QString(3, u'7') + QStringLiteral(";  nr KSeF: 8943001230-20260302-4F1A2B3C4D5E-48”.")}},
        TFileCase{"noCountry",
                  [](TPaymentList &payments, TCompanyData &) { payments[0].CreditorCountry.clear(); },
                  {},
                  {QStringLiteral("Przelew za fakturę FV/1 dla Papiernia Dąb: pole „kraj odbiorcy” (Ctry) ma "
                                  "niedozwoloną postać „”.")}},
        // The sort code is cut from the account: one cause, one warning.
        TFileCase{"payeeAccountNoIban",
                  [](TPaymentList &payments, TCompanyData &) { payments[0].CreditorIBAN = QStringLiteral("PLX"); },
                  {},
                  {QStringLiteral("Przelew za fakturę FV/1 dla Papiernia Dąb: rachunek odbiorcy „PLX” nie jest "
                                  "numerem IBAN ani polskim numerem rachunku z 26 cyfr.")}},
        TFileCase{"payerAccountNoIban",
                  [](TPaymentList &, TCompanyData &payer) { payer.IBAN = QStringLiteral("PL12"); },
                  {},
                  {QStringLiteral("Rachunek płatnika „PL12” (IBAN w settings.ini) nie jest numerem IBAN ani polskim "
                                  "numerem rachunku z 26 cyfr.")}}),
    [](const ::testing::TestParamInfo<TFileCase> &info) { return std::string(info.param.Name); });

// The writer gives RefNb the invoice number where the KSeF number is missing; a file edited by
// hand to an empty one shows how the schema's refusal of it is said.
TEST_F(TransferFileCheck, AnEmptyStructuredReferenceIsNamedInTheUsersWords) {
  const TPaymentList payments{Payment(QStringLiteral("FV/1"))};
  const QString file = WriteBatch(payments, TMPPSettings{true, TMPPFormat::Structured});
  QByteArray xml = Dir.ReadBytes(QStringLiteral("Pain001Paczka.xml"));
  const QByteArray reference = "<RefNb>" + payments[0].nrKsef.toUtf8() + "</RefNb>";
  ASSERT_TRUE(xml.contains(reference));
  Dir.WriteBytes(QStringLiteral("Pain001Paczka.xml"), xml.replace(reference, "<RefNb></RefNb>"));

  EXPECT_FALSE(IsValidPain001(file));
  EXPECT_EQ(CheckTransferFile(file, Payer, payments, {}),
            QStringList{QStringLiteral("Przelew za fakturę FV/1 dla Papiernia Dąb: pole „numer referencyjny w bloku "
                                       "MPP” (RefNb) jest puste, a format wymaga w nim tekstu.")});
}

TPayment SingleInvoice() {
  TPayment invoice;
  invoice.InvoiceNumber = QStringLiteral("FV/9");
  invoice.CreditorName = QStringLiteral("Drukarnia Lipa");
  invoice.CreditorNIP = QStringLiteral("8943001230");
  invoice.CreditorCountry = QStringLiteral("PL");
  invoice.CreditorTwnNm = QStringLiteral("Kraków");
  invoice.CreditorIBAN = QStringLiteral("PL61109010140000071219812874");
  invoice.Amount = TAmount::FromUnits(1230000);
  invoice.CurrencyCode = QStringLiteral("PLN");
  invoice.VATAmount = TAmount::FromUnits(230000);
  return invoice;
}

struct TSingleCase {
  const char *Name;
  QString Currency;
  TMPPSettings MPP;
  QString Expected;
};

void PrintTo(const TSingleCase &c, std::ostream *os) { *os << c.Name; }

class SingleInvoiceCheck : public TransferFileCheck, public ::testing::WithParamInterface<TSingleCase> {};

// The invoice has no KSeF number.
TEST_P(SingleInvoiceCheck, NamesTheFieldOfTheSingleInvoiceDocument) {
  TPayment invoice = SingleInvoice();
  invoice.CurrencyCode = GetParam().Currency;
  const QString file = Dir.File(QStringLiteral("Pain001.xml"));
  TPain001Generator::Generate(invoice, Payer, GetParam().MPP, file, QString(), Now);

  EXPECT_FALSE(IsValidPain001(file));
  EXPECT_EQ(CheckTransferFile(file, Payer, {invoice}, {}),
            QStringList{QStringLiteral("Przelew za fakturę FV/9 dla Drukarnia Lipa: ") + GetParam().Expected});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SingleInvoiceCheck,
    ::testing::Values( // The single invoice's transfer is in the invoice's currency, as read.
        TSingleCase{"noCurrency", QString(), TMPPSettings{},
                    QStringLiteral("pole „kwota i waluta przelewu” (InstdAmt) ma niedozwoloną postać "
                                   "„”.")}),
    [](const ::testing::TestParamInfo<TSingleCase> &info) { return std::string(info.param.Name); });

TEST_F(TransferFileCheck, NamesWhatTheWriterCutFromTheStreetAndTheTown) {
  TPayment payment = Payment(QStringLiteral("FV/1"));
  payment.CreditorStrtNm = QStringLiteral("ul. ") + QString(66, u's') + QStringLiteral("Koniec");
  payment.CreditorTwnNm = QString(35, u't') + QStringLiteral(" Dolna");
  const TPaymentList payments{Payment(QStringLiteral("FV/0")), payment};
  const QString file = WriteBatch(payments);

  EXPECT_TRUE(IsValidPain001(file));
  EXPECT_EQ(CheckTransferFile(file, Payer, payments, {}),
            QStringList({QStringLiteral("Przelew za fakturę FV/1 dla Papiernia Dąb: ulica odbiorcy nie zmieściła się w "
                                        "polu StrtNm (70 znaków): w pliku pominięto „Koniec”."),
                         QStringLiteral("Przelew za fakturę FV/1 dla Papiernia Dąb: miejscowość odbiorcy nie zmieściła "
                                        "się w polu TwnNm (35 znaków): w pliku pominięto „ Dolna”.")}));
}

TEST_F(TransferFileCheck, ThePayerComesFirstThenEachTransferInFileOrder) {
  TPayment videoTel = Payment(QStringLiteral("Czynsz 03/2026"));
  videoTel.Kind = TPaymentKind::VideoTel;
  videoTel.CreditorNIP.clear();
  videoTel.CreditorIBAN = QStringLiteral("PL61109010140000071219812875");
  TPaymentList payments{Payment(QStringLiteral("FV/1")), videoTel, Payment(QStringLiteral("FV/3"))};
  payments[2].CreditorCountry.clear();
  TCompanyData payer = Payer;
  payer.BIC = QStringLiteral("BREX");
  const QString file = WriteBatch(payments, {}, payer);
  // What the caller found in the invoices themselves takes its place among the rest.
  const QList<TTransferFinding> invoiceFindings{{0, {}, QStringLiteral("uwaga o fakturze FV/1.")}};

  EXPECT_EQ(
      CheckTransferFile(file, payer, payments, invoiceFindings),
      QStringList({QStringLiteral("BIC płatnika „BREX” (settings.ini) nie ma postaci kodu BIC (ISO 9362): 8 albo 11 "
                                  "wielkich liter i cyfr, w tym na miejscach 5 i 6 litery kraju."),
                   QStringLiteral("Przelew za fakturę FV/1 dla Papiernia Dąb: uwaga o fakturze FV/1."),
                   QStringLiteral("Przelew „Czynsz 03/2026” dla Papiernia Dąb: rachunek odbiorcy "
                                  "„PL61109010140000071219812875” ma błędne cyfry kontrolne (ISO 7064, mod 97-10): to "
                                  "literówka albo cudzy rachunek."),
                   QStringLiteral("Przelew za fakturę FV/3 dla Papiernia Dąb: pole „kraj odbiorcy” (Ctry) ma "
                                  "niedozwoloną postać „”.")}));
}

TEST_F(TransferFileCheck, AFileThatCannotBeReadBackFails) {
  EXPECT_THROW_MESSAGE(CheckTransferFile(Dir.File(QStringLiteral("brak.xml")), Payer, {}, {}),
                       QStringLiteral("Nie można otworzyć pliku \"brak.xml\": plik nie istnieje."));
}

} // namespace
