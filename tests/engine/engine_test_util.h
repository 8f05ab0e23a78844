#pragma once
// Small builders for engine tests: dives from (depth, minutes, gas) rows.

#include <initializer_list>
#include <memory>

#include "engine/dive_plan.h"

namespace kv::test {

// An owner whose plan-wide values and calculation settings a test sets.
class CFakeOwner : public IDiveOwner {
public:
  int algorithm = 1;
  int siAlgorithm = 1;
  double gasReserve = 33;
  double workingPressure = 240;
  SCalculationSettings settings;
  int GetAlgorithm() const override { return algorithm; }
  int GetSurfaceIntervalAlgorithm() const override { return siAlgorithm; }
  double GetGasReserve() const override { return gasReserve; }
  double GetCylinderWorkingPressure() const override { return workingPressure; }
  bool CalculateDivePlan(int, bool) override { return true; }
  bool BailoutPlan(int, bool) override { return true; }
  void DiveModifiedChanged(int, bool) override {}
  void PostDiveCalculated(int) override {}
  SCalculationSettings GetCalculationSettings() const override { return settings; }
};

struct SRow {
  double depth;    // m
  double minutes;  // time entered
  double oxygen;
  double helium;
  bool closedCircuit = false;
  double setpoint = 1.3;
  bool noClearSurface = false;
};

inline CPlanPoint MakePoint(const SRow& r) {
  CPlanPoint p;
  p.SetDepth(r.depth);
  p.m_duration = static_cast<int>(r.minutes * 60.0 + 0.5);
  p.m_oxygen = r.oxygen;
  p.m_helium = r.helium;
  p.m_closedCircuit = r.closedCircuit;
  p.m_setpoint = r.setpoint;
  p.m_noClearSurface = r.noClearSurface;
  return p;
}

inline std::unique_ptr<CDivePlan> MakeDive(std::initializer_list<SRow> rows, double gfLow = 30, double gfHigh = 70) {
  auto d = std::make_unique<CDivePlan>();
  d->SetGfLow(gfLow);
  d->SetGfHigh(gfHigh);
  for (const SRow& r : rows) d->AppendUserPoint(MakePoint(r));
  return d;
}

inline bool CalculateFromSurface(CDivePlan& d) { return d.Calculate(0, nullptr, nullptr, 0.0, 0.0, true); }

}  // namespace kv::test
