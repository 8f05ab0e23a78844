// The snapshot a front end takes of the preferences, and what a plan takes
// from it: the defaults of new plans and dives, the calculation settings and
// the report options, all with one set of units.

#include <gtest/gtest.h>

#include "frontend/preference_snapshots.h"
#include "support/test_support.h"

namespace kv {
namespace {

class PreferenceSnapshotTest : public ::testing::Test {
protected:
  test::CTestEnvironment env;
};

TEST_F(PreferenceSnapshotTest, TakesEveryValueTheCoreNeedsWithOneSetOfUnits) {
  env.store->numbers["General\\Units"] = 1;
  env.store->numbers["Debug Level"] = 3;
  env.store->numbers["General\\First Ascent Option"] = 1;
  env.store->numbers["General\\Printing Direction"] = 0;
  env.store->numbers["General\\Time Units"] = 1;
  env.store->texts["General\\Diver ID"] = "A. Diver";
  env.store->numbers["Dive\\SAC Rate"] = 25500;
  env.store->numbers["Dive\\GF Low"] = 35;
  env.store->numbers["Bailout\\Max CNS"] = 150000;
  env.store->numbers["Bailout\\Use Bailout Gas List"] = 1;
  env.store->texts["Bailout Gas List\\Gas Mix 01"] = "21/35,50/0";
  env.store->numbers["Dive Plan\\Default Cylinder Working Pressure"] = 232000;
  env.store->numbers["Dive Plan\\Default Gas Reserve"] = 40;
  const SPreferenceSnapshot s = TakePreferenceSnapshot();
  EXPECT_TRUE(s.units.imperial);
  EXPECT_TRUE(s.calculation.units.imperial);
  EXPECT_TRUE(s.report.units.imperial);
  EXPECT_EQ(s.calculation.debugLevel, 3);
  EXPECT_TRUE(s.calculation.detailedFirstAscent);
  EXPECT_EQ(s.calculation.extendedPlanning, EExtendedPlanning::Ask);
  EXPECT_FALSE(s.report.runTimeAscending);
  EXPECT_TRUE(s.report.minutesAndSeconds);
  EXPECT_EQ(s.report.diverName, "A. Diver");
  EXPECT_DOUBLE_EQ(s.defaults.dive.dive.sacRate, 25.5);
  EXPECT_DOUBLE_EQ(s.defaults.dive.dive.gfLow, 35);
  EXPECT_DOUBLE_EQ(s.defaults.dive.dive.gfHigh, 80) << "a default of the preferences";
  EXPECT_DOUBLE_EQ(s.defaults.dive.dive.lastDecoStop, 6);
  EXPECT_DOUBLE_EQ(s.defaults.dive.bailout.maxCns, 150);
  EXPECT_TRUE(s.defaults.dive.bailout.useBailoutGasList);
  EXPECT_EQ(s.defaults.dive.bailoutGasList, "21/35,50/0");
  EXPECT_DOUBLE_EQ(s.defaults.cylinderWorkingPressure, 232);
  EXPECT_DOUBLE_EQ(s.defaults.gasReserve, 40);
}

TEST_F(PreferenceSnapshotTest, APlanTakesTheDefaultsAndLaterChangesOnlyForNewDives) {
  env.store->numbers["Dive\\GF Low"] = 35;
  env.store->numbers["Dive Plan\\Default Gas Reserve"] = 40;
  CPlanGroup plan;
  ApplyPreferences(plan, TakePreferenceSnapshot());
  EXPECT_DOUBLE_EQ(plan.GetDive(0)->GetGfLow(), 35) << "every dive, as on a new plan";
  EXPECT_DOUBLE_EQ(plan.GetGasReserve(), 40);

  Prefs().SetNumber(EPref::DiveGfLow, 45);
  Prefs().SetNumber(EPref::DefaultGasReserve, 20);
  Prefs().SetNumber(EPref::Units, 1);
  ApplyChangedPreferences(plan, TakePreferenceSnapshot());
  EXPECT_DOUBLE_EQ(plan.GetDive(0)->GetGfLow(), 35) << "an existing dive keeps its settings";
  EXPECT_DOUBLE_EQ(plan.GetGasReserve(), 40) << "the plan keeps its own";
  EXPECT_TRUE(plan.GetCalculationSettings().units.imperial) << "calculations use the new settings";
  ASSERT_TRUE(plan.AddDivePlan());
  EXPECT_DOUBLE_EQ(plan.GetDive(1)->GetGfLow(), 45) << "a dive added later takes the new default";
}

}  // namespace
}  // namespace kv
