#include "app/charts/xy_line_graph.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPolygonF>
#include <cmath>

namespace kv::app {
namespace {

constexpr double kReadoutHeight = 40.0;
// The warning band runs this far below the top of the plot, this thick.
constexpr double kBandOffset = 5.0;
constexpr double kBandWidth = 6.0;

void PaintMarker(QPainter& painter, const QPointF& at, int marker, const QColor& colour) {
  if (marker == CGraphDataSet::kMarkerSquare) {
    painter.fillRect(QRectF(at.x() - 3.5, at.y() - 3.5, 7, 7), colour);
  } else if (marker == CGraphDataSet::kMarkerCross) {
    painter.setPen(QPen(colour, 2));
    painter.drawLine(at + QPointF(-3, -3), at + QPointF(3, 3));
    painter.drawLine(at + QPointF(-3, 3), at + QPointF(3, -3));
  }
}

}  // namespace

CXYLineGraph::CXYLineGraph() {
  SetTimeAxis(true);
  SetYDownwards(true);
  SetTimeOnly(true);
  SetBailoutMenu(true);
  SetTopMargin(kReadoutHeight);
}

void CXYLineGraph::SetContent(SChartContent content) {
  SetSeries(std::move(content.series));
  SetRanges(content.x, content.y);
}

std::optional<int> CXYLineGraph::CursorSecond() const {
  const std::optional<double> x = CursorX();
  if (!x) return std::nullopt;
  return static_cast<int>(std::lround(std::max(0.0, *x)));
}

SCursorReadout CXYLineGraph::CurrentReadout() const {
  const std::optional<int> second = CursorSecond();
  if (!second || !m_readout) return {};
  return m_readout(*second);
}

void CXYLineGraph::PaintSeries(QPainter& painter, const QRectF& plot) const {
  QPolygonF line;
  for (const CGraphDataSet& series : m_series) {
    if (series.IsErrorBar()) {
      PaintBand(painter, series, plot);
      continue;
    }
    line.clear();
    line.reserve(series.Count());
    for (const CGraphData& d : series.Points()) line << ToPixel(d, plot);
    QPen pen(series.Colour(), series.LineWidth());
    pen.setCapStyle(series.LineWidth() > 1 ? Qt::FlatCap : Qt::SquareCap);
    painter.setPen(pen);
    // A series of line width 0 is markers only.
    if (line.size() > 1 && series.LineWidth() > 0) painter.drawPolyline(line);
    if (series.Marker() != CGraphDataSet::kMarkerNone)
      for (const QPointF& at : line) PaintMarker(painter, at, series.Marker(), series.Colour());
  }
}

void CXYLineGraph::PaintBand(QPainter& painter, const CGraphDataSet& band, const QRectF& plot) const {
  QPen pen(band.Colour(), kBandWidth);
  pen.setCapStyle(Qt::FlatCap);
  painter.setPen(pen);
  const double y = plot.top() + kBandOffset;
  const auto& points = band.Points();
  std::size_t i = 0;
  while (i < points.size()) {
    if (points[i].y == 0.0) {
      ++i;
      continue;
    }
    const std::size_t first = i;
    while (i < points.size() && points[i].y != 0.0) ++i;
    double x0 = ToPixel(points[first], plot).x();
    double x1 = ToPixel(points[i - 1], plot).x();
    // A single flagged second still shows.
    if (x1 - x0 < 2.0) x1 = x0 + 2.0;
    painter.drawLine(QPointF(x0, y), QPointF(x1, y));
  }
}

void CXYLineGraph::PaintOverlay(QPainter& painter, const QRectF& area, const QRectF& plot) const {
  CGraph::PaintOverlay(painter, area, plot);
  if (const std::optional<double> x = CursorX(); x && !Dragging()) {
    const double px = ToPixel({*x, ViewY().min}, plot).x();
    painter.setPen(QPen(CursorPersistent() ? QColor(0, 0, 160) : QColor(90, 90, 90), 1,
                        CursorPersistent() ? Qt::SolidLine : Qt::DashLine));
    painter.drawLine(QPointF(px, plot.top()), QPointF(px, plot.bottom()));
  }
  PaintReadout(painter, area, plot);
}

void CXYLineGraph::PaintReadout(QPainter& painter, const QRectF& area, const QRectF& plot) const {
  painter.setFont(ChartFont(8.5));
  const QFontMetricsF metrics(painter.font());
  const QRectF box(plot.left(), area.top() + 2, plot.width(), plot.top() - area.top() - 6);
  const QString dragText = DragReadout(plot);
  if (!dragText.isEmpty()) {
    painter.setPen(Qt::black);
    painter.drawText(box.adjusted(6, 2, -6, 0), Qt::AlignLeft | Qt::AlignTop, dragText);
    return;
  }
  const SCursorReadout readout = Dragging() ? SCursorReadout() : CurrentReadout();
  if (readout.IsEmpty()) return;
  painter.setPen(QColor(150, 150, 150));
  painter.setBrush(QColor(255, 255, 230));
  painter.drawRect(box);
  painter.setBrush(Qt::NoBrush);
  const double gap = metrics.horizontalAdvance(QString::fromLatin1(kReadoutGap));
  int row = 0;
  for (const auto* parts : {&readout.first, &readout.second}) {
    double x = box.left() + 6;
    const double y = box.top() + 3 + metrics.ascent() + row * (metrics.height() + 1);
    for (const SReadoutPart& part : *parts) {
      painter.setPen(part.warning ? QColor(220, 0, 0) : QColor(0, 0, 0));
      painter.drawText(QPointF(x, y), part.text);
      x += metrics.horizontalAdvance(part.text) + gap;
    }
    ++row;
  }
}

}  // namespace kv::app
