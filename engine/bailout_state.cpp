// The bailout state of a dive: the trigger that records the bailout moment,
// leaving and entering bailout mode, and the log dumps of the bailout points.
// Choosing the gases and building the bailout points is the bailout layer's.

#include <algorithm>

#include "base/status_log.h"
#include "base/text.h"
#include "engine/dive_plan.h"

namespace kv {

std::unique_ptr<CDivePlan> CDivePlan::Clone(IDiveOwner* owner) const {
  std::unique_ptr<CDivePlan> copy(new CDivePlan(*this));
  copy->m_pPlanGroup = owner;
  copy->m_stepReference = nullptr;
  return copy;
}

void CDivePlan::CopyFrom(const CDivePlan& other) {
  if (this == &other) return;
  IDiveOwner* owner = m_pPlanGroup;
  const CDivePlan* reference = m_stepReference;
  *this = other;
  m_pPlanGroup = owner;
  m_stepReference = reference;
}

int CDivePlan::BailoutSecondFor(int second, bool fromEndOfSegment) const {
  const int last = PredictionCount() - 1;
  if (m_results.bailoutWalked || m_results.profilePoints.empty() || second < 1 || second > last) return -1;
  if (!fromEndOfSegment) return second;
  int end = second;
  for (const CPlanPoint& p : m_results.profilePoints)
    if (p.m_start <= second) end = p.End();
  return std::clamp(end, 1, last);
}

bool CDivePlan::SetBailout(int second, bool fromEndOfSegment) {
  // The bailout points are cut from the dive's own profile; a bailout profile
  // (or none) has nothing to cut them from.
  const int bailoutSecond = BailoutSecondFor(second, fromEndOfSegment);
  if (bailoutSecond < 0) return false;

  const CLeveledLog log = Log();
  m_bailoutState.mode = 1;
  log.LogAtLevel("-", kLogProgress);
  log.LogAtLevel("Bailout - Started", kLogProgress);
  if (fromEndOfSegment) {
    log.LogAtLevelF(kLogProgress, "Bailout - Bailout from end of segment at time t%d, cursor t%d", bailoutSecond,
                    second);
  } else {
    log.LogAtLevelF(kLogProgress, "Bailout - Bailout from cursor at time t%d", bailoutSecond);
  }
  m_bailoutState.time = bailoutSecond;
  m_bailoutState.remainder = -1;
  m_bailoutState.initialPlanPoints.clear();
  RecordBailoutMoment();
  SetModified(true);
  // The trigger is a command of its own: it re-plans now, also with auto recalc off.
  SetState(kStateReplanBailout, true);
  return true;
}

void CDivePlan::RecordBailoutMoment() {
  const CLeveledLog log = Log();
  // Worked on a copy: the dive's own profile stays as it was calculated.
  CPredictionPoint point = m_results.predictions[static_cast<std::size_t>(m_bailoutState.time)];
  const CPredictionPoint& previous = m_results.predictions[static_cast<std::size_t>(m_bailoutState.time - 1)];
  m_bailoutState.depth = point.m_depthPressure / 100.0;
  log.LogAtLevelF(kLogProgress, "Bailout - Bailout depth %0.1fm", m_bailoutState.depth);
  log.LogAtLevel("Bailout - Recalculating the ceiling at bailout time", kLogProgress);
  // The second is recomputed from the state the walk had after the second
  // before it, with the gradient factor the bailout calculation gives it (the
  // larger of the dive's and the bailout's), so that the gases are designed
  // for the ceiling the bailout calculation will see; the bailout hook lowers
  // the max ceiling inside the decompression zone.
  const double surface = m_inputs.settings.surfacePressure;
  const double savedMaxCeiling = m_maxCeiling, savedHighest = m_highestTissuePressure;
  m_maxCeiling = previous.m_maxCeiling + surface;
  m_highestTissuePressure = previous.m_highestTissuePressure;
  const double g = GradientFactor(previous.m_ceiling + surface, point.m_depthPressure + surface, true);
  ComputeCeilingWithFactor(point, &previous, true, g);
  m_maxCeiling = savedMaxCeiling;
  m_highestTissuePressure = savedHighest;
  m_bailoutState.ceiling = point.m_ceiling / 100.0;
  m_bailoutState.ead = point.m_ead;
  log.LogAtLevelF(kLogProgress, "Bailout - Bailout ceiling %0.1fm and bailout EAD %0.1fm stored",
                  m_bailoutState.ceiling, m_bailoutState.ead);
}

void CDivePlan::ClearBailout() {
  m_bailoutState.mode = 0;
  m_bailoutState.planPoints.clear();
  m_bailoutState.initialPlanPoints.clear();
  // Nothing is left that could be valid; a file saved now must not claim a plan.
  m_bailoutState.planValid = 0;
  m_bailoutState.remainder = -1;
  SetModified(true);
  SetState(kStateRecalculate, true);
}

void CDivePlan::ShowNormalPlan() {
  m_bailoutState.mode = 0;
  SetState(kStateRecalculate, true);
}

void CDivePlan::EnterBailoutMode() {
  // The bailout is kept as its second: a plan read from a file has no
  // ceiling and EAD recorded at it, and the dive may have changed since the
  // bailout was planned (its points or settings edited while the normal plan
  // was shown). The dive's own calculation gives the moment again, and the
  // re-planning cuts the bailout points from it anew.
  if (m_bailoutState.planValid && !m_results.bailoutWalked && m_bailoutState.time >= 1 &&
      m_bailoutState.time < PredictionCount())
    RecordBailoutMoment();
  m_bailoutState.mode = 1;
  if (m_bailoutState.planValid) {
    SetModified(false);
    SetState(kStateReplanBailout, true);
  } else if (m_pPlanGroup) {
    m_pPlanGroup->PostDiveCalculated(m_diveNumber);
  }
}

void CDivePlan::AdoptBailoutNoOfGasSwitches(int n) {
  if (m_inputs.bailoutSettings.noOfGasSwitches == n) return;
  m_inputs.bailoutSettings.noOfGasSwitches = n;
  SetModified(true);
}

void CDivePlan::AdoptBailoutMaxPpo2(double maxPpo2) {
  if (m_inputs.bailoutSettings.maxPpo2 == maxPpo2) return;
  m_inputs.bailoutSettings.maxPpo2 = maxPpo2;
  SetModified(true);
}

void CDivePlan::LogBailoutPlanPoints(bool initial) const {
  const CLeveledLog log = Log();
  if (!log.IsOn(kLogProgress)) return;
  log.LogAtLevel(initial ? "Bailout - Initial Plan points" : "Bailout - Plan points", kLogProgress);
  const char* label = initial ? "Bailout - Bailout Initial Plan Point" : "Bailout - Bailout Plan Point";
  for (const CPlanPoint& p : initial ? m_bailoutState.initialPlanPoints : m_bailoutState.planPoints) {
    std::string s = Format("%s, Depth %6.2f, Duration %5d, %s, Gas %s, PPO2 %0.2f", label, p.Depth(), p.m_duration,
                           p.m_closedCircuit ? "CC" : "OC", GasName(p.m_oxygen, p.m_helium).c_str(), p.m_setpoint);
    if (p.m_noClearSurface) s += ", No Clear Surface";
    if (p.m_bailout) s += ", Bailout";
    log.LogAtLevel(s, kLogProgress);
  }
  log.LogAtLevelF(kLogProgress, "Bailout - Deepest post bailout depth %0.1fm", m_bailoutState.deepestPostBailoutDepth);
}

}  // namespace kv
