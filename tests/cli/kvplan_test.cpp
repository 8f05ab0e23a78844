// kvplan run in-process: options, exit codes, messages, tables and the JSON
// document, with an in-memory store standing in for the user's preferences.

#include "cli/kvplan_app.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>

#include "plan/file_store.h"
#include "plan/plan_group.h"
#include "support/test_support.h"

namespace kv {
namespace {

using Json = nlohmann::ordered_json;

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

class KvplanTest : public ::testing::Test {
protected:
  void SetUp() override { dir = test::TempDir(); }

  int Run(const std::vector<std::string>& args) {
    out.str("");
    err.str("");
    SKvplanEnvironment env;
    env.userPreferences = [this] { return std::make_unique<CForwardingStorage>(user); };
    return RunKvplan(args, out, err, env);
  }
  Json RunJson(std::vector<std::string> args, int expected = kExitOk) {
    args.push_back("--json");
    args.push_back("-");
    EXPECT_EQ(Run(args), expected) << err.str();
    return Json::parse(out.str());
  }
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

  CMemoryPreferenceStorage user;
  std::ostringstream out, err;
  std::string dir;
};

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
  const Json doc = RunJson({"calc", kExamples + "/oc-air-40m.ccp", "--seconds", "100,200,999999"});
  ExpectKeys(doc, {"dives"});
  ASSERT_EQ(doc["dives"].size(), 1u);
  const Json& d = doc["dives"][0];
  ExpectKeys(d, {"index", "name", "completed", "time_limit_exceeded", "bailout_mode", "run_time", "max_depth",
                 "cns_initial", "cns_final", "otu_initial", "otu_final", "max_ceiling", "profile", "segments",
                 "end_state", "gas_warnings", "gas_consumption", "prediction_points", "seconds"});
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
  EXPECT_NE(metric.find("Gas  PPO2  Depth (m)  Segment Time  Run Time"), std::string::npos) << metric;
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

TEST_F(KvplanTest, WholeMinuteTimesAddUpToTheRunTimes) {
  ASSERT_EQ(Run({"calc", kExamples + "/oc-trimix-60m.ccp"}), kExitOk);
  std::istringstream lines(out.str());
  std::string line;
  int sum = 0, rows = 0, lastRun = 0;
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
    lastRun = run;
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
  EXPECT_EQ(Run({"calc", dir + "/none.ccp"}), kExitFile);
  EXPECT_EQ(err.str(), "Kestrun Varnadel: Unable to open data file.\n");
  test::CTestEnvironment env;
  CDiskFileStore().Write(dir + "/bad.ccp", "Dive\r\n");
  EXPECT_EQ(Run({"check", dir + "/bad.ccp"}), kExitFile);
  EXPECT_EQ(err.str(), "Kestrun Varnadel: Invalid Dive Plan file\n");
  EXPECT_EQ(Run({"calc", kExamples + "/oc-air-40m.ccp", "--prefs", dir + "/none.ini"}), kExitFile);
  std::string many = "Dive Plan\r\n";
  for (int i = 0; i < 31; ++i) many += "Dive\r\n";
  CDiskFileStore().Write(dir + "/many.ccp", many);
  EXPECT_EQ(Run({"calc", dir + "/many.ccp"}), kExitFile);
  EXPECT_NE(err.str().find("at most 30 dives"), std::string::npos) << "never a silent failure";
}

TEST_F(KvplanTest, SixHourQuestionIsAnsweredByExtend) {
  const std::string plan = AirPlan(40, 80);
  EXPECT_EQ(Run({"calc", plan}), kExitDiveFailed);
  EXPECT_EQ(err.str().rfind("Kestrun Varnadel: Unable to decompress Dive 1 within 6 hours. ", 0), 0u) << err.str();
  EXPECT_EQ(err.str().find('\n'), err.str().size() - 1) << "one line";
  EXPECT_NE(err.str().find("removed.) No"), std::string::npos);
  EXPECT_NE(out.str().find("Not calculated"), std::string::npos);

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

}  // namespace
}  // namespace kv
