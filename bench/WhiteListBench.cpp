// Looking accounts up in a loaded white list: one account (thousands of rounds of SHA-512 and
// a binary search of the mapped index), and the check of a batch of 1,000 payments that follows
// every transfer. PAVENA_WHITELIST_DIR names a BIALA_LISTA directory with at least one index
// (bench/run loads ten million digests into one); without it the benchmarks are skipped.

#include "app/commands/WhiteListCheck.h"
#include "whitelist/WhiteListIndex.h"
#include "whitelist/WhiteListStore.h"

#include <benchmark/benchmark.h>

namespace {

QString Directory() { return qEnvironmentVariable("PAVENA_WHITELIST_DIR"); }

// Payments to a valid NIP and Polish account; each is looked up on its own all the same.
TPaymentList Payments(int count) {
  TPaymentList payments(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    TPayment &payment = payments[std::size_t(i)];
    payment.InvoiceNumber = QStringLiteral("FV/%1").arg(i);
    payment.CreditorName = QStringLiteral("Dostawca");
    payment.CreditorNIP = QStringLiteral("5260250995");
    payment.CreditorIBAN = QStringLiteral("PL61109010140000071219812874");
    payment.Amount = TAmount::FromUnits(100 * TAmount::UnitsPerOne);
  }
  return payments;
}

void BM_CheckOneAccount(benchmark::State &state) {
  const QList<QDate> days = TWhiteListStore(Directory()).Days();
  if (days.isEmpty()) {
    state.SkipWithError("PAVENA_WHITELIST_DIR holds no index");
    return;
  }
  const TWhiteListIndex index(TWhiteListStore(Directory()).IndexFile(days.last()));
  for (auto _ : state)
    benchmark::DoNotOptimize(index.Find(QStringLiteral("5260250995"), QStringLiteral("61109010140000071219812874")));
}
BENCHMARK(BM_CheckOneAccount)->Unit(benchmark::kMillisecond);

void BM_CheckBatch(benchmark::State &state) {
  const QList<QDate> days = TWhiteListStore(Directory()).Days();
  if (days.isEmpty()) {
    state.SkipWithError("PAVENA_WHITELIST_DIR holds no index");
    return;
  }
  const TPaymentList payments = Payments(int(state.range(0)));
  for (auto _ : state)
    benchmark::DoNotOptimize(CheckWhiteList(payments, true, days.last(), Directory()));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_CheckBatch)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
