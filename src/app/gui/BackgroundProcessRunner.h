#pragma once

#include "app/commands/ProcessRunner.h"
#include "app/gui/BackgroundWork.h"

// The window's runner of outside programs: each runs off the window's thread, with "Anuluj".
class TBackgroundProcessRunner : public IProcessRunner {
public:
  explicit TBackgroundProcessRunner(TBackgroundWork &background);

  TProcessResult Run(const QString &program, const QStringList &arguments, int timeoutMs) override;

private:
  TBackgroundWork &FBackground;
  TProcessRunner FRunner;
};
