#include "model/ParallelLoop.h"

#include <QThread>
#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace {

// What the workers of one loop share: the next index to hand out and the earliest failure.
class TLoop {
public:
  TLoop(qsizetype count, const std::function<void(int, qsizetype)> &work) : FCount(count), FWork(work) {}

  // Takes index after index until none is left or one has failed. Nothing escapes: an
  // exception must not leave a thread, and the calling thread's own share ends the same way.
  void Work(int worker) {
    while (!FStopped.load()) {
      const qsizetype index = FNext.fetch_add(1);
      if (index >= FCount)
        return;
      try {
        FWork(worker, index);
      } catch (...) {
        Fail(index, std::current_exception());
      }
    }
  }

  void RethrowFirstFailure() const {
    if (FFailure)
      std::rethrow_exception(FFailure);
  }

private:
  // The indexes are handed out in rising order, so every index below a failing one has been
  // taken already and will be finished: only later ones are left untaken. The earliest of the
  // failures met is therefore the one a plain loop would have met first.
  void Fail(qsizetype index, std::exception_ptr failure) {
    FStopped.store(true);
    const std::lock_guard lock(FMutex);
    if (!FFailure || index < FFailedIndex) {
      FFailedIndex = index;
      FFailure = std::move(failure);
    }
  }

  const qsizetype FCount;
  const std::function<void(int, qsizetype)> &FWork;
  std::atomic<qsizetype> FNext = 0;
  std::atomic<bool> FStopped = false;
  std::mutex FMutex;
  qsizetype FFailedIndex = 0;
  std::exception_ptr FFailure;
};

} // namespace

int ParallelWorkers(qsizetype count) {
  return int(std::max<qsizetype>(1, std::min<qsizetype>(QThread::idealThreadCount(), count)));
}

void RunInParallel(qsizetype count, int workers, const std::function<void(int worker, qsizetype index)> &work) {
  TLoop loop(count, work);
  {
    // Plain threads: joining them is what makes their work visible here, also to the thread
    // sanitizer, which cannot see through Qt's own waiting.
    std::vector<std::jthread> threads;
    threads.reserve(std::max(0, workers - 1));
    try {
      for (int worker = 1; worker < workers && worker < count; ++worker)
        threads.emplace_back([&loop, worker] { loop.Work(worker); });
    } catch (const std::exception &) {
      // A thread that cannot be started (std::system_error, std::bad_alloc) leaves its share
      // of the indexes to the others.
    }
    loop.Work(0);
  }
  loop.RethrowFirstFailure();
}
