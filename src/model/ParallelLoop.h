#pragma once

#include <QtGlobal>
#include <functional>

// How many workers RunInParallel should use for `count` indexes of like work: one per core,
// never more than there are indexes, at least one.
int ParallelWorkers(qsizetype count);

// Runs work(worker, index) for every index from 0 to count - 1 on `workers` workers: the
// calling thread is worker 0, the others (1 to workers - 1) are threads started for the loop
// and ended before it returns. Indexes are handed out in rising order, each to one worker;
// what the work of one index changes must not be touched by another's. A worker keeps what
// it needs for itself under its own number.
// All or nothing, as a plain loop from 0 would be: once an index fails, no index not yet
// begun is begun, and what the earliest failing index threw (whatever its type) is thrown
// here, after every worker has stopped. Any index before it has then been done.
void RunInParallel(qsizetype count, int workers, const std::function<void(int worker, qsizetype index)> &work);
