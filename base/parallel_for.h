#pragma once
// The one loop that spreads independent items (dives, bailout moments,
// variants of a plan) over the cores and gives exactly what working them one
// after another gives.
//
// Workers (the calling thread among them) take the items in index order,
// each as soon as it is free, and work them: the work of one item may only write what belongs to that item
// (its slot of a result array) and the scratch of its worker. The calling
// thread takes the finished items strictly in index order, as a sequential
// loop would meet them; whatever decides between items (a rule that ties them
// together, a question to the user, progress, cancellation) belongs in the
// taking, which may also redo an item or put it back. Progress and
// cancellation are polled on the calling thread only, between items and
// while it waits for the next one, never inside an item (also not inside
// one it works itself).

#include <cstddef>
#include <functional>
#include <thread>
#include <vector>

#include "base/progress.h"

namespace kv {

struct SParallelOptions {
  // 0: one worker per core; 1: every item on the calling thread, in order;
  // n: at most n workers. Never more workers than items.
  int threads = 0;
  // Polled for cancellation before each item is taken and while the calling
  // thread waits; its position is set to the number of items taken. May be null.
  IProgress* progress = nullptr;
  // How a worker thread is started: a seam for tests of a system that gives
  // no more threads (std::system_error). Unset: std::thread.
  std::function<std::thread(std::function<void()>)> startThread;
};

struct SParallelResult {
  std::size_t taken = 0;    // items 0 .. taken - 1 were worked and taken, in order
  bool cancelled = false;   // the progress asked to stop before every item was taken
  bool stopped = false;     // the taking asked to stop
  // Items after the last one taken whose work ran all the same (workers run
  // ahead), in index order: a caller whose work leaves state behind puts it back.
  std::vector<std::size_t> abandoned;
};

// The number of workers ParallelFor uses for count items with these
// options, so that per-worker scratch can be sized before it starts: at
// least 1, at most count (1 for no items).
unsigned ParallelWorkerCount(std::size_t count, const SParallelOptions& options);

// Works every item 0 .. count - 1 and takes them in order.
// - work(index, worker) runs on one of the workers: the calling thread is
//   worker 0 (it works items while it waits for the next one to take), the
//   threads started beside it 1 .. ParallelWorkerCount - 1. worker is the
//   same for every item one thread works: an index into per-thread scratch.
// - take(index) runs on the calling thread once work(index) has returned,
//   for index 0, 1, 2 ... in turn; false stops the loop after that item.
//   May be empty.
// Returns once every worker has finished. An exception thrown by work or
// take stops the loop and is rethrown on the calling thread.
SParallelResult ParallelFor(std::size_t count, const SParallelOptions& options,
                            const std::function<void(std::size_t index, unsigned worker)>& work,
                            const std::function<bool(std::size_t index)>& take = {});

}  // namespace kv
