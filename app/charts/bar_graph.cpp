#include "app/charts/bar_graph.h"

#include <QPainter>
#include <algorithm>

#include "app/platform/qt_text.h"
#include "app/i18n/text_ids.h"

namespace kv::app {

CBarGraph::CBarGraph() { Retranslate(); }

void CBarGraph::Retranslate() { SetAxisTitles(Str(kTextCompartment), Tr("% of limit")); }

void CBarGraph::SetContent(SChartContent content) {
  SetSeries(std::move(content.series));
  SetRanges(content.x, content.y);
}

void CBarGraph::PaintSeries(QPainter& painter, const QRectF& plot) const {
  painter.setPen(Qt::NoPen);
  for (const CGraphDataSet& series : m_series) {
    painter.setBrush(series.Colour());
    for (const CGraphData& d : series.Points()) {
      const QPointF top = ToPixel({d.x - kBarShare / 2, d.y}, plot);
      const QPointF base = ToPixel({d.x + kBarShare / 2, ViewY().min}, plot);
      painter.drawRect(QRectF(top, base).normalized());
    }
  }
  // The 100 % line: the limit at the surface under GF High.
  if (!m_series.empty()) {
    const double y = ToPixel({0, 100.0}, plot).y();
    painter.setPen(QPen(QColor(200, 0, 0), 1, Qt::DashLine));
    painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
  }
}

void CBarGraph::PaintOverlay(QPainter& painter, const QRectF& area, const QRectF& plot) const {
  CGraph::PaintOverlay(painter, area, plot);
  PaintLegend(painter, plot);
}

}  // namespace kv::app
