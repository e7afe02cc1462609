#include "app/gui/QtSecretPrompt.h"

#include "GuiTestSupport.h"
#include "TestSupport.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

struct TPromptCase {
  const char *Name;
  bool Ticked;
  QDialogButtonBox::StandardButton Pressed;
  // Nothing for a cancelled question.
  std::optional<TSecretAnswer> Expected;
};

class TQtSecretPromptTest : public ::testing::TestWithParam<TPromptCase> {};

TEST_P(TQtSecretPromptTest, HidesWhatIsTypedAndAnswersWithTheTick) {
  const TPromptCase &test = GetParam();
  QString title;
  QLineEdit::EchoMode echo = QLineEdit::Normal;
  QString remember;
  TModalAnswer answer([&](QWidget &dialog) {
    title = dialog.windowTitle();
    auto &field = Control<QLineEdit>(dialog, QStringLiteral("EdtSekret"));
    echo = field.echoMode();
    field.setText(QStringLiteral("tajny-token"));
    auto &tick = Control<QCheckBox>(dialog, QStringLiteral("ChkZapamietaj"));
    remember = tick.text();
    tick.setChecked(test.Ticked);
    dialog.findChild<QDialogButtonBox *>()->button(test.Pressed)->click();
  });
  TQtSecretPrompt prompt(nullptr);

  const std::optional<TSecretAnswer> given =
      prompt.Ask({QStringLiteral("Token KSeF"), QStringLiteral("Token KSeF dla NIP 1234563218:")});

  EXPECT_EQ(answer.Answered(), 1);
  EXPECT_EQ(title, QStringLiteral("Token KSeF"));
  EXPECT_EQ(echo, QLineEdit::Password);
  EXPECT_EQ(remember, QStringLiteral("Zapamiętaj w pęku kluczy"));
  ASSERT_EQ(given.has_value(), test.Expected.has_value());
  if (given) {
    EXPECT_EQ(given->Secret, test.Expected->Secret);
    EXPECT_EQ(given->Remember, test.Expected->Remember);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, TQtSecretPromptTest,
    ::testing::Values(TPromptCase{"Ok", false, QDialogButtonBox::Ok, TSecretAnswer{"tajny-token", false}},
                      TPromptCase{"OkTicked", true, QDialogButtonBox::Ok, TSecretAnswer{"tajny-token", true}},
                      TPromptCase{"Cancelled", true, QDialogButtonBox::Cancel, std::nullopt}),
    [](const ::testing::TestParamInfo<TPromptCase> &info) { return std::string(info.param.Name); });

} // namespace
