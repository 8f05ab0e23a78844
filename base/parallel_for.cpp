#include "base/parallel_for.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <system_error>

namespace kv {
namespace {

using Work = std::function<void(std::size_t, unsigned)>;
using Take = std::function<bool(std::size_t)>;

// How long the calling thread waits for an item before it looks at the
// progress again: a cancel is seen within this time, however long an item takes.
constexpr auto kPollInterval = std::chrono::milliseconds(100);

bool Cancelled(const IProgress* progress) { return progress && progress->IsCancelled(); }

// Takes item i; false when the loop ends with it.
bool TakeItem(std::size_t i, const Take& take, IProgress* progress, SParallelResult& result) {
  result.taken = i + 1;
  const bool more = !take || take(i);
  if (progress) progress->SetPosition(static_cast<int>(result.taken));
  if (!more) result.stopped = true;
  return more;
}

SParallelResult InOrder(std::size_t count, IProgress* progress, const Work& work, const Take& take) {
  SParallelResult result;
  for (std::size_t i = 0; i < count; ++i) {
    if (Cancelled(progress)) {
      result.cancelled = true;
      break;
    }
    work(i, 0);
    if (!TakeItem(i, take, progress, result)) break;
  }
  return result;
}

// What the workers and the calling thread share, all under one lock.
struct SSharedItems {
  explicit SSharedItems(std::size_t count) : done(count, 0) {}
  std::mutex lock;
  std::condition_variable changed;
  std::vector<char> done;  // work(i) has returned
  std::size_t next = 0;    // the next item a worker takes
  bool stop = false;       // no worker takes another item
  std::exception_ptr error;
};

// Stops the workers and waits for them, also when the taking throws.
class CWorkerPool {
public:
  explicit CWorkerPool(SSharedItems& items) : m_items(items) {}
  ~CWorkerPool() { Join(); }
  CWorkerPool(const CWorkerPool&) = delete;
  CWorkerPool& operator=(const CWorkerPool&) = delete;
  std::vector<std::thread>& Threads() { return m_threads; }
  void Join() {
    {
      std::lock_guard<std::mutex> guard(m_items.lock);
      m_items.stop = true;
    }
    m_items.changed.notify_all();
    for (std::thread& t : m_threads)
      if (t.joinable()) t.join();
  }

private:
  SSharedItems& m_items;
  std::vector<std::thread> m_threads;
};

// With the lock held: claims the next item, if any is left and the loop goes
// on, and works it with the lock released. False when there was none.
bool WorkNext(SSharedItems& items, std::unique_lock<std::mutex>& guard, std::size_t count, unsigned worker,
              const Work& work) {
  if (items.stop || items.next >= count) return false;
  const std::size_t i = items.next++;
  guard.unlock();
  try {
    work(i, worker);
  } catch (...) {
    guard.lock();
    if (!items.error) items.error = std::current_exception();
    items.stop = true;
    items.changed.notify_all();
    return false;
  }
  guard.lock();
  items.done[i] = 1;
  items.changed.notify_all();
  return true;
}

void WorkerLoop(SSharedItems& items, std::size_t count, unsigned worker, const Work& work) {
  std::unique_lock<std::mutex> guard(items.lock);
  while (WorkNext(items, guard, count, worker, work)) {
  }
}

}  // namespace

unsigned ParallelWorkerCount(std::size_t count, const SParallelOptions& options) {
  const unsigned wanted =
      options.threads > 0 ? static_cast<unsigned>(options.threads) : std::max(1u, std::thread::hardware_concurrency());
  return static_cast<unsigned>(std::max<std::size_t>(1, std::min<std::size_t>(wanted, count)));
}

SParallelResult ParallelFor(std::size_t count, const SParallelOptions& options, const Work& work, const Take& take) {
  IProgress* progress = options.progress;
  const unsigned workers = ParallelWorkerCount(count, options);
  if (workers <= 1) return InOrder(count, progress, work, take);

  SSharedItems items(count);
  CWorkerPool pool(items);
  // The calling thread is worker 0: it works items itself while it waits for
  // the next one to take (its memory, warm from earlier work, serves again),
  // and the others are started beside it.
  pool.Threads().reserve(workers - 1);
  try {
    for (unsigned w = 1; w < workers; ++w) {
      std::function<void()> loop = [&items, count, w, &work] { WorkerLoop(items, count, w, work); };
      pool.Threads().push_back(options.startThread ? options.startThread(std::move(loop)) : std::thread(std::move(loop)));
    }
  } catch (const std::system_error&) {
    // The system gives no more threads: those started share the work with
    // the calling thread, or it does the work alone, in order.
  }

  SParallelResult result;
  for (std::size_t i = 0; i < count; ++i) {
    if (Cancelled(progress)) {
      result.cancelled = true;
      break;
    }
    // Until item i is done: work one item more, or wait a while; either way
    // look at the progress again before going on.
    bool ready = false, failed = false;
    while (!ready && !failed) {
      {
        std::unique_lock<std::mutex> guard(items.lock);
        if (!items.done[i] && !items.error && !WorkNext(items, guard, count, 0, work))
          items.changed.wait_for(guard, kPollInterval, [&] { return items.done[i] || items.error; });
        ready = items.done[i] != 0;
        failed = items.error != nullptr;
      }
      if (!ready && !failed && Cancelled(progress)) break;
    }
    if (failed) break;
    if (!ready) {
      result.cancelled = true;
      break;
    }
    if (!TakeItem(i, take, progress, result)) break;
  }
  pool.Join();
  // After the join nothing else touches the shared state.
  for (std::size_t i = result.taken; i < count; ++i)
    if (items.done[i]) result.abandoned.push_back(i);
  if (items.error) std::rethrow_exception(items.error);
  return result;
}

}  // namespace kv
