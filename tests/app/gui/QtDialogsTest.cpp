#include "app/gui/QtDialogs.h"

#include "app/gui/PolishTranslations.h"

#include "GuiTestSupport.h"
#include "TestSupport.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QPushButton>
#include <QFileDialog>
#include <QLabel>
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

// The labels stand in one column and the values in the next, in a form.
TEST_F(TQtDialogsTest, AboutBoxLinesUpItsLabelsAndValues) {
  QString title;
  QStringList rows, buttons;
  bool hasIcon = false;
  TModalAnswer answer([&](QWidget &dialog) {
    title = dialog.windowTitle();
    hasIcon = !Control<QLabel>(dialog, QStringLiteral("icon")).pixmap().isNull();
    const auto *form = dialog.findChild<QFormLayout *>();
    for (int row = 0; form && row < form->rowCount(); ++row)
      rows << static_cast<QLabel *>(form->itemAt(row, QFormLayout::LabelRole)->widget())->text() + u'|' +
                  static_cast<QLabel *>(form->itemAt(row, QFormLayout::FieldRole)->widget())->text();
    for (QAbstractButton *button : dialog.findChild<QDialogButtonBox *>()->buttons())
      buttons << button->text();
    dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
  });

  Dialogs.ShowAbout({{QStringLiteral("autor programu"), QStringLiteral("Orsolan")},
                     {QStringLiteral("wersja"), QStringLiteral("1.19")},
                     {QStringLiteral("adres poczty"), QStringLiteral("<b>autor</b>@example.pl")}});

  EXPECT_EQ(answer.Answered(), 1);
  EXPECT_EQ(title, QStringLiteral("Informacja o programie"));
  EXPECT_TRUE(hasIcon);
  EXPECT_EQ(rows, (QStringList{QStringLiteral("autor programu:|Orsolan"), QStringLiteral("wersja:|1.19"),
                               QStringLiteral("adres poczty:|<b>autor</b>@example.pl")}));
  EXPECT_EQ(buttons.size(), 1);
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

TEST_F(TQtDialogsTest, ErrorBoxHasTheErrorIconAndTheProgramsName) {
  const auto answer = AnswerWith(QMessageBox::Ok);

  Dialogs.ShowError(QStringLiteral("Unable to write to /tmp/settings.ini"));

  ASSERT_EQ(Seen.size(), 1u);
  EXPECT_EQ(Seen[0].Title, QStringLiteral("Pavena"));
  EXPECT_EQ(Seen[0].Text, QStringLiteral("Unable to write to /tmp/settings.ini"));
  EXPECT_EQ(Seen[0].Icon, QMessageBox::Critical);
  EXPECT_EQ(Seen[0].Buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
  EXPECT_EQ(Seen[0].Format, Qt::PlainText);
}

// Qt's own words in the standard dialogs are Polish once its translations are loaded, as the
// window loads them at start. They stay loaded for the tests that follow, as in the program.
TEST_F(TQtDialogsTest, StandardDialogsSpeakPolishWithQtsTranslations) {
  ASSERT_TRUE(InstallPolishTranslations(*qApp));
  QStringList answers;
  {
    TModalAnswer answerBox([&](QWidget &dialog) {
      auto &box = dynamic_cast<QMessageBox &>(dialog);
      answers << box.button(QMessageBox::Yes)->text() << box.button(QMessageBox::No)->text();
      box.button(QMessageBox::No)->click();
    });
    Dialogs.Confirm(QStringLiteral("Czy napewno chcesz wykasować ostatni wiersz tabeli "));
  }
  EXPECT_EQ(answers, (QStringList{QStringLiteral("&Tak"), QStringLiteral("&Nie")}));

  QStringList labels;
  TModalAnswer answerChooser([&](QWidget &dialog) {
    for (const char *name : {"lookInLabel", "fileNameLabel", "fileTypeLabel"})
      labels << Control<QLabel>(dialog, QString::fromLatin1(name)).text();
    dynamic_cast<QFileDialog &>(dialog).reject();
  });
  Dialogs.ChooseFile({QStringLiteral("Wybierz plik"), QString(), QStringLiteral("Faktury KSeF (*.xml)"), QString()});
  EXPECT_EQ(labels, (QStringList{QStringLiteral("Szukaj w:"), QStringLiteral("Nazwa &pliku:"),
                                 QStringLiteral("Pliki rodzaju:")}));
}

// The real file dialog: what it starts with, and what it gives back.
TEST_F(TQtDialogsTest, FileChooserStartsAsAskedAndGivesTheChosenFile) {
  TTempDir dir;
  dir.WriteBytes(QStringLiteral("faktura.xml"), "x");
  dir.WriteBytes(QStringLiteral("druga.xml"), "x");
  QString title, directory;
  QStringList filters, preselected;
  TModalAnswer answer([&](QWidget &dialog) {
    auto &files = dynamic_cast<QFileDialog &>(dialog);
    title = files.windowTitle();
    directory = files.directory().absolutePath();
    filters = files.nameFilters();
    preselected = files.selectedFiles();
    files.selectFile(dir.File(QStringLiteral("druga.xml")));
    static_cast<QDialog &>(files).accept();
  });

  const QString chosen = Dialogs.ChooseFile({QStringLiteral("Wybierz plik"), dir.Path(),
                                             QStringLiteral("Wszystkie pliki (*.xml)"), QStringLiteral("faktura.xml")});

  EXPECT_EQ(answer.Answered(), 1);
  EXPECT_EQ(title, QStringLiteral("Wybierz plik"));
  EXPECT_EQ(directory, QDir(dir.Path()).absolutePath());
  EXPECT_EQ(filters, QStringList{QStringLiteral("Wszystkie pliki (*.xml)")});
  EXPECT_EQ(preselected, QStringList{dir.File(QStringLiteral("faktura.xml"))});
  EXPECT_EQ(chosen, dir.File(QStringLiteral("druga.xml")));
}

TEST_F(TQtDialogsTest, CancelledChoosersGiveNothing) {
  TModalAnswer answer([](QWidget &dialog) { dynamic_cast<QFileDialog &>(dialog).reject(); });

  EXPECT_EQ(Dialogs.ChooseFile({QStringLiteral("Wybierz plik"), QString(), QString(), QString()}), QString());
  EXPECT_EQ(Dialogs.ChooseDirectory(QStringLiteral("Wybierz katalog docelowy")), QString());
  EXPECT_EQ(answer.Answered(), 2);
}

TEST_F(TQtDialogsTest, DirectoryChooserGivesTheChosenDirectory) {
  TTempDir dir;
  QDir(dir.Path()).mkdir(QStringLiteral("faktury_marzec"));
  QString title;
  TModalAnswer answer([&](QWidget &dialog) {
    auto &files = dynamic_cast<QFileDialog &>(dialog);
    title = files.windowTitle();
    files.setDirectory(dir.Path());
    files.selectFile(dir.File(QStringLiteral("faktury_marzec")));
    static_cast<QDialog &>(files).accept();
  });

  EXPECT_EQ(Dialogs.ChooseDirectory(QStringLiteral("Wybierz katalog docelowy")),
            dir.File(QStringLiteral("faktury_marzec")));
  EXPECT_EQ(title, QStringLiteral("Wybierz katalog docelowy"));
}

} // namespace
