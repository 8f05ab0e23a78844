#pragma once
// The chart engine's data: a point, and a named series of points with the
// colour, line width and marker it is drawn with.

#include <QColor>
#include <QString>
#include <vector>

namespace kv::app {

struct CGraphData {
  double x = 0.0;
  double y = 0.0;
  bool operator==(const CGraphData&) const = default;
};

class CGraphDataSet {
public:
  enum EMarker : int { kMarkerNone = 0, kMarkerSquare = 1, kMarkerCross = 2 };
  // A series of this name is drawn as a band over the stretches where its
  // value is not 0, not as a line.
  static constexpr const char* kErrorBar = "ErrorBar";
  // The colour a series has until it is given one.
  static QColor InitialColour() { return QColor(0, 0, 255); }

  CGraphDataSet() = default;
  explicit CGraphDataSet(QString name) : m_name(std::move(name)) {}

  const QString& Name() const { return m_name; }
  bool IsErrorBar() const { return m_name == QLatin1String(kErrorBar); }

  QColor Colour() const { return m_colour; }
  void SetColour(const QColor& colour) { m_colour = colour; }
  int LineWidth() const { return m_lineWidth; }
  void SetLineWidth(int width) { m_lineWidth = width; }
  int Marker() const { return m_marker; }
  void SetMarker(int marker) { m_marker = marker; }

  void Add(double x, double y) { m_points.push_back({x, y}); }
  void Reserve(std::size_t n) { m_points.reserve(n); }
  const std::vector<CGraphData>& Points() const { return m_points; }
  int Count() const { return static_cast<int>(m_points.size()); }

private:
  QString m_name;
  std::vector<CGraphData> m_points;
  QColor m_colour = InitialColour();
  int m_lineWidth = 1;
  int m_marker = kMarkerNone;
};

}  // namespace kv::app
