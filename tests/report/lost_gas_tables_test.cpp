// The printed tables of lost-gas variants: each is the table its dive would
// have without the gas, headed with the gas lost, after its dive's tables;
// a variant that cannot be completed says so and why.

#include "report/lost_gas_tables.h"

#include <gtest/gtest.h>

#include "plan/plan_group.h"
#include "report_test_util.h"
#include "support/test_support.h"

namespace kv {
namespace {

using test::Fields;
using test::MakePoint;

std::size_t Find(const std::string& text, const std::string& what, std::size_t from = 0) {
  return text.find(what, from);
}

class LostGasTablesTest : public ::testing::Test {
protected:
  LostGasTablesTest() {
    // Dive 1: 60 m on 18/45 with 50 % and oxygen; dive 2: 60 m on 21/35
    // with oxygen, which it needs to decompress within 6 hours.
    CDivePlan& first = *group.GetDive(0);
    for (const test::SPoint& p : std::initializer_list<test::SPoint>{{0, 0, 18, 45}, {60, 20 * 60, 18, 45}, {21, 0, 50},
                                                                      {6, 0, 100}})
      first.AppendUserPoint(MakePoint(p));
    EXPECT_TRUE(group.AddDivePlan());
    CDivePlan& second = *group.GetDive(1);
    second.SetSurfaceInterval(4 * 3600);
    second.SetGfLow(30);
    second.SetGfHigh(85);
    for (const test::SPoint& p : std::initializer_list<test::SPoint>{{0, 0, 21, 35}, {60, 40 * 60, 21, 35}, {6, 0, 100}})
      second.AppendUserPoint(MakePoint(p));
    group.CalculateDivePlans(true, 0, true);
    EXPECT_TRUE(second.IsCalculationCompleted());
    for (int i = 0; i < 2; ++i) dives.push_back(group.GetDive(i));
    SLostGasOptions decline;
    decline.extendedPlanning = EExtendedPlanning::Decline;
    variants = CalculateLostGasVariants(group, {0, 1}, decline);
    EXPECT_EQ(variants.Of(0).size(), 2u);
    EXPECT_EQ(variants.Of(1).size(), 1u);
  }

  test::CTestEnvironment env;
  CPlanGroup group;
  std::vector<const CDivePlan*> dives;
  CLostGasVariants variants;
  SReportOptions options;
};

TEST_F(LostGasTablesTest, AVariantsTableIsItsDivesTableWithTheGasInTheTitle) {
  const SLostGasVariant& withoutNitrox = variants.Of(0)[0];
  ASSERT_TRUE(withoutNitrox.Completed());
  const DiveTableContent content = BuildLostGasTableContent(dives, 0, withoutNitrox, options);
  // The dive's table with the variant in its place: same dive number, its
  // own run time, rows and oxygen exposure.
  std::vector<const CDivePlan*> replaced = dives;
  replaced[0] = withoutNitrox.dive.get();
  const DiveTableContent own = BuildDiveTableContent(replaced, 0, options);
  std::vector<std::string> expected = Fields(own.header);
  expected[1] = "Dive Plan<br>If 50% Nitrox is lost";
  EXPECT_EQ(Fields(content.header), expected);
  EXPECT_EQ(content.rows, own.rows);
  EXPECT_EQ(content.warnings, own.warnings);
  EXPECT_NE(content.rows, BuildDiveTableContent(dives, 0, options).rows);

  // The gas table likewise.
  const DiveTableContent gas = BuildLostGasUsageTableContent(dives, 0, withoutNitrox, options);
  const DiveTableContent ownGas = BuildGasUsageTableContent(replaced, 0, options);
  EXPECT_EQ(Fields(gas.header)[1], Fields(ownGas.header)[1] + "<br>If 50% Nitrox is lost");
  EXPECT_EQ(gas.rows, ownGas.rows);
  // A later dive's variant keeps its surface interval and starting exposure.
  SLostGasOptions accept;
  accept.extendedPlanning = EExtendedPlanning::Accept;
  const CLostGasVariants extended = CalculateLostGasVariants(group, {1}, accept);
  ASSERT_TRUE(extended.Of(1)[0].Completed());
  const std::vector<std::string> later = Fields(BuildLostGasTableContent(dives, 1, extended.Of(1)[0], options).header);
  const int runTime = extended.Of(1)[0].dive->GetRunTime();
  EXPECT_GT(runTime, CDivePlan::kSixHours);
  EXPECT_NE(later[3].find(Format("Dive 2 of 2, Duration (hh:mm) %d:", runTime / 3600)), std::string::npos);
  EXPECT_NE(later[3].find("Surface Interval (hh:mm) 4:00"), std::string::npos);
  EXPECT_EQ(later[4].find(Format("CNS Initial %0.1f%%", group.GetDive(1)->Prediction(0)->m_cns * 100.0)), 0u);
  EXPECT_EQ(later[1], "Dive Plan<br>If Oxygen is lost");
}

TEST_F(LostGasTablesTest, AVariantThatCannotBeCompletedSaysWhyInsteadOfAnEmptyTable) {
  const SLostGasVariant& withoutOxygen = variants.Of(1)[0];
  ASSERT_FALSE(withoutOxygen.Completed());
  for (const DiveTableContent& content : {BuildLostGasTableContent(dives, 1, withoutOxygen, options),
                                          BuildLostGasUsageTableContent(dives, 1, withoutOxygen, options)}) {
    const std::vector<std::string> header = Fields(content.header);
    EXPECT_EQ(header[0], "60m");
    EXPECT_NE(header[1].find("<br>If Oxygen is lost"), std::string::npos);
    EXPECT_EQ(header[3], "Dive 2 of 2");
    EXPECT_EQ(header[4], "");
    EXPECT_EQ(content.rows, (std::vector<std::string>{"Cannot be completed on the remaining gases",
                                                      "The decompression does not end within 6 hours."}));
  }
  CDivePlanTablesHtml writer;
  writer.Reset();
  writer.AddTable(BuildLostGasTableContent(dives, 1, withoutOxygen, options));
  EXPECT_NE(Find(writer.GetDocument(), "<tr style=\"color:red\">\n"), std::string::npos);
  EXPECT_EQ(LostGasFailureText(*withoutOxygen.dive), "The decompression does not end within 6 hours.");
}

TEST_F(LostGasTablesTest, TheDocumentsPutEachDivesVariantsAfterItsOwnTables) {
  CDivePlanTablesHtml writer;
  InitialiseDiveTablesWriter(writer);
  ASSERT_TRUE(BuildDiveTablesWithLostGas(dives, -1, variants, options, writer));
  EXPECT_EQ(writer.GetTableCount(), 5);
  const std::string& doc = writer.GetDocument();
  const std::size_t dive1 = Find(doc, "Dive 1 of 2, Duration");
  const std::size_t nitrox = Find(doc, "If 50% Nitrox is lost");
  const std::size_t oxygen = Find(doc, "If Oxygen is lost");
  const std::size_t dive2 = Find(doc, "Dive 2 of 2, Duration");
  const std::size_t oxygen2 = Find(doc, "If Oxygen is lost", dive2);
  ASSERT_NE(oxygen2, std::string::npos);
  EXPECT_LT(Find(doc, "Cannot be completed on the remaining gases"), std::string::npos);
  EXPECT_GT(Find(doc, "Cannot be completed on the remaining gases"), dive2);
  EXPECT_LT(dive1, nitrox);
  EXPECT_LT(nitrox, oxygen);
  EXPECT_LT(oxygen, dive2);

  // One dive asked for: its tables and its variants only.
  ASSERT_TRUE(BuildDiveTablesWithLostGas(dives, 1, variants, options, writer));
  EXPECT_EQ(writer.GetTableCount(), 2);

  // Gas tables: a variant that cannot be completed says so there too.
  CGasConsumptionTablesHtml gas;
  ASSERT_TRUE(BuildGasUsageTablesWithLostGas(dives, -1, variants, options, gas));
  EXPECT_EQ(gas.GetTableCount(), 5);
  EXPECT_NE(Find(gas.GetDocument(), " (l/min)<br>If 50% Nitrox is lost"), std::string::npos);

  // Without variants the documents are the plain ones.
  const CLostGasVariants none;
  CDivePlanTablesHtml plain, withNone;
  ASSERT_TRUE(BuildDiveTables(dives, -1, options, plain));
  ASSERT_TRUE(BuildDiveTablesWithLostGas(dives, -1, none, options, withNone));
  EXPECT_EQ(withNone.GetDocument(), plain.GetDocument());
}

TEST_F(LostGasTablesTest, TheViewersDocumentHoldsTheDivesTablesThenEachVariantsTables) {
  CDivePlanTablesHtml writer;
  InitialiseDiveTablesWriter(writer);
  ASSERT_TRUE(BuildLostGasTables(dives, 0, variants, options, writer));
  // Dive table and gas table, then the two of each variant.
  EXPECT_EQ(writer.GetTableCount(), 6);
  const std::string& doc = writer.GetDocument();
  EXPECT_LT(Find(doc, "Gas Usage Table"), Find(doc, "If 50% Nitrox is lost"));
  EXPECT_NE(Find(doc, " (l/min)<br>If 50% Nitrox is lost"), std::string::npos);
  EXPECT_EQ(Find(doc, "Dive 2 of 2"), std::string::npos);

  // A variant that cannot be completed gets one table, which says so.
  ASSERT_TRUE(BuildLostGasTables(dives, 1, variants, options, writer));
  EXPECT_EQ(writer.GetTableCount(), 3);
  EXPECT_NE(Find(writer.GetDocument(), "Cannot be completed on the remaining gases"), std::string::npos);

  group.GetDive(0)->ClearResults();
  CDivePlanTablesHtml none;
  EXPECT_FALSE(BuildLostGasTables(dives, 0, variants, options, none));
  EXPECT_FALSE(BuildLostGasTables(dives, 7, variants, options, none));
}

}  // namespace
}  // namespace kv
