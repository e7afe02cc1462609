#include "TerminalProgress.h"

#include <algorithm>
#include <cstdio>
#include <unistd.h>

TTerminalProgress::TTerminalProgress(const char *action) : FAction(action), FShown(::isatty(STDERR_FILENO) == 1) {}

TTerminalProgress::~TTerminalProgress() {
  if (FShown && FPercent >= 0)
    std::fputs("\r\033[K", stderr);
}

void TTerminalProgress::Report(qint64 done, qint64 total) {
  if (!FShown || total <= 0)
    return;
  const int percent = int(std::min<qint64>(100, done * 100 / total));
  if (percent == FPercent)
    return;
  FPercent = percent;
  std::fprintf(stderr, "\r%s: %d%%", FAction, percent);
  std::fflush(stderr);
}
