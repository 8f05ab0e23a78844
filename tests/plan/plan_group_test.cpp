#include "plan/plan_group.h"

#include <gtest/gtest.h>

#include "plan/dive_status.h"

#include "plan_test_util.h"

namespace kv {
namespace {

using test::Calculated;
using test::Loaded;
using test::Modified;

class PlanGroupTest : public test::CPlanGroupFixture {
protected:
  // n dives, each a square dive, calculated once at the current clock time.
  void MakeDives(int n, double depth = 30, int minutes = 20) {
    while (group.GetDiveCount() < n) group.AddDivePlan();
    for (int i = 0; i < n; ++i) test::GiveSquareDive(*group.GetDive(i), depth, minutes);
  }
};

// ---- Dives: add, delete, sort ------------------------------------------------------

TEST_F(PlanGroupTest, AddingStopsAtThirtyDivesAndLogsTheLimit) {
  test::CTestLog log(env);
  for (int i = 1; i < 30; ++i) ASSERT_TRUE(group.AddDivePlan());
  EXPECT_EQ(group.GetDiveCount(), 30);
  EXPECT_FALSE(group.AddDivePlan());
  EXPECT_EQ(group.GetDiveCount(), 30);
  EXPECT_FALSE(group.IsUpdateInProgress());
  EXPECT_TRUE(log.Has("CPlanGroup::AddDivePlan() Max plan limit reached - m_updateInProgress set False"));
  for (int i = 0; i < 30; ++i) EXPECT_EQ(group.GetDive(i)->GetDiveNumber(), i);
}

TEST_F(PlanGroupTest, AddedDiveTakesTheDefaultsForNewDives) {
  SPlanDefaults defaults;
  defaults.dive.dive.sacRate = 25.5;
  defaults.dive.dive.gfLow = 35;
  defaults.dive.bailoutGasList = "21/35, 50%";
  defaults.gasReserve = 40;
  group.SetDefaultsForNewDives(defaults);
  EXPECT_DOUBLE_EQ(group.GetGasReserve(), 33.0) << "the plan keeps its own settings";
  ASSERT_TRUE(group.AddDivePlan());
  const CDivePlan& d = *group.GetDive(1);
  EXPECT_DOUBLE_EQ(d.GetSacRate(), 25.5);
  EXPECT_DOUBLE_EQ(d.GetGfLow(), 35.0);
  EXPECT_EQ(d.GetBailoutGasList(), "21/35, 50%");
  // The reset dive keeps the construction defaults.
  EXPECT_DOUBLE_EQ(group.GetDive(0)->GetGfLow(), 20.0);
  EXPECT_EQ(Drain(), std::vector<SPlanNotification>{Modified()});
}

TEST_F(PlanGroupTest, DeletingRenumbersTheLaterDives) {
  MakeDives(3);
  group.SetDiveName(2, "third");
  CDivePlan* third = group.GetDive(2);
  group.DeleteDivePlan(1);
  ASSERT_EQ(group.GetDiveCount(), 2);
  EXPECT_EQ(group.GetDive(1), third);
  EXPECT_EQ(third->GetDiveNumber(), 1);
  EXPECT_EQ(group.GetDiveName(1), "third");
  group.DeleteDivePlan(5);
  group.DeleteDivePlan(-1);
  EXPECT_EQ(group.GetDiveCount(), 2);
}

TEST_F(PlanGroupTest, SortingKeepsSurfaceIntervalsWithTheirPositions) {
  MakeDives(3);
  group.GetDive(1)->SetSurfaceInterval(60);
  group.GetDive(2)->SetSurfaceInterval(120);
  CDivePlan* a = group.GetDive(0);
  CDivePlan* b = group.GetDive(1);
  CDivePlan* c = group.GetDive(2);
  ASSERT_TRUE(group.SortDivePlans({2, 0, 1}));
  EXPECT_EQ(group.GetDive(0), c);
  EXPECT_EQ(group.GetDive(1), a);
  EXPECT_EQ(group.GetDive(2), b);
  EXPECT_EQ(group.GetDive(0)->GetSurfaceInterval(), 0);
  EXPECT_EQ(group.GetDive(1)->GetSurfaceInterval(), 60);
  EXPECT_EQ(group.GetDive(2)->GetSurfaceInterval(), 120);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(group.GetDive(i)->GetDiveNumber(), i);
  EXPECT_TRUE(group.IsModified());
}

TEST_F(PlanGroupTest, SortingRefusesAnOrderThatLosesOrRepeatsADive) {
  MakeDives(3);
  CDivePlan* first = group.GetDive(0);
  EXPECT_FALSE(group.SortDivePlans({0, 0, 1}));
  EXPECT_FALSE(group.SortDivePlans({0, 1}));
  EXPECT_FALSE(group.SortDivePlans({0, 1, 3}));
  EXPECT_EQ(group.GetDive(0), first);
  EXPECT_EQ(group.GetDiveCount(), 3);
  EXPECT_FALSE(group.IsUpdateInProgress());
}

// ---- Notifications ----------------------------------------------------------------

TEST_F(PlanGroupTest, NotificationsArriveAfterTheOperationInOrder) {
  group.SetAutoRecalc(false);
  test::GiveSquareDive(*group.GetDive(0), 30, 20);
  group.GetDive(0)->SetGfHigh(85);  // modified, deferred calculation
  EXPECT_TRUE(sink.received.empty()) << "nothing is delivered inside the operation";
  EXPECT_GT(sink.queued, 0);
  EXPECT_EQ(Drain(), (std::vector<SPlanNotification>{Modified(), Calculated(0)}));
  EXPECT_TRUE(group.IsRecalculationRequired());
  EXPECT_EQ(group.GetDive(0)->PredictionCount(), 0) << "deferred: nothing calculated";
}

TEST_F(PlanGroupTest, NotificationsSentWhileDeliveringFollowInOrder) {
  group.SetAutoRecalc(true);
  test::GiveSquareDive(*group.GetDive(0), 30, 20);
  // The receiver reacts to the change of the modified flag by recalculating,
  // as a window might; what that sends comes after what was already queued.
  sink.onDeliver = [&](const SPlanNotification& n) {
    if (n.kind == EPlanNotification::ModifiedChanged) {
      group.CalculateDivePlan(0, true);
      EXPECT_EQ(group.DeliverNotifications(), 0) << "no nested delivery";
    }
  };
  group.SetDiveName(0, "x");
  group.AddDivePlan();
  EXPECT_EQ(Drain(), (std::vector<SPlanNotification>{Modified(), Calculated(0)}));
}

// ---- Modified state ------------------------------------------------------------------

TEST_F(PlanGroupTest, ModifiedFlagFollowsTheDives) {
  group.SetAutoRecalc(false);
  group.GetDive(0)->SetSacRate(18);
  EXPECT_TRUE(group.IsModified());
  group.ClearModified();
  EXPECT_FALSE(group.IsModified());
  EXPECT_FALSE(group.GetDive(0)->IsModified());
  EXPECT_EQ(Drain(), (std::vector<SPlanNotification>{Modified(), Calculated(0), Modified()}));
  // An unchanged value leaves everything as it is.
  group.GetDive(0)->SetSacRate(18);
  EXPECT_FALSE(group.IsModified());
  EXPECT_TRUE(Drain().empty());
}

// ---- Calculation -----------------------------------------------------------------------

TEST_F(PlanGroupTest, CalculationHandsEachDiveItsPredecessorsEndState) {
  MakeDives(2);
  group.GetDive(1)->SetSurfaceInterval(3600);
  Drain();
  ASSERT_TRUE(group.CalculateDivePlans(true, 0, true));
  const CDivePlan& a = *group.GetDive(0);
  const CDivePlan& b = *group.GetDive(1);
  ASSERT_TRUE(a.IsCalculationCompleted());
  ASSERT_TRUE(b.IsCalculationCompleted());
  // Residual nitrogen: the second dive starts above surface saturation and
  // with some CNS left over.
  EXPECT_GT(b.Prediction(0)->m_nitrogen[5], a.Prediction(0)->m_nitrogen[5]);
  EXPECT_GT(b.Prediction(0)->m_cns, 0.0);
  EXPECT_LT(b.Prediction(0)->m_cns, a.LastPrediction()->m_cns);
  EXPECT_EQ(Drain(), (std::vector<SPlanNotification>{Calculated(0), Calculated(1)}));
}

TEST_F(PlanGroupTest, PredecessorWithoutPredictionsMeansStartingAtTheSurface) {
  MakeDives(2);
  group.GetDive(1)->SetSurfaceInterval(600);
  ASSERT_TRUE(group.CalculateDivePlan(1, true));
  const CDivePlan& lone = *group.GetDive(1);
  ASSERT_TRUE(lone.IsCalculationCompleted());
  SPreviousDiveState state;
  ASSERT_TRUE(group.PreviousState(1, state));
  EXPECT_TRUE(state.noPreviousState);
  const double surfaceN2 = lone.Prediction(0)->m_nitrogen[0];

  ASSERT_TRUE(group.CalculateDivePlans(true, 0, true));
  EXPECT_GT(group.GetDive(1)->Prediction(0)->m_nitrogen[0], surfaceN2);
  ASSERT_TRUE(group.PreviousState(1, state));
  EXPECT_FALSE(state.noPreviousState);
}

TEST_F(PlanGroupTest, TimeStampsDecideWhichDivesAreRecalculated) {
  MakeDives(3);
  ASSERT_TRUE(group.CalculateDivePlans(true, 0, true));
  // All three were calculated in one second; the order of calculation keeps
  // them up to date.
  for (int i = 0; i < 3; ++i) EXPECT_EQ(group.GetDive(i)->GetTimeStamp(), env.clock.Now());
  env.clock.Advance(10);
  ASSERT_TRUE(group.CalculateDivePlans(true, 0, false));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(group.GetDive(i)->GetTimeStamp(), env.clock.Now() - 10) << i;

  // Dive 1 recalculated later than dive 2: only dive 2 follows; dive 0 never
  // without force.
  env.clock.Advance(10);
  group.GetDive(0)->SetTimeStamp(0);
  ASSERT_TRUE(group.CalculateDivePlan(1, true));
  env.clock.Advance(10);
  ASSERT_TRUE(group.CalculateDivePlans(true, 0, false));
  EXPECT_EQ(group.GetDive(0)->GetTimeStamp(), 0);
  EXPECT_EQ(group.GetDive(1)->GetTimeStamp(), env.clock.Now() - 10);
  EXPECT_EQ(group.GetDive(2)->GetTimeStamp(), env.clock.Now());
}

TEST_F(PlanGroupTest, ADiveRecalculatedWithinTheSameSecondStillPullsItsSuccessors) {
  MakeDives(2);
  ASSERT_TRUE(group.CalculateDivePlans(true, 0, true));
  // The first dive gets deeper and is recalculated in the very same second
  // as the second dive's last calculation.
  group.GetDive(0)->ClearUserPoints();
  test::GiveSquareDive(*group.GetDive(0), 45, 20);
  ASSERT_TRUE(group.CalculateDivePlan(0, true));
  ASSERT_TRUE(group.CalculateDivePlans(true, 0, false));
  // No surface interval: the second dive starts exactly where the first ends.
  const CPredictionPoint& end = *group.GetDive(0)->LastPrediction();
  const CPredictionPoint& start = *group.GetDive(1)->Prediction(0);
  for (int k = 0; k < kCompartments; ++k)
    EXPECT_NEAR(start.m_nitrogen[k], end.m_nitrogen[k], 1e-9) << "stale end state kept in compartment " << k;
}

TEST_F(PlanGroupTest, DeferredEditsRecalculateEveryDiveUpToTheOneAsked) {
  MakeDives(3);
  ASSERT_TRUE(group.CalculateDivePlans(true, 0, true));
  group.SetAutoRecalc(false);
  env.clock.Advance(5);
  group.GetDive(2)->SetGfLow(40);
  EXPECT_TRUE(group.IsRecalculationRequired());
  EXPECT_EQ(group.GetDive(2)->GetTimeStamp(), env.clock.Now() - 5) << "nothing calculated yet";
  env.clock.Advance(5);
  ASSERT_TRUE(group.CalculateDivePlans(false, 1, false));
  EXPECT_EQ(group.GetDive(0)->GetTimeStamp(), env.clock.Now());
  EXPECT_EQ(group.GetDive(1)->GetTimeStamp(), env.clock.Now());
  EXPECT_EQ(group.GetDive(2)->GetTimeStamp(), env.clock.Now() - 10);
  EXPECT_FALSE(group.IsRecalculationRequired());
}

TEST_F(PlanGroupTest, AFailingDiveKeepsTheDivesBeforeItAndStopsTheChain) {
  MakeDives(4);
  // Dive 2 needs more than six hours of decompression; the question is
  // answered No (the scripted default).
  group.GetDive(1)->ClearUserPoints();
  test::GiveSquareDive(*group.GetDive(1), 90, 120);
  group.SetAutoRecalc(false);
  group.GetDive(0)->SetGfLow(25);
  Drain();
  ASSERT_TRUE(group.CalculateDivePlans(true, 0, false));
  EXPECT_TRUE(group.GetDive(0)->IsCalculationCompleted());
  EXPECT_GT(group.GetDive(0)->SegmentCount(), 0) << "the dive before the failure keeps its tables";
  for (int i = 1; i < 4; ++i) {
    EXPECT_EQ(group.GetDive(i)->PredictionCount(), 0) << i;
    EXPECT_EQ(group.GetDive(i)->ProfilePointCount(), 0) << i;
    EXPECT_EQ(group.GetDive(i)->SegmentCount(), 0) << i;
  }
  // Every dive whose state changed is reported, so that each page shows it.
  EXPECT_EQ(Drain(), (std::vector<SPlanNotification>{Calculated(0), Calculated(1), Calculated(2), Calculated(3)}));
  EXPECT_EQ(DiveStatus(group, 0).status, EDiveStatus::Calculated);
  EXPECT_EQ(DiveStatus(group, 1).status, EDiveStatus::SixHoursDeclined);
  for (int i = 2; i < 4; ++i) {
    EXPECT_EQ(DiveStatus(group, i).status, EDiveStatus::EarlierDiveFailed) << i;
    EXPECT_EQ(DiveStatus(group, i).failedDive, 1) << i;
    EXPECT_TRUE(DiveStatus(group, i).IsFailure());
  }
  EXPECT_TRUE(group.IsRecalculationRequired()) << "a failed pass leaves the flag set";
  ASSERT_FALSE(env.prompt.shown.empty());
  EXPECT_TRUE(env.prompt.shown.front().question);

  // A later dive is not calculated on its own from the surface either.
  group.SetAutoRecalc(true);
  group.GetDive(3)->SetGfLow(30);
  EXPECT_EQ(group.GetDive(3)->PredictionCount(), 0);
  EXPECT_EQ(DiveStatus(group, 3).status, EDiveStatus::EarlierDiveFailed);

  // Once the failed dive calculates, the chain goes on from its end state.
  group.GetDive(1)->ClearUserPoints();
  test::GiveSquareDive(*group.GetDive(1), 30, 20);
  ASSERT_TRUE(group.CalculateDivePlans(true, 0, true));
  for (int i = 0; i < 4; ++i) EXPECT_EQ(DiveStatus(group, i).status, EDiveStatus::Calculated) << i;
  const CPredictionPoint& end = *group.GetDive(1)->LastPrediction();
  EXPECT_NEAR(group.GetDive(2)->Prediction(0)->m_nitrogen[0], end.m_nitrogen[0], 1e-9);
}

TEST_F(PlanGroupTest, DiveStatusTellsEmptyUncalculatedAndSurfaceDivesApart) {
  MakeDives(2);
  group.AddDivePlan();
  group.SetAutoRecalc(false);
  EXPECT_EQ(DiveStatus(group, 0).status, EDiveStatus::NotCalculated);
  EXPECT_EQ(DiveStatus(group, 2).status, EDiveStatus::NoPoints);
  EXPECT_FALSE(DiveStatus(group, 0).IsFailure());
  EXPECT_EQ(DiveStatus(group, 7).status, EDiveStatus::NotCalculated) << "no such dive";
  group.GetDive(1)->ClearUserPoints();
  group.GetDive(1)->AppendUserPoint(test::Point(0, 600));
  ASSERT_TRUE(group.CalculateDivePlans(true, 0, true));
  EXPECT_EQ(DiveStatus(group, 0).status, EDiveStatus::Calculated);
  EXPECT_EQ(DiveStatus(group, 1).status, EDiveStatus::NeverLeavesSurface);
}

TEST_F(PlanGroupTest, ProgressCountsTheDivesOfAPass) {
  MakeDives(3);
  test::CRecordingProgress progress;
  ASSERT_TRUE(group.CalculateDivePlans(true, 0, true, &progress));
  EXPECT_EQ(progress.range, 3);
  EXPECT_EQ(progress.positions, (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(progress.texts, (std::vector<std::string>{"Dive 1 of 3", "Dive 2 of 3", "Dive 3 of 3"}));
}

TEST_F(PlanGroupTest, ACancelledPassLeavesTheDivesItDidNotReachUncalculated) {
  MakeDives(3);
  ASSERT_TRUE(group.CalculateDivePlans(true, 0, true));
  Drain();
  // Dive 0 gets deeper; the pass is cancelled after it, before dive 1.
  group.GetDive(0)->ClearUserPoints();
  test::GiveSquareDive(*group.GetDive(0), 45, 20);
  env.clock.Advance(5);
  test::CRecordingProgress progress;
  progress.cancelAt = 1;
  EXPECT_FALSE(group.CalculateDivePlans(true, 0, true, &progress));
  EXPECT_EQ(group.GetDive(0)->GetTimeStamp(), env.clock.Now());
  EXPECT_GT(group.GetDive(0)->GetMaxProfileDepth(), 44.0);
  for (int i = 1; i < 3; ++i) {
    SCOPED_TRACE(i);
    // Nothing of the old results, built on the old dive 0, survives.
    EXPECT_EQ(group.GetDive(i)->PredictionCount(), 0);
    EXPECT_EQ(group.GetDive(i)->ProfilePointCount(), 0);
    EXPECT_EQ(group.GetDive(i)->SegmentCount(), 0);
    EXPECT_FALSE(group.GetDive(i)->IsCalculationCompleted());
  }
  EXPECT_TRUE(group.IsRecalculationRequired());
  EXPECT_EQ(Drain(), (std::vector<SPlanNotification>{Calculated(0), Calculated(1), Calculated(2)}));

  // The next pass, without force, finishes the job.
  ASSERT_TRUE(group.CalculateDivePlans(true, 0, false));
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(group.GetDive(i)->IsCalculationCompleted()) << i;
  EXPECT_FALSE(group.IsRecalculationRequired());
}

TEST_F(PlanGroupTest, BailoutPlanWithoutAPlannerReportsTheDiveAndFails) {
  group.SetBailoutDriver(nullptr);
  group.SetAutoRecalc(true);
  test::GiveSquareDive(*group.GetDive(0), 30, 20);
  EXPECT_FALSE(group.BailoutPlan(0, true)) << "not in bailout mode";
  group.GetDive(0)->EnterBailoutMode();  // no valid plan: the window is told
  Drain();
  EXPECT_FALSE(group.BailoutPlan(0, true));
  EXPECT_EQ(Drain(), std::vector<SPlanNotification>{Calculated(0)});

  int planned = 0;
  group.SetBailoutDriver([&](CDivePlan&, const SPreviousDiveState&) {
    ++planned;
    return true;
  });
  EXPECT_TRUE(group.Recalculate(0));
  EXPECT_EQ(planned, 1);
}

// ---- Summaries and gas switches -------------------------------------------------------

TEST_F(PlanGroupTest, SummaryShowsTheDeepestPointInTheChosenUnits) {
  CDivePlan& d = *group.GetDive(0);
  EXPECT_EQ(group.GetDiveSummary(0), "");
  d.AppendUserPoint(test::Point(0, 0));
  EXPECT_EQ(group.GetDiveSummary(0), "") << "no depth";
  d.AppendUserPoint(test::Point(40, 25 * 60 + 30));
  d.AppendUserPoint(test::Point(40, 60));  // not strictly deeper
  EXPECT_EQ(group.GetDiveSummary(0), "Max Depth 40.0 (m), Duration 25:30 (mm:ss)");
  SCalculationSettings imperial;
  imperial.units = SDisplayUnits::Imperial();
  group.SetCalculationSettings(imperial);
  EXPECT_EQ(group.GetDiveSummary(0), "Max Depth 130.3 (ft), Duration 25:30 (mm:ss)");
  EXPECT_EQ(group.GetDiveSummary(4), "");
}

TEST_F(PlanGroupTest, GasSwitchesListEveryChangeOfGasModeOrSetpoint) {
  CDivePlan& d = *group.GetDive(0);
  std::vector<CGasSwitch> s;
  EXPECT_FALSE(group.GetDiveGasSwitches(0, s, false)) << "no points";
  d.AppendUserPoint(test::Point(3, 0, 10, 50, true, 0.7));
  d.AppendUserPoint(test::Point(60, 1200, 10, 50, true, 0.7));  // same: nothing
  d.AppendUserPoint(test::Point(60, 600, 10, 50, true, 1.3));   // setpoint
  d.AppendUserPoint(test::Point(21, 0, 50, 0, false, 0.9));     // bailout to OC
  d.AppendUserPoint(test::Point(6, 0, 50, 0, false, 1.4));      // OC setpoint ignored
  ASSERT_TRUE(group.GetDiveGasSwitches(0, s, false));
  ASSERT_EQ(s.size(), 4u);
  EXPECT_DOUBLE_EQ(s[0].m_depth, 0.0);
  EXPECT_DOUBLE_EQ(s[1].m_depth, 3.0);
  EXPECT_DOUBLE_EQ(s[2].m_depth, 60.0);
  EXPECT_DOUBLE_EQ(s[2].m_setpoint, 1.3);
  EXPECT_DOUBLE_EQ(s[3].m_depth, 21.0);
  EXPECT_FALSE(s[3].m_closedCircuit);

  for (int i = 0; i < 100; ++i) d.AppendUserPoint(test::Point(10, 0, i % 2 ? 32 : 36));
  ASSERT_TRUE(group.GetDiveGasSwitches(0, s, false));
  EXPECT_EQ(s.size(), 60u);
}

}  // namespace
}  // namespace kv
