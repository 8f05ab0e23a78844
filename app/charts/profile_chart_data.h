#pragma once
// What the profile and tissue charts show of a dive, built without any
// drawing so that tests can check it: the series, the ranges, the cursor
// readout of one second and the per-compartment bars of one second.

#include <QString>
#include <vector>

#include "app/charts/graph.h"
#include "app/charts/graph_data.h"

namespace kv {
class CDivePlan;
}

namespace kv::app {

// Names of the profile chart's series.
inline constexpr const char* kSeriesCeiling = "Ceiling";
inline constexpr const char* kSeriesGasSwitch = "Gas Switch";
inline constexpr const char* kSeriesDepth = "Depth";
inline constexpr const char* kSeriesOverhead = "No Clear Surface";
// Names of the tissue chart's series: the whole bar, and its nitrogen part.
inline constexpr const char* kSeriesHelium = "Helium";
inline constexpr const char* kSeriesNitrogen = "Nitrogen";

struct SChartContent {
  std::vector<CGraphDataSet> series;
  SRange x;
  SRange y;
};

// The profile chart of a dive: "Ceiling" (every k-th second, k = max(1, n /
// 1000)), "ErrorBar" (1 on the seconds with warnings), an overhead bar per
// "No Clear Surface" point, a "Gas Switch" cross per change of breathing and
// the "Depth" line. Depths in metres, or feet when imperial; x in seconds.
// No series for a dive without points.
SChartContent BuildProfileChart(const CDivePlan& dive, bool imperial);

// One piece of the cursor readout; warning pieces are drawn in red.
struct SReadoutPart {
  QString text;
  bool warning = false;
};
struct SCursorReadout {
  std::vector<SReadoutPart> first;   // time, depth, mode, gas, PPO2, end time
  std::vector<SReadoutPart> second;  // ceiling, GF, CNS, OTU, EAD
  bool IsEmpty() const { return first.empty() && second.empty(); }
  // The pieces of one row (0 or 1) joined as they are drawn.
  QString RowText(int row) const;
};
inline constexpr const char* kReadoutGap = "   ";

// The readout of run time second `second`; empty outside the dive's points.
SCursorReadout BuildCursorReadout(const CDivePlan& dive, int second, bool imperial);

// The oxygen exposure the warning band shows that no gas warning explains:
// CNS above 100 % (kWarnCns) or OTU above 300 (kWarnOtu), from the first to
// the last second flagged, with the highest value (CNS in %, OTU in units).
struct SExposureWarning {
  int flag = 0;
  int first = 0;
  int last = 0;
  double highest = 0.0;
  bool operator==(const SExposureWarning&) const = default;
};
std::vector<SExposureWarning> ExposureWarnings(const CDivePlan& dive);
// "CNS above 100 % from 52:10 to 1:48:20, highest 132.5 %".
QString ExposureWarningText(const SExposureWarning& warning);

// The tissue chart of one second (a second past the dive's last shows the
// last): per compartment the total inert gas pressure as a percentage of the
// pressure tolerated at the surface under GF High ("Helium" series, the full
// bar) and the nitrogen share of it ("Nitrogen"). x runs 0 to 17 with the
// compartments at 1 to 16, y 0 to 200 %; without data y runs to 1000 and
// there are no bars.
SChartContent BuildTissueChart(const CDivePlan& dive, int second);

}  // namespace kv::app
