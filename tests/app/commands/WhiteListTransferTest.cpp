#include "CommandTest.h"
#include "FlatFileFixture.h"
#include "journal/SqliteDatabase.h"
#include "whitelist/WhiteListStore.h"

namespace {

using namespace FlatFilePairs;

// The host's clock: the files are written, and so executed, on this day.
const QDate RunDay(2026, 3, 5);

QByteArray Invoice(const QString &number, const QString &nip, const QString &account, const QString &amount,
                   const QString &currency = QStringLiteral("PLN")) {
  return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                        "<Faktura>\n"
                        "  <Podmiot1>\n"
                        "    <DaneIdentyfikacyjne><NIP>%2</NIP><Nazwa>Dostawca</Nazwa></DaneIdentyfikacyjne>\n"
                        "    <Adres><KodKraju>PL</KodKraju><AdresL1>ul. Polna 1</AdresL1><AdresL2>00-001 "
                        "Warszawa</AdresL2></Adres>\n"
                        "  </Podmiot1>\n"
                        "  <Fa>\n"
                        "    <KodWaluty>%5</KodWaluty><P_1>2026-03-02</P_1><P_2>%1</P_2>\n"
                        "    <P_14_1>0.00</P_14_1><P_15>%4</P_15>\n"
                        "    <Platnosc><RachunekBankowy><NrRB>PL%3</NrRB></RachunekBankowy></Platnosc>\n"
                        "  </Fa>\n"
                        "</Faktura>\n")
      .arg(number, nip, account, amount, currency)
      .toUtf8();
}

class TWhiteListTransferTest : public TCommandTest {
protected:
  void LoadFlatFile(QDate day) {
    TNoProgress none;
    TWhiteListStore(AppDirectory.Paths().WhiteListDirectory())
        .Load(MakeStandardFlatFileJson(Files, day.toString(Qt::ISODate) + QStringLiteral(".json"), day), RunDay, none);
  }
  void AddInvoice(const QString &name, const QByteArray &xml) { Invoices.WriteBytes(name, xml); }
  // The lines after the success line and its separator.
  QStringList LinesAfterSuccess() const { return Log().mid(1); }

  TTempDir Files;
  TTempDir Invoices;
};

TEST_F(TWhiteListTransferTest, AFileWhosePayeesAreAllListedGetsOneOrdinaryLine) {
  LoadFlatFile(RunDay);
  AddInvoice(QStringLiteral("a.xml"),
             Invoice(QStringLiteral("FV/1"), ActiveNip, ActiveAccount, QStringLiteral("20000.00")));
  AddInvoice(QStringLiteral("b.xml"),
             Invoice(QStringLiteral("FV/2"), ExemptNip, ExemptAccount, QStringLiteral("100.00")));
  AddInvoice(QStringLiteral("c.xml"),
             Invoice(QStringLiteral("FV/3"), VirtualNip, VirtualAccount, QStringLiteral("50.00")));

  const TTransferResult result = Commands.PressBatch(Invoices.Path(), TMPPSettings{});

  EXPECT_EQ(LinesAfterSuccess(), QStringList{QStringLiteral("Biała lista podatników VAT (dane z dnia 05.03.2026): "
                                                            "wszystkie sprawdzone rachunki figurują w wykazie "
                                                            "(sprawdzono: 3).")});
  EXPECT_EQ(result.Warnings, 0);
  EXPECT_EQ(result.WhiteList,
            TWhiteListResults({TWhiteListStatus::Active, TWhiteListStatus::Exempt, TWhiteListStatus::Mask}));
}

struct TNotListedCase {
  const char *Name;
  QString Amount;
  QString Warning;
};

void PrintTo(const TNotListedCase &c, std::ostream *os) { *os << c.Name; }

class TNotListedTest : public TWhiteListTransferTest, public ::testing::WithParamInterface<TNotListedCase> {};

TEST_P(TNotListedTest, IsAWarningThatAboveTheLimitSaysWhatItCosts) {
  LoadFlatFile(RunDay);
  AddInvoice(QStringLiteral("fv.xml"), Invoice(QStringLiteral("FV/9"), ActiveNip, ExemptAccount, GetParam().Amount));

  const TTransferResult result =
      Commands.PressSingle(Invoices.File(QStringLiteral("fv.xml")), QString(), TMPPSettings{});

  ASSERT_TRUE(result.Written);
  EXPECT_EQ(Warnings(), QStringList{GetParam().Warning});
  EXPECT_EQ(LinesAfterSuccess(), QStringList{GetParam().Warning});
  EXPECT_EQ(result.Warnings, 1);
  EXPECT_EQ(result.WhiteList, TWhiteListResults{TWhiteListStatus::NotFound});
  // The journal keeps the file's count with the white list's warnings in it.
  TSqliteDatabase journal(AppFile(QStringLiteral("historia.sqlite")), false, 0);
  TSqliteStatement count(journal, "SELECT warning_count FROM transfer_file");
  ASSERT_TRUE(count.Next());
  EXPECT_EQ(count.Integer(0), 1);
}

const QString NotListed = QStringLiteral("Uwaga: Przelew za fakturę FV/9 dla Dostawca: rachunek "
                                         "27114020040000300201355387 odbiorcy o NIP 5260250995 nie figuruje w wykazie "
                                         "podatników VAT (biała lista, dane z dnia 05.03.2026).");

INSTANTIATE_TEST_SUITE_P(
    Amounts, TNotListedTest,
    ::testing::Values(TNotListedCase{"atTheLimit", QStringLiteral("15000.00"), NotListed},
                      TNotListedCase{"aboveTheLimit", QStringLiteral("15000.01"),
                                     NotListed + QStringLiteral(" Kwota 15000.01 PLN przekracza 15 000 zł: bez "
                                                                "zawiadomienia urzędu skarbowego na formularzu ZAW-NR "
                                                                "w ciągu 7 dni od zlecenia przelewu wydatku nie można "
                                                                "zaliczyć do kosztów uzyskania przychodu, a płacący "
                                                                "odpowiada solidarnie z odbiorcą za jego zaległy "
                                                                "VAT.")}),
    [](const auto &info) { return std::string(info.param.Name); });

TEST_F(TWhiteListTransferTest, WithoutTheDaysFileTheNewestOneIsUsedAndNamed) {
  LoadFlatFile(RunDay.addDays(-2));
  LoadFlatFile(RunDay.addDays(-1));
  AddInvoice(QStringLiteral("a.xml"),
             Invoice(QStringLiteral("FV/1"), ActiveNip, ActiveAccount, QStringLiteral("10.00")));

  const TTransferResult result = Commands.PressBatch(Invoices.Path(), TMPPSettings{});

  EXPECT_EQ(LinesAfterSuccess(),
            QStringList({QStringLiteral("Uwaga: Brak pliku płaskiego białej listy z dnia 05.03.2026: rachunki "
                                        "sprawdzono według najnowszego wczytanego, z dnia 04.03.2026."),
                         QStringLiteral("Biała lista podatników VAT (dane z dnia 04.03.2026): wszystkie sprawdzone "
                                        "rachunki figurują w wykazie (sprawdzono: 1).")}));
  EXPECT_EQ(result.Warnings, 1);
}

TEST_F(TWhiteListTransferTest, SkipsWhatTheListCannotSayAnythingAbout) {
  LoadFlatFile(RunDay);
  // A NIP with a wrong check digit, which the file's own checks report too.
  AddInvoice(QStringLiteral("a.xml"),
             Invoice(QStringLiteral("FV/1"), QStringLiteral("5260250994"), ActiveAccount, QStringLiteral("10.00")));
  AddInvoice(QStringLiteral("b.xml"),
             Invoice(QStringLiteral("FV/2"), ActiveNip, ActiveAccount, QStringLiteral("10.00")));

  const TTransferResult result = Commands.PressBatch(Invoices.Path(), TMPPSettings{});

  EXPECT_EQ(Warnings(),
            QStringList{QStringLiteral("Uwaga: Przelew za fakturę FV/1 dla Dostawca: NIP odbiorcy 5260250994 "
                                       "ma błędną cyfrę kontrolną.")});
  EXPECT_EQ(LinesAfterSuccess().mid(1),
            QStringList({QStringLiteral("Przelew za fakturę FV/1 dla Dostawca: rachunku nie sprawdzono z białą listą, "
                                        "bo NIP odbiorcy albo numer rachunku ma błędną postać."),
                         QStringLiteral("Biała lista podatników VAT (dane z dnia 05.03.2026): wszystkie sprawdzone "
                                        "rachunki figurują w wykazie (sprawdzono: 1).")}));
  EXPECT_EQ(result.WhiteList, TWhiteListResults({std::nullopt, TWhiteListStatus::Active}));
}

TEST_F(TWhiteListTransferTest, AnInvoiceInAnotherCurrencyIsNotChecked) {
  LoadFlatFile(RunDay);
  AddInvoice(QStringLiteral("fv.xml"), Invoice(QStringLiteral("FV/1"), ActiveNip, ExemptAccount,
                                               QStringLiteral("20000.00"), QStringLiteral("EUR")));

  const TTransferResult result =
      Commands.PressSingle(Invoices.File(QStringLiteral("fv.xml")), QString(), TMPPSettings{});

  EXPECT_TRUE(LinesAfterSuccess().isEmpty());
  EXPECT_EQ(result.WhiteList, TWhiteListResults{std::nullopt});
}

} // namespace
