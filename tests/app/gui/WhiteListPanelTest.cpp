#include "app/gui/WhiteListPanel.h"

#include "FakeHost.h"
#include "FlatFileFixture.h"
#include "GuiTestSupport.h"
#include "TestSupport.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace {

class TWhiteListPanelTest : public ::testing::Test {
protected:
  TWhiteListPanelTest() {
    EnsureApplication();
    QObject::connect(&Panel, &TWhiteListPanel::Finished, [this] { ++FinishedCount; });
    Panel.show();
  }

  QPushButton &LoadButton() { return Control<QPushButton>(Panel, QStringLiteral("BtnWczytajPlikPlaski")); }
  QProgressBar &Bar() { return Control<QProgressBar>(Panel, QStringLiteral("PbPlikPlaski")); }
  void WaitUntilFinished() {
    ProcessEventsUntil([this] { return FinishedCount > 0; }, "the load to finish");
  }

  TTempAppDir App;
  TTempDir Files;
  TFakeHost Host{App.Paths()};
  TWhiteListPanel Panel{Host.Host()};
  int FinishedCount = 0;
};

TEST_F(TWhiteListPanelTest, LoadsTheChosenFileOffTheWindowsThreadAndLogsTheOutcome) {
  // The fake clock's day.
  const QString file = MakeStandardFlatFileJson(Files, QStringLiteral("20260305.json"), QDate(2026, 3, 5));
  Host.ChooserAnswers.push_back(file);

  LoadButton().click();

  // The outcome comes through the event loop, so until then the work shows as running.
  EXPECT_TRUE(Bar().isVisible());
  EXPECT_FALSE(LoadButton().isEnabled());
  EXPECT_TRUE(Control<QPushButton>(Panel, QStringLiteral("BtnPrzerwijPlikPlaski")).isVisible());
  WaitUntilFinished();
  EXPECT_EQ(Host.FileChoices.at(0).Filter, QStringLiteral("Plik płaski (*.7z *.json)"));
  ASSERT_EQ(Host.LogEntries.size(), 1u);
  EXPECT_TRUE(Host.LogEntries[0].Text.startsWith(
      QStringLiteral("Wczytano plik płaski białej listy podatników VAT z dnia 05.03.2026: skróty podatników czynnych: "
                     "2, zwolnionych: 1, maski rachunków wirtualnych: 1; czas: ")))
      << Host.LogEntries[0].Text.toStdString();
  EXPECT_FALSE(Bar().isVisible());
  EXPECT_TRUE(LoadButton().isEnabled());
}

TEST_F(TWhiteListPanelTest, AFailedLoadIsOneErrorEntry) {
  Files.WriteBytes(QStringLiteral("x.json"), "[]");
  Host.ChooserAnswers.push_back(Files.File(QStringLiteral("x.json")));

  LoadButton().click();
  WaitUntilFinished();

  ASSERT_EQ(Host.LogEntries.size(), 1u);
  EXPECT_EQ(Host.LogEntries[0].Text,
            QStringLiteral("Błąd: Plik „%1” nie jest plikiem płaskim białej listy: to nie jest obiekt JSON z "
                           "nagłówkiem i listami skrótów.")
                .arg(Files.File(QStringLiteral("x.json"))));
}

TEST_F(TWhiteListPanelTest, ACancelledChooserStartsNothing) {
  Host.ChooserAnswers.push_back(QString());

  LoadButton().click();

  EXPECT_FALSE(Bar().isVisible());
  EXPECT_TRUE(LoadButton().isEnabled());
  EXPECT_TRUE(Host.LogEntries.empty());
}

TEST_F(TWhiteListPanelTest, ShowsWhichDaysListIsLoaded) {
  QLabel &loaded = Control<QLabel>(Panel, QStringLiteral("LblBialaLista"));
  EXPECT_EQ(loaded.text(), QStringLiteral("Biała lista: nie wczytano pliku płaskiego"));
  Host.ChooserAnswers.push_back(MakeStandardFlatFileJson(Files, QStringLiteral("d.json"), QDate(2026, 3, 4)));

  LoadButton().click();
  WaitUntilFinished();

  EXPECT_EQ(loaded.text(), QStringLiteral("Biała lista: dane z dnia 04.03.2026"));
  EXPECT_TRUE(loaded.isVisible());
}

} // namespace
