#include "app/widgets/ui_text.h"

#include <map>

#include "base/strings.h"

namespace kv::app {
namespace {

// Tooltips of the dive pages and of the gas switch dialog.
const std::map<int, const char*>& PageTooltips() {
  static const std::map<int, const char*> texts = {
      {2000, "Add the entry after the highlighted segment"},
      {2001, "Insert the entry before the highlighted segment"},
      {2002, "Replace the highlighted segment with the entry"},
      {2003, "Delete the highlighted segment"},
      {2020, "Add this gas switch to the schedule"},
      {2021, "Replace the edited gas switch with these values"},
      {2022, "Delete the edited gas switch"},
      {2023, "Close without changing the schedule"},
      {2065, "Add the gas to the bailout gas list"},
      {2066, "Delete the selected gases from the list"},
      {2067, "Load a bailout gas list from a gas mix list file"},
      {2068, "Save the bailout gas list to a gas mix list file"},
      {2100, "Depth of the segment"},
      {2101, "Time spent at the depth of the segment, in minutes"},
      {2102, "Closed circuit: the gas is a diluent breathed at the setpoint"},
      {2103, "Open circuit: the gas is breathed as it is"},
      {2104, "PPO2 setpoint of the closed circuit segment (bar)"},
      {2105, "PPO2 of the open circuit gas at the entered depth (bar)"},
      {2106, "No Clear Surface: the diver cannot ascend directly from this segment"},
      {2107,
       "Gas mix. Permitted entry styles:\nNamed - Air, Oxygen\nNitrox (O2%) - 32% Nx, 32% Nitrox, 32% N, 32%, "
       "32/0\nTrimix (O2%/He%) - 13/59, 16/44, 6/70"},
      {2108, "Segments of the dive: click a row to load it into the entry fields"},
      {2109, "Dive and bailout settings of this dive"},
      {2110, "Gas warnings of the calculated dive"},
      {2111, "Printable segments of the calculated dive"},
      {2700, "Atmospheric pressure at the surface of the dive site"},
      {2701, "Gradient factor that sets the first stop"},
      {2702, "Gradient factor that applies at the surface"},
      {2703, "Surface air consumption rate for open circuit gas volumes"},
      {2704, "Highest PPO2 allowed on any gas of the dive"},
      {2705, "Highest equivalent air depth allowed on any gas of the dive"},
      {2706, "Time at the surface before this dive (hours:minutes)"},
      {2707, "Speed of descent"},
      {2708, "Speed of ascent"},
      {2709, "Depth of the last decompression stop"},
      {2750, "Number of bailout gases the planner chooses"},
      {2751, "Gradient factor low after the bailout (the larger of the dive's and this applies)"},
      {2752, "Gradient factor high after the bailout (the larger of the dive's and this applies)"},
      {2753, "Surface air consumption rate on bailout"},
      {2754, "Highest PPO2 allowed on a bailout gas"},
      {2755, "Highest equivalent air depth allowed on a bailout gas"},
      {2756, "Highest CNS allowed at the end of the bailout"},
      {2757, "Speed of descent on bailout"},
      {2758, "Speed of ascent on bailout"},
      {2759, "Depth of the last decompression stop on bailout"},
      {2760, "Choose the bailout gases from the bailout gas list"},
      {2761, "Do not check bailout gas switches for isobaric counter-diffusion"},
      {2762, "Do not hold the bailout to the Max CNS limit"},
      {2800, "Gas to add to the bailout gas list"},
  };
  return texts;
}

}  // namespace

QString UiString(int id) {
  QString text = QString::fromUtf8(LoadString(id));
  if (!text.isEmpty()) return text;
  const auto& fallback = PageTooltips();
  auto it = fallback.find(id);
  return it == fallback.end() ? QString() : QString::fromUtf8(it->second);
}

QString UiTooltip(int id) { return UiString(id).section(QLatin1Char('\n'), 0, 0); }

}  // namespace kv::app
