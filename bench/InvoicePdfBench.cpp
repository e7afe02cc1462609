#include "pdf/InvoicePdf.h"

#include <QFile>
#include <QGuiApplication>
#include <benchmark/benchmark.h>

namespace {

// One of the project's example invoices, so that the benchmark needs nothing from outside.
QByteArray ExampleInvoice() {
  QFile file(QStringLiteral(PAVENA_EXAMPLES_DIR "/faktury/hurtownia-iskra.xml"));
  file.open(QIODevice::ReadOnly);
  return file.readAll();
}

// Reading the invoice, laying it out and writing the PDF in memory: what the generator does
// besides starting and writing the file.
void RenderOneInvoice(benchmark::State &state) {
  if (!QGuiApplication::instance()) {
    static int argc = 1;
    static char name[] = "pavena_pdf_bench";
    static char *argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    new QGuiApplication(argc, argv);
  }
  const QByteArray invoice = ExampleInvoice();
  for (auto _ : state)
    benchmark::DoNotOptimize(RenderInvoicePdf(invoice, QStringLiteral("hurtownia-iskra.xml"), QString(),
                                              QStringLiteral("https://qr.ksef.mf.gov.pl/invoice/")));
}
BENCHMARK(RenderOneInvoice)->Unit(benchmark::kMillisecond);

} // namespace
