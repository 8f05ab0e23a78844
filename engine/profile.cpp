// The user's points (and the bailout plan points in bailout mode), their
// editing behind the entry check, and the plan-plus points: the targets the
// calculation walks.

#include "base/status_log.h"
#include "base/text.h"
#include "base/units.h"
#include "engine/dive_plan.h"

namespace kv {
namespace {

std::string Mode(const CPlanPoint& p) { return p.m_closedCircuit ? "CC" : "OC"; }

std::string PointLine(const char* prefix, const CPlanPoint& p) {
  std::string s = Format("%s - Depth %6.2f, Duration %5d, %s, Gas %s, PPO2 %0.2f", prefix, p.Depth(), p.m_duration,
                         Mode(p).c_str(), GasName(p.m_oxygen, p.m_helium).c_str(), p.m_setpoint);
  if (p.m_noClearSurface) s += ", No Clear Surface";
  return s;
}

void LogPlanPlusAdd(const CLeveledLog& log, const char* label, const CPlanPoint& p) {
  if (!log.IsOn(kLogProgress)) return;
  std::string s = Format("Construct Plan Plus - %s Depth %6.2f, Duration %5d, %s %s, PPO2 %0.2f", label, p.Depth(),
                         p.m_duration, p.m_closedCircuit ? "Dil" : "Gas",
                         GasName(p.m_oxygen, p.m_helium).c_str(), p.m_setpoint);
  if (p.m_noClearSurface) s += ", No Clear Surface";
  log.LogAtLevel(s, kLogProgress);
}

// Writes what the user enters for a point; its other fields stay as they are.
void SetEntered(CPlanPoint& p, const SEnteredPoint& entered) {
  p.m_duration = entered.duration;
  p.m_depthPressure = entered.depthPressure;
  p.m_closedCircuit = entered.closedCircuit;
  p.m_oxygen = entered.oxygen;
  p.m_helium = entered.helium;
  p.m_setpoint = entered.setpoint;
  p.m_noClearSurface = entered.noClearSurface;
}

// The entry check's reading of an entered point.
double DepthOf(const SEnteredPoint& p) { return p.depthPressure / 100.0; }

// A zero-duration point at a range's switch depth, breathing its gas.
CPlanPoint SwitchPoint(const SGasRange& r) {
  CPlanPoint p;
  p.SetDepth(r.m_fromDepth);
  p.m_duration = 0;
  p.m_closedCircuit = r.m_closedCircuit;
  p.m_oxygen = r.m_oxygen;
  p.m_helium = r.m_helium;
  p.m_setpoint = r.m_setpoint;
  p.m_noClearSurface = 0;
  return p;
}

// The targets of a dive of a gas switch schedule: the travel switches above
// the bottom, the bottom on the last of them, then the deco switches from
// the deepest up, each given to add(label, point). Returns the number of
// switches the dive makes.
template <typename Add>
int AddScheduledTargets(const CPlanPoint& bottom, const std::array<SGasRange, kMaxGases>& travel,
                        const std::array<SGasRange, kMaxGases>& deco, Add&& add) {
  int used = 0;
  const double b = bottom.Depth();
  // A table depth and a switch depth, one of them typed in feet, are the
  // same depth when they meet within a millimetre.
  const SGasRange* remembered = nullptr;
  for (const SGasRange& r : travel) {
    if (!r.m_inUse) continue;
    if (DepthsMeet(b, r.m_fromDepth)) {
      ++used;
      remembered = &r;
    } else if (b > r.m_fromDepth) {
      add("Auto generated travel gas switch,     ", SwitchPoint(r));
      ++used;
      remembered = &r;
    }
  }
  CPlanPoint p = SwitchPoint(remembered ? *remembered : travel[0]);
  p.m_depthPressure = bottom.m_depthPressure;
  p.m_duration = bottom.m_duration;
  p.m_noClearSurface = bottom.m_noClearSurface;
  add("Auto generated travel gas switch,     ", p);
  for (auto r = deco.rbegin(); r != deco.rend(); ++r) {
    if (!r->m_inUse) continue;
    if (r->m_fromDepth < b && !DepthsMeet(r->m_fromDepth, b)) {
      add("Auto generated deco gas switch,       ", SwitchPoint(*r));
      ++used;
    }
  }
  return used;
}

// Inserts before index, or appends when the index is outside the list; returns where it went.
int InsertOrAppend(std::vector<CPlanPoint>& points, int index, const CPlanPoint& p) {
  if (index < 0 || index >= static_cast<int>(points.size())) {
    points.push_back(p);
    return static_cast<int>(points.size()) - 1;
  }
  points.insert(points.begin() + index, p);
  return index;
}

}  // namespace

std::vector<CPlanPoint>& CDivePlan::EditedPoints() {
  return m_bailoutState.mode ? m_bailoutState.planPoints : m_inputs.userPoints;
}

int CDivePlan::FirstBailoutPoint() const {
  if (!m_bailoutState.mode) return -1;
  for (std::size_t i = 0; i < m_bailoutState.planPoints.size(); ++i)
    if (m_bailoutState.planPoints[i].m_bailout) return static_cast<int>(i);
  return kNoBailoutPoint;
}

int CDivePlan::AddPoint(int index, const SEnteredPoint& point) {
  std::vector<CPlanPoint>& points = EditedPoints();
  if (!m_inputs.useGasSwitchSchedule) {
    const bool bailoutLimits = m_bailoutState.mode && FirstBailoutPoint() < index;
    if (!CheckGasEntry(DepthOf(point), point.oxygen, point.helium, point.closedCircuit, point.setpoint, bailoutLimits))
      return -1;
  }
  CPlanPoint entered;
  SetEntered(entered, point);
  const int at = InsertOrAppend(points, index, entered);
  SetModified(true);
  SetState(kStateRecalculate, false);
  return at;
}

CDivePlan::SAddedPoints CDivePlan::AddEnteredPoint(int index, const SEnteredPoint& point) {
  SAddedPoints added;
  const double depth = DepthOf(point);
  if (!m_bailoutState.mode && m_inputs.userPoints.empty() && depth != 0.0) {
    // The same gas, mode and setpoint at the surface, for no time.
    SEnteredPoint surface = point;
    surface.duration = 0;
    surface.depthPressure = 0.0;
    if (!CheckGasEntry(depth, point.oxygen, point.helium, point.closedCircuit, point.setpoint, false) ||
        !CheckSurfacePointEntry(depth, point.oxygen, point.helium, point.closedCircuit, point.setpoint) ||
        AddPoint(0, surface) < 0)
      return added;
    added.surface = true;
    index = 1;
  }
  added.at = AddPoint(index, point);
  return added;
}

bool CDivePlan::UpdatePoint(int index, const SEnteredPoint& point) {
  std::vector<CPlanPoint>& points = EditedPoints();
  if (index < 0 || index >= static_cast<int>(points.size())) return false;
  const bool bailoutLimits = m_bailoutState.mode && index >= FirstBailoutPoint();
  if (!CheckGasEntry(DepthOf(point), point.oxygen, point.helium, point.closedCircuit, point.setpoint, bailoutLimits))
    return false;
  SetEntered(points[static_cast<std::size_t>(index)], point);
  SetModified(true);
  SetState(kStateRecalculate, false);
  return true;
}

void CDivePlan::DeletePoint(int index) {
  std::vector<CPlanPoint>& points = EditedPoints();
  if (index >= 0 && index < static_cast<int>(points.size())) points.erase(points.begin() + index);
  SetModified(true);
  SetState(kStateRecalculate, false);
}

bool CDivePlan::SelectCurrentPoint(int index) {
  const std::vector<CPlanPoint>& points = m_bailoutState.mode ? m_bailoutState.planPoints : m_inputs.userPoints;
  if (index < 0 || index >= static_cast<int>(points.size())) return false;
  m_currentPoint = points[static_cast<std::size_t>(index)];
  m_currentPointCopied = 1;
  return true;
}

int CDivePlan::InsertCurrentPoint(int index) {
  if (!m_currentPointCopied) return -1;
  const int at = InsertOrAppend(EditedPoints(), index, m_currentPoint);
  SetModified(true);
  SetState(kStateRecalculate, false);
  return at;
}

void CDivePlan::RestoreBailoutPlanPoints() {
  m_bailoutState.planPoints = m_bailoutState.initialPlanPoints;
  LogBailoutPlanPoints(false);
}

void CDivePlan::SetGasRanges(const CGasSwitchSchedule& travel, const CGasSwitchSchedule& deco) {
  const auto& t = travel.Switches();
  const auto& d = deco.Switches();
  for (std::size_t i = 0; i < t.size(); ++i) {
    SGasRange& r = m_inputs.travelGasRanges[i];
    if (!t[i].m_inUse) {
      r.m_inUse = 0;
    } else {
      r = SGasRange{t[i].m_depth, 9999.9, t[i].m_closedCircuit, t[i].m_oxygen, t[i].m_helium, t[i].m_setpoint, 1};
      if (i + 1 < t.size() && t[i + 1].m_inUse) r.m_toDepth = t[i + 1].m_depth;
    }
    SGasRange& q = m_inputs.decoGasRanges[i];
    if (!d[i].m_inUse) {
      q.m_inUse = 0;
    } else {
      q = SGasRange{d[i].m_depth, 0.0, d[i].m_closedCircuit, d[i].m_oxygen, d[i].m_helium, d[i].m_setpoint, 1};
      if (i > 0 && d[i - 1].m_inUse) q.m_toDepth = d[i - 1].m_depth;
    }
  }
  LogGasRanges();
}

void CDivePlan::LogGasRanges() const {
  CStatusLog& log = StatusLog();
  if (!log.IsOn(kLogProgress)) return;
  log.LogAtLevel("-", kLogProgress);
  log.LogAtLevel("Gas Ranges", kLogProgress);
  // "Travel Gas 1 Depth range ..." and "Deco Gas 1   Depth range ...": the
  // deco lines are padded to line up with the travel lines.
  auto logRanges = [&](const char* name, const char* padding, const std::array<SGasRange, kMaxGases>& ranges) {
    for (std::size_t i = 0; i < ranges.size(); ++i) {
      const SGasRange& r = ranges[i];
      if (r.m_inUse)
        log.LogAtLevelF(kLogProgress, "%s %d%s Depth range %7.2f - %7.2f %s Gas %s PPO2 %0.2f", name,
                        static_cast<int>(i) + 1, padding, r.m_fromDepth, r.m_toDepth, r.m_closedCircuit ? "CC" : "OC",
                        GasName(r.m_oxygen, r.m_helium).c_str(), r.m_setpoint);
    }
  };
  logRanges("Travel Gas", "", m_inputs.travelGasRanges);
  logRanges("Deco Gas", "  ", m_inputs.decoGasRanges);
}

void CDivePlan::BuildPlanPlusPoints() {
  const CLeveledLog log = Log();
  m_results.planPlusPoints.clear();
  m_results.gasSwitchesUsed = 0;
  if (log.IsOn(kLogDetail)) m_planPlusTimer.Start();
  if (log.IsOn(kLogProgress)) {
    log.LogAtLevel("-", kLogProgress);
    log.LogAtLevel("Started", kLogProgress);
    log.LogAtLevel("-", kLogProgress);
    log.LogAtLevel("User entered plan points", kLogProgress);
    for (const CPlanPoint& p : m_inputs.userPoints) log.LogAtLevel(PointLine("Plan Point", p), kLogProgress);
  }

  auto add = [&](const char* label, CPlanPoint p) {
    p.m_start = 0;
    p.m_source = -1.0;
    m_results.planPlusPoints.push_back(p);
    LogPlanPlusAdd(log, label, p);
  };

  if (!m_inputs.useGasSwitchSchedule) {
    log.LogAtLevel("Using user entered points", kLogProgress);
    for (std::size_t i = 0; i < m_inputs.userPoints.size(); ++i) {
      const CPlanPoint& u = m_inputs.userPoints[i];
      if (i == 0 && u.Depth() != 0.0) {
        CPlanPoint zero = u;
        zero.m_depthPressure = 0.0;
        zero.m_duration = 0;
        zero.m_noClearSurface = 0;
        add("Zero depth copy segment,              ", zero);
      }
      add("Planned segment,                      ", u);
    }
  } else if (!m_inputs.userPoints.empty()) {
    log.LogAtLevel("Using gas switch schedule", kLogProgress);
    m_results.gasSwitchesUsed =
        AddScheduledTargets(m_inputs.userPoints.front(), m_inputs.travelGasRanges, m_inputs.decoGasRanges, add);
  }

  if (log.IsOn(kLogProgress)) {
    log.LogAtLevel("Plan plus points", kLogProgress);
    for (const CPlanPoint& p : m_results.planPlusPoints) log.LogAtLevel(PointLine("Plan Plus Point", p), kLogProgress);
    log.LogAtLevelF(kLogProgress, "No of gas switches used - %d", m_results.gasSwitchesUsed);
  }
  if (log.IsOn(kLogDetail)) {
    m_planPlusTimer.Stop();
    log.LogAtLevelF(kLogDetail, "Finished in %.6f seconds", m_planPlusTimer.Elapsed());
  }
}

}  // namespace kv
