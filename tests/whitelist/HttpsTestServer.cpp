#include "HttpsTestServer.h"

#include "PythonTestServer.h"
#include <stdexcept>

namespace {

// A safety net only: the server answers within milliseconds unless something is broken.
constexpr int WaitTimeoutMs = 120000;

} // namespace

THttpsTestServer::THttpsTestServer(const TTempDir &files, const TTestCertificate &certificate,
                                   const QStringList &options) {
  FPort = StartPythonTestServer(
      FProcess, QStringLiteral(PAVENA_HTTPS_TEST_SERVER),
      QStringList{"--dir", files.Path(), "--cert", certificate.CertFile, "--key", certificate.KeyFile} + options,
      "The test HTTPS server");
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
