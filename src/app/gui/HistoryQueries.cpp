#include "app/gui/HistoryQueries.h"

#include "model/Exception.h"

#include <optional>

THistoryQueries::THistoryQueries(IHistorySource &source, QObject *parent)
    : QObject(parent), FSource(source), FReading(new QObject) {
  FThread.setObjectName(QStringLiteral("HistoryQueries"));
  FReading->moveToThread(&FThread);
  connect(&FThread, &QThread::finished, FReading, &QObject::deleteLater);
  FThread.start();
}

THistoryQueries::~THistoryQueries() {
  ++FGeneration;
  FSource.Interrupt();
  FThread.quit();
  FThread.wait();
}

void THistoryQueries::Start(const THistoryFilter &filter) {
  ++FGeneration;
  // What still reads belongs to an earlier listing.
  FSource.Interrupt();
  FFilter = filter;
  FFirstPageComing = true;
  Post<std::vector<THistoryEntry>>([this, filter] { return FSource.Page(filter, std::nullopt, PageSize); },
                                   [this](const std::vector<THistoryEntry> &entries) {
                                     FFirstPageComing = false;
                                     emit RowsRead(entries, true, entries.size() == std::size_t(PageSize));
                                   });
  Post<THistorySummary>([this, filter] { return FSource.Summarize(filter); },
                        [this](const THistorySummary &summary) { emit Summarized(summary); });
}

void THistoryQueries::FetchMore(std::int64_t below) {
  // The rows shown are still those of an earlier listing: what lies below them is not wanted.
  if (FFirstPageComing)
    return;
  Post<std::vector<THistoryEntry>>([this, filter = FFilter, below] { return FSource.Page(filter, below, PageSize); },
                                   [this](const std::vector<THistoryEntry> &entries) {
                                     emit RowsRead(entries, false, entries.size() == std::size_t(PageSize));
                                   });
}

void THistoryQueries::RunAfterReads(std::function<void()> work, std::function<void(const QString &error)> done) {
  ++FPending;
  QMetaObject::invokeMethod(FReading, [this, work = std::move(work), done = std::move(done)] {
    QString error;
    try {
      work();
    } catch (const std::exception &failure) {
      error = ErrorMessage(failure);
    }
    QMetaObject::invokeMethod(this, [this, done, error] {
      done(error);
      Answered();
    });
  });
}

template <class Result>
void THistoryQueries::Post(std::function<Result()> read, std::function<void(const Result &)> answer) {
  ++FPending;
  const int generation = FGeneration;
  QMetaObject::invokeMethod(FReading, [this, generation, read = std::move(read), answer = std::move(answer)] {
    std::optional<Result> result;
    QString error;
    if (generation == FGeneration) {
      try {
        result = read();
      } catch (const std::exception &failure) {
        error = ErrorMessage(failure);
      }
    }
    QMetaObject::invokeMethod(this, [this, generation, answer, result = std::move(result), error] {
      if (generation == FGeneration) {
        if (result) {
          answer(*result);
        } else {
          // The listing's other answers would cover its failure with a sum or a page.
          ++FGeneration;
          FFirstPageComing = false;
          emit Failed(error);
        }
      }
      Answered();
    });
  });
}

void THistoryQueries::Answered() {
  if (--FPending == 0)
    emit Idle();
}
