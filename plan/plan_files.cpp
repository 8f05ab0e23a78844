// Plan files (".ccp") and dive files (".ccd"): line-oriented text of numbered
// keys. One writer produces the dive section of both; one reader accepts it.

#include <climits>
#include <string>
#include <string_view>
#include <vector>

#include "base/prompt.h"
#include "base/status_log.h"
#include "base/strings.h"
#include "base/text.h"
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
  out += KeyLineInt(kKeyBailoutSecond, dive.m_bailoutTime);
  out += KeyLineDouble(kKeyBailoutDepth, dive.m_bailoutDepth);
  out += KeyLineInt(kKeyBailoutPlanValid, dive.IsBailoutPlanValid() ? 1 : 0);
  out += KeyLineInt(kKeyBailoutRemainder, dive.m_bailoutRemainder);
  out += KeyLineText(kKeyBailoutGasList, dive.GetBailoutGasList());
  for (const CPlanPoint& p : dive.UserPoints()) out += PointLine(kKeyUserPoint, p);
  for (const CPlanPoint& p : dive.BailoutPlanPoints()) out += PointLine(kKeyBailoutPoint, p);
  return out;
}

// ---- Plausibility ----------------------------------------------------------------
//
// The files say nothing about ranges, but a plan is only as good as its
// numbers: a value that no entry field can produce and that the calculation
// cannot meaningfully use (a negative time, a depth of kilometres, an unknown
// algorithm) makes the whole file invalid rather than giving a plan that
// looks calculated but is not the diver's.

constexpr double kMaxSettingValue = 1.0e6;
constexpr int kMaxRunTime = 86400;             // s, the 24-hour limit of any plan
constexpr double kMaxDepthPressure = 100000.0;  // mbar gauge, 1000 m
constexpr double kMaxDepthMetres = kMaxDepthPressure / 100.0;
constexpr double kMaxSetpoint = 10.0;           // bar

bool InRange(double v, double lo, double hi) { return v >= lo && v <= hi; }

// An empty text when the line may be applied, else why not.
std::string CheckLine(const CKeyLine& line, bool planKeys) {
  const int key = line.Key();
  auto bad = [&](const char* what) { return Format("key %03d: %s out of range", key, what); };
  switch (key) {
    case kKeySurfaceIntervalAlgorithm:
    case kKeyAlgorithm:
      if (planKeys && !InRange(line.Int(2), 0, 1)) return bad("algorithm");
      return {};
    case kKeyCylinderWorkingPressure:
    case kKeyGasReserve:
      if (planKeys && !InRange(line.Double(2), 0.0, kMaxSettingValue)) return bad("value");
      return {};
    case kKeySurfacePressure: case kKeyGfLow: case kKeyGfHigh: case kKeySacRate: case kKeyMaxPpo2:
    case kKeyMaxEad: case kKeyDescentRate: case kKeyAscentRate: case kKeyLastDecoStop:
    case kKeyBailoutGfLow: case kKeyBailoutGfHigh: case kKeyBailoutSacRate: case kKeyBailoutMaxPpo2:
    case kKeyBailoutMaxEad: case kKeyBailoutMaxCns: case kKeyBailoutDescentRate: case kKeyBailoutAscentRate:
    case kKeyBailoutLastDecoStop:
      if (!InRange(line.Double(2), 0.0, kMaxSettingValue)) return bad("value");
      return {};
    case kKeySurfaceInterval:
      if (line.Int(2) < 0) return bad("surface interval");
      return {};
    case kKeyBailoutGasSwitches:
      if (!InRange(line.Int(2), 0, kMaxGasSwitches)) return bad("number of gas switches");
      return {};
    case kKeyBailoutSecond:
      if (!InRange(line.Int(2), 0, kMaxRunTime + 1)) return bad("bailout second");
      return {};
    case kKeyBailoutDepth:
      if (!InRange(line.Double(2), 0.0, kMaxDepthMetres)) return bad("bailout depth");
      return {};
    case kKeyBailoutRemainder:
      if (!InRange(line.Int(2), -1, kMaxRunTime)) return bad("bailout remainder");
      return {};
    case kKeyUserPoint:
    case kKeyBailoutPoint:
      if (line.Count() < 8) return {};
      if (!InRange(line.Int(2), 0, kMaxRunTime)) return bad("duration");
      if (!InRange(line.Double(3), -kMaxDepthPressure, kMaxDepthPressure)) return bad("depth");
      if (!InRange(line.Double(5), 0.0, 100.0)) return bad("oxygen");
      if (!InRange(line.Double(6), 0.0, 100.0)) return bad("helium");
      if (!InRange(line.Double(7), 0.0, kMaxSetpoint)) return bad("setpoint");
      return {};
    default:
      return {};
  }
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
    case kKeyBailoutSecond: dive.m_bailoutTime = line.Int(2); break;
    case kKeyBailoutDepth: dive.m_bailoutDepth = line.Double(2); break;
    case kKeyBailoutPlanValid: dive.SetBailoutPlanValid(line.Flag(2)); break;
    case kKeyBailoutRemainder: dive.m_bailoutRemainder = line.Int(2); break;
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

// The first implausible line (1-based) and why, or 0.
int FindImplausibleLine(const std::vector<std::string>& lines, bool planKeys, std::string& why) {
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::string& text = lines[i];
    if (text.empty() || text == kDiveHeader) continue;
    CKeyLine line(text);
    if (line.Count() < 2) continue;
    why = CheckLine(line, planKeys);
    if (!why.empty()) return static_cast<int>(i) + 1;
  }
  return 0;
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
    UserPrompt().ShowMessage(LoadString(1240), EIcon::Exclamation);
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
    UserPrompt().ShowMessage(LoadString(1240), EIcon::Exclamation);
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

  std::string content;
  if (!FileStore().Read(path, content)) {
    UserPrompt().ShowMessage(LoadString(1228), EIcon::Exclamation);
    log.LogMessage("Unable to open data file %s", path.c_str());
    finish("Unable to open file");
    return false;
  }
  log.LogAtLevel("File opened OK", kLogDetail);

  const std::vector<std::string> lines = SplitLines(content);
  content.clear();
  content.shrink_to_fit();
  const char* header = plan ? kPlanHeader : kDiveHeader;
  std::string why;
  const bool headerOk = !lines.empty() && lines.front() == header;
  const int badLine = headerOk ? FindImplausibleLine(lines, plan, why) : 0;
  if (!headerOk || badLine != 0) {
    UserPrompt().ShowMessage(LoadString(plan ? 1622 : 1621), EIcon::Exclamation);
    log.LogMessage("Invalid dive plan file %s", path.c_str());
    if (badLine != 0) log.LogMessage("Line %d, %s", badLine, why.c_str());
    finish("Invalid file contents");
    return false;
  }

  CDivePlan* current = nullptr;
  if (plan) {
    m_filePath = path;
  } else {
    if (!AddDivePlan()) {
      finish("Failed to add dive plan");
      return false;
    }
    current = GetDive(GetDiveCount() - 1);
  }

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
        finish("Failed to add dive plan");
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

  log.LogAtLevelF(kLogDetail, "File %s loaded OK", path.c_str());
  finish("Finished");
  Post({EPlanNotification::PlanGroupLoaded, plan ? 0 : GetDiveCount() - 1, 0});
  if (plan) ClearModified();
  return true;
}

}  // namespace kv
