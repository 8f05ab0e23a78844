#include "report/worst_case_html.h"

#include <algorithm>

#include "base/text.h"
#include "report/dive_plan_table.h"
#include "report/html_text.h"

namespace kv {
namespace {

constexpr const char* kWorstColour = "#ffc8c8";
constexpr const char* kInvalidColour = "#e0e0e0";

std::string Cell(const std::string& text, bool worst = false, const char* align = "right") {
  if (worst) return Format("<td align=\"%s\" bgcolor=\"%s\"><b>%s</b></td>", align, kWorstColour, text.c_str());
  return Format("<td align=\"%s\">%s</td>", align, text.c_str());
}

std::string HeadCell(const std::string& text) { return "<th>" + text + "</th>"; }

const SBailoutWorstGas* WorstGas(const SBailoutSweep& sweep, const std::string& gas) {
  for (const SBailoutWorstGas& g : sweep.gases)
    if (g.gas == gas) return &g;
  return nullptr;
}

std::string WorstTable(const SBailoutSweep& sweep, const SWorstCaseHeading& heading) {
  const SDisplayUnits& units = heading.units;
  const char* unit = units.VolumeUnit();
  std::string out = "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\">\n<tr>";
  out += HeadCell("Worst case") + HeadCell("Value") + HeadCell(Format("With %0.0f%% reserve", heading.gasReserve)) +
         HeadCell("Bailout at");
  const bool cylinders = units.imperial || heading.workingPressure > 0.0;
  if (cylinders)
    out += HeadCell(Format("Cylinder (%s) at %s, with reserve", unit,
                           units.PressureText(heading.workingPressure).c_str()));
  out += "</tr>\n";
  const std::string blank = Cell("&nbsp;");
  out += "<tr>" + Cell("Longest run time", false, "left") + Cell(MinutesSeconds(static_cast<int>(sweep.runTime.value)), true) +
         blank + Cell(MinutesSeconds(sweep.runTime.second)) + (cylinders ? blank : std::string()) + "</tr>\n";
  out += "<tr>" + Cell("Highest CNS", false, "left") + Cell(Format("%0.1f%%", sweep.cnsFinal.value * 100.0), true) +
         blank + Cell(MinutesSeconds(sweep.cnsFinal.second)) + (cylinders ? blank : std::string()) + "</tr>\n";
  for (const SBailoutWorstGas& g : sweep.gases) {
    out += "<tr>" + Cell(HtmlEscaped(g.gas) + Format(" (%s)", unit), false, "left");
    if (g.second < 0) {
      // Carried, but no valid moment breathes it.
      out += Cell("0") + blank + Cell("none") + (cylinders ? blank : std::string()) + "</tr>\n";
      continue;
    }
    out += Cell(units.VolumeNumber(g.litres), true) + Cell(units.VolumeNumber(g.litresWithReserve)) +
           Cell(MinutesSeconds(g.second));
    if (cylinders) {
      const std::string cylinder = units.CylinderNumber(g.litresWithReserve, heading.workingPressure);
      out += Cell(cylinder.empty() ? std::string("&nbsp;") : cylinder);
    }
    out += "</tr>\n";
  }
  return out + "</table>\n";
}

std::string MomentsTable(const SBailoutSweep& sweep, const SWorstCaseHeading& heading,
                         const std::vector<std::string>& gases) {
  const SDisplayUnits& units = heading.units;
  std::string out = "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\">\n<tr>";
  out += HeadCell("Bailout at") + HeadCell(Format("Depth (%s)", units.Unit())) + HeadCell("Valid") +
         HeadCell("Run time") + HeadCell("Ascent") + HeadCell("CNS");
  for (const std::string& g : gases) out += HeadCell(HtmlEscaped(g) + Format(" (%s)", units.VolumeUnit()));
  out += "</tr>\n";
  for (const SBailoutMoment& m : sweep.moments) {
    out += m.valid ? "<tr>" : Format("<tr bgcolor=\"%s\">", kInvalidColour);
    out += Cell(MinutesSeconds(m.second)) + Cell(Format("%0.1f", units.Shown(m.depth))) +
           Cell(m.valid ? "yes" : "NO", false, "center");
    if (!m.valid) {
      // The planner's last attempt is no plan: no times or gas to read off.
      for (std::size_t c = 0; c < 3 + gases.size(); ++c) out += Cell("-", false, "center");
      out += "</tr>\n";
      continue;
    }
    out += Cell(MinutesSeconds(m.runTime), m.valid && m.second == sweep.runTime.second);
    out += Cell(MinutesSeconds(m.ascentTime));
    out += Cell(Format("%0.1f%%", m.cnsFinal * 100.0), m.valid && m.second == sweep.cnsFinal.second);
    for (const std::string& g : gases) {
      const SBailoutWorstGas* worst = WorstGas(sweep, g);
      out += Cell(units.VolumeNumber(MomentLitres(m, g)), m.valid && worst && worst->second == m.second);
    }
    out += "</tr>\n";
  }
  return out + "</table>\n";
}

std::string Clock(int seconds) { return Format("%d:%02d", seconds / 60, seconds % 60); }

}  // namespace

std::vector<std::string> CarriedGasNames(const SBailoutSweep& sweep) {
  std::vector<std::string> names;
  for (const SBailoutListMix& m : sweep.carried.gases) names.push_back(GasName(m.oxygen, m.helium));
  return names;
}

double MomentLitres(const SBailoutMoment& moment, const std::string& gas) {
  double litres = 0.0;
  for (const SBailoutGasVolume& g : moment.gases)
    if (g.gas == gas) litres += g.litres;
  return litres;
}

std::string CarriedGasesText(const SBailoutSweep& sweep) {
  const SBailoutCarried& c = sweep.carried;
  std::string gases;
  for (const std::string& name : CarriedGasNames(sweep)) gases += (gases.empty() ? "" : ", ") + name;
  if (c.source == SBailoutCarried::ESource::List)
    return "Carried at every moment: the dive's bailout gas list, " +
           (gases.empty() ? std::string("which holds no usable mix") : gases);
  if (c.second < 0) return "No moment to suggest bailout gases for";
  if (c.gases.empty())
    return "No bailout gases could be suggested for a bailout at " + Clock(c.second) +
           " (the deepest moment), so no moment was planned";
  return "Carried at every moment: " + gases + ", the gases suggested for a bailout at " + Clock(c.second) +
         " (the deepest moment)";
}

std::string WorstCaseBailoutHtml(const SBailoutSweep& sweep, const SWorstCaseHeading& heading) {
  std::string title = Format("Worst-case Bailout - Dive %d", heading.dive + 1);
  if (!heading.diveName.empty()) title += " - " + HtmlEscaped(heading.diveName);
  std::string out =
      "<!DOCTYPE html PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\"><html>\n<head>\n<title>" + title +
      "</title>\n<meta http-equiv=\"content-type\" content=\"text/html; charset=ISO-8859-1\">\n</head>\n<body>\n";
  out += "<h2>" + title + "</h2>\n";
  out += Format("<p>Bailout planned from every %d s of closed-circuit time and from the end of every segment: "
                "%d moments, %d without a valid bailout plan.</p>\n",
                sweep.step, static_cast<int>(sweep.moments.size()), sweep.invalid);
  out += "<p>" + HtmlEscaped(CarriedGasesText(sweep)) + ".</p>\n";
  if (sweep.cancelled) out += "<p><b>The sweep was cancelled: only the moments planned before are shown.</b></p>\n";
  if (sweep.runTime.second < 0) {
    out += "<p><b>No moment has a valid bailout plan: there is no worst case.</b></p>\n";
  } else {
    if (sweep.invalid > 0) out += "<p><b>The worst case covers the moments with a valid bailout plan only.</b></p>\n";
    out += WorstTable(sweep, heading);
  }
  out += "<h3>Bailout moments</h3>\n";
  out += MomentsTable(sweep, heading, CarriedGasNames(sweep));
  return out + "</body>\n</html>\n";
}

}  // namespace kv
