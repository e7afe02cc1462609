#include "KsefStandIn.h"

#include <QDir>
#include <QRegularExpression>
#include <stdexcept>

namespace {

// A safety net only: the server prints READY within seconds unless something is broken
// (making its RSA keys takes the longest).
constexpr int StartTimeoutMs = 60000;

} // namespace

TKsefStandIn::TKsefStandIn(const QString &nip, const QStringList &options) {
  FProcess.start(QStringLiteral("/usr/bin/python3"),
                 QStringList{QStringLiteral(PAVENA_KSEF_STANDIN), "--dir", FDir.Path(), "--log",
                             FDir.File("requests.log"), "--nip", nip} +
                     options);
  QByteArray output;
  while (!output.contains('\n') && FProcess.waitForReadyRead(StartTimeoutMs))
    output += FProcess.readAllStandardOutput();
  const QRegularExpressionMatch ready = QRegularExpression("^READY (\\d+)\n").match(QString::fromUtf8(output));
  if (!ready.hasMatch()) {
    FProcess.kill();
    FProcess.waitForFinished();
    throw std::runtime_error("The KSeF stand-in did not start: " + output.toStdString() +
                             FProcess.readAllStandardError().toStdString());
  }
  FPort = ready.captured(1).toInt();
}

TKsefStandIn::~TKsefStandIn() {
  FProcess.kill();
  FProcess.waitForFinished();
}

QStringList TKsefStandIn::Requests() const {
  QFile log(FDir.File("requests.log"));
  if (!log.open(QIODevice::ReadOnly))
    return {};
  return QString::fromUtf8(log.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

int TKsefStandIn::Count(const QString &start) const {
  int count = 0;
  for (const QString &request : Requests())
    count += request.startsWith(start) ? 1 : 0;
  return count;
}

QStringList TKsefStandIn::InvoiceNumbers() const {
  QStringList numbers = QDir(FDir.File("invoices")).entryList({"*.xml"}, QDir::Files, QDir::Name);
  for (QString &number : numbers)
    number.chop(4);
  return numbers;
}

QByteArray TKsefStandIn::InvoiceBytes(const QString &number) const {
  return FDir.ReadBytes(QStringLiteral("invoices/") + number + QStringLiteral(".xml"));
}
