#pragma once

#include "SmtpTestServer.h"
#include "TestSupport.h"

#include <QProcess>
#include <QString>
#include <QStringList>

// The files of a directory served over HTTPS on 127.0.0.1 (https_test_server.py) while the
// object lives.
class THttpsTestServer {
public:
  // `options` are the script's own: --truncate, --stall.
  THttpsTestServer(const TTempDir &files, const TTestCertificate &certificate, const QStringList &options = {});
  ~THttpsTestServer();
  THttpsTestServer(const THttpsTestServer &) = delete;
  THttpsTestServer &operator=(const THttpsTestServer &) = delete;

  QString Base() const { return QStringLiteral("https://127.0.0.1:%1/").arg(FPort); }
  // Returns once the server has printed `line`: "STALLED" when, with --stall, half a file is out.
  void WaitForLine(const QByteArray &line);

private:
  QProcess FProcess;
  int FPort = 0;
};
