#pragma once
// A closed-circuit dive of its own (no plan group) that plans its bailouts
// the way a plan group does, with a scripted prompt and fresh preferences.

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>

#include "bailout/bailout_planner.h"
#include "bailout/standalone_owner.h"
#include "base/status_log.h"
#include "base/text.h"
#include "engine/dive_plan.h"
#include "support/test_support.h"

namespace kv::test {

struct SBailoutPoint {
  double depth = 0.0;  // m
  int seconds = 0;
  double oxygen = 10.0;
  double helium = 70.0;
  double setpoint = 1.3;
  bool noClearSurface = false;
  bool closedCircuit = true;
};

class BailoutFixture : public ::testing::Test {
protected:
  BailoutFixture() { Reset(SPreviousDiveState{}); }

  // A new dive (dive number 0 unless a start state is given) with GF 30/70,
  // 20 and 10 m/min and a 6 m last stop.
  void Reset(const SPreviousDiveState& start, int diveNumber = 0) {
    dive = std::make_unique<CDivePlan>(nullptr, diveNumber);
    owner = std::make_unique<CStandaloneDiveOwner>(*dive, start, env.prompt, settings);
    owner->SetDive(dive.get());
    dive->SetOwner(owner.get());
    dive->SetGfLow(30);
    dive->SetGfHigh(70);
    this->start = start;
  }
  void SetPoints(std::initializer_list<SBailoutPoint> points) {
    dive->ClearUserPoints();
    for (const SBailoutPoint& s : points) {
      CPlanPoint p;
      p.SetDepth(s.depth);
      p.m_duration = s.seconds;
      p.m_oxygen = s.oxygen;
      p.m_helium = s.helium;
      p.m_setpoint = s.setpoint;
      p.m_closedCircuit = s.closedCircuit;
      p.m_noClearSurface = s.noClearSurface;
      dive->AppendUserPoint(p);
    }
  }
  bool Calculate() { return dive->Calculate(dive->GetDiveNumber(), start); }
  // Calculates the dive and bails out; the owner plans the bailout at once.
  bool BailOut(int second, bool fromEndOfSegment = false) {
    EXPECT_TRUE(Calculate());
    return dive->SetBailout(second, fromEndOfSegment);
  }
  CBailoutPlanner Planner() { return CBailoutPlanner(*dive, start, env.prompt); }
  // The first profile point of a kind, or nullptr.
  const CPlanPoint* FirstOfKind(int kind) const {
    for (const CPlanPoint& p : dive->ProfilePoints())
      if (p.m_kind == kind && p.m_duration > 2) return &p;
    return nullptr;
  }
  std::vector<std::string> Questions() const {
    std::vector<std::string> q;
    for (const auto& s : env.prompt.shown)
      if (s.question) q.push_back(s.text);
    return q;
  }
  std::vector<std::string> Messages() const {
    std::vector<std::string> m;
    for (const auto& s : env.prompt.shown)
      if (!s.question) m.push_back(s.text);
    return m;
  }
  // The switches in use as "depth gas" texts, deepest first.
  std::vector<std::string> Switches() const {
    std::vector<std::string> out;
    for (const CGasSwitch& s : dive->BailoutGasSwitches())
      if (s.m_inUse) out.push_back(Format("%0.1f %s", s.m_depth, s.GasName().c_str()));
    return out;
  }

  // Writes the status log at the calculation's level to a file of the test;
  // the dive starts again, so that its owner takes the new level.
  void CaptureLog() {
    logPath = TempDir() + "/StatusLog.txt";
    Prefs().SetNumber(EPref::DebugLevel, 3);
    settings.debugLevel = 3;
    StatusLog().OpenLogAt(logPath, false);
    Reset(start, dive->GetDiveNumber());
  }
  std::string LogText() const { return ReadFile(logPath); }
  ~BailoutFixture() override {
    if (!logPath.empty()) StatusLog().Close();
  }

  CTestEnvironment env;
  SCalculationSettings settings;  // what the dive's owner calculates with
  std::string logPath;
  SPreviousDiveState start;
  std::unique_ptr<CDivePlan> dive;
  std::unique_ptr<CStandaloneDiveOwner> owner;
};

}  // namespace kv::test
