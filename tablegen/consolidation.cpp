// Consolidation of the generated dives into printed tables (see consolidation.h).

#include "tablegen/consolidation.h"

#include <algorithm>
#include <memory>
#include <string>

#include "base/status_log.h"
#include "base/strings.h"
#include "base/text.h"
#include "engine/dive_plan.h"
#include "report/dive_plan_table.h"

namespace kv {
namespace {

// One table: the dives taking part, in column order, and the columns it prints.
struct STableGroup {
  int number = 0;  // for the log: depth index + 1, or bottom time index + 1
  std::vector<int> plans;
  std::vector<int> planColumns;   // the column of each dive
  std::vector<int> printColumns;  // every column that gets a cell
};

void LogConsolidation(int level, const std::string& text) {
  StatusLog().LogAtLevelF(level, "Table Consolidation - %s", text.c_str());
}

// Appends "~" and a field to a row line.
void AddField(std::string& line, const std::string& field) {
  line += '~';
  line += field;
}

// Bottom times are whole minutes: "20:00" with minutes and seconds, else "20".
std::string BottomTimeText(int minutes, bool minutesAndSeconds, const char* suffix) {
  return Format(minutesAndSeconds ? "%d:00%s" : "%d%s", minutes, suffix);
}

std::vector<STableGroup> GroupByDepth(const SGeneratedRun& run) {
  std::vector<STableGroup> groups;
  const int times = static_cast<int>(run.bottomTimes.size());
  for (int d = 0; d < static_cast<int>(run.depths.size()); ++d) {
    STableGroup g;
    g.number = d + 1;
    for (int t = 0; t < times; ++t) {
      g.printColumns.push_back(t);
      if (!run.dives[static_cast<std::size_t>(d * times + t)]) continue;
      g.plans.push_back(d * times + t);
      g.planColumns.push_back(t);
    }
    if (!g.plans.empty()) groups.push_back(std::move(g));
  }
  return groups;
}

// Dives of one bottom time share a table while they use the same number of
// gas switches: deeper dives that pick up another travel gas start a new one.
std::vector<STableGroup> GroupByTime(const SGeneratedRun& run) {
  std::vector<STableGroup> groups;
  const int times = static_cast<int>(run.bottomTimes.size());
  for (int t = 0; t < times; ++t) {
    int switches = -1;
    for (int d = 0; d < static_cast<int>(run.depths.size()); ++d) {
      const CDivePlan* dive = run.dives[static_cast<std::size_t>(d * times + t)];
      if (!dive) continue;
      if (groups.empty() || groups.back().number != t + 1 || dive->GetNumberOfGasSwitchesUsed() != switches) {
        groups.push_back({});
        groups.back().number = t + 1;
      }
      switches = dive->GetNumberOfGasSwitchesUsed();
      STableGroup& g = groups.back();
      g.plans.push_back(d * times + t);
      g.planColumns.push_back(d);
      g.printColumns.push_back(d);
    }
  }
  return groups;
}

void FillTable(CDivePlanTable& table, const SGeneratedRun& run, const STableGroup& group, bool byTime,
               bool minutesAndSeconds) {
  const int lastPlan = group.plans.back();
  const int times = static_cast<int>(run.bottomTimes.size());
  for (std::size_t c = 0; c < group.plans.size(); ++c) {
    const int plan = group.plans[c];
    const CDivePlan& dive = *run.dives[static_cast<std::size_t>(plan)];
    const double key = byTime ? run.depths[static_cast<std::size_t>(plan / times)]
                              : run.bottomTimes[static_cast<std::size_t>(plan % times)];
    int previousRounded = 0;
    for (const CDiveSegment& s : dive.Segments()) {
      const std::string gas = GasName(s.m_oxygen, s.m_helium);
      // Only the last dive's warnings are printed: it is the one that goes
      // furthest (longest or deepest), so it shows every warning of the table.
      const int flags = plan == lastPlan ? s.m_warningFlags : 0;
      int segmentTime = s.m_duration, runTime = s.m_end;
      if (!minutesAndSeconds) {
        runTime = RoundUpToMinute(s.m_end);
        segmentTime = runTime - previousRounded;
        previousRounded = runTime;
      }
      LogConsolidation(kLogProgress,
                       Format("Adding line - %s,%0.2f,%d,%s,%0.0f,%d:%02d,%d:%02d,", gas.c_str(), s.m_ppo2, flags,
                              SegmentKindName(s.m_kind), s.m_depth, segmentTime / 60, segmentTime % 60,
                              runTime / 60, runTime % 60));
      table.AddSegment(c == 0, s.m_depth, s.m_noClearSurface != 0, gas, s.m_closedCircuit != 0, s.m_ppo2, flags,
                       s.m_kind, group.planColumns[c], key, segmentTime, runTime);
    }
  }
}

std::string RowDepthText(const CDivePlanTable& table, int row, bool byTime, const SDisplayUnits& units) {
  const double shown = units.Shown(table.GetDepth(row));
  switch (table.GetKind(row)) {
    case kSegFirstAscent:
      return LoadString(1312);
    case kSegBottom:
      return byTime ? std::string(LoadString(1318)) : Format(LoadString(1317), shown);
    case kSegAscentToSurface:
      // Only a no-stop dive with the detailed first ascent has this row; its
      // depth would be the bottom's, so it is named as in the dive tables.
      return LoadString(1323);
    default:
      return Format("%2.0f", shown);
  }
}

std::string CellText(const CDivePlanTable& table, int row, int column, bool minutesAndSeconds) {
  const int run = table.GetRunTime(row, column);
  if (run == 0) return "-";
  const int segment = table.GetSegmentTime(row, column);
  if (minutesAndSeconds) return MinutesSeconds(segment) + "/" + MinutesSeconds(run);
  return Format("%d / %d", segment / 60, run / 60);
}

DiveTableContent TableContent(const CDivePlanTable& table, const SGeneratedRun& run, const STableGroup& group,
                              bool byTime, const SReportOptions& options) {
  const SDisplayUnits& units = options.units;
  auto depthText = [&](double metres) { return units.DepthText("%0.0f", metres); };
  const bool mmss = options.minutesAndSeconds;
  const int times = static_cast<int>(run.bottomTimes.size());
  const CDivePlan& last = *run.dives[static_cast<std::size_t>(group.plans.back())];
  auto depthOf = [&](int plan) { return run.depths[static_cast<std::size_t>(plan / times)]; };

  DiveTableContent content;
  std::string depthField, diveField;
  if (byTime) {
    const int minutes = run.bottomTimes[static_cast<std::size_t>(group.plans.front() % times)];
    depthField = BottomTimeText(minutes, mmss, mmss ? "(mm:ss)" : "(mins)");
    if (group.plans.size() == 1)
      diveField = std::string(LoadString(1324)) + " " + depthText(depthOf(group.plans.front()));
    else
      diveField = std::string(LoadString(1315)) + " " + depthText(depthOf(group.plans.front())) + " - " +
                  depthText(depthOf(group.plans.back()));
  } else {
    double deepest = 0.0;
    for (int r = 0; r < table.RowCount(); ++r) deepest = std::max(deepest, table.GetDepth(r));
    depthField = depthText(deepest);
    diveField = std::string(LoadString(1314)) + " " + BottomTimeText(run.bottomTimes.front(), mmss, "") + " - " +
                BottomTimeText(run.bottomTimes.back(), mmss, " Mins");
  }
  const std::string gradientFactors =
      Format("GF<br>%2d/%2d", static_cast<int>(last.GetGfLow()), static_cast<int>(last.GetGfHigh()));
  content.header = depthField + "~Dive Table~" + gradientFactors + "~" + diveField + "~~";

  const bool warningsColumn = !last.GasWarnings().empty();
  bool ncsColumn = false;
  for (int r = 0; r < table.RowCount(); ++r) ncsColumn = ncsColumn || table.GetNoClearSurface(r);

  std::string headings = std::string(LoadString(kMsgGasHeading)) + "~" + LoadString(1307);
  if (warningsColumn) headings += std::string("~") + LoadString(kMsgWarningsHeading);
  headings += "~";
  headings += byTime ? std::string(LoadString(1315))
                     : std::string(LoadString(1315)) + "&nbsp\\&nbsp" + LoadString(1319);
  if (ncsColumn) headings += std::string("~") + LoadString(kMsgNoClearSurface);
  for (const int column : group.printColumns) {
    headings += "~";
    headings += byTime ? depthText(run.depths[static_cast<std::size_t>(column)])
                       : BottomTimeText(run.bottomTimes[static_cast<std::size_t>(column)], mmss, "");
  }
  content.rows.push_back(headings);
  content.rowAlerts.push_back(false);

  std::vector<int> order(static_cast<std::size_t>(table.RowCount()));
  for (int r = 0; r < table.RowCount(); ++r) order[static_cast<std::size_t>(r)] = r;
  if (options.runTimeAscending) std::reverse(order.begin(), order.end());
  for (const int r : order) {
    std::string line = table.GetGasText(r) + "~";
    line += table.GetClosedCircuit(r) ? Format("%.2f", table.GetSetpoint(r)) : std::string("OC");
    bool alert = false;
    if (warningsColumn) {
      const std::string warnings = WarningsText(table.GetWarningFlags(r));
      alert = !warnings.empty();
      AddField(line, alert ? warnings : std::string("&nbsp"));
    }
    AddField(line, RowDepthText(table, r, byTime, units));
    if (ncsColumn) AddField(line, table.GetNoClearSurface(r) ? LoadString(kMsgNoClearSurface) : "&nbsp");
    for (const int column : group.printColumns) AddField(line, CellText(table, r, column, mmss));
    content.rows.push_back(std::move(line));
    content.rowAlerts.push_back(alert);
  }

  AddGasWarningLines(last, content);
  content.footer = TableFooterText(options.diverName);
  return content;
}

}  // namespace

std::vector<DiveTableContent> GeneratedTableContents(const SGeneratedRun& run, const SReportOptions& options) {
  std::vector<DiveTableContent> contents;
  if (run.depths.empty() || run.bottomTimes.empty() || run.dives.size() != run.depths.size() * run.bottomTimes.size())
    return contents;
  const bool byTime = run.grouping == 1;
  for (const STableGroup& group : byTime ? GroupByTime(run) : GroupByDepth(run)) {
    CDivePlanTable table(run.detailedFirstAscent);
    FillTable(table, run, group, byTime, options.minutesAndSeconds);
    LogConsolidation(kLogDetail, Format(byTime ? "Table %d" : "Table %d Dump", group.number));
    for (int r = 0; r < table.RowCount(); ++r) LogConsolidation(kLogDetail, table.GetRowText(r));
    contents.push_back(TableContent(table, run, group, byTime, options));
  }
  return contents;
}

int BuildGeneratedTables(const SGeneratedRun& run, const SReportOptions& options, CDivePlanTablesHtml& writer) {
  writer.Reset();
  LogConsolidation(kLogProgress, "Started");
  const std::vector<DiveTableContent> contents = GeneratedTableContents(run, options);
  for (const DiveTableContent& content : contents) writer.AddTable(content);
  writer.Finish();
  return static_cast<int>(contents.size());
}

}  // namespace kv
