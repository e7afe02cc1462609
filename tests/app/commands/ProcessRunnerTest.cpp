#include "TestSupport.h"
#include "app/commands/ProcessRunner.h"

namespace {

const QString Shell = QStringLiteral("/bin/sh");

TEST(ProcessRunner, GivesTheExitStatusAndWhatWentToStandardError) {
  const TProcessResult result = TProcessRunner().Run(
      Shell, {QStringLiteral("-c"), QStringLiteral("echo out; echo 'zły plik' >&2; exit 3")}, 10000);

  EXPECT_TRUE(result.Started);
  EXPECT_FALSE(result.TimedOut);
  EXPECT_FALSE(result.Crashed);
  EXPECT_EQ(result.ExitCode, 3);
  EXPECT_EQ(result.ErrorOutput, QStringLiteral("zły plik\n"));
}

TEST(ProcessRunner, EndsAProgramThatRunsPastItsTime) {
  const TProcessResult result = TProcessRunner().Run(Shell, {QStringLiteral("-c"), QStringLiteral("sleep 30")}, 300);

  EXPECT_TRUE(result.Started);
  EXPECT_TRUE(result.TimedOut);
}

TEST(ProcessRunner, TellsAProgramThatCannotStart) {
  TTempDir dir;
  EXPECT_FALSE(TProcessRunner().Run(dir.File(QStringLiteral("brak")), {}, 1000).Started);
}

} // namespace
