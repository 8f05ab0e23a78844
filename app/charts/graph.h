#pragma once
// The chart engine: series, ranges, axes, and the zoom, pan and cursor state
// of one chart, drawn into any QPainter (screen, print, an image in tests).
// Widgets only hand it a painter and forward the mouse; everything a test
// needs to check (ticks, mapping, interaction) works without a window.

#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "app/charts/graph_data.h"

class QPainter;

namespace kv::app {

// The one typeface of every chart's texts, at a point size.
QFont ChartFont(double pointSize);

struct SRange {
  double min = 0.0;
  double max = 1.0;
  double Span() const { return max - min; }
  bool operator==(const SRange&) const = default;
};

// Tick positions of one axis and the decimals its labels need.
struct SAxisTicks {
  std::vector<double> values;
  int decimals = 0;
};

class CGraph {
public:
  enum class EMode { Zoom, Pan, Cursor, PersistentCursor };

  CGraph() = default;
  virtual ~CGraph() = default;
  CGraph(const CGraph&) = delete;
  CGraph& operator=(const CGraph&) = delete;

  // ---- Series ------------------------------------------------------------------
  void ClearSeries() { m_series.clear(); }
  void AddSeries(CGraphDataSet series) { m_series.push_back(std::move(series)); }
  void SetSeries(std::vector<CGraphDataSet> series) { m_series = std::move(series); }
  const std::vector<CGraphDataSet>& Series() const { return m_series; }
  // The first series of that name, or nullptr.
  const CGraphDataSet* FindSeries(const QString& name) const;

  // ---- Ranges ------------------------------------------------------------------
  // The full ranges; the view returns to them (zoom and pan are reset) when
  // they change, and stays where it is when they do not.
  void SetRanges(SRange x, SRange y);
  SRange FullX() const { return m_fullX; }
  SRange FullY() const { return m_fullY; }
  SRange ViewX() const { return m_viewX; }
  SRange ViewY() const { return m_viewY; }
  bool IsZoomed() const { return m_viewX != m_fullX || m_viewY != m_fullY; }
  void ResetZoom();
  // Zooms to the value rectangle (time only on a time-only chart). A span
  // narrower than the smallest sensible one is ignored.
  void ZoomTo(SRange x, SRange y);

  // ---- Axes and flags ---------------------------------------------------------------
  void SetAxisTitles(const QString& x, const QString& y) {
    m_xTitle = x;
    m_yTitle = y;
  }
  const QString& XTitle() const { return m_xTitle; }
  const QString& YTitle() const { return m_yTitle; }
  // The unit of y in the zoom readout ("m", "ft").
  void SetYUnit(const QString& unit) { m_yUnit = unit; }
  // x is run time in seconds, labelled "%02d:%02d" (minutes, seconds).
  void SetTimeAxis(bool on) { m_timeAxis = on; }
  // y grows downwards (depth charts).
  void SetYDownwards(bool on) { m_yDownwards = on; }
  void SetGrid(bool on) { m_grid = on; }
  bool Grid() const { return m_grid; }
  void SetBailoutMenu(bool on) { m_bailoutMenu = on; }
  bool BailoutMenu() const { return m_bailoutMenu; }
  // The bailout menu offers the worst-case bailout sweep (a dive with
  // closed-circuit time under water, shown with its own profile).
  void SetWorstCaseMenu(bool on) { m_worstCaseMenu = on; }
  bool WorstCaseMenu() const { return m_worstCaseMenu; }
  void SetTimeOnly(bool on) { m_timeOnly = on; }
  bool TimeOnly() const { return m_timeOnly; }
  void SetBailoutModeCaption(bool on) { m_bailoutModeCaption = on; }
  bool BailoutModeCaption() const { return m_bailoutModeCaption; }
  void SetRecalculationCaption(bool on) { m_recalculationCaption = on; }
  bool RecalculationCaption() const { return m_recalculationCaption; }
  // A sentence drawn across the plot (why a dive shows nothing); none when empty.
  void SetNoticeCaption(const QString& text) { m_noticeCaption = text; }
  const QString& NoticeCaption() const { return m_noticeCaption; }

  // ---- Geometry -----------------------------------------------------------------------
  // The plot inside a drawing area: the area less the axis and readout margins.
  virtual QRectF PlotRect(const QRectF& area) const;
  QPointF ToPixel(const CGraphData& value, const QRectF& plot) const;
  CGraphData ToValue(const QPointF& pixel, const QRectF& plot) const;

  // Ticks for a range: at most about maxTicks round values inside it.
  static SAxisTicks MakeTicks(SRange range, int maxTicks, bool time);
  static QString TickLabel(double value, int decimals, bool time);
  // The labels of a time axis: "%02d:%02d" (minutes, seconds), or for a view
  // that reaches 100 minutes "h:mm" ("18:00", not "1080:00"; "h:mm:ss" for
  // ticks between whole minutes).
  static QStringList TimeTickLabels(const SAxisTicks& ticks, SRange view);
  // "%d:%02d" of a run time second.
  static QString MinutesSeconds(int seconds);

  // ---- Interaction (pixels of the drawing area) -------------------------------------------
  void SetMode(EMode mode);
  EMode Mode() const { return m_mode; }
  // Each returns true when the chart must be redrawn.
  bool MousePress(const QPointF& pos, const QRectF& area);
  bool MouseMove(const QPointF& pos, const QRectF& area);
  bool MouseRelease(const QPointF& pos, const QRectF& area);
  bool MouseLeave();
  // Moves the cursor to a point of the plot (a right click does this before its menu).
  bool PlaceCursor(const QPointF& pos, const QRectF& area);
  // The cursor's x value while it lies inside the view, else nothing.
  std::optional<double> CursorX() const;
  // Keyboard use: pins the cursor dx further along x (counted from the start
  // of the view when there is none), kept inside the view.
  void MoveCursorBy(double dx);
  bool CursorPersistent() const { return m_cursorPersistent; }
  bool Dragging() const { return m_dragStart.has_value(); }

  // ---- Painting ------------------------------------------------------------------------------
  void Paint(QPainter& painter, const QRectF& area) const;

protected:
  virtual void PaintSeries(QPainter& painter, const QRectF& plot) const = 0;
  // Captions, cursor, readout and the zoom rectangle over the plot.
  virtual void PaintOverlay(QPainter& painter, const QRectF& area, const QRectF& plot) const;
  // A legend box in the top right corner of the plot: a swatch and the
  // (translated) name of each series.
  void PaintLegend(QPainter& painter, const QRectF& plot) const;
  // The text shown above the plot while a zoom rectangle is dragged.
  QString DragReadout(const QRectF& plot) const;
  std::optional<QRectF> DragRect() const;
  double TopMargin() const { return m_topMargin; }
  void SetTopMargin(double margin) { m_topMargin = margin; }

  std::vector<CGraphDataSet> m_series;

private:
  void PaintAxes(QPainter& painter, const QRectF& area, const QRectF& plot) const;
  bool IsClick(const QPointF& a, const QPointF& b) const;

  SRange m_fullX, m_fullY, m_viewX, m_viewY;
  QString m_xTitle, m_yTitle, m_yUnit;
  bool m_timeAxis = false;
  bool m_yDownwards = false;
  bool m_grid = true;
  bool m_bailoutMenu = false;
  bool m_worstCaseMenu = false;
  bool m_timeOnly = false;
  bool m_bailoutModeCaption = false;
  bool m_recalculationCaption = false;
  QString m_noticeCaption;
  double m_topMargin = 12.0;

  EMode m_mode = EMode::Zoom;
  std::optional<CGraphData> m_cursor;
  bool m_cursorPersistent = false;
  std::optional<QPointF> m_dragStart;
  QPointF m_dragNow;
  SRange m_panStartX, m_panStartY;
  QRectF m_dragPlot;
};

}  // namespace kv::app
