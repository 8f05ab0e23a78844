#include "app/charts/worst_case_chart.h"

#include <QPainter>
#include <algorithm>
#include <array>

#include "base/units.h"
#include "report/worst_case_html.h"

namespace kv::app {
namespace {

// A colour of its own for each of the up to 12 carried gases, none of them
// the red of the worst-case markers.
const std::array<QColor, 12> kGasColours = {
    QColor(0, 0, 255),     QColor(0, 150, 0),   QColor(200, 120, 0), QColor(140, 0, 180),
    QColor(0, 160, 160),   QColor(120, 80, 40), QColor(90, 90, 90),  QColor(255, 0, 150),
    QColor(110, 170, 255), QColor(150, 200, 0), QColor(0, 70, 110),  QColor(230, 190, 0)};
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

SChartContent BuildWorstCaseGasChart(const SBailoutSweep& sweep, const SDisplayUnits& units) {
  auto shown = [&](double litres) { return units.Shown(EQuantity::Volume, litres); };
  SChartContent content;
  content.x = MomentRange(sweep);
  // First, so that the legend names it however many gases follow.
  CGraphDataSet worst = WorstMarkers();
  for (const SBailoutWorstGas& g : sweep.gases)
    if (g.second >= 0) worst.Add(g.second, shown(g.litres));
  if (worst.Count() > 0) content.series.push_back(std::move(worst));
  double top = 0.0;
  const std::vector<std::string> gases = CarriedGasNames(sweep);
  for (std::size_t i = 0; i < gases.size() && i < kGasColours.size(); ++i) {
    // One line per carried gas over the valid moments; a moment that does not
    // breathe it needs none of it (0 litres).
    CGraphDataSet series(QString::fromStdString(gases[i]));
    series.SetColour(kGasColours[i]);
    series.SetLineWidth(2);
    for (const SBailoutMoment& m : sweep.moments) {
      if (!m.valid) continue;
      const double volume = shown(MomentLitres(m, gases[i]));
      series.Add(m.second, volume);
      top = std::max(top, volume);
    }
    if (series.Count() == 1) series.SetMarker(CGraphDataSet::kMarkerCross);
    content.series.push_back(std::move(series));
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
