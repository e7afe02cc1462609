#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <csignal>
#include <stdexcept>

void PrintTo(const QString &text, std::ostream *os) { *os << '"' << text.toStdString() << '"'; }

QString SharedPath(const QString &relative) {
  const QString shared = QStringLiteral(PAVENA_SHARED_DIR);
  if (!QFileInfo(shared).isDir())
    throw std::runtime_error("The shared folder is missing at " + shared.toStdString() +
                             ": the tests need its schemas and sample invoices beside the project.");
  return QDir(shared).filePath(relative);
}

QString FixturePath(const QString &name) { return QDir(QStringLiteral(PAVENA_FIXTURES_DIR)).filePath(name); }

QString ToolOutput(const QString &program, const QStringList &arguments) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(-1) || process.exitCode() != 0) {
    ADD_FAILURE() << program.toStdString()
                  << " failed (install poppler-utils and zbar-tools): " << process.readAllStandardError().toStdString();
    return QString();
  }
  return QString::fromUtf8(process.readAllStandardOutput());
}

QString PdfText(const QString &pdfFile) {
  return ToolOutput(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdfFile, QStringLiteral("-")});
}

TTempDir::TTempDir() {
  if (!FDir.isValid())
    throw std::runtime_error("Cannot create a temporary directory");
}

QString TTempDir::Path() const { return FDir.path(); }

QString TTempDir::File(const QString &name) const { return FDir.filePath(name); }

void TTempDir::WriteBytes(const QString &name, const QByteArray &bytes) const {
  QFile file(File(name));
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
    throw std::runtime_error("Cannot write " + File(name).toStdString());
}

QByteArray TTempDir::ReadBytes(const QString &name) const {
  QFile file(File(name));
  if (!file.open(QIODevice::ReadOnly))
    throw std::runtime_error("Cannot read " + File(name).toStdString());
  return file.readAll();
}

TFileSizeLimit::TFileSizeLimit(rlim_t bytes) {
  getrlimit(RLIMIT_FSIZE, &FPrevious);
  FPreviousHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit limit = FPrevious;
  limit.rlim_cur = bytes;
  setrlimit(RLIMIT_FSIZE, &limit);
}

TFileSizeLimit::~TFileSizeLimit() {
  setrlimit(RLIMIT_FSIZE, &FPrevious);
  std::signal(SIGXFSZ, FPreviousHandler);
}
