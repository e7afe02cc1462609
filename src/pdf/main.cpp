#include "model/AtomicFile.h"
#include "model/Exception.h"
#include "model/InvoicePdfPath.h"
#include "pdf/GeneratorArguments.h"
#include "pdf/InvoicePdf.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <cstdio>

namespace {

enum class TExitCode { Success = 0, Failed = 1, Usage = 2 };

// The status the calling program sees: these numbers never change.
constexpr int ExitStatus(TExitCode code) { return static_cast<int>(code); }

void WriteError(const QString &text) {
  std::fputs((text + u'\n').toUtf8().constData(), stderr);
  std::fflush(stderr);
}

QByteArray ReadInvoiceFile(const QString &fileName) {
  QFile file(fileName);
  if (QFileInfo(fileName).isDir())
    throw Exception(QStringLiteral("\"%1\" jest folderem, a nie plikiem faktury.").arg(fileName));
  if (!QFileInfo(fileName).isFile())
    throw Exception(QStringLiteral("Plik \"%1\" nie istnieje.").arg(fileName));
  if (!file.open(QIODevice::ReadOnly))
    throw Exception(QStringLiteral("Nie można odczytać pliku \"%1\".").arg(fileName));
  return file.readAll();
}

// The atomic writer's own failure is worded for the log of the main program; the generator's
// messages are shown to the user as they stand.
void WritePdf(const QString &fileName, const QByteArray &pdf) {
  try {
    WriteFileAtomically(fileName, pdf);
  } catch (const Exception &) {
    throw Exception(QStringLiteral("Nie można zapisać pliku \"%1\".").arg(fileName));
  }
}

// Qt's own notices (a missing runtime directory, a missing system bus) say nothing about the
// invoice; standard error carries only the generator's message, which the preview command shows.
void DropQtNotices(QtMsgType, const QMessageLogContext &, const QString &) {}

} // namespace

// The invoice PDF generator: renders a KSeF invoice into a PDF written beside it (PLIK.xml
// gives PLIK.PDF) or where -o says. Runs without a display.
int main(int argc, char *argv[]) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(DropQtNotices);
  QGuiApplication application(argc, argv);
  TGeneratorArguments arguments;
  try {
    arguments = ParseGeneratorArguments(QCoreApplication::arguments().mid(1), QStringLiteral(PAVENA_KSEF_QR_BASE));
  } catch (const Exception &error) {
    WriteError(QStringLiteral("Velmira: ") + error.Message() + u'\n' + GeneratorUsage());
    return ExitStatus(TExitCode::Usage);
  }
  try {
    const QByteArray invoice = ReadInvoiceFile(arguments.InvoicePath);
    const QByteArray pdf = RenderInvoicePdf(invoice, arguments.InvoicePath, arguments.KsefNumber, arguments.QrBase);
    WritePdf(arguments.PdfPath.isEmpty() ? InvoicePdfPath(arguments.InvoicePath) : arguments.PdfPath, pdf);
    return ExitStatus(TExitCode::Success);
  } catch (const std::exception &error) {
    WriteError(ErrorMessage(error));
    return ExitStatus(TExitCode::Failed);
  }
}
