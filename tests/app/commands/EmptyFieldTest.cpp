#include "CommandTest.h"
#include "app/commands/SplitPaymentSettings.h"

#include <functional>

namespace {

// Every button of a transfer page checks its field first; an empty field shows its help box
// and changes nothing: no file deleted, no log line, split payment as it was.
struct TEmptyFieldCase {
  const char *Name;
  std::function<void(TTransferCommands &, TSplitPaymentSettings &)> Press;
  QString Help;
};

void PrintTo(const TEmptyFieldCase &c, std::ostream *os) { *os << c.Name; }

class TEmptyFieldTest : public TCommandTest, public ::testing::WithParamInterface<TEmptyFieldCase> {
protected:
  TEmptyFieldTest() { Controls.ConnectTo(Settings); }

  TFakeMPPControls Controls;
  TSplitPaymentSettings Settings{Controls, AppDirectory.Paths().SettingsFile()};
};

TEST_P(TEmptyFieldTest, ShowsTheHelpBoxAndChangesNothing) {
  const QStringList outputs = {QStringLiteral("Pain001.xml"), QStringLiteral("Pain001_MPP.xml"),
                               QStringLiteral("Pain001Paczka.xml"), QStringLiteral("Pain001Paczka_MPP.xml"),
                               QStringLiteral("Pain001VideoTel.xml")};
  for (const QString &name : outputs)
    WriteAppFile(QStringLiteral("PLIKI_DO_BANKU/") + name, "earlier");
  WriteAppFile(QStringLiteral("settings.ini"), PayerSettings + "[MPP]\r\nEnabled=0\r\nFormat=Both\r\n");
  Settings.Load();
  const QByteArray settingsBefore = ReadAppFile(QStringLiteral("settings.ini"));

  GetParam().Press(Commands, Settings);

  EXPECT_EQ(Host.InformationBoxes, QStringList{GetParam().Help});
  EXPECT_TRUE(Host.LogEntries.empty());
  EXPECT_TRUE(Host.OpenedFiles.isEmpty());
  EXPECT_TRUE(Host.EditorArguments.isEmpty());
  for (const QString &name : outputs)
    EXPECT_TRUE(AppFileExists(QStringLiteral("PLIKI_DO_BANKU/") + name)) << name.toStdString();
  EXPECT_EQ(ReadAppFile(QStringLiteral("settings.ini")), settingsBefore);
  EXPECT_FALSE(Controls.MPPChecked());
}

const QString VideoTelHelp =
    QStringLiteral("Pole ścieżki do pliku IMP nie może być puste ...\r\rWybierz odpowiedni plik IMP. ");
const QString ShowVideoTelHelp = QStringLiteral(
    "Pole ścieżki do pliku w formacie VideoTel-a nie może być puste ...\r\rWybierz odpowiedni plik IMP. ");

INSTANTIATE_TEST_SUITE_P(
    Buttons, TEmptyFieldTest,
    ::testing::Values(
        TEmptyFieldCase{"single",
                        [](TTransferCommands &c, TSplitPaymentSettings &) {
                          EXPECT_FALSE(c.PressSingle(QString(), QStringLiteral("ref"), TMPPSettings{}));
                        },
                        QStringLiteral("Pole ścieżki do pliku XML faktury zakupowej KSeF nie może być puste ...\r\r"
                                       "Wybierz odpowiedni plik XML. ")},
        TEmptyFieldCase{"batch",
                        [](TTransferCommands &c, TSplitPaymentSettings &) {
                          EXPECT_FALSE(c.PressBatch(QString(), TMPPSettings{}));
                        },
                        QStringLiteral("Pole ścieżki do katalogu z plikami XML dla faktur zakupowych KSeF nie może być "
                                       "puste ...\r\rWybierz odpowiedni katalog. ")},
        TEmptyFieldCase{
            "videoTel",
            [](TTransferCommands &c, TSplitPaymentSettings &mpp) { EXPECT_FALSE(c.PressVideoTel(QString(), mpp)); },
            VideoTelHelp},
        TEmptyFieldCase{"videoTelWithoutSplitPayment",
                        [](TTransferCommands &c, TSplitPaymentSettings &) {
                          EXPECT_FALSE(c.PressVideoTelWithoutSplitPayment(QString()));
                        },
                        VideoTelHelp},
        TEmptyFieldCase{
            "showVideoTelOfBlanks",
            [](TTransferCommands &c, TSplitPaymentSettings &) { c.PressShowVideoTel(QStringLiteral(" \t ")); },
            ShowVideoTelHelp}),
    [](const ::testing::TestParamInfo<TEmptyFieldCase> &info) { return std::string(info.param.Name); });

TEST_F(TCommandTest, VideoTelWithAnEmptyFieldLeavesSplitPaymentOn) {
  TFakeMPPControls controls;
  TSplitPaymentSettings settings(controls, AppDirectory.Paths().SettingsFile());
  controls.ConnectTo(settings);
  WriteAppFile(QStringLiteral("settings.ini"), PayerSettings + "[MPP]\r\nEnabled=1\r\nFormat=Structured\r\n");
  settings.Load();

  EXPECT_FALSE(Commands.PressVideoTel(QString(), settings));

  EXPECT_TRUE(controls.MPPChecked());
  EXPECT_TRUE(settings.Current().Enabled);
  EXPECT_EQ(Host.InformationBoxes, QStringList{VideoTelHelp});
}

} // namespace
