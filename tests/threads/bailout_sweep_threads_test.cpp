// A bailout sweep on several threads gives exactly the sweep planned moment
// by moment in order: the same carried gases, moments, plans, questions and
// worst case, and the same status log lines.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bailout/bailout_sweep.h"
#include "base/status_log.h"
#include "base/text.h"
#include "plan/plan_group.h"
#include "support/test_support.h"

namespace kv {
namespace {

CPlanPoint Point(double depth, int seconds, double oxygen, double helium, double setpoint) {
  CPlanPoint p;
  p.SetDepth(depth);
  p.m_duration = seconds;
  p.m_oxygen = oxygen;
  p.m_helium = helium;
  p.m_setpoint = setpoint;
  return p;
}

// Log lines in order; the order of lines from several threads is theirs.
std::vector<std::string> SortedLines(const std::string& path) {
  std::vector<std::string> lines = SplitLines(test::ReadFile(path));
  std::sort(lines.begin(), lines.end());
  return lines;
}

class BailoutSweepThreads : public ::testing::Test {
protected:
  void SetUp() override {
    Prefs().SetNumber(EPref::DebugLevel, 3);
    SCalculationSettings logging;
    logging.debugLevel = 3;
    group.SetCalculationSettings(logging);
    group.AddDivePlan();
    // Suggested gases with three switches, and a second dive on a gas list.
    CDivePlan& first = *group.GetDive(0);
    first.AppendUserPoint(Point(0, 0, 15, 55, 0.7));
    first.AppendUserPoint(Point(45, 900, 15, 55, 1.3));
    first.SetBailoutNoOfGasSwitches(3);
    CDivePlan& second = *group.GetDive(1);
    second.SetSurfaceInterval(3600);
    second.AppendUserPoint(Point(0, 0, 10, 50, 0.7));
    second.AppendUserPoint(Point(55, 1200, 10, 50, 1.3));
    second.SetBailoutUseGasList(true);
    second.SetBailoutGasList("15/55,21/35,50/0,100/0");
    group.CalculateDivePlans(true, 0, true);
  }
  SBailoutSweep Sweep(int dive, int threads, const std::string& logName) {
    StatusLog().OpenLogAt(dir + "/" + logName, false);
    SPreviousDiveState start;
    EXPECT_TRUE(group.PreviousState(dive, start));
    CNullProgress progress;
    SBailoutSweep sweep = SweepBailout(*group.GetDive(dive), start, 120, SBailoutAnswers{false, true, false},
                                       progress, threads);
    StatusLog().Close();
    return sweep;
  }

  test::CTestEnvironment env;
  std::string dir = test::TempDir();
  CPlanGroup group;
};

TEST_F(BailoutSweepThreads, GiveWhatTheSequentialSweepGives) {
  for (int dive = 0; dive < 2; ++dive) {
    SCOPED_TRACE(dive);
    const SBailoutSweep one = Sweep(dive, 1, Format("one%d.txt", dive));
    const SBailoutSweep many = Sweep(dive, 4, Format("many%d.txt", dive));
    ASSERT_GE(one.moments.size(), 10u);
    ASSERT_EQ(one.moments.size(), many.moments.size());
    for (std::size_t i = 0; i < one.moments.size(); ++i) EXPECT_EQ(one.moments[i], many.moments[i]) << i;
    EXPECT_EQ(one.carried, many.carried);
    EXPECT_FALSE(one.carried.gases.empty());
    EXPECT_EQ(one.invalid, many.invalid);
    EXPECT_EQ(one.runTime, many.runTime);
    EXPECT_EQ(one.cnsFinal, many.cnsFinal);
    EXPECT_EQ(one.gases, many.gases);
    const auto linesOne = SortedLines(dir + Format("/one%d.txt", dive));
    EXPECT_GT(linesOne.size(), 1000u);
    EXPECT_EQ(linesOne, SortedLines(dir + Format("/many%d.txt", dive)));
    EXPECT_FALSE(group.GetDive(dive)->BailoutWalked()) << "the dive itself is left as it was";
  }
}

}  // namespace
}  // namespace kv
