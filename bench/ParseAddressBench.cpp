#include "model/StructuredAddress.h"

#include <benchmark/benchmark.h>

namespace {

// Address lines with a long run of blanks that matches none of the splitter's patterns, the
// worst case for patterns that backtrack over the blanks.
void BM_ParseAddressBlanks(benchmark::State &state) {
  const QString blanks(state.range(0), u' ');
  const QString street = QStringLiteral("Długa") + blanks + QStringLiteral("x");
  const QString town = QStringLiteral("80-831") + blanks + QStringLiteral("Gdańsk\nx");
  for (auto _ : state) {
    benchmark::DoNotOptimize(ParseAddress(street, QStringLiteral("Gdańsk")));
    benchmark::DoNotOptimize(ParseAddress(town, QStringLiteral("Długa 5")));
  }
  state.SetComplexityN(state.range(0));
}

BENCHMARK(BM_ParseAddressBlanks)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();

} // namespace
