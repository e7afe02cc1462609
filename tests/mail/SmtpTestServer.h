#pragma once

#include "TestSupport.h"

#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>

// A self-signed certificate made by openssl for the test, used by the server and, as its own
// authority, handed to the sender.
struct TTestCertificate {
  QString CertFile;
  QString KeyFile;
};

// Makes a certificate in `dir` for the given subjectAltName (e.g. "IP:127.0.0.1").
TTestCertificate MakeCertificate(const TTempDir &dir, const QString &name, const QString &subjectAltName);
// The same, valid for one day in 2020 only: long expired.
TTestCertificate MakeExpiredCertificate(const TTempDir &dir, const QString &name, const QString &subjectAltName);

// The SMTP server of smtp_test_server.py on 127.0.0.1, running while the object lives: the
// destructor stops it, whatever the test did.
class TSmtpTestServer {
public:
  // `arguments` are the script's options (--mode, --cert, --user, ...).
  explicit TSmtpTestServer(const QStringList &arguments);
  ~TSmtpTestServer();
  TSmtpTestServer(const TSmtpTestServer &) = delete;
  TSmtpTestServer &operator=(const TSmtpTestServer &) = delete;

  int Port() const { return FPort; }
  // What clients did, in order: "connect", "auth LOGIN", "quit".
  QStringList Events() const;
  // Returns once a client has done `event`, as the server tells it on its output; fails if
  // that takes minutes.
  void WaitForEvent(const QString &event);
  // The messages taken, as the server decoded them with Python's email package.
  QList<QJsonObject> Messages() const;

private:
  TTempDir FMailDir;
  QProcess FProcess;
  int FPort = 0;
};

// A port on 127.0.0.1 where nothing listens.
int ClosedPort();
