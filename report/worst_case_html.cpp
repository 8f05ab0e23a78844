#include "report/worst_case_html.h"

#include <algorithm>

#include "base/text.h"
#include "base/units.h"

namespace kv {
namespace {

constexpr const char* kWorstColour = "#ffc8c8";
constexpr const char* kInvalidColour = "#e0e0e0";

std::string Escape(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string MinutesSeconds(int seconds) {
  seconds = std::max(seconds, 0);
  return Format("%d:%02d", seconds / 60, seconds % 60);
}

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
  std::string out = "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\">\n<tr>";
  out += HeadCell("Worst case") + HeadCell("Value") + HeadCell("Bailout at");
  const bool cylinders = heading.workingPressure > 0.0;
  if (cylinders) out += HeadCell(Format("Cylinder (l) at %0.0f bar, %0.0f%% reserve", heading.workingPressure, heading.gasReserve));
  out += "</tr>\n";
  const std::string blank = cylinders ? Cell("&nbsp;") : std::string();
  out += "<tr>" + Cell("Longest run time", false, "left") + Cell(MinutesSeconds(static_cast<int>(sweep.runTime.value)), true) +
         Cell(MinutesSeconds(sweep.runTime.second)) + blank + "</tr>\n";
  out += "<tr>" + Cell("Highest CNS", false, "left") + Cell(Format("%0.1f%%", sweep.cnsFinal.value * 100.0), true) +
         Cell(MinutesSeconds(sweep.cnsFinal.second)) + blank + "</tr>\n";
  for (const SBailoutWorstGas& g : sweep.gases) {
    out += "<tr>" + Cell(Escape(g.gas) + " (l)", false, "left") + Cell(Format("%0.0f", g.litres), true) +
           Cell(MinutesSeconds(g.second));
    if (cylinders) out += Cell(g.cylinderLitres > 0.0 ? Format("%0.1f", g.cylinderLitres) : std::string("&nbsp;"));
    out += "</tr>\n";
  }
  return out + "</table>\n";
}

std::string MomentsTable(const SBailoutSweep& sweep, const SWorstCaseHeading& heading,
                         const std::vector<std::string>& gases) {
  std::string out = "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\">\n<tr>";
  out += HeadCell("Bailout at") + HeadCell(heading.imperial ? "Depth (ft)" : "Depth (m)") + HeadCell("Valid") +
         HeadCell("Run time") + HeadCell("Ascent") + HeadCell("CNS");
  for (const std::string& g : gases) out += HeadCell(Escape(g) + " (l)");
  out += "</tr>\n";
  for (const SBailoutMoment& m : sweep.moments) {
    const double depth = heading.imperial ? m.depth * kFeetPerMetre : m.depth;
    out += m.valid ? "<tr>" : Format("<tr bgcolor=\"%s\">", kInvalidColour);
    out += Cell(MinutesSeconds(m.second)) + Cell(Format("%0.1f", depth)) + Cell(m.valid ? "yes" : "NO", false, "center");
    out += Cell(MinutesSeconds(m.runTime), m.valid && m.second == sweep.runTime.second);
    out += Cell(MinutesSeconds(m.ascentTime));
    out += Cell(Format("%0.1f%%", m.cnsFinal * 100.0), m.valid && m.second == sweep.cnsFinal.second);
    for (const std::string& g : gases) {
      const SBailoutWorstGas* worst = WorstGas(sweep, g);
      out += Cell(Format("%0.0f", MomentLitres(m, g)), m.valid && worst && worst->second == m.second);
    }
    out += "</tr>\n";
  }
  return out + "</table>\n";
}

}  // namespace

std::vector<std::string> SweepGasNames(const SBailoutSweep& sweep) {
  std::vector<std::string> names;
  for (const SBailoutMoment& m : sweep.moments)
    for (const SBailoutGasVolume& g : m.gases)
      if (std::find(names.begin(), names.end(), g.gas) == names.end()) names.push_back(g.gas);
  return names;
}

double MomentLitres(const SBailoutMoment& moment, const std::string& gas) {
  double litres = 0.0;
  for (const SBailoutGasVolume& g : moment.gases)
    if (g.gas == gas) litres += g.litres;
  return litres;
}

std::string WorstCaseBailoutHtml(const SBailoutSweep& sweep, const SWorstCaseHeading& heading) {
  std::string title = Format("Worst-case Bailout - Dive %d", heading.dive + 1);
  if (!heading.diveName.empty()) title += " - " + Escape(heading.diveName);
  std::string out =
      "<!DOCTYPE html PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\"><html>\n<head>\n<title>" + title +
      "</title>\n<meta http-equiv=\"content-type\" content=\"text/html; charset=ISO-8859-1\">\n</head>\n<body>\n";
  out += "<h2>" + title + "</h2>\n";
  out += Format("<p>Bailout planned from every %d s of closed-circuit time and from the end of every segment: "
                "%d moments, %d without a valid bailout plan.</p>\n",
                sweep.step, static_cast<int>(sweep.moments.size()), sweep.invalid);
  if (sweep.cancelled) out += "<p><b>The sweep was cancelled: only the moments planned before are shown.</b></p>\n";
  if (sweep.runTime.second < 0) {
    out += "<p><b>No moment has a valid bailout plan: there is no worst case.</b></p>\n";
  } else {
    if (sweep.invalid > 0) out += "<p><b>The worst case covers the moments with a valid bailout plan only.</b></p>\n";
    out += WorstTable(sweep, heading);
  }
  out += "<h3>Bailout moments</h3>\n";
  out += MomentsTable(sweep, heading, SweepGasNames(sweep));
  return out + "</body>\n</html>\n";
}

}  // namespace kv
