#include "app/charts/worst_case_chart.h"

#include <QPainter>
#include <algorithm>
#include <array>

#include "report/worst_case_html.h"

namespace kv::app {
namespace {

// Distinct line colours for up to eight bailout gases, then round again.
const std::array<QColor, 8> kGasColours = {QColor(0, 0, 255),   QColor(0, 150, 0),   QColor(200, 120, 0),
                                           QColor(140, 0, 180), QColor(0, 160, 160), QColor(120, 80, 40),
                                           QColor(90, 90, 90),  QColor(255, 0, 150)};
const QColor kWorstColour(220, 0, 0);

SRange MomentRange(const SBailoutSweep& sweep) {
  if (sweep.moments.empty()) return {0.0, 60.0};
  const double first = sweep.moments.front().second, last = sweep.moments.back().second;
  return last > first ? SRange{first, last} : SRange{first - 30.0, first + 30.0};
}

CGraphDataSet WorstMarkers() {
  CGraphDataSet worst(QString::fromLatin1(kSeriesWorstCase));
  worst.SetColour(kWorstColour);
  worst.SetMarker(CGraphDataSet::kMarkerSquare);
  worst.SetLineWidth(0);
  return worst;
}

}  // namespace

SChartContent BuildWorstCaseGasChart(const SBailoutSweep& sweep) {
  SChartContent content;
  content.x = MomentRange(sweep);
  // First, so that the legend names it however many gases follow.
  CGraphDataSet worst = WorstMarkers();
  for (const SBailoutWorstGas& g : sweep.gases) worst.Add(g.second, g.litres);
  if (worst.Count() > 0) content.series.push_back(std::move(worst));
  double top = 0.0;
  const std::vector<std::string> gases = SweepGasNames(sweep);
  for (std::size_t i = 0; i < gases.size(); ++i) {
    // The planner may choose a gas at some moments only: each run of
    // consecutive valid moments that breathe it is a line of its own (a lone
    // moment a cross), so no line suggests litres between them.
    const QString name = QString::fromStdString(gases[i]);
    const QColor colour = kGasColours[i % kGasColours.size()];
    CGraphDataSet run(name);
    auto close = [&] {
      if (run.Count() == 0) return;
      run.SetColour(colour);
      run.SetLineWidth(2);
      if (run.Count() == 1) run.SetMarker(CGraphDataSet::kMarkerCross);
      content.series.push_back(std::move(run));
      run = CGraphDataSet(name);
    };
    for (const SBailoutMoment& m : sweep.moments) {
      const double litres = m.valid ? MomentLitres(m, gases[i]) : 0.0;
      if (litres <= 0.0) {
        close();
        continue;
      }
      run.Add(m.second, litres);
      top = std::max(top, litres);
    }
    close();
  }
  content.y = {0.0, top > 0.0 ? top * 1.1 : 100.0};
  return content;
}

SChartContent BuildWorstCaseRunTimeChart(const SBailoutSweep& sweep) {
  SChartContent content;
  content.x = MomentRange(sweep);
  CGraphDataSet series(QString::fromLatin1(kSeriesRunTime));
  series.SetColour(QColor(0, 0, 0));
  series.SetLineWidth(2);
  double top = 0.0;
  for (const SBailoutMoment& m : sweep.moments) {
    if (!m.valid) continue;
    series.Add(m.second, m.runTime / 60.0);
    top = std::max(top, m.runTime / 60.0);
  }
  content.series.push_back(std::move(series));
  if (sweep.runTime.second >= 0) {
    CGraphDataSet worst = WorstMarkers();
    worst.Add(sweep.runTime.second, sweep.runTime.value / 60.0);
    content.series.push_back(std::move(worst));
  }
  content.y = {0.0, top > 0.0 ? top * 1.1 : 60.0};
  return content;
}

CWorstCaseGraph::CWorstCaseGraph() {
  SetYDownwards(false);
  SetTimeOnly(false);
  SetBailoutMenu(false);
}

void CWorstCaseGraph::PaintOverlay(QPainter& painter, const QRectF& area, const QRectF& plot) const {
  CXYLineGraph::PaintOverlay(painter, area, plot);
  PaintLegend(painter, plot);
}

}  // namespace kv::app
