// Consolidating the segments of several generated dives into one table.

#include <gtest/gtest.h>

#include "base/status_log.h"
#include "engine/plan_point.h"
#include "report/dive_plan_table.h"
#include "support/test_support.h"

namespace kv {
namespace {

// One segment of a generated dive as table generation passes it.
struct SSeg {
  double depth;
  int kind;
  int segmentTime;
  int runTime;
  int flags = 0;
  std::string gas = "Air";
};

class DivePlanTableTest : public ::testing::Test {
protected:
  explicit DivePlanTableTest(bool detailedFirstAscent = false) : table(detailedFirstAscent) {}
  // Adds one generated dive as column `column` with key `key`.
  void AddDive(bool first, int column, double key, const std::vector<SSeg>& segments) {
    for (const SSeg& s : segments)
      table.AddSegment(first, s.depth, false, s.gas, false, 0.0, s.flags, s.kind, column, key, s.segmentTime,
                       s.runTime);
  }
  std::vector<double> Depths() const {
    std::vector<double> depths;
    for (int r = 0; r < table.RowCount(); ++r) depths.push_back(table.GetDepth(r));
    return depths;
  }

  test::CTestEnvironment env;
  CDivePlanTable table;
};

TEST(RoundUpToMinute, NextWholeMinute) {
  EXPECT_EQ(RoundUpToMinute(0), 0);
  EXPECT_EQ(RoundUpToMinute(1), 60);
  EXPECT_EQ(RoundUpToMinute(120), 120);
  EXPECT_EQ(RoundUpToMinute(121), 180);
  EXPECT_EQ(RoundUpToMinute(3599), 3600);
  EXPECT_EQ(RoundUpToMinute(-30), 0);
  EXPECT_EQ(RoundUpToMinute(-61), -60);
  EXPECT_EQ(MinutesSeconds(3725), "62:05");
}

TEST(DivePlanTableSegment, ColumnsGrowWithZerosAndKeysMatchExactly) {
  CDivePlanTableSegment row(9.0, false, "Air", false, 0.0, 0, kSegPrinted);
  row.SetColumn(2, 25.0, 60, 1500);
  ASSERT_EQ(row.ColumnCount(), 3);
  EXPECT_EQ(row.m_segmentTimes, (std::vector<int>{0, 0, 60}));
  EXPECT_EQ(row.m_runTimes, (std::vector<int>{0, 0, 1500}));
  EXPECT_EQ(row.m_columnKeys, (std::vector<double>{0.0, 0.0, 25.0}));
  EXPECT_TRUE(row.HasColumnKey(25.0));
  EXPECT_TRUE(row.HasColumnKey(0.0));  // the padding counts as key 0
  EXPECT_FALSE(row.HasColumnKey(25.000001));
  row.SetColumn(0, 20.0, 30, 1200);
  EXPECT_EQ(row.ColumnCount(), 3);
  EXPECT_EQ(row.SegmentTime(0), 30);
  EXPECT_EQ(row.RunTime(2), 1500);
  EXPECT_EQ(row.RunTime(3), 0);
}

TEST_F(DivePlanTableTest, RowTextListsEveryColumn) {
  table.AddSegment(true, 6.0, true, "Oxygen", true, 1.3, 8, kSegPrinted, 0, 20.0, 125, 3001);
  table.AddSegment(true, 3.0, false, "Oxygen", false, 0.0, 0, kSegPrinted, 0, 20.0, 60, 3061);
  EXPECT_EQ(table.GetRowText(0), "Oxygen,1.30,8,0,6,2:05,50:01,");
  EXPECT_EQ(table.GetRowText(2), "");
  EXPECT_EQ(table.GetRowText(-1), "");
}

TEST_F(DivePlanTableTest, SecondDiveStopsJoinTheRowsOfTheirDepths) {
  // Two bottom times at 40 m: the longer dive needs a deeper first stop.
  AddDive(true, 0, 20.0,
          {{0, kSegPrinted, 120, 120}, {40, kSegBottom, 1080, 1200}, {9, kSegPrinted, 240, 1500},
           {6, kSegPrinted, 600, 2100}});
  AddDive(false, 1, 25.0,
          {{0, kSegPrinted, 120, 120, kWarnEad},
           {40, kSegBottom, 1380, 1500, kWarnEad},
           {12, kSegPrinted, 120, 1800},
           {9, kSegPrinted, 300, 2100},
           {6, kSegPrinted, 900, 3000}});
  ASSERT_EQ(Depths(), (std::vector<double>{0, 40, 12, 9, 6}));
  EXPECT_TRUE(table.IsBottom(1));
  EXPECT_EQ(table.GetRowText(0), "Air,0.00,1,0,0,2:00,2:00,2:00,2:00,");
  EXPECT_EQ(table.GetWarningFlags(1), kWarnEad);
  // The stop only the second dive makes is a new row holding just its column.
  EXPECT_EQ(table.GetRowText(2), "Air,0.00,0,0,12,0:00,0:00,2:00,30:00,");
  EXPECT_EQ(table.GetRowText(3), "Air,0.00,0,0,9,4:00,25:00,5:00,35:00,");
  EXPECT_EQ(table.GetRowText(4), "Air,0.00,0,0,6,10:00,35:00,15:00,50:00,");
  EXPECT_EQ(table.MaxColumns(), 2);

  // A shorter third dive that skips the 9 m stop.
  AddDive(false, 2, 15.0, {{0, kSegPrinted, 120, 120}, {40, kSegBottom, 780, 900}, {6, kSegPrinted, 300, 1380}});
  ASSERT_EQ(Depths(), (std::vector<double>{0, 40, 12, 9, 6}));
  EXPECT_EQ(table.Row(3)->ColumnCount(), 2);
  EXPECT_EQ(table.GetRunTime(4, 2), 1380);
}

TEST_F(DivePlanTableTest, DescentOnlyStopGoesBeforeTheDeepestRow) {
  AddDive(true, 0, 20.0, {{0, kSegPrinted, 120, 120}, {40, kSegBottom, 1080, 1200}, {6, kSegPrinted, 600, 1800}});
  // The second dive stops at 21 m on the way down (a travel gas switch).
  AddDive(false, 1, 25.0,
          {{0, kSegPrinted, 60, 60},
           {21, kSegTravel, 60, 120},
           {40, kSegBottom, 1380, 1500},
           {21, kSegPrinted, 60, 1700},
           {6, kSegPrinted, 600, 2300}});
  ASSERT_EQ(Depths(), (std::vector<double>{0, 21, 40, 21, 6}));
  EXPECT_EQ(table.GetKind(1), kSegTravel);
  EXPECT_EQ(table.GetRunTime(1, 1), 120);
  EXPECT_EQ(table.GetRunTime(3, 1), 1700);
}

TEST_F(DivePlanTableTest, ASecondSegmentAtOneDepthTakesTheNextRowOfThatDepth) {
  // A 6 m stop on nitrox, then a 6 m stop on oxygen.
  AddDive(true, 0, 20.0,
          {{40, kSegBottom, 1200, 1200},
           {6, kSegPrinted, 300, 1600, 0, "50% Nitrox"},
           {6, kSegPrinted, 600, 2200, 0, "Oxygen"}});
  AddDive(false, 1, 25.0,
          {{40, kSegBottom, 1500, 1500},
           {6, kSegPrinted, 400, 2000, 0, "50% Nitrox"},
           {6, kSegPrinted, 700, 2700, 0, "Oxygen"}});
  ASSERT_EQ(table.RowCount(), 3);
  EXPECT_EQ(table.GetRunTime(1, 1), 2000);
  EXPECT_EQ(table.GetRunTime(2, 1), 2700);
}

// Dives calculated with the detailed first ascent.
class DetailedFirstAscentTableTest : public DivePlanTableTest {
protected:
  DetailedFirstAscentTableTest() : DivePlanTableTest(true) {}
};

TEST_F(DetailedFirstAscentTableTest, RowTakesEveryDivesFirstAscent) {
  // Columns are depths here: the bottom and first-ascent rows join whatever the depth.
  AddDive(true, 0, 30.0,
          {{0, kSegPrinted, 90, 90}, {30, kSegBottom, 1110, 1200}, {30, kSegFirstAscent, 150, 1350},
           {6, kSegPrinted, 300, 1650}});
  AddDive(false, 1, 36.0,
          {{0, kSegPrinted, 108, 108},
           {36, kSegBottom, 1092, 1200},
           {36, kSegFirstAscent, 180, 1380},
           {9, kSegPrinted, 120, 1500},
           {6, kSegPrinted, 400, 1900}});
  ASSERT_EQ(Depths(), (std::vector<double>{0, 30, 30, 9, 6}));
  EXPECT_TRUE(table.IsFirstAscent(2));
  EXPECT_EQ(table.GetRunTime(1, 1), 1200);
  EXPECT_EQ(table.GetRunTime(2, 1), 1380);
  EXPECT_EQ(table.GetRunTime(3, 1), 1500);
}

TEST_F(DivePlanTableTest, MergedFirstAscentIsMatchedByDepth) {
  AddDive(true, 0, 20.0, {{40, kSegBottom, 1200, 1200}, {40, kSegFirstAscent, 150, 1350}});
  // Without the detailed option a first ascent is an ordinary segment: it
  // finds the row of its depth after the deepest row.
  AddDive(false, 1, 25.0, {{40, kSegBottom, 1500, 1500}, {40, kSegFirstAscent, 160, 1660}});
  ASSERT_EQ(table.RowCount(), 2);
  EXPECT_EQ(table.GetRunTime(1, 1), 1660);
}

TEST_F(DivePlanTableTest, BottomWithoutABottomRowIsInserted) {
  AddDive(true, 0, 20.0, {{0, kSegPrinted, 120, 120}, {40, kSegPrinted, 1080, 1200}, {6, kSegPrinted, 600, 1800}});
  // Descending, deeper than every row before the deepest: it goes before the deepest row.
  AddDive(false, 1, 45.0, {{0, kSegPrinted, 135, 135}, {45, kSegBottom, 1065, 1200}});
  ASSERT_EQ(Depths(), (std::vector<double>{0, 45, 40, 6}));
  EXPECT_TRUE(table.IsBottom(1));
}

TEST_F(DivePlanTableTest, ConsolidationIsLoggedAtTheProgressLevel) {
  const std::string path = test::TempDir() + "/StatusLog.txt";
  ASSERT_TRUE(StatusLog().OpenLogAt(path, false));
  env.store->numbers["Debug Level"] = kLogProgress;
  AddDive(true, 0, 20.0, {{40, kSegBottom, 1200, 1200}, {6, kSegPrinted, 600, 1800}});
  AddDive(false, 1, 25.0, {{40, kSegBottom, 1500, 1500}, {9, kSegPrinted, 60, 1600}, {6, kSegPrinted, 600, 2200}});
  StatusLog().Close();
  const std::string log = test::ReadFile(path);
  EXPECT_NE(log.find("Table Consolidation - Bottom Depth - Add Column"), std::string::npos);
  EXPECT_NE(log.find("Table Consolidation - Depth Not Found - Insert Line"), std::string::npos);
  EXPECT_NE(log.find("Table Consolidation - Segment Depth Found - Add Column"), std::string::npos);
}

}  // namespace
}  // namespace kv
