#include <QProcess>
#include <gtest/gtest.h>

namespace {

struct TOptionCase {
  const char *Name;
  const char *Program;
  QStringList Arguments;
  // The first line the program prints on standard output.
  QString FirstLine;
};

// Started as over ssh or from a script: no display of any kind, and Qt left to choose its own
// platform, which would abort the window.
void StartWithoutDisplay(QProcess &process, const char *program, const QStringList &arguments) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
    environment.remove(QString::fromLatin1(name));
  process.setProcessEnvironment(environment);
  process.start(QString::fromUtf8(program), arguments);
}

class TProgramWithoutDisplayTest : public ::testing::TestWithParam<TOptionCase> {};

TEST_P(TProgramWithoutDisplayTest, AnswersAndEndsWithStatusZero) {
  QProcess process;
  StartWithoutDisplay(process, GetParam().Program, GetParam().Arguments);
  ASSERT_TRUE(process.waitForFinished(60000)) << process.errorString().toStdString();

  const QString error = QString::fromUtf8(process.readAllStandardError());
  EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << error.toStdString();
  EXPECT_EQ(process.exitCode(), 0) << error.toStdString();
  EXPECT_EQ(error, QString());
  EXPECT_EQ(QString::fromUtf8(process.readAllStandardOutput()).section(u'\n', 0, 0), GetParam().FirstLine);
}

INSTANTIATE_TEST_SUITE_P(
    Options, TProgramWithoutDisplayTest,
    ::testing::Values(
        TOptionCase{"windowVersion", PAVENA_WINDOW, {QStringLiteral("--version")}, QStringLiteral("1.19")},
        TOptionCase{"windowHelp",
                    PAVENA_WINDOW,
                    {QStringLiteral("--help")},
                    QStringLiteral("Użycie: pavena [--help | --version]")},
        TOptionCase{"windowHelpAfterAQtOption",
                    PAVENA_WINDOW,
                    {QStringLiteral("-platform"), QStringLiteral("xcb"), QStringLiteral("-h")},
                    QStringLiteral("Użycie: pavena [--help | --version]")},
        TOptionCase{"cliVersion", PAVENA_CLI, {QStringLiteral("--version")}, QStringLiteral("1.19")}),
    [](const ::testing::TestParamInfo<TOptionCase> &info) { return std::string(info.param.Name); });

// The window itself cannot start there: one Polish explanation instead of Qt's English abort
// and a core dump.
TEST(ProgramWithoutDisplayTest, TheWindowSaysInPolishThatItNeedsADisplayAndEndsWithStatusOne) {
  QProcess process;
  StartWithoutDisplay(process, PAVENA_WINDOW, {QStringLiteral("-platform"), QStringLiteral("xcb")});
  ASSERT_TRUE(process.waitForFinished(60000)) << process.errorString().toStdString();

  EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(process.exitCode(), 1);
  EXPECT_EQ(QString::fromUtf8(process.readAllStandardError()),
            QStringLiteral("Okno programu Pavena potrzebuje sesji graficznej (ekranu), a nie udało się jej otworzyć.\n"
                           "Bez okna te same przekształcenia wykonuje pavena-cli (pavena-cli --help).\n"));
  EXPECT_EQ(process.readAllStandardOutput(), QByteArray());
}

} // namespace
