#pragma once
// The profile chart: run time against depth, with lines, markers, the warning
// band, the captions, the cursor line and the two-row cursor readout above
// the plot.

#include <functional>

#include "app/charts/graph.h"
#include "app/charts/profile_chart_data.h"

namespace kv::app {

class CXYLineGraph : public CGraph {
public:
  using ReadoutProvider = std::function<SCursorReadout(int second)>;

  CXYLineGraph();

  // Fills the chart from built content; the view keeps its zoom while the
  // full ranges stay the same.
  void SetContent(SChartContent content);
  // The dive page supplies the readout texts of a second.
  void SetReadoutProvider(ReadoutProvider provider) { m_readout = std::move(provider); }
  // The run time second under the cursor, while it lies inside the plot.
  std::optional<int> CursorSecond() const;
  // What the readout shows now (empty without a cursor).
  SCursorReadout CurrentReadout() const;

protected:
  void PaintSeries(QPainter& painter, const QRectF& plot) const override;
  void PaintOverlay(QPainter& painter, const QRectF& area, const QRectF& plot) const override;

private:
  void PaintBand(QPainter& painter, const CGraphDataSet& band, const QRectF& plot) const;
  void PaintReadout(QPainter& painter, const QRectF& area, const QRectF& plot) const;

  ReadoutProvider m_readout;
};

}  // namespace kv::app
