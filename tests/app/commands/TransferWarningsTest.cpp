#include "CommandTest.h"
#include "Pain001View.h"

namespace {

// The checks that follow every written transfer file, seen from the commands.
class TTransferWarningsTest : public TCommandTest {
protected:
  QString BatchFile() const { return AppFile(QStringLiteral("PLIKI_DO_BANKU/Pain001Paczka.xml")); }
  QString SuccessLine(const QString &outputName, const QString &description) const {
    return QStringLiteral("Poprawnie wygenerowano plik [") + AppFile(QStringLiteral("PLIKI_DO_BANKU/") + outputName) +
           QStringLiteral("] ") + description + QStringLiteral("|separator");
  }

  TTempDir Invoices;
};

// The invoice of InvoiceXml with each `from` replaced by its `to`.
QByteArray EditedInvoice(const QString &invoiceNumber,
                         std::initializer_list<std::pair<const char *, const char *>> edits) {
  QByteArray xml = InvoiceXml(QStringLiteral("Dostawca %1").arg(invoiceNumber), QStringLiteral("ul. Polna 3"),
                              QStringLiteral("00-950 Warszawa"), invoiceNumber);
  for (const auto &[from, to] : edits) {
    EXPECT_TRUE(xml.contains(from)) << from;
    xml.replace(from, to);
  }
  return xml;
}

const std::pair<const char *, const char *> InEuro{"<KodWaluty>PLN</KodWaluty>", "<KodWaluty>EUR</KodWaluty>"};
const std::pair<const char *, const char *> MarkedForSplitPayment{"<P_15>",
                                                                  "<Adnotacje><P_18A>1</P_18A></Adnotacje><P_15>"};
const std::pair<const char *, const char *> AccountTypo{"PL32102028922000000102034567", "PL32102028922000000102034576"};

TEST_F(TTransferWarningsTest, WarningsFollowTheSuccessLineAndTheFileStaysWritten) {
  Invoices.WriteBytes(QStringLiteral("a.xml"), EditedInvoice(QStringLiteral("FV/1"), {MarkedForSplitPayment}));
  Invoices.WriteBytes(QStringLiteral("b.xml"), EditedInvoice(QStringLiteral("FV/2"), {}));
  Invoices.WriteBytes(QStringLiteral("c.xml"), EditedInvoice(QStringLiteral("FV/3"), {AccountTypo}));

  const TTransferResult result = Commands.PressBatch(Invoices.Path(), TMPPSettings{});

  const QStringList warnings{
      QStringLiteral("Uwaga: Przelew za fakturę FV/1 dla Dostawca FV/1: faktura ma adnotację „mechanizm podzielonej "
                     "płatności” (P_18A), a przelew jest bez MPP: taką fakturę trzeba zapłacić w mechanizmie "
                     "podzielonej płatności."),
      QStringLiteral("Uwaga: Przelew za fakturę FV/3 dla Dostawca FV/3: rachunek odbiorcy "
                     "„PL32102028922000000102034576” ma błędne cyfry kontrolne (ISO 7064, mod 97-10): to literówka "
                     "albo cudzy rachunek.")};
  EXPECT_TRUE(result.Written);
  EXPECT_EQ(result.Warnings, 2);
  EXPECT_EQ(Log(), QStringList{SuccessLine(QStringLiteral("Pain001Paczka.xml"),
                                           QStringLiteral("dla potrzeb przelewu, dla paczki faktur ..."))} +
                       warnings + QStringList{WhiteListNotChecked()});
  EXPECT_EQ(Warnings(), warnings);
  EXPECT_EQ(Host.OpenedFiles, QStringList{BatchFile()});
  EXPECT_EQ(TPain001View(BatchFile()).CountNamed(QStringLiteral("CdtTrfTxInf")), 3);
}

TEST_F(TTransferWarningsTest, ARightFileGivesNoWarning) {
  Invoices.WriteBytes(QStringLiteral("a.xml"), EditedInvoice(QStringLiteral("FV/1"), {MarkedForSplitPayment}));

  const TTransferResult result = Commands.PressBatch(Invoices.Path(), TMPPSettings{true, TMPPFormat::Ustrd});

  EXPECT_TRUE(result.Written);
  EXPECT_EQ(result.Warnings, 0);
  EXPECT_EQ(Warnings(), QStringList());
}

// A split-payment file without an encoding warns once, however many transfers it holds.
TEST_F(TTransferWarningsTest, SplitPaymentWithoutEncodingIsSaidOncePerFile) {
  Invoices.WriteBytes(QStringLiteral("a.xml"), EditedInvoice(QStringLiteral("FV/1"), {}));
  Invoices.WriteBytes(QStringLiteral("b.xml"), EditedInvoice(QStringLiteral("FV/2"), {}));

  const TTransferResult result = Commands.PressBatch(Invoices.Path(), TMPPSettings{true, TMPPFormat::None});

  EXPECT_TRUE(result.Written);
  EXPECT_EQ(Warnings(),
            QStringList{QStringLiteral(
                "Uwaga: Przelewy w mechanizmie podzielonej płatności zapisano w formacie MPP None, bez informacji "
                "o płatności (RmtInf): bank potrzebuje w przelewie MPP kwoty VAT i numeru faktury, więc "
                "wybierz format Ustrd, Structured, Both albo Standard.")});
  EXPECT_EQ(TPain001View(AppFile(QStringLiteral("PLIKI_DO_BANKU/Pain001Paczka_MPP.xml")))
                .CountNamed(QStringLiteral("RmtInf")),
            0);
}

// The payer's account as a hand-edited settings.ini may hold it goes into the file as the
// window would save it; only an account still wrong then is warned of.
struct TPayerIbanCase {
  const char *Name;
  QByteArray Iban;
  QString Written;
  QStringList Warnings;
};

void PrintTo(const TPayerIbanCase &c, std::ostream *os) { *os << c.Name; }

class TPayerIbanTest : public TTransferWarningsTest, public ::testing::WithParamInterface<TPayerIbanCase> {};

TEST_P(TPayerIbanTest, IsWrittenWithoutBlanksInCapitals) {
  QByteArray settings = PayerSettings;
  settings.replace("IBAN=PL79114020044000030020135538", "IBAN=" + GetParam().Iban);
  WriteAppFile(QStringLiteral("settings.ini"), settings);
  Invoices.WriteBytes(QStringLiteral("a.xml"), EditedInvoice(QStringLiteral("FV/1"), {}));

  ASSERT_TRUE(Commands.PressBatch(Invoices.Path(), TMPPSettings{}));

  EXPECT_EQ(Warnings(), GetParam().Warnings);
  EXPECT_EQ(TPain001View(BatchFile()).Text(QStringLiteral("PmtInf/DbtrAcct/Id/Othr/Id")), GetParam().Written);
  EXPECT_TRUE(IsValidPain001(BatchFile()));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TPayerIbanTest,
    ::testing::Values(
        TPayerIbanCase{
            "inGroups", "PL79 1140 2004 4000 0300 2013 5538", QStringLiteral("PL79114020044000030020135538"), {}},
        TPayerIbanCase{"inSmallLettersWithTabs",
                       "pl79\t1140 2004 4000 0300 2013 5538",
                       QStringLiteral("PL79114020044000030020135538"),
                       {}},
        TPayerIbanCase{
            "typoInGroups",
            "PL79 1140 2004 4000 0300 2013 5583",
            QStringLiteral("PL79114020044000030020135583"),
            {QStringLiteral("Uwaga: Rachunek płatnika „PL79114020044000030020135583” (IBAN w settings.ini) ma "
                            "błędne cyfry kontrolne (ISO 7064, mod 97-10): to literówka albo cudzy "
                            "rachunek.")}}),
    [](const ::testing::TestParamInfo<TPayerIbanCase> &info) { return std::string(info.param.Name); });

struct TSingleCase {
  const char *Name;
  QByteArray Invoice;
  TMPPSettings MPP;
  QStringList Warnings;
};

void PrintTo(const TSingleCase &c, std::ostream *os) { *os << c.Name; }

class TSingleInvoiceWarningsTest : public TTransferWarningsTest, public ::testing::WithParamInterface<TSingleCase> {};

TEST_P(TSingleInvoiceWarningsTest, AreLoggedAfterTheSuccessLine) {
  Invoices.WriteBytes(QStringLiteral("fv.xml"), GetParam().Invoice);

  const TTransferResult result =
      Commands.PressSingle(Invoices.File(QStringLiteral("fv.xml")), QString(), GetParam().MPP);

  EXPECT_TRUE(result.Written);
  EXPECT_EQ(result.Warnings, GetParam().Warnings.size());
  EXPECT_EQ(Log().mid(1), GetParam().Warnings + QStringList{WhiteListNotChecked()});
  EXPECT_EQ(Warnings(), GetParam().Warnings);
}

const QString Town50 = QStringLiteral("Wólka-Zabłocka-").repeated(4).left(50);
const QString Town80 = QStringLiteral("Wólka-Zabłocka-").repeated(6).left(80);
const QString Street80 = QStringLiteral("ul. Bardzo-Długiej-Ulicy-").repeated(4).left(80);

INSTANTIATE_TEST_SUITE_P(
    Cases, TSingleInvoiceWarningsTest,
    ::testing::Values(
        TSingleCase{"right", EditedInvoice(QStringLiteral("FV/1"), {}), TMPPSettings{true, TMPPFormat::Ustrd}, {}},
        TSingleCase{"splitPaymentInEuro",
                    EditedInvoice(QStringLiteral("FV/1"), {InEuro}),
                    TMPPSettings{true, TMPPFormat::Ustrd},
                    {QStringLiteral("Uwaga: Przelew za fakturę FV/1 dla Dostawca FV/1: przelew w mechanizmie "
                                    "podzielonej płatności jest w walucie EUR, a MPP działa tylko dla przelewów w "
                                    "złotych (PLN).")}},
        // The invoice has no SystemInfo, so the structured encoding refers to it by its number.
        TSingleCase{"structuredWithoutKsefNumber",
                    EditedInvoice(QStringLiteral("FV/1"), {}),
                    TMPPSettings{true, TMPPFormat::Structured},
                    {QStringLiteral("Uwaga: Przelew za fakturę FV/1 dla Dostawca FV/1: faktura nie ma numeru KSeF, "
                                    "więc w polu RefNb struktury MPP jest w zamian numer faktury „FV/1”.")}},
        TSingleCase{"splitPaymentWithoutEncoding",
                    EditedInvoice(QStringLiteral("FV/1"), {}),
                    TMPPSettings{true, TMPPFormat::None},
                    {QStringLiteral("Uwaga: Przelewy w mechanizmie podzielonej płatności zapisano w formacie MPP "
                                    "None, bez informacji o płatności (RmtInf): bank potrzebuje w przelewie MPP kwoty "
                                    "VAT i numeru faktury, więc wybierz format Ustrd, Structured, Both albo "
                                    "Standard.")}},
        // A slash, as Polish invoice numbers have, is no segment of the banks' title.
        TSingleCase{
            "standardTitleWithSlashes",
            EditedInvoice(QStringLiteral("FV/2026/03/1"),
                          {{"<Faktura>", "<Faktura><SystemInfo>8943001230-20260302-4F1A2B3C4D5E-48</SystemInfo>"}}),
            TMPPSettings{true, TMPPFormat::Standard},
            {}},
        // A town too long for its field takes the street's place whole: the street is gone, the
        // town is not cut.
        TSingleCase{
            "longTown",
            InvoiceXml(QStringLiteral("Dostawca A"), QStringLiteral("ul. Krótka 1"),
                       QStringLiteral("00-950 ") + Town50),
            TMPPSettings{},
            {QStringLiteral("Uwaga: Przelew za fakturę FV/1/2026 dla Dostawca A: ulicy odbiorcy „ul. Krótka” "
                            "nie ma w pliku: pole StrtNm zajmuje miejscowość odbiorcy, za długa na pole TwnNm."),
             QStringLiteral("Uwaga: Przelew za fakturę FV/1/2026 dla Dostawca A: miejscowość odbiorcy nie "
                            "zmieściła się w polu TwnNm (35 znaków): w pliku jest cała w polu StrtNm, a w "
                            "polu TwnNm jej początek.")}},
        TSingleCase{"longTownWithoutStreet",
                    InvoiceXml(QStringLiteral("Dostawca A"), QString(), QStringLiteral("00-950 ") + Town50),
                    TMPPSettings{},
                    {QStringLiteral("Uwaga: Przelew za fakturę FV/1/2026 dla Dostawca A: miejscowość odbiorcy nie "
                                    "zmieściła się w polu TwnNm (35 znaków): w pliku jest cała w polu StrtNm, a w "
                                    "polu TwnNm jej początek.")}},
        TSingleCase{
            "townLongerThanTheStreetField",
            InvoiceXml(QStringLiteral("Dostawca A"), QStringLiteral("ul. Krótka 1"),
                       QStringLiteral("00-950 ") + Town80),
            TMPPSettings{},
            {QStringLiteral("Uwaga: Przelew za fakturę FV/1/2026 dla Dostawca A: ulicy odbiorcy „ul. Krótka” "
                            "nie ma w pliku: pole StrtNm zajmuje miejscowość odbiorcy, za długa na pole TwnNm."),
             QStringLiteral("Uwaga: Przelew za fakturę FV/1/2026 dla Dostawca A: miejscowość odbiorcy nie "
                            "zmieściła się w polu TwnNm (35 znaków) ani w polu StrtNm (70 znaków), do którego "
                            "ją przeniesiono: w pliku pominięto „") +
                 Town80.mid(70) + QStringLiteral("”.")}},
        // A street too long for its field with a town that fits is only cut.
        TSingleCase{"longStreet",
                    InvoiceXml(QStringLiteral("Dostawca A"), Street80 + QStringLiteral(" 1"),
                               QStringLiteral("00-950 Warszawa")),
                    TMPPSettings{},
                    {QStringLiteral("Uwaga: Przelew za fakturę FV/1/2026 dla Dostawca A: ulica odbiorcy nie zmieściła "
                                    "się w polu StrtNm (70 znaków): w pliku pominięto „") +
                     Street80.mid(70) + QStringLiteral("”.")}}),
    [](const ::testing::TestParamInfo<TSingleCase> &info) { return std::string(info.param.Name); });

} // namespace
