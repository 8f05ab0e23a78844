#include "base/clock.h"

#include <atomic>

namespace kv {
namespace {
CSystemClock g_system;
// Read by calculations and log lines on any thread, replaced by start-up and tests.
std::atomic<const IClock*> g_clock{&g_system};
}  // namespace

std::int64_t CSystemClock::Now() const { return static_cast<std::int64_t>(std::time(nullptr)); }

std::tm CSystemClock::LocalTime(std::int64_t t) const {
  std::time_t tt = static_cast<std::time_t>(t);
  std::tm out{};
  localtime_r(&tt, &out);
  return out;
}

std::tm CFixedClock::LocalTime(std::int64_t t) const {
  std::time_t tt = static_cast<std::time_t>(t);
  std::tm out{};
  gmtime_r(&tt, &out);
  return out;
}

const IClock& Clock() { return *g_clock.load(std::memory_order_acquire); }
void SetClock(const IClock* clock) { g_clock.store(clock ? clock : &g_system, std::memory_order_release); }

}  // namespace kv
