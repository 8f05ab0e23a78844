// The printed tables of a run, in both groupings, checked cell by cell
// against the segments of the dives they were built from.

#include "tablegen/consolidation.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "base/text.h"
#include "support/test_support.h"
#include "tablegen/table_generation.h"
#include "tablegen_test_util.h"

namespace kv {
namespace {

using test::Oc;

std::vector<std::string> Fields(const std::string& line) {
  const CSParser parser(line, '~');
  std::vector<std::string> fields;
  for (int i = 1; i <= parser.Count(); ++i) fields.push_back(parser.GetField(i));
  return fields;
}

// Index of the first cell column: the one after the depth heading (and NCS).
std::size_t FirstCell(const DiveTableContent& table) {
  const std::vector<std::string> headings = Fields(table.rows.at(0));
  auto it = std::find_if(headings.begin(), headings.end(),
                         [](const std::string& h) { return h.rfind("Depths", 0) == 0; });
  std::size_t i = static_cast<std::size_t>(it - headings.begin()) + 1;
  if (i < headings.size() && headings[i] == "NCS") ++i;
  return i;
}

class ConsolidationTest : public ::testing::Test {
protected:
  ConsolidationTest() {
    Prefs().LoadSettings();
    options.runTimeAscending = false;  // rows in dive order
    options.minutesAndSeconds = true;
  }
  // Air at depths (metres) for bottom times (minutes).
  void Run(double from, double to, double step, int first, int last, int every, int grouping) {
    test::SetRanges(page, from, to, step, first, last, every);
    STableGenerationInputs in = page.Inputs();
    in.grouping = grouping;
    page.SetInputs(in);
    if (page.DescentSchedule().Count() == 0) test::SetSchedules(page, {Oc(0, 21)}, {});
    ASSERT_TRUE(page.Generate());
  }
  std::vector<DiveTableContent> Tables() const { return GeneratedTableContents(page.GeneratedRun(), options); }

  test::CTestEnvironment env;
  CTableGeneration page;
  SReportOptions options;
};

TEST_F(ConsolidationTest, EachColumnHoldsItsDivesSegmentsInProfileOrder) {
  Run(30, 45, 15, 20, 40, 10, kGroupByDepth);
  const std::vector<DiveTableContent> tables = Tables();
  ASSERT_EQ(tables.size(), 2u);
  for (std::size_t d = 0; d < tables.size(); ++d) {
    const DiveTableContent& table = tables[d];
    const std::size_t first = FirstCell(table);
    EXPECT_EQ(Fields(table.rows[0]).size() - first, 3u) << "one column per bottom time";
    for (int t = 0; t < 3; ++t) {
      SCOPED_TRACE(testing::Message() << "depth " << d << " time " << t);
      const CDivePlan& dive = *page.Dive(page.PlanIndex(static_cast<int>(d), t));
      std::vector<std::string> expected, actual;
      for (const CDiveSegment& s : dive.Segments())
        expected.push_back(Format("%d:%02d/%d:%02d", s.m_duration / 60, s.m_duration % 60, s.m_end / 60, s.m_end % 60));
      for (std::size_t r = 1; r < table.rows.size(); ++r) {
        const std::string cell = Fields(table.rows[r])[first + static_cast<std::size_t>(t)];
        if (cell != "-") actual.push_back(cell);
      }
      EXPECT_EQ(actual, expected);
    }
  }
  EXPECT_EQ(Fields(tables[0].header), (std::vector<std::string>{"30m", "Dive Table", "GF<br>20/80",
                                                                 "Durations 20:00 - 40:00 Mins", "", ""}));
  EXPECT_EQ(Fields(tables[1].rows[0]), (std::vector<std::string>{"Gas", "PPO2", "Depths&nbsp\\&nbspTimes", "20:00",
                                                                  "30:00", "40:00"}));
}

TEST_F(ConsolidationTest, StopsOnlyLongerDivesMakeShowDashesElsewhere) {
  options.minutesAndSeconds = false;
  Run(40, 40, 10, 20, 30, 5, kGroupByDepth);
  const std::vector<DiveTableContent> tables = Tables();
  ASSERT_EQ(tables.size(), 1u);
  const std::size_t first = FirstCell(tables[0]);
  const std::vector<std::string> headings = Fields(tables[0].rows[0]);
  EXPECT_EQ(std::vector<std::string>(headings.begin() + static_cast<long>(first), headings.end()),
            (std::vector<std::string>{"20", "25", "30"}));
  bool onlyLongest = false;
  for (std::size_t r = 1; r < tables[0].rows.size(); ++r) {
    const std::vector<std::string> f = Fields(tables[0].rows[r]);
    onlyLongest = onlyLongest || (f[first] == "-" && f[first + 1] == "-" && f[first + 2] != "-");
  }
  EXPECT_TRUE(onlyLongest) << "a stop that only the 30-minute dive makes";
  // Whole minutes: in each column the segment minutes add up to the run time.
  for (std::size_t c = first; c < first + 3; ++c) {
    int sum = 0, last = 0;
    for (std::size_t r = 1; r < tables[0].rows.size(); ++r) {
      const std::string cell = Fields(tables[0].rows[r])[c];
      if (cell == "-") continue;
      int segment = 0, run = 0;
      ASSERT_EQ(std::sscanf(cell.c_str(), "%d / %d", &segment, &run), 2) << cell;
      sum += segment;
      last = run;
    }
    EXPECT_EQ(sum, last);
  }
}

TEST_F(ConsolidationTest, OneTimePerTableSplitsWhereTheDivesUseAnotherGasSwitchCount) {
  test::SetSchedules(page, {Oc(0, 21), Oc(30, 18, 45)}, {});
  Run(25, 35, 5, 20, 25, 5, kGroupByTime);
  // 25 m stays on air (one switch); 30 and 35 m also switch to 18/45.
  const std::vector<DiveTableContent> tables = Tables();
  ASSERT_EQ(tables.size(), 4u);
  EXPECT_EQ(Fields(tables[0].header), (std::vector<std::string>{"20:00(mm:ss)", "Dive Table", "GF<br>20/80",
                                                                 "Depth 25m", "", ""}));
  EXPECT_EQ(Fields(tables[1].header)[3], "Depths 30m - 35m");
  EXPECT_EQ(Fields(tables[3].header)[0], "25:00(mm:ss)");
  EXPECT_EQ(Fields(tables[1].rows[0]), (std::vector<std::string>{"Gas", "PPO2", "Depths", "30m", "35m"}));
  for (std::size_t r = 1; r < tables[1].rows.size(); ++r) {
    const std::vector<std::string> f = Fields(tables[1].rows[r]);
    ASSERT_EQ(f.size(), 5u);
    if (f[2] == "Bottom Depth") {
      EXPECT_EQ(f[0], "18/45");
    }
  }
}

TEST_F(ConsolidationTest, WarningsAreThoseOfTheTablesLastDive) {
  Run(30, 40, 10, 20, 20, 5, kGroupByTime);
  STableGenerationInputs in = page.Inputs();
  in.maxEad = 35;
  page.SetInputs(in);
  ASSERT_TRUE(page.Generate());
  // Air is narcotic at 40 m, not at 30 m: the table of both shows the warning.
  std::vector<DiveTableContent> tables = Tables();
  ASSERT_EQ(tables.size(), 1u);
  const std::vector<std::string> headings = Fields(tables[0].rows[0]);
  ASSERT_EQ(headings[2], "Warnings");
  bool redBottom = false;
  for (std::size_t r = 1; r < tables[0].rows.size(); ++r) {
    const std::vector<std::string> f = Fields(tables[0].rows[r]);
    if (f[3] != "Bottom Depth") continue;
    EXPECT_EQ(f[2], "EAD");
    redBottom = tables[0].rowAlerts[r];
  }
  EXPECT_TRUE(redBottom);
  ASSERT_EQ(tables[0].warnings.size(), 2u);
  EXPECT_EQ(tables[0].warnings[0], "Gas~Warnings");
  EXPECT_EQ(tables[0].warnings[1], page.Dive(1)->GasWarningText(0));

  Run(30, 30, 10, 20, 20, 5, kGroupByTime);
  tables = Tables();
  EXPECT_EQ(Fields(tables[0].rows[0])[2], "Depths") << "no warnings, no column";
  EXPECT_TRUE(tables[0].warnings.empty());
}

TEST_F(ConsolidationTest, DivesThatTakeNoPartLeaveDashesAndEmptyTablesOut) {
  Run(30, 40, 10, 20, 30, 10, kGroupByDepth);
  SGeneratedRun run = page.GeneratedRun();
  run.dives[1] = nullptr;  // 30 m / 30 min failed
  run.dives[2] = run.dives[3] = nullptr;  // every 40 m dive failed
  const std::vector<DiveTableContent> tables = GeneratedTableContents(run, options);
  ASSERT_EQ(tables.size(), 1u);
  const std::size_t first = FirstCell(tables[0]);
  EXPECT_EQ(Fields(tables[0].rows[0]).size(), first + 2) << "the failed dive keeps its column";
  for (std::size_t r = 1; r < tables[0].rows.size(); ++r) {
    EXPECT_NE(Fields(tables[0].rows[r])[first], "-");
    EXPECT_EQ(Fields(tables[0].rows[r])[first + 1], "-");
  }
}

TEST_F(ConsolidationTest, ImperialDepthsAndRunTimeAscendingUpThePage) {
  Run(40, 40, 10, 20, 20, 5, kGroupByDepth);
  const DiveTableContent metric = Tables().at(0);
  options.units = SDisplayUnits::Imperial();
  options.runTimeAscending = true;
  const DiveTableContent imperial = Tables().at(0);
  EXPECT_EQ(Fields(imperial.header)[0], "130ft");
  ASSERT_EQ(imperial.rows.size(), metric.rows.size());
  for (std::size_t r = 1; r < metric.rows.size(); ++r) {
    const std::vector<std::string> m = Fields(metric.rows[r]);
    const std::vector<std::string> i = Fields(imperial.rows[imperial.rows.size() - r]);
    EXPECT_EQ(i.back(), m.back()) << "the same row, counted from the other end";
    if (m[2] == "Bottom 40") {
      EXPECT_EQ(i[2], "Bottom 130");
    }
  }
}

TEST_F(ConsolidationTest, DetailedFirstAscentsShareOneRow) {
  SCalculationSettings detailed;
  detailed.detailedFirstAscent = true;
  page.SetCalculationSettings(detailed);
  Run(45, 45, 10, 20, 30, 10, kGroupByDepth);
  const DiveTableContent table = Tables().at(0);
  int rows = 0;
  for (std::size_t r = 1; r < table.rows.size(); ++r) {
    const std::vector<std::string> f = Fields(table.rows[r]);
    if (f[2] != "Ascent to 1st Stop") continue;
    ++rows;
    EXPECT_NE(f[3], "-");
    EXPECT_NE(f[4], "-");
  }
  EXPECT_EQ(rows, 1);
}

}  // namespace
}  // namespace kv
