#pragma once
// The owner of a dive outside a plan group (a copy planned on another thread,
// a dive in a test): the group-wide settings of the dive it was made from,
// and the calculate and bailout re-plan requests done the way the plan group
// does them, every calculation starting from one given state.

#include "base/prompt.h"
#include "engine/calculation_settings.h"
#include "engine/dive_owner.h"
#include "engine/dive_plan.h"

namespace kv {

class CStandaloneDiveOwner final : public IDiveOwner {
public:
  // Takes the group-wide settings that settingsFrom has now; every
  // calculation and planning runs with the settings snapshot given.
  CStandaloneDiveOwner(const CDivePlan& settingsFrom, const SPreviousDiveState& start, IUserPrompt& prompt,
                       const SCalculationSettings& settings);

  // The dive whose requests this owner serves (not owned).
  void SetDive(CDivePlan* dive) { m_dive = dive; }
  // Dive calculations run for the requests so far.
  int Calculations() const { return m_calculations; }

  int GetAlgorithm() const override { return m_algorithm; }
  int GetSurfaceIntervalAlgorithm() const override { return m_surfaceIntervalAlgorithm; }
  double GetGasReserve() const override { return m_gasReserve; }
  double GetCylinderWorkingPressure() const override { return m_workingPressure; }
  // Calculates the dive; a failed calculation leaves no results, as in the plan group.
  bool CalculateDivePlan(int dive, bool force) override;
  // Plans the bailout and, when planned within every limit, calculates the dive.
  bool BailoutPlan(int dive, bool force) override;
  void DiveModifiedChanged(int, bool) override {}
  void PostDiveCalculated(int) override {}
  SCalculationSettings GetCalculationSettings() const override { return m_settings; }

private:
  int m_algorithm;
  int m_surfaceIntervalAlgorithm;
  double m_gasReserve;
  double m_workingPressure;
  SPreviousDiveState m_start;
  IUserPrompt& m_prompt;
  SCalculationSettings m_settings;
  CDivePlan* m_dive = nullptr;
  int m_calculations = 0;
};

}  // namespace kv
