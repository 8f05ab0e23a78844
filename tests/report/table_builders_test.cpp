// Which dives get tables, and the gas consumption table content.

#include <gtest/gtest.h>

#include "report/table_builder.h"
#include "report_test_util.h"
#include "support/test_support.h"

namespace kv {
namespace {

using test::Fields;

int Count(const std::string& text, const std::string& what) {
  int n = 0;
  for (std::size_t pos = text.find(what); pos != std::string::npos; pos = text.find(what, pos + 1)) ++n;
  return n;
}

class TableBuildersTest : public ::testing::Test {
protected:
  TableBuildersTest() {
    ocDive = test::MakeDive({{30, 1200, 32}});
    ccDive = test::MakeDive({{30, 1200, 21, 35, true, 1.3}});
    uncalculated = test::MakeDive({{20, 600}});
    EXPECT_TRUE(test::CalculateFirst(*ocDive));
    EXPECT_TRUE(test::CalculateAfter(*ccDive, *ocDive, 1));
  }

  test::CTestEnvironment env;
  std::unique_ptr<CDivePlan> ocDive, ccDive, uncalculated;
  SReportOptions options;
};

TEST_F(TableBuildersTest, AllDivesInPlanOrderSkippingThoseWithoutSegments) {
  const std::vector<const CDivePlan*> dives{ocDive.get(), uncalculated.get(), ccDive.get()};
  CDivePlanTablesHtml writer;
  InitialiseDiveTablesWriter(writer);
  ASSERT_TRUE(BuildDiveTables(dives, -1, options, writer));
  const std::string& doc = writer.GetDocument();
  EXPECT_EQ(writer.GetTableCount(), 2);
  const auto first = doc.find("Dive 1 of 3");
  const auto third = doc.find("Dive 3 of 3");
  ASSERT_NE(first, std::string::npos);
  ASSERT_NE(third, std::string::npos);
  EXPECT_LT(first, third);
  EXPECT_EQ(doc.find("Dive 2 of 3"), std::string::npos);
  EXPECT_EQ(Count(doc, "<div class=\"breakafter\">"), 1);
  EXPECT_EQ(doc.find("<title>Kestrun Varnadel</title>"), doc.find("<title>"));
  EXPECT_NE(doc.find("<meta name=\"author\" content=\"Kestrun Ltd.\">"), std::string::npos);
  EXPECT_NE(doc.find("<p><a href=\"https://www.kestrun.example/\">Kestrun Home Page</a></p>"), std::string::npos);
  EXPECT_EQ(doc.substr(doc.size() - 7), "</html>");
}

TEST_F(TableBuildersTest, OneDiveMustQualifyByItself) {
  const std::vector<const CDivePlan*> dives{ocDive.get(), uncalculated.get(), ccDive.get()};
  CDivePlanTablesHtml writer;
  ASSERT_TRUE(BuildDiveTables(dives, 2, options, writer));
  EXPECT_EQ(writer.GetTableCount(), 1);
  EXPECT_NE(writer.GetDocument().find("Dive 3 of 3"), std::string::npos);
  const std::string previous = writer.GetDocument();

  // Not calculated, past the end, or stopped by the time limits: nothing is
  // built and the last document stays.
  EXPECT_FALSE(BuildDiveTables(dives, 1, options, writer));
  EXPECT_FALSE(BuildDiveTables(dives, 3, options, writer));
  EXPECT_FALSE(BuildDiveTables({nullptr}, 0, options, writer));
  EXPECT_FALSE(BuildDiveTables({uncalculated.get()}, -1, options, writer));
  EXPECT_FALSE(BuildDiveTables({}, -1, options, writer));
  EXPECT_EQ(writer.GetDocument(), previous);

  EXPECT_TRUE(DiveQualifiesForTable(ocDive.get()));
  ocDive->ClearResults();
  EXPECT_FALSE(DiveQualifiesForTable(ocDive.get()));
}

TEST_F(TableBuildersTest, GasTablesOnlyForDivesThatBreatheOpenCircuit) {
  const std::vector<const CDivePlan*> dives{ccDive.get(), ocDive.get()};
  CGasConsumptionTablesHtml writer;
  writer.Reset();
  const std::string empty = writer.GetDocument();
  EXPECT_FALSE(BuildGasUsageTables(dives, 0, options, writer));
  EXPECT_FALSE(BuildGasUsageTables({ccDive.get()}, -1, options, writer));
  EXPECT_EQ(writer.GetDocument(), empty);

  ASSERT_TRUE(BuildGasUsageTables(dives, -1, options, writer));
  EXPECT_EQ(writer.GetTableCount(), 1);
  const std::string& doc = writer.GetDocument();
  EXPECT_NE(doc.find("Dive 2 of 2"), std::string::npos);
  EXPECT_EQ(doc.find("Dive 1 of 2"), std::string::npos);
  // Never initialised: no title, author or link.
  EXPECT_NE(doc.find("<title></title>"), std::string::npos);
  EXPECT_EQ(doc.find("<a href"), std::string::npos);
}

TEST_F(TableBuildersTest, GasTableContentOfAnOpenCircuitDive) {
  const std::vector<const CDivePlan*> dives{ccDive.get(), ocDive.get()};
  const DiveTableContent c = BuildGasUsageTableContent(dives, 1, options);
  const auto h = Fields(c.header);
  ASSERT_EQ(h.size(), 6u);
  EXPECT_EQ(h[0], "30m");
  EXPECT_EQ(h[1], "Gas Usage Table<br>SAC 30 (l/min)");
  EXPECT_EQ(h[2], "GF<br>20/80");
  // No surface interval and no initial exposure on a gas table.
  EXPECT_EQ(h[3].find("Surface Interval"), std::string::npos);
  EXPECT_EQ(h[4], Format("CNS Final %0.1f%%", ocDive->LastPrediction()->m_cns * 100.0));
  ASSERT_EQ(c.rows.size(), 2u);
  EXPECT_EQ(c.rows[0],
            "Gas Mix<br>(O2% / He%)~Gas Volume Required (l)<br>Reserve 33%~"
            "Cylinder Size Required (l)<br>Working Pressure 240 Bar");
  EXPECT_EQ(c.rows[1], ocDive->GasConsumptionRow(0, SDisplayUnits::Metric()));
  EXPECT_EQ(Fields(c.rows[1])[0], "32% Nitrox");
  EXPECT_EQ(c.footer, TableFooterText(""));
}

TEST_F(TableBuildersTest, GasTableRowsStopAtTheFirstFreeRecord) {
  auto dive = test::MakeDive({{45, 1500, 21, 35}, {21, 0, 50}, {6, 0, 100}});
  ASSERT_TRUE(test::CalculateFirst(*dive));
  const DiveTableContent c = BuildGasUsageTableContent({dive.get()}, 0, options);
  ASSERT_EQ(c.rows.size(), 4u);
  EXPECT_EQ(Fields(c.rows[1])[0], "21/35");
  EXPECT_EQ(Fields(c.rows[2])[0], "50% Nitrox");
  EXPECT_EQ(Fields(c.rows[3])[0], "Oxygen");
}

TEST_F(TableBuildersTest, ImperialGasHeadingsUsePsiRounded) {
  SReportOptions imperial = options;
  imperial.units = SDisplayUnits::Imperial();

  // 232 bar is 3364.87 psi.
  struct SOwner final : IDiveOwner {
    int GetAlgorithm() const override { return 1; }
    int GetSurfaceIntervalAlgorithm() const override { return 0; }
    double GetGasReserve() const override { return 50.0; }
    double GetCylinderWorkingPressure() const override { return 232.0; }
    bool CalculateDivePlan(int, bool) override { return true; }
    bool BailoutPlan(int, bool) override { return true; }
    void DiveModifiedChanged(int, bool) override {}
    void PostDiveCalculated(int) override {}
  } owner;
  ocDive->SetOwner(&owner);
  const DiveTableContent c = BuildGasUsageTableContent({ocDive.get()}, 0, imperial);
  EXPECT_EQ(c.rows[0],
            "Gas Mix<br>(O2% / He%)~Gas Volume Required (cu ft)<br>Reserve 50%~"
            "Cylinder Size Required (cu ft)<br>Working Pressure 3365 PSI");
  EXPECT_EQ(Fields(c.header)[0], "98ft");
  EXPECT_EQ(Fields(c.header)[1], "Gas Usage Table<br>SAC 1.1 (cu ft/min)");
  const auto row = Fields(c.rows[1]);
  EXPECT_EQ(row[1], Format("%0.1f", 1.5 * ocDive->GasConsumption()[0].m_volume * 0.03531467));
  ocDive->SetOwner(nullptr);
}

TEST_F(TableBuildersTest, BailoutGasTitleShowsTheSacRatesThatApplied) {
  // Consumed only after the bailout: only the bailout SAC.
  auto bailoutOnly = test::MakeBailoutDive(
      {{0, 0, 21, 35, true}, {40, 1200, 21, 35, true}, {40, 60, 21, 35, false, 1.3, false, true}}, 40.0, 1200);
  bailoutOnly->SetBailoutSacRate(20);
  ASSERT_TRUE(test::CalculateFirst(*bailoutOnly));
  EXPECT_EQ(Fields(BuildGasUsageTableContent({bailoutOnly.get()}, 0, options).header)[1],
            "Gas Usage Table<br>Bailout @ 40m @ 20 mins GF100/100<br>SAC 20 (l/min)");

  // An open-circuit descent before the rebreather: both rates.
  auto both = test::MakeBailoutDive({{0, 0},
                                     {15, 120},
                                     {40, 1200, 21, 35, true},
                                     {40, 60, 21, 35, false, 1.3, false, true}},
                                    40.0, 1200);
  both->SetBailoutSacRate(20);
  ASSERT_TRUE(test::CalculateFirst(*both));
  ASSERT_TRUE(both->DiveSacUsed() && both->BailoutSacUsed());
  EXPECT_EQ(Fields(BuildGasUsageTableContent({both.get()}, 0, options).header)[1],
            "Gas Usage Table<br>Bailout @ 40m @ 20 mins GF100/100<br>Dive SAC 30 (l/min) Bailout SAC 20 (l/min)");
}

}  // namespace
}  // namespace kv
