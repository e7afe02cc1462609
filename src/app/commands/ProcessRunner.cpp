#include "app/commands/ProcessRunner.h"

#include <QDeadlineTimer>
#include <QProcess>

namespace {

// Enough for any message; a program that floods standard error must not fill the memory.
constexpr qsizetype MaxErrorOutput = 64 * 1024;

} // namespace

TProcessResult TProcessRunner::Run(const QString &program, const QStringList &arguments, int timeoutMs) {
  const TCancellation never;
  return Run(program, arguments, timeoutMs, never);
}

TProcessResult TProcessRunner::Run(const QString &program, const QStringList &arguments, int timeoutMs,
                                   const TCancellation &cancellation) {
  QProcess process;
  process.setStandardInputFile(QProcess::nullDevice());
  process.setStandardOutputFile(QProcess::nullDevice());
  process.start(program, arguments);
  TProcessResult result;
  if (!process.waitForStarted())
    return result;
  result.Started = true;
  QByteArray errorOutput;
  QDeadlineTimer deadline(timeoutMs);
  // Read standard error as it comes, so that a talkative program never blocks on a full pipe.
  while (process.state() != QProcess::NotRunning && !deadline.hasExpired() && !cancellation.IsCancelled()) {
    process.waitForFinished(static_cast<int>(qMin<qint64>(deadline.remainingTime(), 100)));
    errorOutput += process.readAllStandardError().left(MaxErrorOutput - errorOutput.size());
  }
  if (process.state() != QProcess::NotRunning) {
    result.Cancelled = cancellation.IsCancelled();
    result.TimedOut = !result.Cancelled;
    process.kill();
    process.waitForFinished();
    return result;
  }
  result.Crashed = process.exitStatus() == QProcess::CrashExit;
  result.ExitCode = process.exitCode();
  result.ErrorOutput = QString::fromUtf8(errorOutput);
  return result;
}
