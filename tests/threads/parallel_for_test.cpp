// The parallel loop: items worked on any number of threads are taken in
// index order with what the sequential loop gives; each worker keeps its
// number; progress and cancellation stay on the calling thread; a system
// that gives no thread leaves the work to the calling thread.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <set>
#include <stdexcept>
#include <system_error>
#include <thread>
#include <vector>

#include "base/parallel_for.h"
#include "support/test_support.h"

namespace kv {
namespace {

// Work whose result depends on the item alone, long enough that workers overlap.
long long Result(std::size_t i) {
  std::uint64_t x = i + 1;
  for (int k = 0; k < 2000 + static_cast<int>(i % 7) * 500; ++k) x = (x * 6364136223846793005ULL + 1442695040888963407ULL) % 1000003;
  return static_cast<long long>(x);
}

struct SRun {
  std::vector<long long> slots;
  std::vector<std::size_t> takenOrder;
  std::vector<long long> seenWhenTaken;  // the slot as the calling thread saw it when it took the item
  SParallelResult result;
};

SRun RunItems(std::size_t count, SParallelOptions options) {
  SRun run;
  run.slots.assign(count, -1);
  run.result = ParallelFor(
      count, options, [&](std::size_t i, unsigned) { run.slots[i] = Result(i); },
      [&](std::size_t i) {
        run.takenOrder.push_back(i);
        run.seenWhenTaken.push_back(run.slots[i]);
        return true;
      });
  return run;
}

TEST(ParallelFor, AnyNumberOfThreadsTakesTheSequentialResultsInOrder) {
  SParallelOptions sequential;
  sequential.threads = 1;
  const SRun expected = RunItems(200, sequential);
  ASSERT_EQ(expected.result.taken, 200u);
  for (std::size_t i = 0; i < 200; ++i) {
    ASSERT_EQ(expected.takenOrder[i], i);
    ASSERT_EQ(expected.slots[i], Result(i));
  }
  for (const int threads : {0, 2, 3, 8, 64}) {
    SCOPED_TRACE(threads);
    SParallelOptions options;
    options.threads = threads;
    const SRun run = RunItems(200, options);
    EXPECT_EQ(run.takenOrder, expected.takenOrder);
    // Every item was finished when the calling thread took it.
    EXPECT_EQ(run.seenWhenTaken, expected.seenWhenTaken);
    EXPECT_EQ(run.slots, expected.slots);
    EXPECT_EQ(run.result.taken, 200u);
    EXPECT_FALSE(run.result.cancelled);
    EXPECT_FALSE(run.result.stopped);
    EXPECT_TRUE(run.result.abandoned.empty());
  }
  EXPECT_EQ(RunItems(0, sequential).result.taken, 0u);
}

TEST(ParallelFor, EachWorkerNumberBelongsToOneThreadForPerThreadScratch) {
  SParallelOptions options;
  options.threads = 4;
  const std::size_t n = 300;
  const unsigned workers = ParallelWorkerCount(n, options);
  std::vector<std::vector<std::size_t>> scratch(workers);  // touched only by its own worker
  std::mutex lock;
  std::map<unsigned, std::set<std::thread::id>> threadsOf;
  const std::thread::id caller = std::this_thread::get_id();
  ParallelFor(n, options, [&](std::size_t i, unsigned worker) {
    ASSERT_LT(worker, workers);
    scratch[worker].push_back(i);
    std::lock_guard<std::mutex> guard(lock);
    threadsOf[worker].insert(std::this_thread::get_id());
  });
  std::set<std::thread::id> all;
  std::size_t worked = 0;
  for (const auto& [worker, ids] : threadsOf) {
    EXPECT_EQ(ids.size(), 1u) << "worker " << worker;
    all.insert(ids.begin(), ids.end());
    // A worker takes its items in rising order.
    EXPECT_TRUE(std::is_sorted(scratch[worker].begin(), scratch[worker].end()));
    worked += scratch[worker].size();
  }
  EXPECT_EQ(all.size(), threadsOf.size());
  // The calling thread is worker 0 when it works items while it waits.
  if (threadsOf.count(0)) {
    EXPECT_EQ(*threadsOf[0].begin(), caller);
  }
  for (const auto& [worker, ids] : threadsOf)
    if (worker > 0) {
      EXPECT_EQ(ids.count(caller), 0u);
    }
  EXPECT_EQ(worked, n);
}

TEST(ParallelFor, ProgressCountsTakenItemsAndACancelStopsBetweenThem) {
  for (const int threads : {1, 3}) {
    SCOPED_TRACE(threads);
    test::CRecordingProgress progress;
    progress.cancelAt = 5;
    SParallelOptions options;
    options.threads = threads;
    options.progress = &progress;
    std::atomic<int> worked{0};
    std::vector<std::size_t> taken;
    std::vector<char> workedItem(60, 0);
    const SParallelResult result = ParallelFor(
        60, options,
        [&](std::size_t i, unsigned) {
          Result(i);
          workedItem[i] = 1;
          ++worked;
        },
        [&](std::size_t i) {
          taken.push_back(i);
          return true;
        });
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(result.taken, 5u);
    EXPECT_EQ(taken, (std::vector<std::size_t>{0, 1, 2, 3, 4}));
    EXPECT_EQ(progress.positions, (std::vector<int>{1, 2, 3, 4, 5}));
    // What the workers did ahead is reported, so that it can be put back.
    for (std::size_t i : result.abandoned) {
      EXPECT_GE(i, 5u);
      EXPECT_TRUE(workedItem[i]);
    }
    EXPECT_EQ(static_cast<std::size_t>(worked.load()), 5 + result.abandoned.size());
    if (threads == 1) {
      EXPECT_TRUE(result.abandoned.empty());
    }
  }
}

TEST(ParallelFor, TheTakingCanStopTheLoopAndRedoAnItem) {
  for (const int threads : {1, 4}) {
    SCOPED_TRACE(threads);
    SParallelOptions options;
    options.threads = threads;
    std::vector<long long> slots(50, 0);
    std::vector<std::size_t> taken;
    const SParallelResult result = ParallelFor(
        50, options, [&](std::size_t i, unsigned) { slots[i] = Result(i); },
        [&](std::size_t i) {
          // The calling thread may change an item it takes: the workers are done with it.
          if (i == 3) slots[i] = -Result(i);
          taken.push_back(i);
          return i < 10;
        });
    EXPECT_TRUE(result.stopped);
    EXPECT_FALSE(result.cancelled);
    EXPECT_EQ(result.taken, 11u);
    EXPECT_EQ(taken.size(), 11u);
    EXPECT_EQ(slots[3], -Result(3));
    for (std::size_t i : result.abandoned) EXPECT_GT(i, 10u);
  }
}

TEST(ParallelFor, AnExceptionOfAnItemReachesTheCallingThread) {
  for (const int threads : {1, 4}) {
    SCOPED_TRACE(threads);
    SParallelOptions options;
    options.threads = threads;
    std::vector<std::size_t> taken;
    EXPECT_THROW(ParallelFor(
                     40, options,
                     [](std::size_t i, unsigned) {
                       if (i == 17) throw std::runtime_error("item 17");
                     },
                     [&](std::size_t i) {
                       taken.push_back(i);
                       return true;
                     }),
                 std::runtime_error);
    // Nothing at or after the failed item was taken.
    for (std::size_t i : taken) EXPECT_LT(i, 17u);
    // The taking's own exception leaves no worker running behind it.
    EXPECT_THROW(ParallelFor(
                     40, options, [](std::size_t, unsigned) {},
                     [](std::size_t i) -> bool {
                       if (i == 5) throw std::logic_error("take 5");
                       return true;
                     }),
                 std::logic_error);
  }
}

TEST(ParallelFor, WithoutThreadsFromTheSystemTheCallingThreadWorks) {
  SParallelOptions sequential;
  sequential.threads = 1;
  const SRun expected = RunItems(40, sequential);

  // No thread at all: every item on the calling thread, as worker 0.
  SParallelOptions none;
  none.threads = 4;
  none.startThread = [](std::function<void()>) -> std::thread {
    throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
  };
  const std::thread::id caller = std::this_thread::get_id();
  std::set<std::thread::id> ids;
  std::set<unsigned> workers;
  std::vector<long long> slots(40, -1);
  ParallelFor(40, none, [&](std::size_t i, unsigned worker) {
    ids.insert(std::this_thread::get_id());
    workers.insert(worker);
    slots[i] = Result(i);
  });
  EXPECT_EQ(ids, std::set<std::thread::id>{caller});
  EXPECT_EQ(workers, std::set<unsigned>{0});
  EXPECT_EQ(slots, expected.slots);

  // One thread given, then none: that one does the work.
  SParallelOptions one;
  one.threads = 4;
  int started = 0;
  one.startThread = [&started](std::function<void()> loop) -> std::thread {
    if (started++ > 0) throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    return std::thread(std::move(loop));
  };
  const SRun run = RunItems(40, one);
  EXPECT_EQ(run.slots, expected.slots);
  EXPECT_EQ(run.takenOrder, expected.takenOrder);
}

}  // namespace
}  // namespace kv
