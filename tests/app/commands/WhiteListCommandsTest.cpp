#include "FakeHost.h"
#include "FlatFileFixture.h"
#include "app/commands/WhiteListCommands.h"

#include <gtest/gtest.h>

namespace {

using namespace FlatFilePairs;

// The fake host's clock.
const QDate Today(2026, 3, 5);

class TWhiteListCommandsTest : public ::testing::Test {
protected:
  void LoadFlatFile(QDate day) {
    TNoProgress none;
    TWhiteListStore(App.Paths().WhiteListDirectory())
        .Load(MakeStandardFlatFileJson(Files, day.toString(Qt::ISODate) + QStringLiteral(".json"), day), Today, none);
  }
  QStringList Log() const {
    QStringList lines;
    for (const TLogEntry &entry : Host.LogEntries)
      lines.append(entry.Text);
    return lines;
  }

  TTempAppDir App;
  TTempDir Files;
  TFakeHost Host{App.Paths()};
  TWhiteListCommands Commands{Host.Host()};
};

struct TMalformedCase {
  const char *Name;
  QString Nip;
  QString Account;
  QString Error;
};

void PrintTo(const TMalformedCase &c, std::ostream *os) { *os << c.Name; }

class TMalformedPairTest : public TWhiteListCommandsTest, public ::testing::WithParamInterface<TMalformedCase> {};

TEST_P(TMalformedPairTest, SaysWhichOfTheTwoIsWrongAndHow) {
  LoadFlatFile(Today);

  EXPECT_EQ(Commands.CheckAccount(GetParam().Nip, GetParam().Account, std::nullopt), TAccountCheck::Malformed);

  EXPECT_EQ(Log(), QStringList{QStringLiteral("Błąd: ") + GetParam().Error});
}

const QString NipForm = QStringLiteral("NIP „526025099” ma błędną postać: NIP to 10 cyfr (z PL na początku albo bez)");
const QString AccountCheckDigits =
    QStringLiteral("umer rachunku „61109010140000071219812875” ma błędne cyfry kontrolne "
                   "(ISO 7064, mod 97-10): to literówka albo cudzy rachunek");

INSTANTIATE_TEST_SUITE_P(
    Cases, TMalformedPairTest,
    ::testing::Values(
        TMalformedCase{"nipTooShort", QStringLiteral("526025099"), ActiveAccount, NipForm + u'.'},
        TMalformedCase{"nipCheckDigit", QStringLiteral("PL 526-025-09-94"), ActiveAccount,
                       QStringLiteral("NIP „PL 526-025-09-94” ma błędną cyfrę kontrolną.")},
        TMalformedCase{"accountTooShort", ActiveNip, QStringLiteral("PL6110901014000007121981287"),
                       QStringLiteral("Numer rachunku „PL6110901014000007121981287” ma błędną postać: rachunek to 26 "
                                      "cyfr numeru NRB (z PL na początku albo bez).")},
        TMalformedCase{"accountWithLetters", ActiveNip, QStringLiteral("DE61109010140000071219812874"),
                       QStringLiteral("Numer rachunku „DE61109010140000071219812874” ma błędną postać: rachunek to 26 "
                                      "cyfr numeru NRB (z PL na początku albo bez).")},
        // Of the right length: not a length problem.
        TMalformedCase{"accountCheckDigits", ActiveNip, QStringLiteral("61109010140000071219812875"),
                       u'N' + AccountCheckDigits + u'.'},
        TMalformedCase{"both", QStringLiteral("526025099"), QStringLiteral("61109010140000071219812875"),
                       NipForm + QStringLiteral(", a n") + AccountCheckDigits + u'.'}),
    [](const auto &info) { return std::string(info.param.Name); });

TEST_F(TWhiteListCommandsTest, WithoutTheDaysFileTheNewestEarlierOneStandsInNeverALaterOne) {
  LoadFlatFile(Today.addDays(-3));
  LoadFlatFile(Today);

  EXPECT_EQ(Commands.CheckAccount(ActiveNip, ActiveAccount, Today.addDays(-1)), TAccountCheck::Found);

  EXPECT_EQ(Log(),
            QStringList({QStringLiteral("Uwaga: Brak pliku płaskiego białej listy z dnia 04.03.2026: rachunek "
                                        "sprawdzono według najnowszego wcześniejszego, z dnia 02.03.2026."),
                         QStringLiteral("NIP 5260250995, rachunek 61109010140000071219812874: figuruje w wykazie "
                                        "podatników VAT jako podatnik czynny (biała lista, dane z dnia "
                                        "02.03.2026).")}));
}

TEST_F(TWhiteListCommandsTest, ADayBeforeEveryFileLoadedIsNotChecked) {
  LoadFlatFile(Today.addDays(-3));
  LoadFlatFile(Today);

  EXPECT_EQ(Commands.CheckAccount(ActiveNip, ActiveAccount, Today.addDays(-4)), TAccountCheck::Unchecked);

  EXPECT_EQ(Log(), QStringList{QStringLiteral("Błąd: Brak pliku płaskiego białej listy z dnia 01.03.2026 ani "
                                              "wcześniejszego (najstarszy wczytany jest z dnia 02.03.2026), a wykaz z "
                                              "późniejszego dnia nie pokazuje stanu z dnia 01.03.2026.")});
}

TEST_F(TWhiteListCommandsTest, TellsWhichDaysListIsLoaded) {
  EXPECT_EQ(TWhiteListCommands::LoadedListText(App.Paths()),
            QStringLiteral("Biała lista: nie wczytano pliku płaskiego"));
  LoadFlatFile(Today);
  LoadFlatFile(Today.addDays(-1));

  EXPECT_EQ(TWhiteListCommands::LoadedListText(App.Paths()), QStringLiteral("Biała lista: dane z dnia 05.03.2026"));
}

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
