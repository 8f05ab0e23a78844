#include "gas/gas_switch.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace kv {
namespace {

CGasSwitch Sw(double depth, double oxygen, double helium, bool cc, double setpoint) {
  CGasSwitch s;
  s.Set(depth, oxygen, helium, cc, setpoint, true);
  return s;
}

TEST(GasSwitchText, RoundTripsEveryField) {
  CGasSwitch s = Sw(21, 50, 0, false, 0);
  EXPECT_EQ(s.ToText(), "21.00,50.00,0.00,0,0.00,1");
  CGasSwitch back;
  ASSERT_TRUE(back.FromText(Sw(6.5, 18, 45, true, 1.3).ToText()));
  EXPECT_DOUBLE_EQ(back.m_depth, 6.5);
  EXPECT_DOUBLE_EQ(back.m_oxygen, 18);
  EXPECT_DOUBLE_EQ(back.m_helium, 45);
  EXPECT_TRUE(back.m_closedCircuit);
  EXPECT_DOUBLE_EQ(back.m_setpoint, 1.3);
  EXPECT_TRUE(back.m_inUse);
}

TEST(GasSwitchText, StoredDefaultsRead) {
  CGasSwitch travel;
  ASSERT_TRUE(travel.FromText("0.00,21.00,0.00,1,0.70,1"));
  EXPECT_EQ(travel.GasName(), "Air");
  EXPECT_DOUBLE_EQ(travel.m_setpoint, 0.7);
  CGasSwitch empty;
  ASSERT_TRUE(empty.FromText("0.00,0.00,0.00,0,0.00,0"));
  EXPECT_FALSE(empty.m_inUse);
  EXPECT_EQ(empty.GasName(), "");
  EXPECT_EQ(empty.ToText(), "0.00,0.00,0.00,0,0.00,0");
}

TEST(GasSwitchText, WrongFieldCountLeavesSlotUnused) {
  for (const char* text : {"", "3.00,21.00,0.00,1,0.70", "3.00,21.00,0.00,1,0.70,1,7"}) {
    CGasSwitch s = Sw(3, 21, 0, true, 0.7);
    EXPECT_FALSE(s.FromText(text)) << text;
    EXPECT_FALSE(s.m_inUse) << text;
  }
}

TEST(GasSwitchText, FlagsAreTrueOnlyForOne) {
  CGasSwitch s;
  ASSERT_TRUE(s.FromText("3,21,0,2,0.7,x"));
  EXPECT_FALSE(s.m_closedCircuit);
  EXPECT_FALSE(s.m_inUse);
  ASSERT_TRUE(s.FromText("abc,21,0, 1,0.7,1"));
  EXPECT_DOUBLE_EQ(s.m_depth, 0);  // an unreadable number reads as 0
  EXPECT_TRUE(s.m_closedCircuit);
}

TEST(GasSwitch, ClearRestoresDefaults) {
  CGasSwitch s = Sw(30, 18, 45, false, 1.2);
  s.m_tag = 7;
  s.Clear();
  EXPECT_EQ(s.m_depth, 0);
  EXPECT_EQ(s.m_oxygen, 0);
  EXPECT_TRUE(s.m_closedCircuit);
  EXPECT_FALSE(s.m_inUse);
  EXPECT_EQ(s.m_tag, 0);
}

TEST(GasSwitch, SameBreathingIgnoresSetpointOnlyOnOpenCircuit) {
  EXPECT_TRUE(Sw(3, 50, 0, false, 0).SameBreathing(Sw(9, 50, 0, false, 1.2)));
  EXPECT_FALSE(Sw(3, 21, 0, true, 0.7).SameBreathing(Sw(9, 21, 0, true, 1.3)));
  EXPECT_TRUE(Sw(3, 21, 0, true, 0.7).SameBreathing(Sw(9, 21, 0, true, 0.7)));
  EXPECT_FALSE(Sw(3, 21, 0, true, 0.7).SameBreathing(Sw(9, 21, 0, false, 0.7)));
  EXPECT_FALSE(Sw(3, 18, 45, false, 0).SameBreathing(Sw(9, 18, 40, false, 0)));
}

class ScheduleTest : public ::testing::Test {
protected:
  test::CTestEnvironment env;
  const std::vector<test::CScriptedPrompt::SShown>& Shown() { return env.prompt.shown; }
};

TEST_F(ScheduleTest, AddKeepsDepthOrderAndSelectsNewEntry) {
  CGasSwitchSchedule deco(false);
  ASSERT_TRUE(deco.Add(Sw(21, 50, 0, false, 0)));
  ASSERT_TRUE(deco.Add(Sw(6, 100, 0, false, 0)));
  ASSERT_TRUE(deco.Add(Sw(9, 80, 0, false, 0)));
  ASSERT_EQ(deco.Count(), 3);
  EXPECT_EQ(deco.At(0).m_depth, 6);
  EXPECT_EQ(deco.At(1).m_depth, 9);
  EXPECT_EQ(deco.At(2).m_depth, 21);
  EXPECT_EQ(deco.Selected(), 1);
  EXPECT_TRUE(Shown().empty());
}

TEST_F(ScheduleTest, ThirteenthSwitchIsRefused) {
  CGasSwitchSchedule deco(false);
  for (int i = 0; i < 12; ++i) ASSERT_TRUE(deco.Add(Sw(3 * (i + 1), 20 + 5 * i, 0, false, 0)));
  EXPECT_FALSE(deco.Add(Sw(40, 15, 50, false, 0)));
  EXPECT_EQ(deco.Count(), 12);
  ASSERT_EQ(Shown().size(), 1u);
  EXPECT_EQ(Shown()[0].text, "Maximum limit of 12 Gas Switches.\n\nUnable to add additional items");
  EXPECT_EQ(Shown()[0].icon, EIcon::Exclamation);
}

TEST_F(ScheduleTest, RepeatedDepthIsRefusedEvenForAnotherGas) {
  CGasSwitchSchedule deco(false);
  deco.Add(Sw(21, 50, 0, false, 0));
  EXPECT_FALSE(deco.Add(Sw(21, 32, 0, false, 0)));
  EXPECT_EQ(deco.Count(), 1);
  EXPECT_EQ(deco.At(0).m_oxygen, 50);
  ASSERT_EQ(Shown().size(), 1u);
  EXPECT_EQ(Shown()[0].text, "Depth already exists.\n\nUse Update to modify an item");
}

TEST_F(ScheduleTest, QuietScheduleShowsNothing) {
  CGasSwitchSchedule deco(false);
  deco.SetQuiet(true);
  deco.Add(Sw(21, 50, 0, false, 0));
  deco.Add(Sw(21, 50, 0, false, 0));
  deco.Add(Sw(6, 50, 0, false, 0));
  EXPECT_EQ(deco.Count(), 1);
  EXPECT_TRUE(Shown().empty());
}

TEST_F(ScheduleTest, DescentDuplicateKeepsSurfaceEntry) {
  CGasSwitchSchedule travel(true);
  travel.Add(Sw(0, 21, 0, true, 0.7));
  travel.Add(Sw(20, 21, 0, true, 0.7));
  ASSERT_EQ(travel.Count(), 1);
  EXPECT_EQ(travel.At(0).m_depth, 0);
  EXPECT_FALSE(travel.At(1).m_inUse);
  ASSERT_EQ(Shown().size(), 1u);
  EXPECT_EQ(Shown()[0].text, "Duplicate gas switches @ 20 m and 0 m\n\nRemoving 20 m gas switch");
}

TEST_F(ScheduleTest, DescentDuplicateAfterFirstKeepsShallower) {
  CGasSwitchSchedule travel(true);
  travel.SetQuiet(true);
  travel.Add(Sw(0, 21, 0, true, 0.7));
  travel.Add(Sw(10, 18, 45, false, 0));
  travel.Add(Sw(30, 18, 45, false, 0));
  ASSERT_EQ(travel.Count(), 2);
  EXPECT_EQ(travel.At(1).m_depth, 10);
}

TEST_F(ScheduleTest, AscentDuplicateKeepsDeeperInFeet) {
  CGasSwitchSchedule deco(false);
  deco.SetUnits(SDisplayUnits::Imperial());
  deco.Add(Sw(21, 50, 0, false, 0));
  deco.Add(Sw(6, 50, 0, false, 1.0));  // a stored OC setpoint does not matter
  ASSERT_EQ(deco.Count(), 1);
  EXPECT_EQ(deco.At(0).m_depth, 21);
  ASSERT_EQ(Shown().size(), 1u);
  // 6 m and 21 m at 3.2568 ft per metre
  EXPECT_EQ(Shown()[0].text, "Duplicate gas switches @ 20 ft and 68 ft\n\nRemoving 20 ft gas switch");
}

TEST_F(ScheduleTest, ClosedCircuitSwitchesWithOtherSetpointsStay) {
  CGasSwitchSchedule deco(false);
  deco.Add(Sw(6, 21, 0, true, 1.3));
  deco.Add(Sw(21, 21, 0, true, 1.0));
  EXPECT_EQ(deco.Count(), 2);
  EXPECT_TRUE(Shown().empty());
}

TEST_F(ScheduleTest, DeleteProtectsDescentFirstEntry) {
  CGasSwitchSchedule travel(true);
  travel.Add(Sw(0, 21, 0, true, 0.7));
  travel.Add(Sw(10, 18, 45, false, 0));
  EXPECT_FALSE(travel.Delete(0));
  EXPECT_FALSE(travel.Delete(2));
  EXPECT_FALSE(travel.Delete(-1));
  EXPECT_EQ(travel.Count(), 2);
  EXPECT_TRUE(travel.Delete(1));
  EXPECT_EQ(travel.Count(), 1);
  EXPECT_FALSE(travel.At(1).m_inUse);

  CGasSwitchSchedule deco(false);
  deco.Add(Sw(6, 100, 0, false, 0));
  deco.Add(Sw(21, 50, 0, false, 0));
  EXPECT_TRUE(deco.Delete(0));
  ASSERT_EQ(deco.Count(), 1);
  EXPECT_EQ(deco.At(0).m_depth, 21);
}

TEST_F(ScheduleTest, UpdateResortsAndAppliesDuplicateRule) {
  CGasSwitchSchedule deco(false);
  deco.SetQuiet(true);
  deco.Add(Sw(6, 100, 0, false, 0));
  deco.Add(Sw(21, 50, 0, false, 0));
  deco.Add(Sw(36, 35, 25, false, 0));
  EXPECT_FALSE(deco.Update(Sw(9, 80, 0, false, 0), 3));
  ASSERT_TRUE(deco.Update(Sw(40, 100, 0, false, 0), 0));
  EXPECT_EQ(deco.At(2).m_depth, 40);
  EXPECT_EQ(deco.Selected(), 2);
  // 50% at 21 m changed to 35/25 joins the 36 m entry: the deeper stays.
  ASSERT_TRUE(deco.Update(Sw(21, 35, 25, false, 0), 0));
  ASSERT_EQ(deco.Count(), 2);
  EXPECT_EQ(deco.At(0).m_depth, 36);
  EXPECT_EQ(deco.Selected(), 0);
}

TEST_F(ScheduleTest, UpdateRefusesOccupiedDepthAndMovingSurfaceEntry) {
  CGasSwitchSchedule travel(true);
  travel.Add(Sw(0, 21, 0, true, 0.7));
  travel.Add(Sw(10, 18, 45, false, 0));
  travel.Add(Sw(20, 15, 55, false, 0));
  EXPECT_FALSE(travel.Update(Sw(5, 21, 0, true, 0.7), 0));
  EXPECT_TRUE(Shown().empty());
  EXPECT_FALSE(travel.Update(Sw(20, 18, 45, false, 0), 1));
  ASSERT_EQ(Shown().size(), 1u);
  EXPECT_EQ(Shown()[0].text, "Depth already exists.\n\nUse Update to modify an item");
  EXPECT_TRUE(travel.Update(Sw(0, 21, 0, true, 1.3), 0));
  EXPECT_EQ(travel.At(0).m_setpoint, 1.3);
}

TEST_F(ScheduleTest, SetFromArrayPacksEntriesInUse) {
  GasSwitchArray stored{};
  stored[0] = Sw(3, 21, 0, true, 0.7);
  stored[4] = Sw(21, 50, 0, false, 0);
  stored[7] = Sw(6, 100, 0, false, 0);
  CGasSwitchSchedule deco(false);
  deco.SetFromArray(stored);
  ASSERT_EQ(deco.Count(), 3);
  EXPECT_EQ(deco.At(0).m_depth, 3);
  EXPECT_EQ(deco.At(1).m_depth, 6);
  EXPECT_EQ(deco.At(2).m_depth, 21);
  EXPECT_FALSE(deco.At(3).m_inUse);
  deco.ClearAll();
  EXPECT_EQ(deco.Count(), 0);
  EXPECT_EQ(deco.Selected(), -1);
}

TEST_F(ScheduleTest, RawListIsSortedThenCleaned) {
  // A dive's ascent gases arrive in time order, deepest first.
  GasSwitchArray list{};
  list[0] = Sw(21, 50, 0, false, 0);
  list[1] = Sw(9, 50, 0, false, 0);
  list[2] = Sw(6, 100, 0, false, 0);
  list[3] = Sw(3, 100, 0, false, 0);
  int count = 4;
  int tracked = 3;  // the 3 m oxygen switch, which goes in favour of 6 m
  EXPECT_TRUE(RemoveDuplicateSwitches(list, count, false, true, SDisplayUnits::Metric(), &tracked));
  ASSERT_EQ(count, 2);
  EXPECT_EQ(list[0].m_depth, 6);
  EXPECT_EQ(list[1].m_depth, 21);
  EXPECT_EQ(tracked, 0);
  EXPECT_TRUE(Shown().empty());

  int none = 1;
  EXPECT_FALSE(RemoveDuplicateSwitches(list, none, false, false, SDisplayUnits::Metric()));
  int tooMany = 40;
  RemoveDuplicateSwitches(list, tooMany, false, true, SDisplayUnits::Metric());
  EXPECT_LE(tooMany, kMaxGasSwitches);
}

}  // namespace
}  // namespace kv
