#include "FakeHost.h"
#include "TestSupport.h"
#include "app/commands/PayerDataSettings.h"

#include <gtest/gtest.h>

namespace {

struct TStartCase {
  const char *Name;
  // Null: no settings.ini at all.
  QByteArray Settings;
  bool Missing;
};

void PrintTo(const TStartCase &c, std::ostream *os) { *os << c.Name; }

class TMissingPayerDataTest : public ::testing::TestWithParam<TStartCase> {
protected:
  TTempAppDir Dir;
  TFakeHost Host{Dir.Paths()};
};

TEST_P(TMissingPayerDataTest, AtStartOneLineSaysWhereToTypeThemAndWhereTheyAreKept) {
  if (!GetParam().Settings.isNull())
    Dir.WriteBytes(QStringLiteral("settings.ini"), GetParam().Settings);

  ReportMissingPayerData(Host.Host());

  QStringList logged;
  for (const TLogEntry &entry : Host.LogEntries)
    logged.append(entry.Text);
  const QStringList expected{
      QStringLiteral("Brak danych Płatnika: uzupełnij dane Płatnika na stronie „Funkcje techniczne” i naciśnij "
                     "„Zapisz dane Płatnika”; program zapisze je w pliku %1")
          .arg(Dir.File(QStringLiteral("settings.ini")))};
  EXPECT_EQ(logged, GetParam().Missing ? expected : QStringList());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TMissingPayerDataTest,
    ::testing::Values(
        TStartCase{"noSettingsFile", QByteArray(), true},
        TStartCase{"onlySplitPayment", "[MPP]\r\nEnabled=0\r\nFormat=Ustrd\r\n", true},
        TStartCase{"nameOfBlanks",
                   "[COMPANY]\r\nName=  \r\nNIP=6772314552\r\nIBAN=PL79114020044000030020135538\r\nBIC=BREXPLPWXXX\r\n",
                   true},
        TStartCase{"noNip", "[COMPANY]\r\nName=Wrzos\r\nIBAN=PL79114020044000030020135538\r\nBIC=BREXPLPWXXX\r\n",
                   true},
        TStartCase{"noIban", "[COMPANY]\r\nName=Wrzos\r\nNIP=6772314552\r\nBIC=BREXPLPWXXX\r\n", true},
        TStartCase{"noBic", "[COMPANY]\r\nName=Wrzos\r\nNIP=6772314552\r\nIBAN=PL79114020044000030020135538\r\n", true},
        TStartCase{
            "complete",
            "[COMPANY]\r\nName=Wrzos\r\nNIP=6772314552\r\nIBAN=PL79114020044000030020135538\r\nBIC=BREXPLPWXXX\r\n",
            false}),
    [](const ::testing::TestParamInfo<TStartCase> &info) { return std::string(info.param.Name); });

} // namespace
