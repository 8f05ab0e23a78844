#include "app/charts/graph.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>

#include "base/text.h"
#include "app/platform/qt_text.h"
#include "app/i18n/text_ids.h"

namespace kv::app {
namespace {

constexpr double kLeftMargin = 58.0;
constexpr double kRightMargin = 16.0;
constexpr double kBottomMargin = 38.0;
// A press and release closer than this is a click, not a drag.
constexpr double kClickDistance = 4.0;


}  // namespace

QFont ChartFont(double pointSize) {
  QFont font(QStringLiteral("Arial"));
  font.setPointSizeF(pointSize);
  return font;
}

const CGraphDataSet* CGraph::FindSeries(const QString& name) const {
  for (const CGraphDataSet& s : m_series)
    if (s.Name() == name) return &s;
  return nullptr;
}

void CGraph::SetRanges(SRange x, SRange y) {
  if (x == m_fullX && y == m_fullY) return;
  m_fullX = x;
  m_fullY = y;
  ResetZoom();
}

void CGraph::ResetZoom() {
  m_viewX = m_fullX;
  m_viewY = m_fullY;
}

void CGraph::ZoomTo(SRange x, SRange y) {
  if (x.min > x.max) std::swap(x.min, x.max);
  if (y.min > y.max) std::swap(y.min, y.max);
  // Less than a second (or a vanishing span on other charts) says nothing more.
  const double smallestX = m_timeAxis ? 1.0 : m_fullX.Span() * 1e-6;
  if (!(x.Span() >= smallestX)) return;
  m_viewX = x;
  if (!m_timeOnly && y.Span() > m_fullY.Span() * 1e-6) m_viewY = y;
}

// ---- Geometry ------------------------------------------------------------------

QRectF CGraph::PlotRect(const QRectF& area) const {
  QRectF plot = area.adjusted(kLeftMargin, m_topMargin, -kRightMargin, -kBottomMargin);
  if (plot.width() < 1.0) plot.setWidth(1.0);
  if (plot.height() < 1.0) plot.setHeight(1.0);
  return plot;
}

QPointF CGraph::ToPixel(const CGraphData& value, const QRectF& plot) const {
  const double fx = m_viewX.Span() > 0 ? (value.x - m_viewX.min) / m_viewX.Span() : 0.0;
  const double fy = m_viewY.Span() > 0 ? (value.y - m_viewY.min) / m_viewY.Span() : 0.0;
  const double y = m_yDownwards ? plot.top() + fy * plot.height() : plot.bottom() - fy * plot.height();
  return {plot.left() + fx * plot.width(), y};
}

CGraphData CGraph::ToValue(const QPointF& pixel, const QRectF& plot) const {
  const double fx = (pixel.x() - plot.left()) / plot.width();
  const double fy = m_yDownwards ? (pixel.y() - plot.top()) / plot.height() : (plot.bottom() - pixel.y()) / plot.height();
  return {m_viewX.min + fx * m_viewX.Span(), m_viewY.min + fy * m_viewY.Span()};
}

SAxisTicks CGraph::MakeTicks(SRange range, int maxTicks, bool time) {
  SAxisTicks ticks;
  const double span = range.Span();
  if (!(span > 0.0) || !std::isfinite(span)) {
    ticks.values.push_back(range.min);
    return ticks;
  }
  const double raw = span / std::max(1, maxTicks);
  double step = 0.0;
  if (time) {
    // Run time reads best in whole seconds, minutes, quarter hours and hours.
    static constexpr std::array<double, 17> kSteps = {1,   2,   5,    10,   15,   30,   60,    120,  300,
                                                      600, 900, 1200, 1800, 3600, 7200, 10800, 21600};
    auto it = std::find_if(kSteps.begin(), kSteps.end(), [&](double s) { return s >= raw; });
    step = it != kSteps.end() ? *it : std::ceil(raw / 21600.0) * 21600.0;
  } else {
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0, 10.0}) {
      step = m * magnitude;
      if (step >= raw * (1 - 1e-9)) break;
    }
    ticks.decimals = std::max(0, static_cast<int>(-std::floor(std::log10(step) + 1e-9)));
  }
  const double first = std::ceil(range.min / step - 1e-9) * step;
  for (int i = 0;; ++i) {
    const double v = first + i * step;
    if (v > range.max + step * 1e-9 || i > 1000) break;
    ticks.values.push_back(std::abs(v) < step * 1e-9 ? 0.0 : v);
  }
  return ticks;
}

QString CGraph::TickLabel(double value, int decimals, bool time) {
  if (time) {
    const int s = std::max(0, static_cast<int>(std::lround(value)));
    return ToQt(Format("%02d:%02d", s / 60, s % 60));
  }
  const std::string format = Format("%%.%df", decimals);
  return ToQt(Format(format.c_str(), value));
}

QStringList CGraph::TimeTickLabels(const SAxisTicks& ticks, SRange view) {
  QStringList labels;
  const bool hours = view.max >= 6000.0;
  bool wholeMinutes = true;
  for (double v : ticks.values) wholeMinutes = wholeMinutes && std::lround(v) % 60 == 0;
  for (double v : ticks.values) {
    const int s = std::max(0, static_cast<int>(std::lround(v)));
    if (!hours)
      labels << TickLabel(v, ticks.decimals, true);
    else if (wholeMinutes)
      labels << ToQt(Format("%d:%02d", s / 3600, s / 60 % 60));
    else
      labels << ToQt(Format("%d:%02d:%02d", s / 3600, s / 60 % 60, s % 60));
  }
  return labels;
}

QString CGraph::MinutesSeconds(int seconds) {
  seconds = std::max(0, seconds);
  return ToQt(Format("%d:%02d", seconds / 60, seconds % 60));
}

// ---- Interaction --------------------------------------------------------------------

void CGraph::SetMode(EMode mode) {
  m_mode = mode;
  m_dragStart.reset();
  if (mode == EMode::Cursor) m_cursorPersistent = false;
}

bool CGraph::IsClick(const QPointF& a, const QPointF& b) const {
  return std::abs(a.x() - b.x()) < kClickDistance && std::abs(a.y() - b.y()) < kClickDistance;
}

bool CGraph::MousePress(const QPointF& pos, const QRectF& area) {
  const QRectF plot = PlotRect(area);
  if (!plot.contains(pos)) return false;
  m_dragStart = pos;
  m_dragNow = pos;
  m_dragPlot = plot;
  m_panStartX = m_viewX;
  m_panStartY = m_viewY;
  return false;
}

bool CGraph::MouseMove(const QPointF& pos, const QRectF& area) {
  const QRectF plot = PlotRect(area);
  if (m_dragStart) {
    m_dragNow = pos;
    if (m_mode == EMode::Pan) {
      const double dx = (pos.x() - m_dragStart->x()) / plot.width() * m_panStartX.Span();
      m_viewX = {m_panStartX.min - dx, m_panStartX.max - dx};
      if (!m_timeOnly) {
        double dy = (pos.y() - m_dragStart->y()) / plot.height() * m_panStartY.Span();
        if (!m_yDownwards) dy = -dy;
        m_viewY = {m_panStartY.min - dy, m_panStartY.max - dy};
      }
      return true;
    }
    if (m_mode == EMode::Zoom) return true;
  }
  if (m_cursorPersistent || m_mode == EMode::PersistentCursor) return false;
  if (plot.contains(pos)) {
    m_cursor = ToValue(pos, plot);
    return true;
  }
  if (!m_cursor) return false;
  m_cursor.reset();
  return true;
}

bool CGraph::MouseRelease(const QPointF& pos, const QRectF& area) {
  if (!m_dragStart) return false;
  const QPointF start = *m_dragStart;
  m_dragStart.reset();
  const QRectF plot = PlotRect(area);
  if (IsClick(start, pos)) {
    // A click pins the cursor where it is, or lets it follow the mouse again.
    m_cursor = ToValue(pos, plot);
    m_cursorPersistent = m_mode == EMode::PersistentCursor ? true : !m_cursorPersistent;
    return true;
  }
  if (m_mode == EMode::Zoom) {
    const QPointF end(std::clamp(pos.x(), plot.left(), plot.right()), std::clamp(pos.y(), plot.top(), plot.bottom()));
    const CGraphData a = ToValue(start, plot);
    const CGraphData b = ToValue(end, plot);
    ZoomTo({a.x, b.x}, {a.y, b.y});
  }
  // The cursor that follows the mouse is where the mouse is now, in the new
  // view, not where it was before the drag.
  if (!m_cursorPersistent && m_mode != EMode::PersistentCursor) {
    if (plot.contains(pos))
      m_cursor = ToValue(pos, plot);
    else
      m_cursor.reset();
  }
  return true;
}

bool CGraph::MouseLeave() {
  if (m_cursorPersistent || !m_cursor) return false;
  m_cursor.reset();
  return true;
}

bool CGraph::PlaceCursor(const QPointF& pos, const QRectF& area) {
  const QRectF plot = PlotRect(area);
  if (!plot.contains(pos)) return false;
  m_cursor = ToValue(pos, plot);
  return true;
}

std::optional<double> CGraph::CursorX() const {
  if (!m_cursor || m_cursor->x < m_viewX.min || m_cursor->x > m_viewX.max) return std::nullopt;
  return m_cursor->x;
}

void CGraph::MoveCursorBy(double dx) {
  const double from = m_cursor ? m_cursor->x : m_viewX.min;
  m_cursor = CGraphData{std::clamp(from + dx, m_viewX.min, m_viewX.max), m_viewY.min};
  m_cursorPersistent = true;
}

std::optional<QRectF> CGraph::DragRect() const {
  if (!m_dragStart || m_mode != EMode::Zoom || IsClick(*m_dragStart, m_dragNow)) return std::nullopt;
  QRectF r = QRectF(*m_dragStart, m_dragNow).normalized().intersected(m_dragPlot);
  if (m_timeOnly) {
    r.setTop(m_dragPlot.top());
    r.setBottom(m_dragPlot.bottom());
  }
  return r;
}

QString CGraph::DragReadout(const QRectF& plot) const {
  const std::optional<QRectF> r = DragRect();
  if (!r) return {};
  const CGraphData a = ToValue(r->topLeft(), plot);
  const CGraphData b = ToValue(r->bottomRight(), plot);
  QString text = Str(kTextTime) + QLatin1Char(' ') + MinutesSeconds(static_cast<int>(std::lround(std::min(a.x, b.x)))) +
                 QStringLiteral(" - ") + MinutesSeconds(static_cast<int>(std::lround(std::max(a.x, b.x))));
  if (!m_timeOnly) {
    text += QStringLiteral(",    ") + Str(kTextDepth) +
            ToQt(Format(" %.1f - %.1f ", std::min(a.y, b.y), std::max(a.y, b.y))) + m_yUnit;
  }
  return text;
}

// ---- Painting ---------------------------------------------------------------------------

void CGraph::Paint(QPainter& painter, const QRectF& area) const {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.fillRect(area, Qt::white);
  const QRectF plot = PlotRect(area);
  PaintAxes(painter, area, plot);
  painter.save();
  painter.setClipRect(plot.adjusted(-1, -1, 1, 1));
  PaintSeries(painter, plot);
  painter.restore();
  PaintOverlay(painter, area, plot);
  painter.restore();
}

void CGraph::PaintAxes(QPainter& painter, const QRectF& area, const QRectF& plot) const {
  painter.setFont(ChartFont(8.0));
  const QFontMetricsF metrics(painter.font());
  const QPen gridPen(QColor(200, 200, 200), 1, Qt::DotLine);
  const QPen axisPen(QColor(60, 60, 60), 1);

  const int maxX = std::max(2, static_cast<int>(plot.width() / (metrics.horizontalAdvance(QStringLiteral("000:00")) * 1.8)));
  const SAxisTicks xt = MakeTicks(m_viewX, maxX, m_timeAxis);
  const QStringList timeLabels = m_timeAxis ? TimeTickLabels(xt, m_viewX) : QStringList();
  for (std::size_t i = 0; i < xt.values.size(); ++i) {
    const double v = xt.values[i];
    const double px = ToPixel({v, m_viewY.min}, plot).x();
    if (m_grid) {
      painter.setPen(gridPen);
      painter.drawLine(QPointF(px, plot.top()), QPointF(px, plot.bottom()));
    }
    painter.setPen(axisPen);
    painter.drawLine(QPointF(px, plot.bottom()), QPointF(px, plot.bottom() + 4));
    const QString label = m_timeAxis ? timeLabels[static_cast<qsizetype>(i)] : TickLabel(v, xt.decimals, false);
    const double w = metrics.horizontalAdvance(label);
    painter.drawText(QPointF(px - w / 2, plot.bottom() + 5 + metrics.ascent()), label);
  }
  const int maxY = std::max(2, static_cast<int>(plot.height() / (metrics.height() * 2.2)));
  const SAxisTicks yt = MakeTicks(m_viewY, maxY, false);
  for (double v : yt.values) {
    const double py = ToPixel({m_viewX.min, v}, plot).y();
    if (m_grid) {
      painter.setPen(gridPen);
      painter.drawLine(QPointF(plot.left(), py), QPointF(plot.right(), py));
    }
    painter.setPen(axisPen);
    painter.drawLine(QPointF(plot.left() - 4, py), QPointF(plot.left(), py));
    const QString label = TickLabel(v, yt.decimals, false);
    const double w = metrics.horizontalAdvance(label);
    painter.drawText(QPointF(plot.left() - 6 - w, py + metrics.ascent() / 2 - 1), label);
  }
  painter.setPen(axisPen);
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(plot);
  if (!m_xTitle.isEmpty()) {
    const double w = metrics.horizontalAdvance(m_xTitle);
    painter.drawText(QPointF(plot.center().x() - w / 2, area.bottom() - metrics.descent() - 2), m_xTitle);
  }
  if (!m_yTitle.isEmpty()) {
    painter.save();
    painter.translate(area.left() + metrics.ascent() + 2, plot.center().y());
    painter.rotate(-90);
    painter.drawText(QPointF(-metrics.horizontalAdvance(m_yTitle) / 2, 0), m_yTitle);
    painter.restore();
  }
}

void CGraph::PaintLegend(QPainter& painter, const QRectF& plot) const {
  // A name is listed once, with the colour of its first series.
  std::vector<const CGraphDataSet*> entries;
  for (const CGraphDataSet& series : m_series)
    if (std::none_of(entries.begin(), entries.end(), [&](const CGraphDataSet* e) { return e->Name() == series.Name(); }))
      entries.push_back(&series);
  if (entries.empty()) return;
  const QFont font = ChartFont(8.5);
  painter.setFont(font);
  const QFontMetricsF metrics(font);
  const double line = metrics.height() + 2;
  double width = 0;
  for (const CGraphDataSet* series : entries) width = std::max(width, metrics.horizontalAdvance(Tr(series->Name().toUtf8().constData())));
  // A long list is cut at the plot's height.
  const int shown = std::max(1, std::min(static_cast<int>(entries.size()), static_cast<int>((plot.height() - 12) / line)));
  entries.resize(static_cast<std::size_t>(shown));
  const QRectF box(plot.right() - width - 30, plot.top() + 6, width + 24, line * shown + 6);
  painter.setPen(QColor(150, 150, 150));
  painter.setBrush(QColor(255, 255, 255, 220));
  painter.drawRect(box);
  painter.setBrush(Qt::NoBrush);
  double y = box.top() + 3;
  for (const CGraphDataSet* series : entries) {
    painter.fillRect(QRectF(box.left() + 5, y + (line - 10) / 2, 10, 10), series->Colour());
    painter.setPen(Qt::black);
    painter.drawText(QPointF(box.left() + 20, y + metrics.ascent() + 1), Tr(series->Name().toUtf8().constData()));
    y += line;
  }
}

void CGraph::PaintOverlay(QPainter& painter, const QRectF& area, const QRectF& plot) const {
  Q_UNUSED(area);
  if (m_bailoutModeCaption) {
    QFont font = ChartFont(8.0);
    font.setPixelSize(std::clamp(static_cast<int>(plot.height() / 6), 14, 40));
    font.setBold(true);
    font.setItalic(true);
    painter.setFont(font);
    painter.setPen(QColor(200, 0, 0, 150));
    painter.drawText(plot, Qt::AlignCenter, Tr("BAILOUT MODE"));
  }
  if (m_recalculationCaption) {
    QFont font = ChartFont(8.0);
    font.setPixelSize(14);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(160, 0, 0));
    painter.drawText(plot.adjusted(0, 8, 0, 0), Qt::AlignHCenter | Qt::AlignTop, Tr("Recalculation Required"));
  }
  if (!m_noticeCaption.isEmpty()) {
    QFont font = ChartFont(10.0);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(160, 0, 0));
    painter.drawText(plot.adjusted(20, 30, -20, -10), Qt::AlignCenter | Qt::TextWordWrap, m_noticeCaption);
  }
  if (const std::optional<QRectF> r = DragRect()) {
    painter.setPen(QPen(QColor(0, 0, 128), 1, Qt::DashLine));
    painter.setBrush(QColor(0, 0, 128, 30));
    painter.drawRect(*r);
    painter.setBrush(Qt::NoBrush);
  }
}

}  // namespace kv::app
