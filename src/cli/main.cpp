#include "CliArguments.h"
#include "CliHelp.h"
#include "ConsoleHost.h"
#include "KsefCli.h"
#include "WhiteListCli.h"
#include "app/commands/DueInvoiceCommands.h"
#include "app/commands/HistoryListing.h"
#include "app/commands/InvoicePdfPreview.h"
#include "app/commands/SendToAuthorCommand.h"
#include "app/commands/SplitPaymentSettings.h"
#include "app/commands/TransferCommands.h"
#include "app/commands/TransferFileWithdrawal.h"
#include "ksefapi/KsefConnection.h"
#include "model/Exception.h"
#include "settings/Settings.h"

#include <QCoreApplication>
#include <QDateTime>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <exception>
#include <functional>

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

// Standard output refused what was written to it.
struct TOutputFailed {
  int Error = 0;
};

void CheckOutput(bool written) {
  if (!written)
    throw TOutputFailed{errno};
}

// A listing (historia, ksef lista, do-zaplaty), streamed to standard output as it is read, so a
// long one needs no memory. A reader that stops early ("historia | head") ends the listing
// without a word: it has all it wanted.
bool PrintListing(const std::function<void(const TByteSink &)> &write) {
  const TByteSink out = [](QByteArrayView bytes) {
    CheckOutput(std::fwrite(bytes.data(), 1, std::size_t(bytes.size()), stdout) == std::size_t(bytes.size()));
  };
  try {
    write(out);
    CheckOutput(std::fflush(stdout) == 0);
    return true;
  } catch (const TOutputFailed &failure) {
    if (failure.Error == EPIPE)
      return true;
    WriteLines(stderr, QStringLiteral("Błąd: Nie można pisać na standardowe wyjście."));
    return false;
  }
}

// historia --wycofaj / --przywroc: the line saying what was done.
void ChangeHistory(const TCliRequest &request, const TAppPaths &paths) {
  WriteLines(stdout, request.WithdrawFile
                         ? WithdrawTransferFile(paths, *request.WithdrawFile, QDateTime::currentDateTime())
                         : RestoreTransferFile(paths, *request.RestoreFile));
}

TTransferResult RunTransfer(const TCliRequest &request, const TAppPaths &paths) {
  paths.CreateWorkDirectories();
  TConsoleHost console(paths);
  TTransferCommands commands(console.Host());
  if (request.Command == TCliCommand::Single)
    return commands.PressSingle(request.Input, request.AdditionalReference,
                                request.MPP.value_or(StoredSplitPayment(paths)));
  if (request.Command == TCliCommand::Batch)
    return commands.PressBatch(request.Input, request.MPP.value_or(StoredSplitPayment(paths)));
  return commands.PressVideoTelWithoutSplitPayment(request.Input);
}

int RunTransferCommand(const TCliRequest &request, const TAppPaths &paths) {
  const TTransferResult result = RunTransfer(request, paths);
  if (!result.Written)
    return ExitStatus(TExitCode::Failed);
  return ExitStatus(request.Strict && result.Warnings > 0 ? TExitCode::Warnings : TExitCode::Success);
}

int RunHistory(const TCliRequest &request, const TAppPaths &paths) {
  if (request.WithdrawFile || request.RestoreFile) {
    ChangeHistory(request, paths);
    return ExitStatus(TExitCode::Success);
  }
  const bool printed = PrintListing(
      [&](const TByteSink &out) { (request.Csv ? WriteHistoryCsv : WriteHistoryTable)(paths, request.History, out); });
  return ExitStatus(printed ? TExitCode::Success : TExitCode::Failed);
}

int RunKsefList(const TCliRequest &request, const TAppPaths &paths) {
  // Without --srodowisko: the environment the downloads go to.
  const QString environment = request.KsefEnvironment.isEmpty()
                                  ? KsefConnectionFromSettings(paths.SettingsFile()).Environment
                                  : request.KsefEnvironment;
  const bool printed = PrintListing([&](const TByteSink &out) {
    (request.Csv ? WriteKsefInvoiceCsv : WriteKsefInvoiceTable)(paths, request.History, environment, out);
  });
  return ExitStatus(printed ? TExitCode::Success : TExitCode::Failed);
}

int RunDueInvoices(const TCliRequest &request, const TAppPaths &paths) {
  if (!request.MarkPaidOutside.isEmpty() || !request.UndoPaidOutside.isEmpty()) {
    WriteLines(stdout, request.MarkPaidOutside.isEmpty() ? UndoPaidOutside(paths, request.UndoPaidOutside)
                                                         : MarkPaidOutside(paths, request.MarkPaidOutside, request.Note,
                                                                           QDateTime::currentDateTime()));
    return ExitStatus(TExitCode::Success);
  }
  TDueInvoiceFiles source(paths);
  const QDateTime now = QDateTime::currentDateTime();
  const std::vector<TDueInvoice> invoices = ReadDueInvoices(paths, source, now);
  if (!request.CreateDueTransfer) {
    std::vector<const TDueInvoice *> shown;
    for (const TDueInvoice &invoice : invoices)
      if (DueFilterPasses(request.Due, invoice))
        shown.push_back(&invoice);
    const bool printed = PrintListing([&](const TByteSink &out) {
      if (request.Csv)
        WriteDueCsv(shown, out);
      else
        WriteDueTable(shown, out);
    });
    for (const QString &warning : DueWarnings(shown))
      WriteLines(stderr, QStringLiteral("Uwaga: ") + warning);
    return ExitStatus(printed ? TExitCode::Success : TExitCode::Failed);
  }
  paths.CreateWorkDirectories();
  TConsoleHost console(paths);
  QStringList unknown;
  const std::vector<TDueInvoice> chosen =
      ChooseDueInvoices(invoices, request.DueKsefNumbers, request.Due.DueUpTo, unknown);
  for (const QString &number : unknown)
    console.Host().Log.AppendWarning(
        QStringLiteral("Pominięto: numer KSeF %1, nie ma takiej faktury w FAKTURY_KSEF.").arg(number));
  TTransferResult result = CreateDueTransfer(console.Host(), chosen, request.MPP.value_or(StoredSplitPayment(paths)));
  if (!result.Written)
    return ExitStatus(TExitCode::Failed);
  result.Warnings += unknown.size();
  return ExitStatus(request.Strict && result.Warnings > 0 ? TExitCode::Warnings : TExitCode::Success);
}

// Every command by name, so that one added to the table and not run here is a compiler warning.
int Run(const TCliRequest &request, const TAppPaths &paths) {
  switch (request.Command) {
  case TCliCommand::Help:
    WriteLines(stdout, request.HelpTopic.isEmpty() ? CliHelpText(paths) : CliCommandHelpText(request.HelpTopic));
    return ExitStatus(TExitCode::Success);
  case TCliCommand::Version: WriteLines(stdout, QStringLiteral(PAVENA_VERSION)); return ExitStatus(TExitCode::Success);
  case TCliCommand::Single:
  case TCliCommand::Batch:
  case TCliCommand::VideoTel: return RunTransferCommand(request, paths);
  case TCliCommand::SendToAuthor:
    return ExitStatus(SendToAuthor(request.Input, paths) ? TExitCode::Success : TExitCode::Failed);
  case TCliCommand::Pdf: return ExitStatus(PreviewPdf(request.Input, paths) ? TExitCode::Success : TExitCode::Failed);
  case TCliCommand::WhiteListLoad:
  case TCliCommand::WhiteListCheck:
  case TCliCommand::WhiteListDownload: return RunWhiteList(request, paths);
  case TCliCommand::History: return RunHistory(request, paths);
  case TCliCommand::KsefDownload: return RunKsefDownload(request, paths);
  case TCliCommand::KsefList: return RunKsefList(request, paths);
  case TCliCommand::DueInvoices: return RunDueInvoices(request, paths);
  }
  // Not reached: the switch names every command.
  return ExitStatus(TExitCode::Failed);
}

} // namespace

int main(int argc, char *argv[]) {
  // Without TZ the C library looks at /etc/localtime again for every local time it works out,
  // in case the system's zone changed meanwhile: twice per invoice (its date and its due date),
  // a tenth of a batch's time. A run lasts seconds; the zone it starts in serves it whole.
  if (!qEnvironmentVariableIsSet("TZ"))
    qputenv("TZ", ":/etc/localtime");
  // A closed output is a failed write to notice, not a signal that ends the program midway.
  std::signal(SIGPIPE, SIG_IGN);
  QCoreApplication application(argc, argv);
  TCliRequest request;
  try {
    request = ParseCliArguments(QCoreApplication::arguments().mid(1));
  } catch (const Exception &error) {
    WriteLines(stderr, QStringLiteral("pavena-cli: ") + error.Message() + u'\n' +
                           CliUsageHint(QCoreApplication::arguments().mid(1)));
    return ExitStatus(TExitCode::Usage);
  }
  try {
    return Run(request, TAppPaths::OfRunningProgram());
  } catch (const std::exception &error) {
    // An error no command reports itself still ends the run with its message, not with an abort.
    WriteLines(stderr, QStringLiteral("Błąd: ") + ErrorMessage(error));
    return ExitStatus(TExitCode::Failed);
  }
}
