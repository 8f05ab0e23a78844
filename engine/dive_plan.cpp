#include "engine/dive_plan.h"

#include <algorithm>

#include "base/status_log.h"

namespace kv {

CDivePlan::CDivePlan(IDiveOwner* owner, int diveNumber) : m_pPlanGroup(owner), m_diveNumber(diveNumber) {}

void CDivePlan::ApplyDefaults(const SDiveDefaults& defaults) {
  m_inputs.settings = defaults.dive;
  m_inputs.bailoutSettings = defaults.bailout;
  m_inputs.bailoutGasList = defaults.bailoutGasList;
}

// ---- State -------------------------------------------------------------------

EDiveState CDivePlan::SetState(EDiveState state, bool force) {
  if (m_pPlanGroup == nullptr) return kStateIdle;
  if (m_state == state) return m_state;
  m_state = state;
  if (m_inputs.tableGenerationMode) return m_state;
  if (m_state == kStateReplanBailout) {
    StatusLog().LogAtLevelF(kLogDetail, "CDivePlan::SetState() Triggering m_pPlanGroup->BailoutPlan(%d)",
                            force ? 1 : 0);
    m_state = m_pPlanGroup->BailoutPlan(m_diveNumber, force) ? kStateBailoutPlanned : kStateIdle;
  }
  if (m_state == kStateRecalculate) {
    StatusLog().LogAtLevelF(kLogDetail, "CDivePlan::SetState() Triggering m_pPlanGroup->CalculateDivePlan(%d)",
                            force ? 1 : 0);
    m_state = m_pPlanGroup->CalculateDivePlan(m_diveNumber, force) ? kStateCalculated : kStateIdle;
  }
  return m_state;
}

void CDivePlan::SetModified(bool modified) {
  if ((m_modified != 0) == modified) return;
  m_modified = modified;
  if (!m_inputs.tableGenerationMode && m_pPlanGroup) m_pPlanGroup->DiveModifiedChanged(m_diveNumber, modified);
}

// ---- Settings ----------------------------------------------------------------

template <typename T>
void CDivePlan::ChangeSetting(T& field, T value, EDiveState state) {
  if (field == value) return;
  field = value;
  SetModified(true);
  SetState(state, false);
}

void CDivePlan::SetSurfacePressure(double v) {
  ChangeSetting(m_inputs.settings.surfacePressure, v, m_bailoutState.mode ? kStateReplanBailout : kStateRecalculate);
}
void CDivePlan::SetGfLow(double v) { ChangeSetting(m_inputs.settings.gfLow, v, kStateRecalculate); }
void CDivePlan::SetGfHigh(double v) { ChangeSetting(m_inputs.settings.gfHigh, v, kStateRecalculate); }
void CDivePlan::SetSacRate(double v) { ChangeSetting(m_inputs.settings.sacRate, v, kStateRecalculate); }
void CDivePlan::SetMaxPpo2(double v) { ChangeSetting(m_inputs.settings.maxPpo2, v, kStateRecalculate); }
void CDivePlan::SetMaxEad(double v) { ChangeSetting(m_inputs.settings.maxEad, v, kStateRecalculate); }
void CDivePlan::SetSurfaceInterval(int v) { ChangeSetting(m_inputs.settings.surfaceInterval, v, kStateRecalculate); }
void CDivePlan::SetDescentRate(double v) { ChangeSetting(m_inputs.settings.descentRate, v, kStateRecalculate); }
void CDivePlan::SetAscentRate(double v) { ChangeSetting(m_inputs.settings.ascentRate, v, kStateRecalculate); }
void CDivePlan::SetLastDecoStop(double v) { ChangeSetting(m_inputs.settings.lastDecoStop, v, kStateRecalculate); }

void CDivePlan::SetBailoutNoOfGasSwitches(int v) {
  ChangeSetting(m_inputs.bailoutSettings.noOfGasSwitches, v, kStateReplanBailout);
}
void CDivePlan::SetBailoutGfLow(double v) { ChangeSetting(m_inputs.bailoutSettings.gfLow, v, kStateReplanBailout); }
void CDivePlan::SetBailoutGfHigh(double v) { ChangeSetting(m_inputs.bailoutSettings.gfHigh, v, kStateReplanBailout); }
void CDivePlan::SetBailoutSacRate(double v) { ChangeSetting(m_inputs.bailoutSettings.sacRate, v, kStateReplanBailout); }
void CDivePlan::SetBailoutMaxPpo2(double v) { ChangeSetting(m_inputs.bailoutSettings.maxPpo2, v, kStateReplanBailout); }
void CDivePlan::SetBailoutMaxEad(double v) { ChangeSetting(m_inputs.bailoutSettings.maxEad, v, kStateReplanBailout); }
void CDivePlan::SetBailoutMaxCns(double v) {
  // The CNS limit re-plans whenever it is set to a limit, even the same one,
  // so that the CNS fit runs again after the user confirms the value.
  m_inputs.bailoutSettings.maxCns = v;
  if (v != 0.0) {
    SetModified(true);
    SetState(kStateReplanBailout, false);
  }
}
void CDivePlan::SetBailoutDescentRate(double v) {
  ChangeSetting(m_inputs.bailoutSettings.descentRate, v, kStateReplanBailout);
}
void CDivePlan::SetBailoutAscentRate(double v) {
  ChangeSetting(m_inputs.bailoutSettings.ascentRate, v, kStateReplanBailout);
}
void CDivePlan::SetBailoutLastDecoStop(double v) {
  ChangeSetting(m_inputs.bailoutSettings.lastDecoStop, v, kStateReplanBailout);
}
void CDivePlan::SetBailoutUseGasList(bool v) {
  ChangeSetting(m_inputs.bailoutSettings.useBailoutGasList, static_cast<std::uint8_t>(v), kStateReplanBailout);
}
void CDivePlan::SetBailoutIgnoreIcd(bool v) {
  ChangeSetting(m_inputs.bailoutSettings.ignoreIcd, static_cast<std::uint8_t>(v), kStateReplanBailout);
}
void CDivePlan::SetBailoutIgnoreCns(bool v) {
  ChangeSetting(m_inputs.bailoutSettings.ignoreCns, static_cast<std::uint8_t>(v), kStateReplanBailout);
}
void CDivePlan::SetBailoutGasList(const std::string& list) {
  ChangeSetting(m_inputs.bailoutGasList, list, kStateReplanBailout);
}

int CDivePlan::GetAlgorithm() const { return m_pPlanGroup ? m_pPlanGroup->GetAlgorithm() : 1; }
int CDivePlan::GetSurfaceIntervalAlgorithm() const {
  return m_pPlanGroup ? m_pPlanGroup->GetSurfaceIntervalAlgorithm() : 0;
}
double CDivePlan::GetGasReserve() const { return m_pPlanGroup ? m_pPlanGroup->GetGasReserve() : 33.0; }
double CDivePlan::GetCylinderWorkingPressure() const {
  return m_pPlanGroup ? m_pPlanGroup->GetCylinderWorkingPressure() : 240.0;
}

// ---- Readers -----------------------------------------------------------------

const CPlanPoint* CDivePlan::GetUserPoint(int index) const {
  if (index < 0 || index >= UserPointCount()) return nullptr;
  return &m_inputs.userPoints[static_cast<std::size_t>(index)];
}

namespace {
const CPlanPoint* At(const std::vector<CPlanPoint>& v, int i) {
  if (i < 0 || i >= static_cast<int>(v.size())) return nullptr;
  return &v[static_cast<std::size_t>(i)];
}
}  // namespace

double CDivePlan::GetProfileDepth(int i) const { auto p = At(ProfilePoints(), i); return p ? p->Depth() : -1; }
int CDivePlan::GetProfileStart(int i) const { auto p = At(ProfilePoints(), i); return p ? p->m_start : -1; }
int CDivePlan::GetProfileEnd(int i) const { auto p = At(ProfilePoints(), i); return p ? p->End() : -1; }
int CDivePlan::GetProfileDuration(int i) const { auto p = At(ProfilePoints(), i); return p ? p->m_duration : -1; }
double CDivePlan::GetProfileOxygen(int i) const { auto p = At(ProfilePoints(), i); return p ? p->m_oxygen : -1; }
double CDivePlan::GetProfileHelium(int i) const { auto p = At(ProfilePoints(), i); return p ? p->m_helium : -1; }
double CDivePlan::GetProfileSetpoint(int i) const { auto p = At(ProfilePoints(), i); return p ? p->m_setpoint : -1; }
int CDivePlan::GetProfileClosedCircuit(int i) const {
  auto p = At(ProfilePoints(), i);
  return p ? p->m_closedCircuit : 0;
}
int CDivePlan::GetProfileNoClearSurface(int i) const {
  auto p = At(ProfilePoints(), i);
  return p ? p->m_noClearSurface : 0;
}

double CDivePlan::GetMaxProfileDepth() const {
  double d = 0.0;
  for (const CPlanPoint& p : m_results.profilePoints) d = std::max(d, p.Depth());
  return d;
}

int CDivePlan::GetRunTime() const { return m_results.profilePoints.empty() ? 0 : m_results.profilePoints.back().End(); }

const CPredictionPoint* CDivePlan::Prediction(int t) const {
  if (t < 0 || t >= PredictionCount()) return nullptr;
  return &m_results.predictions[static_cast<std::size_t>(t)];
}

const CPredictionPoint* CDivePlan::LastPrediction() const {
  return m_results.predictions.empty() ? nullptr : &m_results.predictions.back();
}

double CDivePlan::GetCeiling(int t) const { auto p = Prediction(t); return p ? p->m_ceiling / 100.0 : -1; }
double CDivePlan::GetMaxCeiling(int t) const { auto p = Prediction(t); return p ? p->m_maxCeiling / 100.0 : -1; }
double CDivePlan::GetDepth(int t) const { auto p = Prediction(t); return p ? p->m_depthPressure / 100.0 : -1; }
double CDivePlan::GetCns(int t) const { auto p = Prediction(t); return p ? p->m_cns : -1; }
double CDivePlan::GetOtu(int t) const { auto p = Prediction(t); return p ? p->m_otu : -1; }

double CDivePlan::GetDiveMaxCeiling() const {
  const CPredictionPoint* last = LastPrediction();
  return last ? last->m_maxCeiling / 100.0 : 0.0;
}

void CDivePlan::ClearResults() {
  m_results.profilePoints.clear();
  m_results.predictions.clear();
  m_results.segments.clear();
  m_results.gasWarnings.clear();
  for (auto& c : m_results.consumption) c = SGasConsumption{};
  m_results.anyConsumption = m_results.diveSacUsed = m_results.bailoutSacUsed = 0;
  m_results.predictionsPresent = 0;
  m_results.calculationCompleted = 0;
}

}  // namespace kv
