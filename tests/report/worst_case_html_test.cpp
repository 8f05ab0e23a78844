// The worst-case bailout document against the sweep it was made from: what is
// carried, every moment in its row, the worst values marked in exactly the
// rows the sweep names, and the worst-case table with the volumes with and
// without the reserve and the cylinders.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../bailout/bailout_test_util.h"
#include "base/text.h"
#include "report/worst_case_html.h"

namespace kv {
namespace {

std::string Between(const std::string& text, const std::string& from, const std::string& to) {
  const std::size_t a = text.find(from);
  if (a == std::string::npos) return {};
  const std::size_t b = text.find(to, a + from.size());
  return text.substr(a, b == std::string::npos ? std::string::npos : b - a);
}

// The rows of the last table of the document, without the heading row.
std::vector<std::string> MomentRows(const std::string& document) {
  const std::string table = document.substr(document.find("<h3>Bailout moments</h3>"));
  std::vector<std::string> rows;
  for (std::size_t at = table.find("<tr", 0); at != std::string::npos;) {
    const std::size_t end = table.find("</tr>", at);
    rows.push_back(table.substr(at, end - at));
    at = table.find("<tr", end);
  }
  rows.erase(rows.begin());
  return rows;
}

int Count(const std::string& text, const std::string& what) {
  int n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

std::string Clock(int s) { return Format("%d:%02d", s / 60, s % 60); }

class WorstCaseHtml : public test::BailoutFixture {};

TEST_F(WorstCaseHtml, EveryMomentAndTheWorstCaseOfARealSweep) {
  SetPoints({{0, 0, 15, 55, 0.7}, {45, 900, 15, 55}});
  ASSERT_TRUE(Calculate());
  test::CRecordingProgress progress;
  const SBailoutSweep sweep = SweepBailout(*dive, start, 120, SBailoutAnswers{true, true, false}, progress, 1);
  ASSERT_GT(sweep.moments.size(), 3u);
  ASSERT_GE(sweep.runTime.second, 0);
  ASSERT_FALSE(sweep.gases.empty());

  test::CCommaLocale comma;
  const std::string doc = WorstCaseBailoutHtml(sweep, {0, "Reef <wall> & cave", 33.0, 240.0, SDisplayUnits::Metric()});
  EXPECT_NE(doc.find("<title>Worst-case Bailout - Dive 1 - Reef &lt;wall&gt; &amp; cave</title>"), std::string::npos);
  EXPECT_NE(doc.find("charset=ISO-8859-1"), std::string::npos);

  const std::vector<std::string> gases = CarriedGasNames(sweep);
  ASSERT_EQ(gases.size(), sweep.gases.size()) << "every carried gas has a row in the worst case";
  EXPECT_NE(doc.find("<p>" + CarriedGasesText(sweep) + ".</p>"), std::string::npos);
  const std::vector<std::string> rows = MomentRows(doc);
  ASSERT_EQ(rows.size(), sweep.moments.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const SBailoutMoment& m = sweep.moments[i];
    SCOPED_TRACE(m.second);
    EXPECT_NE(rows[i].find(Clock(m.second) + "</td>"), std::string::npos);
    EXPECT_NE(rows[i].find(Format(">%0.1f</td>", m.depth)), std::string::npos);
    EXPECT_EQ(rows[i].find(','), std::string::npos) << "no decimal comma under a comma locale";
    int marked = 0;
    if (m.valid && m.second == sweep.runTime.second) ++marked;
    if (m.valid && m.second == sweep.cnsFinal.second) ++marked;
    for (const SBailoutWorstGas& g : sweep.gases) {
      if (m.valid && g.second == m.second) {
        ++marked;
        EXPECT_NE(rows[i].find(Format("<b>%0.0f</b>", g.litres)), std::string::npos) << g.gas;
      }
    }
    EXPECT_EQ(Count(rows[i], "<b>"), marked);
  }

  const std::string worst = Between(doc, "<th>Worst case</th>", "</table>");
  EXPECT_NE(worst.find("<th>With 33% reserve</th>"), std::string::npos);
  EXPECT_NE(worst.find("<th>Cylinder (l) at 240 bar, with reserve</th>"), std::string::npos);
  EXPECT_NE(worst.find(Format("<b>%s</b></td><td align=\"right\">&nbsp;</td><td align=\"right\">%s</td>",
                              Clock(static_cast<int>(sweep.runTime.value)).c_str(), Clock(sweep.runTime.second).c_str())),
            std::string::npos)
      << worst;
  EXPECT_NE(worst.find(Format("<b>%0.1f%%</b>", sweep.cnsFinal.value * 100.0)), std::string::npos);
  for (const SBailoutWorstGas& g : sweep.gases) {
    // The volume breathed, the same with the reserve, the moment and the cylinder for the volume with reserve.
    EXPECT_NE(worst.find(Format("%s (l)</td><td align=\"right\" bgcolor=\"#ffc8c8\"><b>%0.0f</b></td><td "
                                "align=\"right\">%0.0f</td><td align=\"right\">%s</td><td align=\"right\">%0.1f</td>",
                                g.gas.c_str(), g.litres, g.litresWithReserve, Clock(g.second).c_str(),
                                g.cylinderLitres)),
              std::string::npos)
        << g.gas << "\n" << worst;
  }
}

TEST(WorstCaseHtmlEdges, WithoutAValidMomentThereIsNoWorstCaseAndDepthsFollowTheUnits) {
  SBailoutSweep sweep;
  sweep.step = 60;
  SBailoutMoment m;
  m.second = 600;
  m.depth = 30.0;
  m.valid = false;
  m.gases = {{"21/35", 1200.0, 600}, {"21/35", 300.0, 60}};
  sweep.moments = {m};
  sweep.carried.gases = {{21, 35, 1}};
  sweep.invalid = 1;
  sweep.runTime.second = -1;
  sweep.cancelled = true;
  const std::string doc = WorstCaseBailoutHtml(sweep, {2, "", 33.0, 0.0, SDisplayUnits::Imperial()});
  EXPECT_NE(doc.find("<title>Worst-case Bailout - Dive 3</title>"), std::string::npos);
  EXPECT_NE(doc.find("there is no worst case"), std::string::npos);
  EXPECT_NE(doc.find("cancelled"), std::string::npos);
  EXPECT_EQ(doc.find("<th>Worst case</th>"), std::string::npos);
  const std::vector<std::string> rows = MomentRows(doc);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_NE(rows[0].find(">97.7</td>"), std::string::npos) << "30 m in feet";
  EXPECT_EQ(rows[0].find(">53.0</td>"), std::string::npos) << "an attempt without a valid plan shows no gas";
  EXPECT_NE(rows[0].find(">-</td>"), std::string::npos);
  EXPECT_NE(doc.find("<th>21/35 (cu ft)</th>"), std::string::npos);

  sweep.moments[0].valid = true;
  const std::vector<std::string> valid = MomentRows(WorstCaseBailoutHtml(sweep, {2, "", 33.0, 0.0, SDisplayUnits::Imperial()}));
  EXPECT_NE(valid[0].find(">53.0</td>"), std::string::npos) << "the 1500 litres of one gas breathed twice, in cu ft";
  EXPECT_NE(rows[0].find(">NO</td>"), std::string::npos);
  EXPECT_EQ(rows[0].find("<b>"), std::string::npos);
}

}  // namespace
}  // namespace kv
