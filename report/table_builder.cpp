#include "report/table_builder.h"

#include <algorithm>
#include <cmath>

#include "base/strings.h"
#include "base/text.h"
#include "base/units.h"
#include "base/version.h"
#include "engine/dive_plan.h"
#include "report/dive_plan_table.h"
#include "report/html_text.h"

namespace kv {
namespace {

std::string SacText(double litresPerMinute, const SDisplayUnits& units) {
  return "SAC " + units.VolumeNumber(litresPerMinute) + " (" + units.VolumeRateUnit() + ")";
}

// dives[index], or nullptr for an index outside the list or a missing dive.
const CDivePlan* DiveAt(const std::vector<const CDivePlan*>& dives, int index) {
  return index >= 0 && index < static_cast<int>(dives.size()) ? dives[static_cast<std::size_t>(index)] : nullptr;
}

double MaxSegmentDepth(const CDivePlan& dive) {
  double deepest = 0.0;
  for (const CDiveSegment& s : dive.Segments()) deepest = std::max(deepest, s.m_depth);
  return deepest;
}

double FinalCns(const CDivePlan& dive) { return dive.LastPrediction() ? dive.LastPrediction()->m_cns : 0.0; }
double FinalOtu(const CDivePlan& dive) { return dive.LastPrediction() ? dive.LastPrediction()->m_otu : 0.0; }
double InitialCns(const CDivePlan& dive) { return dive.Prediction(0) ? dive.Prediction(0)->m_cns : 0.0; }
double InitialOtu(const CDivePlan& dive) { return dive.Prediction(0) ? dive.Prediction(0)->m_otu : 0.0; }

std::string GradientFactorText(const CDivePlan& dive) {
  return Format("GF<br>%2d/%2d", static_cast<int>(dive.GetGfLow()), static_cast<int>(dive.GetGfHigh()));
}

// "Bailout @ <depth> @ <n> mins GFlo/hi", the part of a title both kinds of table share.
std::string BailoutAt(const CDivePlan& dive, const SDisplayUnits& units) {
  const SBailoutSettings& b = dive.BailoutSettings();
  return Format("Bailout @ %s @ %s %s", units.DepthText("%0.0f", dive.Bailout().depth).c_str(),
                Format("%d mins", dive.Bailout().time / 60).c_str(),
                Format("GF%2.0f/%2.0f", b.gfLow, b.gfHigh).c_str());
}

// "Dive n of m, Duration (hh:mm) h:mm". Minutes are rounded (a half up), so
// 59:30 and more reads as 0:60 rather than losing the half minute.
std::string DiveText(const CDivePlan& dive, int index, int count) {
  const int runTime = dive.GetRunTime();
  const int hours = runTime / 3600;
  const int minutes = static_cast<int>(std::floor((runTime - hours * 3600) / 60.0 + 0.5));
  return Format(LoadString(kMsgDiveOfDives), index + 1, count) + Format(LoadString(1321), hours, minutes);
}


std::string SegmentDepthText(const CDiveSegment& s, const SDisplayUnits& units) {
  switch (s.m_kind) {
    case kSegFirstAscent:
      return LoadString(1312);
    case kSegAscentToSurface:
      return LoadString(1323);
    case kSegBottom:
      return LoadString(1318);
    default:
      return Format("%2.0f", units.Shown(s.m_depth));
  }
}

}  // namespace

std::string WarningsText(int flags) {
  std::string text;
  auto add = [&](int bit, const char* name) {
    if (!(flags & bit)) return;
    if (!text.empty()) text += ", ";
    text += name;
  };
  add(kWarnIcd, "ICD Risk");
  add(kWarnEad, "EAD");
  add(kWarnPpo2High, "High O2");
  add(kWarnPpo2Low, "Low O2");
  return text;
}

void AddGasWarningLines(const CDivePlan& dive, DiveTableContent& content) {
  if (dive.GasWarnings().empty()) return;
  content.warnings.push_back(std::string(LoadString(kMsgGasHeading)) + "~" + LoadString(kMsgWarningsHeading));
  for (int i = 0; i < static_cast<int>(dive.GasWarnings().size()); ++i)
    content.warnings.push_back(dive.GasWarningText(i));
}

std::string ProgramVersionText() {
  std::string version;
  for (const char c : std::string(kProgramVersion)) {
    if (c == ',')
      version += '.';
    else if (c != ' ')
      version += c;
  }
  return version;
}

std::string TableFooterText(const std::string& diverName) {
  // The name is typed by the user, not HTML: a "<" or "&" in it must print as
  // itself. Without one the footer says when, not "by" nobody.
  if (diverName.find_first_not_of(" \t") == std::string::npos)
    return Format(LoadString(kMsgCreatedNoName), ReportDateText().c_str(), ProgramVersionText().c_str());
  return Format(LoadString(1313), ReportDateText().c_str(), HtmlEscaped(diverName).c_str(),
                ProgramVersionText().c_str());
}

bool DiveQualifiesForTable(const CDivePlan* dive) {
  return dive && dive->SegmentCount() > 0 && dive->IsCalculationCompleted() && !dive->IsTimeLimitExceeded();
}

bool DiveQualifiesForGasTable(const CDivePlan* dive) { return dive && dive->AnyConsumption(); }

// ---- Dive table ------------------------------------------------------------------

DiveTableContent BuildDiveTableContent(const std::vector<const CDivePlan*>& dives, int index,
                                       const SReportOptions& options) {
  DiveTableContent content;
  const CDivePlan* chosen = DiveAt(dives, index);
  if (!chosen) return content;
  const CDivePlan& dive = *chosen;
  const int count = static_cast<int>(dives.size());
  const SDisplayUnits& units = options.units;
  const bool laterDive = index > 0;

  // Header.
  std::string title = "Dive Plan";
  if (dive.BailoutWalked())
    title += "<br>" + BailoutAt(dive, units) + " " + SacText(dive.BailoutSettings().sacRate, units);
  std::string diveText = DiveText(dive, index, count);
  if (count >= 2 && laterDive) {
    const int si = dive.GetSurfaceInterval();
    diveText += Format(LoadString(1301), si / 3600, si % 3600 / 60);
  }
  const double finalCns = FinalCns(dive), finalOtu = FinalOtu(dive);
  std::string cns, otu;
  if (!laterDive) {
    cns = Format(LoadString(kMsgCnsFinal), CnsPercent(finalCns));
    otu = Format(LoadString(kMsgOtuFinal), OtuPercentOfLimit(finalOtu));
    content.cnsAlert = CnsAboveLimit(finalCns);
    content.otuAlert = OtuAboveLimit(finalOtu);
  } else {
    const double initialCns = InitialCns(dive), initialOtu = InitialOtu(dive);
    cns = Format(LoadString(1304), CnsPercent(initialCns), CnsPercent(finalCns));
    otu = Format(LoadString(1305), OtuPercentOfLimit(initialOtu), OtuPercentOfLimit(finalOtu));
    content.cnsAlert = CnsAboveLimit(finalCns) || CnsAboveLimit(initialCns);
    content.otuAlert = OtuAboveLimit(finalOtu) || OtuAboveLimit(initialOtu);
  }
  content.header = units.DepthText("%0.0f", MaxSegmentDepth(dive)) + "~" + title + "~" + GradientFactorText(dive) +
                   "~" + diveText + "~" + cns + "~" + otu;

  // Column headings.
  const std::vector<CDiveSegment>& segments = dive.Segments();
  const bool warningsColumn = !dive.GasWarnings().empty();
  const bool ncsColumn = std::any_of(segments.begin(), segments.end(),
                                     [](const CDiveSegment& s) { return s.m_noClearSurface != 0; });
  std::string headings = std::string(LoadString(kMsgGasHeading)) + "~" + LoadString(1307);
  if (warningsColumn) headings += std::string("~") + LoadString(kMsgWarningsHeading);
  headings += std::string("~") + LoadString(units.imperial ? 1309 : 1308);
  if (ncsColumn) headings += std::string("~") + LoadString(kMsgNoClearSurface);
  headings += std::string("~") + LoadString(1310) + "~" + LoadString(1311);

  // Rows in dive order first: whole-minute segment times are differences of
  // rounded run times, which only make sense in the order the diver meets them.
  std::vector<std::string> lines;
  std::vector<bool> alerts;
  int previousRounded = 0;
  for (const CDiveSegment& s : segments) {
    std::string line = GasName(s.m_oxygen, s.m_helium) + "~";
    line += s.m_closedCircuit ? Format("%.2f", s.m_ppo2) : std::string("OC");
    bool alert = false;
    if (warningsColumn) {
      const std::string warnings = WarningsText(s.m_warningFlags);
      alert = !warnings.empty();
      // Appended piece by piece: GCC 12 at -O3 warns falsely (-Wrestrict)
      // about "~" + std::string temporaries here.
      line += '~';
      line += alert ? warnings : std::string("&nbsp");
    }
    line += '~';
    line += SegmentDepthText(s, units);
    if (ncsColumn) {
      line += '~';
      line += s.m_noClearSurface ? LoadString(kMsgNoClearSurface) : "&nbsp";
    }
    if (options.minutesAndSeconds) {
      line += '~';
      line += MinutesSeconds(s.m_duration);
      line += '~';
      line += MinutesSeconds(s.m_end);
    } else {
      const int rounded = RoundUpToMinute(s.m_end);
      line += Format("~%d~%d", (rounded - previousRounded) / 60, rounded / 60);
      previousRounded = rounded;
    }
    lines.push_back(std::move(line));
    alerts.push_back(alert);
  }
  if (options.runTimeAscending) {
    std::reverse(lines.begin(), lines.end());
    std::reverse(alerts.begin(), alerts.end());
  }
  content.rows.push_back(std::move(headings));
  content.rowAlerts.push_back(false);
  content.rows.insert(content.rows.end(), lines.begin(), lines.end());
  content.rowAlerts.insert(content.rowAlerts.end(), alerts.begin(), alerts.end());

  AddGasWarningLines(dive, content);
  content.footer = TableFooterText(options.diverName);
  return content;
}

// ---- Gas consumption table -----------------------------------------------------------

DiveTableContent BuildGasUsageTableContent(const std::vector<const CDivePlan*>& dives, int index,
                                           const SReportOptions& options) {
  DiveTableContent content;
  const CDivePlan* chosen = DiveAt(dives, index);
  if (!chosen) return content;
  const CDivePlan& dive = *chosen;
  const SDisplayUnits& units = options.units;

  const std::string diveSac = SacText(dive.GetSacRate(), units);
  std::string title;
  if (dive.BailoutWalked()) {
    const std::string bailoutSac = SacText(dive.BailoutSettings().sacRate, units);
    std::string sac;
    if (dive.DiveSacUsed() && dive.BailoutSacUsed())
      sac = Format("Dive %s Bailout %s", diveSac.c_str(), bailoutSac.c_str());
    else if (dive.DiveSacUsed())
      sac = diveSac;
    else if (dive.BailoutSacUsed())
      sac = bailoutSac;
    title = "Gas Usage Table<br>" + BailoutAt(dive, units) + "<br>" + sac;
  } else {
    title = "Gas Usage Table<br>" + diveSac;
  }
  const double finalCns = FinalCns(dive), finalOtu = FinalOtu(dive);
  content.cnsAlert = CnsAboveLimit(finalCns);
  content.otuAlert = OtuAboveLimit(finalOtu);
  content.header = units.DepthText("%0.0f", MaxSegmentDepth(dive)) + "~" + title + "~" + GradientFactorText(dive) +
                   "~" + DiveText(dive, index, static_cast<int>(dives.size())) + "~" +
                   Format(LoadString(kMsgCnsFinal), CnsPercent(finalCns)) + "~" +
                   Format(LoadString(kMsgOtuFinal), OtuPercentOfLimit(finalOtu));

  const double reserve = dive.GetGasReserve();
  const double pressure = dive.GetCylinderWorkingPressure();
  std::string headings = std::string(LoadString(1350)) + "~";
  if (units.imperial)
    headings += Format(LoadString(1355), reserve) + "~" + Format(LoadString(1357), units.ShownPressure(pressure));
  else
    headings += Format(LoadString(1354), reserve) + "~" + Format(LoadString(1356), pressure);
  content.rows.push_back(std::move(headings));
  for (int i = 0; i < CDivePlan::kMaxGases; ++i) {
    std::string row = dive.GasConsumptionRow(i, units);
    if (row.empty()) break;
    content.rows.push_back(std::move(row));
  }
  content.footer = TableFooterText(options.diverName);
  return content;
}

// ---- Builders ----------------------------------------------------------------------

void InitialiseDiveTablesWriter(CDivePlanTablesHtml& writer) {
  writer.Initialise("Kestrun Varnadel", "Kestrun Ltd.", "Dive Table", kMakerHomePage, "Kestrun Home Page",
                    "#C0C0C0", "#000000", "#ff6666", "#ffffcc");
}

std::vector<int> ChooseDiveTables(const std::vector<const CDivePlan*>& dives, int index) {
  const int count = static_cast<int>(dives.size());
  std::vector<int> chosen;
  if (index >= 0) {
    if (index < count && DiveQualifiesForTable(dives[static_cast<std::size_t>(index)])) chosen.push_back(index);
  } else if (std::any_of(dives.begin(), dives.end(), DiveQualifiesForTable)) {
    for (int i = 0; i < count; ++i) {
      const CDivePlan* dive = dives[static_cast<std::size_t>(i)];
      if (dive && dive->SegmentCount() > 0) chosen.push_back(i);
    }
  }
  return chosen;
}

std::vector<int> ChooseGasUsageTables(const std::vector<const CDivePlan*>& dives, int index) {
  const int count = static_cast<int>(dives.size());
  std::vector<int> chosen;
  if (index >= 0) {
    if (index < count && DiveQualifiesForGasTable(dives[static_cast<std::size_t>(index)])) chosen.push_back(index);
  } else {
    for (int i = 0; i < count; ++i)
      if (DiveQualifiesForGasTable(dives[static_cast<std::size_t>(i)])) chosen.push_back(i);
  }
  return chosen;
}

bool BuildDiveTables(const std::vector<const CDivePlan*>& dives, int index, const SReportOptions& options,
                     CDivePlanTablesHtml& writer) {
  const std::vector<int> chosen = ChooseDiveTables(dives, index);
  if (chosen.empty()) return false;
  writer.Reset();
  for (const int i : chosen) writer.AddTable(BuildDiveTableContent(dives, i, options));
  writer.Finish();
  return true;
}

bool BuildGasUsageTables(const std::vector<const CDivePlan*>& dives, int index, const SReportOptions& options,
                         CGasConsumptionTablesHtml& writer) {
  const std::vector<int> chosen = ChooseGasUsageTables(dives, index);
  if (chosen.empty()) return false;
  writer.Reset();
  for (const int i : chosen) writer.AddTable(BuildGasUsageTableContent(dives, i, options));
  writer.Finish();
  return true;
}

}  // namespace kv
