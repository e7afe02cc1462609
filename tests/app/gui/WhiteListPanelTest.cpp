#include "app/gui/WhiteListPanel.h"

#include "FakeHost.h"
#include "FlatFileFixture.h"
#include "GuiTestSupport.h"
#include "HttpsTestServer.h"
#include "TestSupport.h"

#include <QLabel>
#include <QMainWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// The panel in a window of its own, beside another command's button, with the window's
// background work as main() sets it up.
class TWhiteListPanelTest : public ::testing::Test {
protected:
  TWhiteListPanelTest() {
    EnsureApplication();
    auto *central = new QWidget;
    auto *layout = new QVBoxLayout(central);
    Panel = new TWhiteListPanel(Host.Host(), Background);
    layout->addWidget(Panel);
    auto *other = new QPushButton(QStringLiteral("Inne polecenie"));
    other->setObjectName(QStringLiteral("BtnInne"));
    layout->addWidget(other);
    Window.setCentralWidget(central);
    Background.ShowIn(Window);
    QObject::connect(Panel, &TWhiteListPanel::Finished, [this] { ++FinishedCount; });
    Window.show();
  }

  QPushButton &Button(const QString &name) { return Control<QPushButton>(Window, name); }
  QPushButton &LoadButton() { return Button(QStringLiteral("BtnWczytajPlikPlaski")); }

  TTempAppDir App;
  TTempDir Files;
  TFakeHost Host{App.Paths()};
  TBackgroundWork Background;
  QMainWindow Window;
  TWhiteListPanel *Panel = nullptr;
  int FinishedCount = 0;
};

TEST_F(TWhiteListPanelTest, LoadsTheChosenFileAndLogsTheOutcome) {
  // The fake clock's day.
  const QString file = MakeStandardFlatFileJson(Files, QStringLiteral("20260305.json"), QDate(2026, 3, 5));
  Host.ChooserAnswers.push_back(file);

  LoadButton().click();

  EXPECT_EQ(FinishedCount, 1);
  EXPECT_EQ(Host.FileChoices.at(0).Filter, QStringLiteral("Plik płaski (*.7z *.json)"));
  ASSERT_EQ(Host.LogEntries.size(), 1u);
  EXPECT_TRUE(Host.LogEntries[0].Text.startsWith(
      QStringLiteral("Wczytano plik płaski białej listy podatników VAT z dnia 05.03.2026: skróty podatników czynnych: "
                     "2, zwolnionych: 1, maski rachunków wirtualnych: 1; czas: ")))
      << Host.LogEntries[0].Text.toStdString();
  EXPECT_FALSE(Button(QStringLiteral("BtnAnuluj")).isVisible());
  EXPECT_TRUE(LoadButton().isEnabled());
}

TEST_F(TWhiteListPanelTest, AFailedLoadIsOneErrorEntry) {
  Files.WriteBytes(QStringLiteral("x.json"), "[]");
  Host.ChooserAnswers.push_back(Files.File(QStringLiteral("x.json")));

  LoadButton().click();

  ASSERT_EQ(Host.LogEntries.size(), 1u);
  EXPECT_EQ(Host.LogEntries[0].Text,
            QStringLiteral("Błąd: Plik „%1” nie jest plikiem płaskim białej listy: to nie jest obiekt JSON z "
                           "nagłówkiem i listami skrótów.")
                .arg(Files.File(QStringLiteral("x.json"))));
}

TEST_F(TWhiteListPanelTest, ACancelledChooserStartsNothing) {
  Host.ChooserAnswers.push_back(QString());

  LoadButton().click();

  EXPECT_EQ(FinishedCount, 0);
  EXPECT_TRUE(LoadButton().isEnabled());
  EXPECT_TRUE(Host.LogEntries.empty());
}

TEST_F(TWhiteListPanelTest, ShowsWhichDaysListIsLoaded) {
  QLabel &loaded = Control<QLabel>(Window, QStringLiteral("LblBialaLista"));
  EXPECT_EQ(loaded.text(), QStringLiteral("Biała lista: nie wczytano pliku płaskiego"));
  Host.ChooserAnswers.push_back(MakeStandardFlatFileJson(Files, QStringLiteral("d.json"), QDate(2026, 3, 4)));

  LoadButton().click();

  EXPECT_EQ(loaded.text(), QStringLiteral("Biała lista: dane z dnia 04.03.2026"));
  EXPECT_TRUE(loaded.isVisible());
}

// The server sends half the file and waits: meanwhile the window's status line shows the
// percentage, no other command can start, and "Anuluj" ends the download with one line like an
// ended mail.
TEST_F(TWhiteListPanelTest, ADownloadRunsAsTheWindowsBackgroundWorkAndIsCancelled) {
  TTempDir served;
  served.WriteBytes(QStringLiteral("20260305.7z"), QByteArray(1000, 'x'));
  const TTestCertificate certificate = MakeCertificate(Files, QStringLiteral("serwer"), QStringLiteral("IP:127.0.0.1"));
  THttpsTestServer server(served, certificate, {QStringLiteral("--stall")});
  App.WriteBytes(
      QStringLiteral("settings.ini"),
      QStringLiteral("[BialaLista]\r\nAdres=%1\r\nPlikCA=%2\r\n").arg(server.Base(), certificate.CertFile).toUtf8());

  bool seenWhileDownloading = false;
  QTimer::singleShot(0, &Window, [&] {
    server.WaitForLine("STALLED");
    auto &bar = Control<QProgressBar>(Window, QStringLiteral("PrgPraca"));
    ProcessEventsUntil([&] { return bar.value() == 50; }, "the half of the file to show");
    EXPECT_EQ(bar.maximum(), 100);
    EXPECT_TRUE(Control<QLabel>(Window, QStringLiteral("LblPraca"))
                    .text()
                    .startsWith(u"Pobieranie pliku płaskiego białej listy…"));
    EXPECT_FALSE(LoadButton().isEnabled());
    EXPECT_FALSE(Button(QStringLiteral("BtnPobierzPlikPlaski")).isEnabled());
    EXPECT_FALSE(Button(QStringLiteral("BtnInne")).isEnabled());
    Button(QStringLiteral("BtnAnuluj")).click();
    seenWhileDownloading = true;
  });
  Button(QStringLiteral("BtnPobierzPlikPlaski")).click();

  EXPECT_TRUE(seenWhileDownloading);
  EXPECT_EQ(FinishedCount, 1);
  ASSERT_EQ(Host.LogEntries.size(), 1u);
  EXPECT_EQ(Host.LogEntries[0].Text, QStringLiteral("Pobieranie pliku płaskiego przerwano."));
  EXPECT_EQ(Host.LogEntries[0].Kind, TLogKind::Info);
  EXPECT_TRUE(LoadButton().isEnabled());
  EXPECT_TRUE(Button(QStringLiteral("BtnInne")).isEnabled());
  EXPECT_FALSE(Button(QStringLiteral("BtnAnuluj")).isVisible());
}

} // namespace
