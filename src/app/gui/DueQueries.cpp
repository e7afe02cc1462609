#include "app/gui/DueQueries.h"

#include "model/Exception.h"

#include <optional>

TDueQueries::TDueQueries(QObject *parent) : QObject(parent), FReading(new QObject) {
  FThread.setObjectName(QStringLiteral("DueQueries"));
  FReading->moveToThread(&FThread);
  connect(&FThread, &QThread::finished, FReading, &QObject::deleteLater);
  FThread.start();
}

TDueQueries::~TDueQueries() {
  ++FGeneration;
  if (FReadCancellation)
    FReadCancellation->Cancel();
  FThread.quit();
  FThread.wait();
}

void TDueQueries::Load(TRead read, const TDueFilter &filter) {
  ++FGeneration;
  // The read still running lists what is about to change.
  if (FReadCancellation)
    FReadCancellation->Cancel();
  FReadCancellation = std::make_shared<TCancellation>();
  const int generation = FGeneration;
  Post([this, generation, read = std::move(read), filter,
        cancellation = FReadCancellation]() -> std::optional<TDueListing> {
    if (cancellation->IsCancelled())
      return std::nullopt;
    try {
      FInvoices = std::make_shared<const std::vector<TDueInvoice>>(read(*cancellation));
    } catch (const TCancelled &) {
      return std::nullopt;
    }
    // A filter asked meanwhile shows the list read, with its own criteria.
    if (generation != FGeneration)
      return std::nullopt;
    return Filtered(filter);
  });
}

void TDueQueries::Filter(const TDueFilter &filter) {
  ++FGeneration;
  Post([this, filter]() -> std::optional<TDueListing> {
    // Nothing read yet: the read under way filters with what is asked last.
    if (!FInvoices)
      return std::nullopt;
    return Filtered(filter);
  });
}

TDueListing TDueQueries::Filtered(const TDueFilter &filter) const {
  TDueListing listing;
  listing.Invoices = FInvoices;
  std::vector<const TDueInvoice *> shown;
  for (int i = 0; i < int(FInvoices->size()); ++i)
    if (const TDueInvoice &invoice = (*FInvoices)[std::size_t(i)]; DueFilterPasses(filter, invoice)) {
      listing.Shown.push_back(i);
      shown.push_back(&invoice);
    }
  listing.ShownSums = DueSums(shown);
  return listing;
}

void TDueQueries::Post(std::function<std::optional<TDueListing>()> work) {
  ++FPending;
  const int generation = FGeneration;
  QMetaObject::invokeMethod(FReading, [this, generation, work = std::move(work)] {
    std::optional<TDueListing> listing;
    QString error;
    try {
      listing = work();
    } catch (const std::exception &failure) {
      error = ErrorMessage(failure);
    }
    // A read is kept for the filters after it even when its own answer is no longer wanted.
    if (generation != FGeneration)
      listing.reset();
    QMetaObject::invokeMethod(this, [this, generation, listing = std::move(listing), error] {
      if (generation == FGeneration) {
        if (listing)
          emit Listed(*listing);
        else if (!error.isEmpty())
          emit Failed(error);
      }
      Answered();
    });
  });
}

void TDueQueries::Answered() {
  if (--FPending == 0)
    emit Idle();
}
