// One edit on the dive page, as the diver waits for it: a changed bottom time
// of a 2-hour trimix dive recalculated through the plan, then the profile
// chart's series rebuilt. Drawing the chart is measured apart.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cstdlib>

#include "base/prompt.h"
#include "app/charts/profile_chart_data.h"
#include "app/charts/xy_line_graph.h"
#include "engine/dive_plan.h"
#include "plan/plan_group.h"

namespace {

using kv::CDivePlan;
using kv::CPlanPoint;

CPlanPoint Point(double depth, int seconds, double o2, double he) {
  CPlanPoint p;
  p.SetDepth(depth);
  p.m_duration = seconds;
  p.m_oxygen = o2;
  p.m_helium = he;
  p.m_closedCircuit = 0;
  return p;
}

// Open circuit 18/45 to 65 m for 30 minutes, 50 % from 21 m, oxygen at 6 m:
// about two hours of run time with the decompression.
void GiveTrimixDive(CDivePlan& dive) {
  dive.ClearUserPoints();
  dive.AppendUserPoint(Point(0, 0, 18, 45));
  dive.AppendUserPoint(Point(65, 30 * 60, 18, 45));
  dive.AppendUserPoint(Point(21, 0, 50, 0));
  dive.AppendUserPoint(Point(6, 0, 100, 0));
}

void BM_EditTwoHourTrimixDive(benchmark::State& state) {
  kv::CPlanGroup plan;
  plan.SetAutoRecalc(true);
  CDivePlan& dive = *plan.GetDive(0);
  GiveTrimixDive(dive);
  plan.CalculateDivePlan(0, true);
  int minutes = 30;
  std::size_t points = 0;
  for (auto _ : state) {
    // Each edit changes the bottom time, so every pass recalculates.
    minutes = minutes == 30 ? 31 : 30;
    const CPlanPoint& bottom = dive.UserPoints()[1];
    dive.UpdatePoint(1, {minutes * 60, bottom.m_depthPressure, false, bottom.m_oxygen, bottom.m_helium, 0.7, false});
    kv::app::SChartContent chart = kv::app::BuildProfileChart(dive, false);
    points = chart.series.size();
    benchmark::DoNotOptimize(chart);
  }
  state.counters["run_time_min"] = dive.GetRunTime() / 60.0;
  state.counters["series"] = static_cast<double>(points);
}
BENCHMARK(BM_EditTwoHourTrimixDive)->Unit(benchmark::kMillisecond);

void BM_PaintProfileChart(benchmark::State& state) {
  kv::CPlanGroup plan;
  CDivePlan& dive = *plan.GetDive(0);
  GiveTrimixDive(dive);
  plan.CalculateDivePlan(0, true);
  kv::app::CXYLineGraph graph;
  graph.SetContent(kv::app::BuildProfileChart(dive, false));
  QImage image(1000, 400, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    QPainter painter(&image);
    graph.Paint(painter, QRectF(image.rect()));
  }
}
BENCHMARK(BM_PaintProfileChart)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  // Fonts for the chart need a GUI application; no display is needed.
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
