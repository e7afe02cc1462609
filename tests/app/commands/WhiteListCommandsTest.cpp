#include "app/commands/WhiteListCommands.h"

#include "FakeHost.h"

#include <gtest/gtest.h>

namespace {

struct TOutcomeCase {
  const char *Name;
  TFlatFileOutcome Outcome;
  QString Text;
  TLogKind Kind;
  bool Loaded;
};

void PrintTo(const TOutcomeCase &outcome, std::ostream *os) { *os << outcome.Name; }

class TWhiteListOutcomeTest : public ::testing::TestWithParam<TOutcomeCase> {};

// Counts and times in Polish numbers; a load the user ended is one line like an ended mail.
TEST_P(TWhiteListOutcomeTest, IsOneLogEntry) {
  TFakeHost host;
  TWhiteListCommands commands(host.Host());

  EXPECT_EQ(commands.LogOutcome(GetParam().Outcome), GetParam().Loaded);

  ASSERT_EQ(host.LogEntries.size(), 1u);
  EXPECT_EQ(host.LogEntries[0].Text, GetParam().Text);
  EXPECT_EQ(host.LogEntries[0].Kind, GetParam().Kind);
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, TWhiteListOutcomeTest,
    ::testing::Values(
        TOutcomeCase{"Loaded",
                     {TFlatFileLoad{QDate(2026, 3, 5), {12345678, 1234, 999}, 12345}, {}},
                     QStringLiteral("Wczytano plik płaski białej listy podatników VAT z dnia 05.03.2026: skróty "
                                    "podatników czynnych: 12 345 678, zwolnionych: 1 234, maski rachunków "
                                    "wirtualnych: 999; czas: 12,3 s."),
                     TLogKind::Info,
                     true},
        TOutcomeCase{"Cancelled",
                     {std::nullopt, QStringLiteral("Wczytywanie pliku płaskiego przerwano."), true},
                     QStringLiteral("Wczytywanie pliku płaskiego przerwano."),
                     TLogKind::Info,
                     false},
        TOutcomeCase{"Failed",
                     {std::nullopt, QStringLiteral("Brak pliku."), false},
                     QStringLiteral("Błąd: Brak pliku."),
                     TLogKind::Error,
                     false}),
    [](const auto &info) { return std::string(info.param.Name); });

} // namespace
