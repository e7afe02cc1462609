#include "app/commands/BatchInvoices.h"

#include "ksef/KsefInvoiceReader.h"
#include "model/Exception.h"
#include "model/ParallelLoop.h"
#include "xml/XmlDocument.h"

namespace {

// The batch file pays every transfer in złoty, so an invoice in another currency would be paid
// as the same number of złoty.
void RefuseForeignCurrency(const QString &file, const TPayment &invoice) {
  if (!invoice.CurrencyCode.isEmpty() && invoice.CurrencyCode != QStringLiteral("PLN"))
    throw Exception(
        InvoiceFailureMessage(file, invoice,
                              QStringLiteral("Faktura w walucie %1: przelew zbiorczy obejmuje tylko faktury w PLN")
                                  .arg(invoice.CurrencyCode)));
}

} // namespace

TPaymentList ReadBatchInvoices(const QStringList &files, const QDateTime &now) {
  TPaymentList invoices(files.size());
  const int workers = ParallelWorkers(files.size());
  // Parsing is most of a batch's work. Each worker reads with a parser of its own, made here
  // before any thread starts, as libxml2 must be readied on one thread first.
  std::vector<TXmlParser> parsers(workers);
  RunInParallel(files.size(), workers, [&](int worker, qsizetype index) {
    TPayment &invoice = invoices[std::size_t(index)];
    invoice = TKsefInvoiceReader::LoadFromFile(files[index], now, &parsers[worker]);
    RefuseForeignCurrency(files[index], invoice);
  });
  return invoices;
}
