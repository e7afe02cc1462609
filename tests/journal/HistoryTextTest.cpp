#include "journal/HistoryText.h"

#include <gtest/gtest.h>

namespace {

THistoryEntry Entry(const QString &payee, const QString &invoiceNumber, TAmount amount) {
  return THistoryEntry{QDateTime(QDate(2026, 3, 5), QTime(14, 5, 9)),
                       payee,
                       QStringLiteral("1234563218"),
                       invoiceNumber,
                       QString(),
                       amount,
                       QStringLiteral("PLN"),
                       QStringLiteral("PLIKI_DO_BANKU/archiwum/2026-03-05_140509_0001_Pain001.xml"),
                       7,
                       std::nullopt};
}

THistoryEntry Withdrawn(THistoryEntry entry) {
  entry.WithdrawnAt = QDateTime(QDate(2026, 3, 6), QTime(9, 30, 0));
  return entry;
}

TEST(HistoryTextTest, TheCsvHeaderStartsWithTheByteOrderMark) {
  EXPECT_EQ(HistoryCsvHeader(),
            QByteArray("\xEF\xBB\xBF") +
                "Data;Odbiorca;NIP;Numer faktury;Numer KSeF;Kwota;Waluta;Plik;Nr pliku;Wycofany\r\n");
}

struct TCsvCase {
  const char *Name;
  THistoryEntry Entry;
  QString Line;
};

void PrintTo(const TCsvCase &c, std::ostream *os) { *os << c.Name; }

const QString Tail = QStringLiteral(";PLN;PLIKI_DO_BANKU/archiwum/2026-03-05_140509_0001_Pain001.xml;7;\r\n");

const TCsvCase CsvCases[] = {
    {"plain", Entry(QStringLiteral("Łódź S.A."), QStringLiteral("FV/1"), TAmount::FromUnits(12345000)),
     QStringLiteral("2026-03-05 14:05:09;Łódź S.A.;1234563218;FV/1;;1234,50") + Tail},
    {"semicolonAndQuote",
     Entry(QStringLiteral("Firma \"Iskra\"; sp. j."), QStringLiteral("A;B"), TAmount::FromUnits(100)),
     QStringLiteral("2026-03-05 14:05:09;\"Firma \"\"Iskra\"\"; sp. j.\";1234563218;\"A;B\";;0,01") + Tail},
    {"lineBreak", Entry(QStringLiteral("Dwie\nlinie"), QStringLiteral("FV/2"), TAmount::FromUnits(-50000)),
     QStringLiteral("2026-03-05 14:05:09;\"Dwie\nlinie\";1234563218;FV/2;;-5,00") + Tail},
    {"formulaIsNeutralised",
     Entry(QStringLiteral("=HYPERLINK(\"x\")"), QStringLiteral("-1"), TAmount::FromUnits(10000)),
     QStringLiteral("2026-03-05 14:05:09;\"'=HYPERLINK(\"\"x\"\")\";1234563218;'-1;;1,00") + Tail},
    {"withdrawnFile", Withdrawn(Entry(QStringLiteral("Próba"), QStringLiteral("FV/3"), TAmount::FromUnits(10000))),
     QStringLiteral("2026-03-05 14:05:09;Próba;1234563218;FV/3;;1,00;PLN;"
                    "PLIKI_DO_BANKU/archiwum/2026-03-05_140509_0001_Pain001.xml;7;2026-03-06 09:30:00\r\n")},
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
