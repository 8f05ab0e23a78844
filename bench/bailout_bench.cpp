// Bailout planning of a closed-circuit 10/70 dive at 90 m for 25 minutes,
// bailing out at the end of the bottom time: on suggested gases, on a list of
// five gases, and swept over the dive every 60 s, in order and on every core,
// also against the same plannings made one by one. Each planning reports its
// dive calculations; BM_OneCalculation is the unit.

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>

#include "bailout/bailout_sweep.h"
#include "bailout/standalone_owner.h"
#include "engine/dive_plan.h"

namespace {

using kv::CDivePlan;
using kv::CPlanPoint;

std::unique_ptr<CDivePlan> Dive90m(bool gasList) {
  auto d = std::make_unique<CDivePlan>();
  d->SetGfLow(30);
  d->SetGfHigh(70);
  for (auto [depth, seconds, setpoint] : {std::tuple{0.0, 0, 0.7}, std::tuple{90.0, 25 * 60, 1.3}}) {
    CPlanPoint p;
    p.SetDepth(depth);
    p.m_duration = seconds;
    p.m_oxygen = 10;
    p.m_helium = 70;
    p.m_setpoint = setpoint;
    d->AppendUserPoint(p);
  }
  d->SetBailoutNoOfGasSwitches(3);
  if (gasList) {
    d->SetBailoutUseGasList(true);
    d->SetBailoutGasList("10/70,15/55,21/35,50/0,100/0");
  }
  d->Calculate(0, kv::SPreviousDiveState{});
  return d;
}

void BM_OneCalculation(benchmark::State& state) {
  auto d = Dive90m(false);
  for (auto _ : state) benchmark::DoNotOptimize(d->Calculate(0, kv::SPreviousDiveState{}));
  state.counters["run_time_s"] = d->GetRunTime();
}

void Plan(benchmark::State& state, bool gasList) {
  auto d = Dive90m(gasList);
  kv::SBailoutMoment moment;
  CDivePlan work;  // as a sweep plans: on one copy, made again for every planning
  const kv::SCalculationSettings settings = kv::SCalculationSettings{};
  for (auto _ : state) {
    moment = kv::PlanBailoutMoment(*d, kv::SPreviousDiveState{}, 25 * 60, kv::SBailoutAnswers{}, settings, work);
    benchmark::DoNotOptimize(moment.runTime);
  }
  state.counters["calculations"] = moment.calculations;
  state.counters["valid"] = moment.valid;
  state.counters["run_time_s"] = moment.runTime;
}

void BM_BailoutSuggestedGases(benchmark::State& state) { Plan(state, false); }
void BM_BailoutGasList5(benchmark::State& state) { Plan(state, true); }

// Argument: threads (1 plans in order on one thread, 0 on every core).
void BM_BailoutSweep60s(benchmark::State& state) {
  auto d = Dive90m(false);
  kv::CNullProgress progress;
  kv::SBailoutSweep sweep;
  for (auto _ : state) {
    sweep = kv::SweepBailout(*d, kv::SPreviousDiveState{}, 60, kv::SBailoutAnswers{false, true, false}, progress,
                             static_cast<int>(state.range(0)));
    benchmark::DoNotOptimize(sweep.moments.data());
  }
  int calculations = 0;
  for (const kv::SBailoutMoment& m : sweep.moments) calculations += m.calculations;
  state.counters["moments"] = static_cast<double>(sweep.moments.size());
  state.counters["calculations"] = calculations;
  state.counters["invalid"] = sweep.invalid;
}

// The sweep against the same plannings made one by one, each as "kvplan
// bailout --at S" makes it: the dive calculated, then bailed out at S with
// the sweep's carried gases as its bailout gas list. Argument: the sweep's
// threads (1 in order, 0 every core). ratio = sweep / sum of the singles.
void BM_BailoutSweepAgainstSingles(benchmark::State& state) {
  using Clock = std::chrono::steady_clock;
  auto d = Dive90m(false);
  kv::CNullProgress progress;
  const kv::SBailoutAnswers answers{false, true, false};
  const kv::SCalculationSettings settings = kv::SCalculationSettings{};
  double sweepSeconds = 0.0, singleSeconds = 0.0;
  std::size_t moments = 0;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    const kv::SBailoutSweep sweep =
        kv::SweepBailout(*d, kv::SPreviousDiveState{}, 60, answers, progress, static_cast<int>(state.range(0)));
    const auto t1 = Clock::now();
    const std::string list = kv::BailoutGasListText(sweep.carried.gases);
    for (const kv::SBailoutMoment& m : sweep.moments) {
      auto single = Dive90m(false);
      kv::CAnsweringPrompt prompt(answers);
      kv::CStandaloneDiveOwner owner(*single, kv::SPreviousDiveState{}, prompt, settings);
      single->SetBailoutUseGasList(true);
      single->SetBailoutGasList(list);
      single->SetOwner(&owner);
      owner.SetDive(single.get());
      single->SetBailout(m.second, false);
      benchmark::DoNotOptimize(single->GetRunTime());
    }
    const auto t2 = Clock::now();
    sweepSeconds += std::chrono::duration<double>(t1 - t0).count();
    singleSeconds += std::chrono::duration<double>(t2 - t1).count();
    moments = sweep.moments.size();
  }
  state.counters["moments"] = static_cast<double>(moments);
  state.counters["sweep_s"] = sweepSeconds / static_cast<double>(state.iterations());
  state.counters["singles_s"] = singleSeconds / static_cast<double>(state.iterations());
  state.counters["ratio"] = singleSeconds > 0.0 ? sweepSeconds / singleSeconds : 0.0;
}

BENCHMARK(BM_OneCalculation)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BailoutSuggestedGases)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BailoutGasList5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BailoutSweep60s)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BailoutSweepAgainstSingles)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
