#include "CliArguments.h"
#include "ConsoleHost.h"
#include "WhiteListCli.h"
#include "app/commands/HistoryListing.h"
#include "app/commands/InvoicePdfPreview.h"
#include "app/commands/SendToAuthorCommand.h"
#include "app/commands/SplitPaymentSettings.h"
#include "app/commands/TransferCommands.h"
#include "settings/Settings.h"

#include <QCoreApplication>
#include <cstdio>
#include <exception>

namespace {

enum class TExitCode { Success = 0, Failed = 1, Usage = 2, Warnings = 3 };

// The status the shell sees: scripts test these numbers, so they never change.
constexpr int ExitStatus(TExitCode code) { return static_cast<int>(code); }

// The split-payment choice of settings.ini as the window would show and use it.
TMPPSettings StoredSplitPayment(const TAppPaths &paths) {
  return TSplitPaymentSettings::AsShown(TSettings::LoadMPP(paths.SettingsFile()));
}

bool SendToAuthor(const QString &fileName, const TAppPaths &paths) {
  TConsoleHost console(paths);
  const TCompanyData payer = TSettings::LoadCompany(paths.SettingsFile());
  return TSendToAuthorCommand(console.Host()).SendFileToAuthor(fileName, payer.Name, payer.NIP);
}

bool PreviewPdf(const QString &invoicePath, const TAppPaths &paths) {
  TConsoleHost console(paths);
  return TInvoicePdfPreview(console.Host()).Press(invoicePath);
}

// Streamed to standard output as the journal is read, so a long history needs no memory.
void PrintHistory(const TCliRequest &request, const TAppPaths &paths) {
  const TByteSink out = [](QByteArrayView bytes) { std::fwrite(bytes.data(), 1, std::size_t(bytes.size()), stdout); };
  if (request.Csv)
    WriteHistoryCsv(paths, request.History, out);
  else
    WriteHistoryTable(paths, request.History, out);
  std::fflush(stdout);
}

TTransferResult RunTransfer(const TCliRequest &request, const TAppPaths &paths) {
  paths.CreateWorkDirectories();
  TConsoleHost console(paths);
  TTransferCommands commands(console.Host());
  switch (request.Command) {
  case TCliCommand::Single:
    return commands.PressSingle(request.Input, request.AdditionalReference,
                                request.MPP.value_or(StoredSplitPayment(paths)));
  case TCliCommand::Batch: return commands.PressBatch(request.Input, request.MPP.value_or(StoredSplitPayment(paths)));
  default: return commands.PressVideoTelWithoutSplitPayment(request.Input);
  }
}

} // namespace

int main(int argc, char *argv[]) {
  // Without TZ the C library looks at /etc/localtime again for every local time it works out,
  // in case the system's zone changed meanwhile: twice per invoice (its date and its due date),
  // a tenth of a batch's time. A run lasts seconds; the zone it starts in serves it whole.
  if (!qEnvironmentVariableIsSet("TZ"))
    qputenv("TZ", ":/etc/localtime");
  QCoreApplication application(argc, argv);
  TCliRequest request;
  try {
    request = ParseCliArguments(QCoreApplication::arguments().mid(1));
  } catch (const Exception &error) {
    WriteLines(stderr, QStringLiteral("pavena-cli: ") + error.Message() + u'\n' + CliUsageHint());
    return ExitStatus(TExitCode::Usage);
  }
  if (request.Command == TCliCommand::Help) {
    WriteLines(stdout, CliHelpText(TAppPaths::OfRunningProgram()));
    return ExitStatus(TExitCode::Success);
  }
  if (request.Command == TCliCommand::Version) {
    WriteLines(stdout, QStringLiteral(PAVENA_VERSION));
    return ExitStatus(TExitCode::Success);
  }
  try {
    const TAppPaths paths = TAppPaths::OfRunningProgram();
    if (request.Command == TCliCommand::SendToAuthor)
      return ExitStatus(SendToAuthor(request.Input, paths) ? TExitCode::Success : TExitCode::Failed);
    if (request.Command == TCliCommand::Pdf)
      return ExitStatus(PreviewPdf(request.Input, paths) ? TExitCode::Success : TExitCode::Failed);
    if (IsWhiteListCommand(request.Command))
      return RunWhiteList(request, paths);
    if (request.Command == TCliCommand::History) {
      PrintHistory(request, paths);
      return ExitStatus(TExitCode::Success);
    }
    const TTransferResult result = RunTransfer(request, paths);
    if (!result.Written)
      return ExitStatus(TExitCode::Failed);
    return ExitStatus(request.Strict && result.Warnings > 0 ? TExitCode::Warnings : TExitCode::Success);
  } catch (const std::exception &error) {
    // An error no command reports itself still ends the run with its message, not with an abort.
    WriteLines(stderr, QStringLiteral("Błąd: ") + ErrorMessage(error));
    return ExitStatus(TExitCode::Failed);
  }
}
