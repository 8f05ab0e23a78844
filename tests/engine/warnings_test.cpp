#include <gtest/gtest.h>

#include "base/strings.h"
#include "base/text.h"
#include "engine_test_util.h"
#include "support/test_support.h"

namespace kv {
namespace {

class EntryCheck : public ::testing::Test {
protected:
  test::CTestEnvironment env;
  CDivePlan dive;
  std::string LastMessage() const { return env.prompt.shown.empty() ? "" : env.prompt.shown.back().text; }
};

TEST_F(EntryCheck, RefusesHypoxicHyperoxicInvalidAndNarcoticGases) {
  EXPECT_FALSE(dive.CheckGasEntry(0, 10, 70, false, 0, false));
  EXPECT_EQ(LastMessage(), Format(LoadString(1260), 0.10, 0.16));
  EXPECT_FALSE(dive.CheckGasEntry(30, 50, 0, false, 0, false));
  EXPECT_EQ(LastMessage(), Format(LoadString(1261), 2.0, 1.6));
  EXPECT_FALSE(dive.CheckGasEntry(30, 1, 99, false, 0, false));
  EXPECT_EQ(LastMessage(), LoadString(1263));
  dive.SetMaxEad(40);
  EXPECT_FALSE(dive.CheckGasEntry(50, 21, 0, false, 0, false));
  EXPECT_EQ(LastMessage(), "EAD of 50 m for this gas exceeds the 40 m Max EAD limit\n\nUnable to add or update the item");
  EXPECT_EQ(env.prompt.shown.back().icon, EIcon::Question);
}

TEST_F(EntryCheck, AcceptsValuesExactlyAtTheLimits) {
  dive.SetMaxEad(50);
  EXPECT_TRUE(dive.CheckGasEntry(50, 21, 0, false, 0, false));
  // 16 % at the surface is exactly 0.16 bar.
  EXPECT_TRUE(dive.CheckGasEntry(0, 16, 0, false, 0, false));
  // 1.6 bar exactly: 32 % at 40 m.
  dive.SetMaxEad(70);
  EXPECT_TRUE(dive.CheckGasEntry(40, 32, 0, false, 0, false));
  // A closed-circuit setpoint within the limit passes whatever the diluent.
  dive.SetMaxPpo2(1.4);
  EXPECT_TRUE(dive.CheckGasEntry(30, 10, 50, true, 1.3, false));
  EXPECT_TRUE(env.prompt.shown.empty());
}

TEST_F(EntryCheck, ImperialUnitsInTheEadMessage) {
  // The message speaks the units of the plan that owns the dive.
  test::CFakeOwner owner;
  owner.settings.units = SDisplayUnits::Imperial();
  dive.SetOwner(&owner);
  dive.SetMaxEad(40);
  EXPECT_FALSE(dive.CheckGasEntry(50, 21, 0, false, 0, false));
  EXPECT_EQ(LastMessage(), Format(LoadString(1262), 50.0 * 3.2568, "ft", 40.0 * 3.2568, "ft"));
}

TEST_F(EntryCheck, BailoutLimitsApplyWhenAsked) {
  dive.SetBailoutMaxPpo2(1.2);
  EXPECT_TRUE(dive.CheckGasEntry(30, 32, 0, false, 0, false));
  EXPECT_FALSE(dive.CheckGasEntry(30, 32, 0, false, 0, true));
}

TEST(PointWarnings, RoundsPpo2BeforeComparing) {
  test::CTestEnvironment env;
  CDivePlan d;
  CPredictionPoint p(1);
  p.m_ppo2 = 1.604;
  EXPECT_TRUE(d.EvaluatePointWarnings(p));
  p.m_ppo2 = 1.609;
  EXPECT_FALSE(d.EvaluatePointWarnings(p));
  EXPECT_EQ(p.m_warningFlags, kWarnPpo2High);
  p.m_ppo2 = 0.155;
  EXPECT_TRUE(d.EvaluatePointWarnings(p)) << "0.155 rounds up to 0.16";
  p.m_ppo2 = 0.154;
  EXPECT_FALSE(d.EvaluatePointWarnings(p));
  EXPECT_EQ(p.m_warningFlags, kWarnPpo2Low);
}

TEST(PointWarnings, FlagsAndTextInTheirOrder) {
  test::CTestEnvironment env;
  auto d = test::MakeDive({{50, 20, 21, 0}});
  d->SetMaxEad(35);
  ASSERT_TRUE(test::CalculateFromSurface(*d));
  const CPredictionPoint* p = d->Prediction(600);
  EXPECT_EQ(p->m_warningFlags, kWarnEad);
  EXPECT_EQ(p->m_maxEadLimit, 35.0);
  EXPECT_EQ(d->GetWarningText(600), Format("Max EAD %0.1fm#", p->m_ead));
  EXPECT_FALSE(p->m_noWarning);
  EXPECT_FALSE(d->PredictionCheckPassed());
  EXPECT_TRUE(d->Prediction(0)->m_warningFlags == 0);
}

TEST(IcdMarking, RaisedAtAnEadJumpAndCarriedUntilTheNextChange) {
  test::CTestEnvironment env;
  // Helium-rich bottom gas to a nitrogen-rich gas at 30 m: EAD jumps by more
  // than the margin to the ceiling.
  auto d = test::MakeDive({{50, 25, 15, 55}, {30, 10, 32, 0}, {30, 10, 15, 55}, {21, 0, 50, 0}, {6, 0, 100, 0}});
  d->SetMaxEad(60);
  ASSERT_TRUE(test::CalculateFromSurface(*d));
  int switchSecond = -1;
  for (const CPlanPoint& p : d->ProfilePoints())
    if (p.m_kind == kKindPlanned && p.m_oxygen == 32.0) switchSecond = p.m_start;
  ASSERT_GT(switchSecond, 0);
  EXPECT_FALSE(d->Prediction(switchSecond - 1)->m_icdRisk);
  EXPECT_TRUE(d->Prediction(switchSecond)->m_icdRisk);
  EXPECT_TRUE(d->Prediction(switchSecond + 100)->m_icdRisk);
  // Back to the helium mix lowers the EAD: never a risk.
  int backSecond = -1;
  for (const CPlanPoint& p : d->ProfilePoints())
    if (p.m_kind == kKindPlanned && p.m_oxygen == 15.0 && p.m_start > switchSecond) backSecond = p.m_start;
  ASSERT_GT(backSecond, 0);
  EXPECT_FALSE(d->Prediction(backSecond)->m_icdRisk);
  EXPECT_TRUE(d->Prediction(switchSecond + 100)->m_warningFlags & kWarnIcd);
}

TEST(GasWarningList, MergesTextsPerGas) {
  CDivePlan d;
  d.AddGasWarning(21, 0, "", "EAD 35m @ 40m", "", "");
  d.AddGasWarning(50, 0, "ICD Risk", "", "", "");
  d.AddGasWarning(21, 0, "", "", "High O2 1.60 @ > 66m", "");
  ASSERT_EQ(d.GasWarnings().size(), 2u);
  EXPECT_EQ(d.GasWarningText(0), "Air~EAD 35m @ 40m~High O2 1.60 @ > 66m");
  EXPECT_EQ(d.GasWarningText(1), "50% Nitrox~ICD Risk");
  EXPECT_EQ(d.GasWarningText(-1), "Invalid");
}

TEST(Summary, OpenCircuitDepthTextsUseTheSurfacePressure) {
  test::CTestEnvironment env;
  auto d = test::MakeDive({{40, 20, 50, 0}});
  d->SetMaxEad(60);
  d->SetMaxPpo2(1.6);
  ASSERT_TRUE(test::CalculateFromSurface(*d));
  const SWarningSummary s = d->SummariseWarnings(1, d->GetRunTime());
  EXPECT_TRUE(s.flags & kWarnPpo2High);
  // (1.60 / 0.50 - 1.000) x 10 = 22 m.
  EXPECT_EQ(s.highO2, "High O2 1.60 @ > 22m");
  ASSERT_FALSE(d->GasWarnings().empty());
  EXPECT_EQ(d->GasWarningText(0), "50% Nitrox~High O2 1.60 @ > 22m");
}

}  // namespace
}  // namespace kv
