// Calculation speed of whole dives, and the floor: stepping 16 nitrogen and
// 16 helium compartments and one ceiling per second for a day.

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <memory>

#include "base/prompt.h"
#include "engine/dive_plan.h"

namespace {

using kv::CDivePlan;
using kv::CPlanPoint;

CPlanPoint Point(double depth, int seconds, double o2, double he, bool cc, double setpoint) {
  CPlanPoint p;
  p.SetDepth(depth);
  p.m_duration = seconds;
  p.m_oxygen = o2;
  p.m_helium = he;
  p.m_closedCircuit = cc;
  p.m_setpoint = setpoint;
  return p;
}

std::unique_ptr<CDivePlan> Dive(std::initializer_list<CPlanPoint> points) {
  auto d = std::make_unique<CDivePlan>();
  d->SetGfLow(30);
  d->SetGfHigh(70);
  d->SetDescentRate(20);
  d->SetAscentRate(10);
  d->SetLastDecoStop(6);
  d->SetSurfacePressure(1000);
  for (const CPlanPoint& p : points) d->AppendUserPoint(p);
  return d;
}

void Run(benchmark::State& state, CDivePlan& d) {
  int runTime = 0;
  for (auto _ : state) {
    bool ok = d.Calculate(0, nullptr, nullptr, 0, 0, true);
    benchmark::DoNotOptimize(ok);
    runTime = d.GetRunTime();
  }
  state.counters["run_time_s"] = runTime;
}

void BM_OcAir40m25min(benchmark::State& state) {
  auto d = Dive({Point(40, 25 * 60, 21, 0, false, 0)});
  Run(state, *d);
}

void BM_OcTrimix60m20min(benchmark::State& state) {
  auto d = Dive({Point(60, 20 * 60, 18, 45, false, 0), Point(21, 0, 50, 0, false, 0), Point(6, 0, 100, 0, false, 0)});
  Run(state, *d);
}

void BM_CcTrimix90m25min(benchmark::State& state) {
  auto d = Dive({Point(90, 25 * 60, 10, 70, true, 1.3)});
  Run(state, *d);
}

// Accepts the 6-hour extension so that a dive of about 23 hours completes.
class CYes final : public kv::IUserPrompt {
public:
  void ShowMessage(const std::string&, kv::EIcon) override {}
  bool AskYesNo(const std::string&, bool, kv::EIcon) override { return true; }
};

void BM_Cc23Hours(benchmark::State& state) {
  CYes yes;
  kv::SetUserPrompt(&yes);
  auto d = Dive({Point(90, 240 * 60, 8, 80, true, 1.3)});
  Run(state, *d);
  kv::SetUserPrompt(nullptr);
}

void BM_FloorStep86400(benchmark::State& state) {
  std::array<double, 16> kn{}, kh{}, an{}, bn{}, ah{}, bh{};
  const double htn[16] = {4, 8, 12.5, 18.5, 27, 38.3, 54.3, 77, 109, 146, 187, 239, 305, 390, 498, 635};
  const double hth[16] = {1.51, 3.02, 4.72, 6.99, 10.21, 14.48, 20.53, 29.11, 41.2, 55.19, 70.69, 90.34, 115.29, 147.42, 188.24, 240.03};
  for (int i = 0; i < 16; ++i) {
    kn[static_cast<std::size_t>(i)] = 1 - std::pow(2.0, -1.0 / (htn[i] * 60));
    kh[static_cast<std::size_t>(i)] = 1 - std::pow(2.0, -1.0 / (hth[i] * 60));
    an[static_cast<std::size_t>(i)] = 500 + 40 * i;
    bn[static_cast<std::size_t>(i)] = 0.5 + 0.03 * i;
    ah[static_cast<std::size_t>(i)] = 600 + 40 * i;
    bh[static_cast<std::size_t>(i)] = 0.45 + 0.03 * i;
  }
  for (auto _ : state) {
    std::array<double, 16> n2{}, he{};
    n2.fill(745.207);
    double ceilingSum = 0;
    for (int t = 1; t <= 86400; ++t) {
      const double inN2 = 1500.0, inHe = 2000.0;
      double ceiling = 0;
      for (std::size_t i = 0; i < 16; ++i) {
        n2[i] += kn[i] * (inN2 - n2[i]);
        he[i] += kh[i] * (inHe - he[i]);
        const double p = n2[i] + he[i];
        const double a = (an[i] * n2[i] + ah[i] * he[i]) / p;
        const double b = (bn[i] * n2[i] + bh[i] * he[i]) / p;
        const double g = 0.7;
        const double tol = (p - g * a) / (g / b - g + 1);
        if (tol > ceiling) ceiling = tol;
      }
      ceilingSum += ceiling;
    }
    benchmark::DoNotOptimize(ceilingSum);
  }
}

BENCHMARK(BM_OcAir40m25min)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OcTrimix60m20min)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CcTrimix90m25min)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Cc23Hours)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FloorStep86400)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
