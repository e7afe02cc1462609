#include "TestSupport.h"
#include "checks/TransferChecks.h"

namespace {

const TCompanyData Payer{QStringLiteral("Pracownia Wrzos sp. z o.o."), QStringLiteral("6772314552"),
                         QStringLiteral("PL79114020044000030020135538"), QStringLiteral("BREXPLPWXXX")};

TPayment Payment(const QString &invoiceNumber, const QString &nip = QStringLiteral("8943001230"),
                 const QString &iban = QStringLiteral("PL61109010140000071219812874")) {
  TPayment payment;
  payment.InvoiceNumber = invoiceNumber;
  payment.CreditorName = QStringLiteral("Papiernia Dąb");
  payment.CreditorNIP = nip;
  payment.CreditorIBAN = iban;
  return payment;
}

TPayment VideoTelPayment(const QString &title) {
  TPayment payment = Payment(title, QString());
  payment.Kind = TPaymentKind::VideoTel;
  return payment;
}

// An invoice whose seller's first address line is "V", as a VideoTel payment was once marked.
TPayment InvoiceAddressedV(const QString &invoiceNumber) {
  TPayment payment = Payment(invoiceNumber);
  payment.CreditorAddress = QStringLiteral("V");
  return payment;
}

// A finding as "<transfer>: <text>", to compare whole lists at once.
QStringList Texts(const QList<TTransferFinding> &findings) {
  QStringList texts;
  for (const TTransferFinding &finding : findings)
    texts.append(QString::number(finding.Transfer) + QStringLiteral(": ") + finding.Text);
  return texts;
}

struct TPayerCase {
  const char *Name;
  TCompanyData Payer;
  QStringList Expected;
};

void PrintTo(const TPayerCase &c, std::ostream *os) { *os << c.Name; }

class PayerCheck : public ::testing::TestWithParam<TPayerCase> {};

TEST_P(PayerCheck, NamesTheFieldOfSettingsIni) { EXPECT_EQ(Texts(CheckPayer(GetParam().Payer)), GetParam().Expected); }

TCompanyData PayerWith(const char *nip, const char *iban, const char *bic) {
  return {Payer.Name, QString::fromUtf8(nip), QString::fromUtf8(iban), QString::fromUtf8(bic)};
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PayerCheck,
    ::testing::Values(
        TPayerCase{"right", Payer, {}},
        // The NIP is not written to the file, so the way it is commonly written is fine.
        TPayerCase{"nipWithHyphens", PayerWith("677-231-45-52", "PL79114020044000030020135538", "BREXPLPW"), {}},
        TPayerCase{"accountTypo",
                   PayerWith("6772314552", "PL79114020044000030020135539", "BREXPLPWXXX"),
                   {QStringLiteral("-1: Rachunek płatnika „PL79114020044000030020135539” (IBAN w settings.ini) ma "
                                   "błędne cyfry kontrolne (ISO 7064, mod 97-10): to literówka albo cudzy rachunek.")}},
        TPayerCase{"accountNoIban",
                   PayerWith("6772314552", "PL7911402004", "BREXPLPWXXX"),
                   {QStringLiteral("-1: Rachunek płatnika „PL7911402004” (IBAN w settings.ini) nie jest numerem IBAN "
                                   "ani polskim numerem rachunku z 26 cyfr.")}},
        TPayerCase{"nipCheckDigit",
                   PayerWith("6772314553", "PL79114020044000030020135538", "BREXPLPWXXX"),
                   {QStringLiteral("-1: NIP płatnika „6772314553” (settings.ini) nie jest poprawnym numerem NIP: 10 "
                                   "cyfr, z których ostatnia jest cyfrą kontrolną.")}},
        TPayerCase{"bicForm",
                   PayerWith("6772314552", "PL79114020044000030020135538", "BREXPL"),
                   {QStringLiteral("-1: BIC płatnika „BREXPL” (settings.ini) nie ma postaci kodu BIC (ISO 9362): 8 "
                                   "albo 11 wielkich liter i cyfr, w tym na miejscach 5 i 6 litery kraju.")}}),
    [](const ::testing::TestParamInfo<TPayerCase> &info) { return std::string(info.param.Name); });

struct TPaymentsCase {
  const char *Name;
  TPaymentList Payments;
  QStringList Expected;
};

void PrintTo(const TPaymentsCase &c, std::ostream *os) { *os << c.Name; }

class PaymentsCheck : public ::testing::TestWithParam<TPaymentsCase> {};

TEST_P(PaymentsCheck, FindsWhatTheBankWouldReject) {
  EXPECT_EQ(Texts(CheckPayments(GetParam().Payments)), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PaymentsCheck,
    ::testing::Values(
        TPaymentsCase{"right", {Payment(QStringLiteral("FV/1")), Payment(QStringLiteral("FV/2"))}, {}},
        TPaymentsCase{
            "empty", {}, {QStringLiteral("-1: Plik nie zawiera żadnego przelewu: bank nie przyjmie pustego pliku.")}},
        TPaymentsCase{"accountTypo",
                      {Payment(QStringLiteral("FV/1")), Payment(QStringLiteral("FV/2"), QStringLiteral("8943001230"),
                                                                QStringLiteral("PL61109010140000071219812875"))},
                      {QStringLiteral("1: rachunek odbiorcy „PL61109010140000071219812875” ma błędne cyfry kontrolne "
                                      "(ISO 7064, mod 97-10): to literówka albo cudzy rachunek.")}},
        // "PLX" passes the invoice reader.
        TPaymentsCase{"accountNoIban",
                      {Payment(QStringLiteral("FV/1"), QStringLiteral("8943001230"), QStringLiteral("PLX"))},
                      {QStringLiteral("0: rachunek odbiorcy „PLX” nie jest numerem IBAN ani polskim numerem "
                                      "rachunku z 26 cyfr.")}},
        TPaymentsCase{"nipCheckDigit",
                      {Payment(QStringLiteral("FV/1"), QStringLiteral("8943001231"))},
                      {QStringLiteral("0: NIP odbiorcy 8943001231 ma błędną cyfrę kontrolną.")}},
        // A tax number of another country, or none, is not a Polish NIP to check.
        TPaymentsCase{"nipNotTenDigits",
                      {Payment(QStringLiteral("FV/1"), QStringLiteral("DE123456789")),
                       Payment(QStringLiteral("FV/2"), QString())},
                      {}},
        TPaymentsCase{
            "sameInvoiceTwice",
            {Payment(QStringLiteral("FV/1")), Payment(QStringLiteral("FV/2")), Payment(QStringLiteral("FV/1"))},
            {QStringLiteral("2: ta sama faktura (ten sam NIP odbiorcy i numer) jest już w pliku jako "
                            "przelew nr 1: bank zapłaci ją dwa razy.")}},
        TPaymentsCase{"sameNumberOtherPayee",
                      {Payment(QStringLiteral("FV/1")), Payment(QStringLiteral("FV/1"), QStringLiteral("6772314552"))},
                      {}},
        // Two VideoTel orders with one title are two payments, not one invoice paid twice.
        TPaymentsCase{
            "sameVideoTelTitle",
            {VideoTelPayment(QStringLiteral("Czynsz 03/2026")), VideoTelPayment(QStringLiteral("Czynsz 03/2026"))},
            {}},
        // The kind tells a VideoTel payment, never the address.
        TPaymentsCase{"sameInvoiceAddressedV",
                      {InvoiceAddressedV(QStringLiteral("FV/1")), InvoiceAddressedV(QStringLiteral("FV/1"))},
                      {QStringLiteral("1: ta sama faktura (ten sam NIP odbiorcy i numer) jest już w pliku jako "
                                      "przelew nr 1: bank zapłaci ją dwa razy.")}}),
    [](const ::testing::TestParamInfo<TPaymentsCase> &info) { return std::string(info.param.Name); });

TEST(PaymentsCheck, AnAccountFindingExplainsTheAccountAndTheSortCutFromIt) {
  const QList<TTransferFinding> findings =
      CheckPayments({Payment(QStringLiteral("FV/1"), QStringLiteral("8943001230"), QStringLiteral("PLX"))});
  ASSERT_EQ(findings.size(), 1);
  EXPECT_EQ(findings[0].Elements, QStringList({QStringLiteral("CdtrAcct/Id/Othr/Id"),
                                               QStringLiteral("CdtrAgt/FinInstnId/ClrSysMmbId/MmbId")}));
}

struct TSplitPaymentCase {
  const char *Name;
  bool Marked;
  const char *Currency;
  TMPPSettings MPP;
  QStringList Expected;
  std::int64_t AmountUnits = 12300000;
  std::int64_t VatUnits = 2300000;
};

void PrintTo(const TSplitPaymentCase &c, std::ostream *os) { *os << c.Name; }

class SplitPaymentCheck : public ::testing::TestWithParam<TSplitPaymentCase> {};

TEST_P(SplitPaymentCheck, ComparesTheInvoiceWithTheTransfer) {
  TPayment invoice;
  invoice.SplitPayment = GetParam().Marked;
  invoice.CurrencyCode = QString::fromUtf8(GetParam().Currency);
  invoice.Amount = TAmount::FromUnits(GetParam().AmountUnits);
  invoice.VATAmount = TAmount::FromUnits(GetParam().VatUnits);
  EXPECT_EQ(Texts(CheckSplitPayment(4, invoice, GetParam().MPP)), GetParam().Expected);
}

const QString MarkedWithoutMPP =
    QStringLiteral("4: faktura ma adnotację „mechanizm podzielonej płatności” (P_18A), a przelew jest bez MPP: taką "
                   "fakturę trzeba zapłacić w mechanizmie podzielonej płatności.");

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitPaymentCheck,
    ::testing::Values(
        TSplitPaymentCase{"markedWithoutMPP", true, "PLN", TMPPSettings{false, TMPPFormat::Both}, {MarkedWithoutMPP}},
        TSplitPaymentCase{"markedWithMPP", true, "PLN", TMPPSettings{true, TMPPFormat::None}, {}},
        TSplitPaymentCase{"unmarkedWithoutMPP", false, "PLN", TMPPSettings{}, {}},
        TSplitPaymentCase{"euroWithMPP",
                          false,
                          "EUR",
                          TMPPSettings{true, TMPPFormat::Ustrd},
                          {QStringLiteral("4: przelew w mechanizmie podzielonej płatności jest w walucie EUR, a MPP "
                                          "działa tylko dla przelewów w złotych (PLN).")}},
        TSplitPaymentCase{"euroWithoutMPP", false, "EUR", TMPPSettings{}, {}},
        TSplitPaymentCase{"markedEuroWithoutMPP", true, "EUR", TMPPSettings{}, {MarkedWithoutMPP}},
        // What is left of a partly paid invoice carries at most that much VAT.
        TSplitPaymentCase{"vatAboveAmountWithMPP",
                          false,
                          "PLN",
                          TMPPSettings{true, TMPPFormat::Standard},
                          {QStringLiteral("4: kwota VAT 230,00 jest większa niż kwota przelewu 130,00: bank odrzuci "
                                          "taki przelew w mechanizmie podzielonej płatności.")},
                          1300000},
        TSplitPaymentCase{
            "vatEqualToAmountWithMPP", false, "PLN", TMPPSettings{true, TMPPFormat::Standard}, {}, 2300000},
        TSplitPaymentCase{"vatAboveAmountWithoutMPP", false, "PLN", TMPPSettings{}, {}, 1300000}),
    [](const ::testing::TestParamInfo<TSplitPaymentCase> &info) { return std::string(info.param.Name); });

} // namespace
