#include "app/gui/QtDialogs.h"

#include "GuiTestSupport.h"
#include "TestSupport.h"

#include <QAbstractButton>
#include <QMessageBox>

namespace {

// What a box offered, and the answer given to it.
struct TSeenBox {
  QString Title;
  QString Text;
  QMessageBox::Icon Icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons Buttons;
  Qt::TextFormat Format = Qt::AutoText;
};

class TQtDialogsTest : public ::testing::Test {
protected:
  // Answers the next box with `button` and notes down what it showed.
  std::unique_ptr<TModalAnswer> AnswerWith(QMessageBox::StandardButton button) {
    return std::make_unique<TModalAnswer>([this, button](QWidget &dialog) {
      auto &box = dynamic_cast<QMessageBox &>(dialog);
      Seen.push_back({box.windowTitle(), box.text(), box.icon(), box.standardButtons(), box.textFormat()});
      box.button(button)->click();
    });
  }

  TQtDialogs Dialogs;
  std::vector<TSeenBox> Seen;
};

TEST_F(TQtDialogsTest, InformationBoxIsTheHelpScreen) {
  const auto answer = AnswerWith(QMessageBox::Ok);

  Dialogs.ShowInformation(QStringLiteral("Pole nie może być puste ...\r\rWybierz <b>plik</b>. "));

  ASSERT_EQ(Seen.size(), 1u);
  EXPECT_EQ(Seen[0].Title, QStringLiteral("Ekran pomocy"));
  EXPECT_EQ(Seen[0].Text, QStringLiteral("Pole nie może być puste ...\n\nWybierz <b>plik</b>. "));
  EXPECT_EQ(Seen[0].Icon, QMessageBox::Information);
  EXPECT_EQ(Seen[0].Buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
  EXPECT_EQ(Seen[0].Format, Qt::PlainText);
}

TEST_F(TQtDialogsTest, PlainMessageHasNoIconAndTheProgramsName) {
  const auto answer = AnswerWith(QMessageBox::Ok);

  Dialogs.ShowMessage(QStringLiteral("Exception: Nieprawidłowy rekord VideoTEL. Liczba pól=5"));

  ASSERT_EQ(Seen.size(), 1u);
  EXPECT_EQ(Seen[0].Title, QStringLiteral("Pavena"));
  EXPECT_EQ(Seen[0].Text, QStringLiteral("Exception: Nieprawidłowy rekord VideoTEL. Liczba pól=5"));
  EXPECT_EQ(Seen[0].Icon, QMessageBox::NoIcon);
  EXPECT_EQ(Seen[0].Buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

TEST_F(TQtDialogsTest, ConfirmationGivesTheUsersAnswer) {
  for (const auto button : {QMessageBox::Yes, QMessageBox::No}) {
    const auto answer = AnswerWith(button);
    EXPECT_EQ(Dialogs.Confirm(QStringLiteral("Czy napewno chcesz wykasować ostatni wiersz tabeli ")),
              button == QMessageBox::Yes);
  }

  ASSERT_EQ(Seen.size(), 2u);
  EXPECT_EQ(Seen[0].Buttons, QMessageBox::Yes | QMessageBox::No);
  EXPECT_EQ(Seen[0].Title, QStringLiteral("Pavena"));
}

} // namespace
