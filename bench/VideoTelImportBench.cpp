#include "videotel/VideoTelImport.h"

#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// One order as VideoTel writes it: fourteen fields, the texts quoted, Polish letters and a lost
// letter in the title.
QString OrderLine(qint64 i) {
  return QStringLiteral("\"Płatnik Sp. z o.o.\" 1 PL61109010140000071219812874 0 %1.%2 0 0 "
                        "PL27114020040000300201355387 \"Zapłata za fakturę FV/%3/2024 zam???wienie\" PLN "
                        "\"Łódzka Hurtownia Żywności nr %3\" \"Łódź ul. Piotrkowska %4\" 0 51\r\n")
      .arg(100 + i % 9000)
      .arg(i % 100, 2, 10, QLatin1Char('0'))
      .arg(i)
      .arg(i % 300 + 1);
}

// A windows-1250 file of the given number of orders, written once and kept for the whole run.
QString GeneratedFile(qint64 lines) {
  static QTemporaryDir dir;
  const QString fileName = dir.filePath(QStringLiteral("orders-%1.imp").arg(lines));
  if (QFile::exists(fileName))
    return fileName;
  QStringEncoder encoder("windows-1250");
  QByteArray bytes;
  for (qint64 i = 0; i < lines; ++i)
    bytes += encoder.encode(OrderLine(i));
  QFile file(fileName);
  if (!dir.isValid() || !file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
    return {};
  return fileName;
}

void BM_LoadVideoTelFile(benchmark::State &state) {
  const QString fileName = GeneratedFile(state.range(0));
  if (fileName.isEmpty()) {
    state.SkipWithError("Cannot write the generated file");
    return;
  }
  const QDateTime executionDate(QDate(2024, 3, 15), QTime(0, 0));
  for (auto _ : state) {
    TPaymentList payments = LoadVideoTelFile(fileName, executionDate);
    benchmark::DoNotOptimize(payments.data());
  }
  state.SetComplexityN(state.range(0));
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.SetBytesProcessed(state.iterations() * QFile(fileName).size());
}
BENCHMARK(BM_LoadVideoTelFile)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

} // namespace
