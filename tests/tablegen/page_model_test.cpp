// The page's schedules, and the import of settings and gas switches from a
// dive of the plan.

#include <gtest/gtest.h>

#include "plan/plan_group.h"
#include "plan/plan_test_util.h"
#include "support/test_support.h"
#include "tablegen/table_generation.h"
#include "tablegen_test_util.h"

namespace kv {
namespace {

using test::Oc;
using test::Point;

using test::Texts;

class PageModelTest : public ::testing::Test {
protected:
  test::CTestEnvironment env;
  CTableGeneration page;
};

TEST_F(PageModelTest, ScheduleChangesAskForARefreshUnlessQuiet) {
  int refreshes = 0;
  page.SetRefreshHandler([&] { ++refreshes; });
  EXPECT_TRUE(page.AddDescentSwitch(Oc(0, 21)));
  EXPECT_TRUE(page.AddAscentSwitch(Oc(6, 100)));
  EXPECT_FALSE(page.AddAscentSwitch(Oc(6, 50))) << "the depth exists";
  EXPECT_EQ(env.prompt.shown.back().text, "Depth already exists.\n\nUse Update to modify an item");
  EXPECT_EQ(refreshes, 2);
  page.SetQuiet(true);
  EXPECT_TRUE(page.AddAscentSwitch(Oc(21, 50)));
  page.SetQuiet(false);
  EXPECT_EQ(refreshes, 2);
  page.DeleteDescentSwitches({0});
  EXPECT_EQ(page.DescentSchedule().Count(), 1) << "row 0 of the descent schedule stays";
  page.DeleteAscentSwitches({0, 1});
  EXPECT_EQ(page.AscentSchedule().Count(), 0);
  EXPECT_EQ(refreshes, 3);
}

TEST_F(PageModelTest, GasSwitchesOfADiveSplitIntoTravelAndDeco) {
  CPlanGroup group;
  CDivePlan& dive = *group.GetDive(0);
  // Down on 18/45 with a stop at 30 m on nitrox, then 18/45 again to 50 m,
  // up on 50 % and oxygen.
  for (const CPlanPoint& p : {Point(20, 60, 18, 45), Point(30, 60, 32, 0), Point(50, 1200, 18, 45),
                              Point(21, 0, 50, 0), Point(6, 0, 100, 0)})
    dive.AppendUserPoint(p);
  ASSERT_TRUE(page.ImportSwitchesFromDive(group, 0, false));
  EXPECT_EQ(Texts(page.DescentSchedule()), (std::vector<std::string>{"0.00,18.00,45.00,0,0.70,1",
                                                                    "30.00,32.00,0.00,0,0.70,1",
                                                                    "50.00,18.00,45.00,0,0.70,1"}));
  EXPECT_EQ(Texts(page.AscentSchedule()),
            (std::vector<std::string>{"6.00,100.00,0.00,0,0.70,1", "21.00,50.00,0.00,0,0.70,1"}));
  EXPECT_TRUE(env.prompt.shown.empty()) << "duplicates (18/45 at 20 m) go quietly";
  EXPECT_FALSE(page.ImportSwitchesFromDive(group, 1, false));
  EXPECT_FALSE(page.ImportSwitchesFromDive(group, 0, true)) << "no bailout points";
  EXPECT_EQ(page.DescentSchedule().Count(), 3) << "a failed import changes nothing";
}

TEST_F(PageModelTest, SettingsOfADiveOrItsBailoutInDisplayUnits) {
  CPlanGroup group;
  group.AddDivePlan();
  CDivePlan& dive = *group.GetDive(1);
  dive.SetName("Wreck");
  dive.AppendUserPoint(Point(40, 1200, 21, 35, true, 1.3));
  dive.AppendBailoutPoint(Point(40, 1200, 21, 35, true, 1.3));
  dive.SetGfLow(35);
  dive.SetAscentRate(9);
  dive.SetBailoutAscentRate(12);
  dive.SetBailoutGfHigh(90);

  const std::vector<SImportChoice> choices = page.ImportChoices(group);
  ASSERT_EQ(choices.size(), 3u);
  EXPECT_EQ(choices[0].label, "Dive 1");
  EXPECT_EQ(choices[1].label, "Dive 2 - Wreck");
  EXPECT_EQ(choices[1].description, "Max Depth 40.0 (m), Duration 20:00 (mm:ss)");
  EXPECT_EQ(choices[2].label, "Dive 2 - Wreck");
  EXPECT_EQ(choices[2].description, "Bailout Mode");
  EXPECT_TRUE(choices[2].bailout);

  page.SetUnits(SDisplayUnits::Imperial());
  ASSERT_TRUE(page.ImportFromDive(group, 1, false, true, false));
  EXPECT_EQ(page.Inputs().gfLow, 35);
  EXPECT_NEAR(page.Inputs().ascentRate, 9 * 3.2568, 1e-9);
  EXPECT_EQ(page.DescentSchedule().Count(), 0) << "gas switches not asked for";
  ASSERT_TRUE(page.ImportFromDive(group, 1, true, true, true));
  EXPECT_EQ(page.Inputs().gfHigh, 90);
  EXPECT_NEAR(page.Inputs().ascentRate, 12 * 3.2568, 1e-9);
  EXPECT_EQ(Texts(page.DescentSchedule()), std::vector<std::string>{"0.00,21.00,35.00,1,1.30,1"});
  EXPECT_FALSE(page.ImportFromDive(group, 2, false, true, true));
}

}  // namespace
}  // namespace kv
