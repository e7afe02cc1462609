#include "WhiteListCli.h"

#include "ConsoleHost.h"
#include "TerminalProgress.h"
#include "app/commands/WhiteListCommands.h"

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
