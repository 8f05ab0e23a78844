// The worst-case bailout sweep: its moments, each the same as a bailout set on
// the dive itself at that second, and the worst case over the valid moments.
// (tests/threads checks it on several threads.)

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "bailout/bailout_sweep.h"
#include "bailout_test_util.h"

namespace kv {
namespace {

class BailoutSweep : public test::BailoutFixture {
protected:
  // A closed-circuit trimix dive to 45 m for 15 minutes: a few minutes of
  // stops, with 6 m moments that ask to reduce the two default switches.
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

// Each moment is planned on a copy of the dive; the dive itself, bailed out
// at the same second, must give the same plan.
TEST_F(BailoutSweep, EveryMomentIsTheBailoutSetOnTheDiveItself) {
  Dive45();
  CNullProgress progress;
  const SBailoutSweep sweep = SweepBailout(*dive, start, 240, SBailoutAnswers{}, progress, 1);
  ASSERT_GE(sweep.moments.size(), 5u);
  for (const SBailoutMoment& m : sweep.moments) {
    SCOPED_TRACE(m.second);
    Reset(SPreviousDiveState{});
    Dive45();
    ASSERT_TRUE(dive->SetBailout(m.second, false));
    EXPECT_EQ(m.valid, dive->IsBailoutPlanValid());
    EXPECT_EQ(m.depth, dive->m_bailoutDepth);
    if (!m.calculated) continue;
    EXPECT_EQ(m.runTime, dive->GetRunTime());
    EXPECT_EQ(m.ascentTime, dive->GetRunTime() - dive->GetBailoutSecond());
    EXPECT_EQ(m.cnsFinal, dive->LastPrediction()->m_cns);
    EXPECT_EQ(m.gases, BailoutGasVolumes(*dive));
  }
}

TEST_F(BailoutSweep, WorstCaseCoversTheValidMomentsAndCountsTheOthers) {
  Dive45();
  CNullProgress progress;
  const SBailoutSweep sweep = SweepBailout(*dive, start, 120, SBailoutAnswers{}, progress, 1);
  const auto invalid = std::count_if(sweep.moments.begin(), sweep.moments.end(),
                                     [](const SBailoutMoment& m) { return !m.valid; });
  EXPECT_GT(invalid, 0) << "at 6 m the two switches are too many and the question is answered no";
  EXPECT_EQ(sweep.invalid, invalid);
  for (const SBailoutMoment& m : sweep.moments)
    if (!m.valid) {
      EXPECT_FALSE(m.shown.empty()) << m.second;
    }

  ASSERT_FALSE(sweep.gases.empty());
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
    EXPECT_DOUBLE_EQ(w.cylinderLitres, 1.33 * largest / 240.0) << "33 % reserve, 240 bar";
  }
  for (const SBailoutMoment& m : sweep.moments) {
    if (!m.valid) continue;
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
  sweep.moments = {moment(1200, false, 4000, 1.2, {{"21/35", 1500.0, 900}, {"Oxygen", 400.0, 600}}),
                   moment(600, true, 3000, 0.6, {{"21/35", 900.0, 700}, {"50% Nitrox", 300.0, 500}})};
  SummariseWorst(dive, sweep);
  EXPECT_EQ(sweep.invalid, 1);
  EXPECT_EQ(sweep.runTime, (SBailoutWorstValue{600, 3000.0}));
  EXPECT_EQ(sweep.cnsFinal, (SBailoutWorstValue{600, 0.6}));
  ASSERT_EQ(sweep.gases.size(), 2u) << "no oxygen: only the invalid moment breathed it";
  for (const auto& [w, gas, litres] : {std::tuple{sweep.gases[0], "21/35", 900.0},
                                       std::tuple{sweep.gases[1], "50% Nitrox", 300.0}}) {
    EXPECT_EQ(w.gas, gas);
    EXPECT_EQ(w.litres, litres);
    EXPECT_EQ(w.second, 600);
    EXPECT_DOUBLE_EQ(w.cylinderLitres, 1.33 * litres / 240.0);
  }
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
