#include "app/commands/TransferCommands.h"

#include "app/commands/BatchInvoices.h"
#include "app/commands/InvoiceDirectory.h"
#include "app/commands/JournalPlace.h"
#include "app/commands/OutputAsInput.h"
#include "app/commands/PayerDataSettings.h"
#include "app/commands/SplitPaymentSettings.h"
#include "app/commands/TransferJournal.h"
#include "checks/StandardTitleChecks.h"
#include "checks/TransferChecks.h"
#include "checks/TransferFileCheck.h"
#include "journal/TransferTitles.h"
#include "iso20022/Pain001Generator.h"
#include "iso20022/Pain001Limits.h"
#include "iso20022/Pain001Writer.h"
#include "ksef/KsefInvoiceReader.h"
#include "model/Exception.h"
#include "model/Text.h"
#include "settings/Settings.h"
#include "videotel/VideoTelImport.h"

#include <QFile>
#include <algorithm>

namespace {

const QString SingleOutput = QStringLiteral("Pain001.xml");
const QString SingleMPPOutput = QStringLiteral("Pain001_MPP.xml");
const QString BatchOutput = QStringLiteral("Pain001Paczka.xml");
const QString BatchMPPOutput = QStringLiteral("Pain001Paczka_MPP.xml");
const QString VideoTelOutput = QStringLiteral("Pain001VideoTel.xml");

const QString SingleEmptyFieldHelp = QStringLiteral(
    "Pole ścieżki do pliku XML faktury zakupowej KSeF nie może być puste ...\r\rWybierz odpowiedni plik XML. ");
const QString BatchEmptyFieldHelp = QStringLiteral(
    "Pole ścieżki do katalogu z plikami XML dla faktur zakupowych KSeF nie może być puste ...\r\rWybierz odpowiedni "
    "katalog. ");
const QString VideoTelEmptyFieldHelp =
    QStringLiteral("Pole ścieżki do pliku IMP nie może być puste ...\r\rWybierz odpowiedni plik IMP. ");
const QString ShowVideoTelEmptyFieldHelp = QStringLiteral(
    "Pole ścieżki do pliku w formacie VideoTel-a nie może być puste ...\r\rWybierz odpowiedni plik IMP. ");

QString BatchOutputName(const TMPPSettings &mpp) { return mpp.Enabled ? BatchMPPOutput : BatchOutput; }

QString BatchDescription(const TMPPSettings &mpp) {
  return mpp.Enabled ? QStringLiteral("dla potrzeb przelewu, dla paczki faktur (mechanizm MPP) ...")
                     : QStringLiteral("dla potrzeb przelewu, dla paczki faktur ...");
}

void RemoveIfPresent(const QString &fileName) {
  if (QFile::exists(fileName))
    QFile::remove(fileName);
}

// The single-invoice file cuts the address parts itself: a town too long for its field travels
// whole in the street field, in place of the street.
TPayment WithSingleTransferAddress(TPayment invoice) {
  const QString town = invoice.CreditorTwnNm;
  invoice.CreditorStrtNm = invoice.CreditorStrtNm.left(TPain001Limits::StrtNm);
  invoice.CreditorTwnNm = town.isEmpty() ? QStringLiteral("Brak miasta") : town.left(TPain001Limits::TwnNm);
  if (town.size() > TPain001Limits::TwnNm)
    invoice.CreditorStrtNm = town.left(TPain001Limits::StrtNm);
  return invoice;
}

} // namespace

TTransferCommands::TTransferCommands(THost &host) : FHost(host) {}

TTransferResult TTransferCommands::PressSingle(const QString &invoicePath, const QString &additionalReference,
                                               const TMPPSettings &mpp) {
  if (!IsFilled(invoicePath, SingleEmptyFieldHelp))
    return {};
  return CreateSingleTransfer(invoicePath, additionalReference, mpp);
}

TTransferResult TTransferCommands::PressBatch(const QString &directory, const TMPPSettings &mpp) {
  if (!IsFilled(directory, BatchEmptyFieldHelp))
    return {};
  return CreateBatchTransfer(directory, mpp);
}

TTransferResult TTransferCommands::PressVideoTel(const QString &videoTelPath, TSplitPaymentSettings &mpp) {
  if (!IsFilled(videoTelPath, VideoTelEmptyFieldHelp))
    return {};
  mpp.SwitchOff();
  return CreateVideoTelTransfer(videoTelPath, mpp.Current());
}

TTransferResult TTransferCommands::PressVideoTelWithoutSplitPayment(const QString &videoTelPath) {
  if (!IsFilled(videoTelPath, VideoTelEmptyFieldHelp))
    return {};
  return CreateVideoTelTransfer(videoTelPath, TMPPSettings{});
}

void TTransferCommands::PressShowVideoTel(const QString &videoTelPath) {
  // Unlike the transfer button, a field of blanks counts as empty here; the editor still gets
  // the text as typed.
  if (Trim(videoTelPath).isEmpty())
    FHost.Dialogs.ShowInformation(ShowVideoTelEmptyFieldHelp);
  else
    FHost.Desktop.OpenInTextEditor(videoTelPath);
}

TTransferResult TTransferCommands::CreateSingleTransfer(const QString &invoicePath, const QString &additionalReference,
                                                        const TMPPSettings &mpp) {
  const QString outputName = mpp.Enabled ? SingleMPPOutput : SingleOutput;
  const QString description = mpp.Enabled
                                  ? QStringLiteral("dla potrzeb przelewu, dla pojedynczej faktury (mechanizm MPP)...")
                                  : QStringLiteral("dla potrzeb przelewu, dla pojedynczej faktury...");
  return Transfer(TJournalCommand::Single, mpp, outputName, description, [&](const TTransferRun &run) {
    RefuseOutputAsInput({invoicePath}, OutputsOf(SingleOutput, SingleMPPOutput, mpp));
    const TPayment invoice = TKsefInvoiceReader::LoadFromFile(invoicePath, run.Now);
    // The checks see the address before it is cut to the transfer's fields.
    TWrittenTransfers written{{invoice}, CheckSplitPayment(0, invoice, mpp)};
    if (!invoice.CurrencyCode.isEmpty())
      written.Currency = invoice.CurrencyCode;
    written.Findings += CheckStandardTitle(0, invoice, additionalReference, mpp);
    written.Findings += CheckStructuredReference(0, invoice, mpp);
    written.Findings += CheckSplitPaymentFormat(mpp);
    if (!mpp.Enabled)
      RemoveEarlierOutput(SingleOutput, SingleMPPOutput);
    TPain001Generator::Generate(WithSingleTransferAddress(invoice), run.Company, mpp, run.OutputFile,
                                additionalReference, run.Now);
    return written;
  });
}

TTransferResult TTransferCommands::CreateBatchTransfer(const QString &directory, const TMPPSettings &mpp) {
  return Transfer(TJournalCommand::Batch, mpp, BatchOutputName(mpp), BatchDescription(mpp),
                  [&](const TTransferRun &run) {
                    const QStringList files = ListInvoiceFiles(directory);
                    RefuseOutputAsInput(files, OutputsOf(BatchOutput, BatchMPPOutput, mpp));
                    // All or nothing: the first invoice that fails ends the batch before anything
                    // is written.
                    return WriteBatch(ReadBatchInvoices(files, run.Now), run, mpp);
                  });
}

TTransferResult TTransferCommands::CreateDueBatch(const TPaymentList &payments, const TMPPSettings &mpp) {
  return Transfer(
      TJournalCommand::Batch, mpp, BatchOutputName(mpp), BatchDescription(mpp),
      [&](const TTransferRun &run) {
        run.Journal.RefuseEarlier(payments);
        return WriteBatch(payments, run, mpp);
      },
      TJournalUse::Exclusive);
}

TTransferCommands::TWrittenTransfers TTransferCommands::WriteBatch(TPaymentList payments, const TTransferRun &run,
                                                                   const TMPPSettings &mpp) {
  TWrittenTransfers written{std::move(payments), {}};
  for (int transfer = 0; transfer < int(written.Payments.size()); ++transfer) {
    const TPayment &invoice = written.Payments[std::size_t(transfer)];
    written.Findings += CheckSplitPayment(transfer, invoice, mpp);
    written.Findings += CheckStandardTitle(transfer, invoice, QString(), mpp);
    written.Findings += CheckStructuredReference(transfer, invoice, mpp);
  }
  written.Findings += CheckSplitPaymentFormat(mpp);
  if (!mpp.Enabled)
    RemoveEarlierOutput(BatchOutput, BatchMPPOutput);
  TPain001Writer::Generate(written.Payments, run.Company, mpp, run.OutputFile, run.Now);
  return written;
}

TTransferResult TTransferCommands::CreateVideoTelTransfer(const QString &videoTelPath, const TMPPSettings &mpp) {
  return Transfer(TJournalCommand::VideoTel, mpp, VideoTelOutput,
                  QStringLiteral("dla potrzeb przelewu, z pliku w formacie VideoTel ..."),
                  [&](const TTransferRun &run) {
                    RefuseOutputAsInput({videoTelPath}, {run.OutputFile});
                    TPaymentList payments;
                    try {
                      payments = LoadVideoTelFile(videoTelPath, run.Now.date().startOfDay());
                    } catch (const Exception &error) {
                      // The box is the report the user sees at once; the log line keeps the
                      // record complete.
                      FHost.Dialogs.ShowMessage(error.ClassName() + QStringLiteral(": ") + error.Message());
                      throw;
                    }
                    RemoveIfPresent(run.OutputFile);
                    TPain001Writer::Generate(payments, run.Company, mpp, run.OutputFile, run.Now);
                    TWrittenTransfers written{std::move(payments), {}};
                    written.Nips = TPayeeNips::Unnamed;
                    return written;
                  });
}

TTransferResult TTransferCommands::Transfer(TJournalCommand command, const TMPPSettings &mpp, const QString &outputName,
                                            const QString &description,
                                            const std::function<TWrittenTransfers(const TTransferRun &)> &write,
                                            TJournalUse journalUse) {
  try {
    const QString outputFile = FHost.Paths.OutputFile(outputName);
    TTransferJournal journal(FHost.Paths);
    TCheckedTransfer checked;
    bool written = false;
    const auto transfer = [&] {
      const TTransferRun run{LoadCheckedCompany(), FHost.Now(), outputFile, journal};
      const TWrittenTransfers file = write(run);
      written = true;
      checked = CheckAndRecord(command, mpp, run, file);
    };
    if (journalUse == TJournalUse::Exclusive) {
      try {
        journal.Exclusively(transfer);
      } catch (const std::exception &error) {
        if (!written)
          throw;
        // A file the journal does not know of would leave its invoices to pay, and the next run
        // would pay them again.
        RemoveIfPresent(outputFile);
        throw Exception(QStringLiteral("Nie zapisano pliku przelewów, bo nie udało się zapisać go w historii "
                                       "(%1): %2. Faktury pozostają do zapłaty.")
                            .arg(TJournalPlace::Of(FHost.Paths).Name(), ErrorMessage(error)));
      }
    } else
      transfer();
    TTransferResult result = Report(outputFile, description, std::move(checked));
    FHost.Desktop.OpenWithDefaultApplication(outputFile);
    return result;
  } catch (const std::exception &error) {
    FHost.Log.AppendError(ErrorMessage(error));
    return {};
  }
}

TTransferCommands::TCheckedTransfer TTransferCommands::CheckAndRecord(TJournalCommand command, const TMPPSettings &mpp,
                                                                      const TTransferRun &run,
                                                                      const TWrittenTransfers &written) {
  TCheckedTransfer checked;
  TTransferTitles titles;
  checked.Warnings = CheckWrittenFile(run, written, titles);
  checked.Warnings += run.Journal.EarlierPayments(written.Payments);
  // The file goes to the bank with the date of the day it is written.
  checked.WhiteList = CheckWhiteList(written.Payments, written.Currency == QStringLiteral("PLN"), written.Nips,
                                     run.Now.date(), FHost.Paths.WhiteListDirectory());
  const auto whiteListWarnings = std::count_if(checked.WhiteList.Lines.cbegin(), checked.WhiteList.Lines.cend(),
                                               [](const TWhiteListLine &line) { return line.Warning; });
  checked.Warnings += run.Journal.Record({command, run.OutputFile, run.Now, run.Company.IBAN, written.Currency,
                                          mpp.Enabled, checked.Warnings.size() + whiteListWarnings,
                                          mpp.Enabled ? TSettings::MPPFormatToString(mpp.Format) : QString()},
                                         written.Payments, titles.Titles(), checked.WhiteList.Results);
  return checked;
}

TTransferResult TTransferCommands::Report(const QString &outputFile, const QString &description,
                                          TCheckedTransfer checked) {
  FHost.Log.AppendLog(QStringLiteral("Poprawnie wygenerowano plik [") + outputFile + QStringLiteral("] ") + description,
                      true);
  for (const QString &warning : checked.Warnings)
    FHost.Log.AppendWarning(warning);
  TTransferResult result{true, checked.Warnings.size(), {}};
  result.Warnings += LogWhiteListLines(checked.WhiteList.Lines);
  result.WhiteList = std::move(checked.WhiteList.Results);
  return result;
}

// The file is written by now: a check that cannot be made is said as a warning, never taken
// for a clean file nor for a failed command.
QStringList TTransferCommands::CheckWrittenFile(const TTransferRun &run, const TWrittenTransfers &written,
                                                TTransferTitles &titles) {
  try {
    return CheckTransferFile(run.OutputFile, run.Company, written.Payments, written.Findings,
                             [&titles](const TXmlStreamElement &element) { titles.Visit(element); });
  } catch (const std::exception &error) {
    return {QStringLiteral("Nie udało się sprawdzić zapisanego pliku (%1).").arg(ErrorMessage(error))};
  }
}

qsizetype TTransferCommands::LogWhiteListLines(const QList<TWhiteListLine> &lines) {
  qsizetype warnings = 0;
  for (const TWhiteListLine &line : lines) {
    if (line.Warning) {
      FHost.Log.AppendWarning(line.Text);
      ++warnings;
    } else
      FHost.Log.AppendLog(line.Text, false);
  }
  return warnings;
}

// Without split payment the earlier result goes once the input is read, so that a run that
// fails in the writing leaves no stale file behind: the plain file, or else the split-payment
// one, never both.
void TTransferCommands::RemoveEarlierOutput(const QString &plainName, const QString &mppName) {
  const QString plainFile = FHost.Paths.OutputFile(plainName);
  if (QFile::exists(plainFile))
    QFile::remove(plainFile);
  else
    RemoveIfPresent(FHost.Paths.OutputFile(mppName));
}

QStringList TTransferCommands::OutputsOf(const QString &plainName, const QString &mppName,
                                         const TMPPSettings &mpp) const {
  const QString mppFile = FHost.Paths.OutputFile(mppName);
  return mpp.Enabled ? QStringList{mppFile} : QStringList{FHost.Paths.OutputFile(plainName), mppFile};
}

bool TTransferCommands::IsFilled(const QString &fieldText, const QString &emptyFieldHelp) {
  if (!fieldText.isEmpty())
    return true;
  FHost.Dialogs.ShowInformation(emptyFieldHelp);
  return false;
}

TCompanyData TTransferCommands::LoadCheckedCompany() const { return LoadCompletePayerData(FHost.Paths); }
