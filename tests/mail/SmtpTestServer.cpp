#include "SmtpTestServer.h"

#include "PythonTestServer.h"
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A safety net only: an event comes within milliseconds unless something is broken.
constexpr int WaitTimeoutMs = 120000;

void RunOpenSsl(const QStringList &arguments) {
  QProcess openssl;
  openssl.start(QStringLiteral("openssl"), arguments);
  if (!openssl.waitForFinished() || openssl.exitCode() != 0)
    throw std::runtime_error("openssl could not make a certificate: " + openssl.readAllStandardError().toStdString());
}

QStringList NewKey(const TTestCertificate &certificate, const QString &subjectAltName) {
  return {"-newkey",
          "ec",
          "-pkeyopt",
          "ec_paramgen_curve:prime256v1",
          "-nodes",
          "-subj",
          "/CN=" + subjectAltName.section(':', 1),
          "-addext",
          "subjectAltName=" + subjectAltName,
          "-keyout",
          certificate.KeyFile};
}

} // namespace

TTestCertificate MakeCertificate(const TTempDir &dir, const QString &name, const QString &subjectAltName) {
  const TTestCertificate certificate{dir.File(name + ".crt"), dir.File(name + ".key")};
  RunOpenSsl(QStringList{"req", "-x509", "-days", "2", "-out", certificate.CertFile} +
             NewKey(certificate, subjectAltName));
  return certificate;
}

TTestCertificate MakeExpiredCertificate(const TTempDir &dir, const QString &name, const QString &subjectAltName) {
  const TTestCertificate certificate{dir.File(name + ".crt"), dir.File(name + ".key")};
  // "req -x509" dates a certificate from now on; "ca" takes any dates, with a small database.
  const QString request = dir.File(name + ".csr");
  RunOpenSsl(QStringList{"req", "-new", "-addext", "basicConstraints=critical,CA:TRUE", "-out", request} +
             NewKey(certificate, subjectAltName));
  dir.WriteBytes(name + ".index", {});
  dir.WriteBytes(name + ".serial", "01\n");
  dir.WriteBytes(name + ".cnf", QStringLiteral("[ca]\ndefault_ca = test\n[test]\ndatabase = %1\nserial = %2\n"
                                               "new_certs_dir = %3\ndefault_md = sha256\npolicy = any\n"
                                               "copy_extensions = copy\n[any]\ncommonName = supplied\n")
                                    .arg(dir.File(name + ".index"), dir.File(name + ".serial"), dir.Path())
                                    .toUtf8());
  RunOpenSsl({"ca", "-batch", "-notext", "-config", dir.File(name + ".cnf"), "-selfsign", "-keyfile",
              certificate.KeyFile, "-in", request, "-out", certificate.CertFile, "-startdate", "20200101000000Z",
              "-enddate", "20200102000000Z"});
  return certificate;
}

TSmtpTestServer::TSmtpTestServer(const QStringList &arguments) {
  FPort = StartPythonTestServer(FProcess, QStringLiteral(PAVENA_SMTP_TEST_SERVER),
                                QStringList{"--maildir", FMailDir.Path()} + arguments, "The test SMTP server");
}

TSmtpTestServer::~TSmtpTestServer() {
  FProcess.kill();
  FProcess.waitForFinished();
}

QStringList TSmtpTestServer::Events() const {
  QFile log(FMailDir.File("events.log"));
  if (!log.open(QIODevice::ReadOnly))
    return {};
  return QString::fromUtf8(log.readAll()).split('\n', Qt::SkipEmptyParts);
}

void TSmtpTestServer::WaitForEvent(const QString &event) {
  // The server tells each event on its standard output as it logs it: the wait is on that pipe.
  const QByteArray line = "EVENT " + event.toUtf8();
  while (!FProcess.canReadLine() || FProcess.readLine().trimmed() != line)
    if (!FProcess.canReadLine() && !FProcess.waitForReadyRead(WaitTimeoutMs))
      throw std::runtime_error("The test SMTP server never saw " + event.toStdString());
}

QList<QJsonObject> TSmtpTestServer::Messages() const {
  QList<QJsonObject> messages;
  for (int n = 1; QFile::exists(FMailDir.File(QStringLiteral("message-%1.json").arg(n))); ++n)
    messages << QJsonDocument::fromJson(FMailDir.ReadBytes(QStringLiteral("message-%1.json").arg(n))).object();
  return messages;
}

int ClosedPort() {
  // Binding to port 0 lets the system pick a free port; closing the socket leaves it unused.
  const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
  if (socket < 0)
    throw std::runtime_error("Cannot open a socket");
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  const bool bound = ::bind(socket, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0 &&
                     ::getsockname(socket, reinterpret_cast<sockaddr *>(&address), &length) == 0;
  ::close(socket);
  if (!bound)
    throw std::runtime_error("Cannot find a free port");
  return ntohs(address.sin_port);
}
