#include "app/gui/BackgroundWork.h"
#include "app/gui/Form2.h"

#include "FakeHost.h"
#include "GuiTestSupport.h"
#include "TestSupport.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QTableView>
#include <memory>

namespace {

const QStringList LogNames = {QStringLiteral("MemoLog"), QStringLiteral("MemoTech"), QStringLiteral("MemoPaczka"),
                              QStringLiteral("MemoVideoTel")};
const QString Separator(104, QLatin1Char('-'));

class TForm2Test : public ::testing::Test {
protected:
  // The window as the user gets it: shown.
  std::unique_ptr<TForm2> Open() {
    auto window = OpenHidden();
    window->show();
    return window;
  }
  // The window right after its constructor, before it is shown.
  std::unique_ptr<TForm2> OpenHidden() {
    return std::make_unique<TForm2>(THost{Log, Fake, Fake, Fake, Fake, [this] { return Fake.Clock; }, App.Paths()}, Log,
                                    Background);
  }

  QString SettingsFile() const { return App.File(QStringLiteral("settings.ini")); }
  // What a window started without the payer data logs first.
  QString FirstStartLine() const {
    return QStringLiteral("Brak danych Płatnika: uzupełnij dane Płatnika na stronie „Funkcje techniczne” i naciśnij "
                          "„Zapisz dane Płatnika”; program zapisze je w pliku %1")
        .arg(SettingsFile());
  }
  void StoreMPP(bool enabled, TMPPFormat format) const { TSettings::SaveMPP(SettingsFile(), {enabled, format}); }
  TMPPSettings StoredMPP() const { return TSettings::LoadMPP(SettingsFile()); }
  void StorePayer() const {
    TSettings::SaveCompany(SettingsFile(),
                           {QStringLiteral("Biuro Rachunkowe Kos"), QStringLiteral("7740001454"),
                            QStringLiteral("PL27114020040000300201355387"), QStringLiteral("BREXPLPWXXX")});
  }
  QString OutputFile(const QString &name) const {
    return QDir(App.Path()).filePath(QStringLiteral("PLIKI_DO_BANKU/") + name);
  }

  // Makes settings.ini impossible to write: a directory stands in its place.
  void BlockSettingsFile() const {
    QFile::remove(SettingsFile());
    QDir().mkpath(SettingsFile());
  }

  static QRadioButton &FormatItem(const TForm2 &window, int index) {
    return *Control<QGroupBox>(window, QStringLiteral("RGrpMPP")).findChildren<QRadioButton *>().at(index);
  }
  static QStringList Lines(const TForm2 &window, const QString &log) {
    return Control<QPlainTextEdit>(window, log).toPlainText().split(QLatin1Char('\n'));
  }
  static void Click(const TForm2 &window, const QString &button) { Control<QAbstractButton>(window, button).click(); }
  static void Type(const TForm2 &window, const QString &field, const QString &text) {
    Control<QLineEdit>(window, field).setText(text);
  }

  TTempAppDir App;
  TFakeHost Fake{App.Paths()};
  TQtLog Log;
  // Not shown in the window: its work runs on the test's thread.
  TBackgroundWork Background;
};

QString ReadText(const QString &path) {
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
  return QString::fromUtf8(file.readAll());
}

// pavena(1) and the manual name the window's pages, every one and in the window's order.
TEST_F(TForm2Test, TheManualPageAndTheManualNameEveryPage) {
  const auto window = OpenHidden();
  const auto &pages = Control<QTabWidget>(*window, QStringLiteral("Pages"));
  QStringList captions;
  for (int index = 0; index < pages.count(); ++index)
    captions << pages.tabText(index);

  // The manual page: a tagged paragraph per page after "Strony okna:".
  const QStringList page = ReadText(QStringLiteral(PAVENA_WINDOW_MAN_PAGE)).split(u'\n');
  QStringList tags;
  for (qsizetype i = page.indexOf(QStringLiteral("Strony okna:")) + 1;
       i > 0 && i + 1 < page.size() && page[i] != QStringLiteral(".PP"); ++i)
    if (page[i] == QStringLiteral(".TP"))
      tags.append(QString(page[i + 1]).remove(QStringLiteral(".B ")));
  EXPECT_EQ(tags, captions);

  // The manual: "Okno ma sześć stron (zakładek): „…”, … i „…”."
  const QRegularExpressionMatch sentence =
      QRegularExpression(QStringLiteral(R"(Okno ma (\S+) stron \(zakładek\): ([^.]*)\.)"))
          .match(ReadText(QStringLiteral(PAVENA_SOURCE_DIR "/docs/OpisPrzelewyISO20022.md")));
  ASSERT_TRUE(sentence.hasMatch());
  QStringList named;
  for (const QRegularExpressionMatch &name :
       QRegularExpression(QStringLiteral("„([^”]+)”")).globalMatch(sentence.captured(2)))
    named.append(name.captured(1));
  EXPECT_EQ(named, captions);
  const QStringList numbers{QStringLiteral("cztery"), QStringLiteral("pięć"), QStringLiteral("sześć"),
                            QStringLiteral("siedem"), QStringLiteral("osiem")};
  EXPECT_EQ(sentence.captured(1), numbers.value(captions.size() - 4));
}

TEST_F(TForm2Test, StartsWithoutSettingsFile) {
  const auto window = Open();

  EXPECT_EQ(window->objectName(), QStringLiteral("Form2"));
  EXPECT_EQ(window->windowTitle(), QStringLiteral("Pavena;    autor: Orsolan;    ver: 1.19"));
  const auto &pages = Control<QTabWidget>(*window, QStringLiteral("Pages"));
  QStringList captions;
  for (int index = 0; index < pages.count(); ++index)
    captions << pages.tabText(index);
  EXPECT_EQ(captions,
            (QStringList{QStringLiteral("Przelew pojedynczy"), QStringLiteral("Przelew paczki"),
                         QStringLiteral("VideoTel"), QStringLiteral("Funkcje techniczne"), QStringLiteral("Banki"),
                         QStringLiteral("Historia"), QStringLiteral("KSeF"), QStringLiteral("Do zapłaty")}));
  EXPECT_EQ(pages.currentIndex(), 0);
  for (const char *directory : {"XML_PZ", "FAKTURY", "PLIKI_DO_BANKU"})
    EXPECT_TRUE(QFileInfo(App.File(QString::fromLatin1(directory))).isDir()) << directory;

  EXPECT_FALSE(Control<QCheckBox>(*window, QStringLiteral("ChkMPP")).isChecked());
  EXPECT_FALSE(Control<QGroupBox>(*window, QStringLiteral("RGrpMPP")).isEnabled());
  EXPECT_TRUE(FormatItem(*window, 0).isChecked());
  EXPECT_EQ(FormatItem(*window, 0).text(), QStringLiteral("Bez Struktury"));
  EXPECT_EQ(FormatItem(*window, 2).text(), QStringLiteral("Oba"));
  const QByteArray written = App.ReadBytes(QStringLiteral("settings.ini"));
  EXPECT_TRUE(written.contains("Enabled=0")) << written.toStdString();
  EXPECT_TRUE(written.contains("Format=Ustrd")) << written.toStdString();

  // Each page's log tells where the missing payer data are typed and kept.
  for (const QString &log : LogNames)
    EXPECT_EQ(Lines(*window, log), QStringList({log, FirstStartLine()}));
  EXPECT_TRUE(Fake.ErrorBoxes.isEmpty());
}

struct TStoredChoice {
  const char *Name;
  QByteArray Stored;
  bool Checked;
  int Selected;
  TMPPSettings Written;
};

class TForm2StoredChoiceTest : public TForm2Test, public ::testing::WithParamInterface<TStoredChoice> {};

TEST_P(TForm2StoredChoiceTest, ShowsTheStoredChoiceAndWritesItBack) {
  App.WriteBytes(QStringLiteral("settings.ini"), GetParam().Stored);
  const auto window = Open();

  EXPECT_EQ(Control<QCheckBox>(*window, QStringLiteral("ChkMPP")).isChecked(), GetParam().Checked);
  EXPECT_EQ(Control<QGroupBox>(*window, QStringLiteral("RGrpMPP")).isEnabled(), GetParam().Checked);
  EXPECT_TRUE(FormatItem(*window, GetParam().Selected).isChecked());
  EXPECT_EQ(StoredMPP().Enabled, GetParam().Written.Enabled);
  EXPECT_EQ(StoredMPP().Format, GetParam().Written.Format);
  EXPECT_EQ(window->CurrentMPPSettings().Format, GetParam().Written.Format);
}

INSTANTIATE_TEST_SUITE_P(
    Choices, TForm2StoredChoiceTest,
    ::testing::Values(
        TStoredChoice{"OnBoth", "[MPP]\r\nEnabled=1\r\nFormat=Both\r\n", true, 2, {true, TMPPFormat::Both}},
        TStoredChoice{
            "OffStructured", "[MPP]\r\nEnabled=0\r\nFormat=Structured\r\n", false, 1, {false, TMPPFormat::Structured}},
        TStoredChoice{
            "OnNoneShownAsUstrd", "[MPP]\r\nEnabled=1\r\nFormat=None\r\n", true, 0, {true, TMPPFormat::Ustrd}}),
    [](const auto &info) { return std::string(info.param.Name); });

TEST_F(TForm2Test, UncheckingMPPSavesAtOnceAndKeepsTheSelection) {
  StoreMPP(true, TMPPFormat::Structured);
  const auto window = Open();

  Click(*window, QStringLiteral("ChkMPP"));

  EXPECT_FALSE(Control<QGroupBox>(*window, QStringLiteral("RGrpMPP")).isEnabled());
  EXPECT_TRUE(FormatItem(*window, 1).isChecked());
  EXPECT_FALSE(StoredMPP().Enabled);
  EXPECT_EQ(StoredMPP().Format, TMPPFormat::Structured);
  EXPECT_FALSE(window->CurrentMPPSettings().Enabled);
}

TEST_F(TForm2Test, ChoosingAFormatSavesAtOnce) {
  StoreMPP(true, TMPPFormat::Ustrd);
  const auto window = Open();

  FormatItem(*window, 1).click();

  EXPECT_EQ(window->CurrentMPPSettings().Format, TMPPFormat::Structured);
  EXPECT_TRUE(StoredMPP().Enabled);
  EXPECT_EQ(StoredMPP().Format, TMPPFormat::Structured);
}

TEST_F(TForm2Test, CheckingMPPEnablesTheGroupAndSaves) {
  StoreMPP(false, TMPPFormat::Both);
  const auto window = Open();

  Click(*window, QStringLiteral("ChkMPP"));

  EXPECT_TRUE(Control<QGroupBox>(*window, QStringLiteral("RGrpMPP")).isEnabled());
  EXPECT_TRUE(FormatItem(*window, 2).isChecked());
  EXPECT_TRUE(StoredMPP().Enabled);
  EXPECT_EQ(StoredMPP().Format, TMPPFormat::Both);
}

struct TLogCase {
  const char *Name;
  QString Text;
  bool WithSeparator;
  QStringList Added;
};

class TForm2LogTest : public TForm2Test, public ::testing::WithParamInterface<TLogCase> {};

TEST_P(TForm2LogTest, EveryEntryReachesAllFourLogs) {
  StorePayer();
  const auto window = Open();

  window->AppendLog(GetParam().Text, GetParam().WithSeparator);

  for (const QString &log : LogNames)
    EXPECT_EQ(Lines(*window, log), QStringList{log} + GetParam().Added) << log.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Entries, TForm2LogTest,
    ::testing::Values(TLogCase{"Plain", QStringLiteral("abc"), false, {QStringLiteral("abc")}},
                      TLogCase{"WithSeparator", QStringLiteral("abc"), true, {QStringLiteral("abc"), Separator}},
                      TLogCase{
                          "TwoCrLfPairs",
                          QStringLiteral("Plik: a.xml\r\nFaktura: 7\r\nBłąd: x"),
                          false,
                          {QStringLiteral("Plik: a.xml"), QStringLiteral("Faktura: 7"), QStringLiteral("Błąd: x")}},
                      TLogCase{"BareCrAndLf",
                               QStringLiteral("a\rb\nc"),
                               true,
                               {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), Separator}}),
    [](const auto &info) { return std::string(info.param.Name); });

struct THelpButton {
  const char *Button;
  QString Text;
};

class TForm2HelpTest : public TForm2Test, public ::testing::WithParamInterface<THelpButton> {};

TEST_P(TForm2HelpTest, ShowsThePagesHelp) {
  const auto window = Open();

  Click(*window, QString::fromLatin1(GetParam().Button));

  EXPECT_EQ(Fake.InformationBoxes, QStringList{GetParam().Text});
  EXPECT_TRUE(Control<QPushButton>(*window, QString::fromLatin1(GetParam().Button)).text().isEmpty());
  EXPECT_FALSE(Control<QPushButton>(*window, QString::fromLatin1(GetParam().Button)).icon().isNull());
}

INSTANTIATE_TEST_SUITE_P(
    Pages, TForm2HelpTest,
    ::testing::Values(
        THelpButton{"BitBtn4",
                    QStringLiteral("Wybierz plik XML dla faktury zakupowej KSeF, dla której chcesz stworzyć plik dla "
                                   "potrzeb przelewu w formacie zgodnym z ISO 20022\r\rPotem w ten sposób otrzymany "
                                   "plik będziesz mógł wczytać do programu bankowego.\r\rProgram bankowy w oparciu o "
                                   "ten plik wykona właściwy przelew. ")},
        THelpButton{"BitBtn1",
                    QStringLiteral("Wybierz katalog, w którym znajdują się pliki XML faktur zakupowych, dla których "
                                   "chcesz wygenerować plik dla potrzeb przelewu w formacie zgodnym z ISO "
                                   "20022.\r\rPotem w ten sposób otrzymany plik będziesz mógł wczytać do programu "
                                   "bankowego.\r\rProgram bankowy w oparciu o ten plik wykona właściwy przelew. ")},
        THelpButton{"BitBtn5",
                    QStringLiteral("Wybierz plik IMP wygenerowany w standarcie VideoTel, dla którego chcesz stworzyć "
                                   "plik dla potrzeb przelewu w formacie zgodnym z ISO 20022\r\rPotem w ten sposób "
                                   "otrzymany plik będziesz mógł wczytać do programu bankowego.\r\rProgram bankowy w "
                                   "oparciu o ten plik wykona właściwy przelew. ")}),
    [](const auto &info) { return std::string(info.param.Button); });

TEST_F(TForm2Test, SingleTransferWithEmptyFieldOnlyShowsTheBox) {
  StorePayer();
  const auto window = Open();
  App.WriteBytes(QStringLiteral("PLIKI_DO_BANKU/Pain001.xml"), "old");

  Click(*window, QStringLiteral("Button1"));

  EXPECT_EQ(Fake.InformationBoxes,
            QStringList{QStringLiteral("Pole ścieżki do pliku XML faktury zakupowej KSeF nie może "
                                       "być puste ...\r\rWybierz odpowiedni plik XML. ")});
  EXPECT_TRUE(QFile::exists(OutputFile(QStringLiteral("Pain001.xml"))));
  EXPECT_EQ(Lines(*window, QStringLiteral("MemoLog")), QStringList{QStringLiteral("MemoLog")});
}

struct TSingleRun {
  const char *Name;
  bool Enabled;
  QString Output;
  QString Description;
};

class TForm2SingleRunTest : public TForm2Test, public ::testing::WithParamInterface<TSingleRun> {};

TEST_P(TForm2SingleRunTest, WritesTheTransferFileWithTheWindowsChoice) {
  StorePayer();
  StoreMPP(GetParam().Enabled, TMPPFormat::Structured);
  const auto window = Open();
  Type(*window, QStringLiteral("EdtSciezkaDoPlikuXML"), FixturePath(QStringLiteral("ksef/fa3-default-namespace.xml")));
  Type(*window, QStringLiteral("EdtDodReferencja"), QStringLiteral("zlecenie 12"));

  Click(*window, QStringLiteral("Button1"));

  const QString output = OutputFile(GetParam().Output);
  EXPECT_TRUE(IsValidPain001(output));
  for (const QString &log : LogNames)
    EXPECT_EQ(Lines(*window, log), (QStringList{log,
                                                QStringLiteral("Poprawnie wygenerowano plik [") + output +
                                                    QStringLiteral("] ") + GetParam().Description,
                                                Separator,
                                                QStringLiteral("Rachunków odbiorców nie sprawdzono z białą listą "
                                                               "podatników VAT: nie wczytano jeszcze pliku płaskiego "
                                                               "(przycisk „Wczytaj plik płaski…” na stronie „Funkcje "
                                                               "techniczne” albo pavena-cli biala-lista wczytaj "
                                                               "PLIK).")}));
  EXPECT_EQ(Fake.OpenedFiles, QStringList{output});
}

INSTANTIATE_TEST_SUITE_P(
    SplitPayment, TForm2SingleRunTest,
    ::testing::Values(TSingleRun{"Off", false, QStringLiteral("Pain001.xml"),
                                 QStringLiteral("dla potrzeb przelewu, dla pojedynczej faktury...")},
                      TSingleRun{"On", true, QStringLiteral("Pain001_MPP.xml"),
                                 QStringLiteral("dla potrzeb przelewu, dla pojedynczej faktury (mechanizm MPP)...")}),
    [](const auto &info) { return std::string(info.param.Name); });

TEST_F(TForm2Test, VideoTelTransferSwitchesSplitPaymentOffInTheWindow) {
  StoreMPP(true, TMPPFormat::Structured);
  const auto window = Open();
  Type(*window, QStringLiteral("EdtSciezkaDoPlikuVideoTel"), App.File(QStringLiteral("brak.imp")));

  Click(*window, QStringLiteral("Button5"));

  EXPECT_FALSE(Control<QCheckBox>(*window, QStringLiteral("ChkMPP")).isChecked());
  EXPECT_FALSE(Control<QGroupBox>(*window, QStringLiteral("RGrpMPP")).isEnabled());
  EXPECT_TRUE(FormatItem(*window, 1).isChecked());
  EXPECT_FALSE(StoredMPP().Enabled);
  EXPECT_EQ(StoredMPP().Format, TMPPFormat::Structured);
  EXPECT_EQ(Lines(*window, QStringLiteral("MemoVideoTel")),
            (QStringList{QStringLiteral("MemoVideoTel"), FirstStartLine(),
                         QStringLiteral("Błąd: Brak nazwy firmy w %1: uzupełnij dane Płatnika na stronie „Funkcje "
                                        "techniczne” i naciśnij „Zapisz dane Płatnika” albo wpisz je w sekcji "
                                        "[COMPANY] tego pliku (klucze Name, NIP, IBAN, BIC)")
                             .arg(SettingsFile())}));
}

TEST_F(TForm2Test, ShowVideoTelHandsTheFieldAsTypedToTheEditor) {
  const auto window = Open();
  Type(*window, QStringLiteral("EdtSciezkaDoPlikuVideoTel"), QStringLiteral(" przelewy.imp"));

  Click(*window, QStringLiteral("Button9"));

  EXPECT_EQ(Fake.EditorArguments, QStringList{QStringLiteral(" przelewy.imp")});
}

TEST_F(TForm2Test, PdfButtonHandsTheInvoiceFieldToTheGenerator) {
  StorePayer();
  App.WriteBytes(QStringLiteral("Velmira"), "#!/bin/sh\n");
  QFile(App.File(QStringLiteral("Velmira"))).setPermissions(QFile::ReadOwner | QFile::ExeOwner);
  App.WriteBytes(QStringLiteral("fa.xml"), "<Faktura><Naglowek><SystemInfo>T</SystemInfo></Naglowek></Faktura>");
  Fake.ProcessBehaviour = [this](const TProcessCall &) {
    App.WriteBytes(QStringLiteral("fa.PDF"), "%PDF-1.4");
    TProcessResult ended;
    ended.Started = true;
    return ended;
  };
  const auto window = Open();
  Type(*window, QStringLiteral("EdtSciezkaDoPlikuXML"), App.File(QStringLiteral("fa.xml")));

  Click(*window, QStringLiteral("BtnPodgladPDF"));

  ASSERT_EQ(Fake.ProcessCalls.size(), 1u);
  EXPECT_EQ(Fake.ProcessCalls[0].Arguments.mid(0, 2),
            (QStringList{QStringLiteral("-i"), App.File(QStringLiteral("fa.xml"))}));
  EXPECT_EQ(Fake.OpenedFiles, QStringList{App.File(QStringLiteral("fa.PDF"))});
  EXPECT_EQ(Lines(*window, QStringLiteral("MemoLog")),
            (QStringList{QStringLiteral("MemoLog"),
                         QStringLiteral("Poprawnie wygenerowano plik [") + App.File(QStringLiteral("fa.PDF")) +
                             QStringLiteral("] dla potrzeb podglądu pojedynczej faktury..."),
                         Separator}));
}

TEST_F(TForm2Test, PdfButtonOnAMissingInvoiceOrAFolderShowsTheErrorBox) {
  StorePayer();
  ASSERT_TRUE(QDir(App.Path()).mkdir(QStringLiteral("fa.xml")));
  const auto window = Open();

  for (const char *name : {"brak.xml", "fa.xml"}) {
    Type(*window, QStringLiteral("EdtSciezkaDoPlikuXML"), App.File(QString::fromUtf8(name)));
    Click(*window, QStringLiteral("BtnPodgladPDF"));
  }

  EXPECT_EQ(Fake.ErrorBoxes,
            (QStringList{QStringLiteral("Nie można otworzyć pliku \"brak.xml\": plik nie istnieje."),
                         QStringLiteral("Nie można otworzyć pliku \"fa.xml\": to jest folder, a nie plik.")}));
  EXPECT_TRUE(Fake.ProcessCalls.empty());
  EXPECT_EQ(Lines(*window, QStringLiteral("MemoLog")), QStringList{QStringLiteral("MemoLog")});
}

TEST_F(TForm2Test, SettingsThatCannotBeWrittenAtStartUpShowTheErrorBoxOnce) {
  BlockSettingsFile();

  const auto window = Open();

  EXPECT_EQ(Fake.ErrorBoxes, QStringList{QStringLiteral("Unable to write to ") + SettingsFile()});
  EXPECT_TRUE(FormatItem(*window, 0).isChecked());
  EXPECT_EQ(Control<QTabWidget>(*window, QStringLiteral("Pages")).currentIndex(), 0);
}

TEST_F(TForm2Test, ClickThatCannotSaveShowsTheErrorBoxAndKeepsTheChange) {
  const auto window = Open();
  BlockSettingsFile();

  Click(*window, QStringLiteral("ChkMPP"));

  EXPECT_EQ(Fake.ErrorBoxes, QStringList{QStringLiteral("Unable to write to ") + SettingsFile()});
  EXPECT_TRUE(Control<QCheckBox>(*window, QStringLiteral("ChkMPP")).isChecked());
  EXPECT_TRUE(Control<QGroupBox>(*window, QStringLiteral("RGrpMPP")).isEnabled());
}

TEST_F(TForm2Test, ClosingSavesWhatTheControlsShow) {
  StoreMPP(true, TMPPFormat::Both);
  const auto window = Open();
  StoreMPP(false, TMPPFormat::None);

  EXPECT_TRUE(window->close());

  EXPECT_TRUE(StoredMPP().Enabled);
  EXPECT_EQ(StoredMPP().Format, TMPPFormat::Both);
}

TEST_F(TForm2Test, ClosingWhenSavingFailsStillCloses) {
  const auto window = Open();
  BlockSettingsFile();

  EXPECT_TRUE(window->close());

  EXPECT_EQ(Fake.ErrorBoxes.size(), 1);
  EXPECT_FALSE(window->isVisible());
}

// Everything the start-up loads is in place before the window is first shown.
TEST_F(TForm2Test, TheWindowIsWholeBeforeItIsShown) {
  StorePayer();
  StoreMPP(true, TMPPFormat::None);

  const auto window = OpenHidden();
  EXPECT_EQ(Control<QTabWidget>(*window, QStringLiteral("Pages")).count(), 8);

  EXPECT_EQ(Control<QLineEdit>(*window, QStringLiteral("edtName")).text(), QStringLiteral("Biuro Rachunkowe Kos"));
  EXPECT_TRUE(Control<QCheckBox>(*window, QStringLiteral("ChkMPP")).isChecked());
  EXPECT_EQ(StoredMPP().Format, TMPPFormat::Ustrd) << "the start-up writes the choice back as shown";
  for (const QString &log : LogNames)
    EXPECT_EQ(Lines(*window, log), QStringList{log});
}

// A log written to while its page is hidden shows its newest entry once the page is shown, as
// the manual's pictures do.
TEST_F(TForm2Test, AHiddenPagesLogShowsItsNewestEntryWhenShown) {
  const auto window = Open();
  QCoreApplication::processEvents();
  for (int entry = 0; entry < 60; ++entry)
    window->AppendLog(QStringLiteral("wpis %1").arg(entry), true);

  Control<QTabWidget>(*window, QStringLiteral("Pages")).setCurrentIndex(3);
  QCoreApplication::processEvents();

  const auto &log = Control<QPlainTextEdit>(*window, QStringLiteral("MemoTech"));
  EXPECT_GT(log.verticalScrollBar()->maximum(), 0);
  const QRect newest = log.cursorRect();
  EXPECT_TRUE(log.viewport()->rect().contains(newest))
      << newest.top() << " to " << newest.bottom() << " in " << log.viewport()->height();
}

struct TChooser {
  const char *Button;
  const char *Field;
  QString Title;
  QString Filter; // empty for the directory chooser
};

class TForm2ChooserTest : public TForm2Test, public ::testing::WithParamInterface<TChooser> {};

TEST_P(TForm2ChooserTest, PutsTheChosenPathIntoTheFieldAndKeepsTheFieldWhenCancelled) {
  const auto window = Open();
  auto &field = Control<QLineEdit>(*window, QString::fromLatin1(GetParam().Field));
  field.setText(QStringLiteral("poprzedni"));
  Fake.ChooserAnswers = {QStringLiteral("/dane/wybrany"), QString()};

  Click(*window, QString::fromLatin1(GetParam().Button));
  EXPECT_EQ(field.text(), QStringLiteral("/dane/wybrany"));
  Click(*window, QString::fromLatin1(GetParam().Button));
  EXPECT_EQ(field.text(), QStringLiteral("/dane/wybrany"));

  if (GetParam().Filter.isEmpty()) {
    EXPECT_EQ(Fake.DirectoryChoices, QStringList(2, GetParam().Title));
    return;
  }
  ASSERT_EQ(Fake.FileChoices.size(), 2u);
  const TFileChoice &first = Fake.FileChoices[0];
  EXPECT_EQ(first.Title, GetParam().Title);
  EXPECT_EQ(first.Filter, GetParam().Filter);
  // The chooser starts in the program's directory with the field's text chosen.
  EXPECT_EQ(first.Directory, App.Path() + QStringLiteral("/"));
  EXPECT_EQ(first.Selected, QStringLiteral("poprzedni"));
  EXPECT_EQ(Fake.FileChoices[1].Selected, QStringLiteral("/dane/wybrany"));
}

INSTANTIATE_TEST_SUITE_P(
    Choosers, TForm2ChooserTest,
    ::testing::Values(TChooser{"BtnSciezkaPlik", "EdtSciezkaDoPlikuXML", QStringLiteral("Wybierz plik"),
                               QStringLiteral("Faktury KSeF (*.xml)")},
                      TChooser{"Button2", "EdtSciezkaDoPlikuVideoTel", QStringLiteral("Wybierz plik"),
                               QStringLiteral("Pliki VideoTel (*.imp)")},
                      TChooser{"Button3", "EdtSciezkaDoKatalogu2", QStringLiteral("Wybierz katalog docelowy"), {}}),
    [](const auto &info) { return std::string(info.param.Button); });

} // namespace

namespace {

const QByteArray TwoAccounts = "[Konto1]\r\nOpis=Firmowe PKO\r\nNIP=1111111111\r\nName=Firma Jeden\r\n"
                               "IBAN=PL11111111111111111111111111\r\nBIC=AAAAPLPW\r\n"
                               "[Konto2]\r\nOpis=Walutowe\r\nNIP=2222222222\r\nName=Firma Dwa\r\n"
                               "IBAN=PL22222222222222222222222222\r\nBIC=BBBBPLPW\r\n";

// The payer fields take the settings at start-up; the remembered account of the register
// then replaces them, and the grid on the page "Banki" shows the register.
TEST_F(TForm2Test, StartUpShowsTheRememberedAccountAndTheRegister) {
  StorePayer();
  App.WriteBytes(QStringLiteral("BANKI.INI"), TwoAccounts);
  {
    TIniFile settings(SettingsFile());
    settings.WriteString(QStringLiteral("Program"), QStringLiteral("LastBank"), QStringLiteral("Konto2"));
    settings.Save();
  }
  const auto window = OpenHidden();
  EXPECT_EQ(Control<QLineEdit>(*window, QStringLiteral("edtName")).text(), QStringLiteral("Firma Dwa"));
  EXPECT_EQ(Control<QLineEdit>(*window, QStringLiteral("edtIBAN")).text(),
            QStringLiteral("PL22222222222222222222222222"));
  EXPECT_EQ(Control<QComboBox>(*window, QStringLiteral("CmbBank")).currentText(), QStringLiteral("Walutowe"));
  EXPECT_EQ(Control<QTableView>(*window, QStringLiteral("GridBanki")).model()->rowCount(), 2);
  EXPECT_EQ(TSettings::LoadCompany(SettingsFile()).Name, QStringLiteral("Biuro Rachunkowe Kos"))
      << "the settings change only when the payer data is saved";
  window->show();
  const QLabel &payingAccount = Control<QLabel>(*window, QStringLiteral("LblRachunekPrzelewow"));
  EXPECT_FALSE(payingAccount.isHidden());
  EXPECT_EQ(payingAccount.text(),
            QStringLiteral("Przelewy są zlecane z rachunku PL27114020040000300201355387 (Biuro Rachunkowe Kos) "
                           "zapisanego w settings.ini, nie z danych powyżej, dopóki nie naciśniesz „Zapisz dane "
                           "Płatnika”."));

  // The register's account has wrong check digits: saved after Yes.
  Fake.ConfirmAnswers = {true};
  Click(*window, QStringLiteral("BtnZapiszPlatnika"));
  EXPECT_EQ(Fake.Confirmations,
            QStringList{QStringLiteral("Te dane wyglądają na błędne:\r\rIBAN Płatnika: błędne cyfry kontrolne (ISO "
                                       "7064, mod 97-10): to literówka albo cudzy rachunek\r\rZapisać mimo to?")});
  EXPECT_EQ(TSettings::LoadCompany(SettingsFile()).Name, QStringLiteral("Firma Dwa"));
  EXPECT_EQ(Lines(*window, QStringLiteral("MemoTech")).last(),
            QStringLiteral("Dane Płatnika zapisane w pliku [%1]").arg(SettingsFile()));
  EXPECT_TRUE(payingAccount.isHidden());
}

// A field typed into shows at once that transfers still pay from what was saved.
TEST_F(TForm2Test, TypingIntoAPayerFieldNamesTheAccountThatStillPays) {
  StorePayer();
  const auto window = Open();
  const QLabel &payingAccount = Control<QLabel>(*window, QStringLiteral("LblRachunekPrzelewow"));
  EXPECT_TRUE(payingAccount.isHidden());

  QLineEdit &iban = Control<QLineEdit>(*window, QStringLiteral("edtIBAN"));
  iban.selectAll();
  QTest::keyClicks(&iban, QStringLiteral("PL61109010140000071219812874"));
  EXPECT_FALSE(payingAccount.isHidden());
  EXPECT_TRUE(payingAccount.text().contains(QStringLiteral("PL27114020040000300201355387")))
      << payingAccount.text().toStdString();

  // Typed back as it was saved, only in blanks and small letters: the same account.
  iban.selectAll();
  QTest::keyClicks(&iban, QStringLiteral("pl27 1140 2004 0000 3002 0135 5387"));
  EXPECT_TRUE(payingAccount.isHidden());
}

TEST_F(TForm2Test, WithoutARegisterThePayerFieldsShowTheSettings) {
  StorePayer();
  const auto window = Open();
  EXPECT_EQ(Control<QLineEdit>(*window, QStringLiteral("edtName")).text(), QStringLiteral("Biuro Rachunkowe Kos"));
  EXPECT_EQ(Control<QLineEdit>(*window, QStringLiteral("edtNIP")).text(), QStringLiteral("7740001454"));
  EXPECT_EQ(Control<QLineEdit>(*window, QStringLiteral("edtBIC")).text(), QStringLiteral("BREXPLPWXXX"));
  EXPECT_EQ(Control<QComboBox>(*window, QStringLiteral("CmbBank")).currentIndex(), -1);
}

TEST_F(TForm2Test, SendToAuthorTakesThePayerFieldsAsTheyStand) {
  StorePayer();
  const auto window = Open();
  Type(*window, QStringLiteral("edtName"), QStringLiteral("Niezapisana Firma"));
  Fake.ChooserAnswers = {QStringLiteral("/dane/zly.imp")};
  Click(*window, QStringLiteral("BtnSciezkaMail"));
  ASSERT_EQ(Fake.FileChoices.size(), 1u);
  EXPECT_EQ(Fake.FileChoices[0].Title, QStringLiteral("Wybierz plik"));
  EXPECT_EQ(Fake.FileChoices[0].Filter, QStringLiteral("Pliki XML i IMP (*.xml *.imp)"));
  Fake.ConfirmAnswers = {true};

  Click(*window, QStringLiteral("BtnWyslijMail"));

  ASSERT_EQ(Fake.SentMails.size(), 1u);
  EXPECT_EQ(Fake.SentMails[0].Body, QStringLiteral("Niezapisana Firma 7740001454"));
  EXPECT_EQ(Fake.SentMails[0].FileName, QStringLiteral("/dane/zly.imp"));
  EXPECT_EQ(Lines(*window, QStringLiteral("MemoVideoTel")).mid(1),
            QStringList({QString(45, u'-'), QStringLiteral("Plik do autora został wysłany pomyślnie ...")}));

  Click(*window, QStringLiteral("BtnPomocMail"));
  ASSERT_EQ(Fake.InformationBoxes.size(), 1);
  EXPECT_TRUE(Fake.InformationBoxes[0].startsWith(QStringLiteral("Wybierz plik typu XML/IMP,  który chcesz wysłać")));
}

TEST_F(TForm2Test, AProgramThatCannotSendSaysWhyBesideTheDisabledButton) {
  for (const QString &reason :
       {QString(), QStringLiteral("Program zbudowano bez ustawień serwera pocztowego (brak: serwer, hasło)")}) {
    Fake.MailUnavailable = reason;
    const auto window = Open();

    const auto &line = Control<QLabel>(*window, QStringLiteral("LblWysylkaNiedostepna"));
    EXPECT_EQ(Control<QPushButton>(*window, QStringLiteral("BtnWyslijMail")).isEnabled(), reason.isEmpty());
    EXPECT_EQ(line.isHidden(), reason.isEmpty());
    EXPECT_EQ(line.text(),
              reason.isEmpty() ? QString() : QStringLiteral("Wysyłka do autora jest niedostępna. ") + reason);
  }
  EXPECT_TRUE(Fake.Confirmations.isEmpty());
}

TEST_F(TForm2Test, BankPageHelpReachesTheHost) {
  const auto window = Open();
  Click(*window, QStringLiteral("BtnPomocBanki"));
  ASSERT_EQ(Fake.InformationBoxes.size(), 1);
  EXPECT_TRUE(Fake.InformationBoxes.front().startsWith(QStringLiteral("Po wybraniu wiersza w tablicy powyżej")));
}

} // namespace

namespace {

struct TProgramButton {
  const char *Button;
  int Page;
  QString Caption;
};

class TForm2ProgramButtonTest : public TForm2Test, public ::testing::WithParamInterface<TProgramButton> {};

TEST_P(TForm2ProgramButtonTest, StandsOnItsPageWithItsCaption) {
  const auto window = Open();
  const auto &button = Control<QPushButton>(*window, QString::fromLatin1(GetParam().Button));
  EXPECT_TRUE(Control<QTabWidget>(*window, QStringLiteral("Pages")).widget(GetParam().Page)->isAncestorOf(&button));
  EXPECT_EQ(button.text(), GetParam().Caption);
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, TForm2ProgramButtonTest,
    ::testing::Values(TProgramButton{"BtnUtworzSkrot", 3, QStringLiteral("Utwórz skrót\nna pulpicie")},
                      TProgramButton{"BtnInformacja", 3, QStringLiteral("Informacja\no programie")},
                      TProgramButton{"BtnInstrukcja", 4, QStringLiteral("Wyświetl\ninstrukcję\ndo programu")}),
    [](const auto &info) { return std::string(info.param.Button); });

TEST_F(TForm2Test, TheProgramButtonsReachTheirCommands) {
  QDir(App.Path()).mkdir(QStringLiteral("Pulpit"));
  Fake.DesktopFolderPath = App.File(QStringLiteral("Pulpit"));
  App.WriteBytes(QStringLiteral("OpisPrzelewyISO20022.pdf"), "%PDF-1.4");
  const auto window = Open();

  Click(*window, QStringLiteral("BtnUtworzSkrot"));
  Click(*window, QStringLiteral("BtnInformacja"));
  Click(*window, QStringLiteral("BtnInstrukcja"));

  EXPECT_TRUE(QFileInfo(App.File(QStringLiteral("Pulpit/Pavena.desktop"))).isFile());
  EXPECT_EQ(Fake.MessageBoxes, QStringList{QStringLiteral("Skrót został utworzony na pulpicie !!!")});
  ASSERT_EQ(Fake.AboutBoxes.size(), 1u);
  EXPECT_EQ(Fake.AboutBoxes.front().front(), (TAboutLine{QStringLiteral("autor programu"), QStringLiteral("Orsolan")}));
  EXPECT_EQ(Fake.OpenedFiles, QStringList{App.File(QStringLiteral("OpisPrzelewyISO20022.pdf"))});
}

TEST_F(TForm2Test, AShortcutThatCannotBeMadeGoesToTheErrorBox) {
  Fake.DesktopFolderPath = App.File(QStringLiteral("Pulpit"));
  const auto window = Open();

  Click(*window, QStringLiteral("BtnUtworzSkrot"));

  EXPECT_EQ(Fake.ErrorBoxes,
            QStringList{QStringLiteral("Folder pulpitu %1 nie istnieje").arg(App.File(QStringLiteral("Pulpit")))});
  EXPECT_TRUE(Fake.MessageBoxes.isEmpty());
}

} // namespace
