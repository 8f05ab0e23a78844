#include "app/charts/bar_graph.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>

#include "app/platform/qt_text.h"

namespace kv::app {

CBarGraph::CBarGraph() { Retranslate(); }

void CBarGraph::Retranslate() { SetAxisTitles(Str(1066), Tr("% of limit")); }

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
  if (m_series.empty()) return;
  QFont font(QStringLiteral("Arial"));
  font.setPointSizeF(8.5);
  painter.setFont(font);
  const QFontMetricsF metrics(font);
  const double line = metrics.height() + 2;
  double width = 0;
  for (const CGraphDataSet& series : m_series) width = std::max(width, metrics.horizontalAdvance(Tr(series.Name().toUtf8().constData())));
  const QRectF box(plot.right() - width - 30, plot.top() + 6, width + 24, line * static_cast<double>(m_series.size()) + 6);
  painter.setPen(QColor(150, 150, 150));
  painter.setBrush(QColor(255, 255, 255, 220));
  painter.drawRect(box);
  double y = box.top() + 3;
  for (const CGraphDataSet& series : m_series) {
    painter.fillRect(QRectF(box.left() + 5, y + (line - 10) / 2, 10, 10), series.Colour());
    painter.setPen(Qt::black);
    painter.drawText(QPointF(box.left() + 20, y + metrics.ascent() + 1), Tr(series.Name().toUtf8().constData()));
    y += line;
  }
}

}  // namespace kv::app
