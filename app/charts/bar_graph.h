#pragma once
// The tissue chart: one bar per compartment; each series is drawn as bars
// 0.8 of a slot wide, later series over earlier ones.

#include "app/charts/graph.h"
#include "app/charts/profile_chart_data.h"

namespace kv::app {

class CBarGraph : public CGraph {
public:
  static constexpr double kBarShare = 0.8;

  CBarGraph();
  void SetContent(SChartContent content);
  // Axis titles in the language now chosen.
  void Retranslate();

protected:
  void PaintSeries(QPainter& painter, const QRectF& plot) const override;
  // The legend: a swatch and the name of each series, top right in the plot.
  void PaintOverlay(QPainter& painter, const QRectF& area, const QRectF& plot) const override;
};

}  // namespace kv::app
