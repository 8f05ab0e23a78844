// Lost-gas variants calculated on several threads are those of the run on the
// calling thread alone, field by field, including the variants that the
// 6-hour question sends round a second time.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "plan/lost_gas.h"
#include "plan/plan_group.h"
#include "support/dive_compare.h"
#include "support/test_support.h"

namespace kv {
namespace {

CPlanPoint Point(double depth, int minutes, double oxygen, double helium = 0.0) {
  CPlanPoint p;
  p.SetDepth(depth);
  p.m_duration = minutes * 60;
  p.m_oxygen = oxygen;
  p.m_helium = helium;
  p.m_closedCircuit = 0;
  return p;
}

std::unique_ptr<CPlanGroup> Example(const std::string& name) {
  auto group = std::make_unique<CPlanGroup>();
  EXPECT_TRUE(group->LoadPlanGroup(std::string(EXAMPLES_DIR) + "/" + name)) << name;
  return group;
}

// Three trimix dives with one, three and two deco gases; without its oxygen
// the first one decompresses for more than 6 hours.
std::unique_ptr<CPlanGroup> Repetitive() {
  auto group = std::make_unique<CPlanGroup>();
  const std::vector<std::vector<CPlanPoint>> dives = {
      {Point(0, 0, 21, 35), Point(60, 40, 21, 35), Point(6, 0, 100)},
      {Point(0, 0, 21), Point(60, 25, 18, 45), Point(36, 0, 35, 25), Point(21, 0, 50), Point(6, 0, 100)},
      {Point(0, 0, 21), Point(45, 30, 21, 35), Point(21, 0, 50), Point(9, 3, 80), Point(6, 0, 80)},
  };
  for (std::size_t i = 0; i < dives.size(); ++i) {
    if (i > 0) {
      EXPECT_TRUE(group->AddDivePlan());
    }
    CDivePlan& dive = *group->GetDive(static_cast<int>(i));
    dive.SetGfLow(30);
    dive.SetGfHigh(85);
    if (i > 0) dive.SetSurfaceInterval(4 * 3600);
    for (const CPlanPoint& p : dives[i]) dive.AppendUserPoint(p);
  }
  return group;
}

void ExpectSameVariants(const CPlanGroup& group, const CLostGasVariants& expected, const CLostGasVariants& actual) {
  for (int d = 0; d < group.GetDiveCount(); ++d) {
    ASSERT_EQ(actual.Of(d).size(), expected.Of(d).size());
    for (std::size_t v = 0; v < expected.Of(d).size(); ++v) {
      SCOPED_TRACE("dive " + std::to_string(d) + " without " + expected.Of(d)[v].gas.Format(false));
      EXPECT_EQ(actual.Of(d)[v].gas.Format(false), expected.Of(d)[v].gas.Format(false));
      test::ExpectSameCalculation(*expected.Of(d)[v].dive, *actual.Of(d)[v].dive);
    }
  }
}

TEST(LostGasThreads, VariantsOnFourThreadsAreThoseOfTheCallingThreadAlone) {
  test::CTestEnvironment env;
  std::vector<std::unique_ptr<CPlanGroup>> plans;
  plans.push_back(Example("oc-trimix-60m.ccp"));
  plans.push_back(Example("oc-nitrox-two-dives.ccp"));
  plans.push_back(Repetitive());
  int variants = 0;
  for (auto& group : plans) {
    group->CalculateDivePlans(true, 0, true);
    std::vector<int> all;
    for (int i = 0; i < group->GetDiveCount(); ++i) all.push_back(i);
    for (const EExtendedPlanning answer : {EExtendedPlanning::Decline, EExtendedPlanning::Accept}) {
      SLostGasOptions options;
      options.extendedPlanning = answer;
      options.threads = 1;
      const CLostGasVariants sequential = CalculateLostGasVariants(*group, all, options);
      options.threads = 4;
      const CLostGasVariants parallel = CalculateLostGasVariants(*group, all, options);
      ExpectSameVariants(*group, sequential, parallel);
      for (int i : all) variants += static_cast<int>(sequential.Of(i).size());
    }
  }
  EXPECT_EQ(variants, 2 * (2 + 6));
  EXPECT_TRUE(env.prompt.shown.empty());
}

TEST(LostGasThreads, TheSixHourQuestionIsAskedOnTheCallingThreadAsInTheSequentialRun) {
  test::CTestEnvironment env;
  std::unique_ptr<CPlanGroup> group = Repetitive();
  group->CalculateDivePlans(true, 0, true);
  ASSERT_TRUE(group->GetDive(2)->IsCalculationCompleted());
  SLostGasOptions options;
  options.threads = 1;
  env.prompt.answers = {true, true, true};
  const CLostGasVariants sequential = CalculateLostGasVariants(*group, {0, 1, 2}, options);
  const std::vector<test::CScriptedPrompt::SShown> asked = env.prompt.shown;
  ASSERT_FALSE(asked.empty());

  env.prompt.shown.clear();
  env.prompt.answers = {true, true, true};
  options.threads = 4;
  const CLostGasVariants parallel = CalculateLostGasVariants(*group, {0, 1, 2}, options);
  ASSERT_EQ(env.prompt.shown.size(), asked.size());
  for (std::size_t i = 0; i < asked.size(); ++i) EXPECT_EQ(env.prompt.shown[i].text, asked[i].text);
  ExpectSameVariants(*group, sequential, parallel);
}

}  // namespace
}  // namespace kv
