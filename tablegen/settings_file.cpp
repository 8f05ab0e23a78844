// The table generation settings file (".cct"): the heading line, then one
// "key~value" line per input and one line per scheduled gas switch. Depths,
// rates, the last stop and the max EAD are stored in metres whatever the
// display units, so that a file reads the same on a metric and an imperial page.

#include <cmath>
#include <limits>
#include <map>
#include <string_view>
#include <vector>

#include "base/prompt.h"
#include "base/status_log.h"
#include "base/strings.h"
#include "base/text.h"
#include "base/value_ranges.h"
#include "plan/file_store.h"
#include "plan/key_line.h"
#include "tablegen/table_generation.h"

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

// ---- Checking a file before it is applied ------------------------------------------
//
// A file is read only when every line of it would be applied as written, as
// the plan files are: a number that is not one, a value no field of the page
// can hold or a file cut short would otherwise give tables that look right
// but are not those of the settings.

struct SNumberKey {
  EValue value;
  bool integer;
  const char* name;
};

const SNumberKey* NumberKey(int key) {
  static const std::map<int, SNumberKey> keys = {
      {kKeyDepthStart, {EValue::Depth, false, "start depth"}},
      {kKeyDepthFinish, {EValue::Depth, false, "finish depth"}},
      {kKeyDepthStep, {EValue::Depth, false, "depth step"}},
      {kKeyDurationStart, {EValue::TableDuration, false, "start duration"}},
      {kKeyDurationFinish, {EValue::TableDuration, false, "finish duration"}},
      {kKeyDurationStep, {EValue::TableDuration, false, "duration step"}},
      {kKeySurfacePressure, {EValue::SurfacePressure, false, "surface pressure"}},
      {kKeyGfLow, {EValue::GradientFactor, false, "gradient factor low"}},
      {kKeyGfHigh, {EValue::GradientFactor, false, "gradient factor high"}},
      {kKeyDescentRate, {EValue::DescentRate, false, "descent rate"}},
      {kKeyAscentRate, {EValue::AscentRate, false, "ascent rate"}},
      {kKeyLastDecoStop, {EValue::LastDecoStop, false, "last deco stop"}},
      {kKeyMaxPpo2, {EValue::MaxPpo2, false, "max PPO2"}},
      {kKeyMaxEad, {EValue::MaxEad, false, "max EAD"}},
  };
  auto it = keys.find(key);
  return it == keys.end() ? nullptr : &it->second;
}

bool IsScheduleLabel(std::string_view label) { return label == "Travel" || label == "Deco"; }

std::string CheckSwitchLine(const CKeyLine& line) {
  const std::string what = Format("key %03d (%s gas switch)", kKeyGasSwitch, std::string(line.Field(2)).c_str());
  if (line.Count() < 8) return what + Format(" has %d of its 8 fields", line.Count());
  auto field = [&](int n, const char* name) { return what + Format(", field %d (%s)", n, name); };
  const SValueRange& flag = ValueRange(EValue::Flag);
  std::string why = CheckKeyField(line, 3, false, ValueRange(EValue::Depth), field(3, "depth"));
  double unused = 0.0;
  if (why.empty()) ReadKeyField(line, 4, false, field(4, "oxygen"), unused, why);
  if (why.empty()) ReadKeyField(line, 5, false, field(5, "helium"), unused, why);
  if (why.empty()) why = CheckKeyField(line, 6, true, flag, field(6, "closed circuit"));
  if (why.empty()) ReadKeyField(line, 7, false, field(7, "setpoint"), unused, why);
  if (why.empty()) why = CheckKeyField(line, 8, true, flag, field(8, "in use"));
  // Only switches in use are written; one that is not would be used all the same.
  if (why.empty() && line.Int(8) != 1) why = field(8, "in use") + ": 0, but a switch of the file is always in use";
  if (why.empty()) why = CheckGasFields(line, 4, 5, line.Int(6) == 1, 7, what, field(7, "setpoint"));
  return why;
}

// An empty text when the line may be applied, else why not.
std::string CheckSettingsLine(const CKeyLine& line, int key) {
  if (key == kKeyGasSwitch) {
    if (line.Count() < 2) return Format("key %03d (gas switch) has no schedule", key);
    // A label other than "Travel" or "Deco" is skipped, so it cannot make the file invalid.
    return IsScheduleLabel(line.Field(2)) ? CheckSwitchLine(line) : std::string();
  }
  const SNumberKey* number = NumberKey(key);
  if (!number && key != kKeyGrouping) return {};  // a key this program does not know is skipped
  const std::string what = Format("key %03d (%s)", key, number ? number->name : "grouping");
  if (line.Count() < 2) return what + " has no value";
  if (!number) {
    double grouping = 0.0;
    std::string why;
    ReadKeyField(line, 2, true, what, grouping, why);
    return why;
  }
  return CheckKeyField(line, 2, number->integer, ValueRange(number->value), what);
}

// The first line that may not be applied (1-based) and why, or line 0.
struct SFileProblem {
  int line = 0;
  std::string why;
};

// The schedules' own rules, applied to the file's switches in file order on
// schedules of their own: a switch they would refuse or drop (a 13th, a
// second at one depth, one breathing as the switch beside it) would leave
// the page with other switches than the file names.
class CScheduleCheck {
public:
  std::string Add(const CKeyLine& line) {
    const bool travel = line.Field(2) == "Travel";
    CGasSwitchSchedule& schedule = travel ? m_descent : m_ascent;
    const std::string what = Format("key %03d (%s gas switch)", kKeyGasSwitch, travel ? "Travel" : "Deco");
    CGasSwitch s;
    s.Set(line.Double(3), line.Double(4), line.Double(5), line.Flag(6), line.Double(7), true);
    if (schedule.Count() >= kMaxGasSwitches)
      return what + Format(" is the %s schedule's 13th: it holds at most %d", travel ? "Travel" : "Deco",
                           kMaxGasSwitches);
    for (int i = 0; i < schedule.Count(); ++i)
      if (schedule.At(i).m_depth == s.m_depth)
        return what + Format(" is a second switch at %0.2f m", s.m_depth);
    const int before = schedule.Count();
    schedule.Add(s);
    if (schedule.Count() == before)
      return what + Format(" at %0.2f m breathes the same as the switch next to it in depth: one of them would be "
                           "dropped",
                           s.m_depth);
    return {};
  }

private:
  CGasSwitchSchedule m_descent = Quiet(true);
  CGasSwitchSchedule m_ascent = Quiet(false);
  static CGasSwitchSchedule Quiet(bool descent) {
    CGasSwitchSchedule schedule(descent);
    schedule.SetQuiet(true);
    return schedule;
  }
};

SFileProblem CheckSettingsContent(std::string_view content, const std::vector<std::string>& lines) {
  if (lines.empty()) return {1, "the file is empty"};
  if (lines.front() != kSettingsHeading)
    return {1, Format("the first line is %s, not \"%s\"", QuotedText(lines.front()).c_str(), kSettingsHeading)};
  // Every line the program writes ends with its line end: a last line without
  // one is what a file cut short looks like.
  if (content.back() != '\n')
    return {static_cast<int>(lines.size()), "the last line has no line end: the file seems cut short"};
  CScheduleCheck schedules;
  std::map<int, int> valueLines;  // the line of each value key so far
  for (std::size_t i = 1; i < lines.size(); ++i) {
    if (lines[i].empty()) continue;
    const CKeyLine line(lines[i]);
    const int lineNumber = static_cast<int>(i) + 1;
    int key = 0;
    std::string why = ReadWholeInt(line.Field(1), key) ? CheckSettingsLine(line, key)
                                                       : QuotedText(lines[i]) + " is not a key line";
    if (why.empty() && key == kKeyGasSwitch && IsScheduleLabel(line.Field(2))) why = schedules.Add(line);
    if (why.empty() && (NumberKey(key) || key == kKeyGrouping)) {
      // Of two values for one input only the last would count.
      const auto [at, first] = valueLines.emplace(key, lineNumber);
      if (!first) why = Format("key %03d is given again (first on line %d)", key, at->second);
    }
    if (!why.empty()) return {lineNumber, why};
  }
  return {};
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
  const STableGenerationInputs& in = m_inputs;
  std::string out = std::string(kSettingsHeading) + "\n";
  out += NumberLine(kKeyDepthStart, in.depthStart);
  out += NumberLine(kKeyDepthFinish, in.depthFinish);
  out += NumberLine(kKeyDepthStep, in.depthStep);
  out += NumberLine(kKeyDurationStart, in.durationStart);
  out += NumberLine(kKeyDurationFinish, in.durationFinish);
  out += NumberLine(kKeyDurationStep, in.durationStep);
  out += NumberLine(kKeySurfacePressure, in.surfacePressure);
  out += NumberLine(kKeyGfLow, in.gfLow);
  out += NumberLine(kKeyGfHigh, in.gfHigh);
  out += NumberLine(kKeyDescentRate, in.descentRate);
  out += NumberLine(kKeyAscentRate, in.ascentRate);
  out += NumberLine(kKeyLastDecoStop, in.lastDecoStop);
  out += Format("%03d~%d\n", kKeyGrouping, in.grouping == kGroupByTime ? 1 : 0);
  out += NumberLine(kKeyMaxPpo2, in.maxPpo2);
  out += NumberLine(kKeyMaxEad, in.maxEad);
  for (int i = 0; i < m_descent.Count(); ++i) out += SwitchLine("Travel", m_descent.At(i));
  for (int i = 0; i < m_ascent.Count(); ++i) out += SwitchLine("Deco", m_ascent.At(i));
  if (!FileStore().Write(path, out)) {
    UserPrompt().ShowMessage(FileMessage(LoadString(kMsgUnableToWriteDataFile), path, WhyUnwritable(path)),
                             EIcon::Exclamation);
    return false;
  }
  return true;
}

bool CTableGeneration::LoadSettingsFile(const std::string& path) {
  m_fileError.clear();
  std::string content;
  if (!FileStore().Read(path, content)) {
    m_fileError = WhyUnreadable(path);
    UserPrompt().ShowMessage(FileMessage(LoadString(kMsgUnableToOpenDataFile), path, m_fileError),
                             EIcon::Exclamation);
    StatusLog().LogMessage("Unable to open table generation settings file %s", path.c_str());
    return false;
  }
  const std::string_view text = SkipByteOrderMark(content);
  const std::vector<std::string> lines = SplitLines(text);
  const SFileProblem problem = CheckSettingsContent(text, lines);
  if (problem.line != 0) {
    m_fileError = Format("line %d: %s", problem.line, problem.why.c_str());
    UserPrompt().ShowMessage(FileMessage(LoadString(1620), path, m_fileError), EIcon::Exclamation);
    StatusLog().LogMessage("Invalid table generation settings file %s", path.c_str());
    StatusLog().LogMessage("%s", m_fileError.c_str());
    return false;
  }

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
      case kKeyDepthStart: in.depthStart = value; break;
      case kKeyDepthFinish: in.depthFinish = value; break;
      case kKeyDepthStep: in.depthStep = value; break;
      case kKeyDurationStart: in.durationStart = WholeMinutes(value); break;
      case kKeyDurationFinish: in.durationFinish = WholeMinutes(value); break;
      case kKeyDurationStep: in.durationStep = WholeMinutes(value); break;
      case kKeySurfacePressure: in.surfacePressure = value; break;
      case kKeyGfLow: in.gfLow = value; break;
      case kKeyGfHigh: in.gfHigh = value; break;
      case kKeyDescentRate: in.descentRate = value; break;
      case kKeyAscentRate: in.ascentRate = value; break;
      case kKeyLastDecoStop: in.lastDecoStop = value; break;
      case kKeyGrouping: in.grouping = value != 0.0 ? kGroupByTime : kGroupByDepth; break;
      case kKeyMaxPpo2: in.maxPpo2 = value; break;
      case kKeyMaxEad: in.maxEad = value; break;
      case kKeyGasSwitch: {
        if (line.Count() < 8) break;
        CGasSwitch s;
        s.Set(line.Double(3), line.Double(4), line.Double(5), line.Flag(6), line.Double(7), line.Flag(8));
        // The check above made sure that the add rules keep every switch.
        // Any other label ("Bailout") is skipped.
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

bool CTableGeneration::OpenSettingsFile(const std::string& path) {
  StatusLog().LogMessage("User selected table generation settings file %s", path.c_str());
  return LoadSettingsFile(path);
}

}  // namespace kv
