#include "BenchPayments.h"
#include "iso20022/Pain001Writer.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// The whole multi-payment document for the given number of payments, with the richest
// remittance block (split payment, both encodings).
void BM_Pain001Writer(benchmark::State &state) {
  QTemporaryDir dir;
  const TPaymentList payments = BenchPayments(state.range(0));
  const TCompanyData company{QStringLiteral("Płatnik S.A."), QStringLiteral("1234563218"),
                             QStringLiteral("PL27114020040000300201355387"), QStringLiteral("BREXPLPW")};
  const QDateTime now(QDate(2024, 3, 15), QTime(12, 0));
  const QString fileName = dir.filePath(QStringLiteral("Pain001Paczka_MPP.xml"));
  for (auto _ : state)
    TPain001Writer::Generate(payments, company, TMPPSettings{true, TMPPFormat::Both}, fileName, now);
  state.SetComplexityN(state.range(0));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Pain001Writer)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

} // namespace
