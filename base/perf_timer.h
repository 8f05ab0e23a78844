#pragma once
// Measures durations for the "Finished in %.6f seconds" log lines.

#include <chrono>

namespace kv {

class CPerfTimer {
public:
  void Start();
  void Stop();
  // Seconds between Start and Stop (or now, while running); paused time excluded.
  double Elapsed() const;
  void Pause();
  void Resume();
  bool IsRunning() const { return m_running; }

private:
  using Clock = std::chrono::steady_clock;
  Clock::time_point m_start{};
  Clock::duration m_accumulated{};
  bool m_running = false;
};

}  // namespace kv
