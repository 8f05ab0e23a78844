// The worst-case bailout sweep: the gases carried at every moment, each moment
// the same as a bailout set on the dive itself at that second with those
// gases as its list, and the worst case over the valid moments.
// (tests/threads checks it on several threads.)

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "bailout/bailout_sweep.h"
#include "bailout_test_util.h"

namespace kv {
namespace {

std::vector<std::string> CarriedGases(const SBailoutSweep& sweep) {
  std::vector<std::string> names;
  for (const SBailoutListMix& m : sweep.carried.gases) names.push_back(GasName(m.oxygen, m.helium));
  return names;
}

class BailoutSweep : public test::BailoutFixture {
protected:
  // A closed-circuit trimix dive to 45 m for 15 minutes: a few minutes of
  // stops, on suggested gases with the two default switches.
  void Dive45() {
    SetPoints({{0, 0, 15, 55, 0.7}, {45, 900, 15, 55}});
    ASSERT_TRUE(Calculate());
  }
};

class CCancelAfter final : public IProgress {
public:
  explicit CCancelAfter(int n) : m_n(n) {}
  void SetRange(int) override {}
  void SetPosition(int p) override { m_position = p; }
  void SetText(const std::string&) override {}
  bool IsCancelled() const override { return m_position >= m_n; }

private:
  int m_n;
  int m_position = 0;
};

TEST_F(BailoutSweep, MomentsAreStepsAndSegmentEndsOfClosedCircuitTimeUnderWater) {
  SetPoints({{0, 0, 15, 55, 0.7}, {30, 600, 15, 55}, {20, 300, 32, 0, 0, false, false}});
  ASSERT_TRUE(Calculate());
  const std::vector<int> seconds = BailoutSweepSeconds(*dive, 60);
  ASSERT_FALSE(seconds.empty());
  EXPECT_TRUE(std::is_sorted(seconds.begin(), seconds.end()));
  EXPECT_EQ(std::adjacent_find(seconds.begin(), seconds.end()), seconds.end());
  for (int t : seconds) {
    SCOPED_TRACE(t);
    EXPECT_TRUE(dive->Prediction(t)->m_closedCircuit);
    EXPECT_GT(dive->GetDepth(t), 0.0);
  }
  EXPECT_EQ(seconds.front(), 60);
  EXPECT_NE(std::find(seconds.begin(), seconds.end(), 90), seconds.end()) << "the end of the descent";
  EXPECT_NE(std::find(seconds.begin(), seconds.end(), 600), seconds.end()) << "the end of the bottom time";
  EXPECT_EQ(seconds.back(), 660) << "the ascent to 20 m is still on the loop, the time there on open circuit";
  EXPECT_TRUE(BailoutSweepSeconds(*dive, 0).empty());
}

// Each moment is planned on a copy of the dive with the carried gases as its
// bailout gas list; the dive itself, set to that list and bailed out at the
// same second, must give the same plan.
TEST_F(BailoutSweep, EveryMomentIsTheBailoutOnTheCarriedGasesAsTheDivesList) {
  Dive45();
  CNullProgress progress;
  const SBailoutSweep sweep = SweepBailout(*dive, start, 240, SBailoutAnswers{}, progress, 1);
  ASSERT_EQ(sweep.carried.source, SBailoutCarried::ESource::Suggested);
  const std::string list = BailoutGasListText(sweep.carried.gases);
  ASSERT_GE(sweep.moments.size(), 5u);
  for (const SBailoutMoment& m : sweep.moments) {
    SCOPED_TRACE(m.second);
    Reset(SPreviousDiveState{});
    Dive45();
    dive->SetBailoutUseGasList(true);
    dive->SetBailoutGasList(list);
    ASSERT_TRUE(dive->SetBailout(m.second, false));
    EXPECT_EQ(m.valid, dive->IsBailoutPlanValid());
    EXPECT_EQ(m.depth, dive->Bailout().depth);
    ASSERT_TRUE(m.calculated);
    EXPECT_EQ(m.runTime, dive->GetRunTime());
    EXPECT_EQ(m.ascentTime, dive->GetRunTime() - m.second) << "from the moment chosen, not the walk's second";
    EXPECT_EQ(m.cnsFinal, dive->LastPrediction()->m_cns);
    EXPECT_EQ(m.gases, BailoutGasVolumes(*dive));
    for (const SBailoutGasVolume& g : m.gases) {
      const std::vector<std::string> carried = CarriedGases(sweep);
      EXPECT_NE(std::find(carried.begin(), carried.end(), g.gas), carried.end()) << g.gas << " is carried";
    }
  }
}

// A moment's copy takes the seconds before its bailout from the dive rather
// than computing them: every second of it must be what computing gives.
TEST_F(BailoutSweep, SecondsTakenFromTheDiveAreThoseComputingGives) {
  SetPoints({{0, 0, 10, 50, 0.7}, {20, 120, 10, 50}, {60, 1200, 10, 50}});
  dive->SetBailoutUseGasList(true);
  dive->SetBailoutGasList("15/55,21/35,50/0,100/0");
  ASSERT_TRUE(Calculate());
  const std::unique_ptr<CDivePlan> original = dive->Clone(nullptr);
  const std::vector<int> seconds = BailoutSweepSeconds(*original, 300);
  ASSERT_GT(seconds.size(), 15u);
  CDivePlan work;
  for (int second : seconds) {
    SCOPED_TRACE(second);
    PlanBailoutMoment(*original, start, second, SBailoutAnswers{}, settings, work);
    Reset(SPreviousDiveState{});
    SetPoints({{0, 0, 10, 50, 0.7}, {20, 120, 10, 50}, {60, 1200, 10, 50}});
    dive->SetBailoutUseGasList(true);
    dive->SetBailoutGasList("15/55,21/35,50/0,100/0");
    ASSERT_TRUE(BailOut(second));
    ASSERT_EQ(work.PredictionCount(), dive->PredictionCount());
    for (int t = 0; t < dive->PredictionCount(); ++t) ASSERT_EQ(*work.Prediction(t), *dive->Prediction(t)) << t;
    EXPECT_EQ(work.ProfilePoints().size(), dive->ProfilePoints().size());
  }
}

// The suggestion is planned once, for the end of the bottom time, on the
// dive's own settings: its switches, deepest first, are what the diver carries.
TEST_F(BailoutSweep, SuggestedGasesAreThoseOfTheDeepestMoment) {
  SetPoints({{0, 0, 15, 55, 0.7}, {45, 900, 15, 55}});
  dive->SetBailoutNoOfGasSwitches(3);
  ASSERT_TRUE(Calculate());
  const std::vector<int> seconds = BailoutSweepSeconds(*dive, 60);
  EXPECT_EQ(MostDemandingBailoutSecond(*dive, seconds), 900) << "the last second at 45 m";
  const SBailoutCarried carried =
      ChooseCarriedGases(*dive, start, seconds, SBailoutAnswers{}, settings);
  EXPECT_EQ(carried.second, 900);
  ASSERT_TRUE(dive->SetBailout(900, false));
  std::vector<SBailoutListMix> expected;
  for (const CGasSwitch& s : dive->BailoutGasSwitches())
    if (s.m_inUse) expected.push_back({s.m_oxygen, s.m_helium, static_cast<int>(expected.size()) + 1});
  ASSERT_EQ(expected.size(), 3u);
  EXPECT_EQ(carried.gases, expected);
  EXPECT_EQ(BailoutGasListText(carried.gases).find(' '), std::string::npos);
}

// A list dive carries its list, every readable mix of it, even one that no
// moment breathes; the worst case has one row per carried gas.
TEST_F(BailoutSweep, AListDiveCarriesItsListAndTheWorstCaseHasARowPerGas) {
  SetPoints({{0, 0, 15, 55, 0.7}, {45, 900, 15, 55}});
  dive->SetBailoutUseGasList(true);
  dive->SetBailoutGasList("18/45,50/0,100/0,10/70,3/0");
  ASSERT_TRUE(Calculate());
  CNullProgress progress;
  const SBailoutSweep sweep = SweepBailout(*dive, start, 120, SBailoutAnswers{}, progress, 1);
  EXPECT_EQ(sweep.carried.source, SBailoutCarried::ESource::List);
  EXPECT_EQ(sweep.carried.second, -1);
  EXPECT_EQ(BailoutGasListText(sweep.carried.gases), "18/45,50/0,100/0,10/70") << "3/0 is no mix to breathe";
  ASSERT_EQ(sweep.gases.size(), 4u);
  EXPECT_EQ(sweep.gases[0].gas, "18/45");
  EXPECT_EQ(sweep.gases[3].gas, "10/70");
  EXPECT_EQ(sweep.gases[3].second, -1) << "18/45 already covers the deepest moment";
  EXPECT_EQ(sweep.gases[3].litres, 0.0);
  EXPECT_EQ(sweep.invalid, 0);
  for (const SBailoutWorstGas& w : sweep.gases) {
    SCOPED_TRACE(w.gas);
    double largest = 0.0;
    int at = -1;
    for (const SBailoutMoment& m : sweep.moments)
      for (const SBailoutGasVolume& g : m.gases)
        if (m.valid && g.gas == w.gas && g.litres > largest) {
          largest = g.litres;
          at = m.second;
        }
    EXPECT_EQ(w.litres, largest);
    EXPECT_EQ(w.second, at);
    EXPECT_DOUBLE_EQ(w.litresWithReserve, 1.33 * largest) << "33 % reserve";
    EXPECT_DOUBLE_EQ(w.cylinderLitres, 1.33 * largest / 240.0) << "the litres with reserve at 240 bar";
  }
  for (const SBailoutMoment& m : sweep.moments) {
    EXPECT_LE(m.runTime, sweep.runTime.value);
    EXPECT_LE(m.cnsFinal, sweep.cnsFinal.value);
  }
}

// A moment planned to the surface but past Max CNS has the longest run time
// and the most gas of the sweep; it is counted, and the worst case is the
// valid moment's all the same.
TEST(BailoutWorstCase, LeavesOutACalculatedMomentWithoutAValidPlan) {
  test::CTestEnvironment env;
  CDivePlan dive;  // 33 % reserve, 240 bar
  auto moment = [](int second, bool valid, int runTime, double cns, std::vector<SBailoutGasVolume> gases) {
    SBailoutMoment m;
    m.second = second;
    m.valid = valid;
    m.calculated = true;
    m.runTime = runTime;
    m.cnsFinal = cns;
    m.gases = std::move(gases);
    return m;
  };
  SBailoutSweep sweep;
  sweep.carried.gases = {{21, 35, 1}, {50, 0, 2}, {100, 0, 3}};
  sweep.moments = {moment(1200, false, 4000, 1.2, {{"21/35", 1500.0, 900}, {"Oxygen", 400.0, 600}}),
                   moment(600, true, 3000, 0.6, {{"21/35", 900.0, 700}, {"50% Nitrox", 300.0, 500}})};
  SummariseWorst(dive, sweep);
  EXPECT_EQ(sweep.invalid, 1);
  EXPECT_EQ(sweep.runTime, (SBailoutWorstValue{600, 3000.0}));
  EXPECT_EQ(sweep.cnsFinal, (SBailoutWorstValue{600, 0.6}));
  ASSERT_EQ(sweep.gases.size(), 3u) << "one row per carried gas";
  for (const auto& [w, gas, litres] : {std::tuple{sweep.gases[0], "21/35", 900.0},
                                       std::tuple{sweep.gases[1], "50% Nitrox", 300.0}}) {
    EXPECT_EQ(w.gas, gas);
    EXPECT_EQ(w.litres, litres);
    EXPECT_EQ(w.second, 600);
    EXPECT_DOUBLE_EQ(w.cylinderLitres, 1.33 * litres / 240.0);
  }
  EXPECT_EQ(sweep.gases[2].gas, "Oxygen");
  EXPECT_EQ(sweep.gases[2].second, -1) << "only the invalid moment breathed oxygen";
  EXPECT_EQ(sweep.gases[2].litres, 0.0);
}

// 30/30 reaches 1.6 bar at 43.3 m: no carried gas can be breathed at 45 m.
TEST_F(BailoutSweep, InvalidMomentsAreCountedAndLeftOutOfTheWorstCase) {
  SetPoints({{0, 0, 15, 55, 0.7}, {45, 900, 15, 55}});
  dive->SetBailoutUseGasList(true);
  dive->SetBailoutGasList("30/30,50/0,100/0");
  ASSERT_TRUE(Calculate());
  CNullProgress progress;
  const SBailoutSweep sweep = SweepBailout(*dive, start, 120, SBailoutAnswers{}, progress, 1);
  int invalid = 0;
  for (const SBailoutMoment& m : sweep.moments) {
    SCOPED_TRACE(m.second);
    EXPECT_EQ(m.valid, m.depth < 43.3);
    if (m.valid) continue;
    ++invalid;
    EXPECT_FALSE(m.shown.empty()) << "the warning that says why";
    EXPECT_NE(sweep.runTime.second, m.second);
    for (const SBailoutWorstGas& g : sweep.gases) EXPECT_NE(g.second, m.second);
  }
  EXPECT_GT(invalid, 0);
  EXPECT_EQ(sweep.invalid, invalid);
  EXPECT_GE(sweep.runTime.second, 0);
}

// When the suggestion for the deepest moment cannot be planned (the number of
// switches does not fit and may not be changed) nothing is carried and no
// moment is planned; the question is kept.
TEST_F(BailoutSweep, WithoutASuggestionNoMomentIsPlanned) {
  SetPoints({{0, 0, 15, 55, 0.7}, {9, 900, 15, 55}});
  dive->SetBailoutNoOfGasSwitches(3);
  ASSERT_TRUE(Calculate());
  CNullProgress progress;
  const SBailoutSweep refused = SweepBailout(*dive, start, 120, SBailoutAnswers{}, progress, 1);
  EXPECT_TRUE(refused.carried.gases.empty());
  EXPECT_TRUE(refused.moments.empty());
  ASSERT_EQ(refused.carried.shown.size(), 1u);
  EXPECT_TRUE(refused.carried.shown[0].question);
  EXPECT_EQ(refused.runTime.second, -1);

  const SBailoutSweep allowed = SweepBailout(*dive, start, 120, SBailoutAnswers{false, true, false}, progress, 1);
  EXPECT_EQ(allowed.carried.gases.size(), 2u) << "two switches fit a bailout at 9 m";
  EXPECT_FALSE(allowed.moments.empty());
}

TEST_F(BailoutSweep, CancelledSweepKeepsTheMomentsPlannedSoFar) {
  Dive45();
  CCancelAfter cancel(2);
  const SBailoutSweep sweep = SweepBailout(*dive, start, 60, SBailoutAnswers{}, cancel, 1);
  EXPECT_TRUE(sweep.cancelled);
  ASSERT_EQ(sweep.moments.size(), 2u);
  EXPECT_LT(sweep.moments[0].second, sweep.moments[1].second);
}

}  // namespace
}  // namespace kv
