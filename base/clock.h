#pragma once
// Calendar time for calculation stamps, report dates and log lines; tests set it.

#include <atomic>
#include <cstdint>
#include <ctime>

namespace kv {

class IClock {
public:
  virtual ~IClock() = default;
  // Calendar time in whole seconds since the epoch.
  virtual std::int64_t Now() const = 0;
  // The local broken-down time of a calendar time.
  virtual std::tm LocalTime(std::int64_t t) const = 0;
};

class CSystemClock final : public IClock {
public:
  std::int64_t Now() const override;
  std::tm LocalTime(std::int64_t t) const override;
};

// A clock that stands still until told otherwise; LocalTime treats it as UTC.
// It may be set while calculations on other threads read it.
class CFixedClock final : public IClock {
public:
  explicit CFixedClock(std::int64_t now = 0) : m_now(now) {}
  void Set(std::int64_t now) { m_now = now; }
  void Advance(std::int64_t seconds) { m_now += seconds; }
  std::int64_t Now() const override { return m_now; }
  std::tm LocalTime(std::int64_t t) const override;

private:
  std::atomic<std::int64_t> m_now;
};

// The process-wide clock; safe to read from any thread. Implementations must
// be safe to call from several threads at once (both here are).
const IClock& Clock();
// Installs the process-wide clock (not owned); nullptr restores the system clock.
void SetClock(const IClock* clock);

}  // namespace kv
