// The page "Do zapłaty" over a list of 100,000 invoices: from a key typed in its search field
// to the table drawn again with what the filter found. The invoices are made in memory, so
// that the benchmark measures the filter and the table, not the reading of the files. The pause
// the page waits for after typing is left out: the filter runs as that pause ends.
//
//   0: "Dostawca 5" and "Dostawca 5 " taking turns (about a tenth of the list found)
//   1: "FV/" and "FV/ " (every invoice found, then none)

#include "app/gui/DuePage.h"
#include "cli/ConsoleHost.h"

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

namespace {

QApplication &Application() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "pavena_due_bench";
  static char *argv[] = {name, nullptr};
  static QApplication application(argc, argv);
  return application;
}

std::vector<TDueInvoice> ManyInvoices(int count) {
  std::vector<TDueInvoice> invoices(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    TDueInvoice &invoice = invoices[std::size_t(i)];
    invoice.FileName = QStringLiteral("/dane/FAKTURY_KSEF/%1.xml").arg(i);
    invoice.Payment.CreditorName = QStringLiteral("Dostawca %1 sp. z o.o.").arg(i % 97);
    invoice.Payment.CreditorNIP = QStringLiteral("526%1").arg(i % 9973, 7, 10, QChar(u'0'));
    invoice.Payment.InvoiceNumber = QStringLiteral("FV/%1/2026").arg(i);
    invoice.Payment.CurrencyCode = i % 10 == 0 ? QStringLiteral("EUR") : QStringLiteral("PLN");
    invoice.Due.DueDate = QDate(2026, 1, 1).addDays(i % 365);
    invoice.ToPay = invoice.Gross = TAmount::FromUnits(1230000 + i);
  }
  return invoices;
}

// Runs the window's events until the filter typed last has run and its rows are shown.
void WaitUntilShown(TDuePage &page, const QTimer &typingDelay) {
  while (typingDelay.isActive() || page.Reading())
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void BM_DueSearchKey(benchmark::State &state) {
  Application();
  QTemporaryDir directory;
  TAppPaths paths;
  paths.ProgramDir = paths.AppDir = directory.path() + u'/';
  TConsoleHost console(paths);
  const std::vector<TDueInvoice> invoices = ManyInvoices(100000);
  TDuePage page(
      console.Host(), [] { return TMPPSettings{}; },
      [&](IDueInvoiceSource &, const TCancellation &) { return invoices; });
  page.resize(1200, 700);
  auto *search = page.findChild<QLineEdit *>(QStringLiteral("EdtSzukaj"));
  auto *typingDelay = page.findChild<QTimer *>(QStringLiteral("TmrFiltr"));
  typingDelay->setInterval(0);
  page.show();
  WaitUntilShown(page, *typingDelay);
  const QString typed = state.range(0) == 0 ? QStringLiteral("Dostawca 5") : QStringLiteral("FV/");
  bool withSpace = false;
  for (auto _ : state) {
    search->setText(withSpace ? typed + u' ' : typed);
    withSpace = !withSpace;
    WaitUntilShown(page, *typingDelay);
    page.repaint();
  }
}
BENCHMARK(BM_DueSearchKey)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
