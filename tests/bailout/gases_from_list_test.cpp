// Bailout gases picked from the dive's bailout gas list: the checks of every
// step, the counter-diffusion repair and the CNS fit that lowers the working
// Max PPO2. The complete plans are checked by hand against the formulas;
// tests/reference/bailout_formulas.py repeats the arithmetic.

#include <gtest/gtest.h>

#include "bailout_test_util.h"

namespace kv {
namespace {

using Strings = std::vector<std::string>;

class GasesFromList : public test::BailoutFixture {
protected:
  // A closed-circuit 10/50 dive: 20 m for 2 minutes, then depth until 27:00,
  // bailing out at its end (second 1620) on the gases of list.
  void BailOutOnList(const std::string& list, double depth = 70.0) {
    dive->SetGfHigh(75);
    SetPoints({{0, 0, 10, 50, 0.7}, {20, 120, 10, 50}, {depth, 1500, 10, 50}});
    dive->SetBailoutUseGasList(true);
    dive->SetBailoutGasList(list);
    ASSERT_TRUE(Calculate());
    calculationsBefore = owner->Calculations();
    ASSERT_TRUE(dive->SetBailout(1620, false));
  }
  int PlanningCalculations() const { return owner->Calculations() - calculationsBefore; }
  int calculationsBefore = 0;
};

TEST_F(GasesFromList, EmptyOrUnreadableListsPlanNothing) {
  for (const char* list : {"", "50%, Oxygen, air, 0/0, 60/50, /"}) {
    SCOPED_TRACE(list);
    Reset(SPreviousDiveState{});
    env.prompt.shown.clear();
    BailOutOnList(list);
    EXPECT_EQ(Messages(), Strings{"Warning - No gases in list"});
    EXPECT_FALSE(dive->IsBailoutPlanValid());
    EXPECT_EQ(PlanningCalculations(), 0);
  }
}

// Air with Max EAD 30: eadLim = (1 + 3) x 0.79 x 100 / 79 = 4.0, below Pbo 5.0.
TEST_F(GasesFromList, AirAloneCannotBeBreathedAtFortyMetresWithMaxEad30) {
  dive->SetBailoutMaxEad(30);
  BailOutOnList("21/0", 40);
  EXPECT_EQ(Messages(), Strings{"Warning - No gas suitable at bailout depth with current gases and settings"});
  EXPECT_FALSE(dive->IsBailoutPlanValid());
}

TEST_F(GasesFromList, TheRichestGasMustBeBreathableAtTheSurface) {
  BailOutOnList("18/45,10/70");
  EXPECT_EQ(Messages(), Strings{"Warning - No gas suitable at surface with current gases and settings"});
}

// 10/70 cannot reach the surface (PPO2 0.2 at 2.0 bar) and oxygen starts only at 1.6 bar.
TEST_F(GasesFromList, AGapBetweenTheGasesIsRefused) {
  BailOutOnList("10/70,100/0");
  EXPECT_EQ(Messages(),
            Strings{"Warning - Gases do not overlap from bailout depth to surface with current gases and settings"});
}

// Only the first 12 readable gases count: the 13th, the only one usable at
// 70 m, is left out, and the same gas as the 12th is planned on.
TEST_F(GasesFromList, GasesBeyondTheTwelfthAreLeftOut) {
  const std::string rich = "100/0,95/0,90/0,85/0,80/0,75/0,70/0,65/0,60/0,55/0,50/0,";
  BailOutOnList(rich + "45/0,15/55");
  EXPECT_EQ(Messages(), Strings{"Warning - No gas suitable at bailout depth with current gases and settings"});

  Reset(SPreviousDiveState{});
  env.prompt.shown.clear();
  BailOutOnList(rich + "15/55,45/0");
  EXPECT_TRUE(dive->IsBailoutPlanValid());
  EXPECT_EQ(Switches().front(), "70.0 15/55");
}

TEST_F(GasesFromList, IdenticalGasesAreOneGas) {
  BailOutOnList("15/55,21/35,21/35,50/0,100/0");
  EXPECT_EQ(Switches(), (Strings{"70.0 15/55", "66.0 21/35", "6.0 Oxygen"}));
}

// 20 % oxygen breathes exactly 0.20 at the surface (minPamb 1.0 = Ps at
// 1000 mbar); it is not left to reach the surface alone, so 50/10 after it,
// although it has more helium, is kept.
//   15/55 maxPamb 10.67; 20/0 eadLim 5 x 79 / 80 = 4.94 -> 39 m; 50/10 ppo2Lim 3.2 -> 21 m.
TEST_F(GasesFromList, LastGasIsKeptWhenThePreviousOnlyJustReachesTheSurface) {
  dive->SetBailoutIgnoreIcd(true);
  dive->SetBailoutIgnoreCns(true);
  BailOutOnList("15/55,20/0,50/10");
  EXPECT_EQ(Switches(), (Strings{"70.0 15/55", "39.0 20% Nitrox", "21.0 50/10"}));
  EXPECT_TRUE(dive->IsBailoutPlanValid());
}

// Hand check of a complete plan with a counter-diffusion repair. Ps 1.0,
// Pbo 8.0, working Max PPO2 w = 1.6, Max EAD 40:
//   gas    ppo2Lim = 160 / O2   eadLim = 5 x 79 / N2   maxPamb   minPamb = 20 / O2   pEadZero = 79 / N2
//   15/55  10.67                13.17                  10.67     1.33                2.63
//   21/35   7.62                 8.98                   7.62     0.95                1.80
//   50/0    3.20                 7.90                   3.20     0.40                1.58
//   100/0   1.60                 (1.60)                 1.60     0.20                (1.60)
// Step 2: richest first, the first usable at 8.0 is 15/55; all four form the base.
// Step 3: by maxPamb 15/55, 21/35, 50/0, 100/0, each no more helium and more
// oxygen than the one before; switch depths 10 x (maxPamb - 1) truncated to
// 3 m: 66.2 -> 66, 22 -> 21, 6 -> 6. Round 1: 70 15/55, 66 21/35, 21 50 %, 6 O2.
// The switch to 50 % at 21 m is an ICD risk, so its maxPamb becomes its
// pEadZero 1.58; sorted again oxygen (1.60) comes before it, and 50 % (less
// oxygen, last, oxygen reaches the surface) is dropped.
// Round 2: 70 15/55, 66 21/35, 6 O2; no ICD risk; CNS 82.7 % < 100 %.
TEST_F(GasesFromList, HandCheckedPlanWithACounterDiffusionRepair) {
  CaptureLog();
  BailOutOnList("15/55,21/35,50/0,100/0");
  EXPECT_EQ(Switches(), (Strings{"70.0 15/55", "66.0 21/35", "6.0 Oxygen"}));
  EXPECT_TRUE(dive->IsBailoutPlanValid());
  EXPECT_NEAR(dive->LastPrediction()->m_cns, 0.827, 0.001);
  EXPECT_DOUBLE_EQ(dive->BailoutSettings().maxPpo2, 1.6);
  EXPECT_EQ(PlanningCalculations(), 3) << "two rounds and the owner's calculation";
  const std::string log = LogText();
  EXPECT_NE(log.find("Bailout - S2 Depth 21.0 50% Nitrox"), std::string::npos) << "round 1";
  EXPECT_NE(log.find("Bailout - Base set prior to removing gas 50/00"), std::string::npos);
  EXPECT_NE(log.find("Bailout - Gas 02 50/00 ppo2Lim 3.20 eadLim 7.90 maxPamb 1.58 minPamb 0.40 pEadZero 1.58"),
            std::string::npos);
}

// Hand check of the CNS fit that lowers the working Max PPO2: with Max CNS
// 80 % the plan above (82.7 %) is not good enough; w 1.6 is above 1.5, so
// the next round plans with w = 1.5:
//   15/55 ppo2Lim 150 / 15 = 10.0; 21/35 150 / 21 = 7.14 -> 61.4 m -> 60 m;
//   50/0 3.0 -> 18 m, again an ICD risk: maxPamb 1.58, now deeper than
//   oxygen's 1.5; both round to 3 m, and of two gases at one depth the one
//   with less oxygen goes.
// CNS 18.3 % < 80 %: the plan stands and 1.5 becomes the bailout Max PPO2.
TEST_F(GasesFromList, HandCheckedCnsFitLowersTheWorkingMaxPpo2) {
  dive->SetBailoutMaxCns(80);
  BailOutOnList("15/55,21/35,50/0,100/0");
  EXPECT_EQ(Switches(), (Strings{"70.0 15/55", "60.0 21/35", "3.0 Oxygen"}));
  EXPECT_DOUBLE_EQ(dive->BailoutSettings().maxPpo2, 1.5);
  EXPECT_TRUE(dive->IsBailoutPlanValid());
  EXPECT_LT(dive->LastPrediction()->m_cns, 0.8);
  EXPECT_EQ(PlanningCalculations(), 5);
}

// With a surface of 1040 mbar, 50 %'s EAD is 0 at 1.643 bar, that is 6.0 m
// after rounding; the planner's EAD at 6 m (on a 1 bar surface) is still
// 0.13 m, and the repaired switch is flagged again. A round that changes
// nothing ends the repair instead of repeating it for ever.
TEST_F(GasesFromList, RepairThatChangesNothingEnds) {
  CaptureLog();
  dive->SetSurfacePressure(1040);
  BailOutOnList("18/45,50/0");
  EXPECT_EQ(Switches(), (Strings{"70.0 18/45", "6.0 50% Nitrox"}));
  EXPECT_NE(LogText().find("Bailout - ICD repair changes nothing more"), std::string::npos);
  EXPECT_EQ(PlanningCalculations(), 3);
  EXPECT_TRUE(dive->IsBailoutPlanValid());
}

// Max CNS 1 %: w falls by 0.1 a round; at 1.2 15/55 is exactly at its limit
// at 8 bar (usable), at 1.1 it is not, which ends the planning with the step 2 message.
TEST_F(GasesFromList, CnsFitThatCannotSucceedEnds) {
  dive->SetBailoutMaxCns(1);
  BailOutOnList("15/55,21/35,50/0,100/0");
  EXPECT_EQ(Messages(), Strings{"Warning - No gas suitable at bailout depth with current gases and settings"});
  EXPECT_FALSE(dive->IsBailoutPlanValid());
  EXPECT_EQ(PlanningCalculations(), 10) << "w 1.6, 1.5, 1.4, 1.3 and 1.2, two rounds each";
}

}  // namespace
}  // namespace kv
