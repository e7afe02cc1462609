#include "CommandTest.h"
#include "Pain001View.h"

#include <QDir>
#include <QThread>

namespace {

class TBatchTransferTest : public TCommandTest {
protected:
  void AddInvoice(const QString &name, const QByteArray &bytes) const { Invoices.WriteBytes(name, bytes); }
  void AddFixture(const QString &name, const QString &fixture) const { AddInvoice(name, CommandFixture(fixture)); }
  QString BatchFile() const { return AppFile(QStringLiteral("PLIKI_DO_BANKU/Pain001Paczka.xml")); }

  TTempDir Invoices;
};

const QString PapierniaText =
    QStringLiteral("Zapłata za fakturę nr: FV/2026/03/118;  nr KSeF: 8943001230-20260302-4F1A2B3C4D5E-71");

TEST_F(TBatchTransferTest, OneTransactionPerInvoiceDirectlyInsideInFileNameOrder) {
  AddFixture(QStringLiteral("c.xml"), QStringLiteral("faktura-papiernia.xml"));
  AddFixture(QStringLiteral("a.XML"), QStringLiteral("faktura-papiernia.xml"));
  AddFixture(QStringLiteral("b.xml"), QStringLiteral("faktura-drukarnia.xml"));
  // Neither of these is an invoice; reading either would end the batch.
  AddInvoice(QStringLiteral("a.xml.old"), "<nie-faktura/>");
  QDir(Invoices.Path()).mkdir(QStringLiteral("archiwum"));
  AddInvoice(QStringLiteral("archiwum/stara.xml"), "<nie-faktura/>");

  ASSERT_TRUE(Commands.PressBatch(Invoices.Path(), TMPPSettings{}));

  // The file pays the paper mill's invoice twice, and says so.
  EXPECT_EQ(Log(), QStringList({QStringLiteral("Poprawnie wygenerowano plik [") + BatchFile() +
                                    QStringLiteral("] dla potrzeb przelewu, dla paczki faktur ...|separator"),
                                QStringLiteral("Uwaga: Przelew za fakturę FV/2026/03/118 dla Papiernia Zielony Dąb sp. "
                                               "z o.o.: ta sama faktura (ten sam NIP odbiorcy i numer) jest już w "
                                               "pliku jako przelew nr 1: bank zapłaci ją dwa razy."),
                                WhiteListNotChecked()}));
  EXPECT_EQ(Host.OpenedFiles, QStringList{BatchFile()});
  EXPECT_TRUE(IsValidPain001(BatchFile()));
  const TPain001View file(BatchFile());
  EXPECT_EQ(file.TextsNamed(QStringLiteral("MsgId")), QStringList{QStringLiteral("MSG_20260305140509")});
  EXPECT_EQ(file.TextsNamed(QStringLiteral("NbOfTxs")), QStringList({QStringLiteral("3"), QStringLiteral("3")}));
  EXPECT_EQ(file.TextsNamed(QStringLiteral("CtrlSum")),
            QStringList({QStringLiteral("2676.00"), QStringLiteral("2676.00")}));
  EXPECT_EQ(
      file.TextsNamed(QStringLiteral("EndToEndId")),
      QStringList({QStringLiteral("FV/2026/03/118"), QStringLiteral("D/45/2026"), QStringLiteral("FV/2026/03/118")}));
  EXPECT_EQ(file.TextsNamed(QStringLiteral("InstdAmt")),
            QStringList({QStringLiteral("1230.00"), QStringLiteral("216.00"), QStringLiteral("1230.00")}));
  // nrKsef comes from each file's SystemInfo; the printer's invoice has none.
  EXPECT_EQ(
      file.TextsNamed(QStringLiteral("Ustrd")),
      QStringList({PapierniaText, QStringLiteral("Zapłata za fakturę nr: D/45/2026;  nr KSeF: "), PapierniaText}));
  EXPECT_EQ(file.TextsNamed(QStringLiteral("StrtNm")),
            QStringList({QStringLiteral("ul. Lipowa"), QStringLiteral("Rynek"), QStringLiteral("ul. Lipowa")}));
  EXPECT_EQ(file.TextsNamed(QStringLiteral("BldgNb")),
            QStringList({QStringLiteral("12/4"), QStringLiteral("5"), QStringLiteral("12/4")}));
  EXPECT_EQ(file.TextsNamed(QStringLiteral("PstCd")),
            QStringList({QStringLiteral("31-042"), QStringLiteral("58-500"), QStringLiteral("31-042")}));
  EXPECT_EQ(file.TextsNamed(QStringLiteral("TwnNm")),
            QStringList({QStringLiteral("Kraków"), QStringLiteral("Jelenia Góra"), QStringLiteral("Kraków")}));
}

TEST_F(TBatchTransferTest, WithSplitPaymentWritesTheMPPFile) {
  AddFixture(QStringLiteral("a.xml"), QStringLiteral("faktura-papiernia.xml"));
  AddFixture(QStringLiteral("b.xml"), QStringLiteral("faktura-drukarnia.xml"));

  ASSERT_TRUE(Commands.PressBatch(Invoices.Path(), TMPPSettings{true, TMPPFormat::Both}));

  const QString output = AppFile(QStringLiteral("PLIKI_DO_BANKU/Pain001Paczka_MPP.xml"));
  EXPECT_EQ(Log(),
            QStringList({QStringLiteral("Poprawnie wygenerowano plik [") + output +
                             QStringLiteral("] dla potrzeb przelewu, dla paczki faktur (mechanizm MPP) ...|separator"),
                         WhiteListNotChecked()}));
  EXPECT_EQ(Host.OpenedFiles, QStringList{output});
  EXPECT_FALSE(QFile::exists(BatchFile()));
  EXPECT_TRUE(IsValidPain001(output));
  EXPECT_EQ(TPain001View(output).CountNamed(QStringLiteral("CdtTrfTxInf")), 2);
}

TEST_F(TBatchTransferTest, TheBatchLeavesTheAddressWholeForTheWriterToCut) {
  const QString town50 = QStringLiteral("Wólka-Zabłocka-").repeated(4).left(50);
  AddInvoice(QStringLiteral("a.xml"), InvoiceXml(QStringLiteral("Dostawca A"), QStringLiteral("ul. Krótka 1"),
                                                 QStringLiteral("00-950 ") + town50));
  AddInvoice(QStringLiteral("b.xml"),
             InvoiceXml(QStringLiteral("Dostawca B"), QStringLiteral("ul. Polna 3"), QString()));

  ASSERT_TRUE(Commands.PressBatch(Invoices.Path(), TMPPSettings{}));

  EXPECT_TRUE(IsValidPain001(BatchFile()));
  const TPain001View file(BatchFile());
  // Unlike the single invoice, an over-long town does not move into the street.
  EXPECT_EQ(file.TextsNamed(QStringLiteral("StrtNm")),
            QStringList({QStringLiteral("ul. Krótka"), QStringLiteral("ul. Polna")}));
  EXPECT_EQ(file.TextsNamed(QStringLiteral("TwnNm")), QStringList({town50.left(35), QStringLiteral("Brak miasta")}));
}

class TEmptyBatchTest : public TBatchTransferTest, public ::testing::WithParamInterface<bool> {};

// No bank takes a file without a transfer: nothing is written, and the earlier file, deleted
// only once the invoices are read, stays as it was.
TEST_P(TEmptyBatchTest, ADirectoryWithoutInvoicesFailsWithoutAnyFile) {
  WriteAppFile(QStringLiteral("PLIKI_DO_BANKU/Pain001Paczka.xml"), "earlier");
  if (GetParam()) {
    QDir(Invoices.Path()).mkdir(QStringLiteral("faktury"));
    AddFixture(QStringLiteral("faktury/a.xml"), QStringLiteral("faktura-papiernia.xml"));
  }

  EXPECT_FALSE(Commands.PressBatch(Invoices.Path(), TMPPSettings{}));

  EXPECT_EQ(
      Log(),
      QStringList{QStringLiteral("Błąd: Katalog %1 nie zawiera żadnego pliku faktury (*.xml)").arg(Invoices.Path())});
  EXPECT_EQ(ReadAppFile(QStringLiteral("PLIKI_DO_BANKU/Pain001Paczka.xml")), QByteArray("earlier"));
  EXPECT_FALSE(AppFileExists(QStringLiteral("PLIKI_DO_BANKU/Pain001Paczka_MPP.xml")));
  EXPECT_TRUE(Host.OpenedFiles.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(EmptyOrOnlyASubdirectory, TEmptyBatchTest, ::testing::Bool());

TEST_F(TBatchTransferTest, TheFirstBadInvoiceEndsTheBatchWithoutAnyFile) {
  WriteAppFile(QStringLiteral("PLIKI_DO_BANKU/Pain001Paczka_MPP.xml"), "earlier");
  AddFixture(QStringLiteral("a.xml"), QStringLiteral("faktura-papiernia.xml"));
  AddFixture(QStringLiteral("b.xml"), QStringLiteral("faktura-bez-rachunku.xml"));
  AddInvoice(QStringLiteral("c.xml"), "<nie-zamkniety");

  EXPECT_FALSE(Commands.PressBatch(Invoices.Path(), TMPPSettings{true, TMPPFormat::Ustrd}));

  // The message names the second file: the third was never read.
  EXPECT_EQ(Log(),
            QStringList{QStringLiteral("Błąd: Plik: b.xml\r\nFaktura: K/12/2026\r\n"
                                       "Kontrahent: Kwiaciarnia Storczyk Anna Nowak\r\n"
                                       "Błąd: Nieprawidłowy numer rachunku: faktura nie podaje rachunku bankowego "
                                       "sprzedawcy (RachunekBankowy)\r\n") +
                        Separator() + QStringLiteral("\r\n")});
  EXPECT_EQ(ReadAppFile(QStringLiteral("PLIKI_DO_BANKU/Pain001Paczka_MPP.xml")), QByteArray("earlier"));
  EXPECT_FALSE(QFile::exists(BatchFile()));
  EXPECT_TRUE(Host.OpenedFiles.isEmpty());
}

// The invoice of InvoiceXml numbered `number`: its own seller, number and amount.
QByteArray NumberedInvoice(int number) {
  QByteArray xml = InvoiceXml(QStringLiteral("Dostawca %1").arg(number), QStringLiteral("ul. Polna %1").arg(number),
                              QStringLiteral("00-950 Warszawa"), QStringLiteral("FV/%1").arg(number));
  return xml.replace("<P_15>123.00</P_15>", QStringLiteral("<P_15>%1.00</P_15>").arg(100 + number).toUtf8());
}

QString NumberedFile(int number) { return QStringLiteral("faktura-%1.xml").arg(number, 3, 10, QLatin1Char('0')); }

// The invoices are read on several threads: a later file may fail before an earlier one does.
// File 3 is large and fails only once it is read whole; file 7 fails at its first bytes.
TEST_F(TBatchTransferTest, OfSeveralBadInvoicesTheFirstInFileOrderIsReported) {
  WriteAppFile(QStringLiteral("PLIKI_DO_BANKU/Pain001Paczka.xml"), "earlier");
  for (int number = 1; number <= 20; ++number)
    AddInvoice(NumberedFile(number), NumberedInvoice(number));
  QByteArray slowWithoutAccount = NumberedInvoice(3);
  slowWithoutAccount.replace("<NrRB>PL32102028922000000102034567</NrRB>", "");
  slowWithoutAccount.replace("</Faktura>",
                             QByteArray("<Pozycja>kolejna pozycja</Pozycja>\n").repeated(100'000) + "</Faktura>");
  AddInvoice(NumberedFile(3), slowWithoutAccount);
  AddInvoice(NumberedFile(7), "<nie-zamkniety");

  EXPECT_FALSE(Commands.PressBatch(Invoices.Path(), TMPPSettings{}));

  EXPECT_EQ(Log(),
            QStringList{QStringLiteral("Błąd: Plik: faktura-003.xml\r\nFaktura: FV/3\r\nKontrahent: Dostawca 3\r\n"
                                       "Błąd: Nieprawidłowy numer rachunku: faktura nie podaje rachunku bankowego "
                                       "sprzedawcy (RachunekBankowy)\r\n") +
                        Separator() + QStringLiteral("\r\n")});
  EXPECT_EQ(ReadAppFile(QStringLiteral("PLIKI_DO_BANKU/Pain001Paczka.xml")), QByteArray("earlier"));
  EXPECT_TRUE(Host.OpenedFiles.isEmpty());
}

// More invoices than threads: the transfers and their warnings keep the order of the files.
TEST_F(TBatchTransferTest, AManyInvoiceBatchKeepsTheFileOrder) {
  const int count = 3 * QThread::idealThreadCount() + 5;
  QStringList numbers;
  QStringList amounts;
  QStringList buildings;
  QStringList warnings;
  for (int number = 1; number <= count; ++number) {
    QByteArray invoice = NumberedInvoice(number);
    // Every fifth invoice asks for split payment, which this batch does not use.
    if (number % 5 == 0) {
      invoice.replace("<P_15>", "<Adnotacje><P_18A>1</P_18A></Adnotacje><P_15>");
      warnings.append(QStringLiteral("Uwaga: Przelew za fakturę FV/%1 dla Dostawca %1: faktura ma adnotację „mechanizm "
                                     "podzielonej płatności” (P_18A), a przelew jest bez MPP: taką fakturę trzeba "
                                     "zapłacić w mechanizmie podzielonej płatności.")
                          .arg(number));
    }
    AddInvoice(NumberedFile(number), invoice);
    numbers.append(QStringLiteral("FV/%1").arg(number));
    amounts.append(QStringLiteral("%1.00").arg(100 + number));
    buildings.append(QString::number(number));
  }

  ASSERT_TRUE(Commands.PressBatch(Invoices.Path(), TMPPSettings{}));

  EXPECT_EQ(Warnings(), warnings);
  EXPECT_TRUE(IsValidPain001(BatchFile()));
  const TPain001View file(BatchFile());
  EXPECT_EQ(file.TextsNamed(QStringLiteral("EndToEndId")), numbers);
  EXPECT_EQ(file.TextsNamed(QStringLiteral("InstdAmt")), amounts);
  EXPECT_EQ(file.TextsNamed(QStringLiteral("BldgNb")), buildings);
}

struct TFileNameCase {
  const char *Name;
  const char *FileName;
  const char *KsefNumber;
};

void PrintTo(const TFileNameCase &c, std::ostream *os) { *os << c.Name; }

class TKsefNumberInTheTitleTest : public TBatchTransferTest, public ::testing::WithParamInterface<TFileNameCase> {};

// The paper mill's SystemInfo holds no valid KSeF number (its check sum is wrong); a KSeF
// download is named by its number.
TEST_P(TKsefNumberInTheTitleTest, ComesFromTheFileNameWhereSystemInfoHoldsNone) {
  AddFixture(QString::fromUtf8(GetParam().FileName), QStringLiteral("faktura-papiernia.xml"));

  ASSERT_TRUE(Commands.PressBatch(Invoices.Path(), TMPPSettings{}));

  EXPECT_EQ(TPain001View(BatchFile()).TextsNamed(QStringLiteral("Ustrd")),
            QStringList{QStringLiteral("Zapłata za fakturę nr: FV/2026/03/118;  nr KSeF: ") +
                        QString::fromUtf8(GetParam().KsefNumber)});
}

INSTANTIATE_TEST_SUITE_P(Cases, TKsefNumberInTheTitleTest,
                         ::testing::Values(TFileNameCase{"rightCheckSum", "8943001230-20260302-4F1A2B3C4D5E-48.xml",
                                                         "8943001230-20260302-4F1A2B3C4D5E-48"},
                                           TFileNameCase{"wrongCheckSum", "8943001230-20260302-4F1A2B3C4D5E-49.xml",
                                                         "8943001230-20260302-4F1A2B3C4D5E-71"}),
                         [](const ::testing::TestParamInfo<TFileNameCase> &info) {
                           return std::string(info.param.Name);
                         });

TEST_F(TBatchTransferTest, AnInvoiceInAnotherCurrencyFailsTheBatch) {
  QByteArray euro = InvoiceXml(QStringLiteral("Dostawca B"), QStringLiteral("ul. Polna 3"),
                               QStringLiteral("00-950 Warszawa"), QStringLiteral("FV/2"));
  euro.replace("<KodWaluty>PLN</KodWaluty>", "<KodWaluty>EUR</KodWaluty>");
  AddFixture(QStringLiteral("a.xml"), QStringLiteral("faktura-papiernia.xml"));
  AddInvoice(QStringLiteral("b.xml"), euro);
  AddInvoice(QStringLiteral("c.xml"), "<nie-zamkniety");

  EXPECT_FALSE(Commands.PressBatch(Invoices.Path(), TMPPSettings{}));

  // The batch pays in złoty only: the euro invoice would have been paid as as many złoty.
  EXPECT_EQ(Log(), QStringList{QStringLiteral("Błąd: Plik: b.xml\r\nFaktura: FV/2\r\nKontrahent: Dostawca B\r\n"
                                              "Błąd: Faktura w walucie EUR: przelew zbiorczy obejmuje tylko faktury "
                                              "w PLN\r\n") +
                               Separator() + QStringLiteral("\r\n")});
  EXPECT_FALSE(QFile::exists(BatchFile()));
  EXPECT_TRUE(Host.OpenedFiles.isEmpty());
}

TEST_F(TBatchTransferTest, AMissingDirectoryIsLoggedAndTheEarlierFileKept) {
  WriteAppFile(QStringLiteral("PLIKI_DO_BANKU/Pain001Paczka.xml"), "earlier");
  const QString missing = Invoices.File(QStringLiteral("brak"));

  EXPECT_FALSE(Commands.PressBatch(missing, TMPPSettings{}));

  EXPECT_EQ(Log(), QStringList{QStringLiteral("Błąd: Katalog %1 nie istnieje").arg(missing)});
  EXPECT_EQ(ReadAppFile(QStringLiteral("PLIKI_DO_BANKU/Pain001Paczka.xml")), QByteArray("earlier"));
  EXPECT_TRUE(Host.OpenedFiles.isEmpty());
}

TEST_F(TBatchTransferTest, ADirectoryFieldOfBlanksRunsAndFails) {
  EXPECT_FALSE(Commands.PressBatch(QStringLiteral("  "), TMPPSettings{}));

  EXPECT_TRUE(Host.InformationBoxes.isEmpty());
  EXPECT_EQ(Log(), QStringList{QStringLiteral("Błąd: Nieprawidłowa ścieżka katalogu z plikami XML: \"  \"")});
}

} // namespace
