#include "journal/HistoryText.h"

#include <gtest/gtest.h>

namespace {

THistoryEntry Entry(const QString &payee, const QString &invoiceNumber, TAmount amount) {
  THistoryEntry entry;
  entry.WrittenAt = QDateTime(QDate(2026, 3, 5), QTime(14, 5, 9));
  entry.PayeeName = payee;
  entry.PayeeNIP = QStringLiteral("1234563218");
  entry.InvoiceNumber = invoiceNumber;
  entry.Amount = amount;
  entry.Currency = QStringLiteral("PLN");
  entry.ArchivePath = QStringLiteral("PLIKI_DO_BANKU/archiwum/2026-03-05_140509_0001_Pain001.xml");
  entry.FileId = 7;
  entry.PayeeIBAN = QStringLiteral("PL61109010140000071219812874");
  entry.Title = QStringLiteral("Zapłata za fakturę nr: ") + invoiceNumber;
  return entry;
}

THistoryEntry SplitPayment(THistoryEntry entry) {
  entry.SplitPayment = true;
  entry.VATAmount = TAmount::FromUnits(230000);
  entry.Title = QStringLiteral("/VAT/23,00/IDC/1234563218/INV/FV/3/TXT/Zapłata; część");
  entry.WhiteListResult = QStringLiteral("czynny podatnik VAT");
  return entry;
}

THistoryEntry InFormat(THistoryEntry entry, const QString &format) {
  entry.SplitPaymentFormat = format;
  entry.VATAmount = TAmount::FromUnits(12345000);
  return entry;
}

THistoryEntry Withdrawn(THistoryEntry entry) {
  entry.WithdrawnAt = QDateTime(QDate(2026, 3, 6), QTime(9, 30, 0));
  return entry;
}

TEST(HistoryTextTest, TheCsvHeaderStartsWithTheByteOrderMark) {
  EXPECT_EQ(HistoryCsvHeader(),
            QByteArray("\xEF\xBB\xBF") +
                QStringLiteral("Data;Odbiorca;NIP;Numer faktury;Numer KSeF;Kwota;Waluta;Plik;Nr pliku;Wycofany;"
                               "Rachunek;Tytuł;MPP;Kwota VAT;Biała lista\r\n")
                    .toUtf8());
}

struct TCsvCase {
  const char *Name;
  THistoryEntry Entry;
  QString Line;
};

void PrintTo(const TCsvCase &c, std::ostream *os) { *os << c.Name; }

// From the currency to the account, for a file not withdrawn.
const QString Archive =
    QStringLiteral(";PLN;PLIKI_DO_BANKU/archiwum/2026-03-05_140509_0001_Pain001.xml;7;;PL61109010140000071219812874;");
// From the currency on, for a payment without split payment and white-list check.
QString Tail(const QString &invoiceNumber) {
  return Archive + QStringLiteral("Zapłata za fakturę nr: ") + invoiceNumber + QStringLiteral(";nie;;\r\n");
}

const TCsvCase CsvCases[] = {
    {"plain", Entry(QStringLiteral("Łódź S.A."), QStringLiteral("FV/1"), TAmount::FromUnits(12345000)),
     QStringLiteral("2026-03-05 14:05:09;Łódź S.A.;1234563218;FV/1;;1234,50") + Tail(QStringLiteral("FV/1"))},
    {"semicolonAndQuote",
     Entry(QStringLiteral("Firma \"Iskra\"; sp. j."), QStringLiteral("A;B"), TAmount::FromUnits(100)),
     QStringLiteral("2026-03-05 14:05:09;\"Firma \"\"Iskra\"\"; sp. j.\";1234563218;\"A;B\";;0,01") + Archive +
         QStringLiteral("\"Zapłata za fakturę nr: A;B\";nie;;\r\n")},
    {"lineBreak", Entry(QStringLiteral("Dwie\nlinie"), QStringLiteral("FV/2"), TAmount::FromUnits(-50000)),
     QStringLiteral("2026-03-05 14:05:09;\"Dwie\nlinie\";1234563218;FV/2;;-5,00") + Tail(QStringLiteral("FV/2"))},
    {"formulaIsNeutralised",
     Entry(QStringLiteral("=HYPERLINK(\"x\")"), QStringLiteral("-1"), TAmount::FromUnits(10000)),
     QStringLiteral("2026-03-05 14:05:09;\"'=HYPERLINK(\"\"x\"\")\";1234563218;'-1;;1,00") +
         Tail(QStringLiteral("-1"))},
    {"splitPayment", SplitPayment(Entry(QStringLiteral("Iskra"), QStringLiteral("FV/3"), TAmount::FromUnits(12300000))),
     QStringLiteral("2026-03-05 14:05:09;Iskra;1234563218;FV/3;;1230,00") + Archive +
         QStringLiteral("\"/VAT/23,00/IDC/1234563218/INV/FV/3/TXT/Zapłata; część\";tak;23,00;czynny podatnik VAT\r\n")},
    // A file recorded with its format names it; a VAT amount has no grouping, like the amount.
    {"splitPaymentFormat",
     InFormat(SplitPayment(Entry(QStringLiteral("Iskra"), QStringLiteral("FV/3"), TAmount::FromUnits(12300000))),
              QStringLiteral("Standard")),
     QStringLiteral("2026-03-05 14:05:09;Iskra;1234563218;FV/3;;1230,00") + Archive +
         QStringLiteral("\"/VAT/23,00/IDC/1234563218/INV/FV/3/TXT/Zapłata; część\";Standard;1234,50;czynny podatnik "
                        "VAT\r\n")},
    {"withdrawnFile", Withdrawn(Entry(QStringLiteral("Próba"), QStringLiteral("FV/3"), TAmount::FromUnits(10000))),
     QStringLiteral("2026-03-05 14:05:09;Próba;1234563218;FV/3;;1,00;PLN;"
                    "PLIKI_DO_BANKU/archiwum/2026-03-05_140509_0001_Pain001.xml;7;2026-03-06 09:30:00;"
                    "PL61109010140000071219812874;Zapłata za fakturę nr: FV/3;nie;;\r\n")},
};

class THistoryCsvLineTest : public ::testing::TestWithParam<TCsvCase> {};

TEST_P(THistoryCsvLineTest, WritesOneLineWithSemicolons) {
  EXPECT_EQ(QString::fromUtf8(HistoryCsvLine(GetParam().Entry)), GetParam().Line);
}

INSTANTIATE_TEST_SUITE_P(Entries, THistoryCsvLineTest, ::testing::ValuesIn(CsvCases),
                         [](const auto &info) { return std::string(info.param.Name); });

TEST(HistoryTextTest, TheTableNamesTheFileByNumberAndTheDayItWasWithdrawn) {
  const THistoryEntry entry = Entry(QStringLiteral("Próba"), QStringLiteral("FV/3"), TAmount::FromUnits(10000));

  EXPECT_TRUE(HistoryTableHeader().endsWith(QStringLiteral(" Kwota Wal.    Nr Wycofany   Plik")));
  EXPECT_TRUE(HistoryTableLine(entry).endsWith(
      QStringLiteral(" 1,00 PLN      7            PLIKI_DO_BANKU/archiwum/2026-03-05_140509_0001_Pain001.xml")));
  EXPECT_TRUE(HistoryTableLine(Withdrawn(entry))
                  .endsWith(QStringLiteral(" 1,00 PLN      7 2026-03-06 PLIKI_DO_BANKU/archiwum/"
                                           "2026-03-05_140509_0001_Pain001.xml")));
  EXPECT_EQ(HistoryTableLine(entry).indexOf(QStringLiteral("PLIKI")),
            HistoryTableHeader().indexOf(QStringLiteral("Plik")));
}

TEST(HistoryTextTest, AWithdrawnFilePaidNothingAndIsLeftOutOfTheSums) {
  QMap<QString, TAmount> sums;
  AddToHistorySums(sums, Entry(QStringLiteral("A"), QStringLiteral("FV/1"), TAmount::FromUnits(10000)));
  AddToHistorySums(sums, Withdrawn(Entry(QStringLiteral("B"), QStringLiteral("FV/2"), TAmount::FromUnits(20000))));

  EXPECT_EQ(HistorySumsText(sums), QStringLiteral("Razem: 1,00 PLN"));
}

TEST(HistoryTextTest, SumsAreGivenPerCurrency) {
  EXPECT_EQ(HistorySumsText({}), QStringLiteral("Razem: 0,00"));
  EXPECT_EQ(HistorySumsText({{QStringLiteral("PLN"), TAmount::FromUnits(12345000)},
                             {QStringLiteral("EUR"), TAmount::FromUnits(100000)}}),
            QStringLiteral("Razem: 10,00 EUR; 1 234,50 PLN"));
}

} // namespace
