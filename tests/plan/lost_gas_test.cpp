// Lost-gas variants: which gases are deco gases, and that each variant is
// exactly the plan file with that gas's ascent points deleted, calculated as
// a plan of its own (examples and a generated set), with the 6-hour answer
// of the plan, while the plan itself stays as it was.

#include "plan/lost_gas.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "base/strings.h"
#include "plan_test_util.h"
#include "support/dive_compare.h"

namespace kv {
namespace {

using test::Point;

std::vector<std::string> Names(const std::vector<CGas>& gases) {
  std::vector<std::string> names;
  for (const CGas& g : gases) names.push_back(g.Format(false));
  return names;
}

std::unique_ptr<CDivePlan> DiveOf(const std::vector<CPlanPoint>& points) {
  auto dive = std::make_unique<CDivePlan>();
  for (const CPlanPoint& p : points) dive->AppendUserPoint(p);
  return dive;
}

TEST(DecoGases, AreTheOpenCircuitGasesFirstSwitchedToAfterTheDeepestPoint) {
  // Travel on 50 % before the bottom is not a deco gas; the bottom gas breathed
  // again on the way up neither; a gas entered twice counts once, in the
  // order first met.
  const auto dive = DiveOf({Point(0, 0, 21), Point(21, 0, 50), Point(60, 1200, 18, 45), Point(30, 60, 18, 45),
                            Point(21, 0, 50), Point(12, 0, 80), Point(9, 120, 80), Point(6, 0, 100),
                            Point(3, 0, 80)});
  EXPECT_EQ(Names(DecoGases(*dive)), (std::vector<std::string>{"80% Nitrox", "Oxygen"}));

  // Two points at the greatest depth: the ascent starts after the last.
  EXPECT_EQ(Names(DecoGases(*DiveOf({Point(0, 0, 21), Point(40, 600, 21), Point(40, 300, 32), Point(6, 0, 100)}))),
            (std::vector<std::string>{"Oxygen"}));

  // A closed-circuit point is the loop, not a gas that can be lost; an
  // open-circuit gas on a closed-circuit dive is.
  EXPECT_EQ(Names(DecoGases(*DiveOf({Point(0, 0, 10, 50, true, 1.3), Point(80, 1200, 10, 50, true, 1.3),
                                    Point(21, 0, 50, 0, true, 1.3), Point(6, 0, 100)}))),
            (std::vector<std::string>{"Oxygen"}));

  EXPECT_TRUE(DecoGases(*DiveOf({Point(0, 0, 21), Point(40, 1500, 21)})).empty());
  EXPECT_TRUE(DecoGases(CDivePlan()).empty());
}

TEST(DecoGases, ADiveInBailoutModeHasNone) {
  CPlanGroup group;
  ASSERT_TRUE(group.LoadPlanGroup(std::string(EXAMPLES_DIR) + "/oc-trimix-60m.ccp"));
  CDivePlan& dive = *group.GetDive(0);
  EXPECT_EQ(DecoGases(dive).size(), 2u);
  dive.EnterBailoutMode();
  EXPECT_TRUE(DecoGases(dive).empty());
}

TEST(LostGasDive, LeavesOutTheAscentPointsOnTheGasOnly) {
  const auto dive = DiveOf({Point(0, 0, 50), Point(60, 1200, 18, 45), Point(21, 0, 50), Point(15, 120, 50),
                            Point(6, 0, 100), Point(6, 0, 50, 0, true, 1.3)});
  dive->SetGfLow(35);
  CGas nitrox;
  nitrox.SetMix(50, 0);
  const std::unique_ptr<CDivePlan> variant = LostGasDive(*dive, nitrox, nullptr);
  // The surface point before the bottom and the closed-circuit point stay.
  const std::vector<CPlanPoint> expected = {dive->UserPoints()[0], dive->UserPoints()[1], dive->UserPoints()[4],
                                            dive->UserPoints()[5]};
  EXPECT_EQ(variant->UserPoints(), expected);
  EXPECT_EQ(variant->GetGfLow(), 35.0);
  EXPECT_EQ(variant->ProfilePointCount(), 0);
}

// ---- Equal to the plan file without the gas's points ---------------------------------

// The plan file text without the user points of dive (from 0) that the deco
// gas gas is breathed on after the dive's deepest point, read from the file
// itself.
std::string WithoutGas(const std::string& text, int dive, const CGas& gas) {
  struct SLine {
    std::string text;
    int dive;
    bool point;
  };
  std::vector<SLine> lines;
  int current = -1;
  for (const std::string& line : SplitLines(text)) {
    if (line == "Dive") ++current;
    lines.push_back({line, current, line.rfind("100~", 0) == 0});
  }
  // The last point line of the dive at its greatest depth.
  std::size_t deepest = 0;
  double deepestDepth = -1.0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].dive != dive || !lines[i].point) continue;
    const double depth = std::stod(CSParser(lines[i].text, '~').GetField(3));
    if (depth >= deepestDepth) {
      deepestDepth = depth;
      deepest = i;
    }
  }
  std::string out;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const CSParser f(lines[i].text, '~');
    const bool lost = lines[i].dive == dive && lines[i].point && i > deepest && f.GetField(4) == "0" &&
                      GasName(std::stod(f.GetField(5)), std::stod(f.GetField(6))) == gas.Format(false);
    if (!lost) out += lines[i].text + "\r\n";
  }
  return out;
}

// Every variant of every dive of the plan in file equals dive k of the file
// without that gas's points, calculated as a plan of its own; the plan the
// variants were made from is unchanged. extend answers the 6-hour question
// for both. Returns the number of variants compared.
int ExpectVariantsAreThePlansWithoutTheirGases(test::CTestEnvironment& env, const std::string& file, bool extend) {
  SCOPED_TRACE(file);
  CPlanGroup group;
  EXPECT_TRUE(group.LoadPlanGroup(file));
  group.CalculateDivePlans(true, 0, true);
  std::vector<std::unique_ptr<CDivePlan>> before;
  std::vector<int> all;
  for (int i = 0; i < group.GetDiveCount(); ++i) {
    before.push_back(group.GetDive(i)->Clone(nullptr));
    all.push_back(i);
  }

  SLostGasOptions options;
  options.extendedPlanning = extend ? EExtendedPlanning::Accept : EExtendedPlanning::Decline;
  const CLostGasVariants variants = CalculateLostGasVariants(group, all, options);
  EXPECT_FALSE(variants.cancelled);
  for (int i = 0; i < group.GetDiveCount(); ++i) test::ExpectSameCalculation(*before[i], *group.GetDive(i));

  const std::string text = test::ReadFile(file);
  int compared = 0;
  for (int k = 0; k < group.GetDiveCount(); ++k) {
    const std::vector<SLostGasVariant>& list = variants.Of(k);
    const std::vector<CGas> gases = DecoGases(*group.GetDive(k));
    // A dive that could not be calculated has no variants.
    EXPECT_EQ(list.size(), group.GetDive(k)->IsCalculationCompleted() ? gases.size() : 0u) << "dive " << k;
    if (list.size() > gases.size()) continue;
    for (std::size_t g = 0; g < list.size(); ++g) {
      SCOPED_TRACE("dive " + std::to_string(k) + " without " + list[g].gas.Format(false));
      EXPECT_EQ(list[g].gas.Format(false), gases[g].Format(false));
      const std::string path = test::TempDir() + "/without.ccp";
      test::WriteFile(path, WithoutGas(text, k, list[g].gas));
      CPlanGroup own;
      EXPECT_TRUE(own.LoadPlanGroup(path));
      env.prompt.answers.assign(8, extend);
      own.CalculateDivePlans(true, k, true);
      env.prompt.answers.clear();
      test::ExpectSameCalculation(*own.GetDive(k), *list[g].dive);
      EXPECT_EQ(list[g].Completed(), own.GetDive(k)->IsCalculationCompleted());
      ++compared;
    }
  }
  return compared;
}

TEST(LostGasVariants, EachIsThePlanFileWithoutItsGasOnTheExamples) {
  test::CTestEnvironment env;
  int compared = 0;
  for (const char* name : {"oc-air-40m.ccp", "oc-nitrox-two-dives.ccp", "oc-trimix-60m.ccp",
                           "cc-trimix-70m-bailout.ccp"})
    compared += ExpectVariantsAreThePlansWithoutTheirGases(env, std::string(EXAMPLES_DIR) + "/" + name, false);
  EXPECT_EQ(compared, 2);  // 50 % and oxygen of the trimix dive
}

// Random open-circuit (and a few closed-circuit) plans of one or two dives
// with zero, one, two or three deco gases, some with time on a deco gas, some
// repetitive, saved to a file.
std::string GeneratedPlan(std::mt19937& random, int n) {
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
  struct SBottom {
    double o2, he;
    int deepest;
  };
  const SBottom bottoms[] = {{21, 0, 40}, {18, 45, 70}, {21, 35, 60}, {15, 55, 80}, {32, 0, 33}};
  struct SDeco {
    double depth, o2;
  };
  const SDeco decos[] = {{30, 40}, {21, 50}, {9, 80}, {6, 100}};
  CPlanGroup group;
  const int dives = pick(1, 2);
  for (int d = 0; d < dives; ++d) {
    if (d > 0) group.AddDivePlan();
    CDivePlan& dive = *group.GetDive(d);
    dive.SetGfLow(pick(2, 5) * 10);
    dive.SetGfHigh(pick(7, 9) * 10);
    dive.SetLastDecoStop(pick(0, 1) ? 3.0 : 6.0);
    if (d > 0) dive.SetSurfaceInterval(pick(30, 240) * 60);
    const SBottom& b = bottoms[pick(0, 4)];
    const bool cc = n % 5 == 4;
    const double depth = pick(20, b.deepest);
    dive.AppendUserPoint(Point(0, 0, b.o2, b.he, cc, 1.3));
    dive.AppendUserPoint(Point(depth, pick(10, 35) * 60, b.o2, b.he, cc, 1.3));
    if (pick(0, 3) == 0) dive.AppendUserPoint(Point(depth * 0.6, pick(1, 5) * 60, b.o2, b.he, cc, 1.3));
    for (const SDeco& g : decos) {
      if (g.depth >= depth * 0.6 || pick(0, 2) == 0) continue;
      dive.AppendUserPoint(Point(g.depth, 0, g.o2, 0));
      // Now and then time entered on the deco gas, which goes with it.
      if (pick(0, 4) == 0) dive.AppendUserPoint(Point(g.depth - 3, pick(1, 4) * 60, g.o2, 0));
    }
  }
  const std::string path = test::TempDir() + "/generated-" + std::to_string(n) + ".ccp";
  EXPECT_TRUE(group.SavePlanGroup(path));
  return path;
}

TEST(LostGasVariants, EachIsThePlanFileWithoutItsGasOnAGeneratedSet) {
  test::CTestEnvironment env;
  std::mt19937 random(20240611);
  int compared = 0;
  for (int n = 0; n < 24; ++n) compared += ExpectVariantsAreThePlansWithoutTheirGases(env, GeneratedPlan(random, n), n % 3 == 0);
  EXPECT_GE(compared, 20);
}

// ---- Limits and the 6-hour question -------------------------------------------------

// 40 minutes at 60 m on 21/35 with oxygen from 6 m: without the oxygen the
// decompression on 21/35 runs past 6 hours (but ends within 24); the dive
// itself stays well below.
void GiveLongDive(CDivePlan& dive) {
  dive.SetGfLow(30);
  dive.SetGfHigh(85);
  dive.AppendUserPoint(Point(0, 0, 21, 35));
  dive.AppendUserPoint(Point(60, 40 * 60, 21, 35));
  dive.AppendUserPoint(Point(6, 0, 100, 0));
}

class LostGasLimitsTest : public test::CPlanGroupFixture {
protected:
  void SetUp() override {
    CPlanGroupFixture::SetUp();
    GiveLongDive(*group.GetDive(0));
    group.CalculateDivePlans(true, 0, true);
    ASSERT_TRUE(group.GetDive(0)->IsCalculationCompleted());
    ASSERT_LE(group.GetDive(0)->GetRunTime(), CDivePlan::kSixHours / 2);
  }
  const SLostGasVariant& WithoutOxygen(const CLostGasVariants& v) { return v.Of(0).at(0); }
};

TEST_F(LostGasLimitsTest, DeclinedAVariantPastSixHoursSaysItCannotBeCompleted) {
  SLostGasOptions options;
  options.extendedPlanning = EExtendedPlanning::Decline;
  const CLostGasVariants variants = CalculateLostGasVariants(group, {0}, options);
  ASSERT_EQ(variants.Of(0).size(), 1u);
  const SLostGasVariant& v = WithoutOxygen(variants);
  EXPECT_EQ(v.gas.Format(false), "Oxygen");
  EXPECT_FALSE(v.Completed());
  EXPECT_TRUE(v.dive->IsTimeLimitExceeded());
  EXPECT_FALSE(v.dive->IsExtendedPlanningUsed());
  EXPECT_EQ(v.dive->SegmentCount(), 0);
  EXPECT_EQ(v.dive->PredictionCount(), 0);
  // Nothing was asked or shown: the answer was given in advance.
  EXPECT_TRUE(env.prompt.shown.empty());
}

TEST_F(LostGasLimitsTest, AcceptedItPlansOnUpToTwentyFourHours) {
  SLostGasOptions options;
  options.extendedPlanning = EExtendedPlanning::Accept;
  const CLostGasVariants variants = CalculateLostGasVariants(group, {0}, options);
  const SLostGasVariant& v = WithoutOxygen(variants);
  EXPECT_TRUE(v.Completed());
  EXPECT_TRUE(v.dive->IsExtendedPlanningUsed());
  EXPECT_GT(v.dive->GetRunTime(), CDivePlan::kSixHours);
  EXPECT_TRUE(env.prompt.shown.empty());
  // The plan's own dive was not touched.
  EXPECT_FALSE(group.GetDive(0)->IsExtendedPlanningUsed());
  EXPECT_LT(group.GetDive(0)->GetRunTime(), CDivePlan::kSixHours / 2);
}

TEST_F(LostGasLimitsTest, AskedOnceForTheDiveOnlyWhenAVariantNeedsIt) {
  env.prompt.answers = {true};
  const CLostGasVariants yes = CalculateLostGasVariants(group, {0});
  ASSERT_EQ(env.prompt.shown.size(), 1u);
  EXPECT_TRUE(env.prompt.shown[0].question);
  EXPECT_EQ(env.prompt.shown[0].text, Format(LoadString(kMsgLostGasQuestion), 1));
  EXPECT_TRUE(WithoutOxygen(yes).Completed());

  SLostGasOptions accept;
  accept.extendedPlanning = EExtendedPlanning::Accept;
  const CLostGasVariants expected = CalculateLostGasVariants(group, {0}, accept);
  test::ExpectSameCalculation(*WithoutOxygen(expected).dive, *WithoutOxygen(yes).dive);

  env.prompt.answers = {false};
  const CLostGasVariants no = CalculateLostGasVariants(group, {0});
  EXPECT_EQ(env.prompt.shown.size(), 2u);
  EXPECT_FALSE(WithoutOxygen(no).Completed());
}

TEST_F(LostGasLimitsTest, TheDivesOwnYesCarriesOver) {
  group.GetDive(0)->SetRememberedAnswer(true, true);
  const CLostGasVariants variants = CalculateLostGasVariants(group, {0});
  EXPECT_TRUE(env.prompt.shown.empty());
  EXPECT_TRUE(WithoutOxygen(variants).Completed());
}

TEST_F(LostGasLimitsTest, ADiveNotCalculatedHasNoVariants) {
  group.GetDive(0)->ClearResults();
  EXPECT_FALSE(CalculateLostGasVariants(group, {0}).Any());
  EXPECT_TRUE(CalculateLostGasVariants(group, {5, -1}).Of(5).empty());
}

TEST_F(LostGasLimitsTest, ACancelSaysTheVariantsAreIncomplete) {
  test::CRecordingProgress progress;
  progress.cancelAt = 0;
  progress.positions.push_back(0);
  SLostGasOptions options;
  options.progress = &progress;
  const CLostGasVariants variants = CalculateLostGasVariants(group, {0}, options);
  EXPECT_TRUE(variants.cancelled);
  EXPECT_FALSE(variants.Any());
  EXPECT_TRUE(variants.AwaitingSixHourAnswer().empty());
  EXPECT_TRUE(env.prompt.shown.empty());
}

}  // namespace
}  // namespace kv
