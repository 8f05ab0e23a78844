#include "cli/text_report.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "base/preferences.h"
#include "base/strings.h"
#include "base/text.h"
#include "base/units.h"
#include "engine/dive_plan.h"
#include "plan/plan_group.h"
#include "report/dive_plan_table.h"
#include "report/table_builder.h"

namespace kv {
namespace {

using Row = std::vector<std::string>;

// Columns as wide as their widest cell, two blanks apart.
std::string Columns(const std::vector<Row>& rows, const std::string& indent) {
  std::vector<std::size_t> widths;
  for (const Row& r : rows) {
    if (widths.size() < r.size()) widths.resize(r.size(), 0);
    for (std::size_t c = 0; c < r.size(); ++c) widths[c] = std::max(widths[c], r[c].size());
  }
  std::string out;
  for (const Row& r : rows) {
    std::string line = indent;
    for (std::size_t c = 0; c < r.size(); ++c) {
      line += r[c];
      if (c + 1 < r.size()) line += std::string(widths[c] - r[c].size() + 2, ' ');
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    out += line + "\n";
  }
  return out;
}

std::string MinutesSeconds(int seconds) { return Format("%d:%02d", seconds / 60, seconds % 60); }

std::string Heading(const CPlanGroup& group, int index, const CDivePlan& dive, const STextTableOptions& o) {
  std::string out = Format(LoadString(1300), index + 1, group.GetDiveCount());
  if (!dive.GetName().empty()) out += " - " + dive.GetName();
  const int run = dive.GetRunTime();
  const int hours = run / 3600;
  const int minutes = static_cast<int>(std::floor((run % 3600) / 60.0 + 0.5));
  out += Format(LoadString(1321), hours, minutes);
  if (group.GetDiveCount() >= 2 && index > 0) {
    const int si = dive.GetSurfaceInterval();
    out += Format(LoadString(1301), si / 3600, (si % 3600) / 60);
  }
  out += "\n";

  double deepest = 0.0;
  for (const CDiveSegment& s : dive.Segments()) deepest = std::max(deepest, s.m_depth);
  out += o.imperial ? Format("Max depth %0.0f ft", deepest * kFeetPerMetre) : Format("Max depth %0.0f m", deepest);
  out += Format(", GF %d/%d", static_cast<int>(dive.GetGfLow()), static_cast<int>(dive.GetGfHigh()));
  const CPredictionPoint* first = dive.Prediction(0);
  const CPredictionPoint* last = dive.LastPrediction();
  const double cns0 = first ? first->m_cns * 100.0 : 0.0, cns1 = last ? last->m_cns * 100.0 : 0.0;
  const double otu0 = first ? first->m_otu / 3.0 : 0.0, otu1 = last ? last->m_otu / 3.0 : 0.0;
  if (index == 0)
    out += ", " + Format(LoadString(1302), cns1) + ", " + Format(LoadString(1303), otu1);
  else
    out += ", " + Format(LoadString(1304), cns0, cns1) + ", " + Format(LoadString(1305), otu0, otu1);
  out += "\n";
  return out;
}

std::string SegmentTable(const CDivePlan& dive, const STextTableOptions& o) {
  const bool warnings = !dive.GasWarnings().empty();
  bool ncs = false;
  for (const CDiveSegment& s : dive.Segments()) ncs = ncs || s.m_noClearSurface;

  std::vector<Row> rows;
  Row head{LoadString(1306), LoadString(1307)};
  if (warnings) head.push_back(LoadString(1320));
  head.push_back(LoadString(o.imperial ? 1309 : 1308));
  if (ncs) head.push_back(LoadString(1322));
  head.push_back(LoadString(1310));
  head.push_back(LoadString(1311));
  rows.push_back(head);

  int previousRounded = 0;
  for (const CDiveSegment& s : dive.Segments()) {
    Row r{GasName(s.m_oxygen, s.m_helium), s.m_closedCircuit ? Format("%.2f", s.m_ppo2) : std::string("OC")};
    if (warnings) r.push_back(WarningsText(s.m_warningFlags));
    if (s.m_kind == kSegFirstAscent)
      r.push_back(LoadString(1312));
    else if (s.m_kind == kSegAscentToSurface)
      r.push_back(LoadString(1323));
    else
      r.push_back(Format("%0.0f", o.imperial ? s.m_depth * kFeetPerMetre : s.m_depth));
    if (ncs) r.push_back(s.m_noClearSurface ? LoadString(1322) : "");
    if (o.minutesAndSeconds) {
      r.push_back(MinutesSeconds(s.m_duration));
      r.push_back(MinutesSeconds(s.m_end));
    } else {
      // Whole minutes that add up: each segment ends on its rounded-up run time.
      const int rounded = RoundUpToMinute(s.m_end);
      r.push_back(Format("%d", (rounded - previousRounded) / 60));
      r.push_back(Format("%d", rounded / 60));
      previousRounded = rounded;
    }
    rows.push_back(r);
  }
  return Columns(rows, "  ");
}

std::string GasWarningsText(const CDivePlan& dive) {
  if (dive.GasWarnings().empty()) return {};
  std::string out = "Gas warnings\n";
  for (const CDiveGasWarning& w : dive.GasWarnings()) {
    std::string text = w.DisplayText();
    const std::size_t first = text.find('~');
    if (first != std::string::npos) text.replace(first, 1, ": ");
    for (std::size_t p = text.find('~'); p != std::string::npos; p = text.find('~', p)) text.replace(p, 1, "; ");
    out += "  " + text + "\n";
  }
  return out;
}

std::string ConsumptionText(const CPlanGroup& group, const CDivePlan& dive, const STextTableOptions& o) {
  if (!dive.AnyConsumption()) return {};
  std::vector<Row> rows;
  const double pressure = group.GetCylinderWorkingPressure();
  rows.push_back({"Gas", o.imperial ? "Volume (cu ft)" : "Volume (l)",
                  o.imperial ? Format("Cylinder (cu ft) at %0.0f psi", std::floor(pressure * kPsiPerBar + 0.5))
                             : Format("Cylinder (l) at %0.0f bar", pressure)});
  for (int i = 0; i < CDivePlan::kMaxGases; ++i) {
    const std::string line = dive.GasConsumptionRow(i);
    if (line.empty()) continue;
    CSParser fields(line, '~');
    rows.push_back({fields.GetField(1), fields.GetField(2), fields.GetField(3)});
  }
  return Format("Open-circuit gas required, reserve %0.0f%%\n", group.GetGasReserve()) + Columns(rows, "  ");
}

}  // namespace

STextTableOptions TextTableOptionsFromPreferences() {
  STextTableOptions o;
  o.imperial = Prefs().GetNumber(EPref::Units) == 1;
  o.minutesAndSeconds = Prefs().GetNumber(EPref::TimeUnits) == 1;
  return o;
}

std::string DiveTableText(const CPlanGroup& group, int index, const STextTableOptions& options) {
  const CDivePlan* dive = group.GetDive(index);
  if (!dive) return {};
  std::string out = Heading(group, index, *dive, options);
  if (!dive->IsCalculationCompleted() || dive->Segments().empty()) {
    out += dive->IsTimeLimitExceeded() ? "Not calculated: the dive exceeds the planning time limit.\n"
                                       : "Not calculated.\n";
    return out;
  }
  out += '\n';
  out += SegmentTable(*dive, options);
  const std::string warnings = GasWarningsText(*dive);
  if (!warnings.empty()) out += "\n" + warnings;
  const std::string gas = ConsumptionText(group, *dive, options);
  if (!gas.empty()) out += "\n" + gas;
  return out;
}

}  // namespace kv
