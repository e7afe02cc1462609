#include "KsefStandIn.h"

#include "PythonTestServer.h"
#include <QDir>
#include <stdexcept>

TKsefStandIn::TKsefStandIn(const QString &nip, const QStringList &options) {
  FPort = StartPythonTestServer(FProcess, QStringLiteral(PAVENA_KSEF_STANDIN),
                                QStringList{"--dir", FDir.Path(), "--log", FDir.File("requests.log"), "--nip", nip} +
                                    options,
                                "The KSeF stand-in");
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

QList<QByteArray> TKsefStandIn::IssuedTokens() const {
  QList<QByteArray> tokens = FDir.ReadBytes(QStringLiteral("tokens.log")).split('\n');
  tokens.removeAll(QByteArray());
  return tokens;
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
