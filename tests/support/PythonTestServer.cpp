#include "PythonTestServer.h"

#include <QRegularExpression>
#include <stdexcept>
#include <string>

namespace {

// A safety net only: a server prints READY within seconds unless something is broken.
constexpr int StartTimeoutMs = 60000;

} // namespace

int StartPythonTestServer(QProcess &process, const QString &script, const QStringList &arguments, const char *what) {
  // Debian's interpreter: the servers' modules (python3-aiosmtpd, python3-cryptography) are
  // installed for it, not for whatever python3 comes first on PATH.
  process.start(QStringLiteral("/usr/bin/python3"), QStringList{script} + arguments);
  // Only the first line: a server may go on to say more on the same pipe.
  while (!process.canReadLine() && process.waitForReadyRead(StartTimeoutMs)) {
  }
  const QByteArray line = process.readLine();
  const QRegularExpressionMatch ready = QRegularExpression("^READY (\\d+)\n").match(QString::fromUtf8(line));
  if (!ready.hasMatch()) {
    process.kill();
    process.waitForFinished();
    throw std::runtime_error(std::string(what) + " did not start: " + line.toStdString() +
                             process.readAllStandardError().toStdString());
  }
  return ready.captured(1).toInt();
}
