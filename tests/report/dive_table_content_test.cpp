// The dive table of calculated dives: header texts, rows in dive order, both
// time units, both printing directions, both unit systems and the optional columns.

#include <algorithm>
#include <numeric>

#include <gtest/gtest.h>

#include "base/preferences.h"
#include "report/dive_plan_table.h"
#include "report/table_builder.h"
#include "report_test_util.h"
#include "support/test_support.h"

namespace kv {
namespace {

using test::Fields;
using test::SPoint;

class DiveTableContentTest : public ::testing::Test {
protected:
  // Dive-order rows, times in minutes and seconds: the plainest reading.
  DiveTableContent Content(const CDivePlan& dive, SReportOptions options = Plain()) {
    dives = {&dive};
    return BuildDiveTableContent(dives, 0, options);
  }
  static SReportOptions Plain() {
    SReportOptions options;
    options.runTimeAscending = false;
    options.minutesAndSeconds = true;
    return options;
  }
  // The decompression stop depths of the calculated profile, deepest first.
  static std::vector<double> StopDepths(const CDivePlan& dive) {
    std::vector<double> depths;
    for (const CPlanPoint& p : dive.ProfilePoints())
      if (p.m_kind == kKindDeco) depths.push_back(p.Depth());
    return depths;
  }
  static int Seconds(const std::string& minutesSeconds) {
    const auto colon = minutesSeconds.find(':');
    return std::stoi(minutesSeconds.substr(0, colon)) * 60 + std::stoi(minutesSeconds.substr(colon + 1));
  }

  test::CTestEnvironment env;
  std::vector<const CDivePlan*> dives;
};

TEST_F(DiveTableContentTest, DecoDiveRowsFollowTheCalculationInDiveOrder) {
  auto dive = test::MakeDive({{40, 1200}});
  ASSERT_TRUE(test::CalculateFirst(*dive));
  const DiveTableContent c = Content(*dive);
  const auto& segments = dive->Segments();
  ASSERT_EQ(c.rows.size(), segments.size() + 1);
  EXPECT_EQ(c.rows[0], "Gas~PPO2~Warnings~Depth (m)~Segment Time~Run Time");

  int runTime = 0;
  std::vector<double> rowDepths;
  for (std::size_t i = 0; i < segments.size(); ++i) {
    const auto f = Fields(c.rows[i + 1]);
    ASSERT_EQ(f.size(), 6u) << c.rows[i + 1];
    EXPECT_EQ(f[0], "Air");
    EXPECT_EQ(f[1], "OC");
    // Segment times add up to the run time of every row.
    runTime += Seconds(f[4]);
    EXPECT_EQ(Seconds(f[5]), runTime) << "row " << i + 1;
    EXPECT_EQ(Seconds(f[5]), segments[i].m_end);
    if (f[3] != "Bottom Depth") rowDepths.push_back(std::stod(f[3]));
  }
  EXPECT_EQ(runTime, dive->GetRunTime());
  EXPECT_EQ(Fields(c.rows[2])[3], "Bottom Depth");

  // Every stop of the calculation is a row at its depth, deepest first,
  // after the descent row.
  const std::vector<double> stops = StopDepths(*dive);
  ASSERT_GE(stops.size(), 2u);
  ASSERT_EQ(rowDepths.size(), stops.size() + 1);
  EXPECT_EQ(rowDepths[0], 0.0);
  EXPECT_EQ(std::vector<double>(rowDepths.begin() + 1, rowDepths.end()), stops);
  // The last stop row holds the last stop and the final ascent.
  EXPECT_EQ(Fields(c.rows.back())[5], Format("%d:%02d", dive->GetRunTime() / 60, dive->GetRunTime() % 60));
}

TEST_F(DiveTableContentTest, AscendingDirectionListsTheLastSegmentFirst) {
  auto dive = test::MakeDive({{40, 1200}});
  ASSERT_TRUE(test::CalculateFirst(*dive));
  const DiveTableContent down = Content(*dive);
  SReportOptions up = Plain();
  up.runTimeAscending = true;
  const DiveTableContent c = Content(*dive, up);
  ASSERT_EQ(c.rows.size(), down.rows.size());
  EXPECT_EQ(c.rows[0], down.rows[0]);
  EXPECT_TRUE(std::equal(c.rows.begin() + 1, c.rows.end(), down.rows.rbegin()));
  EXPECT_TRUE(std::equal(c.rowAlerts.begin() + 1, c.rowAlerts.end(), down.rowAlerts.rbegin()));
  EXPECT_FALSE(c.rowAlerts[0]);
  // The bottom row carries the EAD warning of air at 40 m, wherever it stands.
  EXPECT_TRUE(c.rowAlerts[c.rows.size() - 2]);
}

TEST_F(DiveTableContentTest, MinutesOnlyRoundsRunTimesUpAndDiffersThem) {
  // 25 m at 12 m/min: the descent ends at 125 s, the bottom time at 180 s.
  auto dive = test::MakeDive({{25, 180, 32}});
  dive->SetDescentRate(12);
  ASSERT_TRUE(test::CalculateFirst(*dive));
  ASSERT_EQ(dive->Segments()[0].m_end, 125);
  ASSERT_EQ(dive->Segments()[1].m_end, 180);
  SReportOptions options = Plain();
  options.minutesAndSeconds = false;
  const DiveTableContent c = Content(*dive, options);
  EXPECT_EQ(c.rows[1], "32% Nitrox~OC~ 0~3~3");
  EXPECT_EQ(c.rows[2], "32% Nitrox~OC~Bottom Depth~0~3");

  // Ascending up the page keeps the dive-order differences.
  options.runTimeAscending = true;
  const DiveTableContent up = Content(*dive, options);
  EXPECT_EQ(up.rows.back(), "32% Nitrox~OC~ 0~3~3");
}

TEST_F(DiveTableContentTest, MinutesOnlySegmentTimesAddUpOnADecoDive) {
  auto dive = test::MakeDive({{45, 1500, 21, 35}, {21, 0, 50}, {6, 0, 100}});
  ASSERT_TRUE(test::CalculateFirst(*dive));
  SReportOptions options = Plain();
  options.minutesAndSeconds = false;
  const DiveTableContent c = Content(*dive, options);
  int total = 0;
  for (std::size_t i = 1; i < c.rows.size(); ++i) {
    const auto f = Fields(c.rows[i]);
    total += std::stoi(f[f.size() - 2]);
    EXPECT_EQ(std::stoi(f.back()), total) << c.rows[i];
    EXPECT_EQ(std::stoi(f.back()) * 60, RoundUpToMinute(dive->Segments()[i - 1].m_end));
  }
  // The deco gases show in the rows of their stops.
  bool oxygenRow = false;
  for (const std::string& row : c.rows) oxygenRow = oxygenRow || row.rfind("Oxygen~OC~", 0) == 0;
  EXPECT_TRUE(oxygenRow);
}

TEST_F(DiveTableContentTest, HeaderOfASingleDive) {
  auto dive = test::MakeDive({{40, 1200}});
  ASSERT_TRUE(test::CalculateFirst(*dive));
  const DiveTableContent c = Content(*dive);
  const auto h = Fields(c.header);
  ASSERT_EQ(h.size(), 6u);
  EXPECT_EQ(h[0], "40m");
  EXPECT_EQ(h[1], "Dive Plan");
  EXPECT_EQ(h[2], "GF<br>20/80");
  const int run = dive->GetRunTime();
  EXPECT_EQ(h[3], Format("Dive 1 of 1, Duration (hh:mm) %d:%02d", run / 3600, (run % 3600 + 30) / 60));
  EXPECT_EQ(h[4], Format("CNS Final %0.1f%%", dive->LastPrediction()->m_cns * 100.0));
  EXPECT_EQ(h[5], Format("OTU Final %0.1f%%", dive->LastPrediction()->m_otu / 300.0 * 100.0));
  EXPECT_FALSE(c.cnsAlert);
  EXPECT_FALSE(c.otuAlert);
  EXPECT_EQ(c.footer, "<b>Created 28.05.2026 20:26:40<br>Kestrun Varnadel (Version 0.1.0)</b>");
}

TEST_F(DiveTableContentTest, DurationMinutesAreRoundedNotTruncated) {
  // 10 m for 58:59 on air ends at 3599 s without a stop.
  auto dive = test::MakeDive({{10, 3539}});
  ASSERT_TRUE(test::CalculateFirst(*dive));
  ASSERT_EQ(dive->GetRunTime(), 3599);
  EXPECT_EQ(Fields(Content(*dive).header)[3], "Dive 1 of 1, Duration (hh:mm) 0:60");
}

TEST_F(DiveTableContentTest, LaterDiveShowsSurfaceIntervalAndInitialExposure) {
  auto first = test::MakeDive({{30, 1500, 32}});
  auto second = test::MakeDive({{25, 1500, 32}});
  second->SetSurfaceInterval(3600 + 25 * 60 + 59);  // 1:25:59 shows as 1:25
  ASSERT_TRUE(test::CalculateFirst(*first));
  ASSERT_TRUE(test::CalculateAfter(*second, *first, 1));
  dives = {first.get(), second.get()};
  const auto h1 = Fields(BuildDiveTableContent(dives, 0, Plain()).header);
  const auto h2 = Fields(BuildDiveTableContent(dives, 1, Plain()).header);
  EXPECT_EQ(h1[3].find("Surface Interval"), std::string::npos);
  EXPECT_EQ(h1[3].rfind("Dive 1 of 2, Duration (hh:mm) ", 0), 0u);
  EXPECT_EQ(h1[4].rfind("CNS Final ", 0), 0u);
  const int run = second->GetRunTime();
  EXPECT_EQ(h2[3], Format("Dive 2 of 2, Duration (hh:mm) %d:%02d, Surface Interval (hh:mm) 1:25", run / 3600,
                          (run % 3600 + 30) / 60));
  const double initialCns = second->Prediction(0)->m_cns;
  EXPECT_GT(initialCns, 0.0);
  EXPECT_EQ(h2[4], Format("CNS Initial %0.1f%% Final %0.1f%%", initialCns * 100.0,
                          second->LastPrediction()->m_cns * 100.0));
  EXPECT_EQ(h2[5], Format("OTU Initial %0.1f%% Final %0.1f%%", second->Prediction(0)->m_otu / 300.0 * 100.0,
                          second->LastPrediction()->m_otu / 300.0 * 100.0));
}

TEST_F(DiveTableContentTest, ExposureAlertsStartAboveTheLimits) {
  auto first = test::MakeDive({{20, 1200, 32}});
  auto second = test::MakeDive({{20, 1200, 32}});
  ASSERT_TRUE(test::CalculateFirst(*first));
  ASSERT_TRUE(test::CalculateAfter(*second, *first, 1));
  dives = {first.get(), second.get()};
  // The per-second states are the calculation's; set the end values the
  // boundaries need.
  auto set = [](const CPredictionPoint* p, double cns, double otu) {
    auto* point = const_cast<CPredictionPoint*>(p);
    point->m_cns = cns;
    point->m_otu = otu;
  };
  set(first->LastPrediction(), 1.0, 300.0);
  DiveTableContent c = BuildDiveTableContent(dives, 0, Plain());
  EXPECT_FALSE(c.cnsAlert);
  EXPECT_FALSE(c.otuAlert);
  EXPECT_EQ(Fields(c.header)[4], "CNS Final 100.0%");
  EXPECT_EQ(Fields(c.header)[5], "OTU Final 100.0%");
  set(first->LastPrediction(), 1.0001, 300.01);
  c = BuildDiveTableContent(dives, 0, Plain());
  EXPECT_TRUE(c.cnsAlert);
  EXPECT_TRUE(c.otuAlert);

  // A later dive also alerts on what it starts with.
  set(second->LastPrediction(), 0.5, 50.0);
  set(second->Prediction(0), 1.01, 10.0);
  c = BuildDiveTableContent(dives, 1, Plain());
  EXPECT_TRUE(c.cnsAlert);
  EXPECT_FALSE(c.otuAlert);
  set(second->Prediction(0), 0.2, 301.0);
  c = BuildDiveTableContent(dives, 1, Plain());
  EXPECT_FALSE(c.cnsAlert);
  EXPECT_TRUE(c.otuAlert);
}

TEST_F(DiveTableContentTest, ImperialUnitsConvertDepthsOnly) {
  auto dive = test::MakeDive({{40, 1200}});
  ASSERT_TRUE(test::CalculateFirst(*dive));
  const DiveTableContent metric = Content(*dive);
  const DiveTableContent c = Content(*dive, [] {
    SReportOptions o = Plain();
    o.units = SDisplayUnits::Imperial();
    return o;
  }());
  EXPECT_EQ(Fields(c.header)[0], "130ft");
  EXPECT_EQ(Fields(c.rows[0])[3], "Depth (ft)");
  for (std::size_t i = 1; i < c.rows.size(); ++i) {
    const auto f = Fields(c.rows[i]), m = Fields(metric.rows[i]);
    if (m[3] == "Bottom Depth")
      EXPECT_EQ(f[3], "Bottom Depth");
    else
      EXPECT_EQ(f[3], Format("%2.0f", std::stod(m[3]) * 3.2568));
    EXPECT_EQ(f[4], m[4]);
    EXPECT_EQ(f[5], m[5]);
  }
}

TEST_F(DiveTableContentTest, DetailedFirstAscentGetsItsOwnRow) {
  SCalculationSettings detailed;
  detailed.detailedFirstAscent = true;
  auto calculate = [&](CDivePlan& dive) { return dive.Calculate(0, nullptr, nullptr, 0.0, 0.0, true, detailed); };
  auto deco = test::MakeDive({{40, 1200}});
  ASSERT_TRUE(calculate(*deco));
  const DiveTableContent c = Content(*deco);
  ASSERT_GE(c.rows.size(), 4u);
  EXPECT_EQ(Fields(c.rows[2])[3], "Bottom Depth");
  EXPECT_EQ(Fields(c.rows[3])[3], "Ascent to 1st Stop");

  // Without a stop the first ascent is the ascent to the surface.
  auto noStop = test::MakeDive({{12, 600}});
  ASSERT_TRUE(calculate(*noStop));
  EXPECT_EQ(Fields(Content(*noStop).rows.back())[2], "Ascent to Surface");
}

TEST_F(DiveTableContentTest, ClosedCircuitRowsShowTheSetpoint) {
  auto dive = test::MakeDive({{30, 1200, 21, 35, true, 1.3}});
  ASSERT_TRUE(test::CalculateFirst(*dive));
  const DiveTableContent c = Content(*dive);
  EXPECT_EQ(c.rows[0], "Gas~PPO2~Depth (m)~Segment Time~Run Time");
  for (std::size_t i = 1; i < c.rows.size(); ++i) EXPECT_EQ(c.rows[i].rfind("21/35~1.30~", 0), 0u) << c.rows[i];
  EXPECT_TRUE(c.warnings.empty());
}

TEST_F(DiveTableContentTest, WarningsColumnAndLinesComeFromTheGasWarnings) {
  // Trimix at 50 m, then air at 30 m with a 20 m EAD limit: the switch to the
  // nitrogen-rich gas is a counter-diffusion risk and air there is too narcotic.
  auto dive = test::MakeDive({{50, 600, 18, 45}, {30, 300}});
  dive->SetMaxEad(20);
  ASSERT_TRUE(test::CalculateFirst(*dive));
  const DiveTableContent c = Content(*dive);
  EXPECT_EQ(Fields(c.rows[0])[2], "Warnings");
  bool both = false;
  for (std::size_t i = 1; i < c.rows.size(); ++i) {
    const auto f = Fields(c.rows[i]);
    EXPECT_EQ(c.rowAlerts[i], f[2] != "&nbsp") << c.rows[i];
    if (f[2] == "ICD Risk, EAD") both = true;
  }
  EXPECT_TRUE(both);
  ASSERT_EQ(c.warnings.size(), dive->GasWarnings().size() + 1);
  EXPECT_EQ(c.warnings[0], "Gas~Warnings");
  EXPECT_EQ(c.warnings[1], dive->GasWarningText(0));
  EXPECT_EQ(Fields(c.warnings[1])[0], "Air");
}

TEST_F(DiveTableContentTest, NoClearSurfaceColumnMarksTheOverheadRows) {
  auto dive = test::MakeDive({{20, 600, 32, 0, false, 1.3, true}, {15, 600, 32}});
  ASSERT_TRUE(test::CalculateFirst(*dive));
  const DiveTableContent c = Content(*dive);
  const auto headings = Fields(c.rows[0]);
  ASSERT_EQ(headings.size(), 6u);
  EXPECT_EQ(headings[3], "NCS");
  int marked = 0;
  for (std::size_t i = 1; i < c.rows.size(); ++i) {
    const std::string cell = Fields(c.rows[i])[3];
    EXPECT_TRUE(cell == "NCS" || cell == "&nbsp") << cell;
    marked += cell == "NCS";
    EXPECT_EQ(cell == "NCS", dive->Segments()[i - 1].m_noClearSurface != 0);
  }
  EXPECT_GE(marked, 1);
  EXPECT_LT(marked, static_cast<int>(c.rows.size()) - 1);
}

TEST_F(DiveTableContentTest, BailoutDiveGetsTheBailoutTitle) {
  auto dive = test::MakeBailoutDive(
      {{0, 0, 21, 35, true}, {40, 1200, 21, 35, true}, {40, 60, 21, 35, false, 1.3, false, true}}, 40.0, 1200);
  dive->SetBailoutSacRate(20);
  dive->SetBailoutGfLow(30);
  dive->SetBailoutGfHigh(85);
  ASSERT_TRUE(test::CalculateFirst(*dive));
  ASSERT_TRUE(dive->BailoutWalked());
  EXPECT_EQ(Fields(Content(*dive).header)[1], "Dive Plan<br>Bailout @ 40m @ 20 mins GF30/85 SAC 20 (l/min)");
  SReportOptions imperial = Plain();
  imperial.units = SDisplayUnits::Imperial();
  EXPECT_EQ(Fields(Content(*dive, imperial).header)[1],
            "Dive Plan<br>Bailout @ 130ft @ 20 mins GF30/85 SAC 0.7 (cu ft/min)");
}

TEST_F(DiveTableContentTest, FooterNamesTheDiverSafelyForHtml) {
  env.clock.Set(1780000000 + 86400 * 40);  // 7 July 2026
  EXPECT_EQ(TableFooterText("A. Diver & <Crew>"),
            "<b>Created 07.07.2026 20:26:40 by A. Diver &amp; &lt;Crew&gt;<br>Kestrun Varnadel (Version 0.1.0)</b>");
  // Without a name nothing follows "Created" but the date.
  EXPECT_EQ(TableFooterText(""), "<b>Created 07.07.2026 20:26:40<br>Kestrun Varnadel (Version 0.1.0)</b>");
  EXPECT_EQ(TableFooterText("  "), TableFooterText(""));
}

}  // namespace
}  // namespace kv
