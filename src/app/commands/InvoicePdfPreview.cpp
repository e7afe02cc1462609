#include "app/commands/InvoicePdfPreview.h"

#include "ksef/KsefNumber.h"
#include "model/Exception.h"
#include "model/InvoicePdfPath.h"
#include "model/Text.h"

#include <QDateTime>
#include <QFileInfo>
#include <QStandardPaths>
#include <optional>

namespace {

const QString EmptyFieldHelp = QStringLiteral(
    "Pole ścieżki do pliku XML faktury zakupowej KSeF nie może być puste ...\r\rWybierz odpowiedni plik XML. ");

// The path with the text from its last full stop removed, when that full stop comes after the
// last directory separator (or a drive colon); a path without one stays whole.
QString WithoutExtension(const QString &path) {
  const qsizetype dot = path.lastIndexOf(u'.');
  qsizetype delimiter = -1;
  for (const QChar separator : {u'/', u'\\', u':'})
    delimiter = qMax(delimiter, path.lastIndexOf(separator));
  return dot > delimiter ? path.left(dot) : path;
}

// When the file was last written, or nothing when it is not there.
std::optional<QDateTime> LastWritten(const QString &fileName) {
  const QFileInfo file(fileName);
  if (!file.isFile())
    return std::nullopt;
  return file.lastModified();
}

QString FailureMessage(const TProcessResult &result) {
  if (result.TimedOut)
    return QStringLiteral("Generator PDF nie zakończył pracy w ciągu %1 sekund i został zatrzymany.")
        .arg(TInvoicePdfPreview::GeneratorTimeoutMs / 1000);
  if (result.Crashed)
    return QStringLiteral("Generator PDF zakończył pracę awaryjnie.");
  QString message = QStringLiteral("Generator PDF zakończył pracę z kodem %1.").arg(result.ExitCode);
  const QString reason = Trim(result.ErrorOutput);
  if (!reason.isEmpty())
    message += u' ' + reason;
  return message;
}

} // namespace

const QString TInvoicePdfPreview::GeneratorName = QStringLiteral("Velmira");

TInvoicePdfPreview::TInvoicePdfPreview(THost &host) : FHost(host) {}

bool TInvoicePdfPreview::Press(const QString &invoicePath) {
  if (Trim(invoicePath).isEmpty()) {
    FHost.Dialogs.ShowInformation(EmptyFieldHelp);
    return false;
  }
  return CreatePreview(invoicePath);
}

bool TInvoicePdfPreview::CreatePreview(const QString &invoicePath) {
  const QString nrKsef = ReadKsefNumber(invoicePath);
  const QString pdfPath = PdfPathFor(invoicePath);
  try {
    RunPdfGenerator(invoicePath, nrKsef, pdfPath);
  } catch (const TCancelled &cancelled) {
    FHost.Log.AppendLog(cancelled.Message(), true);
    return false;
  } catch (const Exception &error) {
    FHost.Log.AppendError(error.Message());
    return false;
  }
  OpenInvoicePdf(pdfPath);
  if (pdfPath == InvoicePdfPath(invoicePath))
    FHost.Log.AppendLog(QStringLiteral("Poprawnie wygenerowano plik [") + WithoutExtension(invoicePath) +
                            QStringLiteral(".PDF] dla potrzeb podglądu pojedynczej faktury..."),
                        true);
  else
    FHost.Log.AppendLog(
        QStringLiteral("Poprawnie wygenerowano plik [") + pdfPath +
            QStringLiteral("] dla potrzeb podglądu pojedynczej faktury (folder faktury jest tylko do odczytu)..."),
        true);
  return true;
}

QString TInvoicePdfPreview::PdfPathFor(const QString &invoicePath) const {
  const QString beside = InvoicePdfPath(invoicePath);
  const QFileInfo pdf(beside);
  if (TAppPaths::CanCreateFilesIn(pdf.absolutePath()))
    return beside;
  return FHost.Paths.AppFilePath(QStringLiteral("FAKTURY/") + pdf.fileName());
}

void TInvoicePdfPreview::RunPdfGenerator(const QString &invoicePath, const QString &nrKsef, const QString &pdfPath) {
  const QString generator = FindGenerator();
  if (generator.isEmpty())
    throw Exception(QStringLiteral("Nie znaleziono generatora PDF %1 ani w katalogu programu, ani w ścieżce PATH.")
                        .arg(GeneratorName));
  QStringList arguments{
      QStringLiteral("-i"),       invoicePath, QStringLiteral("-t"),       QStringLiteral("invoice"),
      QStringLiteral("--nrKSeF"), nrKsef,      QStringLiteral("--qrCode"), QStringLiteral(PAVENA_KSEF_QR_BASE)};
  // The generator writes beside the invoice unless told otherwise.
  if (pdfPath != InvoicePdfPath(invoicePath))
    arguments << QStringLiteral("-o") << pdfPath;
  const std::optional<QDateTime> before = LastWritten(pdfPath);
  const TProcessResult result = FHost.Processes.Run(generator, arguments, GeneratorTimeoutMs);
  if (!result.Started)
    throw Exception(QStringLiteral("Nie udało się uruchomić generatora PDF %1.").arg(generator));
  if (result.Cancelled)
    throw TCancelled(QStringLiteral("Tworzenie pliku PDF przerwane przez użytkownika."));
  if (result.TimedOut || result.Crashed || result.ExitCode != 0)
    throw Exception(FailureMessage(result));
  const std::optional<QDateTime> after = LastWritten(pdfPath);
  if (!after || after == before)
    throw Exception(QStringLiteral("Generator PDF nie zapisał pliku %1.").arg(pdfPath));
}

void TInvoicePdfPreview::OpenInvoicePdf(const QString &pdfPath) {
  if (!Trim(pdfPath).isEmpty())
    FHost.Desktop.OpenWithDefaultApplication(pdfPath);
}

QString TInvoicePdfPreview::FindGenerator() const {
  const QFileInfo beside(FHost.Paths.ProgramDir + GeneratorName);
  if (beside.isFile() && beside.isExecutable())
    return beside.absoluteFilePath();
  return QStandardPaths::findExecutable(GeneratorName);
}
