#include "app/commands/TransferCommands.h"

#include "app/commands/AppPaths.h"
#include "app/commands/InvoiceDirectory.h"
#include "app/commands/SplitPaymentSettings.h"
#include "iso20022/Pain001Generator.h"
#include "iso20022/Pain001Writer.h"
#include "ksef/KsefInvoiceReader.h"
#include "model/Exception.h"
#include "model/Text.h"
#include "settings/Settings.h"
#include "videotel/VideoTelImport.h"

#include <QFile>

namespace {

const QString SingleOutput = QStringLiteral("PLIKI_DO_BANKU/Pain001.xml");
const QString SingleMPPOutput = QStringLiteral("PLIKI_DO_BANKU/Pain001_MPP.xml");
const QString BatchOutput = QStringLiteral("PLIKI_DO_BANKU/Pain001Paczka.xml");
const QString BatchMPPOutput = QStringLiteral("PLIKI_DO_BANKU/Pain001Paczka_MPP.xml");
const QString VideoTelOutput = QStringLiteral("PLIKI_DO_BANKU/Pain001VideoTel.xml");

const QString SingleEmptyFieldHelp = QStringLiteral(
    "Pole ścieżki do pliku XML faktury zakupowej KSeF nie może być puste ...\r\rWybierz odpowiedni plik XML. ");
const QString BatchEmptyFieldHelp = QStringLiteral(
    "Pole ścieżki do katalogu z plikami XML dla faktur zakupowych KSeF nie może być puste ...\r\rWybierz odpowiedni "
    "katalog. ");
const QString VideoTelEmptyFieldHelp =
    QStringLiteral("Pole ścieżki do pliku IMP nie może być puste ...\r\rWybierz odpowiedni plik IMP. ");
const QString ShowVideoTelEmptyFieldHelp = QStringLiteral(
    "Pole ścieżki do pliku w formacie VideoTel-a nie może być puste ...\r\rWybierz odpowiedni plik IMP. ");

// Without split payment the earlier result goes first, so that a failed run leaves no stale
// file behind: the plain file, or else the split-payment one, never both.
void RemoveEarlierOutput(const QString &plainName, const QString &mppName) {
  if (QFile::exists(AppFilePath(plainName)))
    QFile::remove(AppFilePath(plainName));
  else if (QFile::exists(AppFilePath(mppName)))
    QFile::remove(AppFilePath(mppName));
}

// The transfer fields are 70 characters for the street and 35 for the town; a town too long
// for its field travels whole in the street field.
void CompleteSingleTransferAddress(TInvoicePaymentData &invoice) {
  const TStructuredAddress address = TSettings::ParseAddress(invoice.CreditorAddress, invoice.CreditorAddress2);
  invoice.CreditorStrtNm = address.StrtNm.left(70);
  invoice.CreditorBldgNb = address.BldgNb;
  invoice.CreditorPstCd = address.PstCd;
  invoice.CreditorTwnNm = address.TwnNm.isEmpty() ? QStringLiteral("Brak miasta") : address.TwnNm.left(35);
  if (address.TwnNm.size() > 35)
    invoice.CreditorStrtNm = address.TwnNm.left(70);
}

// The batch keeps the address parts whole; the writer shortens them.
TPayment InvoiceToPayment(const TInvoicePaymentData &invoice, const QString &nrKsef) {
  const TStructuredAddress address = TSettings::ParseAddress(invoice.CreditorAddress, invoice.CreditorAddress2);
  TPayment payment;
  payment.InvoiceNumber = invoice.InvoiceNumber;
  payment.CreditorName = invoice.CreditorName;
  payment.CreditorIBAN = invoice.CreditorIBAN;
  payment.Amount = invoice.Amount;
  payment.ExecutionDate = invoice.DueDate;
  payment.CreditorNIP = invoice.CreditorNIP;
  payment.CreditorCountry = invoice.CreditorCountry;
  payment.CreditorAddress = invoice.CreditorAddress;
  payment.CreditorAddress2 = invoice.CreditorAddress2;
  payment.CreditorStrtNm = address.StrtNm;
  payment.CreditorBldgNb = address.BldgNb;
  payment.CreditorPstCd = address.PstCd;
  payment.CreditorTwnNm = address.TwnNm;
  payment.VATAmount = invoice.VATAmount;
  payment.nrKsef = nrKsef;
  return payment;
}

} // namespace

TTransferCommands::TTransferCommands(THost &host) : FHost(host) {}

bool TTransferCommands::PressSingle(const QString &invoicePath, const QString &additionalReference,
                                    const TMPPSettings &mpp) {
  return IsFilled(invoicePath, SingleEmptyFieldHelp) && CreateSingleTransfer(invoicePath, additionalReference, mpp);
}

bool TTransferCommands::PressBatch(const QString &directory, const TMPPSettings &mpp) {
  return IsFilled(directory, BatchEmptyFieldHelp) && CreateBatchTransfer(directory, mpp);
}

bool TTransferCommands::PressVideoTel(const QString &videoTelPath, TSplitPaymentSettings &mpp) {
  if (!IsFilled(videoTelPath, VideoTelEmptyFieldHelp))
    return false;
  mpp.SwitchOff();
  return CreateVideoTelTransfer(videoTelPath, mpp.Current());
}

bool TTransferCommands::PressVideoTelWithoutSplitPayment(const QString &videoTelPath) {
  return IsFilled(videoTelPath, VideoTelEmptyFieldHelp) && CreateVideoTelTransfer(videoTelPath, TMPPSettings{});
}

void TTransferCommands::PressShowVideoTel(const QString &videoTelPath) {
  // Unlike the transfer button, a field of blanks counts as empty here; the editor still gets
  // the text as typed.
  if (Trim(videoTelPath).isEmpty())
    FHost.Dialogs.ShowInformation(ShowVideoTelEmptyFieldHelp);
  else
    FHost.Desktop.OpenInTextEditor(videoTelPath);
}

bool TTransferCommands::CreateSingleTransfer(const QString &invoicePath, const QString &additionalReference,
                                             const TMPPSettings &mpp) {
  if (!mpp.Enabled)
    RemoveEarlierOutput(SingleOutput, SingleMPPOutput);
  try {
    const TCompanyData company = LoadCheckedCompany();
    const QDateTime now = FHost.Now();
    TInvoicePaymentData invoice = TKsefInvoiceReader::LoadFromFile(invoicePath, now);
    CompleteSingleTransferAddress(invoice);
    const QString outputName = mpp.Enabled ? SingleMPPOutput : SingleOutput;
    TPain001Generator::Generate(invoice, company, mpp, AppFilePath(outputName), invoicePath, additionalReference, now);
    Succeeded(outputName, mpp.Enabled
                              ? QStringLiteral("dla potrzeb przelewu, dla pojedynczej faktury (mechanizm MPP)...")
                              : QStringLiteral("dla potrzeb przelewu, dla pojedynczej faktury..."));
    return true;
  } catch (const Exception &error) {
    Failed(error.Message());
    return false;
  }
}

bool TTransferCommands::CreateBatchTransfer(const QString &directory, const TMPPSettings &mpp) {
  if (!mpp.Enabled)
    RemoveEarlierOutput(BatchOutput, BatchMPPOutput);
  try {
    const TCompanyData company = LoadCheckedCompany();
    const QDateTime now = FHost.Now();
    TPaymentList payments;
    // All or nothing: the first invoice that fails ends the batch before anything is written.
    for (const QString &file : ListInvoiceFiles(directory)) {
      QString nrKsef;
      const TInvoicePaymentData invoice = TKsefInvoiceReader::LoadFromFile(file, now, &nrKsef);
      payments.push_back(InvoiceToPayment(invoice, nrKsef));
    }
    const QString outputName = mpp.Enabled ? BatchMPPOutput : BatchOutput;
    TPain001Writer::Generate(payments, company, mpp, AppFilePath(outputName), now);
    Succeeded(outputName, mpp.Enabled ? QStringLiteral("dla potrzeb przelewu, dla paczki faktur (mechanizm MPP) ...")
                                      : QStringLiteral("dla potrzeb przelewu, dla paczki faktur ..."));
    return true;
  } catch (const Exception &error) {
    Failed(error.Message());
    return false;
  }
}

bool TTransferCommands::CreateVideoTelTransfer(const QString &videoTelPath, const TMPPSettings &mpp) {
  if (QFile::exists(AppFilePath(VideoTelOutput)))
    QFile::remove(AppFilePath(VideoTelOutput));
  try {
    const TCompanyData company = LoadCheckedCompany();
    const QDateTime now = FHost.Now();
    TPaymentList payments;
    try {
      payments = LoadVideoTelFile(videoTelPath, now.date().startOfDay());
    } catch (const Exception &error) {
      // The box is the report the user sees at once; the log line keeps the record complete.
      FHost.Dialogs.ShowMessage(error.ClassName() + QStringLiteral(": ") + error.Message());
      Failed(error.Message());
      return false;
    }
    TPain001Writer::Generate(payments, company, mpp, AppFilePath(VideoTelOutput), now);
    Succeeded(VideoTelOutput, QStringLiteral("dla potrzeb przelewu, z pliku w formacie VideoTel ..."));
    return true;
  } catch (const Exception &error) {
    Failed(error.Message());
    return false;
  }
}

bool TTransferCommands::IsFilled(const QString &fieldText, const QString &emptyFieldHelp) {
  if (!fieldText.isEmpty())
    return true;
  FHost.Dialogs.ShowInformation(emptyFieldHelp);
  return false;
}

TCompanyData TTransferCommands::LoadCheckedCompany() {
  const TCompanyData company = TSettings::LoadCompany(AppFilePath(QStringLiteral("settings.ini")));
  if (company.Name.isEmpty())
    throw Exception(QStringLiteral("Brak nazwy firmy w settings.ini"));
  if (company.IBAN.isEmpty())
    throw Exception(QStringLiteral("Brak rachunku IBAN w settings.ini"));
  if (company.BIC.isEmpty())
    throw Exception(QStringLiteral("Brak rachunku BIC w settings.ini"));
  if (company.NIP.isEmpty())
    throw Exception(QStringLiteral("Brak identyfikatora NIP w settings.ini"));
  return company;
}

void TTransferCommands::Succeeded(const QString &outputName, const QString &description) {
  const QString outputFile = AppFilePath(outputName);
  FHost.Log.AppendLog(QStringLiteral("Poprawnie wygenerowano plik [") + outputFile + QStringLiteral("] ") + description,
                      true);
  FHost.Desktop.OpenWithDefaultApplication(outputFile);
}

void TTransferCommands::Failed(const QString &message) {
  FHost.Log.AppendLog(QStringLiteral("Błąd: ") + message, false);
}
