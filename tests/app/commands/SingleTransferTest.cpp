#include "CommandTest.h"
#include "Pain001View.h"

#include <QDir>
#include <QFile>

namespace {

using TSingleTransferTest = TCommandTest;

QString Invoice(const char *name) { return FixturePath(QStringLiteral("commands/") + QString::fromLatin1(name)); }

TEST_F(TSingleTransferTest, WritesThePlainFileLogsItsFullPathAndOpensIt) {
  ASSERT_TRUE(Commands.PressSingle(Invoice("faktura-papiernia.xml"), QStringLiteral("zlecenie 7"), TMPPSettings{}));

  const QString output = AppFile(QStringLiteral("PLIKI_DO_BANKU/Pain001.xml"));
  EXPECT_EQ(Log(), QStringList({QStringLiteral("Poprawnie wygenerowano plik [") + output +
                                    QStringLiteral("] dla potrzeb przelewu, dla pojedynczej faktury...|separator"),
                                WhiteListNotChecked()}));
  EXPECT_EQ(Host.OpenedFiles, QStringList{output});
  EXPECT_TRUE(Host.InformationBoxes.isEmpty());
  EXPECT_TRUE(IsValidPain001(output));
  const TPain001View file(output);
  // The clock of the run is the host's.
  EXPECT_EQ(file.TextsNamed(QStringLiteral("MsgId")), QStringList{QStringLiteral("20260305140509")});
  EXPECT_EQ(file.TextsNamed(QStringLiteral("Dt")), QStringList{QStringLiteral("2026-03-05")});
  EXPECT_EQ(file.TextsNamed(QStringLiteral("EndToEndId")), QStringList{QStringLiteral("FV/2026/03/118")});
  EXPECT_EQ(file.TextsNamed(QStringLiteral("InstdAmt")), QStringList{QStringLiteral("1230.00")});
  EXPECT_EQ(file.TextsNamed(QStringLiteral("Nm")),
            QStringList({QStringLiteral("Pracownia Architektoniczna Wrzos sp. z o.o."),
                         QStringLiteral("Papiernia Zielony Dąb sp. z o.o.")}));
  // The invoice path and the additional reference reach the remittance text.
  EXPECT_EQ(file.TextsNamed(QStringLiteral("Ustrd")),
            QStringList{QStringLiteral("Zapłata za fakturę nr: FV/2026/03/118;  nr KSeF: "
                                       "8943001230-20260302-4F1A2B3C4D5E-71; zlecenie 7")});
}

TEST_F(TSingleTransferTest, WithSplitPaymentWritesTheMPPFile) {
  ASSERT_TRUE(
      Commands.PressSingle(Invoice("faktura-papiernia.xml"), QString(), TMPPSettings{true, TMPPFormat::Structured}));

  const QString output = AppFile(QStringLiteral("PLIKI_DO_BANKU/Pain001_MPP.xml"));
  EXPECT_EQ(Log(), QStringList({QStringLiteral("Poprawnie wygenerowano plik [") + output +
                                    QStringLiteral("] dla potrzeb przelewu, dla pojedynczej faktury (mechanizm "
                                                   "MPP)...|separator"),
                                WhiteListNotChecked()}));
  EXPECT_EQ(Host.OpenedFiles, QStringList{output});
  EXPECT_FALSE(AppFileExists(QStringLiteral("PLIKI_DO_BANKU/Pain001.xml")));
  EXPECT_TRUE(IsValidPain001(output));
  EXPECT_EQ(TPain001View(output).TextsNamed(QStringLiteral("Prtry")),
            QStringList({QStringLiteral("VATX"), QStringLiteral("VATX")}));
}

struct TPayerCase {
  const char *Name;
  QByteArray Settings;
  QString Message;
};

void PrintTo(const TPayerCase &c, std::ostream *os) { *os << c.Name; }

class TPayerCheckTest : public TCommandTest, public ::testing::WithParamInterface<TPayerCase> {};

TEST_P(TPayerCheckTest, TheFirstMissingPayerFieldIsTheOnlyError) {
  WriteAppFile(QStringLiteral("settings.ini"), GetParam().Settings);

  EXPECT_FALSE(Commands.PressSingle(Invoice("faktura-papiernia.xml"), QString(), TMPPSettings{}));

  EXPECT_EQ(Log(), QStringList{MissingPayerError(GetParam().Message)});
  EXPECT_TRUE(Host.OpenedFiles.isEmpty());
  EXPECT_FALSE(AppFileExists(QStringLiteral("PLIKI_DO_BANKU/Pain001.xml")));
}

INSTANTIATE_TEST_SUITE_P(
    PayerFields, TPayerCheckTest,
    ::testing::Values(
        TPayerCase{"noSettingsFile", QByteArray(), QStringLiteral("Brak nazwy firmy")},
        TPayerCase{"noName", "[COMPANY]\nNIP=6772314552\nIBAN=PL79114020044000030020135538\nBIC=BREXPLPWXXX\n",
                   QStringLiteral("Brak nazwy firmy")},
        TPayerCase{"noIbanAndNoNip", "[COMPANY]\nName=Wrzos\nBIC=BREXPLPWXXX\n", QStringLiteral("Brak rachunku IBAN")},
        TPayerCase{"noBicAndNoNip", "[COMPANY]\nName=Wrzos\nIBAN=PL79114020044000030020135538\n",
                   QStringLiteral("Brak rachunku BIC")},
        TPayerCase{"noNip", "[COMPANY]\nName=Wrzos\nIBAN=PL79114020044000030020135538\nBIC=BREXPLPWXXX\nNIP=\n",
                   QStringLiteral("Brak identyfikatora NIP")}),
    [](const ::testing::TestParamInfo<TPayerCase> &info) { return std::string(info.param.Name); });

TEST_F(TSingleTransferTest, AnUnreadableInvoiceLogsTheReadersWholeMessage) {
  EXPECT_FALSE(Commands.PressSingle(Invoice("faktura-bez-rachunku.xml"), QString(), TMPPSettings{}));

  EXPECT_EQ(Log(),
            QStringList{QStringLiteral("Błąd: Plik: faktura-bez-rachunku.xml\r\nFaktura: K/12/2026\r\n"
                                       "Kontrahent: Kwiaciarnia Storczyk Anna Nowak\r\n"
                                       "Błąd: Nieprawidłowy numer rachunku: faktura nie podaje rachunku bankowego "
                                       "sprzedawcy (RachunekBankowy)\r\n") +
                        Separator() + QStringLiteral("\r\n")});
  EXPECT_TRUE(Host.OpenedFiles.isEmpty());
  EXPECT_FALSE(AppFileExists(QStringLiteral("PLIKI_DO_BANKU/Pain001.xml")));
}

TEST_F(TSingleTransferTest, APathOfBlanksIsTriedAndFailsInTheReader) {
  EXPECT_FALSE(Commands.PressSingle(QStringLiteral("   "), QString(), TMPPSettings{}));

  EXPECT_TRUE(Host.InformationBoxes.isEmpty());
  ASSERT_EQ(Host.LogEntries.size(), 1u);
  EXPECT_TRUE(Host.LogEntries[0].Text.startsWith(QStringLiteral("Błąd: Plik: ")))
      << Host.LogEntries[0].Text.toStdString();
}

TEST_F(TSingleTransferTest, SplitPaymentWithoutVATFailsAndKeepsTheEarlierMPPFile) {
  WriteAppFile(QStringLiteral("PLIKI_DO_BANKU/Pain001_MPP.xml"), "earlier");

  EXPECT_FALSE(Commands.PressSingle(Invoice("faktura-bez-vat.xml"), QString(), TMPPSettings{true, TMPPFormat::Ustrd}));

  EXPECT_EQ(Log(),
            QStringList{QStringLiteral("Błąd: Faktura SJ/3/2026 nie zawiera kwoty VAT (<=0) wymaganej dla MPP.")});
  EXPECT_EQ(ReadAppFile(QStringLiteral("PLIKI_DO_BANKU/Pain001_MPP.xml")), QByteArray("earlier"));
  EXPECT_TRUE(Host.OpenedFiles.isEmpty());
}

TEST_F(TSingleTransferTest, AnOutputDirectoryRemovedWhileTheProgramRunsIsCreatedAgain) {
  QDir(AppFile(QStringLiteral("PLIKI_DO_BANKU"))).removeRecursively();

  EXPECT_TRUE(Commands.PressSingle(Invoice("faktura-drukarnia.xml"), QString(), TMPPSettings{}));

  EXPECT_TRUE(IsValidPain001(AppFile(QStringLiteral("PLIKI_DO_BANKU/Pain001.xml"))));
  EXPECT_EQ(Host.OpenedFiles, QStringList{AppFile(QStringLiteral("PLIKI_DO_BANKU/Pain001.xml"))});
}

TEST_F(TSingleTransferTest, AnOutputDirectoryThatCannotBeMadeIsLoggedWithTheFileLayersMessage) {
  QDir(AppFile(QStringLiteral("PLIKI_DO_BANKU"))).removeRecursively();
  WriteAppFile(QStringLiteral("PLIKI_DO_BANKU"), "a file where the directory belongs");

  EXPECT_FALSE(Commands.PressSingle(Invoice("faktura-drukarnia.xml"), QString(), TMPPSettings{}));

  EXPECT_EQ(Log(), QStringList{QStringLiteral("Błąd: Unable to write to ") +
                               AppFile(QStringLiteral("PLIKI_DO_BANKU/Pain001.xml"))});
  EXPECT_TRUE(Host.OpenedFiles.isEmpty());
}

struct TAddressCase {
  const char *Name;
  QString AdresL1;
  QString AdresL2;
  QStringList StrtNm; // empty when the element is left out
  QStringList BldgNb;
  QStringList PstCd;
  QString TwnNm;
};

void PrintTo(const TAddressCase &c, std::ostream *os) { *os << c.Name; }

const QString Town50 = QStringLiteral("Wólka-Zabłocka-").repeated(4).left(50);
const QString Town80 = QStringLiteral("Wólka-Zabłocka-").repeated(6).left(80);
const QString Street80 = QStringLiteral("Aleja-Jana-Pawła-").repeated(5).left(80);

class TSingleAddressTest : public TCommandTest, public ::testing::WithParamInterface<TAddressCase> {};

TEST_P(TSingleAddressTest, TheSellersAddressIsCutToTheTransferFields) {
  const TAddressCase &c = GetParam();
  const TTempDir invoices;
  invoices.WriteBytes(QStringLiteral("faktura.xml"), InvoiceXml(QStringLiteral("Dostawca"), c.AdresL1, c.AdresL2));

  ASSERT_TRUE(Commands.PressSingle(invoices.File(QStringLiteral("faktura.xml")), QString(), TMPPSettings{}));

  const QString output = AppFile(QStringLiteral("PLIKI_DO_BANKU/Pain001.xml"));
  EXPECT_TRUE(IsValidPain001(output));
  const TPain001View file(output);
  EXPECT_EQ(file.TextsNamed(QStringLiteral("StrtNm")), c.StrtNm);
  EXPECT_EQ(file.TextsNamed(QStringLiteral("BldgNb")), c.BldgNb);
  EXPECT_EQ(file.TextsNamed(QStringLiteral("PstCd")), c.PstCd);
  EXPECT_EQ(file.TextsNamed(QStringLiteral("TwnNm")), QStringList{c.TwnNm});
  EXPECT_EQ(file.TextsNamed(QStringLiteral("Ctry")), QStringList{QStringLiteral("PL")});
}

INSTANTIATE_TEST_SUITE_P(Addresses, TSingleAddressTest,
                         ::testing::Values(TAddressCase{"streetAndTown",
                                                        QStringLiteral("ul. Lipowa 12/4"),
                                                        QStringLiteral("31-042 Kraków"),
                                                        {QStringLiteral("ul. Lipowa")},
                                                        {QStringLiteral("12/4")},
                                                        {QStringLiteral("31-042")},
                                                        QStringLiteral("Kraków")},
                                           TAddressCase{"noTown",
                                                        QStringLiteral("ul. Polna 3"),
                                                        QString(),
                                                        {QStringLiteral("ul. Polna")},
                                                        {QStringLiteral("3")},
                                                        {},
                                                        QStringLiteral("Brak miasta")},
                                           TAddressCase{"townOf50TravelsInTheStreet",
                                                        QStringLiteral("ul. Krótka 1"),
                                                        QStringLiteral("00-950 ") + Town50,
                                                        {Town50},
                                                        {QStringLiteral("1")},
                                                        {QStringLiteral("00-950")},
                                                        Town50.left(35)},
                                           TAddressCase{"townOf80IsCutTo70InTheStreet",
                                                        QStringLiteral("ul. Krótka 1"),
                                                        QStringLiteral("00-950 ") + Town80,
                                                        {Town80.left(70)},
                                                        {QStringLiteral("1")},
                                                        {QStringLiteral("00-950")},
                                                        Town80.left(35)},
                                           TAddressCase{"streetOf80IsCutTo70",
                                                        Street80 + QStringLiteral(" 7"),
                                                        QStringLiteral("00-950 Warszawa"),
                                                        {Street80.left(70)},
                                                        {QStringLiteral("7")},
                                                        {QStringLiteral("00-950")},
                                                        QStringLiteral("Warszawa")}),
                         [](const ::testing::TestParamInfo<TAddressCase> &info) {
                           return std::string(info.param.Name);
                         });

} // namespace
