// The run: the generated dives, the skip rule, the 6-hour answer shared by
// the run, the message list, progress and cancellation.

#include <gtest/gtest.h>

#include "base/progress.h"
#include "base/status_log.h"
#include "plan/plan_group.h"
#include "plan/plan_test_util.h"
#include "support/test_support.h"
#include "tablegen/table_generation.h"
#include "tablegen_test_util.h"

namespace kv {
namespace {

using test::Cc;
using test::MessageTexts;
using test::Oc;
using Status = EGeneratedDiveStatus;

class CRecordingProgress final : public IProgress {
public:
  void SetRange(int maximum) override { range = maximum; }
  void SetPosition(int position) override {
    positions.push_back(position);
    if (cancelAt >= 0 && position >= cancelAt) cancelled = true;
  }
  void SetText(const std::string& text) override { texts.push_back(text); }
  bool IsCancelled() const override { return cancelled; }

  int range = -1;
  int cancelAt = -1;
  bool cancelled = false;
  std::vector<int> positions;
  std::vector<std::string> texts;
};

class GenerationRunTest : public ::testing::Test {
protected:
  // As at start-up: ZH-L16C.
  GenerationRunTest() { Prefs().LoadSettings(); }

  std::vector<Status> Statuses() const {
    std::vector<Status> s;
    for (int plan = 0; plan < page.PlanCount(); ++plan) s.push_back(page.Status(plan));
    return s;
  }
  int Questions() const {
    int n = 0;
    for (const auto& shown : env.prompt.shown) n += shown.question;
    return n;
  }

  test::CTestEnvironment env;
  CTableGeneration page;
};

TEST_F(GenerationRunTest, GeneratedDiveIsTheDiveItsScheduleDescribes) {
  // The same dive entered point by point: travel switches on the way down,
  // the bottom, deco switches on the way up.
  test::SetRanges(page, 45, 45, 5, 20, 20, 5);
  STableGenerationInputs in = page.Inputs();
  in.gfLow = 30;
  in.gfHigh = 75;
  in.descentRate = 18;
  in.ascentRate = 9;
  in.lastDecoStop = 3;
  in.surfacePressure = 980;
  page.SetInputs(in);
  test::SetSchedules(page, {Cc(0, 21, 0, 0.7), Cc(20, 15, 50, 1.3)}, {Cc(12, 15, 50, 1.4), Cc(6, 100, 0, 1.5)});
  ASSERT_TRUE(page.Generate());
  ASSERT_EQ(page.PlanCount(), 1);
  const CDivePlan& generated = *page.Dive(0);

  CDivePlan byHand;
  for (const CPlanPoint& p : {test::Point(0, 0, 21, 0, true, 0.7), test::Point(20, 0, 15, 50, true, 1.3),
                              test::Point(45, 1200, 15, 50, true, 1.3), test::Point(12, 0, 15, 50, true, 1.4),
                              test::Point(6, 0, 100, 0, true, 1.5)})
    byHand.AppendUserPoint(p);
  byHand.SetGfLow(30);
  byHand.SetGfHigh(75);
  byHand.SetDescentRate(18);
  byHand.SetAscentRate(9);
  byHand.SetLastDecoStop(3);
  byHand.SetSurfacePressure(980);
  byHand.SetMaxEad(99);
  ASSERT_TRUE(byHand.Calculate(0, nullptr, nullptr, 0, 0, true));

  EXPECT_EQ(generated.GetNumberOfGasSwitchesUsed(), 4);
  // Were it to need more than 6 hours, a closed-circuit run would speak of scrubbers.
  EXPECT_EQ(generated.GetExtensionQuestion().rfind("Unable to decompress the dive to 45 m for 20 minutes", 0), 0u);
  EXPECT_NE(generated.GetExtensionQuestion().find("scrubber"), std::string::npos);
  ASSERT_EQ(generated.ProfilePointCount(), byHand.ProfilePointCount());
  for (int i = 0; i < byHand.ProfilePointCount(); ++i) {
    SCOPED_TRACE(i);
    const CPlanPoint& a = generated.ProfilePoints()[static_cast<std::size_t>(i)];
    const CPlanPoint& b = byHand.ProfilePoints()[static_cast<std::size_t>(i)];
    EXPECT_EQ(a.Depth(), b.Depth());
    EXPECT_EQ(a.m_start, b.m_start);
    EXPECT_EQ(a.m_duration, b.m_duration);
    EXPECT_EQ(a.m_kind, b.m_kind);
    EXPECT_TRUE(a.SameBreathing(b));
  }
  ASSERT_EQ(generated.SegmentCount(), byHand.SegmentCount());
  for (int i = 0; i < byHand.SegmentCount(); ++i) {
    const CDiveSegment& a = generated.Segments()[static_cast<std::size_t>(i)];
    const CDiveSegment& b = byHand.Segments()[static_cast<std::size_t>(i)];
    EXPECT_EQ(a.m_end, b.m_end);
    EXPECT_EQ(a.m_depth, b.m_depth);
    EXPECT_EQ(a.m_kind, b.m_kind);
  }
  EXPECT_EQ(generated.PredictionCount(), 1) << "a generated dive keeps only its last second";
  EXPECT_EQ(generated.LastPrediction()->m_nitrogen, byHand.LastPrediction()->m_nitrogen);
}

TEST_F(GenerationRunTest, FailureSkipsLongerBottomTimesHereAndAtGreaterDepths) {
  // Declining the 6-hour question makes every dive past 6 hours fail: at
  // 10 m the 330-minute dive, at 11 m already the 300-minute one.
  test::SetRanges(page, 10, 11, 1, 270, 360, 30);
  test::SetSchedules(page, {Oc(0, 21)}, {});
  ASSERT_TRUE(page.Generate());
  EXPECT_EQ(Statuses(), (std::vector<Status>{Status::Calculated, Status::Calculated, Status::Failed, Status::Skipped,
                                             Status::Calculated, Status::Failed, Status::Skipped, Status::Skipped}));
  EXPECT_EQ(Questions(), 1) << "the first dive past 6 hours asks, the second is told";
  // The question names the dive of the run, and an open-circuit run has no scrubber.
  const std::string& question = env.prompt.shown.front().text;
  EXPECT_EQ(question.rfind("Unable to decompress the dive to 10 m for 330 minutes within 6 hours.", 0), 0u) << question;
  EXPECT_EQ(question.find("scrubber"), std::string::npos) << question;
  EXPECT_EQ(page.ExtensionAnswer(), false);
  EXPECT_TRUE(page.Dive(5)->IsTimeLimitExceeded());
  EXPECT_EQ(page.Dive(3)->ProfilePointCount(), 0) << "a skipped dive is not calculated";

  std::vector<std::string> warnings;
  for (const STableMessage& m : page.Messages())
    if (m.state == kCheckWarning) warnings.push_back(m.text);
  EXPECT_EQ(warnings, (std::vector<std::string>{
                          "Warning - Dive Plan for 10 m - duration 330 Mins, Unable to complete",
                          "Warning - Dive Plan for 10 m - duration 360 Mins, Skipped",
                          "Warning - Dive Plan for 11 m - duration 300 Mins, Unable to complete",
                          "Warning - Dive Plan for 11 m - duration 330 Mins, Skipped",
                          "Warning - Dive Plan for 11 m - duration 360 Mins, Skipped",
                      }));
}

TEST_F(GenerationRunTest, FailureSkipsTheSameBottomTimeAtGreaterDepths) {
  // 300 minutes end within 6 hours at 10 m and at 10.5 m, 330 minutes do
  // not: the 10.5 m dive of 330 minutes is skipped, not tried again.
  test::SetRanges(page, 10, 10.5, 0.5, 300, 330, 30);
  test::SetSchedules(page, {Oc(0, 21)}, {});
  ASSERT_TRUE(page.Generate());
  EXPECT_EQ(Statuses(),
            (std::vector<Status>{Status::Calculated, Status::Failed, Status::Calculated, Status::Skipped}));
  EXPECT_EQ(Questions(), 1);
}

TEST_F(GenerationRunTest, AcceptedExtensionIsToldToEveryLaterDive) {
  const std::string log = test::TempDir() + "/StatusLog.txt";
  env.store->numbers["Debug Level"] = 2;
  SCalculationSettings logging;
  logging.debugLevel = 2;
  page.SetCalculationSettings(logging);
  StatusLog().OpenLogAt(log, false);
  env.prompt.answers = {true};
  test::SetRanges(page, 10, 10, 10, 330, 390, 30);
  test::SetSchedules(page, {Oc(0, 21)}, {});
  ASSERT_TRUE(page.Generate());
  StatusLog().Close();
  EXPECT_EQ(Statuses(), std::vector<Status>(3, Status::Calculated));
  EXPECT_EQ(Questions(), 1);
  EXPECT_EQ(page.ExtensionAnswer(), true);
  EXPECT_TRUE(page.Dive(2)->IsExtendedPlanningUsed());
  const std::string text = test::ReadFile(log);
  const std::string told = "Table generation and user accepted extended planning on a previous plan so continuing "
                           "to use this choice.";
  int toldCount = 0;
  for (std::size_t at = text.find(told); at != std::string::npos; at = text.find(told, at + 1)) ++toldCount;
  EXPECT_EQ(toldCount, 2);
  EXPECT_LT(text.find("User choose to extend the plan past 6 hours"), text.find(told));
}

TEST_F(GenerationRunTest, MessagesTellTheRunInOrder) {
  test::SetRanges(page, 30, 30, 10, 20, 25, 5);
  test::SetSchedules(page, {Oc(0, 21)}, {});
  ASSERT_TRUE(page.Generate());
  EXPECT_EQ(MessageTexts(page),
            (std::vector<std::string>{
                "Started",
                "Depths 30 to 30 in steps of 10 m",
                "Durations 20 to 25 in steps of 5 (mins)",
                "Surface Pressure 1000, GF High 80, GF Low 20, Descent Rate 20 (m/min), Ascent Rate 10 (m/min), "
                "Last Deco Stop 6 (m)",
                "Creating 2 dive plans",
                "Created a Dive Plan for 30 m - duration 20 Mins",
                "Created a Dive Plan for 30 m - duration 25 Mins",
                "Starting Calculations",
                "Preparing report",
                "Completed",
            }));
  EXPECT_EQ(page.TableCount(), 1);
  EXPECT_TRUE(page.ShowViewerRequested());
}

TEST_F(GenerationRunTest, ImperialRunShowsFeetAndCalculatesInMetres) {
  page.SetUnits(SDisplayUnits::Imperial());
  test::SetRanges(page, 100, 100, 10, 20, 20, 5);
  STableGenerationInputs in = page.Inputs();
  in.descentRate = 60;
  in.ascentRate = 30;
  in.lastDecoStop = 20;
  in.maxEad = 300;
  page.SetInputs(in);
  test::SetSchedules(page, {Oc(0, 21)}, {});
  ASSERT_TRUE(page.Generate());
  const std::vector<std::string> texts = MessageTexts(page);
  EXPECT_EQ(texts[1], "Depths 100 to 100 in steps of 10 ft");
  EXPECT_EQ(texts[3], "Surface Pressure 1000, GF High 80, GF Low 20, Descent Rate 60 (ft/min), Ascent Rate 30 "
                      "(ft/min), Last Deco Stop 20 (ft)");
  EXPECT_EQ(texts[5], "Created a Dive Plan for 100 ft - duration 20 Mins");
  const CDivePlan& dive = *page.Dive(0);
  EXPECT_NEAR(dive.GetMaxProfileDepth(), 30.705, 1e-9);
  EXPECT_NEAR(dive.GetDescentRate(), 60 * 0.30705, 1e-12);
  EXPECT_NEAR(dive.GetLastDecoStop(), 20 * 0.30705, 1e-12);
  EXPECT_NEAR(dive.GetMaxEad(), 300 * 0.30705, 1e-12);
}

// A settings file read on a metric page and on an imperial one plans the
// same dives: the page holds the metres the file stores, not metres turned
// into feet and back.
TEST_F(GenerationRunTest, TheExamplesPlanTheSameDivesInFeetAsInMetres) {
  for (const char* name : {"oc-trimix-50-70m.cct", "cc-trimix-45-60m.cct"}) {
    SCOPED_TRACE(name);
    CTableGeneration metric, imperial;
    imperial.SetUnits(SDisplayUnits::Imperial());
    for (CTableGeneration* run : {&metric, &imperial}) {
      ASSERT_TRUE(run->LoadSettingsFile(std::string(EXAMPLES_DIR) + "/" + name));
      ASSERT_TRUE(run->Generate());
    }
    ASSERT_EQ(imperial.Depths(), metric.Depths());
    ASSERT_EQ(imperial.PlanCount(), metric.PlanCount());
    for (int plan = 0; plan < metric.PlanCount(); ++plan) {
      SCOPED_TRACE(plan);
      const CDivePlan& m = *metric.Dive(plan);
      const CDivePlan& f = *imperial.Dive(plan);
      EXPECT_EQ(imperial.Status(plan), metric.Status(plan));
      EXPECT_EQ(f.GetRunTime(), m.GetRunTime());
      ASSERT_EQ(f.SegmentCount(), m.SegmentCount());
      for (int i = 0; i < m.SegmentCount(); ++i) {
        const CDiveSegment& a = m.Segments()[static_cast<std::size_t>(i)];
        const CDiveSegment& b = f.Segments()[static_cast<std::size_t>(i)];
        EXPECT_NEAR(b.m_depth, a.m_depth, 0.001);
        EXPECT_EQ(b.m_duration, a.m_duration);
        EXPECT_EQ(b.m_end, a.m_end);
        EXPECT_EQ(GasName(b.m_oxygen, b.m_helium), GasName(a.m_oxygen, a.m_helium));
      }
    }
  }
}

// Depths typed in feet meet the switches typed in feet, and a last stop a
// fraction of a millimetre off a switch depth is that switch's depth.
TEST_F(GenerationRunTest, DepthsInFeetMeetTheSwitchesTheyName) {
  page.SetUnits(SDisplayUnits::Imperial());
  test::SetRanges(page, 100, 200, 10, 20, 20, 5);
  STableGenerationInputs in = page.Inputs();
  in.lastDecoStop = 19.54;  // 5.99976 m
  in.maxEad = 300;
  page.SetInputs(in);
  // 100 ft + 4 x 10 ft is 42.986999999999995 m; 140 ft is 42.987 m.
  test::SetSchedules(page, {Oc(0, 21), Oc(140 * 0.30705, 18, 45)}, {Oc(6, 100)});
  const std::vector<double> depths = page.DepthList();
  ASSERT_EQ(depths.size(), 11u);
  EXPECT_EQ(depths[4], 140 * 0.30705);
  ASSERT_TRUE(page.Generate());
  const CDivePlan& at140 = *page.Dive(page.PlanIndex(4, 0));
  EXPECT_EQ(at140.GetNumberOfGasSwitchesUsed(), 3);
  EXPECT_EQ(GasName(at140.Segments()[1].m_oxygen, at140.Segments()[1].m_helium), "18/45")
      << "the travel gas of the table depth is the bottom gas";
  EXPECT_EQ(at140.GetLastDecoStop(), 6.0);
  const CDiveSegment& last = at140.Segments().back();
  EXPECT_EQ(last.m_depth, 6.0);
  EXPECT_EQ(GasName(last.m_oxygen, last.m_helium), "Oxygen") << "the whole last stop on oxygen";
}

TEST_F(GenerationRunTest, ProgressPerPlanAndCancellationBetweenDives) {
  test::SetRanges(page, 20, 30, 10, 10, 20, 10);
  test::SetSchedules(page, {Oc(0, 21)}, {});
  CRecordingProgress progress;
  ASSERT_TRUE(page.Generate(&progress));
  EXPECT_EQ(progress.range, 4);
  EXPECT_EQ(progress.positions, (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(progress.texts, (std::vector<std::string>{"Depth 20 m", "Depth 30 m"}));

  CRecordingProgress cancelling;
  cancelling.cancelAt = 2;
  page.SetThreadCount(2);
  EXPECT_FALSE(page.Generate(&cancelling));
  EXPECT_EQ(page.Messages().back().text, "Cancelled");
  EXPECT_EQ(page.Status(1), Status::Calculated);
  EXPECT_EQ(page.Status(2), Status::NotRun);
  for (int plan = 2; plan < 4; ++plan)
    EXPECT_EQ(page.Dive(plan)->ProfilePointCount(), 0) << "not calculated, whatever ran ahead";
  EXPECT_FALSE(page.ShowViewerRequested());
}

TEST_F(GenerationRunTest, GeneratedDivesTakeThePlanWideSettingsOfThePlan) {
  CPlanGroup group;
  group.SetAlgorithm(0);
  group.SetGasReserve(50);
  page.SetPlanGroup(&group);
  test::SetRanges(page, 30, 30, 10, 20, 20, 5);
  test::SetSchedules(page, {Oc(0, 21)}, {});
  ASSERT_TRUE(page.Generate());
  EXPECT_EQ(page.Dive(0)->GetAlgorithm(), 0);
  EXPECT_EQ(page.Dive(0)->GetGasReserve(), 50);
  group.SetAlgorithm(1);
  EXPECT_EQ(page.Dive(0)->GetAlgorithm(), 0) << "taken when the run started";
}

}  // namespace
}  // namespace kv
