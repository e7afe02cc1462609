// The page "Historia" over a large journal: from a key typed in its search field to the page
// drawn again with what it found. PAVENA_HISTORY_DIR names a directory holding historia.sqlite
// (bench/run fills one with a million payments); without it the benchmark is skipped. The
// pause the page waits for after typing is left out: the search runs as that pause ends. The
// time runs until the rows and the sums are drawn; the counter "rows_ms" is the time until the
// first rows are there (the sums, counted over the whole journal, follow).
//
//   0: "Hurtownia nr 5" and "Hurtownia nr 5 " taking turns (about 28,000 payments found)
//   1: "o.o" and "o.o " (every payment found)

#include "app/gui/HistoryPage.h"
#include "app/gui/HistoryQueries.h"
#include "cli/ConsoleHost.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPixmap>
#include <benchmark/benchmark.h>

namespace {

QApplication &Application() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "pavena_history_bench";
  static char *argv[] = {name, nullptr};
  static QApplication application(argc, argv);
  return application;
}

// Runs the window's events until the page has shown the listing asked for last.
void WaitUntilShown(THistoryPage &page) {
  while (page.Reading())
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void BM_HistorySearchKey(benchmark::State &state) {
  const QString directory = qEnvironmentVariable("PAVENA_HISTORY_DIR");
  if (directory.isEmpty()) {
    state.SkipWithError("PAVENA_HISTORY_DIR is not set");
    return;
  }
  Application();
  TAppPaths paths;
  paths.ProgramDir = paths.AppDir = directory + u'/';
  TConsoleHost console(paths);
  THistoryPage page(console.Host());
  page.resize(1200, 700);
  page.show();
  WaitUntilShown(page);
  auto *search = page.findChild<QLineEdit *>(QStringLiteral("EdtSzukaj"));
  const QString typed = state.range(0) == 0 ? QStringLiteral("Hurtownia nr 5") : QStringLiteral("o.o");
  QElapsedTimer sinceKey;
  double rowsMs = 0;
  QObject::connect(page.findChild<THistoryQueries *>(), &THistoryQueries::RowsRead, &page,
                   [&](const std::vector<THistoryEntry> &, bool first, bool) {
                     if (first)
                       rowsMs += double(sinceKey.nsecsElapsed()) / 1e6;
                   });
  bool withBlank = false;
  for (auto _ : state) {
    withBlank = !withBlank;
    sinceKey.start();
    search->setText(withBlank ? typed + u' ' : typed);
    page.Reload();
    WaitUntilShown(page);
    benchmark::DoNotOptimize(page.grab());
  }
  state.counters["rows_ms"] = benchmark::Counter(rowsMs / double(state.iterations()));
}
BENCHMARK(BM_HistorySearchKey)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

} // namespace
