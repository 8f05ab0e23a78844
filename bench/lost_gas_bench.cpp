// The lost-gas tables of the 60 m trimix example (two deco gases, so two
// variants): one calculation of the dive is the unit; the variants on one
// thread and on two; and kvplan calc with and without --lost-gas, in-process
// with output thrown away, whose difference is what the option costs.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <ctime>
#include <memory>
#include <ostream>
#include <streambuf>
#include <string>

#include "base/preferences.h"
#include "cli/kvplan_app.h"
#include "plan/lost_gas.h"
#include "plan/plan_group.h"

namespace {

const std::string kPlan = std::string(KV_EXAMPLES_DIR) + "/oc-trimix-60m.ccp";

std::unique_ptr<kv::CPlanGroup> CalculatedPlan() {
  auto group = std::make_unique<kv::CPlanGroup>();
  group->LoadPlanGroup(kPlan);
  group->CalculateDivePlans(true, 0, true);
  return group;
}

void BM_OneCalculation(benchmark::State& state) {
  auto group = CalculatedPlan();
  kv::CDivePlan& dive = *group->GetDive(0);
  const kv::SCalculationSettings settings = kv::SCalculationSettings{};
  for (auto _ : state) benchmark::DoNotOptimize(dive.Calculate(0, kv::SPreviousDiveState{}, settings));
  state.counters["run_time_s"] = dive.GetRunTime();
}

// The processor time of every thread of the process, per iteration, in ms:
// the work done, where the benchmark's own times count the calling thread.
class CProcessTime {
public:
  explicit CProcessTime(benchmark::State& state) : m_state(state), m_start(std::clock()) {}
  ~CProcessTime() {
    const double ms = 1000.0 * static_cast<double>(std::clock() - m_start) / CLOCKS_PER_SEC;
    m_state.counters["all_threads_cpu_ms"] = ms / static_cast<double>(std::max<std::int64_t>(1, m_state.iterations()));
  }

private:
  benchmark::State& m_state;
  std::clock_t m_start;
};

// Argument: threads (1 on the calling thread, 2 on two workers).
void BM_LostGasVariants(benchmark::State& state) {
  auto group = CalculatedPlan();
  kv::SLostGasOptions options;
  options.extendedPlanning = kv::EExtendedPlanning::Decline;
  options.threads = static_cast<int>(state.range(0));
  std::size_t variants = 0;
  {
    CProcessTime time(state);
    for (auto _ : state) {
      const kv::CLostGasVariants result = kv::CalculateLostGasVariants(*group, {0}, options);
      variants = result.Of(0).size();
      benchmark::DoNotOptimize(variants);
    }
  }
  state.counters["variants"] = static_cast<double>(variants);
}

class CNullBuffer final : public std::streambuf {
protected:
  int overflow(int c) override { return c; }
  std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

void Kvplan(benchmark::State& state, std::vector<std::string> args) {
  CNullBuffer buffer;
  std::ostream null(&buffer);
  kv::SKvplanEnvironment environment;
  environment.userPreferences = [] { return std::make_unique<kv::CMemoryPreferenceStorage>(); };
  CProcessTime time(state);
  for (auto _ : state) benchmark::DoNotOptimize(kv::RunKvplan(args, null, null, environment));
}

void BM_KvplanCalc(benchmark::State& state) { Kvplan(state, {"calc", kPlan}); }
void BM_KvplanCalcLostGas(benchmark::State& state) { Kvplan(state, {"calc", kPlan, "--lost-gas"}); }

BENCHMARK(BM_OneCalculation)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LostGasVariants)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_KvplanCalc)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_KvplanCalcLostGas)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
