#include "TestSupport.h"
#include "model/ParallelLoop.h"

#include <QThread>
#include <atomic>
#include <new>
#include <stdexcept>
#include <typeinfo>
#include <vector>

namespace {

struct TLoopCase {
  qsizetype Count;
  int Workers;
};

void PrintTo(const TLoopCase &c, std::ostream *os) { *os << c.Count << " indexes, " << c.Workers << " workers"; }

class TRunInParallelTest : public ::testing::TestWithParam<TLoopCase> {};

// Each index runs once, and a worker's number belongs to one thread only (the caller's is 0),
// so that what a worker keeps under its number is never shared.
TEST_P(TRunInParallelTest, RunsEveryIndexOnceEachWorkerOnItsOwnThread) {
  const auto [count, workers] = GetParam();
  std::vector<std::atomic<int>> runs(count);
  std::vector<Qt::HANDLE> threadOfWorker(workers, nullptr);
  std::atomic<bool> sharedWorker = false;

  RunInParallel(count, workers, [&](int worker, qsizetype index) {
    ++runs[index];
    Qt::HANDLE &thread = threadOfWorker.at(worker);
    if (!thread)
      thread = QThread::currentThreadId();
    if (thread != QThread::currentThreadId())
      sharedWorker = true;
  });

  for (qsizetype index = 0; index < count; ++index)
    EXPECT_EQ(runs[index], 1) << "index " << index;
  EXPECT_FALSE(sharedWorker);
  // Only numbers that can get an index work, and only number 0 on the calling thread.
  for (int worker = 0; worker < workers; ++worker) {
    const Qt::HANDLE thread = threadOfWorker[worker];
    EXPECT_TRUE(worker < count || !thread) << "worker " << worker;
    EXPECT_TRUE(!thread || (thread == QThread::currentThreadId()) == (worker == 0)) << "worker " << worker;
  }
}

INSTANTIATE_TEST_SUITE_P(Loops, TRunInParallelTest,
                         ::testing::Values(TLoopCase{0, 4}, TLoopCase{1, 4}, TLoopCase{3, 16}, TLoopCase{500, 1},
                                           TLoopCase{500, 3}));

// Index 3 fails only once index 7 is failing: the later failure is not met after the earlier.
TEST(RunInParallel, ThrowsTheEarliestFailureAndBeginsNoIndexAfterAFailure) {
  std::vector<std::atomic<int>> runs(20);
  std::atomic<bool> sevenFailing = false;

  EXPECT_THROW_MESSAGE(RunInParallel(20, 2,
                                     [&](int, qsizetype index) {
                                       ++runs[index];
                                       if (index == 3) {
                                         sevenFailing.wait(false);
                                         throw Exception(QStringLiteral("trzeci"));
                                       }
                                       if (index == 7) {
                                         sevenFailing = true;
                                         sevenFailing.notify_all();
                                         throw Exception(QStringLiteral("siódmy"));
                                       }
                                     }),
                       QStringLiteral("trzeci"));

  // While index 3 waited, the other worker took 4 to 7; nobody took another index after.
  for (qsizetype index = 0; index < 20; ++index)
    EXPECT_EQ(runs[index], index <= 7 ? 1 : 0) << "index " << index;
}

struct TErrorCase {
  const char *Name;
  void (*Raise)();
  const std::type_info &Type;
  const char *What;
};

void PrintTo(const TErrorCase &c, std::ostream *os) { *os << c.Name; }

class TWorkerErrorTest : public ::testing::TestWithParam<TErrorCase> {};

// The caller's own share waits until a started thread has thrown.
TEST_P(TWorkerErrorTest, ReachesTheCallerAsThrownOnAnotherThread) {
  std::atomic<bool> thrown = false;
  try {
    RunInParallel(2, 2, [&](int worker, qsizetype) {
      if (worker == 0) {
        thrown.wait(false);
        return;
      }
      thrown = true;
      thrown.notify_all();
      GetParam().Raise();
    });
    ADD_FAILURE() << "nothing thrown";
  } catch (const std::exception &error) {
    EXPECT_EQ(typeid(error), GetParam().Type);
    EXPECT_STREQ(error.what(), GetParam().What);
  }
}

INSTANTIATE_TEST_SUITE_P(Errors, TWorkerErrorTest,
                         ::testing::Values(TErrorCase{"Own", [] { throw Exception(QStringLiteral("Błąd faktury")); },
                                                      typeid(Exception), "Błąd faktury"},
                                           TErrorCase{"OutOfMemory", [] { throw std::bad_alloc(); },
                                                      typeid(std::bad_alloc), std::bad_alloc().what()},
                                           TErrorCase{"Library",
                                                      [] { throw std::length_error("basic_string::_M_create"); },
                                                      typeid(std::length_error), "basic_string::_M_create"}),
                         [](const ::testing::TestParamInfo<TErrorCase> &info) { return std::string(info.param.Name); });

TEST(ParallelWorkers, OnePerCoreButNoMoreThanThereIsWork) {
  EXPECT_EQ(ParallelWorkers(0), 1);
  EXPECT_EQ(ParallelWorkers(1), 1);
  EXPECT_EQ(ParallelWorkers(1'000'000), std::max(1, QThread::idealThreadCount()));
}

} // namespace
