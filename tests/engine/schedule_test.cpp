// Whole dives. The stop tables of the single-gas dives below were checked
// against a separate per-second implementation of the same model written in
// Python for this purpose (same coefficients, 1-second steps, GF line, stop
// grid and whole-minute stop ends); every stop depth, start and duration and
// the run time agreed to the second.

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <tuple>
#include <vector>

#include "base/status_log.h"
#include "base/strings.h"
#include "base/text.h"
#include "engine_test_util.h"
#include "support/test_support.h"

namespace kv {
namespace {

using test::CalculateFromSurface;
using test::MakeDive;

struct SStop {
  double depth;
  int start;
  int duration;
};

std::vector<SStop> Stops(const CDivePlan& d) {
  std::vector<SStop> out;
  for (const CPlanPoint& p : d.ProfilePoints())
    if (p.m_kind == kKindDeco) out.push_back({p.Depth(), p.m_start, p.m_duration});
  return out;
}

void ExpectStops(const CDivePlan& d, const std::vector<SStop>& expected) {
  std::vector<SStop> got = Stops(d);
  ASSERT_EQ(got.size(), expected.size());
  for (std::size_t i = 0; i < got.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_DOUBLE_EQ(got[i].depth, expected[i].depth);
    EXPECT_EQ(got[i].start, expected[i].start);
    EXPECT_EQ(got[i].duration, expected[i].duration);
  }
}

// The profile covers every second once, stops end on whole minutes, and the
// prediction series has one point per second.
void ExpectConsistentProfile(const CDivePlan& d) {
  const auto& pts = d.ProfilePoints();
  ASSERT_FALSE(pts.empty());
  int next = 1;
  for (std::size_t i = 1; i < pts.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(pts[i].m_start, next);
    next = pts[i].m_start + pts[i].m_duration;
    if (pts[i].m_kind == kKindDeco) {
      EXPECT_EQ(next % 60, 0);
    }
  }
  EXPECT_EQ(d.PredictionCount(), d.GetRunTime() + 1);
  EXPECT_DOUBLE_EQ(pts.back().Depth(), 0.0);
}

class Dives : public ::testing::Test {
protected:
  test::CTestEnvironment env;
};

TEST_F(Dives, OpenCircuitAir40m25minWithDeco) {
  auto d = MakeDive({{40, 25, 21, 0}});
  ASSERT_TRUE(CalculateFromSurface(*d));
  ExpectConsistentProfile(*d);
  // Descent of 120 s counts in the 25 minutes.
  EXPECT_EQ(d->ProfilePoints()[1].m_duration, 120);
  EXPECT_EQ(d->ProfilePoints()[2].m_duration, 1380);
  ExpectStops(*d, {{18, 1633, 167}, {15, 1818, 102}, {12, 1938, 162}, {9, 2118, 282}, {6, 2418, 3582}});
  EXPECT_EQ(d->GetRunTime(), 6035);
  EXPECT_TRUE(d->IsCalculationCompleted());
  // Air at 40 m is over the 35 m EAD limit: one gas warning for air.
  ASSERT_EQ(d->GasWarnings().size(), 1u);
  EXPECT_EQ(d->GasWarningText(0), "Air~EAD 35m @ 40m");
  EXPECT_EQ(d->GasWarningText(1), "Invalid");
}

TEST_F(Dives, OpenCircuitNitroxWithShortDeco) {
  auto d = MakeDive({{30, 30, 32, 0}});
  ASSERT_TRUE(CalculateFromSurface(*d));
  ExpectConsistentProfile(*d);
  ExpectStops(*d, {{9, 1927, 233}, {6, 2178, 522}});
  EXPECT_EQ(d->GetRunTime(), 2735);
}

TEST_F(Dives, OpenCircuitNoStopDive) {
  auto d = MakeDive({{18, 20, 21, 0}});
  ASSERT_TRUE(CalculateFromSurface(*d));
  ExpectConsistentProfile(*d);
  EXPECT_TRUE(Stops(*d).empty());
  // Straight ascent of 18 m at 10 m/min after 20 minutes.
  EXPECT_EQ(d->GetRunTime(), 1200 + 108);
  // With the merged first ascent the final ascent of a no-stop dive has no row.
  ASSERT_EQ(d->SegmentCount(), 2);
  EXPECT_EQ(d->Segments()[1].m_kind, kSegBottom);
  EXPECT_EQ(d->Segments()[1].m_duration, 1200 - 54);
}

TEST_F(Dives, ClosedCircuitAirDiluent45m30min) {
  auto d = MakeDive({{45, 30, 21, 0, true, 1.3}});
  ASSERT_TRUE(CalculateFromSurface(*d));
  ExpectConsistentProfile(*d);
  ExpectStops(*d, {{21, 1945, 95}, {18, 2058, 42}, {15, 2118, 102}, {12, 2238, 162}, {9, 2418, 162}, {6, 2598, 1062}});
  EXPECT_EQ(d->GetRunTime(), 3695);
  // Closed circuit breathes nothing from open-circuit cylinders.
  EXPECT_FALSE(d->AnyConsumption());
}

TEST_F(Dives, TrimixWithTwoDecoGases) {
  auto d = MakeDive({{60, 20, 18, 45}, {21, 0, 50, 0}, {6, 0, 100, 0}});
  ASSERT_TRUE(CalculateFromSurface(*d));
  ExpectConsistentProfile(*d);
  const auto& pts = d->ProfilePoints();
  // The switches are zero-duration planned points at their depths; every
  // stop after a switch breathes the new gas and carries its number.
  int switches = 0;
  for (const CPlanPoint& p : pts) {
    if (p.m_kind == kKindPlanned && p.m_duration == 0) {
      ++switches;
      EXPECT_TRUE(p.Depth() == 21.0 || p.Depth() == 6.0);
    }
    if (p.m_kind == kKindDeco && p.Depth() <= 21.0 && p.Depth() > 6.0) {
      EXPECT_EQ(p.m_oxygen, 50.0);
      EXPECT_GE(p.m_source, 2.0);
      EXPECT_LT(p.m_source, 3.0);
    }
    if (p.m_kind == kKindDeco && p.Depth() == 6.0) {
      EXPECT_EQ(p.m_oxygen, 100.0);
    }
  }
  EXPECT_EQ(switches, 2);
  ExpectStops(*d, {{30, 1381, 59},
                   {27, 1458, 42},
                   {24, 1518, 102},
                   {21, 1638, 102},
                   {18, 1758, 42},
                   {15, 1818, 162},
                   {12, 1998, 162},
                   {9, 2178, 282},
                   {6, 2478, 1302}});
  EXPECT_EQ(d->GetRunTime(), 3815);
  // Three gases breathed on open circuit, accounted separately.
  int used = 0;
  for (const auto& c : d->GasConsumption()) used += c.m_gas.IsValid();
  EXPECT_EQ(used, 3);
}

TEST_F(Dives, ClosedCircuitSetpointChangeAtDepth) {
  // 20 minutes at 1.0 bar, then 10 more at 1.3 bar at the same depth.
  auto d = MakeDive({{40, 20, 21, 0, true, 1.0}, {40, 10, 21, 0, true, 1.3}});
  ASSERT_TRUE(CalculateFromSurface(*d));
  ExpectConsistentProfile(*d);
  const auto& pts = d->ProfilePoints();
  ASSERT_GE(pts.size(), 4u);
  EXPECT_EQ(pts[3].m_kind, kKindPlanned);
  EXPECT_EQ(pts[3].m_start, 1201);
  EXPECT_EQ(pts[3].m_duration, 600);
  EXPECT_DOUBLE_EQ(pts[3].m_source, 2.0);
  EXPECT_DOUBLE_EQ(d->Prediction(1200)->m_ppo2, 1.0);
  EXPECT_DOUBLE_EQ(d->Prediction(1201)->m_ppo2, 1.3);
  // The ascent after the second point carries that point's number.
  EXPECT_DOUBLE_EQ(pts[4].m_source, 2.01);
  // A higher setpoint for the second half gives less deco than staying at 1.0.
  auto low = MakeDive({{40, 30, 21, 0, true, 1.0}});
  ASSERT_TRUE(CalculateFromSurface(*low));
  EXPECT_LT(d->GetRunTime(), low->GetRunTime());
}

TEST_F(Dives, NoClearSurfacePointKeepsItsFlagOnlyOnThePlannedTime) {
  auto d = MakeDive({{30, 20, 32, 0, false, 0, true}});
  ASSERT_TRUE(CalculateFromSurface(*d));
  ExpectConsistentProfile(*d);
  for (const CPlanPoint& p : d->ProfilePoints()) {
    if (p.m_kind == kKindPlanned) {
      EXPECT_TRUE(p.m_noClearSurface);
    }
    if (p.m_kind == kKindDescent || p.m_kind == kKindDecoAscent || p.m_kind == kKindDeco) {
      EXPECT_FALSE(p.m_noClearSurface);
    }
  }
  bool rowFlagged = false;
  for (const CDiveSegment& s : d->Segments()) rowFlagged |= s.m_noClearSurface != 0;
  EXPECT_TRUE(rowFlagged);
}

TEST_F(Dives, ZeroDurationSwitchOnTheWayDownCountsTheWholeDescent) {
  // 0 -> 20 m (60 s) switch, 20 -> 40 m (60 s), 20 minutes counted from leaving the surface.
  auto d = MakeDive({{20, 0, 21, 0}, {40, 20, 18, 45}});
  ASSERT_TRUE(CalculateFromSurface(*d));
  const auto& pts = d->ProfilePoints();
  ASSERT_GE(pts.size(), 4u);
  EXPECT_EQ(pts[1].m_duration, 60);
  EXPECT_EQ(pts[2].m_duration, 60);
  EXPECT_EQ(pts[3].m_duration, 18 * 60);
  EXPECT_EQ(pts[3].m_start, 121);
  // The second leg breathes the switch point's gas.
  EXPECT_EQ(pts[2].m_oxygen, 21.0);
  EXPECT_DOUBLE_EQ(pts[2].m_source, 1.01);
  EXPECT_DOUBLE_EQ(pts[3].m_source, 2.0);
}

TEST_F(Dives, TravelTimeTruncatesTheWrittenDivision) {
  // 3 m at 9 m/min is 3 / 0.15 = 19.999... s, truncated to 19; and 40 m at
  // 20 m/min exactly 120 s.
  auto d = MakeDive({{3, 5, 21, 0}});
  d->SetDescentRate(9);
  ASSERT_TRUE(CalculateFromSurface(*d));
  const double expected = std::trunc(3.0 / (9.0 / 60.0));
  EXPECT_EQ(d->ProfilePoints()[1].m_duration, static_cast<int>(expected));
}

TEST_F(Dives, FirstPointAtTheSurfaceWithATimeIsSpentAtTheSurface) {
  auto d = MakeDive({{0, 10, 100, 0}, {20, 20, 32, 0}});
  ASSERT_TRUE(CalculateFromSurface(*d));
  ExpectConsistentProfile(*d);
  const auto& pts = d->ProfilePoints();
  EXPECT_EQ(pts[0].m_duration, 0);
  EXPECT_EQ(pts[1].m_start, 1);
  EXPECT_EQ(pts[1].m_duration, 600);
  EXPECT_DOUBLE_EQ(d->Prediction(300)->m_depthPressure, 0.0);
  EXPECT_DOUBLE_EQ(d->Prediction(300)->m_oxygen, 100.0);
  EXPECT_EQ(pts[2].m_start, 601);
}

TEST_F(Dives, DegenerateInputsEndCleanly) {
  // Empty plan, a single surface point, a zero-duration dive.
  CDivePlan empty;
  EXPECT_TRUE(CalculateFromSurface(empty));
  EXPECT_EQ(empty.SegmentCount(), 0);
  auto surface = MakeDive({{0, 0, 21, 0}});
  EXPECT_TRUE(CalculateFromSurface(*surface));
  EXPECT_EQ(surface->GetRunTime(), 0);
  auto bounce = MakeDive({{30, 0, 21, 0}});
  EXPECT_TRUE(CalculateFromSurface(*bounce));
  ExpectConsistentProfile(*bounce);
  // A descent rate of 0 can never arrive: the limits end it.
  auto stuck = MakeDive({{30, 10, 21, 0}});
  stuck->SetDescentRate(0);
  EXPECT_FALSE(CalculateFromSurface(*stuck));
  EXPECT_TRUE(stuck->IsTimeLimitExceeded());
  // An absurd depth runs into the limits rather than into NaN or a hang.
  auto deep = MakeDive({{100000, 10, 21, 0}});
  EXPECT_FALSE(CalculateFromSurface(*deep));
  EXPECT_EQ(deep->SegmentCount(), 0);
}

TEST_F(Dives, DecliningTheSixHourQuestionStopsWithoutTheDayMessage) {
  env.prompt.answers = {false};
  auto d = MakeDive({{120, 100, 10, 70, true, 1.3}});
  EXPECT_FALSE(CalculateFromSurface(*d));
  ASSERT_EQ(env.prompt.shown.size(), 1u);
  EXPECT_TRUE(env.prompt.shown[0].question);
  EXPECT_EQ(env.prompt.shown[0].text, Format(kSixHourQuestion, 1));
  EXPECT_NE(env.prompt.shown[0].text.find("scrubber\u00A0requirements"), std::string::npos);
  EXPECT_TRUE(d->IsTimeLimitExceeded());
  EXPECT_FALSE(d->HasRememberedAnswer());
}

// Air at 5 m needs no stop: 15 s down, the rest of the time at the bottom,
// 30 s up. Surfacing at 6:00:00 exactly is within six hours, and at
// 24:00:00 within the day; one second more is not.
TEST_F(Dives, ADiveEndingOnTheHourLimitIsWithinIt) {
  auto sixHours = MakeDive({{5, 359.5, 21, 0}});
  ASSERT_TRUE(CalculateFromSurface(*sixHours));
  EXPECT_EQ(sixHours->GetRunTime(), CDivePlan::kSixHours);
  EXPECT_TRUE(env.prompt.shown.empty());
  EXPECT_FALSE(sixHours->IsExtendedPlanningUsed());

  env.prompt.answers = {false};
  auto longer = MakeDive({{5, 359.5 + 1.0 / 60.0, 21, 0}});
  EXPECT_FALSE(CalculateFromSurface(*longer));
  ASSERT_EQ(env.prompt.shown.size(), 1u);
  EXPECT_TRUE(env.prompt.shown[0].question);

  env.prompt.shown.clear();
  env.prompt.answers = {true, true};
  auto day = MakeDive({{5, 1439.5, 21, 0}});
  ASSERT_TRUE(CalculateFromSurface(*day));
  EXPECT_EQ(day->GetRunTime(), CDivePlan::kTwentyFourHours);
  auto dayAndASecond = MakeDive({{5, 1439.5 + 1.0 / 60.0, 21, 0}});
  EXPECT_FALSE(CalculateFromSurface(*dayAndASecond));
  EXPECT_TRUE(dayAndASecond->IsTimeLimitExceeded());
}

TEST_F(Dives, AcceptingTheExtensionIsRememberedAndTheDayLimitStillHolds) {
  env.prompt.answers = {true};
  // Long enough to need more than six hours but less than a day.
  auto d = MakeDive({{100, 60, 10, 70, true, 1.3}});
  const bool ok = CalculateFromSurface(*d);
  ASSERT_EQ(env.prompt.shown.size(), 1u);
  EXPECT_TRUE(d->HasRememberedAnswer());
  EXPECT_TRUE(d->GetRememberedAnswer());
  if (ok) {
    EXPECT_GT(d->GetRunTime(), CDivePlan::kSixHours);
    EXPECT_TRUE(d->IsExtendedPlanningUsed());
    // The question was asked while the run time first passed six hours, inside a stop.
    ExpectConsistentProfile(*d);
  }
  // The remembered yes is reused without asking again.
  env.prompt.shown.clear();
  CalculateFromSurface(*d);
  EXPECT_TRUE(env.prompt.shown.empty() ||
              (env.prompt.shown.size() == 1 && env.prompt.shown[0].text == kTwentyFourHourLimit));
}

TEST_F(Dives, PastTwentyFourHoursAfterAcceptingShowsTheDayMessage) {
  env.prompt.answers = {true};
  auto d = MakeDive({{200, 600, 5, 85, true, 1.3}});
  EXPECT_FALSE(CalculateFromSurface(*d));
  ASSERT_EQ(env.prompt.shown.size(), 2u);
  EXPECT_EQ(env.prompt.shown[1].text, kTwentyFourHourLimit);
  EXPECT_TRUE(d->IsTimeLimitExceeded());
  EXPECT_EQ(d->SegmentCount(), 0);
}

bool Calculate(CDivePlan& d, const SCalculationSettings& settings) {
  return d.Calculate(0, nullptr, nullptr, 0.0, 0.0, true, settings);
}

TEST_F(Dives, AnAnswerGivenInAdvanceAsksNothingAndShowsNothing) {
  // Worker threads of a table run or a bailout sweep must never open a dialog.
  SCalculationSettings accept;
  accept.extendedPlanning = EExtendedPlanning::Accept;
  auto unattended = MakeDive({{100, 60, 10, 70, true, 1.3}});
  ASSERT_TRUE(Calculate(*unattended, accept));
  EXPECT_TRUE(env.prompt.shown.empty());
  EXPECT_TRUE(unattended->IsExtendedPlanningUsed());
  EXPECT_FALSE(unattended->HasRememberedAnswer()) << "the caller's answer is not the dive's";

  // The same dive answered yes by the user plans the same profile.
  env.prompt.answers = {true};
  auto asked = MakeDive({{100, 60, 10, 70, true, 1.3}});
  ASSERT_TRUE(CalculateFromSurface(*asked));
  ASSERT_EQ(env.prompt.shown.size(), 1u);
  ASSERT_EQ(asked->ProfilePointCount(), unattended->ProfilePointCount());
  for (int i = 0; i < asked->ProfilePointCount(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(asked->GetProfileStart(i), unattended->GetProfileStart(i));
    EXPECT_EQ(asked->GetProfileDuration(i), unattended->GetProfileDuration(i));
    EXPECT_EQ(asked->GetProfileDepth(i), unattended->GetProfileDepth(i));
  }

  // Past 24 hours the day message is left to the caller.
  env.prompt.shown.clear();
  auto day = MakeDive({{200, 600, 5, 85, true, 1.3}});
  EXPECT_FALSE(Calculate(*day, accept));
  EXPECT_TRUE(day->IsTimeLimitExceeded());
  EXPECT_TRUE(env.prompt.shown.empty());

  SCalculationSettings decline;
  decline.extendedPlanning = EExtendedPlanning::Decline;
  EXPECT_FALSE(Calculate(*unattended, decline));
  EXPECT_TRUE(unattended->IsTimeLimitExceeded());
  EXPECT_FALSE(unattended->IsExtendedPlanningUsed());
  EXPECT_TRUE(env.prompt.shown.empty());
}

TEST_F(Dives, ARememberedAnswerComesBeforeOneGivenInAdvance) {
  auto d = MakeDive({{100, 60, 10, 70, true, 1.3}});
  d->SetRememberedAnswer(true, false);
  SCalculationSettings accept;
  accept.extendedPlanning = EExtendedPlanning::Accept;
  EXPECT_FALSE(Calculate(*d, accept));
  EXPECT_TRUE(d->IsTimeLimitExceeded());
}

TEST_F(Dives, TheCalculationReadsItsSettingsSnapshot) {
  // The built-in settings say metres, merged first ascent, no log; the
  // snapshot says otherwise, and it holds everywhere in the calculation.
  const std::string logPath = test::TempDir() + "/StatusLog.txt";
  StatusLog().OpenLogAt(logPath, false);
  SCalculationSettings settings;
  settings.debugLevel = kLogProgress;
  settings.detailedFirstAscent = true;
  settings.units = SDisplayUnits::Imperial();
  auto d = MakeDive({{40, 25, 21, 0}});
  ASSERT_TRUE(Calculate(*d, settings));
  StatusLog().Close();
  EXPECT_NE(test::ReadFile(logPath).find("Construct Profile - Started in dive 0"), std::string::npos);
  ASSERT_GE(d->SegmentCount(), 3);
  EXPECT_EQ(d->Segments()[2].m_kind, kSegFirstAscent);
  EXPECT_EQ(d->GasWarningText(0), "Air~EAD 114ft @ 130ft");

  ASSERT_TRUE(CalculateFromSurface(*d));
  EXPECT_EQ(d->Segments()[2].m_kind, kSegPrinted);
  EXPECT_EQ(d->GasWarningText(0), "Air~EAD 35m @ 40m");
  EXPECT_EQ(d->CalculationSettings().debugLevel, 0);
}

TEST_F(Dives, RandomPlansNeverHangOrProduceNan) {
  std::mt19937 rng(12345);
  std::uniform_real_distribution<double> depth(0, 90), minutes(0, 40), oxygen(10, 50);
  for (int n = 0; n < 40; ++n) {
    SCOPED_TRACE(n);
    auto d = std::make_unique<CDivePlan>();
    const int points = 1 + static_cast<int>(rng() % 4);
    for (int i = 0; i < points; ++i) {
      const bool cc = rng() % 2;
      d->AppendUserPoint(test::MakePoint(
          {std::round(depth(rng)), std::round(minutes(rng)), std::round(oxygen(rng)), 20, cc, 1.2}));
    }
    d->SetLastDecoStop(rng() % 2 ? 3 : 6);
    CalculateFromSurface(*d);
    for (int t = 0; t < d->PredictionCount(); ++t) {
      const CPredictionPoint* p = d->Prediction(t);
      ASSERT_TRUE(std::isfinite(p->m_depthPressure) && std::isfinite(p->m_ceiling) && std::isfinite(p->m_cns));
    }
    if (d->IsCalculationCompleted()) ExpectConsistentProfile(*d);
  }
}

TEST(NextStopDepth, FollowsTheStopGrid) {
  test::CTestEnvironment env;
  // Stay at a depth until the ceiling is where we want it, then ask.
  auto d = MakeDive({{40, 25, 21, 0}});
  ASSERT_TRUE(CalculateFromSurface(*d));
  // Find seconds whose ceiling lies in given bands and check the grid.
  bool sawNine = false, sawSix = false;
  for (int t = 1; t < d->PredictionCount(); ++t) {
    const double c = d->Prediction(t - 1)->m_ceiling / 100.0;
    const double s = d->NextStopDepth(t, 0);
    if (c < 0) {
      EXPECT_EQ(s, -1);
    } else if (c <= 6.0) {
      EXPECT_EQ(s, 6.0);
      sawSix = true;
    } else if (c <= 9.0) {
      EXPECT_EQ(s, 9.0);
      sawNine = true;
    } else {
      EXPECT_EQ(std::fmod(s, 3.0), 0.0);
      EXPECT_GE(s, c);
      EXPECT_LT(s - c, 3.0);
    }
    // A target deeper than the ceiling and the last stop needs no stop.
    if (c >= 0 && c < 30) {
      EXPECT_EQ(d->NextStopDepth(t, 30), -1);
    }
  }
  EXPECT_TRUE(sawNine && sawSix);
}

TEST(NextStopDepth, ThreeMetreLastStopUsesThreeSixNine) {
  test::CTestEnvironment env;
  auto d = MakeDive({{40, 25, 21, 0}});
  d->SetLastDecoStop(3);
  ASSERT_TRUE(CalculateFromSurface(*d));
  std::vector<double> depths;
  for (const auto& s : Stops(*d)) depths.push_back(s.depth);
  ASSERT_FALSE(depths.empty());
  EXPECT_EQ(depths.back(), 3.0);
  for (double x : depths) EXPECT_EQ(std::fmod(x, 3.0), 0.0);
}

}  // namespace
}  // namespace kv
