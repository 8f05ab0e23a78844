#include "cli/text_report.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "base/strings.h"
#include "base/text.h"
#include "base/units.h"
#include "cli/dive_outcome.h"
#include "engine/dive_plan.h"
#include "plan/plan_group.h"
#include "report/lost_gas_tables.h"

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

Row Cells(const std::string& line) {
  Row row;
  CSParser fields(line, '~');
  for (int i = 1; i <= fields.Count(); ++i) row.push_back(PlainText(fields.GetField(i)));
  return row;
}

std::string Heading(const CPlanGroup& group, int index, const CDivePlan& dive, const SReportOptions& o) {
  std::string out = Format(LoadString(kMsgDiveOfDives), index + 1, group.GetDiveCount());
  if (!dive.GetName().empty()) out += " - " + dive.GetName();
  const int run = dive.GetRunTime();
  const int hours = run / 3600;
  const int minutes = static_cast<int>(std::floor((run % 3600) / 60.0 + 0.5));
  out += Format(LoadString(1321), hours, minutes);
  if (group.GetDiveCount() >= 2 && index > 0) {
    const int si = dive.GetSurfaceInterval();
    out += Format(LoadString(1301), si / 3600, (si % 3600) / 60);
    // The method decides how much of the previous dive this one carries.
    out += group.GetSurfaceIntervalAlgorithm() == 1 ? " (Bühlmann)" : " (delayed surface desaturation)";
  }
  out += "\n";

  double deepest = 0.0;
  for (const CDiveSegment& s : dive.Segments()) deepest = std::max(deepest, s.m_depth);
  out += "Max depth " + o.units.DepthText("%0.0f", deepest, " ");
  out += Format(", GF %d/%d", static_cast<int>(dive.GetGfLow()), static_cast<int>(dive.GetGfHigh()));
  const CPredictionPoint* first = dive.Prediction(0);
  const CPredictionPoint* last = dive.LastPrediction();
  const double cns0 = first ? CnsPercent(first->m_cns) : 0.0, cns1 = last ? CnsPercent(last->m_cns) : 0.0;
  const double otu0 = first ? OtuPercentOfLimit(first->m_otu) : 0.0;
  const double otu1 = last ? OtuPercentOfLimit(last->m_otu) : 0.0;
  if (index == 0)
    out += ", " + Format(LoadString(kMsgCnsFinal), cns1) + ", " + Format(LoadString(kMsgOtuFinal), otu1);
  else
    out += ", " + Format(LoadString(1304), cns0, cns1) + ", " + Format(LoadString(1305), otu0, otu1);
  out += "\n";
  return out;
}

std::string GasWarningsText(const DiveTableContent& content) {
  if (content.warnings.size() < 2) return {};
  std::string out = "Gas warnings\n";
  for (std::size_t i = 1; i < content.warnings.size(); ++i) {
    const Row cells = Cells(content.warnings[i]);
    std::string line = "  " + (cells.empty() ? std::string() : cells[0]);
    for (std::size_t c = 1; c < cells.size(); ++c) line += (c == 1 ? ": " : "; ") + cells[c];
    out += line + "\n";
  }
  return out;
}

std::string ConsumptionText(const CPlanGroup& group, const CDivePlan& dive, const SReportOptions& o) {
  if (!dive.AnyConsumption()) return {};
  // The volumes of a bailout that failed its limits are not gas to carry.
  if (dive.BailoutWalked() && !dive.IsBailoutPlanValid())
    return "Open-circuit gas required: none given, the bailout plan is not valid\n";
  std::vector<Row> rows;
  const double pressure = group.GetCylinderWorkingPressure();
  const SDisplayUnits& units = o.units;
  rows.push_back({"Gas", Format("Volume (%s)", units.VolumeUnit()),
                  Format("Cylinder (%s) at %0.0f %s", units.VolumeUnit(), units.ShownPressure(pressure),
                         units.PressureUnit())});
  for (int i = 0; i < CDivePlan::kMaxGases; ++i) {
    const std::string line = dive.GasConsumptionRow(i, units);
    if (line.empty()) continue;
    CSParser fields(line, '~');
    rows.push_back({fields.GetField(1), fields.GetField(2), fields.GetField(3)});
  }
  return Format("Open-circuit gas required, reserve %0.0f%%\n", group.GetGasReserve()) + Columns(rows, "  ");
}

// The table of dive, which stands at index of the plan (the plan's own dive
// or a variant of it).
std::string TableText(const CPlanGroup& group, int index, const CDivePlan& dive, const SDiveOutcome& outcome,
                      const SReportOptions& options) {
  std::string out = Heading(group, index, dive, options);
  if (!outcome.calculated) return out + "Not calculated: " + outcome.reason + ".\n";

  std::vector<const CDivePlan*> dives;
  for (int i = 0; i < group.GetDiveCount(); ++i) dives.push_back(i == index ? &dive : group.GetDive(i));
  // The rows of the printed table, in its order for the printing direction.
  const DiveTableContent content = BuildDiveTableContent(dives, index, options);
  std::vector<Row> rows;
  for (const std::string& line : content.rows) rows.push_back(Cells(line));
  // Blank lines between the parts; appended piece by piece, as GCC 12 at -O3
  // warns falsely (-Wrestrict) about "\n" + std::string temporaries.
  auto part = [&out](const std::string& text) {
    if (text.empty()) return;
    out += '\n';
    out += text;
  };
  part(Columns(rows, "  "));
  part(GasWarningsText(content));
  std::string warnings;
  for (const std::string& w : outcome.warnings) warnings += "Warning: " + w + " at the end of the dive\n";
  part(warnings);
  part(ConsumptionText(group, dive, options));
  return out;
}

}  // namespace

std::string PlainText(const std::string& html) {
  std::string out;
  for (std::size_t i = 0; i < html.size();) {
    auto at = [&](const char* s) { return html.compare(i, std::char_traits<char>::length(s), s) == 0; };
    if (at("<br>")) {
      out += ' ';
      i += 4;
    } else if (at("&nbsp;")) {
      i += 6;
    } else if (at("&nbsp")) {
      i += 5;
    } else if (at("&amp;")) {
      out += '&';
      i += 5;
    } else if (at("&lt;")) {
      out += '<';
      i += 4;
    } else if (at("&gt;")) {
      out += '>';
      i += 4;
    } else if (html[i] == '<') {
      const std::size_t end = html.find('>', i);
      i = end == std::string::npos ? html.size() : end + 1;
    } else {
      out += html[i++];
    }
  }
  const std::size_t first = out.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return out.substr(first, out.find_last_not_of(' ') - first + 1);
}

std::string DiveTableText(const CPlanGroup& group, int index, const SReportOptions& options) {
  const CDivePlan* dive = group.GetDive(index);
  if (!dive) return {};
  return TableText(group, index, *dive, DiveOutcome(group, index), options);
}

std::string LostGasTableText(const CPlanGroup& group, int index, const SLostGasVariant& variant,
                             const SReportOptions& options) {
  std::string out = PlainText(LostGasTitle(variant.gas)) + "\n";
  const SDiveOutcome outcome = DiveOutcome(*variant.dive);
  if (!outcome.calculated)
    return out + PlainText(LoadString(kMsgLostGasNotCompleted)) + ": " + outcome.reason + ".\n";
  return out + TableText(group, index, *variant.dive, outcome, options);
}

}  // namespace kv
