#include "base/strings.h"

#include <deque>
#include <map>
#include <mutex>
#include <shared_mutex>
#include <string_view>

namespace kv {
namespace {

const std::map<int, const char*>& BuiltIn() {
  static const std::map<int, const char*> table = {
      {1030, "Depth"},
      {1031, "End Time"},
      {1032, "Invalid"},
      {1033, "GF"},
      {1034, "EAD"},
      {1047, "PPO2"},
      {1048, "Depth (m)"},
      {1049, "Depth (ft)"},
      {1052, "OC"},
      {1053, "CC"},
      {1054, "NCS"},
      {1055, "Ceiling"},
      {1056, "Max Ceiling"},
      {1057, "Insp. Nitrogen"},
      {1058, "Insp. Helium"},
      {1059, "Time"},
      {1060, "CNS"},
      {1061, "OTU"},
      {1062, "Gradient Factor"},
      {1063, "Pigt"},
      {1064, "Max Pigt"},
      {1065, "Dil"},
      {1066, "Compartment"},
      {1077, "Last Deco Stop (ft)"},
      {1084, "Cylinder Working Pressure (Bar)"},
      {1085, "Cylinder Working Pressure (psi)"},
      {1204, "Depth already exists.\n\nUse Update to modify an item"},
      {1206, kSixHourQuestion},
      {1207, "Unable to decompress the dive to %0.0f %s for %d minutes within 6 hours.\n\nExtreme gas and multiple "
             "scrubber\u00A0requirements beyond this time.\n\nDo you wish to plan the dives of this run for extended "
             "decompression up to 24 Hours?\n\n(If you select 'No' this dive and every deeper one of this bottom time "
             "or longer are left out of the tables.)"},
      {1208, "Unable to decompress the dive to %0.0f %s for %d minutes within 6 hours.\n\nExtreme gas requirements "
             "beyond this time.\n\nDo you wish to plan the dives of this run for extended decompression up to 24 "
             "Hours?\n\n(If you select 'No' this dive and every deeper one of this bottom time or longer are left out "
             "of the tables.)"},
      {1215, "Maximum limit of 12 Gas Switches.\n\nUnable to add additional items"},
      {1217, "The Dive Plan has been modified.\n\nDo you want to save the changes?"},
      {1228, "Unable to open data file."},
      {1240, "Unable to open data file for writing."},
      {1251, "Are you sure that you wish to delete the current dive?\n\n%s"},
      {1252, "Warning"},
      {1253, "Fail"},
      {1260, "Hypoxic - PPO2 of %0.2f is below the %0.2f limit\n\nUnable to add or update the item"},
      {1261, "Hyperoxic - PPO2 of %0.2f is above the %0.2f limit\n\nUnable to add or update the item"},
      {1262, "EAD of %0.0f %s for this gas exceeds the %0.0f %s Max EAD limit\n\nUnable to add or update the item"},
      {1263, "The gas is invalid\n\nUnable to add or update the item"},
      {1264, "Invalid entry!\n\n\nPermitted gas entry styles are...\n\nNamed - Air, Oxygen\n\nNitrox (02%) - 32% Nx, 32% Nitrox, 32% N, 32%, 32/0\n\nTrimix (O2%/He%) - 13/59, 16/44, 6/70\n\n\nGas limits are...\n\nOxygen 5% - 100%\n\nHelium 0% - 99%"},
      {1265, "The first point at %0.0f %s needs a point at the surface before it, which the program adds by itself "
             "with the same gas.\n\n%s gives a PPO2 of %0.2f at the surface, below the %0.2f limit.\n\nFirst add a "
             "point at 0 %s on a gas that can be breathed at the surface (a travel gas), then the point at %0.0f %s."},
      {1270, "Not enough gases (%d) for bailout.\n\nAllow the planner to add gases?"},
      {1271, "Too many gases (%d) for bailout.\n\nAllow the planner to reduce the number of gases?"},
      {1280, "Duplicate gas switches @ %0.0f %s and %0.0f %s\n\nRemoving %0.0f %s gas switch"},
      {1290, "Warning - %sNo gas suitable at surface with current gases and settings"},
      {1291, "Warning - %sNo gas suitable at bailout depth with current gases and settings"},
      {1292, "Warning - %sGases do not overlap from bailout depth to surface with current gases and settings"},
      {1293, "Warning - Cannot Meet Max CNS% limit with current settings and Gaslist"},
      {1294, "Warning - Cannot Meet Max CNS% limit with current settings"},
      {1295, "Warning - No gases in list"},
      {1296, "ICD Checks, "},
      {1297, "Warning - %sSingle gas do not reach from bailout depth to surface with current gases and settings"},
      {1300, "Dive %d of %d"},
      {1301, ", Surface Interval (hh:mm) %d:%02d"},
      {1302, "CNS Final %0.1f%%"},
      {1303, "OTU Final %0.1f%%"},
      {1304, "CNS Initial %0.1f%% Final %0.1f%%"},
      {1305, "OTU Initial %0.1f%% Final %0.1f%%"},
      {1306, "Gas"},
      {1307, "PPO2"},
      {1308, "Depth (m)"},
      {1309, "Depth (ft)"},
      {1310, "Segment Time"},
      {1311, "Run Time"},
      {1312, "Ascent to 1st Stop"},
      {1313, "<b>Created %s by %s<br>Kestrun Varnadel (Version %s)</b>"},
      {1314, "Durations"},
      {1316, "<b>Created %s<br>Kestrun Varnadel (Version %s)</b>"},
      {1315, "Depths"},
      {1317, "Bottom %2.0f"},
      {1318, "Bottom Depth"},
      {1319, "Times"},
      {1320, "Warnings"},
      {1321, ", Duration (hh:mm) %d:%02d"},
      {1322, "NCS"},
      {1323, "Ascent to Surface"},
      {1324, "Depth"},
      {1350, "Gas Mix<br>(O2% / He%)"},
      {1351, "Switch Depth"},
      {1352, "Total Time"},
      {1353, "Gas Volume Required"},
      {1354, "Gas Volume Required (l)<br>Reserve %0.0f%%"},
      {1355, "Gas Volume Required (cu ft)<br>Reserve %0.0f%%"},
      {1356, "Cylinder Size Required (l)<br>Working Pressure %0.0f Bar"},
      {1357, "Cylinder Size Required (cu ft)<br>Working Pressure %0.0f PSI"},
      {1360, "If %s is lost"},
      {1361, "Cannot be completed on the remaining gases"},
      {1362, "The decompression does not end within 6 hours."},
      {1363, "The decompression does not end within the 24-hour planning limit."},
      {1364, "Dive %d cannot decompress within 6 hours when a deco gas is lost.\n\nDo you wish to plan its "
             "lost-gas tables for extended decompression up to 24 Hours?\n\n(If you select 'No' those tables "
             "say that the dive cannot be completed.)"},
      {1500, "Started"},
      {1501, "Depths %0.0f to %0.0f in steps of %0.0f"},
      {1502, "Durations %d to %d in steps of %d (mins)"},
      {1504, "Completed"},
      {1505, "Creating %d dive plans"},
      {1506, "Created a Dive Plan for %0.0f %s - duration %d Mins"},
      {1507, "Starting Calculations"},
      {1509, "Preparing report"},
      {1510, "Warning - Dive Plan for %0.0f %s - duration %d Mins, Unable to complete"},
      {1511, "Warning - Dive Plan for %0.0f %s - duration %d Mins, Skipped"},
      {1512, "Surface Pressure %0.0f, GF High %0.0f, GF Low %0.0f, Descent Rate %0.0f (m/min), Ascent Rate %0.0f (m/min), Last Deco Stop %0.0f (m)"},
      {1513, "Surface Pressure %0.0f, GF High %0.0f, GF Low %0.0f, Descent Rate %0.0f (ft/min), Ascent Rate %0.0f (ft/min), Last Deco Stop %0.0f (ft)"},
      {1552, "PPO2 of %0.2f is Hypoxic (%0.2f limit) at %0.0f %s"},
      {1553, "PPO2 of %0.2f is Hyperoxic (%0.2f limit) at %0.0f %s"},
      {1554, "EAD %0.0f %s at depth %0.0f %s for this gas exceeds the %0.0f %s Max EAD limit"},
      {1555, "The start depth %0.0f %s is deeper than the finish depth %0.0f %s"},
      {1556, "The start duration %d is longer than the finish duration %d"},
      {1557, "The start duration %d (mins) and descent rate %0.0f (%s) prevent you from reaching depth %0.0f (%s)"},
      {1560, "Cancelled"},
      {1561, "The depth range gives more than %d table depths"},
      {1562, "The duration range gives more than %d bottom times"},
      {1563, "No descent gas is in use at %0.0f %s"},
      {1564, "Descent Gas"},
      {1565, "Ascent Gas"},
      {1600, "Max Depth %s, Duration %d:%02d (mm:ss)"},
      {1620, "Invalid Table Generation Settings file"},
      {1621, "Invalid Dive file"},
      {1622, "Invalid Dive Plan file"},
      {1623, "Invalid Bailout Gas Mix List file"},
      {1624, "The plan already holds %d dives, the most a plan can hold.\n\nThe dive was not imported."},
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
      {2107, "Permitted gas entry styles are...\n\nNamed - Air, Oxygen\n\nNitrox (02%) - 32% Nx, 32% Nitrox, 32% N, 32%, 32/0\n\nTrimix (O2%/He%) - 13/59, 16/44, 6/70"},
      {2108, "Segments of the dive: click a row to load it into the entry fields"},
      {2109, "Dive and bailout settings of this dive"},
      {2110, "Gas warnings of the calculated dive"},
      {2111, "Printable segments of the calculated dive"},
      {2118, "Graphical profile of dive segments with auto generated ascents and descents\nLeft click and drag to zoom Right click to bailout and quit zoom"},
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
      {2759, "Last stop of the bailout, kept with the dive; the stops follow the dive's Last Deco Stop"},
      {2760, "Choose the bailout gases from the bailout gas list"},
      {2761, "Do not check bailout gas switches for isobaric counter-diffusion"},
      {2762, "Do not hold the bailout to the Max CNS limit"},
      {2800, "Gas to add to the bailout gas list"},
      {2620, "Graphical profile of tissue levels - % Over Pressure Limit for each compartment"},
      {2816, "Gases available for bailout"},
  };
  return table;
}

// The replaced texts. A text handed out by LoadString must stay readable
// while its caller formats it, on whatever thread, even if a language is
// changed meanwhile: every replacement is kept for the rest of the run (a
// deque never moves its elements), and only the id's pointer is switched.
struct SOverrides {
  std::shared_mutex lock;
  std::map<int, const char*> current;
  std::deque<std::string> kept;
};

SOverrides& Overrides() {
  static SOverrides overrides;
  return overrides;
}

// The printf conversions of a text in order, each as its length modifier and
// conversion letter ("%0.2f ... %s" gives "f|s|"); "%%" is no conversion.
std::string Conversions(std::string_view text) {
  std::string signature;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') continue;
    ++i;
    if (i < text.size() && text[i] == '%') continue;
    while (i < text.size() && std::string_view("-+ #0123456789.*").find(text[i]) != std::string_view::npos) ++i;
    while (i < text.size() && std::string_view("hlLqjzt").find(text[i]) != std::string_view::npos)
      signature += text[i++];
    if (i < text.size()) signature += text[i];
    signature += '|';
  }
  return signature;
}

}  // namespace

const char* LoadString(int id) {
  SOverrides& o = Overrides();
  {
    std::shared_lock lock(o.lock);
    if (auto it = o.current.find(id); it != o.current.end()) return it->second;
  }
  const auto& t = BuiltIn();
  auto it = t.find(id);
  return it == t.end() ? "" : it->second;
}

bool OverrideString(int id, const std::string& text) {
  SOverrides& o = Overrides();
  if (text.empty()) {
    std::unique_lock lock(o.lock);
    o.current.erase(id);
    return true;
  }
  // Many texts are used as formats: a replacement that asks for other
  // arguments than the program passes would read the wrong values or crash.
  const auto& t = BuiltIn();
  auto it = t.find(id);
  if (Conversions(text) != Conversions(it == t.end() ? "" : it->second)) return false;
  std::unique_lock lock(o.lock);
  auto current = o.current.find(id);
  if (current != o.current.end() && text == current->second) return true;
  o.current[id] = o.kept.emplace_back(text).c_str();
  return true;
}

}  // namespace kv
