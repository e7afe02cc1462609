#include "app/gui/BackgroundProcessRunner.h"

#include <QFileInfo>

TBackgroundProcessRunner::TBackgroundProcessRunner(TBackgroundWork &background) : FBackground(background) {}

TProcessResult TBackgroundProcessRunner::Run(const QString &program, const QStringList &arguments, int timeoutMs) {
  TProcessResult result;
  FBackground.Run(QStringLiteral("Działa program %1").arg(QFileInfo(program).fileName()), [&](TBackgroundTask &task) {
    result = FRunner.Run(program, arguments, timeoutMs, task.Cancellation);
  });
  return result;
}
