#pragma once

#include "app/commands/HistoryListing.h"

#include <QObject>
#include <QThread>
#include <atomic>
#include <functional>

// Reads the journal for the page "Historia" on a thread of its own, so that the window answers
// while a read of a large journal runs: a listing's first page and its totals, then further
// pages as the view scrolls. A new listing ends the read of the one before and drops its
// answers. Answers arrive as signals on the window's thread, in the order asked.
class THistoryQueries : public QObject {
  Q_OBJECT

public:
  static constexpr int PageSize = 200;

  explicit THistoryQueries(IHistorySource &source, QObject *parent = nullptr);
  ~THistoryQueries() override;

  // A new listing: its first page (RowsRead with `first`), then its totals (Summarized).
  void Start(const THistoryFilter &filter);
  // The current listing's next page, below the payment `below`; nothing before its first page
  // has come.
  void FetchMore(std::int64_t below);
  // Runs `work` on the reading thread after what was asked before it; `done` then gets, on this
  // thread, the message of what `work` threw, or an empty text.
  void RunAfterReads(std::function<void()> work, std::function<void(const QString &error)> done);

  // Whether an answer is still to come.
  bool Busy() const { return FPending > 0; }

signals:
  void RowsRead(const std::vector<THistoryEntry> &entries, bool first, bool more);
  void Summarized(const THistorySummary &summary);
  // A read of the current listing failed.
  void Failed(const QString &message);
  // Every answer asked for has come.
  void Idle();

private:
  // Runs `read` on the reading thread unless a newer listing has started by then, and hands
  // its result to `answer` here unless one has started by the time it comes.
  template <class Result> void Post(std::function<Result()> read, std::function<void(const Result &)> answer);
  void Answered();

  IHistorySource &FSource;
  THistoryFilter FFilter;
  // Written on this thread, read on the reading thread as well.
  std::atomic<int> FGeneration{0};
  int FPending = 0;
  bool FFirstPageComing = false;
  QThread FThread;
  // Lives on FThread: the work posted to it runs there.
  QObject *FReading;
};
