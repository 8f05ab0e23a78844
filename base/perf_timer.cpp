#include "base/perf_timer.h"

namespace kv {

void CPerfTimer::Start() {
  m_accumulated = Clock::duration::zero();
  m_start = Clock::now();
  m_running = true;
}

void CPerfTimer::Stop() {
  if (!m_running) return;
  m_accumulated += Clock::now() - m_start;
  m_running = false;
}

void CPerfTimer::Pause() { Stop(); }

void CPerfTimer::Resume() {
  if (m_running) return;
  m_start = Clock::now();
  m_running = true;
}

double CPerfTimer::Elapsed() const {
  Clock::duration d = m_accumulated;
  if (m_running) d += Clock::now() - m_start;
  return std::chrono::duration<double>(d).count();
}

}  // namespace kv
