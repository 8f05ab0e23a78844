// The lists of depths and bottom times, and the validation of the page.

#include <gtest/gtest.h>

#include "support/test_support.h"
#include "tablegen/table_generation.h"
#include "tablegen_test_util.h"

namespace kv {
namespace {

using test::Cc;
using test::MessageTexts;
using test::Oc;

class ValidationTest : public ::testing::Test {
protected:
  ValidationTest() {
    test::SetRanges(page, 30, 40, 10, 20, 30, 10);
    test::SetSchedules(page, {Oc(0, 21)}, {});
  }
  void Set(void (*change)(STableGenerationInputs&)) {
    STableGenerationInputs in = page.Inputs();
    change(in);
    page.SetInputs(in);
  }

  test::CTestEnvironment env;
  CTableGeneration page;
};

TEST_F(ValidationTest, ListsStepToTheFinishAndEndOnIt) {
  test::SetRanges(page, 30, 45, 10, 20, 20, 5);
  EXPECT_EQ(page.DepthList(), (std::vector<double>{30, 40, 45}));
  EXPECT_EQ(page.BottomTimeList(), std::vector<int>{20});
  test::SetRanges(page, 30, 45, 0, 20, 45, -5);
  EXPECT_EQ(page.DepthList(), std::vector<double>{30}) << "a step of 0 gives the start only";
  EXPECT_EQ(page.BottomTimeList(), std::vector<int>{20});
  test::SetRanges(page, 30, 45, 5, 10, 25, 5);
  EXPECT_EQ(page.DepthList(), (std::vector<double>{30, 35, 40, 45}));
  EXPECT_EQ(page.BottomTimeList(), (std::vector<int>{10, 15, 20, 25}));
}

TEST_F(ValidationTest, FeetTurnedIntoMetresDoNotAddASecondFinish) {
  page.SetUnits(SDisplayUnits::Imperial());
  test::SetRanges(page, 100, 200, 10, 20, 30, 10);
  const std::vector<double> depths = page.DepthList();
  ASSERT_EQ(depths.size(), 11u);
  EXPECT_NEAR(depths.front(), 100 * 0.30705, 1e-9);
  EXPECT_NEAR(depths.back(), 200 * 0.30705, 1e-9);
}

TEST_F(ValidationTest, RangesThatCannotBeRunAreErrors) {
  test::SetRanges(page, 40, 30, 10, 30, 20, 5);
  EXPECT_FALSE(page.Validate());
  EXPECT_EQ(MessageTexts(page), (std::vector<std::string>{
                                    "The start depth 40 m is deeper than the finish depth 30 m",
                                    "The start duration 30 is longer than the finish duration 20",
                                }));
  EXPECT_EQ(page.DepthState(), kCheckError);
  EXPECT_EQ(page.DurationState(), kCheckError);
  EXPECT_EQ(page.DescentState(), kCheckFine);
  EXPECT_EQ(page.CombinedState(), kCheckError);
}

TEST_F(ValidationTest, FirstBottomTimeMustReachTheDeepestDepth) {
  test::SetRanges(page, 10, 30, 10, 2, 10, 2);
  Set([](STableGenerationInputs& in) { in.descentRate = 10; });
  EXPECT_FALSE(page.Validate());
  ASSERT_EQ(page.Messages().size(), 1u);
  EXPECT_EQ(page.Messages()[0].text,
            "The start duration 2 (mins) and descent rate 10 (m/min) prevent you from reaching depth 30 (m)");
  EXPECT_EQ(page.Messages()[0].state, kCheckError);
  EXPECT_EQ(page.DescentState(), kCheckError);
  EXPECT_FALSE(page.Generate());
  EXPECT_EQ(page.PlanCount(), 0) << "no run";

  Set([](STableGenerationInputs& in) { in.durationStart = 3; });
  EXPECT_TRUE(page.Validate()) << "30 m in exactly 3 minutes is reachable";
}

TEST_F(ValidationTest, EndlessRangesAreRefused) {
  test::SetRanges(page, 10, 100, 0.01, 10, 100000, 1);
  EXPECT_FALSE(page.Validate());
  EXPECT_EQ(MessageTexts(page), (std::vector<std::string>{
                                    "The depth range gives more than 200 table depths",
                                    "The duration range gives more than 200 bottom times",
                                }));
  EXPECT_TRUE(page.DepthList().empty());
}

TEST_F(ValidationTest, EveryTableDepthNeedsADescentGas) {
  CTableGeneration p;
  test::SetRanges(p, 10, 30, 10, 20, 20, 5);
  EXPECT_FALSE(p.Validate()) << "no descent gas at all";
  EXPECT_EQ(MessageTexts(p), std::vector<std::string>{"No descent gas is in use at 10 m"});
  test::SetSchedules(p, {Oc(20, 21)}, {});
  EXPECT_FALSE(p.Validate()) << "none above 20 m";
  test::SetRanges(p, 20, 30, 10, 20, 20, 5);
  EXPECT_TRUE(p.Validate());
}

TEST_F(ValidationTest, EachGasIsReportedOnceWhereverItIsBreathed) {
  // 10/70 is hypoxic at the surface; 32 % is hyperoxic at 50 m but not at
  // 40 m, so the finding comes with the second table depth.
  CTableGeneration p;
  test::SetRanges(p, 40, 50, 10, 30, 30, 5);
  test::SetSchedules(p, {Oc(0, 10, 70), Oc(20, 32)}, {});
  EXPECT_FALSE(p.Validate());
  EXPECT_EQ(MessageTexts(p), (std::vector<std::string>{
                                 "Descent Gas 0 m - PPO2 of 0.10 is Hypoxic (0.16 limit) at 0 m (Fail)",
                                 "Descent Gas 20 m - PPO2 of 1.92 is Hyperoxic (1.60 limit) at 50 m (Fail)",
                             }));
  EXPECT_EQ(p.SwitchState(true, 0), kCheckError);
  EXPECT_EQ(p.SwitchState(true, 1), kCheckError);
}

TEST_F(ValidationTest, BottomGasIsCheckedUpToTheFirstDecoSwitch) {
  // 8/70 is fine at the 60 m bottom but hypoxic where the ascent leaves it
  // at 6 m; when 50 % takes over at 21 m it is not.
  CTableGeneration p;
  test::SetRanges(p, 60, 60, 10, 20, 20, 5);
  test::SetSchedules(p, {Oc(0, 8, 70)}, {Oc(6, 100)});
  p.Validate();
  EXPECT_EQ(MessageTexts(p), std::vector<std::string>{
                                 "Descent Gas 0 m - PPO2 of 0.13 is Hypoxic (0.16 limit) at 6 m (Fail)"});

  CTableGeneration q;
  test::SetRanges(q, 60, 60, 10, 20, 20, 5);
  test::SetSchedules(q, {Oc(0, 21), Oc(21, 8, 70)}, {Oc(21, 50), Oc(6, 100)});
  EXPECT_TRUE(q.Validate());
  EXPECT_TRUE(q.Messages().empty()) << MessageTexts(q).front();
}

// A switch exactly at a table depth is made on arrival there: 50 % is the
// bottom gas of the 40 m tables (2.50 bar) and 80 % is breathed from 21 m up.
TEST_F(ValidationTest, SwitchExactlyAtATableDepthIsCheckedAtThatDepth) {
  CTableGeneration p;
  test::SetRanges(p, 40, 40, 10, 20, 20, 5);
  test::SetSchedules(p, {Oc(0, 21), Oc(40, 50)}, {});
  EXPECT_FALSE(p.Validate());
  EXPECT_EQ(MessageTexts(p), std::vector<std::string>{
                                 "Descent Gas 40 m - PPO2 of 2.50 is Hyperoxic (1.60 limit) at 40 m (Fail)"});
  EXPECT_EQ(p.SwitchState(true, 1), kCheckError);

  CTableGeneration q;
  test::SetRanges(q, 21, 21, 10, 20, 20, 5);
  test::SetSchedules(q, {Oc(0, 21)}, {Oc(21, 80)});
  EXPECT_FALSE(q.Validate());
  EXPECT_EQ(MessageTexts(q), std::vector<std::string>{
                                 "Ascent Gas 21 m - PPO2 of 2.48 is Hyperoxic (1.60 limit) at 21 m (Fail)"});
}

TEST_F(ValidationTest, SurfacePressureCountsAsDepthButMessagesNameTheSwitchDepth) {
  CTableGeneration p;
  test::SetRanges(p, 20, 20, 10, 20, 20, 5);
  test::SetSchedules(p, {Oc(0, 21)}, {Oc(6, 100)});
  EXPECT_TRUE(p.Validate()) << "oxygen at 6 m is 1.60 bar";
  STableGenerationInputs in = p.Inputs();
  in.surfacePressure = 1013;
  p.SetInputs(in);
  EXPECT_FALSE(p.Validate());
  EXPECT_EQ(MessageTexts(p), std::vector<std::string>{
                                 "Ascent Gas 6 m - PPO2 of 1.61 is Hyperoxic (1.60 limit) at 6 m (Fail)"});
}

TEST_F(ValidationTest, NarcoticGasIsAWarningThatStillAllowsTheRun) {
  CTableGeneration p;
  test::SetRanges(p, 40, 50, 10, 20, 20, 5);
  STableGenerationInputs in = p.Inputs();
  in.maxEad = 40;
  p.SetInputs(in);
  test::SetSchedules(p, {Oc(0, 21), Cc(10, 21, 0, 1.3)}, {});
  EXPECT_TRUE(p.Validate());
  // Air is breathed down to the 10 m switch only; the air diluent at a 1.3
  // bar setpoint has an EAD of 37 m at 40 m and of 49 m at 50 m.
  EXPECT_EQ(MessageTexts(p), std::vector<std::string>{
                                 "Descent Gas 10 m - EAD 49 m at depth 50 m for this gas exceeds the 40 m Max EAD "
                                 "limit (Warning)"});
  EXPECT_EQ(p.Messages()[0].state, kCheckWarning);
  EXPECT_EQ(p.SwitchState(true, 1), kCheckWarning);
  EXPECT_EQ(p.CombinedState(), kCheckWarning);
  EXPECT_TRUE(p.IsRunAllowed());
}

TEST_F(ValidationTest, FindingsComePerDepthDescentGasesFirst) {
  CTableGeneration p;
  test::SetRanges(p, 20, 40, 20, 20, 20, 5);
  STableGenerationInputs in = p.Inputs();
  in.maxEad = 30;
  p.SetInputs(in);
  test::SetSchedules(p, {Oc(0, 21), Oc(30, 21)}, {Oc(15, 80)});
  p.Validate();
  // Air at 30 m is a duplicate of the first entry and goes; at 20 m air and
  // 80 % are fine, at 40 m air is narcotic and 80 % is checked again.
  ASSERT_EQ(p.DescentSchedule().Count(), 1);
  EXPECT_EQ(MessageTexts(p), (std::vector<std::string>{
                                 "Ascent Gas 15 m - PPO2 of 2.00 is Hyperoxic (1.60 limit) at 15 m (Fail)",
                                 "Descent Gas 0 m - EAD 40 m at depth 40 m for this gas exceeds the 30 m Max EAD "
                                 "limit (Warning)",
                             }));
}

}  // namespace
}  // namespace kv
