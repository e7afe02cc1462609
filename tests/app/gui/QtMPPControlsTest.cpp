#include "app/gui/QtMPPControls.h"

#include "FakeHost.h"
#include "GuiTestSupport.h"
#include "TestSupport.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

class TQtMPPControlsTest : public ::testing::Test {
protected:
  void SetUp() override {
    auto *layout = new QVBoxLayout(&Group);
    for (int index = 0; index < 3; ++index) {
      auto *item = new QRadioButton(QStringLiteral("item %1").arg(index));
      Items.addButton(item, index);
      layout->addWidget(item);
    }
    Controls.OnChanges(
        [this] {
          ++CheckRuns;
          CheckHandler();
        },
        [this] {
          ++GroupRuns;
          GroupHandler();
        },
        Errors);
  }

  TFakeHost Errors;

  QCheckBox Check;
  QGroupBox Group;
  QButtonGroup Items;
  TQtMPPControls Controls{Check, Group, Items};
  int CheckRuns = 0;
  int GroupRuns = 0;
  std::function<void()> CheckHandler = [] {};
  std::function<void()> GroupHandler = [] {};
};

TEST_F(TQtMPPControlsTest, StartsWithNothingSelected) {
  EXPECT_FALSE(Controls.MPPChecked());
  EXPECT_EQ(Controls.FormatIndex(), -1);
}

TEST_F(TQtMPPControlsTest, SettersRunTheHandlersExactlyWhenTheValueChanges) {
  Controls.SetMPPChecked(false);
  Controls.SetFormatIndex(-1);
  EXPECT_EQ(CheckRuns, 0);
  EXPECT_EQ(GroupRuns, 0);

  Controls.SetMPPChecked(true);
  Controls.SetMPPChecked(true);
  EXPECT_EQ(CheckRuns, 1);

  Controls.SetFormatIndex(1);
  Controls.SetFormatIndex(1);
  EXPECT_EQ(GroupRuns, 1);
  Controls.SetFormatIndex(2);
  EXPECT_EQ(GroupRuns, 2);
  EXPECT_EQ(Controls.FormatIndex(), 2);
  EXPECT_FALSE(Items.button(1)->isChecked());

  Controls.SetFormatIndex(-1);
  EXPECT_EQ(GroupRuns, 3);
  EXPECT_EQ(Controls.FormatIndex(), -1);
  Controls.SetFormatIndex(7);
  EXPECT_EQ(GroupRuns, 3);

  // The group is exclusive again after the selection was cleared.
  Controls.SetFormatIndex(0);
  Items.button(1)->click();
  EXPECT_EQ(Controls.FormatIndex(), 1);
  EXPECT_FALSE(Items.button(0)->isChecked());
}

TEST_F(TQtMPPControlsTest, UserClicksRunTheHandlers) {
  Check.click();
  Items.button(2)->click();
  Items.button(2)->click();

  EXPECT_EQ(CheckRuns, 1);
  EXPECT_EQ(GroupRuns, 1);
  EXPECT_TRUE(Controls.MPPChecked());
  EXPECT_EQ(Controls.FormatIndex(), 2);
}

TEST_F(TQtMPPControlsTest, DisabledGroupKeepsItsSelection) {
  Controls.SetFormatIndex(1);
  Controls.SetFormatGroupEnabled(false);

  EXPECT_FALSE(Group.isEnabled());
  EXPECT_EQ(Controls.FormatIndex(), 1);
}

TEST_F(TQtMPPControlsTest, HandlerErrorReachesTheSettersCaller) {
  GroupHandler = [] { throw Exception(QStringLiteral("Unable to write to settings.ini")); };

  EXPECT_THROW_MESSAGE(Controls.SetFormatIndex(1), QStringLiteral("Unable to write to settings.ini"));
  EXPECT_EQ(Controls.FormatIndex(), 1);
  // The error was handed on once, not kept for the next change.
  GroupHandler = [] {};
  EXPECT_NO_THROW(Controls.SetFormatIndex(2));
}

TEST_F(TQtMPPControlsTest, NestedHandlerErrorEndsTheOuterHandlerLikeACall) {
  bool outerFinished = false;
  GroupHandler = [] { throw Exception(QStringLiteral("zapis")); };
  CheckHandler = [&] {
    Controls.SetFormatIndex(0);
    outerFinished = true;
  };

  EXPECT_THROW_MESSAGE(Controls.SetMPPChecked(true), QStringLiteral("zapis"));
  EXPECT_FALSE(outerFinished);
}

TEST_F(TQtMPPControlsTest, HandlerErrorOfAClickEndsInOneErrorBox) {
  GroupHandler = [] { throw Exception(QStringLiteral("zapis")); };
  CheckHandler = [&] { Controls.SetFormatIndex(0); };

  Check.click();

  EXPECT_EQ(Errors.ErrorBoxes, QStringList{QStringLiteral("zapis")});
  EXPECT_TRUE(Controls.MPPChecked());
}

} // namespace
