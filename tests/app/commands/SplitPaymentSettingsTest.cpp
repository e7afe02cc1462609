#include "app/commands/SplitPaymentSettings.h"
#include "FakeHost.h"
#include "TestSupport.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

class TSplitPaymentSettingsTest : public ::testing::Test {
protected:
  TSplitPaymentSettingsTest() { Controls.ConnectTo(Settings); }

  QString SettingsFile() const { return AppDirectory.File(QStringLiteral("settings.ini")); }
  void WriteMPP(const QByteArray &enabled, const QByteArray &format) const {
    AppDirectory.WriteBytes(QStringLiteral("settings.ini"),
                            "[COMPANY]\r\nName=Wrzos\r\n[MPP]\r\nEnabled=" + enabled + "\r\nFormat=" + format + "\r\n");
  }
  QByteArray StoredMPP() const {
    const QByteArray text = AppDirectory.ReadBytes(QStringLiteral("settings.ini"));
    return text.mid(text.indexOf("[MPP]"));
  }

  TTempAppDir AppDirectory;
  TFakeMPPControls Controls;
  TSplitPaymentSettings Settings{Controls, AppDirectory.Paths().SettingsFile()};
};

TEST_F(TSplitPaymentSettingsTest, StartWithoutSettingsFileCreatesItWithSplitPaymentOff) {
  Settings.Load();

  EXPECT_FALSE(Controls.MPPChecked());
  EXPECT_FALSE(Controls.FormatGroupEnabled());
  EXPECT_EQ(Controls.FormatIndex(), 0);
  EXPECT_FALSE(Settings.Current().Enabled);
  EXPECT_EQ(Settings.Current().Format, TMPPFormat::Ustrd);
  EXPECT_EQ(AppDirectory.ReadBytes(QStringLiteral("settings.ini")),
            QByteArray("[MPP]\r\nEnabled=0\r\nFormat=Ustrd\r\n"));
}

struct TStoredCase {
  const char *Name;
  QByteArray Enabled;
  QByteArray Format;
  int Index;
  bool Checked;
  QByteArray WrittenBack;
};

void PrintTo(const TStoredCase &c, std::ostream *os) { *os << c.Name; }

class TStoredChoiceTest : public TSplitPaymentSettingsTest, public ::testing::WithParamInterface<TStoredCase> {};

TEST_P(TStoredChoiceTest, StartShowsTheStoredChoiceAndWritesItBack) {
  const TStoredCase &c = GetParam();
  WriteMPP(c.Enabled, c.Format);

  Settings.Load();

  EXPECT_EQ(Controls.MPPChecked(), c.Checked);
  EXPECT_EQ(Controls.FormatGroupEnabled(), c.Checked);
  EXPECT_EQ(Controls.FormatIndex(), c.Index);
  EXPECT_EQ(Settings.Current().Enabled, c.Checked);
  EXPECT_EQ(Settings.Current().Format, TSplitPaymentSettings::FormatOfIndex(c.Index));
  EXPECT_EQ(StoredMPP(), c.WrittenBack);
  // The payer data beside it is left alone.
  EXPECT_TRUE(AppDirectory.ReadBytes(QStringLiteral("settings.ini")).startsWith("[COMPANY]\r\nName=Wrzos\r\n"));
}

INSTANTIATE_TEST_SUITE_P(
    StoredChoices, TStoredChoiceTest,
    ::testing::Values(
        TStoredCase{"bothEnabled", "1", "Both", 2, true, "[MPP]\r\nEnabled=1\r\nFormat=Both\r\n"},
        TStoredCase{"structuredOff", "0", "Structured", 1, false, "[MPP]\r\nEnabled=0\r\nFormat=Structured\r\n"},
        TStoredCase{"noneIsShownAsUstrd", "1", "None", 0, true, "[MPP]\r\nEnabled=1\r\nFormat=Ustrd\r\n"},
        TStoredCase{"unknownFormatIsShownAsUstrd", "0", "Strd", 0, false, "[MPP]\r\nEnabled=0\r\nFormat=Ustrd\r\n"}),
    [](const ::testing::TestParamInfo<TStoredCase> &info) { return std::string(info.param.Name); });

TEST_F(TSplitPaymentSettingsTest, UncheckingDisablesTheGroupKeepsItsSelectionAndSavesAtOnce) {
  WriteMPP("1", "Structured");
  Settings.Load();

  Controls.SetMPPChecked(false);

  EXPECT_FALSE(Controls.FormatGroupEnabled());
  EXPECT_EQ(Controls.FormatIndex(), 1);
  EXPECT_FALSE(Settings.Current().Enabled);
  EXPECT_EQ(StoredMPP(), QByteArray("[MPP]\r\nEnabled=0\r\nFormat=Structured\r\n"));
}

TEST_F(TSplitPaymentSettingsTest, CheckingEnablesTheGroupAndSaves) {
  WriteMPP("0", "Both");
  Settings.Load();

  Controls.SetMPPChecked(true);

  EXPECT_TRUE(Controls.FormatGroupEnabled());
  EXPECT_EQ(Controls.FormatIndex(), 2);
  EXPECT_TRUE(Settings.Current().Enabled);
  EXPECT_EQ(Settings.Current().Format, TMPPFormat::Both);
  EXPECT_EQ(StoredMPP(), QByteArray("[MPP]\r\nEnabled=1\r\nFormat=Both\r\n"));
}

TEST_F(TSplitPaymentSettingsTest, ChoosingAFormatTakesEffectAndIsSavedAtOnce) {
  WriteMPP("1", "Ustrd");
  Settings.Load();

  Controls.SetFormatIndex(1);

  EXPECT_EQ(Settings.Current().Format, TMPPFormat::Structured);
  EXPECT_EQ(StoredMPP(), QByteArray("[MPP]\r\nEnabled=1\r\nFormat=Structured\r\n"));
}

TEST_F(TSplitPaymentSettingsTest, SwitchOffClearsTheBoxAndSavesTheChoiceWithSplitPaymentOff) {
  WriteMPP("1", "Structured");
  Settings.Load();

  Settings.SwitchOff();

  EXPECT_FALSE(Controls.MPPChecked());
  EXPECT_FALSE(Controls.FormatGroupEnabled());
  EXPECT_EQ(Controls.FormatIndex(), 1);
  EXPECT_FALSE(Settings.Current().Enabled);
  EXPECT_EQ(Settings.Current().Format, TMPPFormat::Structured);
  EXPECT_EQ(StoredMPP(), QByteArray("[MPP]\r\nEnabled=0\r\nFormat=Structured\r\n"));
}

TEST_F(TSplitPaymentSettingsTest, SwitchOffWithTheBoxAlreadyClearWritesNothing) {
  WriteMPP("0", "Both");
  Settings.Load();
  QFile::remove(SettingsFile());

  Settings.SwitchOff();

  EXPECT_FALSE(QFile::exists(SettingsFile()));
  EXPECT_FALSE(Settings.Current().Enabled);
  EXPECT_EQ(Settings.Current().Format, TMPPFormat::Both);
}

TEST_F(TSplitPaymentSettingsTest, FromControlsReadsTheControlsWithoutSaving) {
  Controls.OnCheckChanged = nullptr;
  Controls.SetMPPChecked(true);

  const TMPPSettings shown = Settings.FromControls();

  EXPECT_TRUE(shown.Enabled);
  EXPECT_EQ(shown.Format, TMPPFormat::None);
  EXPECT_FALSE(QFile::exists(SettingsFile()));
}

TEST(SplitPaymentFormatTableTest, ItemsAndFormatsMapBothWays) {
  const std::pair<int, TMPPFormat> items[] = {
      {0, TMPPFormat::Ustrd}, {1, TMPPFormat::Structured}, {2, TMPPFormat::Both}, {3, TMPPFormat::Standard}};
  for (const auto &[index, format] : items) {
    EXPECT_EQ(TSplitPaymentSettings::FormatOfIndex(index), format);
    EXPECT_EQ(TSplitPaymentSettings::IndexOfFormat(format), index);
  }
  EXPECT_EQ(TSplitPaymentSettings::IndexOfFormat(TMPPFormat::None), 0);
  EXPECT_EQ(TSplitPaymentSettings::FormatOfIndex(-1), TMPPFormat::None);
  EXPECT_EQ(TSplitPaymentSettings::FormatOfIndex(4), TMPPFormat::None);
}

} // namespace
