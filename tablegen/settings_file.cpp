// The table generation settings file (".cct"): the heading line, then one
// "key~value" line per input and one line per scheduled gas switch. Depths,
// rates, the last stop and the max EAD are stored in metres whatever the
// display units, so that a file reads the same on a metric and an imperial page.

#include <cmath>
#include <limits>
#include <vector>

#include "base/preferences.h"
#include "base/prompt.h"
#include "base/status_log.h"
#include "base/strings.h"
#include "base/text.h"
#include "plan/file_store.h"
#include "plan/key_line.h"
#include "tablegen/table_generation.h"
#include "tablegen/units.h"

namespace kv {
namespace {

constexpr const char* kSettingsHeading = "Table Generation Settings";

enum ESettingsKey : int {
  kKeyDepthStart = 1,
  kKeyDepthFinish = 2,
  kKeyDepthStep = 3,
  kKeyDurationStart = 4,
  kKeyDurationFinish = 5,
  kKeyDurationStep = 6,
  kKeySurfacePressure = 10,
  kKeyGfLow = 11,
  kKeyGfHigh = 12,
  kKeyDescentRate = 13,
  kKeyAscentRate = 14,
  kKeyLastDecoStop = 15,
  kKeyGrouping = 16,
  kKeyMaxPpo2 = 20,
  kKeyMaxEad = 21,
  kKeyGasSwitch = 30,
};

// A value that rounds to zero is written without a minus sign, so that a
// file read and written again does not change.
double Unsigned0(double value) { return std::fabs(value) < 0.005 ? 0.0 : value; }

std::string NumberLine(int key, double value) { return Format("%03d~%0.2f\n", key, Unsigned0(value)); }

std::string SwitchLine(const char* label, const CGasSwitch& s) {
  return Format("%03d~%s~%0.2f~%0.2f~%0.2f~%d~%0.2f~%d\n", kKeyGasSwitch, label, Unsigned0(s.m_depth),
                Unsigned0(s.m_oxygen), Unsigned0(s.m_helium), s.m_closedCircuit ? 1 : 0, Unsigned0(s.m_setpoint), 1);
}

// Durations are whole minutes; a fraction in the file is cut off.
int WholeMinutes(double value) {
  const double t = std::trunc(value);
  if (t >= std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  if (t <= std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  return static_cast<int>(t);
}

}  // namespace

bool CTableGeneration::SaveSettingsFile(const std::string& path) const {
  const SDisplayUnits units{m_imperial};
  const STableGenerationInputs& in = m_inputs;
  std::string out = std::string(kSettingsHeading) + "\n";
  out += NumberLine(kKeyDepthStart, units.Metres(in.depthStart));
  out += NumberLine(kKeyDepthFinish, units.Metres(in.depthFinish));
  out += NumberLine(kKeyDepthStep, units.Metres(in.depthStep));
  out += NumberLine(kKeyDurationStart, in.durationStart);
  out += NumberLine(kKeyDurationFinish, in.durationFinish);
  out += NumberLine(kKeyDurationStep, in.durationStep);
  out += NumberLine(kKeySurfacePressure, in.surfacePressure);
  out += NumberLine(kKeyGfLow, in.gfLow);
  out += NumberLine(kKeyGfHigh, in.gfHigh);
  out += NumberLine(kKeyDescentRate, units.Metres(in.descentRate));
  out += NumberLine(kKeyAscentRate, units.Metres(in.ascentRate));
  out += NumberLine(kKeyLastDecoStop, units.Metres(in.lastDecoStop));
  out += Format("%03d~%d\n", kKeyGrouping, in.grouping == kGroupByTime ? 1 : 0);
  out += NumberLine(kKeyMaxPpo2, in.maxPpo2);
  out += NumberLine(kKeyMaxEad, units.Metres(in.maxEad));
  for (int i = 0; i < m_descent.Count(); ++i) out += SwitchLine("Travel", m_descent.At(i));
  for (int i = 0; i < m_ascent.Count(); ++i) out += SwitchLine("Deco", m_ascent.At(i));
  if (!FileStore().Write(path, out)) {
    UserPrompt().ShowMessage(LoadString(kMsgUnableToWriteDataFile), EIcon::Exclamation);
    return false;
  }
  return true;
}

bool CTableGeneration::LoadSettingsFile(const std::string& path) {
  std::string content;
  if (!FileStore().Read(path, content)) {
    UserPrompt().ShowMessage(LoadString(kMsgUnableToOpenDataFile), EIcon::Exclamation);
    StatusLog().LogMessage("Unable to open table generation settings file %s", path.c_str());
    return false;
  }
  const std::vector<std::string> lines = SplitLines(content);
  if (lines.empty() || lines.front() != kSettingsHeading) {
    UserPrompt().ShowMessage(LoadString(1620), EIcon::Exclamation);
    StatusLog().LogMessage("Invalid table generation settings file %s", path.c_str());
    return false;
  }

  const SDisplayUnits units{m_imperial};
  STableGenerationInputs& in = m_inputs;
  const bool wasQuiet = m_quiet;
  SetQuiet(true);
  m_descent.ClearAll();
  m_ascent.ClearAll();
  for (std::size_t i = 1; i < lines.size(); ++i) {
    if (lines[i].empty()) continue;
    const CKeyLine line(lines[i]);
    if (line.Count() < 2) continue;
    const double value = line.Double(2);
    switch (line.Key()) {
      case kKeyDepthStart: in.depthStart = units.Shown(value); break;
      case kKeyDepthFinish: in.depthFinish = units.Shown(value); break;
      case kKeyDepthStep: in.depthStep = units.Shown(value); break;
      case kKeyDurationStart: in.durationStart = WholeMinutes(value); break;
      case kKeyDurationFinish: in.durationFinish = WholeMinutes(value); break;
      case kKeyDurationStep: in.durationStep = WholeMinutes(value); break;
      case kKeySurfacePressure: in.surfacePressure = value; break;
      case kKeyGfLow: in.gfLow = value; break;
      case kKeyGfHigh: in.gfHigh = value; break;
      case kKeyDescentRate: in.descentRate = units.Shown(value); break;
      case kKeyAscentRate: in.ascentRate = units.Shown(value); break;
      case kKeyLastDecoStop: in.lastDecoStop = units.Shown(value); break;
      case kKeyGrouping: in.grouping = line.Int(2) != 0 ? kGroupByTime : kGroupByDepth; break;
      case kKeyMaxPpo2: in.maxPpo2 = value; break;
      case kKeyMaxEad: in.maxEad = units.Shown(value); break;
      case kKeyGasSwitch: {
        if (line.Count() < 8) break;
        CGasSwitch s;
        s.Set(line.Double(3), line.Double(4), line.Double(5), line.Flag(6), line.Double(7), line.Flag(8));
        // The add rules apply: at most 12, no repeated depth, no duplicates.
        if (line.Field(2) == "Travel")
          m_descent.Add(s);
        else if (line.Field(2) == "Deco")
          m_ascent.Add(s);
        break;
      }
      default:
        break;
    }
  }
  SetQuiet(wasQuiet);
  Refresh();
  return true;
}

bool CTableGeneration::SaveSettingsFileAs(const std::string& path) const {
  StatusLog().LogMessage("User saved table generation settings as %s", path.c_str());
  const std::size_t slash = path.find_last_of("/\\");
  if (slash != std::string::npos) Prefs().SetText(EPref::DefaultSettingsDirectory, path.substr(0, slash));
  return SaveSettingsFile(path);
}

bool CTableGeneration::OpenSettingsFile(const std::string& path) {
  StatusLog().LogMessage("User selected table generation settings file %s", path.c_str());
  return LoadSettingsFile(path);
}

}  // namespace kv
