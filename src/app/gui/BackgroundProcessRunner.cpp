#include "app/gui/BackgroundProcessRunner.h"

#include <QFileInfo>
#include <atomic>

TBackgroundProcessRunner::TBackgroundProcessRunner(TBackgroundWork &background) : FBackground(background) {}

TProcessResult TBackgroundProcessRunner::Run(const QString &program, const QStringList &arguments, int timeoutMs) {
  std::atomic<bool> cancelled = false;
  TProcessResult result;
  FBackground.Run(
      QStringLiteral("Działa program %1").arg(QFileInfo(program).fileName()),
      [&] { result = FRunner.Run(program, arguments, timeoutMs, cancelled); }, [&] { cancelled = true; });
  return result;
}
