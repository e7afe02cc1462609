#include "WhiteListCli.h"

#include "ConsoleHost.h"
#include "app/commands/WhiteListCommands.h"

#include <cstdio>
#include <unistd.h>

namespace {

// The percentage on one line of the terminal; nothing when standard error is not a terminal,
// so that logs and pipes get only the outcome.
class TTerminalProgress : public IProgress {
public:
  explicit TTerminalProgress(const char *action) : FAction(action), FShown(::isatty(STDERR_FILENO) == 1) {}
  ~TTerminalProgress() override {
    if (FShown && FPercent >= 0)
      std::fputs("\r\033[K", stderr);
  }
  TTerminalProgress(const TTerminalProgress &) = delete;
  TTerminalProgress &operator=(const TTerminalProgress &) = delete;

  void Report(qint64 done, qint64 total) override {
    if (!FShown || total <= 0)
      return;
    const int percent = int(std::min<qint64>(100, done * 100 / total));
    if (percent == FPercent)
      return;
    FPercent = percent;
    std::fprintf(stderr, "\r%s: %d%%", FAction, percent);
    std::fflush(stderr);
  }
  bool Cancelled() const override { return false; }

private:
  const char *FAction;
  bool FShown;
  int FPercent = -1;
};

} // namespace

int RunWhiteList(const TCliRequest &request, const TAppPaths &paths) {
  TConsoleHost console(paths);
  TWhiteListCommands commands(console.Host());
  switch (request.Command) {
  case TCliCommand::WhiteListLoad: {
    TTerminalProgress progress("Wczytywanie");
    return commands.Load(request.Input, progress) ? 0 : 1;
  }
  case TCliCommand::WhiteListDownload: {
    TTerminalProgress progress("Pobieranie i wczytywanie");
    return commands.Download(request.Day, progress) ? 0 : 1;
  }
  default:
    switch (commands.CheckAccount(request.Input, request.Account, request.Day)) {
    case TAccountCheck::Found: return 0;
    case TAccountCheck::Malformed: return 2;
    default: return 1;
    }
  }
}
