// A table generation run of 30 depths x 24 bottom times (720 closed-circuit
// trimix dives with travel and deco switches), against the dives it
// calculates computed one after another as single dives. The run's peak memory is
// measured in a fresh process, for the full run and for its deep, long
// corner of 6 x 4 dives: it must not grow with the number of dives.

#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "base/preferences.h"
#include "tablegen/table_generation.h"

namespace {

using namespace kv;

CGasSwitch Switch(double depth, double oxygen, double helium, double setpoint) {
  CGasSwitch s;
  s.Set(depth, oxygen, helium, true, setpoint, true);
  return s;
}

// Depths from 30 m in steps of 2, bottom times from 10 minutes in steps of 5
// (30 x 24 reach 88 m and 125 minutes).
std::unique_ptr<CTableGeneration> Page(int depths, int times, double firstDepth = 30, int firstTime = 10) {
  Prefs().LoadSettings();
  auto page = std::make_unique<CTableGeneration>();
  STableGenerationInputs in;
  in.depthStart = firstDepth;
  in.depthFinish = firstDepth + 2.0 * (depths - 1);
  in.depthStep = 2;
  in.durationStart = firstTime;
  in.durationFinish = firstTime + 5 * (times - 1);
  in.durationStep = 5;
  in.gfLow = 30;
  in.gfHigh = 70;
  in.maxEad = 40;
  page->SetInputs(in);
  page->AddDescentSwitch(Switch(0, 21, 0, 0.7));
  page->AddDescentSwitch(Switch(20, 10, 60, 1.3));
  page->AddAscentSwitch(Switch(12, 10, 60, 1.4));
  page->AddAscentSwitch(Switch(6, 100, 0, 1.5));
  return page;
}

void Counters(benchmark::State& state, const CTableGeneration& page) {
  int calculated = 0;
  for (int plan = 0; plan < page.PlanCount(); ++plan) calculated += page.TakesPart(plan);
  state.counters["dives"] = page.PlanCount();
  state.counters["calculated"] = calculated;
  state.counters["tables"] = page.TableCount();
}

void BM_TableRun30x24(benchmark::State& state) {
  auto page = Page(30, 24);
  page->SetThreadCount(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    const bool ok = page->Generate();
    benchmark::DoNotOptimize(ok);
  }
  Counters(state, *page);
}

// The dives the run calculates (the deepest, longest ones fail past 6 hours
// and skip those beyond them), each calculated by itself as a single dive.
void BM_SingleDives30x24(benchmark::State& state) {
  auto page = Page(30, 24);
  page->SetThreadCount(1);
  page->Generate();
  const int times = static_cast<int>(page->BottomTimes().size());
  for (auto _ : state) {
    for (int plan = 0; plan < page->PlanCount(); ++plan) {
      if (page->Status(plan) == EGeneratedDiveStatus::Skipped) continue;
      const double depth = page->Depths()[static_cast<std::size_t>(plan / times)];
      const int minutes = page->BottomTimes()[static_cast<std::size_t>(plan % times)];
      {
        CDivePlan dive;
        dive.SetTableGenerationMode(true);
        dive.SetUseGasSwitchSchedule(true);
        dive.SetGfLow(30);
        dive.SetGfHigh(70);
        dive.SetMaxEad(40);
        CPlanPoint bottom;
        bottom.SetDepth(depth);
        bottom.m_duration = minutes * 60;
        dive.AppendUserPoint(bottom);
        dive.SetGasRanges(page->DescentSchedule(), page->AscentSchedule());
        benchmark::DoNotOptimize(dive.Calculate(0, nullptr, nullptr, 0, 0, true));
      }
    }
  }
}

// Peak resident memory (MB) of a fresh process (this program, started again)
// that runs one generation.
double ChildPeakMegabytes(int depths, int times, double firstDepth, int firstTime, int threads) {
  const pid_t child = fork();
  if (child == 0) {
    const std::string args[] = {std::to_string(depths), std::to_string(times), std::to_string(firstDepth),
                                std::to_string(firstTime), std::to_string(threads)};
    execl("/proc/self/exe", "tablegen_bench", "--peak-run", args[0].c_str(), args[1].c_str(), args[2].c_str(),
          args[3].c_str(), args[4].c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
    return -1.0;
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_PeakMemory(benchmark::State& state) {
  // The small run is the deep, long corner of the full one: the same longest
  // dives, a thirtieth of their number.
  double small = 0, full = 0;
  for (auto _ : state) {
    small = ChildPeakMegabytes(6, 4, 78, 110, static_cast<int>(state.range(0)));
    full = ChildPeakMegabytes(30, 24, 30, 10, static_cast<int>(state.range(0)));
  }
  state.counters["peak_mb_6x4"] = small;
  state.counters["peak_mb_30x24"] = full;
}

BENCHMARK(BM_TableRun30x24)->Arg(1)->Arg(0)->ArgName("threads")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SingleDives30x24)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PeakMemory)->Arg(1)->Arg(0)->ArgName("threads")->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (argc == 7 && std::string(argv[1]) == "--peak-run") {
    auto page = Page(std::atoi(argv[2]), std::atoi(argv[3]), std::atof(argv[4]), std::atoi(argv[5]));
    page->SetThreadCount(std::atoi(argv[6]));
    return page->Generate() ? 0 : 1;
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
