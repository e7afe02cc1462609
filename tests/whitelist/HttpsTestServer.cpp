#include "HttpsTestServer.h"

#include <QRegularExpression>
#include <stdexcept>

namespace {

// A safety net only: the server answers within milliseconds unless something is broken.
constexpr int WaitTimeoutMs = 120000;

} // namespace

THttpsTestServer::THttpsTestServer(const TTempDir &files, const TTestCertificate &certificate,
                                   const QStringList &options) {
  FProcess.start(QStringLiteral("/usr/bin/python3"),
                 QStringList{QStringLiteral(PAVENA_HTTPS_TEST_SERVER), "--dir", files.Path(), "--cert",
                             certificate.CertFile, "--key", certificate.KeyFile} +
                     options);
  QByteArray output;
  while (!output.contains('\n') && FProcess.waitForReadyRead(15000))
    output += FProcess.readLine();
  const QRegularExpressionMatch ready = QRegularExpression("^READY (\\d+)\n").match(QString::fromUtf8(output));
  if (!ready.hasMatch())
    throw std::runtime_error("The test HTTPS server did not start: " + FProcess.readAllStandardError().toStdString());
  FPort = ready.captured(1).toInt();
}

THttpsTestServer::~THttpsTestServer() {
  FProcess.kill();
  FProcess.waitForFinished();
}

void THttpsTestServer::WaitForLine(const QByteArray &line) {
  while (!FProcess.canReadLine() || FProcess.readLine().trimmed() != line)
    if (!FProcess.canReadLine() && !FProcess.waitForReadyRead(WaitTimeoutMs))
      throw std::runtime_error("The test HTTPS server never printed " + line.toStdString());
}
