#include "app/charts/profile_chart_data.h"

#include <algorithm>
#include <cmath>

#include "base/text.h"
#include "base/units.h"
#include "engine/compartment_loads.h"
#include "engine/dive_plan.h"
#include "app/platform/qt_text.h"
#include "app/i18n/text_ids.h"
#include "base/strings.h"

namespace kv::app {
namespace {

QString Formatted(const char* format, double value) { return ToQt(Format(format, value)); }

// A round upper bound for the depth axis: the next multiple of 5 (m) or 10
// (ft) past the deepest point, with a little room below it.
double DepthAxisMax(double deepest, bool imperial) {
  const double step = imperial ? 10.0 : 5.0;
  return std::max(step, std::ceil(deepest * 1.08 / step) * step);
}

// The profile point that holds second t: the last one that has started by
// then (a switch point and the point after it share their second).
int PointAt(const CDivePlan& dive, int t) {
  const auto& points = dive.ProfilePoints();
  int found = -1;
  for (int i = 0; i < static_cast<int>(points.size()); ++i) {
    if (points[static_cast<std::size_t>(i)].m_start > t) break;
    found = i;
  }
  if (found < 0 || points[static_cast<std::size_t>(found)].End() < t) return -1;
  return found;
}

}  // namespace

SChartContent BuildProfileChart(const CDivePlan& dive, bool imperial) {
  SChartContent chart;
  const SDisplayUnits units{imperial};
  const auto& points = dive.ProfilePoints();
  const int n = dive.PredictionCount();
  chart.x = {0.0, 3600.0};
  chart.y = {0.0, DepthAxisMax(0.0, imperial) * 4};
  if (points.empty() && n == 0) return chart;

  if (n > 0) {
    CGraphDataSet ceiling{QString::fromLatin1(kSeriesCeiling)};
    ceiling.SetColour(QColor(0, 255, 255));
    const int k = std::max(1, n / 1000);
    ceiling.Reserve(static_cast<std::size_t>(n / k + 1));
    for (int i = 0; i < n; i += k) {
      const CPredictionPoint* p = dive.Prediction(i);
      ceiling.Add(p->m_time, units.Shown(p->m_ceiling / 100.0));
    }
    chart.series.push_back(std::move(ceiling));

    CGraphDataSet band{QString::fromLatin1(CGraphDataSet::kErrorBar)};
    band.SetColour(QColor(255, 0, 0));
    band.Reserve(static_cast<std::size_t>(n));
    for (int i = 1; i < n; ++i) {
      const CPredictionPoint* p = dive.Prediction(i);
      band.Add(p->m_time, p->m_warningFlags != 0 ? 1.0 : 0.0);
    }
    chart.series.push_back(std::move(band));
  }

  for (const CPlanPoint& p : points) {
    if (!p.m_noClearSurface) continue;
    CGraphDataSet bar{QString::fromLatin1(kSeriesOverhead)};
    bar.SetColour(QColor(255, 160, 122));
    bar.SetLineWidth(5);
    bar.Add(p.m_start, units.Shown(p.Depth()));
    bar.Add(p.End(), units.Shown(p.Depth()));
    chart.series.push_back(std::move(bar));
  }

  for (std::size_t i = 1; i + 1 < points.size(); ++i) {
    if (points[i].SameBreathing(points[i + 1])) continue;
    CGraphDataSet cross{QString::fromLatin1(kSeriesGasSwitch)};
    cross.SetMarker(CGraphDataSet::kMarkerCross);
    cross.Add(points[i].End(), units.Shown(points[i].Depth()));
    cross.Add(points[i].End(), units.Shown(points[i].Depth()));
    chart.series.push_back(std::move(cross));
  }

  double deepest = 0.0;
  int lastSecond = n > 0 ? dive.Prediction(n - 1)->m_time : 0;
  if (!points.empty()) {
    CGraphDataSet depth{QString::fromLatin1(kSeriesDepth)};
    depth.SetColour(QColor(0, 0, 0));
    depth.Reserve(points.size());
    for (const CPlanPoint& p : points) {
      depth.Add(p.End(), units.Shown(p.Depth()));
      deepest = std::max(deepest, units.Shown(p.Depth()));
      lastSecond = std::max(lastSecond, p.End());
    }
    chart.series.push_back(std::move(depth));
  }
  chart.x = {0.0, std::max(60.0, static_cast<double>(lastSecond))};
  chart.y = {0.0, DepthAxisMax(deepest, imperial)};
  return chart;
}

QString SCursorReadout::RowText(int row) const {
  QStringList parts;
  for (const SReadoutPart& p : row == 0 ? first : second) parts << p.text;
  return parts.join(QString::fromLatin1(kReadoutGap));
}

SCursorReadout BuildCursorReadout(const CDivePlan& dive, int second, bool imperial) {
  SCursorReadout r;
  const int index = PointAt(dive, second);
  if (index < 0) return r;
  const CPlanPoint& point = dive.ProfilePoints()[static_cast<std::size_t>(index)];
  // A generated dive keeps only the state of its last second.
  const CPredictionPoint* state = dive.Prediction(second);
  if (state && state->m_time != second) state = nullptr;
  const SDisplayUnits units{imperial};
  const QString invalid = QLatin1Char(' ') + Str(kTextInvalid);
  const int flags = state ? state->m_warningFlags : 0;

  r.first.push_back({Str(kTextTime) + QLatin1Char(' ') + CGraph::MinutesSeconds(second)});
  QString depth = Str(kTextDepth);
  if (state) {
    depth += Formatted(" %.1f", units.Shown(state->m_depthPressure / 100.0));
  } else {
    // Without the second's state, the depth the calculation gave that second.
    const CPlanPoint* previous = index > 0 ? &dive.ProfilePoints()[static_cast<std::size_t>(index - 1)] : nullptr;
    depth += Formatted(" %.1f", units.Shown(std::max(0.0, DepthPressureAt(point, previous, second)) / 100.0));
  }
  if (point.m_noClearSurface) depth += QLatin1Char(' ') + Str(kTextNoClearSurface);
  r.first.push_back({depth});
  r.first.push_back({Str(point.m_closedCircuit ? kTextClosedCircuit : kTextOpenCircuit)});
  r.first.push_back({Str(point.m_closedCircuit ? kTextDiluent : kMsgGasHeading) + QStringLiteral(" - ") +
                     ToQt(GasName(point.m_oxygen, point.m_helium))});
  // Second 0 is the state before the dive: its PPO2 is that of the gas the
  // dive starts on, as at second 1.
  const CPredictionPoint* breathing = second == 0 && dive.PredictionCount() > 1 ? dive.Prediction(1) : state;
  r.first.push_back({Str(kTextPpo2) + (breathing ? Formatted(" %0.2f", breathing->m_ppo2) : invalid),
                     (flags & (kWarnPpo2High | kWarnPpo2Low)) != 0});
  r.first.push_back({Str(kTextEndTime) + QLatin1Char(' ') + CGraph::MinutesSeconds(point.End())});

  if (!state) {
    for (int id : {kTextCeiling, kTextGf, kTextCns, kTextOtu, kTextEad}) r.second.push_back({Str(id) + invalid});
    return r;
  }
  // A ceiling above the surface means none; it is shown as 0.
  r.second.push_back({Str(kTextCeiling) + Formatted(" %.1f", units.Shown(std::max(0.0, state->m_ceiling / 100.0)))});
  r.second.push_back({Str(kTextGf) + Formatted(" %.0f", state->m_gradientFactor * 100.0)});
  r.second.push_back({Str(kTextCns) + Formatted(" %0.1f%%", CnsPercent(state->m_cns)), (flags & kWarnCns) != 0});
  r.second.push_back({Str(kTextOtu) + Formatted(" %0.1f%%", OtuPercentOfLimit(state->m_otu)), (flags & kWarnOtu) != 0});
  r.second.push_back({Str(kTextEad) + ToQt(" " + units.DepthText("%0.1f", state->m_ead)),
                      (flags & kWarnEad) != 0});
  return r;
}

std::vector<SExposureWarning> ExposureWarnings(const CDivePlan& dive) {
  std::vector<SExposureWarning> warnings;
  for (const int flag : {static_cast<int>(kWarnCns), static_cast<int>(kWarnOtu)}) {
    SExposureWarning w;
    w.flag = flag;
    bool found = false;
    // The band starts at second 1, as the chart draws it.
    for (int i = 1; i < dive.PredictionCount(); ++i) {
      const CPredictionPoint* p = dive.Prediction(i);
      if (!(p->m_warningFlags & flag)) continue;
      if (!found) w.first = p->m_time;
      found = true;
      w.last = p->m_time;
      w.highest = std::max(w.highest, flag == kWarnCns ? p->m_cns * 100.0 : p->m_otu);
    }
    if (found) warnings.push_back(w);
  }
  return warnings;
}

QString ExposureWarningText(const SExposureWarning& w) {
  const QString from = CGraph::MinutesSeconds(w.first);
  const QString to = CGraph::MinutesSeconds(w.last);
  if (w.flag == kWarnCns)
    return Tr("CNS above 100 % from %1 to %2, highest %3 %").arg(from, to, ToQt(Format("%0.1f", w.highest)));
  return Tr("OTU above 300 from %1 to %2, highest %3").arg(from, to, ToQt(Format("%0.0f", w.highest)));
}

SChartContent BuildTissueChart(const CDivePlan& dive, int second) {
  SChartContent chart;
  chart.x = {0.0, 17.0};
  chart.y = {0.0, 1000.0};
  const std::vector<SCompartmentLoad> loads = CompartmentLoads(dive, second);
  if (loads.empty()) return chart;
  CGraphDataSet total{QString::fromLatin1(kSeriesHelium)};
  total.SetColour(QColor(255, 0, 255));
  CGraphDataSet nitrogen{QString::fromLatin1(kSeriesNitrogen)};
  nitrogen.SetColour(QColor(0, 255, 255));
  for (std::size_t c = 0; c < loads.size(); ++c) {
    total.Add(static_cast<double>(c + 1), loads[c].percent);
    nitrogen.Add(static_cast<double>(c + 1), loads[c].nitrogenPercent);
  }
  // 0 to 200 %; a compartment further over its surface limit (deep in a
  // long decompression) widens the range rather than being cut off.
  double highest = 0.0;
  for (const SCompartmentLoad& load : loads) highest = std::max(highest, load.percent);
  chart.series.push_back(std::move(total));
  chart.series.push_back(std::move(nitrogen));
  chart.y = {0.0, std::max(200.0, std::ceil(highest / 50.0) * 50.0)};
  return chart;
}

}  // namespace kv::app
