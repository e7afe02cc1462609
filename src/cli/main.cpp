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

enum TExitCode { ecSuccess = 0, ecFailed = 1, ecUsage = 2, ecWarnings = 3 };

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
    return ecUsage;
  }
  if (request.Command == TCliCommand::Help) {
    WriteLines(stdout, CliHelpText(TAppPaths::OfRunningProgram()));
    return ecSuccess;
  }
  if (request.Command == TCliCommand::Version) {
    WriteLines(stdout, QStringLiteral(PAVENA_VERSION));
    return ecSuccess;
  }
  try {
    const TAppPaths paths = TAppPaths::OfRunningProgram();
    if (request.Command == TCliCommand::SendToAuthor)
      return SendToAuthor(request.Input, paths) ? ecSuccess : ecFailed;
    if (request.Command == TCliCommand::Pdf)
      return PreviewPdf(request.Input, paths) ? ecSuccess : ecFailed;
    if (IsWhiteListCommand(request.Command))
      return RunWhiteList(request, paths);
    if (request.Command == TCliCommand::History) {
      PrintHistory(request, paths);
      return ecSuccess;
    }
    const TTransferResult result = RunTransfer(request, paths);
    if (!result.Written)
      return ecFailed;
    return request.Strict && result.Warnings > 0 ? ecWarnings : ecSuccess;
  } catch (const std::exception &error) {
    // An error no command reports itself still ends the run with its message, not with an abort.
    WriteLines(stderr, QStringLiteral("Błąd: ") + ErrorMessage(error));
    return ecFailed;
  }
}
