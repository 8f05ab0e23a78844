// Plan files (".ccp") and dive files (".ccd"): line-oriented text of numbered
// keys. One writer produces the dive section of both; one reader accepts it.

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "base/prompt.h"
#include "base/status_log.h"
#include "base/strings.h"
#include "base/text.h"
#include "base/value_ranges.h"
#include "plan/file_store.h"
#include "plan/key_line.h"
#include "plan/plan_group.h"

namespace kv {
namespace {

constexpr const char* kPlanHeader = "Dive Plan";
constexpr const char* kDiveHeader = "Dive";

enum EKey : int {
  kKeySurfaceIntervalAlgorithm = 1,
  kKeyAlgorithm = 2,
  kKeyCylinderWorkingPressure = 3,
  kKeyGasReserve = 4,
  kKeyName = 20,
  kKeySurfacePressure = 21,
  kKeyGfLow = 22,
  kKeyGfHigh = 23,
  kKeySacRate = 24,
  kKeyMaxPpo2 = 25,
  kKeyMaxEad = 26,
  kKeySurfaceInterval = 27,
  kKeyDescentRate = 28,
  kKeyAscentRate = 29,
  kKeyLastDecoStop = 30,
  kKeyBailoutGasSwitches = 40,
  kKeyBailoutGfLow = 41,
  kKeyBailoutGfHigh = 42,
  kKeyBailoutSacRate = 43,
  kKeyBailoutMaxPpo2 = 44,
  kKeyBailoutMaxEad = 45,
  kKeyBailoutMaxCns = 46,
  kKeyBailoutDescentRate = 47,
  kKeyBailoutAscentRate = 48,
  kKeyBailoutLastDecoStop = 49,
  kKeyBailoutUseGasList = 50,
  kKeyBailoutIgnoreIcd = 51,
  kKeyBailoutIgnoreCns = 52,
  kKeyBailoutSecond = 55,
  kKeyBailoutDepth = 56,
  kKeyBailoutPlanValid = 57,
  kKeyBailoutRemainder = 58,
  kKeyBailoutGasList = 60,
  kKeyUserPoint = 100,
  kKeyBailoutPoint = 110,
};

// ---- Writing ---------------------------------------------------------------------

std::string PointLine(int key, const CPlanPoint& p) {
  const int bailout = key == kKeyBailoutPoint ? (p.m_bailout ? 1 : 0) : 0;
  auto round0 = [](double v) { return v > -0.005 && v < 0.005 ? 0.0 : v; };
  return Format("%03d~%d~%0.2f~%d~%0.2f~%0.2f~%0.2f~%d~%d", key, p.m_duration, round0(p.m_depthPressure),
                p.m_closedCircuit ? 1 : 0, round0(p.m_oxygen), round0(p.m_helium), round0(p.m_setpoint),
                p.m_noClearSurface ? 1 : 0, bailout) +
         kLineEnd;
}

std::string DiveSection(const CDivePlan& dive) {
  const SDiveSettings& s = dive.Settings();
  const SBailoutSettings& b = dive.BailoutSettings();
  std::string out = std::string(kDiveHeader) + kLineEnd;
  out += KeyLineText(kKeyName, dive.GetName());
  out += KeyLineDouble(kKeySurfacePressure, s.surfacePressure);
  out += KeyLineDouble(kKeyGfLow, s.gfLow);
  out += KeyLineDouble(kKeyGfHigh, s.gfHigh);
  out += KeyLineDouble(kKeySacRate, s.sacRate);
  out += KeyLineDouble(kKeyMaxPpo2, s.maxPpo2);
  out += KeyLineDouble(kKeyMaxEad, s.maxEad);
  out += KeyLineInt(kKeySurfaceInterval, s.surfaceInterval);
  out += KeyLineDouble(kKeyDescentRate, s.descentRate);
  out += KeyLineDouble(kKeyAscentRate, s.ascentRate);
  out += KeyLineDouble(kKeyLastDecoStop, s.lastDecoStop);
  out += KeyLineInt(kKeyBailoutGasSwitches, b.noOfGasSwitches);
  out += KeyLineDouble(kKeyBailoutGfLow, b.gfLow);
  out += KeyLineDouble(kKeyBailoutGfHigh, b.gfHigh);
  out += KeyLineDouble(kKeyBailoutSacRate, b.sacRate);
  out += KeyLineDouble(kKeyBailoutMaxPpo2, b.maxPpo2);
  out += KeyLineDouble(kKeyBailoutMaxEad, b.maxEad);
  out += KeyLineDouble(kKeyBailoutMaxCns, b.maxCns);
  out += KeyLineDouble(kKeyBailoutDescentRate, b.descentRate);
  out += KeyLineDouble(kKeyBailoutAscentRate, b.ascentRate);
  out += KeyLineDouble(kKeyBailoutLastDecoStop, b.lastDecoStop);
  out += KeyLineInt(kKeyBailoutUseGasList, b.useBailoutGasList ? 1 : 0);
  out += KeyLineInt(kKeyBailoutIgnoreIcd, b.ignoreIcd ? 1 : 0);
  out += KeyLineInt(kKeyBailoutIgnoreCns, b.ignoreCns ? 1 : 0);
  out += KeyLineInt(kKeyBailoutSecond, dive.Bailout().time);
  out += KeyLineDouble(kKeyBailoutDepth, dive.Bailout().depth);
  out += KeyLineInt(kKeyBailoutPlanValid, dive.IsBailoutPlanValid() ? 1 : 0);
  out += KeyLineInt(kKeyBailoutRemainder, dive.Bailout().remainder);
  out += KeyLineText(kKeyBailoutGasList, dive.GetBailoutGasList());
  for (const CPlanPoint& p : dive.UserPoints()) out += PointLine(kKeyUserPoint, p);
  for (const CPlanPoint& p : dive.BailoutPlanPoints()) out += PointLine(kKeyBailoutPoint, p);
  return out;
}

// ---- Checking a file before it is applied ------------------------------------------
//
// A file is read only when every line of it would be applied as written. A
// number that is not a number, a value that no page of the program can enter,
// a point line without its fields or a file cut short would otherwise give a
// plan that looks calculated but is not the diver's. The ranges are those of
// the pages and preferences (base/value_ranges.h).

// Keys written with "%d"; the other numeric keys are written with "%0.2f".
bool IsIntegerKey(int key) {
  switch (key) {
    case kKeySurfaceIntervalAlgorithm: case kKeyAlgorithm: case kKeySurfaceInterval: case kKeyBailoutGasSwitches:
    case kKeyBailoutUseGasList: case kKeyBailoutIgnoreIcd: case kKeyBailoutIgnoreCns: case kKeyBailoutSecond:
    case kKeyBailoutPlanValid: case kKeyBailoutRemainder:
      return true;
    default:
      return false;
  }
}

std::string CheckPoint(const CKeyLine& line, int key) {
  const bool bailoutPoint = key == kKeyBailoutPoint;
  const std::string what = Format("key %03d (%s)", key, bailoutPoint ? "bailout point" : "user point");
  if (line.Count() < 8) return what + Format(" has %d of its 9 fields", line.Count());
  auto field = [&](int n, const char* name) { return what + Format(", field %d (%s)", n, name); };
  const SValueRange& flag = ValueRange(EValue::Flag);
  std::string why = CheckKeyField(line, 2, true, ValueRange(EValue::PointDuration), field(2, "duration"));
  for (auto [n, name] : {std::pair{4, "closed circuit"}, std::pair{8, "no clear surface"}, std::pair{9, "bailout ascent"}})
    if (why.empty() && n <= line.Count()) why = CheckKeyField(line, n, true, flag, field(n, name));
  if (!why.empty()) return why;

  double depthPressure = 0.0, oxygen = 0.0, helium = 0.0, setpoint = 0.0;
  if (!ReadKeyField(line, 3, false, field(3, "depth"), depthPressure, why) ||
      !ReadKeyField(line, 5, false, field(5, "oxygen"), oxygen, why) ||
      !ReadKeyField(line, 6, false, field(6, "helium"), helium, why) ||
      !ReadKeyField(line, 7, false, field(7, "setpoint"), setpoint, why))
    return why;
  // The file holds the depth as mbar gauge, depth x 100.
  const SValueRange& depth = ValueRange(EValue::Depth);
  if (!depth.Accepts(depthPressure / 100.0))
    return field(3, "depth") + ": " + ShownField(line.Field(3)) + Format(" (%0.2f m) is outside ", depthPressure / 100.0) +
           depth.Text();
  // A bailout point whose gas the bailout planner is still to choose holds 0/0.
  const bool gasToChoose = bailoutPoint && oxygen == 0.0 && helium == 0.0;
  if (gasToChoose) return CheckSetpointField(line, 7, line.Int(4) == 1, field(7, "setpoint"));
  return CheckGasFields(line, 5, 6, line.Int(4) == 1, 7, what, field(7, "setpoint"));
}

// An empty text when the line may be applied, else why not.
std::string CheckLine(const CKeyLine& line, int key, bool planKeys) {
  const bool planKey = key >= kKeySurfaceIntervalAlgorithm && key <= kKeyGasReserve;
  // A dive file ignores the plan keys, so they cannot make it invalid.
  if (planKey && !planKeys) return {};
  if (key == kKeyUserPoint || key == kKeyBailoutPoint) return CheckPoint(line, key);
  const SPlanKeyRange* range = PlanKeyRange(key);
  const bool textKey = key == kKeyName || key == kKeyBailoutGasList;
  if (!range && !textKey) return {};  // a key this program does not know is skipped
  const std::string what = Format("key %03d (%s)", key, textKey ? (key == kKeyName ? "dive name" : "bailout gas list")
                                                                : range->name);
  if (line.Count() < 2) return what + " has no value";
  if (textKey) return {};
  return CheckKeyField(line, 2, IsIntegerKey(key), range->Range(), what);
}

// The first line that may not be applied (1-based) and why, or line 0.
struct SFileProblem {
  int line = 0;
  std::string why;
};

SFileProblem CheckContent(std::string_view content, const std::vector<std::string>& lines, bool plan) {
  const char* header = plan ? kPlanHeader : kDiveHeader;
  if (lines.empty()) return {1, "the file is empty"};
  if (lines.front() != header) return {1, Format("the first line is %s, not \"%s\"", QuotedText(lines.front()).c_str(), header)};
  // Every line the program writes ends with its line end: a last line without
  // one is what a file cut short looks like.
  if (content.back() != '\n')
    return {static_cast<int>(lines.size()), "the last line has no line end: the file seems cut short"};
  int dives = 0;
  int firstTooMany = 0;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::string& text = lines[i];
    if (text == kDiveHeader && plan && ++dives == CPlanGroup::kMaxDives + 1) firstTooMany = static_cast<int>(i) + 1;
    if (text.empty() || text == kDiveHeader) continue;
    CKeyLine line(text);
    int key = 0;
    std::string why;
    if (!ReadWholeInt(line.Field(1), key))
      why = QuotedText(text) + " is neither a \"Dive\" line nor a key line";
    else
      why = CheckLine(line, key, plan);
    if (!why.empty()) return {static_cast<int>(i) + 1, why};
  }
  // Loading the first 30 would let a later save drop the others from the
  // file without a word: nothing is loaded.
  if (firstTooMany != 0)
    return {firstTooMany, Format("the file holds %d dives; the program takes at most %d, so nothing was loaded", dives,
                                 CPlanGroup::kMaxDives)};
  return {};
}

// ---- Applying ----------------------------------------------------------------------

CPlanPoint ReadPoint(const CKeyLine& line) {
  CPlanPoint p;
  p.m_duration = line.Int(2);
  p.m_depthPressure = line.Double(3);
  p.m_closedCircuit = line.Flag(4);
  p.m_oxygen = line.Double(5);
  p.m_helium = line.Double(6);
  p.m_setpoint = line.Double(7);
  p.m_noClearSurface = line.Flag(8);
  p.m_bailout = line.Key() == kKeyBailoutPoint && line.Count() >= 9 && line.Flag(9);
  return p;
}

// Applies one key line of a dive section to the dive through its setters.
void ApplyDiveKey(CDivePlan& dive, const CKeyLine& line) {
  switch (line.Key()) {
    case kKeyName: dive.SetName(std::string(line.Field(2))); break;
    case kKeySurfacePressure: dive.SetSurfacePressure(line.Double(2)); break;
    case kKeyGfLow: dive.SetGfLow(line.Double(2)); break;
    case kKeyGfHigh: dive.SetGfHigh(line.Double(2)); break;
    case kKeySacRate: dive.SetSacRate(line.Double(2)); break;
    case kKeyMaxPpo2: dive.SetMaxPpo2(line.Double(2)); break;
    case kKeyMaxEad: dive.SetMaxEad(line.Double(2)); break;
    case kKeySurfaceInterval: dive.SetSurfaceInterval(line.Int(2)); break;
    case kKeyDescentRate: dive.SetDescentRate(line.Double(2)); break;
    case kKeyAscentRate: dive.SetAscentRate(line.Double(2)); break;
    case kKeyLastDecoStop: dive.SetLastDecoStop(line.Double(2)); break;
    case kKeyBailoutGasSwitches: dive.SetBailoutNoOfGasSwitches(line.Int(2)); break;
    case kKeyBailoutGfLow: dive.SetBailoutGfLow(line.Double(2)); break;
    case kKeyBailoutGfHigh: dive.SetBailoutGfHigh(line.Double(2)); break;
    case kKeyBailoutSacRate: dive.SetBailoutSacRate(line.Double(2)); break;
    case kKeyBailoutMaxPpo2: dive.SetBailoutMaxPpo2(line.Double(2)); break;
    case kKeyBailoutMaxEad: dive.SetBailoutMaxEad(line.Double(2)); break;
    case kKeyBailoutMaxCns: dive.SetBailoutMaxCns(line.Double(2)); break;
    case kKeyBailoutDescentRate: dive.SetBailoutDescentRate(line.Double(2)); break;
    case kKeyBailoutAscentRate: dive.SetBailoutAscentRate(line.Double(2)); break;
    case kKeyBailoutLastDecoStop: dive.SetBailoutLastDecoStop(line.Double(2)); break;
    case kKeyBailoutUseGasList: dive.SetBailoutUseGasList(line.Flag(2)); break;
    case kKeyBailoutIgnoreIcd: dive.SetBailoutIgnoreIcd(line.Flag(2)); break;
    case kKeyBailoutIgnoreCns: dive.SetBailoutIgnoreCns(line.Flag(2)); break;
    case kKeyBailoutSecond:
      dive.Bailout().time = line.Int(2);
      break;
    case kKeyBailoutDepth:
      dive.Bailout().depth = line.Double(2);
      break;
    case kKeyBailoutPlanValid: dive.SetBailoutPlanValid(line.Flag(2)); break;
    case kKeyBailoutRemainder:
      dive.Bailout().remainder = line.Int(2);
      break;
    case kKeyBailoutGasList: dive.SetBailoutGasList(std::string(line.Field(2))); break;
    case kKeyUserPoint:
      if (line.Count() >= 8) dive.AppendUserPoint(ReadPoint(line));
      break;
    case kKeyBailoutPoint:
      if (line.Count() >= 8) dive.AppendBailoutPoint(ReadPoint(line));
      break;
    default: break;
  }
}

bool IsDiveKey(int key) {
  return (key >= kKeyName && key <= kKeyBailoutGasList) || key == kKeyUserPoint || key == kKeyBailoutPoint;
}

}  // namespace

// ---- CPlanGroup file operations ----------------------------------------------------------

bool CPlanGroup::SavePlanGroup(const std::string& path) {
  std::string out = std::string(kPlanHeader) + kLineEnd;
  out += KeyLineInt(kKeySurfaceIntervalAlgorithm, m_surfaceIntervalAlgorithm);
  out += KeyLineInt(kKeyAlgorithm, m_algorithm);
  out += KeyLineDouble(kKeyCylinderWorkingPressure, m_cylinderWorkingPressure);
  out += KeyLineDouble(kKeyGasReserve, m_gasReserve);
  for (const SDiveEntry& e : m_dives)
    if (e.dive) out += DiveSection(*e.dive);
  if (!FileStore().Write(path, out)) {
    UserPrompt().ShowMessage(FileMessage(LoadString(kMsgUnableToWriteDataFile), path, WhyUnwritable(path)),
                             EIcon::Exclamation);
    return false;
  }
  m_filePath = path;
  ClearModified();
  return true;
}

bool CPlanGroup::ExportDive(const std::string& path, int index) {
  const CDivePlan* dive = GetDive(index);
  if (!dive) return false;
  if (!FileStore().Write(path, DiveSection(*dive))) {
    UserPrompt().ShowMessage(FileMessage(LoadString(kMsgUnableToWriteDataFile), path, WhyUnwritable(path)),
                             EIcon::Exclamation);
    return false;
  }
  return true;
}

bool CPlanGroup::LoadPlanGroup(const std::string& path) { return ReadFile(path, EReadMode::Plan); }

bool CPlanGroup::ImportDive(const std::string& path) { return ReadFile(path, EReadMode::Dive); }

bool CPlanGroup::ReadFile(const std::string& path, EReadMode mode) {
  CStatusLog& log = StatusLog();
  const bool plan = mode == EReadMode::Plan;
  const char* name = plan ? "CPlanGroup::LoadPlanGroup()" : "CPlanGroup::ImportDive()";
  auto finish = [&](const char* how) {
    m_loadInProgress = false;
    log.LogAtLevel(std::string(name) + " " + how + " - m_loadInProgress set False", kLogDetail);
  };

  log.LogAtLevel(std::string(name) + " started", kLogDetail);
  m_loadInProgress = true;
  log.LogAtLevel(std::string(name) + " Initial - m_loadInProgress set True", kLogDetail);
  if (plan) {
    // A failed load leaves this one-dive plan behind.
    ClearPlanGroup();
    ResetPlanGroup();
  }

  std::vector<std::string> lines;
  if (const char* failure = ReadCheckedLines(path, plan, lines)) {
    finish(failure);
    return false;
  }

  CDivePlan* current = nullptr;
  if (plan) {
    m_filePath = path;
  } else {
    if (!AddDivePlan()) {
      m_fileError = Format("the plan already holds %d dives", kMaxDives);
      UserPrompt().ShowMessage(FileMessage(Format(LoadString(1624), kMaxDives), path, std::string()),
                               EIcon::Exclamation);
      finish("Failed to add dive plan");
      return false;
    }
    current = GetDive(GetDiveCount() - 1);
  }
  if (!ApplyFileLines(lines, plan, current)) {
    finish("Failed to add dive plan");
    return false;
  }

  log.LogAtLevelF(kLogDetail, "File %s loaded OK", path.c_str());
  finish("Finished");
  Post({EPlanNotification::PlanGroupLoaded, plan ? 0 : GetDiveCount() - 1, 0});
  if (plan) ClearModified();
  return true;
}

const char* CPlanGroup::ReadCheckedLines(const std::string& path, bool plan, std::vector<std::string>& lines) {
  CStatusLog& log = StatusLog();
  m_fileError.clear();
  std::string content;
  if (!FileStore().Read(path, content)) {
    m_fileError = WhyUnreadable(path);
    UserPrompt().ShowMessage(FileMessage(LoadString(kMsgUnableToOpenDataFile), path, m_fileError),
                             EIcon::Exclamation);
    log.LogMessage("Unable to open data file %s", path.c_str());
    return "Unable to open file";
  }
  log.LogAtLevel("File opened OK", kLogDetail);

  const std::string_view text = SkipByteOrderMark(content);
  lines = SplitLines(text);
  const SFileProblem problem = CheckContent(text, lines, plan);
  if (problem.line != 0) {
    m_fileError = Format("line %d: %s", problem.line, problem.why.c_str());
    UserPrompt().ShowMessage(FileMessage(LoadString(plan ? 1622 : 1621), path, m_fileError), EIcon::Exclamation);
    log.LogMessage("Invalid dive plan file %s", path.c_str());
    log.LogMessage("%s", m_fileError.c_str());
    return "Invalid file contents";
  }
  return nullptr;
}

bool CPlanGroup::ApplyFileLines(const std::vector<std::string>& lines, bool plan, CDivePlan* current) {
  int sections = 0;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::string& text = lines[i];
    if (text.empty()) continue;
    if (text == kDiveHeader) {
      if (!plan) continue;
      if (++sections == 1) {
        current = GetDive(0);
        current->ClearResults();
      } else if (AddDivePlan()) {
        current = GetDive(GetDiveCount() - 1);
      } else {
        ClearPlanGroup();
        m_fileError = Format("line %d: a plan holds at most %d dives", static_cast<int>(i) + 1, kMaxDives);
        return false;
      }
      continue;
    }
    CKeyLine line(text);
    if (line.Count() < 2) continue;
    const int key = line.Key();
    if (plan && key >= kKeySurfaceIntervalAlgorithm && key <= kKeyGasReserve) {
      switch (key) {
        case kKeySurfaceIntervalAlgorithm: m_surfaceIntervalAlgorithm = line.Int(2); break;
        case kKeyAlgorithm: m_algorithm = line.Int(2); break;
        case kKeyCylinderWorkingPressure: m_cylinderWorkingPressure = line.Double(2); break;
        default: m_gasReserve = line.Double(2); break;
      }
    } else if (current && IsDiveKey(key)) {
      ApplyDiveKey(*current, line);
    }
  }
  return true;
}

}  // namespace kv
