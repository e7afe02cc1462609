#include "TestSupport.h"
#include "app/commands/AboutProgram.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

// The newest entry of CHANGELOG.md is the version that --version, the about box, the package,
// its Debian changelog and the manual pages name.

namespace {

QString ReadText(const QString &path) {
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
  return QString::fromUtf8(file.readAll());
}

QString Output(const QString &program, const QStringList &arguments) {
  QProcess process;
  process.start(program, arguments);
  EXPECT_TRUE(process.waitForFinished(60000)) << program.toStdString();
  EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
  return QString::fromUtf8(process.readAllStandardOutput());
}

TEST(VersionTest, ProgramPackageChangelogAndManualPagesAgree) {
  const QRegularExpressionMatch newest =
      QRegularExpression(QStringLiteral(R"(^## (\S+) \((\d{4}-\d\d-\d\d)\)$)"), QRegularExpression::MultilineOption)
          .match(ReadText(QStringLiteral(PAVENA_SOURCE_DIR "/CHANGELOG.md")));
  ASSERT_TRUE(newest.hasMatch());
  const QString version = newest.captured(1);
  const QString day = newest.captured(2);

  EXPECT_EQ(Output(QStringLiteral(PAVENA_CLI), {QStringLiteral("--version")}), version + u'\n');
  EXPECT_TRUE(AboutLines(QString(), QString()).contains(TAboutLine{QStringLiteral("wersja"), version}));
  EXPECT_TRUE(ReadText(QStringLiteral(PAVENA_BINARY_DIR "/CPackConfig.cmake"))
                  .contains(QStringLiteral("set(CPACK_PACKAGE_VERSION \"%1\")").arg(version)));
  EXPECT_TRUE(Output(QStringLiteral("gzip"),
                     {QStringLiteral("-dc"), QStringLiteral(PAVENA_BINARY_DIR "/packaging/changelog.gz")})
                  .startsWith(QStringLiteral("pavena (%1) unstable; urgency=medium\n").arg(version)));
  for (const char *page : {"pavena.1", "pavena-cli.1"}) {
    const QString path = QStringLiteral(PAVENA_BINARY_DIR "/packaging/") + QString::fromUtf8(page);
    EXPECT_TRUE(ReadText(path).contains(QStringLiteral(" 1 \"%1\" \"Pavena %2\" ").arg(day, version)))
        << path.toStdString();
  }
}

} // namespace
