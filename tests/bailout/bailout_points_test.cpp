// The bailout plan points cut from the dive's profile at the bailout second,
// the switch points placed among them, and the state the re-planning starts from.

#include <gtest/gtest.h>

#include "bailout/bailout_sweep.h"
#include "bailout_test_util.h"
#include "base/text.h"

namespace kv {
namespace {

using test::BailoutFixture;

struct SPointShape {
  double depth;
  int duration;
  bool closedCircuit;
  bool noClearSurface;
  bool bailout;
  bool operator==(const SPointShape&) const = default;
};
void PrintTo(const SPointShape& s, std::ostream* os) {
  *os << Format("{%0.2f m, %d s, %s%s%s}", s.depth, s.duration, s.closedCircuit ? "CC" : "OC",
                s.noClearSurface ? ", NCS" : "", s.bailout ? ", bailout" : "");
}
std::vector<SPointShape> Shape(const std::vector<CPlanPoint>& points) {
  std::vector<SPointShape> out;
  for (const CPlanPoint& p : points)
    out.push_back({p.Depth(), p.m_duration, p.m_closedCircuit != 0, p.m_noClearSurface != 0, p.m_bailout != 0});
  return out;
}

// Seconds of the walked bailout profile under an overhead on bailout gas.
int OverheadSeconds(const CDivePlan& dive) {
  int n = 0;
  for (const CPlanPoint& p : dive.ProfilePoints())
    if (p.m_bailout && p.m_noClearSurface && !p.m_closedCircuit) n += p.m_duration;
  return n;
}

class BailoutPoints : public BailoutFixture {
protected:
  // The sweep's seconds: every 120 s of closed-circuit time under water and every segment end.
  std::vector<int> BailoutSweepSecondsForTest() const { return BailoutSweepSeconds(*dive, 120); }
};

// 0 -> 30 m takes 90 s at 20 m/min; the planned time at 30 m runs to second 1200.
TEST_F(BailoutPoints, PlannedSegmentIsCutAndAZeroSecondBailoutPointFollows) {
  SetPoints({{0, 0}, {30, 1200}});
  ASSERT_TRUE(BailOut(900));
  EXPECT_EQ(dive->Bailout().remainder, 300);
  EXPECT_EQ(Shape(dive->BailoutInitialPlanPoints()),
            (std::vector<SPointShape>{{0, 0, true, false, false}, {30, 900, true, false, false},
                                      {30, 0, false, false, true}}));
  EXPECT_EQ(dive->Bailout().segmentIndex, 2);
  EXPECT_DOUBLE_EQ(dive->Bailout().deepestPostBailoutDepth, 30.0);
  ASSERT_TRUE(dive->BailoutWalked());
  EXPECT_EQ(dive->GetBailoutSecond(), 900) << "the walk reaches the bailout exactly where the trigger put it";
  EXPECT_TRUE(dive->IsBailoutPlanValid());
}

TEST_F(BailoutPoints, OverheadRemainderIsDoneOnBailoutGas) {
  SetPoints({{0, 0}, {30, 1200, 10, 70, 1.3, true}});
  ASSERT_TRUE(BailOut(900));
  EXPECT_EQ(Shape(dive->BailoutInitialPlanPoints()),
            (std::vector<SPointShape>{{0, 0, true, false, false}, {30, 900, true, true, false},
                                      {30, 300, false, true, true}}));
  EXPECT_EQ(dive->Bailout().segmentIndex, 2);
  EXPECT_EQ(OverheadSeconds(*dive), 300) << "the rest of the overhead section, on bailout gas";
}

TEST_F(BailoutPoints, BailoutDuringAStopKeepsTheSecondsAlreadyAtTheStop) {
  SetPoints({{0, 0}, {60, 1500}});
  ASSERT_TRUE(Calculate());
  const CPlanPoint* stop = FirstOfKind(kKindDeco);
  ASSERT_NE(stop, nullptr);
  const CPlanPoint atStop = *stop;
  ASSERT_TRUE(dive->SetBailout(atStop.m_start + 10, false));
  EXPECT_EQ(Shape(dive->BailoutInitialPlanPoints()),
            (std::vector<SPointShape>{{0, 0, true, false, false}, {60, 1500, true, false, false},
                                      {atStop.Depth(), 10, true, false, false}, {atStop.Depth(), 0, false, false, true}}));
  // The walk to the stop depth as a target repeats the dive's own ascent and
  // stops, so the bailout comes after the same seconds at the stop.
  EXPECT_EQ(dive->GetBailoutSecond(), atStop.m_start + 9);
}

TEST_F(BailoutPoints, BailoutDuringAnAscentAddsAZeroSecondPointAtTheBailoutDepth) {
  SetPoints({{0, 0}, {60, 1500}});
  ASSERT_TRUE(Calculate());
  const CPlanPoint* ascent = FirstOfKind(kKindDecoAscent);
  ASSERT_NE(ascent, nullptr);
  const int second = ascent->m_start + 2;
  const double depth = dive->GetDepth(second);
  ASSERT_TRUE(dive->SetBailout(second, false));
  EXPECT_DOUBLE_EQ(dive->Bailout().depth, depth);
  EXPECT_EQ(Shape(dive->BailoutInitialPlanPoints()),
            (std::vector<SPointShape>{{0, 0, true, false, false}, {60, 1500, true, false, false},
                                      {depth, 0, true, false, false}, {depth, 0, false, false, true}}));
}

// On the way up from a stop the diver has done that stop: its whole time
// comes first, at its depth, then the ascent to the bailout depth.
TEST_F(BailoutPoints, BetweenStopsTheStopLeftComesFirstWithItsWholeTime) {
  SetPoints({{0, 0}, {60, 1500}});
  ASSERT_TRUE(Calculate());
  const std::vector<CPlanPoint> profile = dive->ProfilePoints();
  std::size_t ascent = 0;
  for (std::size_t i = 1; i < profile.size() && ascent == 0; ++i)
    if (profile[i].m_kind == kKindDecoAscent && profile[i - 1].m_kind == kKindDeco && profile[i].m_duration > 10)
      ascent = i;
  ASSERT_GT(ascent, 0u);
  const CPlanPoint stop = profile[ascent - 1];
  const int second = profile[ascent].m_start + 10;
  const double depth = dive->GetDepth(second);
  ASSERT_TRUE(dive->SetBailout(second, false));
  EXPECT_EQ(Shape(dive->BailoutInitialPlanPoints()),
            (std::vector<SPointShape>{{0, 0, true, false, false},
                                      {60, 1500, true, false, false},
                                      {stop.Depth(), stop.m_duration, true, false, false},
                                      {depth, 0, true, false, false},
                                      {depth, 0, false, false, true}}));
  EXPECT_DOUBLE_EQ(dive->Bailout().deepestPostBailoutDepth, stop.Depth()) << "the stop's depth";
  ASSERT_TRUE(dive->BailoutWalked());
  EXPECT_NEAR(dive->GetBailoutSecond(), second, 1) << "not on arrival at the stop";
  EXPECT_GT(dive->GetRunTime(), second);
}

// Wherever the bailout lies (descent, bottom, ascent, stop, between stops),
// the bailout dive is the dive itself up to the segment that holds the
// bailout second and bails out within a second of it, at its depth.
TEST_F(BailoutPoints, EveryBailoutBailsOutAtItsBailoutSecond) {
  SetPoints({{0, 0}, {20, 120}, {60, 1200}});
  ASSERT_TRUE(Calculate());
  const std::vector<int> seconds = BailoutSweepSecondsForTest();
  ASSERT_GT(seconds.size(), 30u);
  std::unique_ptr<CDivePlan> normal = dive->Clone(nullptr);
  for (int second : seconds) {
    SCOPED_TRACE(second);
    Reset(SPreviousDiveState{});
    SetPoints({{0, 0}, {20, 120}, {60, 1200}});
    dive->SetBailoutNoOfGasSwitches(1);  // one gas fits every depth: nothing to ask
    ASSERT_TRUE(BailOut(second));
    ASSERT_TRUE(dive->BailoutWalked());
    const int walked = dive->GetBailoutSecond();
    EXPECT_LE(std::abs(walked - second), 1);
    EXPECT_NEAR(dive->GetDepth(walked), normal->GetDepth(second), 0.2) << "a second of ascent is 0.17 m";
    int segmentStart = second;
    for (const CPlanPoint& p : normal->ProfilePoints())
      if (p.m_start <= second && second <= p.End()) {
        segmentStart = p.m_start;
        break;
      }
    for (int t = 0; t < std::min(segmentStart, walked); ++t) {
      ASSERT_EQ(dive->Prediction(t)->m_nitrogen, normal->Prediction(t)->m_nitrogen) << t;
      ASSERT_EQ(dive->Prediction(t)->m_helium, normal->Prediction(t)->m_helium) << t;
    }
    EXPECT_GT(dive->GetRunTime(), walked);
  }
}

// A bailout kept while the normal plan is shown is a second of the dive: when
// the dive changes (here its bottom time) the bailout is cut again from the
// changed profile at that second, with the time left as it is now.
TEST_F(BailoutPoints, ASavedBailoutIsCutAgainFromTheDiveAsItIsNow) {
  SetPoints({{0, 0}, {30, 1200}});
  ASSERT_TRUE(BailOut(900));
  EXPECT_EQ(dive->Bailout().remainder, 300);
  dive->ShowNormalPlan();
  ASSERT_TRUE(dive->UpdatePoint(1, {1500, 3000, true, 10, 70, 1.3, false}));
  ASSERT_FALSE(dive->BailoutWalked());
  dive->Bailout().remainder = 300;  // as a file edited since would hold it
  dive->EnterBailoutMode();
  ASSERT_TRUE(dive->BailoutWalked());
  EXPECT_EQ(dive->Bailout().remainder, 600);
  EXPECT_EQ(Shape(dive->BailoutInitialPlanPoints()),
            (std::vector<SPointShape>{{0, 0, true, false, false}, {30, 900, true, false, false},
                                      {30, 0, false, false, true}}));
  EXPECT_EQ(dive->GetBailoutSecond(), 900);
  EXPECT_TRUE(dive->IsBailoutPlanValid());
}

TEST_F(BailoutPoints, LaterOverheadPointsStayOnOpenCircuitAndOrdinaryOnesAreDropped) {
  SetPoints({{0, 0}, {30, 600}, {20, 600, 10, 70, 1.3, true}, {10, 300}});
  ASSERT_TRUE(BailOut(300));
  EXPECT_EQ(Shape(dive->BailoutInitialPlanPoints()),
            (std::vector<SPointShape>{{0, 0, true, false, false}, {30, 300, true, false, false},
                                      {30, 0, false, false, true}, {20, 600, false, true, true}}));
  EXPECT_EQ(dive->Bailout().segmentIndex, 2) << "the bailout point, not the later overhead point";
  EXPECT_EQ(OverheadSeconds(*dive), 600);
}

// Reached at the very bottom of the descent, an overhead target owes what is
// left of its time, as it does when the bailout comes earlier in the descent.
TEST_F(BailoutPoints, OverheadTargetReachedAtTheBottomOfTheDescentKeepsOnlyItsRemainingTime) {
  SetPoints({{0, 0}, {30, 1440, 10, 70, 1.3, true}});
  ASSERT_TRUE(BailOut(90));  // the last second of the 90 s descent, at 30 m
  EXPECT_DOUBLE_EQ(dive->Bailout().depth, 30.0);
  EXPECT_EQ(Shape(dive->BailoutInitialPlanPoints()),
            (std::vector<SPointShape>{{0, 0, true, false, false}, {30, 0, true, false, false},
                                      {30, 0, false, false, true}, {30, 1350, false, true, true}}));
  EXPECT_EQ(OverheadSeconds(*dive), 1350) << "the 1440 s planned from leaving the surface, less the descent";

  Reset(SPreviousDiveState{});
  SetPoints({{0, 0}, {30, 1440, 10, 70, 1.3, true}});
  ASSERT_TRUE(BailOut(45));  // half way down
  EXPECT_EQ(dive->BailoutInitialPlanPoints().back().m_duration, 1440) << "the walk takes the travel off";
  // 44 s down to the bailout at 14.8 m and 45 s on to 30 m, each truncated to whole seconds.
  EXPECT_EQ(OverheadSeconds(*dive), 1440 - 44 - 45);
}

TEST_F(BailoutPoints, ReplanningReusesTheInitialPointsAndANewTriggerRebuildsThem) {
  SetPoints({{0, 0}, {30, 1200}});
  ASSERT_TRUE(BailOut(900));
  const auto initial = Shape(dive->BailoutInitialPlanPoints());
  dive->SetBailoutGfHigh(90);  // re-planned at once by the owner
  EXPECT_TRUE(dive->IsBailoutPlanValid());
  EXPECT_EQ(Shape(dive->BailoutInitialPlanPoints()), initial);
  EXPECT_EQ(dive->Bailout().remainder, 300);

  dive->ShowNormalPlan();
  EXPECT_FALSE(dive->BailoutWalked());
  ASSERT_TRUE(dive->SetBailout(600, false));
  EXPECT_EQ(dive->Bailout().remainder, 600);
  EXPECT_EQ(dive->BailoutInitialPlanPoints()[1].m_duration, 600);
}

TEST_F(BailoutPoints, ATriggerNeedsTheDivesOwnProfile) {
  SetPoints({{0, 0}, {30, 1200}});
  EXPECT_FALSE(dive->SetBailout(100, false)) << "not calculated";
  ASSERT_TRUE(BailOut(900));
  EXPECT_FALSE(dive->SetBailout(300, false)) << "the profile is the bailout's";
  dive->ShowNormalPlan();
  EXPECT_FALSE(dive->SetBailout(0, false));
  EXPECT_FALSE(dive->SetBailout(dive->PredictionCount(), false));
}

TEST_F(BailoutPoints, EndOfSegmentBailsOutAtTheEndOfTheSegmentHoldingTheCursor) {
  SetPoints({{0, 0}, {30, 1200}});
  ASSERT_TRUE(BailOut(500, true));
  EXPECT_EQ(dive->Bailout().time, 1200);
  EXPECT_EQ(dive->Bailout().remainder, 0);
  EXPECT_EQ(Shape(dive->BailoutInitialPlanPoints()),
            (std::vector<SPointShape>{{0, 0, true, false, false}, {30, 1200, true, false, false},
                                      {30, 0, false, false, true}}));
}

// A switch is a place to change gas: copied from an overhead point, the
// switch points must neither take its time nor its flag, or every round of
// removing and adding switches would keep them and pile them up.
TEST_F(BailoutPoints, SwitchPointsHaveNoTimeNoOverheadAndDoNotPileUp) {
  SetPoints({{0, 0}, {40, 1200, 10, 70, 1.3, true}});
  dive->SetBailoutIgnoreCns(true);
  ASSERT_TRUE(BailOut(900));
  const auto& points = dive->BailoutPlanPoints();
  ASSERT_GT(points.size(), 3u);
  const int start = dive->Bailout().segmentIndex;
  for (std::size_t i = static_cast<std::size_t>(start) + 1; i < points.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(points[i].m_duration, 0);
    EXPECT_FALSE(points[i].m_noClearSurface);
    EXPECT_FALSE(points[i].m_closedCircuit);
    EXPECT_EQ(points[i].m_reservedIndex, static_cast<int>(i) - start);
  }
  const std::size_t planned = points.size();
  CBailoutPlanner planner = Planner();
  for (int round = 0; round < 3; ++round) {
    planner.RemoveBailoutGasSwitches();
    EXPECT_EQ(dive->BailoutPlanPoints().size(), static_cast<std::size_t>(start) + 1);
    ASSERT_TRUE(planner.AddBailoutGasSwitches());
    EXPECT_EQ(dive->BailoutPlanPoints().size(), planned);
  }
}

TEST_F(BailoutPoints, SwitchIndexIsTheShallowestSwitchAtOrBelowTheDepth) {
  auto& s = dive->BailoutGasSwitches();
  s[0].Set(40, 18, 45, false, 0, true);
  s[1].Set(18, 50, 0, false, 0, true);
  s[2].Set(6, 100, 0, false, 0, true);
  s[3].Set(3, 100, 0, false, 0, false);  // not in use ends the count
  const CBailoutPlanner planner = Planner();
  EXPECT_EQ(planner.SwitchIndexForDepth(41), -1);
  EXPECT_EQ(planner.SwitchIndexForDepth(40), 0);
  EXPECT_EQ(planner.SwitchIndexForDepth(30), 0);
  EXPECT_EQ(planner.SwitchIndexForDepth(18.01), 1) << "within the relative tolerance of 0.001";
  EXPECT_EQ(planner.SwitchIndexForDepth(18.05), 0);
  EXPECT_EQ(planner.SwitchIndexForDepth(6), 2);
  EXPECT_EQ(planner.SwitchIndexForDepth(0), 2);
}

// The re-planning starts from the state the dive's own calculation starts
// from: on a second dive that is the first dive's end carried through the
// surface interval once, not the dive's second 0 taken through it again.
TEST_F(BailoutPoints, SecondDiveOfAPlanStartsFromThePreviousDivesEnd) {
  SetPoints({{0, 0}, {40, 1500}});
  ASSERT_TRUE(Calculate());
  SPreviousDiveState end;
  end.nitrogen = dive->LastPrediction()->m_nitrogen;
  end.helium = dive->LastPrediction()->m_helium;
  end.cns = dive->LastPrediction()->m_cns;
  end.otu = dive->LastPrediction()->m_otu;

  Reset(end, 1);
  dive->SetSurfaceInterval(3600);
  SetPoints({{0, 0}, {30, 1200}});
  ASSERT_TRUE(Calculate());
  const CPredictionPoint normalStart = *dive->Prediction(0);
  const CPredictionPoint normalBefore = *dive->Prediction(899);
  ASSERT_TRUE(dive->SetBailout(900, false));
  ASSERT_TRUE(dive->BailoutWalked());
  const CPredictionPoint& bailoutStart = *dive->Prediction(0);
  EXPECT_EQ(bailoutStart.m_nitrogen, normalStart.m_nitrogen);
  EXPECT_EQ(bailoutStart.m_helium, normalStart.m_helium);
  EXPECT_EQ(bailoutStart.m_cns, normalStart.m_cns);
  // Up to the bailout the bailout dive is the dive that was calculated.
  EXPECT_EQ(dive->Prediction(899)->m_nitrogen, normalBefore.m_nitrogen);
  EXPECT_EQ(dive->Prediction(899)->m_cns, normalBefore.m_cns);
}

TEST_F(BailoutPoints, BailoutsAtTheSurfaceEndWithoutAPlan) {
  SetPoints({{0, 0}, {30, 1200}});
  ASSERT_TRUE(Calculate());
  const int last = dive->PredictionCount() - 1;
  for (int second : {1, last}) {
    SCOPED_TRACE(second);
    Reset(SPreviousDiveState{});
    SetPoints({{0, 0}, {30, 1200}});
    ASSERT_TRUE(Calculate());
    const int before = owner->Calculations();
    ASSERT_TRUE(dive->SetBailout(second, false));
    EXPECT_DOUBLE_EQ(dive->Bailout().depth, 0.0);
    EXPECT_FALSE(dive->IsBailoutPlanValid());
    EXPECT_EQ(owner->Calculations(), before) << "no switch at the surface: nothing is calculated on unassigned gases";
  }
}

}  // namespace
}  // namespace kv
