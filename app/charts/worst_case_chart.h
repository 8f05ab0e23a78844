#pragma once
// The charts of the worst-case bailout window: against the bailout moment
// (run time second of the dive), the litres of each bailout gas and the run
// time of the bailout dive, each with its worst moment marked. Built from the
// sweep in functions that tests check without pixels, drawn by the chart
// engine.

#include "app/charts/profile_chart_data.h"
#include "app/charts/xy_line_graph.h"
#include "bailout/bailout_sweep.h"
#include "base/units.h"

namespace kv::app {

// The marker series of the worst moments in both charts.
inline constexpr const char* kSeriesWorstCase = "Worst case";
inline constexpr const char* kSeriesRunTime = "Run time";

// The "Worst case" squares at each gas's worst moment, then one series per
// carried gas (named by the gas, each in a colour of its own) over the
// valid moments: (second, litres, 0 where the moment does not breathe it;
// in the display units). y from 0 to the largest volume and a tenth.
SChartContent BuildWorstCaseGasChart(const SBailoutSweep& sweep, const SDisplayUnits& units = {});
// "Run time" in minutes over the valid moments and the "Worst case" square
// at the longest.
SChartContent BuildWorstCaseRunTimeChart(const SBailoutSweep& sweep);

// The line chart of the window: values grow upwards, a legend names the
// series, the cursor readout shows the moment nearest the cursor.
class CWorstCaseGraph final : public CXYLineGraph {
public:
  CWorstCaseGraph();

protected:
  void PaintOverlay(QPainter& painter, const QRectF& area, const QRectF& plot) const override;
};

}  // namespace kv::app
