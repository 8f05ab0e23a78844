#include "plan/plan_group.h"

#include <algorithm>

#include "bailout/bailout_planner.h"
#include "base/status_log.h"
#include "base/strings.h"
#include "base/text.h"
#include "base/units.h"
#include "plan/dive_status.h"

namespace kv {

CPlanGroup::CPlanGroup() : m_bailoutDriver(PlanBailout) {
  // Both flags are set while constructing, so the first reset sends nothing.
  ResetPlanGroup();
  m_updateInProgress = false;
  m_loadInProgress = false;
}

CPlanGroup::~CPlanGroup() = default;

// ---- Notifications -------------------------------------------------------------

void CPlanGroup::SetSink(IPlanGroupSink* sink) {
  m_sink = sink;
  if (!m_sink) m_pending.clear();
}

void CPlanGroup::Post(const SPlanNotification& notification) {
  if (!m_sink) return;
  // A dive refreshed twice in a row is refreshed once: reading a file sends
  // one request per changed setting.
  if (notification.kind == EPlanNotification::DiveCalculated && !m_pending.empty() &&
      m_pending.back() == notification)
    return;
  m_pending.push_back(notification);
  m_sink->NotificationQueued();
}

int CPlanGroup::DeliverNotifications() {
  // A receiver that calls back in here (say, from a nested event loop) leaves
  // the delivery to the outer call, which keeps the order.
  if (m_delivering) return 0;
  m_delivering = true;
  int delivered = 0;
  while (!m_pending.empty() && m_sink) {
    SPlanNotification n = m_pending.front();
    m_pending.pop_front();
    m_sink->Deliver(n);
    ++delivered;
  }
  m_delivering = false;
  return delivered;
}

void CPlanGroup::PostDiveCalculated(int dive) { Post({EPlanNotification::DiveCalculated, dive, 0}); }

void CPlanGroup::PostDiveRowReset(int dive) { Post({EPlanNotification::DiveRowReset, dive, kResetRow}); }

// ---- Dives -----------------------------------------------------------------------

CDivePlan* CPlanGroup::GetDive(int index) {
  if (index < 0 || index >= GetDiveCount()) return nullptr;
  return m_dives[static_cast<std::size_t>(index)].dive.get();
}

const CDivePlan* CPlanGroup::GetDive(int index) const {
  if (index < 0 || index >= GetDiveCount()) return nullptr;
  return m_dives[static_cast<std::size_t>(index)].dive.get();
}

std::unique_ptr<CDivePlan> CPlanGroup::NewDive(int index) { return std::make_unique<CDivePlan>(this, index); }

void CPlanGroup::RenumberDives() {
  for (std::size_t i = 0; i < m_dives.size(); ++i)
    if (m_dives[i].dive) m_dives[i].dive->SetDiveNumber(static_cast<int>(i));
}

bool CPlanGroup::AddDivePlan() {
  CStatusLog& log = StatusLog();
  m_updateInProgress = true;
  log.LogAtLevel("CPlanGroup::AddDivePlan() Initial - m_updateInProgress set True", kLogDetail);
  if (GetDiveCount() >= kMaxDives) {
    m_updateInProgress = false;
    log.LogAtLevel("CPlanGroup::AddDivePlan() Max plan limit reached - m_updateInProgress set False", kLogDetail);
    return false;
  }
  std::unique_ptr<CDivePlan> dive = NewDive(GetDiveCount());
  dive->ApplyDefaults(m_defaults.dive);
  m_dives.push_back({std::move(dive), 0});
  m_updateInProgress = false;
  log.LogAtLevel("CPlanGroup::AddDivePlan() Finished - m_updateInProgress set False", kLogDetail);
  SetModified(true);
  return true;
}

void CPlanGroup::DeleteDivePlan(int index) {
  if (index < 0 || index >= GetDiveCount()) return;
  CStatusLog& log = StatusLog();
  m_updateInProgress = true;
  log.LogAtLevel("CPlanGroup::DeleteDivePlan() Initial - m_updateInProgress set True", kLogDetail);
  m_dives.erase(m_dives.begin() + index);
  RenumberDives();
  m_updateInProgress = false;
  log.LogAtLevel("CPlanGroup::DeleteDivePlan() Finished - m_updateInProgress set False", kLogDetail);
  SetModified(true);
}

bool CPlanGroup::SortDivePlans(const std::vector<int>& order) {
  // An order that repeats or leaves out a dive would destroy or duplicate
  // dives; it is refused before anything changes.
  const int count = GetDiveCount();
  if (static_cast<int>(order.size()) != count) return false;
  std::vector<bool> seen(static_cast<std::size_t>(count), false);
  for (int old : order) {
    if (old < 0 || old >= count || seen[static_cast<std::size_t>(old)]) return false;
    seen[static_cast<std::size_t>(old)] = true;
  }

  CStatusLog& log = StatusLog();
  m_updateInProgress = true;
  log.LogAtLevel("CPlanGroup::SortDivePlans() Initial - m_updateInProgress set True", kLogDetail);
  // Surface intervals belong to the positions in the plan, not to the dives.
  std::vector<int> intervals(static_cast<std::size_t>(count), 0);
  for (int j = 1; j < count; ++j) intervals[static_cast<std::size_t>(j)] = GetDive(j)->GetSurfaceInterval();
  std::vector<SDiveEntry> sorted;
  sorted.reserve(m_dives.size());
  for (int old : order) sorted.push_back(std::move(m_dives[static_cast<std::size_t>(old)]));
  m_dives = std::move(sorted);
  // Numbers first, so that whatever the interval setters send names the new positions.
  RenumberDives();
  for (int j = 0; j < count; ++j) GetDive(j)->SetSurfaceInterval(intervals[static_cast<std::size_t>(j)]);
  m_updateInProgress = false;
  log.LogAtLevel("CPlanGroup::SortDivePlans() Finished - m_updateInProgress set False", kLogDetail);
  log.LogAtLevel("CPlanGroup::SortDivePlans() Triggering CaluclateDivePlans()", kLogDetail);
  SetModified(true);
  return true;
}

bool CPlanGroup::SetDiveName(int index, const std::string& name) {
  CDivePlan* dive = GetDive(index);
  if (!dive) return false;
  dive->SetName(name);
  SetModified(true);
  return true;
}

std::string CPlanGroup::GetDiveName(int index) const {
  const CDivePlan* dive = GetDive(index);
  return dive ? dive->GetName() : std::string();
}

std::string CPlanGroup::GetDiveSummary(int index) const {
  const CDivePlan* dive = GetDive(index);
  if (!dive) return {};
  const CPlanPoint* deepest = nullptr;
  double depth = 0.0;
  for (const CPlanPoint& p : dive->UserPoints()) {
    const double d = p.m_depthPressure / 100.0;
    if (!deepest || d > depth) {
      deepest = &p;
      depth = d;
    }
  }
  if (!deepest || !(depth > 0.0)) return {};
  const SDisplayUnits& units = m_calculationSettings.units;
  const std::string depthText = Format("%0.1f (%s)", units.Shown(depth), units.Unit());
  const int seconds = deepest->m_duration;
  return Format(LoadString(1600), depthText.c_str(), seconds / 60, seconds % 60);
}

bool CPlanGroup::IsBailoutMode(int index) const {
  const CDivePlan* dive = GetDive(index);
  return dive && dive->IsBailoutMode();
}

bool CPlanGroup::GetDiveSettings(int index, bool bailout, SPlanDiveSettings& settings) const {
  const CDivePlan* dive = GetDive(index);
  if (!dive) return false;
  if (bailout) {
    const SBailoutSettings& b = dive->BailoutSettings();
    // The bailout part starts from the dive's own surface.
    settings = {dive->GetSurfacePressure(), b.gfLow, b.gfHigh, b.descentRate, b.ascentRate, b.lastDecoStop};
  } else {
    const SDiveSettings& s = dive->Settings();
    settings = {s.surfacePressure, s.gfLow, s.gfHigh, s.descentRate, s.ascentRate, s.lastDecoStop};
  }
  return true;
}

bool CPlanGroup::GetDiveGasSwitches(int index, std::vector<CGasSwitch>& switches, bool bailout) const {
  switches.clear();
  const CDivePlan* dive = GetDive(index);
  if (!dive) return false;
  const std::vector<CPlanPoint>& points = bailout ? dive->BailoutPlanPoints() : dive->UserPoints();
  if (points.empty()) return false;
  auto emit = [&](double depth, const CPlanPoint& p) {
    if (static_cast<int>(switches.size()) >= kMaxGasSwitchEntries) return;
    CGasSwitch s;
    s.Set(depth, p.m_oxygen, p.m_helium, p.m_closedCircuit != 0, p.m_setpoint, true);
    switches.push_back(s);
  };
  const CPlanPoint* previous = &points.front();
  const double firstDepth = previous->Depth();
  if (firstDepth != 0.0) emit(0.0, *previous);
  emit(firstDepth, *previous);
  for (std::size_t i = 1; i < points.size(); ++i) {
    const CPlanPoint& p = points[i];
    const bool same = p.m_closedCircuit == previous->m_closedCircuit && p.m_oxygen == previous->m_oxygen &&
                      p.m_helium == previous->m_helium &&
                      (!p.m_closedCircuit || p.m_setpoint == previous->m_setpoint);
    if (!same) emit(p.Depth(), p);
    previous = &p;
  }
  return true;
}

// ---- Calculation -----------------------------------------------------------------

bool CPlanGroup::PreviousState(int index, SPreviousDiveState& state) const {
  state = SPreviousDiveState{};
  if (index <= 0) return true;
  const CDivePlan* previous = GetDive(index - 1);
  if (!previous) return false;
  const CPredictionPoint* last = previous->LastPrediction();
  if (!last) {
    state.noPreviousState = true;
    return true;
  }
  state.nitrogen = last->m_nitrogen;
  state.helium = last->m_helium;
  state.cns = last->m_cns;
  state.otu = last->m_otu;
  return true;
}

bool CPlanGroup::CalculateOne(int index, const SPreviousDiveState& previous, const SCalculationSettings& settings) {
  SDiveEntry& entry = m_dives[static_cast<std::size_t>(index)];
  const bool ok = entry.dive->Calculate(index, previous.nitrogen.data(), previous.helium.data(), previous.cns,
                                        previous.otu, previous.noPreviousState, settings);
  entry.calculationOrder = ++m_calculationCounter;
  return ok;
}

bool CPlanGroup::Deferred(int index, bool force) {
  // While a file is read every key that changes a setting asks for a
  // calculation of a half-read dive; those requests are recorded like those
  // of auto recalc off, and the plan is calculated once it is complete.
  if (force || (m_autoRecalc && !m_loadInProgress)) return false;
  m_recalculationRequired = true;
  PostDiveCalculated(index);
  return true;
}

bool CPlanGroup::CalculateDivePlan(int index, bool force) {
  if (Deferred(index, force)) return true;
  if (m_updateInProgress) return false;
  CStatusLog& log = StatusLog();
  log.LogAtLevelF(kLogDetail, "CPlanGroup::CalculateDivePlan(%d) started", index);
  CDivePlan* dive = GetDive(index);
  if (!dive) return false;
  if (NotCalculable(index)) return true;
  SPreviousDiveState previous;
  if (!PreviousState(index, previous)) return false;
  if (CalculateOne(index, previous, m_calculationSettings))
    m_recalculationRequired = false;
  else
    dive->ClearResults();
  log.LogAtLevelF(kLogDetail, "CPlanGroup::CalculateDivePlan(%d) finished", index);
  PostDiveCalculated(index);
  return true;
}

bool CPlanGroup::BailoutPlan(int index, bool force) {
  if (Deferred(index, force)) return false;
  CDivePlan* dive = GetDive(index);
  if (!dive || !dive->IsBailoutMode()) return false;
  if (NotCalculable(index)) return false;
  // Without a planner nothing can be planned: the dive is reported as it stands.
  SPreviousDiveState start;
  if (!PreviousState(index, start)) return false;
  if (m_bailoutDriver && m_bailoutDriver(*dive, start)) {
    CalculateDivePlan(index, true);
    return true;
  }
  PostDiveCalculated(index);
  return false;
}

bool CPlanGroup::Recalculate(int index) {
  if (IsBailoutMode(index)) return BailoutPlan(index, true);
  return CalculateDivePlan(index, true);
}

bool CPlanGroup::UpToDate(int index) const {
  const SDiveEntry& before = m_dives[static_cast<std::size_t>(index - 1)];
  const SDiveEntry& self = m_dives[static_cast<std::size_t>(index)];
  const std::int64_t a = before.dive->GetTimeStamp();
  const std::int64_t b = self.dive->GetTimeStamp();
  if (a != b) return b > a;
  // Calculated within the same second: a dive is only up to date when this
  // group calculated it after its predecessor, otherwise it could keep a
  // result built on the predecessor's old end state.
  return self.calculationOrder > before.calculationOrder;
}

void CPlanGroup::ClearAllResults() {
  for (SDiveEntry& e : m_dives)
    if (e.dive) e.dive->ClearResults();
}

bool CPlanGroup::NotCalculable(int index) {
  // A dive after one that failed has no end state to start from: calculated
  // from the surface it would show a first dive's lighter schedule.
  const int failed = FirstFailedDiveBefore(*this, index);
  if (failed < 0) return false;
  StatusLog().LogAtLevelF(kLogDetail, "CPlanGroup::CalculateDivePlan(%d) not calculated: dive %d failed", index,
                          failed);
  if (CDivePlan* dive = GetDive(index)) dive->ClearResults();
  PostDiveCalculated(index);
  return true;
}

bool CPlanGroup::CalculateDivePlans(bool checkAll, int lastIndex, bool force, IProgress* progress) {
  CNullProgress noProgress;
  IProgress& report = progress ? *progress : noProgress;
  CStatusLog& log = StatusLog();
  if (log.IsOn(kLogDetail)) {
    std::string line = "Calculate dive plans - ";
    line += checkAll ? std::string("Checking All ") : Format("Checking up to dive %d ", lastIndex);
    if (force) line += ", Forced Recalc of plans";
    log.LogAtLevel(line, kLogDetail);
  }
  const int last = checkAll ? GetDiveCount() - 1 : lastIndex;
  // One snapshot of the settings for every dive of the pass.
  const SCalculationSettings settings = m_calculationSettings;
  bool complete = true;
  bool cancelled = false;
  if (last < 0) {
    ClearAllResults();
    complete = false;
  } else {
    report.SetRange(last + 1);
  }
  for (int i = 0; i <= last; ++i) {
    CDivePlan* dive = GetDive(i);
    SPreviousDiveState previous;
    if (!dive || !PreviousState(i, previous)) return false;
    report.SetPosition(i);
    if (!force && !m_recalculationRequired) {
      if (i == 0) continue;
      if (UpToDate(i)) {
        log.LogAtLevelF(kLogDetail, "Calculate dive plans - Calculate not required in dive %d due to timestamps", i);
        continue;
      }
    }
    report.SetText(Format(LoadString(kMsgDiveOfDives), i + 1, last + 1));
    // Cancellation is honoured between dives only. The dives not reached
    // would otherwise keep results built on an end state that may have just
    // changed: they lose them, and the plan stays "recalculation required".
    if (report.IsCancelled()) {
      log.LogAtLevelF(kLogDetail, "Calculate dive plans - Cancelled before dive %d", i);
      for (int j = i; j <= last; ++j) {
        if (CDivePlan* notReached = GetDive(j)) notReached->ClearResults();
        PostDiveCalculated(j);
      }
      complete = false;
      cancelled = true;
      break;
    }
    log.LogAtLevelF(kLogDetail, "Calculate dive plans - Calculate required in dive %d", i);
    const bool ok = CalculateOne(i, previous, settings);
    PostDiveCalculated(i);
    if (!ok) {
      // The dives before it keep their results; it and every dive after it,
      // which would start from its end state, have none.
      for (int j = i; j < GetDiveCount(); ++j) {
        GetDive(j)->ClearResults();
        if (j > i) PostDiveCalculated(j);
      }
      complete = false;
      break;
    }
  }
  if (complete) {
    m_recalculationRequired = false;
    report.SetPosition(last + 1);
  }
  if (cancelled) m_recalculationRequired = true;
  log.LogAtLevel("Calculate dive plans - Finished", kLogDetail);
  return !cancelled;
}

// ---- Modified state and lifecycle ----------------------------------------------------

void CPlanGroup::SetModified(bool modified) {
  if (m_updateInProgress || m_loadInProgress || modified == m_modified) return;
  m_modified = modified;
  Post({EPlanNotification::ModifiedChanged, -1, 0});
}

void CPlanGroup::CheckModified() {
  if (m_updateInProgress || m_loadInProgress || m_modified) return;
  for (const SDiveEntry& e : m_dives) {
    if (e.dive && e.dive->IsModified()) {
      SetModified(true);
      return;
    }
  }
}

void CPlanGroup::DiveModifiedChanged(int, bool modified) {
  if (modified) CheckModified();
}

void CPlanGroup::ClearModified() {
  for (SDiveEntry& e : m_dives)
    if (e.dive) e.dive->SetModified(false);
  SetModified(false);
}

void CPlanGroup::ClearPlanGroup() {
  m_filePath.clear();
  m_dives.clear();
}

void CPlanGroup::ResetPlanGroup() {
  m_dives.clear();
  m_dives.push_back({NewDive(0), 0});
  m_filePath.clear();
  SetModified(false);
}

void CPlanGroup::ApplyDefaults(const SPlanDefaults& defaults) {
  m_defaults = defaults;
  m_surfaceIntervalAlgorithm = defaults.surfaceIntervalAlgorithm;
  m_algorithm = defaults.algorithm;
  m_cylinderWorkingPressure = defaults.cylinderWorkingPressure;
  m_gasReserve = defaults.gasReserve;
  for (SDiveEntry& e : m_dives)
    if (e.dive) e.dive->ApplyDefaults(defaults.dive);
}

}  // namespace kv
