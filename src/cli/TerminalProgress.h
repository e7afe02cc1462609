#pragma once

#include "whitelist/LoadProgress.h"

// The percentage of a long piece of work on one line of the terminal; nothing when standard
// error is not a terminal, so that logs and pipes get only the outcome. The line is wiped when
// the object goes.
class TTerminalProgress : public IProgress {
public:
  explicit TTerminalProgress(const char *action);
  ~TTerminalProgress() override;
  TTerminalProgress(const TTerminalProgress &) = delete;
  TTerminalProgress &operator=(const TTerminalProgress &) = delete;

  void Report(qint64 done, qint64 total) override;
  bool Cancelled() const override { return false; }

private:
  const char *FAction;
  bool FShown;
  int FPercent = -1;
};
