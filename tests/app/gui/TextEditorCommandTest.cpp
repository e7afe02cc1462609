#include "app/gui/TextEditorCommand.h"

#include "TestSupport.h"

#include <QDir>
#include <QFile>

namespace {

struct TExecCase {
  const char *Name;
  QString Exec;
  std::optional<QStringList> Command;
};

// Blanks inside and around the argument must reach the editor untouched.
const QString Argument = QStringLiteral(" a b.imp");

class TCommandFromExecTest : public ::testing::TestWithParam<TExecCase> {};

TEST_P(TCommandFromExecTest, PutsTheArgumentInPlaceOfTheFileCode) {
  EXPECT_EQ(CommandFromExec(GetParam().Exec, Argument), GetParam().Command);
}

INSTANTIATE_TEST_SUITE_P(
    Values, TCommandFromExecTest,
    ::testing::Values(TExecCase{"FileList", QStringLiteral("gedit %U"), QStringList{QStringLiteral("gedit"), Argument}},
                      TExecCase{"FileCodeAmongOptions", QStringLiteral("/usr/bin/mousepad --new-window %f --x"),
                                QStringList{QStringLiteral("/usr/bin/mousepad"), QStringLiteral("--new-window"),
                                            Argument, QStringLiteral("--x")}},
                      TExecCase{"NoFileCode", QStringLiteral("kate  -b"),
                                QStringList{QStringLiteral("kate"), QStringLiteral("-b"), Argument}},
                      TExecCase{"IconAndPercentCodes", QStringLiteral("xed %i %F %% %c"),
                                QStringList{QStringLiteral("xed"), Argument, QStringLiteral("%")}},
                      TExecCase{"TwoFileCodes", QStringLiteral("pluma %f %u"),
                                QStringList{QStringLiteral("pluma"), Argument}},
                      TExecCase{"Quoted", QStringLiteral("\"/opt/My Editor/edit\" %f"), std::nullopt},
                      TExecCase{"ShellVariable", QStringLiteral("sh -c \"$EDITOR\" %f"), std::nullopt},
                      TExecCase{"CodeInsideAWord", QStringLiteral("editor --file=%f"), std::nullopt},
                      TExecCase{"CodeAsProgram", QStringLiteral("%f"), std::nullopt},
                      TExecCase{"Empty", QString(), std::nullopt}),
    [](const auto &info) { return std::string(info.param.Name); });

TEST(ReadDesktopEntryTest, ReadsExecAndTerminalOfTheMainGroupOnly) {
  TTempDir dir;
  dir.WriteBytes(QStringLiteral("editor.desktop"), "[Desktop Action new]\nExec=editor --new\n\n"
                                                   "[Desktop Entry]\n# comment\nName=Edytor\nExec[pl]=edytor\n"
                                                   "Exec = editor %F\nTerminal=true\n");

  const std::optional<TDesktopEntry> entry = ReadDesktopEntry(dir.File(QStringLiteral("editor.desktop")));

  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->Exec, QStringLiteral("editor %F"));
  EXPECT_TRUE(entry->Terminal);
  EXPECT_FALSE(ReadDesktopEntry(dir.File(QStringLiteral("missing.desktop"))));
}

// A desktop made of files: PATH and the XDG data folders point into a temporary directory that
// holds stand-in programs and desktop entries.
class TTextEditorCommandTest : public ::testing::Test {
protected:
  void SetUp() override {
    for (const char *name : {"PATH", "XDG_DATA_HOME", "XDG_DATA_DIRS"})
      FSaved.emplace_back(name, qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
    QDir().mkpath(Dir.File(QStringLiteral("bin")));
    QDir().mkpath(Dir.File(QStringLiteral("share/applications")));
    qputenv("PATH", Dir.File(QStringLiteral("bin")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", Dir.File(QStringLiteral("share")).toLocal8Bit());
    qputenv("XDG_DATA_DIRS", Dir.File(QStringLiteral("none")).toLocal8Bit());
  }
  void TearDown() override {
    for (const auto &[name, value] : FSaved)
      value ? qputenv(name, *value) : qunsetenv(name);
  }

  QString Program(const QString &name, const QByteArray &script = "#!/bin/sh\n") const {
    const QString path = Dir.File(QStringLiteral("bin/") + name);
    Dir.WriteBytes(QStringLiteral("bin/") + name, script);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
  }
  void DefaultApplication(const QByteArray &desktopId) const {
    Program(QStringLiteral("xdg-mime"), "#!/bin/sh\necho " + desktopId + "\n");
  }
  void Entry(const QString &desktopId, const QByteArray &content) const {
    Dir.WriteBytes(QStringLiteral("share/applications/") + desktopId, content);
  }

  TTempDir Dir;

private:
  std::vector<std::pair<const char *, std::optional<QByteArray>>> FSaved;
};

TEST_F(TTextEditorCommandTest, StartsTheDefaultApplicationForPlainText) {
  const QString editor = Program(QStringLiteral("edytor"));
  Program(QStringLiteral("gedit"));
  DefaultApplication("edytor.desktop");
  Entry(QStringLiteral("edytor.desktop"), "[Desktop Entry]\nExec=edytor --standalone %F\n");

  EXPECT_EQ(TextEditorCommand(QStringLiteral(" a.imp")),
            (QStringList{editor, QStringLiteral("--standalone"), QStringLiteral(" a.imp")}));
}

TEST_F(TTextEditorCommandTest, LeavesAnIntricateCommandLineToGtkLaunch) {
  const QString gtkLaunch = Program(QStringLiteral("gtk-launch"));
  DefaultApplication("org.example.Edit.desktop");
  Entry(QStringLiteral("org.example.Edit.desktop"), "[Desktop Entry]\nExec=sh -c \"edit $1\" %f\n");

  EXPECT_EQ(TextEditorCommand(QStringLiteral("a.imp")),
            (QStringList{gtkLaunch, QStringLiteral("org.example.Edit.desktop"), QStringLiteral("a.imp")}));
}

TEST_F(TTextEditorCommandTest, PassesOverAnEditorInATerminal) {
  Program(QStringLiteral("nano"));
  Program(QStringLiteral("gtk-launch"));
  const QString mousepad = Program(QStringLiteral("mousepad"));
  DefaultApplication("nano.desktop");
  Entry(QStringLiteral("nano.desktop"), "[Desktop Entry]\nExec=nano %F\nTerminal=true\n");

  EXPECT_EQ(TextEditorCommand(QStringLiteral("a.imp")), (QStringList{mousepad, QStringLiteral("a.imp")}));
}

TEST_F(TTextEditorCommandTest, FallsBackToXdgOpenAndThenToNothing) {
  EXPECT_TRUE(TextEditorCommand(QStringLiteral("a.imp")).isEmpty());

  const QString xdgOpen = Program(QStringLiteral("xdg-open"));
  EXPECT_EQ(TextEditorCommand(QStringLiteral("a.imp")), (QStringList{xdgOpen, QStringLiteral("a.imp")}));
}

} // namespace
