// kvplan run in-process: options, exit codes, messages, tables and the JSON
// document, with an in-memory store standing in for the user's preferences.

#include "cli/kvplan_app.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fcntl.h>
#include <sstream>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

#include "plan/file_store.h"
#include "base/text.h"
#include "cli/text_report.h"
#include "plan/plan_group.h"
#include "report/table_builder.h"
#include "support/test_support.h"
#include "kvplan_fixture.h"

namespace kv {
namespace {

using test::Json;

const std::string kExamples = EXAMPLES_DIR;

// Hands kvplan a store that the test keeps looking at after the run.
class CForwardingStorage final : public IPreferenceStorage {
public:
  explicit CForwardingStorage(CMemoryPreferenceStorage& target) : m_target(target) {}
  std::optional<std::uint32_t> ReadNumber(const std::string& p) override { return m_target.ReadNumber(p); }
  std::optional<std::string> ReadText(const std::string& p) override { return m_target.ReadText(p); }
  bool WriteNumber(const std::string& p, std::uint32_t v) override { return m_target.WriteNumber(p, v); }
  bool WriteText(const std::string& p, const std::string& v) override { return m_target.WriteText(p, v); }

private:
  CMemoryPreferenceStorage& m_target;
};

class KvplanTest : public test::CKvplanFixture {
protected:
  std::unique_ptr<IPreferenceStorage> UserPreferences() override { return std::make_unique<CForwardingStorage>(user); }

  // A plan of one open-circuit air dive to depth for minutes.
  std::string AirPlan(double depth, int minutes) {
    test::CTestEnvironment env;
    CPlanGroup g;
    g.GetDive(0)->SetMaxEad(70);
    CPlanPoint surface, bottom;
    surface.m_closedCircuit = bottom.m_closedCircuit = 0;
    bottom.SetDepth(depth);
    bottom.m_duration = minutes * 60;
    g.GetDive(0)->AppendUserPoint(surface);
    g.GetDive(0)->AppendUserPoint(bottom);
    const std::string path = dir + "/air.ccp";
    EXPECT_TRUE(g.SavePlanGroup(path));
    return path;
  }

  // A plan of one dive through the given points (depth m, minutes, oxygen %).
  std::string PointsPlan(const std::vector<std::tuple<double, int, double>>& points, const std::string& name) {
    test::CTestEnvironment env;
    CPlanGroup g;
    for (const auto& [depth, minutes, oxygen] : points) {
      CPlanPoint p;
      p.m_closedCircuit = 0;
      p.SetDepth(depth);
      p.m_duration = minutes * 60;
      p.m_oxygen = oxygen;
      g.GetDive(0)->AppendUserPoint(p);
    }
    const std::string path = dir + "/" + name;
    EXPECT_TRUE(g.SavePlanGroup(path));
    return path;
  }
  std::string Write(const std::string& name, const std::string& content) {
    const std::string path = dir + "/" + name;
    CDiskFileStore().Write(path, content);
    return path;
  }

  CMemoryPreferenceStorage user;
};

// Two dives of air; the second one goes to 40 m for minutes.
void GiveTwoDives(CPlanGroup& g, int minutes) {
  g.AddDivePlan();
  for (int i = 0; i < 2; ++i) {
    CPlanPoint surface, bottom;
    surface.m_closedCircuit = bottom.m_closedCircuit = 0;
    bottom.SetDepth(i == 0 ? 20 : 40);
    bottom.m_duration = (i == 0 ? 20 : minutes) * 60;
    g.GetDive(i)->AppendUserPoint(surface);
    g.GetDive(i)->AppendUserPoint(bottom);
  }
  g.GetDive(1)->SetSurfaceInterval(3600);
}

// ---- The JSON document -------------------------------------------------------------

void ExpectKeys(const Json& j, const std::vector<std::string>& keys) {
  ASSERT_TRUE(j.is_object());
  std::vector<std::string> actual;
  for (auto it = j.begin(); it != j.end(); ++it) actual.push_back(it.key());
  EXPECT_EQ(actual, keys);
}

void ExpectCompartments(const Json& j) {
  ASSERT_TRUE(j.is_array());
  ASSERT_EQ(j.size(), 16u);
  for (const Json& v : j) EXPECT_TRUE(v.is_number());
}

TEST_F(KvplanTest, JsonDocumentHasTheDocumentedShape) {
  const Json doc = RunJson({"calc", kExamples + "/oc-air-40m.ccp", "--seconds", "100,200,86400"});
  ExpectKeys(doc, {"dives"});
  ASSERT_EQ(doc["dives"].size(), 1u);
  const Json& d = doc["dives"][0];
  ExpectKeys(d, {"index", "name", "completed", "time_limit_exceeded", "bailout_mode", "bailout_valid",
                 "bailout_switches", "bailout_points", "run_time", "max_depth",
                 "cns_initial", "cns_final", "otu_initial", "otu_final", "max_ceiling", "profile", "segments",
                 "end_state", "gas_warnings", "warnings", "gas_consumption", "prediction_points", "seconds"});
  EXPECT_EQ(d["index"], 0);
  EXPECT_EQ(d["name"], "Air 40 m");
  EXPECT_EQ(d["completed"], true);
  EXPECT_EQ(d["time_limit_exceeded"], false);
  EXPECT_EQ(d["bailout_mode"], false);
  EXPECT_TRUE(d["run_time"].is_number_integer());
  EXPECT_DOUBLE_EQ(d["max_depth"].get<double>(), 40.0);
  for (const char* k : {"cns_initial", "cns_final", "otu_initial", "otu_final", "max_ceiling"})
    EXPECT_TRUE(d[k].is_number_float()) << k;
  EXPECT_GT(d["cns_final"].get<double>(), 0.0);
  EXPECT_LT(d["cns_final"].get<double>(), 1.0) << "CNS is a fraction";
  EXPECT_GT(d["max_ceiling"].get<double>(), 0.0);

  ASSERT_FALSE(d["profile"].empty());
  for (const Json& p : d["profile"]) {
    ExpectKeys(p, {"depth", "start", "duration", "kind", "source", "o2", "he", "cc", "setpoint", "ncs", "bailout"});
    EXPECT_TRUE(p["start"].is_number_integer());
    EXPECT_TRUE(p["cc"].is_boolean());
  }
  const Json& last = d["profile"].back();
  const int lastEnd = last["start"].get<int>() + std::max(0, last["duration"].get<int>() - 1);
  EXPECT_EQ(d["run_time"].get<int>(), lastEnd);
  EXPECT_EQ(d["prediction_points"].get<int>(), d["run_time"].get<int>() + 1);

  ASSERT_FALSE(d["segments"].empty());
  for (const Json& s : d["segments"])
    ExpectKeys(s, {"end", "duration", "kind", "depth", "o2", "he", "ppo2", "cc", "ncs", "warnings"});

  ExpectKeys(d["end_state"], {"n2", "he", "cns", "otu"});
  ExpectCompartments(d["end_state"]["n2"]);
  ExpectCompartments(d["end_state"]["he"]);
  EXPECT_EQ(d["end_state"]["cns"], d["cns_final"]);

  for (const Json& w : d["gas_warnings"]) EXPECT_TRUE(w.is_string());
  EXPECT_EQ(d["warnings"], Json::array());
  ASSERT_EQ(d["gas_consumption"].size(), 1u);
  ExpectKeys(d["gas_consumption"][0], {"gas", "litres", "seconds"});
  EXPECT_EQ(d["gas_consumption"][0]["gas"], "Air");
  EXPECT_TRUE(d["gas_consumption"][0]["seconds"].is_number_integer());

  ASSERT_EQ(d["seconds"].size(), 2u) << "a second past the dive is left out";
  for (const Json& s : d["seconds"]) {
    ExpectKeys(s, {"time", "depth", "ceiling", "gf", "cns", "otu", "ead", "ppo2", "flags", "n2", "he"});
    ExpectCompartments(s["n2"]);
  }
  EXPECT_EQ(d["seconds"][0]["time"], 100);
  EXPECT_DOUBLE_EQ(d["seconds"][1]["depth"].get<double>(), 40.0);
}

TEST_F(KvplanTest, JsonOfAChosenDiveOfATwoDiveDay) {
  const Json doc = RunJson({"calc", kExamples + "/oc-nitrox-two-dives.ccp", "--dive", "2"});
  ASSERT_EQ(doc["dives"].size(), 1u);
  const Json& d = doc["dives"][0];
  EXPECT_EQ(d["index"], 1);
  EXPECT_GT(d["cns_initial"].get<double>(), 0.0) << "the second dive starts with the first one's CNS";
  EXPECT_EQ(d.find("seconds"), d.end()) << "no seconds asked for";
}

TEST_F(KvplanTest, JsonGoesToAFileAndTheTablesToStandardOutput) {
  const std::string json = dir + "/out.json";
  ASSERT_EQ(Run({"calc", kExamples + "/oc-trimix-60m.ccp", "--json", json}), kExitOk) << err.str();
  EXPECT_NE(out.str().find("Dive 1 of 1 - Trimix 18/45, 60 m"), std::string::npos);
  const Json doc = Json::parse(test::ReadFile(json));
  EXPECT_EQ(doc["dives"][0]["gas_consumption"].size(), 3u);
  EXPECT_EQ(Run({"calc", kExamples + "/oc-trimix-60m.ccp", "--json", dir}), kExitFile);
}

// ---- Tables ---------------------------------------------------------------------------

TEST_F(KvplanTest, TablesFollowTheUnitAndTimePreferences) {
  ASSERT_EQ(Run({"calc", kExamples + "/oc-air-40m.ccp"}), kExitOk);
  const std::string metric = out.str();
  EXPECT_NE(metric.find("Gas  PPO2  Depth (m)"), std::string::npos) << metric;
  EXPECT_NE(metric.find("Segment Time  Run Time"), std::string::npos) << metric;
  EXPECT_NE(metric.find("Open-circuit gas required, reserve 33%"), std::string::npos);
  EXPECT_NE(metric.find("CNS Final"), std::string::npos);

  ASSERT_EQ(Run({"calc", kExamples + "/oc-air-40m.ccp", "--set", "General\\Units=1", "--set",
                 "General\\Time Units=1"}),
            kExitOk);
  EXPECT_NE(out.str().find("Depth (ft)"), std::string::npos);
  EXPECT_NE(out.str().find(" 130 "), std::string::npos) << "40 m in feet";
  EXPECT_NE(out.str().find("25:00"), std::string::npos) << "minutes and seconds";
  EXPECT_EQ(user.writes, 0) << "kvplan never changes the user's preferences";
  EXPECT_TRUE(user.numbers.empty());
}

// The units change what is shown, never what is planned; and the gas a
// table lists is in the units of its headings.
TEST_F(KvplanTest, EveryExamplePlansTheSameInFeetAsInMetres) {
  for (const char* name : {"oc-air-40m.ccp", "oc-nitrox-two-dives.ccp", "oc-trimix-60m.ccp", "cc-trimix-70m-bailout.ccp"}) {
    SCOPED_TRACE(name);
    const Json metric = RunJson({"calc", kExamples + "/" + name, "--lost-gas"});
    const Json imperial = RunJson({"calc", kExamples + "/" + name, "--lost-gas", "--set", "General\\Units=1"});
    EXPECT_EQ(imperial, metric);
  }
  ASSERT_EQ(Run({"calc", kExamples + "/oc-air-40m.ccp", "--set", "General\\Units=1"}), kExitOk);
  const std::string text = out.str();
  const std::size_t heading = text.find("Gas  Volume (cu ft)  Cylinder (cu ft) at 3365 psi");
  ASSERT_NE(heading, std::string::npos) << text;
  EXPECT_EQ(text.find(" l "), std::string::npos) << "no litres among cubic feet";
}

TEST_F(KvplanTest, WholeMinuteTimesAddUpToTheRunTimes) {
  ASSERT_EQ(Run({"calc", kExamples + "/oc-trimix-60m.ccp"}), kExitOk);
  std::istringstream lines(out.str());
  std::string line;
  int sum = 0, rows = 0, lastRun = 0;  // the rows run up the page by default
  bool inTable = false;
  while (std::getline(lines, line)) {
    if (line.find("Segment Time") != std::string::npos) {
      inTable = true;
      continue;
    }
    if (!inTable) continue;
    if (line.empty()) break;
    std::istringstream fields(line);
    std::vector<std::string> words;
    for (std::string w; fields >> w;) words.push_back(w);
    ASSERT_GE(words.size(), 2u);
    const int segment = std::stoi(words[words.size() - 2]);
    const int run = std::stoi(words.back());
    sum += segment;
    lastRun = std::max(lastRun, run);
    ++rows;
  }
  EXPECT_GT(rows, 5);
  EXPECT_EQ(sum, lastRun);
}

TEST_F(KvplanTest, ADiveFileIsAPlanOfOneDiveWithTheUsersPlanDefaults) {
  test::CTestEnvironment env;
  CPlanGroup g;
  ASSERT_TRUE(g.LoadPlanGroup(kExamples + "/oc-air-40m.ccp"));
  ASSERT_TRUE(g.ExportDive(dir + "/air.ccd", 0));
  user.numbers["Dive Plan\\Default Gas Reserve"] = 50;
  ASSERT_EQ(Run({"calc", dir + "/air.ccd"}), kExitOk) << err.str();
  EXPECT_NE(out.str().find("Dive 1 of 1 - Air 40 m"), std::string::npos);
  EXPECT_NE(out.str().find("reserve 50%"), std::string::npos);
}

// ---- Exit status and messages --------------------------------------------------------------

TEST_F(KvplanTest, BadUsageExitsWith2) {
  const std::string plan = kExamples + "/oc-air-40m.ccp";
  EXPECT_EQ(Run({}), kExitUsage);
  EXPECT_EQ(Run({"calc"}), kExitUsage);
  EXPECT_EQ(Run({"plan", plan}), kExitUsage);
  EXPECT_EQ(Run({"calc", plan, "--frobnicate"}), kExitUsage);
  EXPECT_EQ(Run({"calc", plan, "--dive", "0"}), kExitUsage);
  EXPECT_EQ(Run({"calc", plan, "--dive", "2"}), kExitUsage);
  EXPECT_NE(err.str().find("the plan has 1 dive"), std::string::npos);
  EXPECT_EQ(Run({"calc", plan, "--seconds", "10,x"}), kExitUsage);
  EXPECT_EQ(Run({"calc", plan, "--set", "Dive\\No Such=1"}), kExitUsage);
  EXPECT_EQ(Run({"calc", plan, "--set", "Dive\\SAC Rate=25.5"}), kExitUsage) << "stored numbers are whole";
  EXPECT_EQ(Run({"calc", plan, "--set", "General\\Units"}), kExitUsage);
  EXPECT_EQ(Run({"check", plan, "--extend"}), kExitUsage);
  EXPECT_EQ(Run({"--help"}), kExitOk);
  EXPECT_NE(out.str().find("calc"), std::string::npos);
}

TEST_F(KvplanTest, UnreadableFilesExitWith3AndShowTheMessage) {
  // Every failure says what, which file and why.
  EXPECT_EQ(Run({"calc", dir + "/none.ccp"}), kExitFile);
  EXPECT_EQ(err.str(), "Kestrun Varnadel: Unable to open data file. " + dir + "/none.ccp no such file\nkvplan: " + dir +
                           "/none.ccp: no such file\n");
  test::CTestEnvironment env;
  CDiskFileStore().Write(dir + "/bad.ccp", "Dive\r\n");
  EXPECT_EQ(Run({"check", dir + "/bad.ccp"}), kExitFile);
  EXPECT_EQ(err.str(), "Kestrun Varnadel: Invalid Dive Plan file " + dir +
                           "/bad.ccp line 1: the first line is \"Dive\", not \"Dive Plan\"\nkvplan: " + dir +
                           "/bad.ccp: line 1: the first line is \"Dive\", not \"Dive Plan\"\n");
  CDiskFileStore().Write(dir + "/gf.ccp", "Dive Plan\r\nDive\r\n022~900.00\r\n023~5.00\r\n");
  EXPECT_EQ(Run({"calc", dir + "/gf.ccp"}), kExitFile);
  EXPECT_EQ(err.str(), "Kestrun Varnadel: Invalid Dive Plan file " + dir +
                           "/gf.ccp line 3: key 022 (gradient factor low): 900.00 is outside 0 to 100 %\nkvplan: " +
                           dir + "/gf.ccp: line 3: key 022 (gradient factor low): 900.00 is outside 0 to 100 %\n");
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(Run({"calc", kExamples + "/oc-air-40m.ccp", "--prefs", dir + "/none.ini"}), kExitFile);
  std::string many = "Dive Plan\r\n";
  for (int i = 0; i < 31; ++i) many += "Dive\r\n";
  CDiskFileStore().Write(dir + "/many.ccp", many);
  EXPECT_EQ(Run({"calc", dir + "/many.ccp"}), kExitFile);
  EXPECT_NE(err.str().find("the file holds 31 dives; the program takes at most 30"), std::string::npos)
      << "never a silent failure";
}

TEST_F(KvplanTest, SixHourQuestionIsAnsweredByExtend) {
  const std::string plan = AirPlan(40, 80);
  EXPECT_EQ(Run({"calc", plan}), kExitDiveFailed);
  EXPECT_EQ(err.str().rfind("Kestrun Varnadel: Unable to decompress Dive 1 within 6 hours. ", 0), 0u) << err.str();
  const std::string question = err.str().substr(0, err.str().find('\n'));
  EXPECT_NE(question.find("removed.) No"), std::string::npos) << "one line";
  EXPECT_NE(err.str().find("kvplan: dive 1 not calculated: its decompression does not end within 6 hours"),
            std::string::npos);
  EXPECT_NE(out.str().find("Not calculated: its decompression does not end within 6 hours"), std::string::npos);

  const Json doc = RunJson({"calc", plan, "--extend"});
  EXPECT_NE(err.str().find("removed.) Yes"), std::string::npos);
  EXPECT_EQ(doc["dives"][0]["completed"], true);
  EXPECT_GT(doc["dives"][0]["run_time"].get<int>(), 6 * 3600);
}

TEST_F(KvplanTest, FailedDiveStillHasTheDocumentedShape) {
  const Json doc = RunJson({"calc", AirPlan(40, 80)}, kExitDiveFailed);
  const Json& d = doc["dives"][0];
  EXPECT_EQ(d["completed"], false);
  EXPECT_EQ(d["time_limit_exceeded"], true);
  EXPECT_TRUE(d["profile"].empty());
  ExpectKeys(d["end_state"], {"n2", "he", "cns", "otu"});
  EXPECT_TRUE(d["end_state"]["n2"].empty()) << "no state is invented";
  EXPECT_EQ(d["prediction_points"], 0);
}

TEST_F(KvplanTest, CheckPrintsEachRefusal) {
  ASSERT_EQ(Run({"check", kExamples + "/oc-trimix-60m.ccp"}), kExitOk) << out.str();
  EXPECT_EQ(out.str(), "4 points checked, 0 refused\n");
  // Air at 40 m is over a 35 m EAD limit.
  ASSERT_EQ(Run({"check", AirPlan(40, 20), "--set", "Dive\\Max EAD=35000"}), kExitOk)
      << "the plan's own limit counts, not the default";
  test::CTestEnvironment env;
  CPlanGroup g;
  ASSERT_TRUE(g.LoadPlanGroup(kExamples + "/oc-air-40m.ccp"));
  g.GetDive(0)->SetMaxEad(35);
  ASSERT_TRUE(g.SavePlanGroup(dir + "/ead.ccp"));
  EXPECT_EQ(Run({"check", dir + "/ead.ccp"}), kExitDiveFailed);
  EXPECT_EQ(out.str().rfind("Dive 1, point 2: EAD of 40 m for this gas exceeds the 35 m Max EAD limit", 0), 0u)
      << out.str();
  EXPECT_NE(out.str().find("2 points checked, 1 refused"), std::string::npos);
}

// ---- Bad input never becomes a plan ----------------------------------------------------

TEST_F(KvplanTest, APlanWhoseDivesAreNotCalculatedExitsWith1AndSaysWhy) {
  const std::string empty = Write("empty.ccp", "Dive Plan\r\nDive\r\n020~Nothing yet\r\n");
  const Json doc = RunJson({"calc", empty}, kExitDiveFailed);
  EXPECT_EQ(err.str(), "kvplan: dive 1 not calculated: it has no points\n");
  EXPECT_EQ(doc["dives"][0]["completed"], false);
  EXPECT_EQ(Run({"calc", empty}), kExitDiveFailed);
  EXPECT_NE(out.str().find("Not calculated: it has no points."), std::string::npos) << out.str();
  EXPECT_EQ(Run({"check", empty}), kExitDiveFailed);
  EXPECT_EQ(err.str(), "kvplan: dive 1 has no points\n");

  // A failed dive keeps the dives before it; it has no results.
  test::CTestEnvironment env;
  CPlanGroup g;
  GiveTwoDives(g, 80);
  ASSERT_TRUE(g.SavePlanGroup(dir + "/two.ccp"));
  const Json two = RunJson({"calc", dir + "/two.ccp"}, kExitDiveFailed);
  EXPECT_EQ(two["dives"][0]["completed"], true);
  EXPECT_EQ(two["dives"][1]["completed"], false);
  EXPECT_EQ(err.str().find("kvplan: dive 1 not calculated"), std::string::npos) << err.str();
  EXPECT_NE(err.str().find("kvplan: dive 2 not calculated: its decompression does not end within 6 hours"),
            std::string::npos)
      << err.str();
}

// Only dive 1 is printed, but dive 2 of the plan has no points: the exit
// code counts every dive.
TEST_F(KvplanTest, AChosenDiveExitsWith1WhenAnotherDiveIsNotCalculated) {
  test::CTestEnvironment env;
  CPlanGroup g;
  GiveTwoDives(g, 20);
  g.GetDive(1)->ClearUserPoints();
  ASSERT_TRUE(g.SavePlanGroup(dir + "/second-empty.ccp"));
  EXPECT_EQ(Run({"calc", dir + "/second-empty.ccp", "--dive", "1"}), kExitDiveFailed);
  EXPECT_EQ(err.str(), "kvplan: dive 2 not calculated: it has no points\n");
  EXPECT_NE(out.str().find("Dive 1"), std::string::npos) << out.str();
}

TEST_F(KvplanTest, OxygenExposureAboveTheLimitsIsAWarning) {
  // Oxygen at 6 m is 1.6 bar: three hours are far beyond 100 % CNS and 300 OTU.
  const std::string plan = PointsPlan({{0, 0, 100}, {6, 180, 100}}, "oxygen.ccp");
  const Json doc = RunJson({"calc", plan}, kExitOk);
  EXPECT_EQ(doc["dives"][0]["warnings"], Json::parse(R"(["CNS above 100 %","OTU above 300"])"));
  EXPECT_EQ(err.str(), "kvplan: dive 1 warning: CNS above 100 % at the end of the dive\n"
                       "kvplan: dive 1 warning: OTU above 300 at the end of the dive\n");
  ASSERT_EQ(Run({"calc", plan}), kExitOk);
  EXPECT_NE(out.str().find("Warning: CNS above 100 % at the end of the dive\n"), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("Warning: OTU above 300 at the end of the dive\n"), std::string::npos);
}

// The text output used to list the segments in dive order whatever the
// printing direction, and without the "Bottom Depth" label of the tables.
TEST_F(KvplanTest, TextRowsAreTheDiveTableRowsInTheChosenDirection) {
  for (const char* direction : {"0", "1"}) {
    SCOPED_TRACE(direction);
    ASSERT_EQ(Run({"calc", kExamples + "/oc-trimix-60m.ccp", "--set", std::string("General\\Printing Direction=") +
                   direction}),
              kExitOk);
    test::CTestEnvironment env;
    CPlanGroup g;
    ASSERT_TRUE(g.LoadPlanGroup(kExamples + "/oc-trimix-60m.ccp"));
    g.CalculateDivePlans(true, 0, true);
    SReportOptions options;
    options.runTimeAscending = direction[0] == '1';
    const DiveTableContent content = BuildDiveTableContent({g.GetDive(0)}, 0, options);
    std::vector<std::string> expected;
    for (const std::string& row : content.rows) {
      CSParser cells(row, '~');
      std::string words;
      for (int c = 1; c <= cells.Count(); ++c) {
        std::istringstream split(PlainText(cells.GetField(c)));
        for (std::string w; split >> w;) words += w + " ";
      }
      expected.push_back(words);
    }
    std::vector<std::string> printed;
    std::istringstream lines(out.str());
    bool inTable = false;
    for (std::string line; std::getline(lines, line);) {
      if (line.find("Segment Time") != std::string::npos) inTable = true;
      if (!inTable) continue;
      if (line.empty()) break;
      std::istringstream split(line);
      std::string words;
      for (std::string w; split >> w;) words += w + " ";
      printed.push_back(words);
    }
    EXPECT_EQ(printed, expected);
    EXPECT_NE(out.str().find("Bottom Depth"), std::string::npos);
  }
}

TEST_F(KvplanTest, ALaterDiveNamesTheSurfaceIntervalMethod) {
  ASSERT_EQ(Run({"calc", kExamples + "/oc-nitrox-two-dives.ccp"}), kExitOk);
  EXPECT_NE(out.str().find("Surface Interval (hh:mm) 2:00 (delayed surface desaturation)\n"), std::string::npos)
      << out.str();
  test::CTestEnvironment env;
  CPlanGroup g;
  ASSERT_TRUE(g.LoadPlanGroup(kExamples + "/oc-nitrox-two-dives.ccp"));
  g.SetSurfaceIntervalAlgorithm(1);
  ASSERT_TRUE(g.SavePlanGroup(dir + "/buhlmann.ccp"));
  ASSERT_EQ(Run({"calc", dir + "/buhlmann.ccp"}), kExitOk);
  EXPECT_NE(out.str().find("2:00 (Bühlmann)\n"), std::string::npos);
  EXPECT_EQ(out.str().find("Surface Interval (hh:mm) 0:00"), std::string::npos) << "not for the first dive";
}

TEST_F(KvplanTest, OutOfRangeOptionsSayWhyInOneShortLine) {
  const std::string plan = kExamples + "/oc-air-40m.ccp";
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"--dive", "0"}, "kvplan: --dive: \"0\" is not a dive number (1 to 30)\n"},
      {{"--dive", "99999999999999"}, "kvplan: --dive: \"99999999999999\" is not a dive number (1 to 30)\n"},
      {{"--dive", "two"}, "kvplan: --dive: \"two\" is not a dive number (1 to 30)\n"},
      {{"--json", "-", "--seconds", "-1"}, "kvplan: --seconds: \"-1\" is not a run time second (0 to 86400)\n"},
      {{"--seconds", "60"}, "kvplan: --seconds adds states to the JSON: give --json too\n"},
  };
  for (const auto& [options, message] : cases) {
    std::vector<std::string> args{"calc", plan};
    args.insert(args.end(), options.begin(), options.end());
    EXPECT_EQ(Run(args), kExitUsage) << message;
    EXPECT_EQ(err.str(), message);
    EXPECT_EQ(out.str(), "");
  }
}

TEST_F(KvplanTest, SetRefusesValuesOutsideTheirRangeAndSaysWhenTheFileWins) {
  const std::string plan = kExamples + "/oc-air-40m.ccp";
  EXPECT_EQ(Run({"calc", plan, "--set", "Dive\\GF Low=900"}), kExitUsage);
  EXPECT_EQ(err.str(), "kvplan: --set Dive\\GF Low=900: 900 is outside 0 to 100 %\n");
  EXPECT_EQ(Run({"calc", plan, "--set", "Dive\\Surface Pressure=999999"}), kExitUsage);
  EXPECT_EQ(Run({"calc", plan, "--set", "Dive\\Last Deco Stop=0"}), kExitUsage);
  EXPECT_NE(err.str().find("0 is outside 3000 to 6000 (3 to 6 m (10 to 20 ft), stored x 1000)"), std::string::npos)
      << err.str();
  EXPECT_EQ(Run({"calc", plan, "--set", "Dive Plan\\Default Gas Reserve=999999"}), kExitUsage);
  EXPECT_EQ(Run({"calc", plan, "--set", "General\\Units=2"}), kExitUsage);

  ASSERT_EQ(Run({"calc", plan, "--set", "Dive\\GF Low=50"}), kExitOk);
  EXPECT_EQ(err.str(), "kvplan: --set Dive\\GF Low: the plan file holds its own value (key 022), which is used\n");
  EXPECT_NE(out.str().find("GF 20/80"), std::string::npos) << "the file's GF";
  test::CTestEnvironment env;
  CPlanGroup g;
  ASSERT_TRUE(g.LoadPlanGroup(plan));
  ASSERT_TRUE(g.ExportDive(dir + "/air.ccd", 0));
  ASSERT_EQ(Run({"calc", dir + "/air.ccd", "--set", "Dive Plan\\Default Gas Reserve=50"}), kExitOk);
  EXPECT_EQ(err.str(), "") << "a dive file takes the plan settings from the preferences";
  EXPECT_NE(out.str().find("reserve 50%"), std::string::npos);
}

TEST_F(KvplanTest, PreferencesMustBeASettingsFileWithValuesInRange) {
  const std::string plan = kExamples + "/oc-air-40m.ccp";
  EXPECT_EQ(Run({"calc", plan, "--prefs", dir}), kExitUsage);
  EXPECT_EQ(err.str(), "kvplan: --prefs " + dir + ": it is a folder, not a settings file\n");
  EXPECT_EQ(Run({"calc", plan, "--prefs", plan}), kExitUsage);
  EXPECT_NE(err.str().find("line 1 is neither a [section] nor a NAME=VALUE line"), std::string::npos) << err.str();
  EXPECT_EQ(Run({"calc", plan, "--prefs", Write("other.ini", "[General]\nsize=3\n")}), kExitUsage);
  EXPECT_NE(err.str().find("no [Settings] section"), std::string::npos);
  EXPECT_EQ(Run({"calc", plan, "--prefs", Write("gf.ini", "[Settings]\nDive\\GF%20Low=900\n")}), kExitUsage);
  EXPECT_NE(err.str().find("Dive\\GF Low holds 900, outside 0 to 100 %"), std::string::npos) << err.str();
  EXPECT_EQ(Run({"calc", plan, "--prefs", dir + "/gf.ini", "--set", "Dive\\GF Low=30"}), kExitOk)
      << "a --set mends it for the run";
  EXPECT_EQ(Run({"calc", plan, "--prefs", Write("empty.ini", "")}), kExitOk) << err.str();
  EXPECT_EQ(Run({"calc", plan, "--prefs", Write("units.ini", "[Settings]\nGeneral\\Units=1\n")}), kExitOk);
  EXPECT_NE(out.str().find("Depth (ft)"), std::string::npos);

  user.numbers["Dive\\SAC Rate"] = 1000;
  EXPECT_EQ(Run({"calc", plan}), kExitUsage);
  EXPECT_EQ(err.str(), "kvplan: the user's preferences: Dive\\SAC Rate holds 1000, outside 8000 to 80000 "
                       "(8.0 to 80.0 l/min (0.28 to 2.82 cu ft/min), stored x 1000) (override it with --set)\n");
}

// ---- Nothing the user owns is lost or blocks ------------------------------------------------

TEST_F(KvplanTest, TheLogIsAppendedToAndNothingTheUserNamedIsDeleted) {
  const std::string plan = kExamples + "/oc-air-40m.ccp";
  const std::string log = Write("mine.txt", "my notes\n");
  ASSERT_EQ(Run({"calc", plan, "--log", log}), kExitOk) << err.str();
  EXPECT_EQ(test::ReadFile(log).rfind("my notes\n", 0), 0u);
  const std::string link = dir + "/link.txt";
  ASSERT_EQ(::symlink(log.c_str(), link.c_str()), 0);
  ASSERT_EQ(Run({"calc", plan, "--log", link}), kExitOk);
  EXPECT_EQ(test::ReadFile(link).rfind("my notes\n", 0), 0u) << "the link's target keeps its text";

  const std::string folder = dir + "/emptyfolder";
  ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
  EXPECT_EQ(Run({"calc", plan, "--log", folder}), kExitFile);
  EXPECT_EQ(err.str(), "kvplan: --log " + folder + ": it is a folder\n");
  struct stat st;
  EXPECT_EQ(::stat(folder.c_str(), &st), 0) << "the folder is still there";
  EXPECT_EQ(Run({"calc", plan, "--log", dir + "/no/such/folder/log.txt"}), kExitFile);
  EXPECT_EQ(out.str(), "") << "refused before calculating";
  EXPECT_NE(err.str().find("cannot write the status log"), std::string::npos);
}

TEST_F(KvplanTest, OutputsNeverOverwriteTheInputs) {
  const std::string plan = Write("plan.ccp", test::ReadFile(kExamples + "/oc-air-40m.ccp"));
  const std::string before = test::ReadFile(plan);
  EXPECT_EQ(Run({"calc", plan, "--json", plan}), kExitUsage);
  EXPECT_EQ(err.str(), "kvplan: --json " + plan + " names the plan file itself\n");
  EXPECT_EQ(Run({"calc", plan, "--tables", dir + "/./plan.ccp"}), kExitUsage);
  EXPECT_EQ(Run({"calc", plan, "--log", plan}), kExitUsage);
  EXPECT_EQ(test::ReadFile(plan), before);
  EXPECT_EQ(Run({"calc", plan, "--json", dir + "/a.json", "--log", dir + "/a.json"}), kExitUsage);
  EXPECT_EQ(err.str(), "kvplan: --json and --log name the same file " + dir + "/a.json\n");
}

TEST_F(KvplanTest, FifosAndOtherNonRegularFilesAreRefusedWithoutWaiting) {
  const std::string fifo = dir + "/fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string plan = kExamples + "/oc-air-40m.ccp";
  EXPECT_EQ(Run({"calc", fifo}), kExitFile);
  EXPECT_EQ(err.str(), "Kestrun Varnadel: Unable to open data file. " + fifo + " it is not a regular file\nkvplan: " +
                           fifo + ": it is not a regular file\n");
  EXPECT_EQ(Run({"calc", plan, "--prefs", fifo}), kExitFile);
  EXPECT_EQ(Run({"calc", plan, "--json", fifo}), kExitFile);
  EXPECT_EQ(err.str(), "kvplan: --json " + fifo + ": it is not a regular file\n");
  EXPECT_EQ(Run({"calc", plan, "--log", fifo}), kExitFile);
  EXPECT_EQ(Run({"calc", plan, "--json", "/dev/null"}), kExitFile);
}

// A stream that takes nothing, as standard output on a full disk.
class CFullBuffer final : public std::streambuf {
protected:
  int_type overflow(int_type) override { return traits_type::eof(); }
  std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

TEST_F(KvplanTest, AFailedWriteToStandardOutputExitsWith3) {
  CFullBuffer full;
  std::ostream lost(&full);
  SKvplanEnvironment env;
  env.userPreferences = [this] { return std::make_unique<CForwardingStorage>(user); };
  EXPECT_EQ(RunKvplan({"calc", kExamples + "/oc-air-40m.ccp", "--json", "-"}, lost, err, env), kExitFile);
  EXPECT_EQ(err.str(), "kvplan: cannot write to standard output\n");
}

TEST_F(KvplanTest, ALongOutputNameIsWritten) {
  const std::string json = dir + "/" + std::string(250, 'j') + ".json";
  ASSERT_EQ(Run({"calc", kExamples + "/oc-air-40m.ccp", "--json", json}), kExitOk) << err.str();
  EXPECT_FALSE(test::ReadFile(json).empty());
}

}  // namespace
}  // namespace kv
