// The plan group plans bailouts with the bailout layer: the state each
// re-planning starts from, the notifications, and plans saved in bailout mode.

#include <gtest/gtest.h>

#include "plan_test_util.h"

namespace kv {
namespace {

using test::Point;

class BailoutPlanGroup : public test::CPlanGroupFixture {
protected:
  // A closed-circuit 15/55 dive to depth for minutes.
  static void GiveClosedCircuitDive(CDivePlan& dive, double depth, int minutes) {
    dive.AppendUserPoint(Point(0, 0, 15, 55, true, 0.7));
    dive.AppendUserPoint(Point(depth, minutes * 60, 15, 55, true, 1.3));
  }
};

TEST_F(BailoutPlanGroup, ANewGroupPlansBailoutsAndTellsTheWindow) {
  GiveClosedCircuitDive(*group.GetDive(0), 40, 20);
  group.CalculateDivePlans(true, 0, true);
  Drain();
  CDivePlan& dive = *group.GetDive(0);
  ASSERT_TRUE(dive.SetBailout(1000, false));
  EXPECT_TRUE(dive.IsBailoutPlanValid());
  EXPECT_TRUE(dive.BailoutWalked());
  EXPECT_EQ(dive.GetState(), kStateBailoutPlanned);
  const auto received = Drain();
  const SPlanNotification rowReset{EPlanNotification::DiveRowReset, 0, CPlanGroup::kResetRow};
  EXPECT_NE(std::find(received.begin(), received.end(), rowReset), received.end());
  EXPECT_EQ(received.back(), test::Calculated(0));

  dive.ShowNormalPlan();
  EXPECT_FALSE(dive.BailoutWalked());
  EXPECT_FALSE(dive.BailoutPlanPoints().empty()) << "kept for the next time";
  dive.ClearBailout();
  EXPECT_TRUE(dive.BailoutPlanPoints().empty());
  EXPECT_FALSE(dive.IsBailoutPlanValid());
  EXPECT_TRUE(group.IsModified());
}

// The second dive's bailout starts from the first dive's end carried through
// the surface interval once, exactly as the dive's own calculation does.
TEST_F(BailoutPlanGroup, SecondDiveReplansFromThePreviousDivesEnd) {
  group.AddDivePlan();
  GiveClosedCircuitDive(*group.GetDive(0), 40, 25);
  GiveClosedCircuitDive(*group.GetDive(1), 30, 20);
  group.GetDive(1)->SetSurfaceInterval(2 * 3600);
  group.CalculateDivePlans(true, 0, true);
  CDivePlan& second = *group.GetDive(1);
  const CPredictionPoint normalStart = *second.Prediction(0);
  ASSERT_TRUE(second.SetBailout(900, false));
  ASSERT_TRUE(second.BailoutWalked());
  EXPECT_EQ(second.Prediction(0)->m_nitrogen, normalStart.m_nitrogen);
  EXPECT_EQ(second.Prediction(0)->m_helium, normalStart.m_helium);
  EXPECT_EQ(second.Prediction(0)->m_cns, normalStart.m_cns);
  EXPECT_TRUE(group.Recalculate(1));
  EXPECT_EQ(second.Prediction(0)->m_nitrogen, normalStart.m_nitrogen);
}

// A plan saved in bailout mode keeps the bailout second, depth, remainder,
// validity and points (not the mode); loaded, calculated and entered into
// bailout mode again it re-plans to the same plan and saves back unchanged.
TEST_F(BailoutPlanGroup, PlanSavedInBailoutModeLoadsReplansAndSavesBackUnchanged) {
  group.AddDivePlan();
  GiveClosedCircuitDive(*group.GetDive(0), 50, 25);
  group.GetDive(0)->SetBailoutNoOfGasSwitches(3);
  GiveClosedCircuitDive(*group.GetDive(1), 40, 20);
  group.GetDive(1)->SetSurfaceInterval(3600);
  group.GetDive(1)->SetBailoutUseGasList(true);
  group.GetDive(1)->SetBailoutGasList("18/45,21/35,50/0,100/0");
  group.GetDive(1)->AppendUserPoint(Point(20, 600, 15, 55, true, 1.3));
  group.CalculateDivePlans(true, 0, true);
  ASSERT_TRUE(group.GetDive(0)->SetBailout(1200, true));
  group.CalculateDivePlan(1, true);
  ASSERT_TRUE(group.GetDive(1)->SetBailout(700, false));
  ASSERT_TRUE(group.GetDive(0)->IsBailoutPlanValid());
  ASSERT_TRUE(group.GetDive(1)->IsBailoutPlanValid());

  const std::string dir = test::TempDir();
  ASSERT_TRUE(group.SavePlanGroup(dir + "/a.ccp"));
  CPlanGroup loaded;
  ASSERT_TRUE(loaded.LoadPlanGroup(dir + "/a.ccp"));
  EXPECT_FALSE(loaded.IsBailoutMode(0)) << "the mode is not kept";
  loaded.CalculateDivePlans(true, 0, true);
  loaded.GetDive(0)->EnterBailoutMode();
  loaded.CalculateDivePlan(1, true);
  loaded.GetDive(1)->EnterBailoutMode();
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(loaded.GetDive(i)->BailoutWalked());
    EXPECT_TRUE(loaded.GetDive(i)->IsBailoutPlanValid());
    EXPECT_EQ(loaded.GetDive(i)->Bailout().ceiling, group.GetDive(i)->Bailout().ceiling);
    EXPECT_EQ(loaded.GetDive(i)->GetRunTime(), group.GetDive(i)->GetRunTime());
  }
  ASSERT_TRUE(loaded.SavePlanGroup(dir + "/b.ccp"));
  EXPECT_EQ(test::ReadFile(dir + "/b.ccp"), test::ReadFile(dir + "/a.ccp"));
}

}  // namespace
}  // namespace kv
