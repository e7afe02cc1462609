#include "TestSupport.h"
#include "app/commands/ProcessRunner.h"

#include <QFile>
#include <sys/stat.h>
#include <thread>

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
  const TProcessResult result =
      TProcessRunner().Run(Shell, {QStringLiteral("-c"), QStringLiteral("exec sleep 30")}, 300);

  EXPECT_TRUE(result.Started);
  EXPECT_TRUE(result.TimedOut);
}

// The program says through a pipe that it runs; only then is it cancelled, and it is ended at
// once although its time is far from over.
TEST(ProcessRunner, EndsAProgramWhenCancelled) {
  TTempDir dir;
  const QString pipe = dir.File(QStringLiteral("running"));
  ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
  TCancellation cancellation;
  std::thread canceller([&] {
    QFile running(pipe);
    if (running.open(QIODevice::ReadOnly))
      running.readLine();
    cancellation.Cancel();
  });
  const TProcessResult result = TProcessRunner().Run(
      Shell, {QStringLiteral("-c"), QStringLiteral("echo ja > \"$0\"; exec sleep 600"), pipe}, 600000, cancellation);
  canceller.join();

  EXPECT_TRUE(result.Started);
  EXPECT_TRUE(result.Cancelled);
  EXPECT_FALSE(result.TimedOut);
}

TEST(ProcessRunner, TellsAProgramThatCannotStart) {
  TTempDir dir;
  EXPECT_FALSE(TProcessRunner().Run(dir.File(QStringLiteral("brak")), {}, 1000).Started);
}

} // namespace
