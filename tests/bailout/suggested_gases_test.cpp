// The planner's own choice of bailout gases: switch depths, mixes, the
// counter-diffusion optimisation, the CNS fit and the questions on the number
// of switches. The complete plans are checked by hand against the formulas;
// tests/reference/bailout_formulas.py repeats the arithmetic.

#include <gtest/gtest.h>

#include <cmath>

#include "bailout_test_util.h"

namespace kv {
namespace {

using Strings = std::vector<std::string>;

class SuggestedGases : public test::BailoutFixture {
protected:
  // A closed-circuit 10/70 dive (setpoint 0.7 at the surface, 1.3 at depth)
  // to depth for 25 minutes (or seconds), bailing out at the end of the bottom time.
  void BailOutAtTheBottom(double depth, int switches, double maxPpo2, double maxCns = 100.0, int seconds = 1500) {
    SetPoints({{0, 0, 10, 70, 0.7}, {depth, seconds}});
    dive->SetBailoutNoOfGasSwitches(switches);
    dive->SetBailoutMaxPpo2(maxPpo2);
    dive->SetBailoutMaxCns(maxCns);
    ASSERT_TRUE(Calculate());
    calculationsBefore = owner->Calculations();
    ASSERT_TRUE(dive->SetBailout(seconds, false));
  }
  int PlanningCalculations() const { return owner->Calculations() - calculationsBefore; }
  // The dive calculated again on the first gases, as the counter-diffusion
  // optimisation saw it.
  void CalculateOnFirstGases(double maxPpo2) {
    CBailoutPlanner planner = Planner();
    dive->RestoreBailoutPlanPoints();
    planner.CalculateBailoutSwitchGases(maxPpo2, 1.0);
    ASSERT_TRUE(planner.AddBailoutGasSwitches());
    ASSERT_TRUE(Calculate());
  }
  int calculationsBefore = 0;
};

TEST(MaxGasSwitches, OneMoreFromEachDepthOn) {
  const std::pair<double, int> cases[] = {{0, 1},   {6.5, 1},  {6.99, 1}, {7, 2},   {9, 2},
                                          {10, 3},  {45, 10},  {55.9, 11}, {56, 12}, {60, 12}, {300, 12}};
  for (auto [depth, expected] : cases) EXPECT_EQ(MaxGasSwitchesForDepth(depth), expected) << depth;
}

// Ps 1.0, Pbo 5.0, n = 3: ratio min(5^(1/3), (5 / 1.6)^(1/2)) = 1.710; P1 = 2.924
// is 19.2 m, rounded to 18 m; P2 = 1.710 is 7.1 m, rounded to 6 m; P3 = 1.0.
TEST_F(SuggestedGases, SwitchDepthsFollowAConstantPressureRatio) {
  BailOutAtTheBottom(40, 3, 1.6);
  auto& s = dive->BailoutGasSwitches();
  EXPECT_DOUBLE_EQ(s[0].m_depth, 40.0);
  EXPECT_DOUBLE_EQ(s[1].m_depth, 18.0);
  EXPECT_DOUBLE_EQ(s[2].m_depth, 6.0);
  EXPECT_FALSE(s[3].m_inUse);
  EXPECT_TRUE(Questions().empty());
}

// 1.4 / 0.2 is 6.999999999999999 in doubles while the ratio to the surface
// from 60 m with one gas is exactly 7.0: equal, so no question. The one gas is
// floor(1.4 x 100 / 7.0) = 20 % oxygen (the ceiling cap 1.6 x 7 / (1 +
// 1.95) = 3.80 does not bind). The trigger recomputes the ceiling of the
// bailout second with the bailout GF 100/100 that the bailout calculation
// uses there (19.50 m; the dive's own GF 30/70 gave 33.66 m), so the EAD may
// rise by min(40, 60 - 19.50 + EAD 6.03) = 40 m: nitrogen (1 + 4) x 0.79 / 7 x
// 100 = 56.4, helium 80 - 56 = 24.
TEST_F(SuggestedGases, RatioEqualToTheLimitOnPaperAsksNothing) {
  BailOutAtTheBottom(60, 1, 1.4);
  EXPECT_TRUE(Questions().empty());
  EXPECT_NEAR(dive->Bailout().ceiling, 19.50, 0.01);
  EXPECT_NEAR(dive->Bailout().ead, 6.03, 0.01);
  EXPECT_EQ(Switches(), Strings{"60.0 20/24"});
  EXPECT_TRUE(dive->IsBailoutPlanValid());

  // With the bailout GF no higher than the dive's the ceiling is the dive's own.
  Reset(SPreviousDiveState{});
  dive->SetBailoutGfLow(30);
  dive->SetBailoutGfHigh(70);
  BailOutAtTheBottom(60, 1, 1.4);
  EXPECT_NEAR(dive->Bailout().ceiling, 33.66, 0.01);
  EXPECT_EQ(Switches(), Strings{"60.0 20/33"});
}

// Hand check of a complete plan without the counter-diffusion rules.
// Ps 1.0, Pbo 10.0, n = 3, Max PPO2 1.4, Max EAD 30, Ignore ICD.
// Depths: ratio min(10^(1/3) = 2.1544, (10 / 1.6)^(1/2) = 2.5) = 2.1544;
//   P1 = 4.6416 -> 36.4 m -> 36 m; P2 = 2.1544 -> 11.5 m -> 12 m; P3 = 1.0.
// Gases, every target 1.4 (ratio 1), nitrogen for an EAD of 30 m, (1 + 3) x 0.79 / P:
//   90 m: O2 floor(140 / 10) = 14, N2 31.6 -> He 86 - 31 = 55 (ceiling cap 1.6 x 10 / 4.72 = 3.39 does not bind);
//   36 m: O2 floor(140 / 4.6) = 30, N2 68.7 -> He 70 - 68 = 2;
//   12 m: O2 floor(140 / 2.2) = 63, N2 143.6 capped at 37 -> He 0.
// The CNS at the end (47.6 %) is within 100 %: nothing more.
TEST_F(SuggestedGases, HandCheckedPlanWithoutCounterDiffusionRules) {
  dive->SetBailoutMaxEad(30);
  dive->SetBailoutIgnoreIcd(true);
  BailOutAtTheBottom(90, 3, 1.4);
  EXPECT_EQ(Switches(), (Strings{"90.0 14/55", "36.0 30/2", "12.0 63% Nitrox"}));
  EXPECT_NEAR(dive->LastPrediction()->m_cns, 0.476, 0.001);
  EXPECT_TRUE(dive->IsBailoutPlanValid());
  EXPECT_EQ(PlanningCalculations(), 2) << "the planning's one calculation and the owner's";
}

// Hand check of the same plan under the counter-diffusion rules.
//   90 m: EAD limit min(30, 90 - ceiling 37.22 + EAD 14.47) = 30: 14/55 as above, N2 31;
//   36 m: nitrogen kept from the gas before, 31: 30/39; 12 m: 31 again: 63/6.
// Optimisation of switch 1: at the start second of the 36 m switch point the
// ceiling c and EAD e give margin 36 - c and target EAD min(e + margin, 30);
// N2 = floor((1 + target / 10) x 0.79 / 4.6 x 100), He = 70 - N2. Switch 2
// keeps its own nitrogen (63/6); its margin is below 2 m, which ends the loop.
TEST_F(SuggestedGases, HandCheckedPlanWithCounterDiffusionOptimisation) {
  dive->SetBailoutMaxEad(30);
  BailOutAtTheBottom(90, 3, 1.4);
  EXPECT_EQ(Switches(), (Strings{"90.0 14/55", "36.0 30/32", "12.0 63/6"}));
  EXPECT_EQ(PlanningCalculations(), 3) << "first gases, after the optimisation, and the owner's";

  // The margin and target of switch 1, read from the dive calculated on the first gases.
  CalculateOnFirstGases(1.4);
  EXPECT_EQ(Switches(), (Strings{"90.0 14/55", "36.0 30/39", "12.0 63/6"}));
  CBailoutPlanner planner = Planner();
  double margin = 0, target = 0;
  ASSERT_TRUE(planner.FindIcdSwitchValues(1, margin, target));
  EXPECT_NEAR(margin, 4.10, 0.01);
  EXPECT_NEAR(target, 12.15, 0.01);
  EXPECT_EQ(std::floor((1.0 + target / 10.0) * 0.79 / 4.6 * 100.0), 38.0);
  ASSERT_TRUE(planner.FindIcdSwitchValues(2, margin, target));
  EXPECT_LT(margin, 2.0);
}

// Two switches from 90 m after 10 minutes there (Max EAD 30): ratio
// min(10^(1/2), 10 / 1.6) = 3.162, so the second switch is at 21.6 -> 21 m,
// the shallowest. First gases 14/55 and 45/24 (nitrogen 31 kept). On arrival
// at 21 m the ceiling is 3.30 m above it, so the optimisation gives that gas
// the nitrogen of EAD min(e + 3.30, 30) = 5.46 m: floor(1.546 x 0.79 / 3.1 x
// 100) = 39, 45/16.
TEST_F(SuggestedGases, CounterDiffusionOptimisationReshapesTheShallowestSwitchToo) {
  dive->SetBailoutMaxEad(30);
  BailOutAtTheBottom(90, 2, 1.4, 100.0, 600);
  EXPECT_EQ(Switches(), (Strings{"90.0 14/55", "21.0 45/16"}));

  CalculateOnFirstGases(1.4);
  EXPECT_EQ(Switches(), (Strings{"90.0 14/55", "21.0 45/24"}));
  double margin = 0, target = 0;
  ASSERT_TRUE(Planner().FindIcdSwitchValues(1, margin, target));
  EXPECT_NEAR(margin, 3.30, 0.01);
  EXPECT_NEAR(target, 5.46, 0.01);
  EXPECT_EQ(std::floor((1.0 + target / 10.0) * 0.79 / 3.1 * 100.0), 39.0);
}

// Twelve switches from 90 m: ratio min(10^(1/12), (10 / 1.6)^(1/11)) = 1.1811,
// so the twelfth pressure is exactly 1.6 bar, the 6 m switch.
TEST_F(SuggestedGases, TwelveSwitchesAreSpacedDownToSixMetres) {
  BailOutAtTheBottom(90, 12, 1.6);
  std::vector<double> depths;
  for (const CGasSwitch& s : dive->BailoutGasSwitches()) depths.push_back(s.m_inUse ? s.m_depth : -1);
  EXPECT_EQ(depths, (std::vector<double>{90, 75, 63, 51, 42, 33, 27, 21, 15, 12, 9, 6}));
  EXPECT_TRUE(dive->IsBailoutPlanValid());
  // First gases (CNS 150 %), the counter-diffusion optimisation, one round of
  // the CNS fit (shallow PPO2 1.55: 91 %) and the owner's calculation.
  EXPECT_EQ(PlanningCalculations(), 4);
  EXPECT_LT(dive->LastPrediction()->m_cns, 1.0);
}

TEST_F(SuggestedGases, FewerGasesOnlyWhenTheUserAllowsIt) {
  env.prompt.answers = {true};
  BailOutAtTheBottom(9, 3, 1.6);  // at most 2 switches from 9 m
  EXPECT_EQ(Questions(), Strings{"Too many gases (3) for bailout.\n\nAllow the planner to reduce the number of gases?"});
  EXPECT_EQ(dive->BailoutSettings().noOfGasSwitches, 2);
  EXPECT_EQ(Switches(), (Strings{"9.0 84% Nitrox", "6.0 Oxygen"}));
  EXPECT_TRUE(dive->IsBailoutPlanValid());

  Reset(SPreviousDiveState{});
  env.prompt.answers = {false};
  BailOutAtTheBottom(9, 3, 1.6);
  EXPECT_EQ(dive->BailoutSettings().noOfGasSwitches, 3);
  EXPECT_FALSE(dive->IsBailoutPlanValid()) << "no switch depths were ever set";
  EXPECT_EQ(PlanningCalculations(), 0) << "nothing is calculated on unassigned gases";
}

// From 100 m with Max PPO2 1.0 one gas would span 11 bar against a limit of 5.
TEST_F(SuggestedGases, MoreGasesOnlyWhenTheUserAllowsIt) {
  env.prompt.answers = {true};
  BailOutAtTheBottom(100, 1, 1.0);
  EXPECT_EQ(Questions(), Strings{"Not enough gases (1) for bailout.\n\nAllow the planner to add gases?"});
  EXPECT_EQ(dive->BailoutSettings().noOfGasSwitches, 2) << "11^(1/2) = 3.32 is within 5";
  EXPECT_EQ(Switches(), (Strings{"100.0 9/56", "24.0 29/36"}));

  Reset(SPreviousDiveState{});
  env.prompt.answers = {false};
  BailOutAtTheBottom(100, 1, 1.0);
  EXPECT_FALSE(dive->IsBailoutPlanValid());
  EXPECT_EQ(dive->BailoutSettings().noOfGasSwitches, 1);
}

TEST_F(SuggestedGases, NoNumberOfSwitchesUpToTwelveIsEnoughForATinyMaxPpo2) {
  env.prompt.answers = {true};
  BailOutAtTheBottom(40, 1, 0.15);  // limit 0.75: no ratio can get below it
  EXPECT_EQ(Questions().size(), 1u);
  EXPECT_FALSE(dive->IsBailoutPlanValid());
  EXPECT_EQ(PlanningCalculations(), 0);
}

// One switch: the fit's exponent 1 / (n - 1) has no shallow gas to act on.
TEST_F(SuggestedGases, CnsFitWithOneGasEndsAtOnceWithTheWarning) {
  BailOutAtTheBottom(60, 1, 1.4, 5.0);
  EXPECT_EQ(Messages(), Strings{"Warning - Cannot Meet Max CNS% limit with current settings"});
  EXPECT_FALSE(dive->IsBailoutPlanValid());
  for (const CGasSwitch& s : dive->BailoutGasSwitches()) {
    EXPECT_TRUE(std::isfinite(s.m_oxygen));
    EXPECT_TRUE(std::isfinite(s.m_helium));
  }
  EXPECT_EQ(PlanningCalculations(), 2);
}

// Max CNS 1 %: every shallow PPO2 from 1.4 down to 0.5 is tried (19 rounds).
// The last round's ratio is (1.4 / 0.5)^(1/2) = 1.673: targets 0.837 -> 0.85
// at 36 m (floor(85 / 4.6) = 18 % oxygen) and 0.5 at 12 m (floor(50 / 2.2) = 22 %).
TEST_F(SuggestedGases, NoGasCanMeetMaxCnsEndsAfterTheLastShallowPpo2) {
  BailOutAtTheBottom(90, 3, 1.4, 1.0);
  EXPECT_EQ(Messages(), Strings{"Warning - Cannot Meet Max CNS% limit with current settings"});
  EXPECT_FALSE(dive->IsBailoutPlanValid());
  EXPECT_EQ(PlanningCalculations(), 2 + 19);
  EXPECT_EQ(Switches(), (Strings{"90.0 14/47", "36.0 18/43", "12.0 22/39"}));
  EXPECT_TRUE(dive->BailoutWalked()) << "the plan stands as last calculated";
}

}  // namespace
}  // namespace kv
