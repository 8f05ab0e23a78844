#include <gtest/gtest.h>

#include <vector>

#include "engine_test_util.h"
#include "support/test_support.h"

namespace kv {
namespace {

struct RecordingOwner : IDiveOwner {
  std::vector<std::pair<char, int>> calls;
  bool succeed = true;
  int GetAlgorithm() const override { return 1; }
  int GetSurfaceIntervalAlgorithm() const override { return 0; }
  double GetGasReserve() const override { return 33; }
  double GetCylinderWorkingPressure() const override { return 240; }
  bool CalculateDivePlan(int dive, bool) override {
    calls.push_back({'C', dive});
    return succeed;
  }
  bool BailoutPlan(int dive, bool) override {
    calls.push_back({'B', dive});
    return succeed;
  }
  void DiveModifiedChanged(int dive, bool) override { calls.push_back({'M', dive}); }
  void PostDiveCalculated(int dive) override { calls.push_back({'N', dive}); }
};

class DivePlanState : public ::testing::Test {
protected:
  test::CTestEnvironment env;
  RecordingOwner owner;
  CDivePlan dive{&owner, 3};
};

TEST_F(DivePlanState, ChangedSettingMarksModifiedAndRecalculates) {
  dive.SetGfLow(35);
  ASSERT_EQ(owner.calls.size(), 2u);
  EXPECT_EQ(owner.calls[0], std::make_pair('M', 3));
  EXPECT_EQ(owner.calls[1], std::make_pair('C', 3));
  EXPECT_EQ(dive.GetState(), kStateCalculated);
  EXPECT_TRUE(dive.IsModified());
}

TEST_F(DivePlanState, EqualValueChangesNothing) {
  dive.SetGfLow(dive.GetGfLow());
  dive.SetSurfaceInterval(dive.GetSurfaceInterval());
  dive.SetBailoutGasList(dive.GetBailoutGasList());
  EXPECT_TRUE(owner.calls.empty());
  EXPECT_FALSE(dive.IsModified());
  EXPECT_EQ(dive.GetState(), kStateIdle);
}

TEST_F(DivePlanState, BailoutSettingsReplanAndFailureGoesIdle) {
  owner.succeed = false;
  dive.SetBailoutGfHigh(90);
  EXPECT_EQ(owner.calls.back(), std::make_pair('B', 3));
  EXPECT_EQ(dive.GetState(), kStateIdle);
}

TEST_F(DivePlanState, SurfacePressureReplansInBailoutMode) {
  dive.EnterBailoutMode();  // no valid bailout plan: a DiveCalculated notice only
  EXPECT_EQ(owner.calls.back(), std::make_pair('N', 3));
  dive.SetSurfacePressure(1013);
  EXPECT_EQ(owner.calls.back(), std::make_pair('B', 3));
}

TEST_F(DivePlanState, MaxCnsReplansEvenWhenUnchanged) {
  dive.SetBailoutMaxCns(150);
  EXPECT_EQ(dive.GetState(), kStateBailoutPlanned);
  owner.calls.clear();
  dive.SetState(kStateIdle, false);
  dive.SetBailoutMaxCns(150);
  EXPECT_EQ(owner.calls.back(), std::make_pair('B', 3));
  owner.calls.clear();
  dive.SetState(kStateIdle, false);
  dive.SetBailoutMaxCns(0);
  EXPECT_TRUE(owner.calls.empty());
  EXPECT_EQ(dive.BailoutSettings().maxCns, 0.0);
}

TEST_F(DivePlanState, WithoutOwnerOrInTableGenerationNothingIsTriggered) {
  CDivePlan lone;
  EXPECT_EQ(lone.SetState(kStateRecalculate, false), kStateIdle);
  dive.SetTableGenerationMode(true);
  EXPECT_EQ(dive.SetState(kStateRecalculate, false), kStateRecalculate);
  dive.SetModified(true);
  EXPECT_TRUE(owner.calls.empty());
}

TEST(PlanPoint, DepthAndEndRules) {
  CPlanPoint p;
  p.SetDepth(0);
  EXPECT_EQ(p.m_depthPressure, 0.0);
  p.m_depthPressure = -50;
  EXPECT_EQ(p.Depth(), 0.0);
  p.m_start = 100;
  p.m_duration = 0;
  EXPECT_EQ(p.End(), 100);
  p.m_duration = 60;
  EXPECT_EQ(p.End(), 159);
  EXPECT_STREQ(PointKindText(5), "Deco");
  EXPECT_STREQ(PointKindText(9), "Invalid");
  EXPECT_STREQ(SegmentKindName(2), "BottomDepth");
  EXPECT_STREQ(SegmentKindName(5), "");
}

TEST(Readers, PastTheEndGiveMinusOneOrZero) {
  test::CTestEnvironment env;
  auto d = test::MakeDive({{20, 10, 21, 0}});
  ASSERT_TRUE(test::CalculateFromSurface(*d));
  EXPECT_EQ(d->GetProfileDepth(99), -1);
  EXPECT_EQ(d->GetProfileStart(-1), -1);
  EXPECT_EQ(d->GetProfileClosedCircuit(99), 0);
  EXPECT_EQ(d->GetCeiling(1000000), -1);
  EXPECT_EQ(d->Prediction(-1), nullptr);
  EXPECT_EQ(d->GetUserPoint(5), nullptr);
}

TEST(PointEditing, RefusedPointChangesNothingAndAcceptedOneRecalculates) {
  test::CTestEnvironment env;
  RecordingOwner owner;
  CDivePlan d(&owner, 0);
  EXPECT_EQ(d.AddPoint(0, {600, 3000, false, 50, 0, 0, false}), -1);  // 50 % at 30 m: hyperoxic
  EXPECT_EQ(d.UserPointCount(), 0);
  EXPECT_TRUE(owner.calls.empty());
  EXPECT_EQ(d.AddPoint(5, {600, 3000, false, 32, 0, 0, false}), 0);
  EXPECT_EQ(d.AddPoint(0, {300, 1000, false, 32, 0, 0, false}), 0);
  EXPECT_DOUBLE_EQ(d.UserPoints()[1].Depth(), 30);
  EXPECT_EQ(env.prompt.shown.size(), 1u);
  EXPECT_FALSE(d.UpdatePoint(1, {600, 3000, false, 100, 0, 0, false}));
  EXPECT_TRUE(d.UpdatePoint(1, {600, 2500, false, 21, 0, 0, false}));
  d.DeletePoint(17);
  EXPECT_EQ(d.UserPointCount(), 2);
  EXPECT_TRUE(d.SelectCurrentPoint(0));
  EXPECT_EQ(d.InsertCurrentPoint(99), 2);
  EXPECT_DOUBLE_EQ(d.UserPoints()[2].Depth(), 10);
}

TEST(PlanPlus, ZeroDepthCopyAndScheduleMode) {
  test::CTestEnvironment env;
  auto d = test::MakeDive({{0, 0, 21, 0}, {30, 20, 21, 0}});
  d->BuildPlanPlusPoints();
  EXPECT_EQ(d->PlanPlusPoints().size(), 2u);  // no copy for a first point at 0 m
  auto s = test::MakeDive({{40, 20, 21, 0}});
  CGasSwitchSchedule travel(true), deco(false);
  travel.SetQuiet(true);
  deco.SetQuiet(true);
  CGasSwitch sw;
  sw.Set(0, 21, 0, false, 0, true);
  travel.Add(sw);
  sw.Set(40, 18, 45, false, 0, true);
  travel.Add(sw);
  sw.Set(21, 50, 0, false, 0, true);
  deco.Add(sw);
  sw.Set(6, 100, 0, false, 0, true);
  deco.Add(sw);
  sw.Set(45, 80, 0, false, 0, true);  // deeper than the bottom: ignored
  deco.Add(sw);
  s->SetUseGasSwitchSchedule(true);
  s->SetGasRanges(travel, deco);
  s->BuildPlanPlusPoints();
  const auto& pp = s->PlanPlusPoints();
  ASSERT_EQ(pp.size(), 3u + 1u);
  // 0 m travel switch, bottom on the 40 m travel gas (exactly at the bottom:
  // counted, no point), deco switches deepest first.
  EXPECT_DOUBLE_EQ(pp[0].Depth(), 0);
  EXPECT_DOUBLE_EQ(pp[1].Depth(), 40);
  EXPECT_EQ(pp[1].m_helium, 45);
  EXPECT_DOUBLE_EQ(pp[2].Depth(), 21);
  EXPECT_DOUBLE_EQ(pp[3].Depth(), 6);
  EXPECT_EQ(s->GetNumberOfGasSwitchesUsed(), 4);
  EXPECT_DOUBLE_EQ(s->TravelGasRanges()[1].m_toDepth, 9999.9);
  EXPECT_DOUBLE_EQ(s->DecoGasRanges()[0].m_toDepth, 0.0);
}

}  // namespace
}  // namespace kv
