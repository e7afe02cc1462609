#include "BenchPayments.h"
#include "checks/Pain001Schema.h"
#include "checks/TransferFileCheck.h"
#include "iso20022/Pain001Writer.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

const TCompanyData Payer{QStringLiteral("Płatnik S.A."), QStringLiteral("6772314552"),
                         QStringLiteral("PL79114020044000030020135538"), QStringLiteral("BREXPLPWXXX")};

// A batch file of the given size, written once, with the richest remittance block.
class TWrittenBatch {
public:
  explicit TWrittenBatch(qint64 count) : FPayments(BenchPayments(count)) {
    TPain001Writer::Generate(FPayments, Payer, TMPPSettings{true, TMPPFormat::Both}, FileName(),
                             QDateTime(QDate(2026, 3, 5), QTime(12, 0)));
  }
  QString FileName() const { return FDir.filePath(QStringLiteral("Pain001Paczka_MPP.xml")); }
  const TPaymentList &Payments() const { return FPayments; }

private:
  QTemporaryDir FDir;
  TPaymentList FPayments;
};

// Reading the written file back as a stream and validating it against the embedded schema: what the
// schema check adds to a batch. The schema is parsed once per run, outside the loop.
void BM_SchemaValidation(benchmark::State &state) {
  const TWrittenBatch batch(state.range(0));
  Pain001Schema();
  for (auto _ : state)
    benchmark::DoNotOptimize(Pain001Schema().Violations(batch.FileName()));
  state.SetComplexityN(state.range(0));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SchemaValidation)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

// The whole check a command runs after writing: the schema and every check of the records.
void BM_CheckTransferFile(benchmark::State &state) {
  const TWrittenBatch batch(state.range(0));
  Pain001Schema();
  for (auto _ : state)
    benchmark::DoNotOptimize(CheckTransferFile(batch.FileName(), Payer, batch.Payments(), {}));
  state.SetComplexityN(state.range(0));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_CheckTransferFile)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

// Parsing the embedded schema, once per run of the program.
void BM_LoadEmbeddedSchema(benchmark::State &state) {
  for (auto _ : state) {
    QFile file(QStringLiteral(":/schemas/pain.001.001.09.xsd"));
    file.open(QIODevice::ReadOnly);
    benchmark::DoNotOptimize(TXmlSchema(ParseXml(file.readAll(), file.fileName())));
  }
}
BENCHMARK(BM_LoadEmbeddedSchema)->Unit(benchmark::kMillisecond);

} // namespace
