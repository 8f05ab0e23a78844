#include "bailout/standalone_owner.h"

#include "bailout/bailout_planner.h"

namespace kv {

CStandaloneDiveOwner::CStandaloneDiveOwner(const CDivePlan& settingsFrom, const SPreviousDiveState& start,
                                           IUserPrompt& prompt, const SCalculationSettings& settings)
    : m_algorithm(settingsFrom.GetAlgorithm()),
      m_surfaceIntervalAlgorithm(settingsFrom.GetSurfaceIntervalAlgorithm()),
      m_gasReserve(settingsFrom.GetGasReserve()),
      m_workingPressure(settingsFrom.GetCylinderWorkingPressure()),
      m_start(start),
      m_prompt(prompt),
      m_settings(settings) {}

bool CStandaloneDiveOwner::CalculateDivePlan(int, bool) {
  if (!m_dive) return false;
  ++m_calculations;
  if (!m_dive->Calculate(m_dive->GetDiveNumber(), m_start, m_settings)) m_dive->ClearResults();
  return true;
}

bool CStandaloneDiveOwner::BailoutPlan(int dive, bool force) {
  if (!m_dive) return false;
  CBailoutPlanner planner(*m_dive, m_start, m_prompt, m_settings);
  const bool planned = planner.BailoutPlan() == EBailoutResult::Planned;
  m_calculations += planner.Calculations();
  if (planned) CalculateDivePlan(dive, force);
  return planned;
}

}  // namespace kv
