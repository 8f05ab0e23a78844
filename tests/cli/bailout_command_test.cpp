// kvplan bailout and calc --bailout run in-process: the questions on standard
// error, the JSON of a bailout dive and of a sweep, plans saved with their
// bailout, and the sweep against single bailouts at the same seconds.

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>

#include "base/text.h"
#include "cli/kvplan_app.h"
#include "plan/plan_group.h"
#include "support/test_support.h"
#include "kvplan_fixture.h"

namespace kv {
namespace {

using test::Json;
using test::Keys;

class BailoutCommand : public test::CKvplanFixture {
protected:
  // A plan of one closed-circuit 15/55 dive to depth for minutes.
  std::string ClosedCircuitPlan(double depth, int minutes, int switches = 2, const std::string& list = "") {
    return ClosedCircuitPlan({{0.0, 0, 0.7}, {depth, minutes * 60, 1.3}}, switches, list,
                             Format("/cc%0.0f.ccp", depth));
  }
  // The same through the given points (depth m, seconds, setpoint).
  std::string ClosedCircuitPlan(std::initializer_list<std::tuple<double, int, double>> points, int switches,
                                const std::string& list, const std::string& name) {
    test::CTestEnvironment env;
    CPlanGroup g;
    CDivePlan& d = *g.GetDive(0);
    for (auto [metres, seconds, setpoint] : points) {
      CPlanPoint p;
      p.SetDepth(metres);
      p.m_duration = seconds;
      p.m_oxygen = 15;
      p.m_helium = 55;
      p.m_setpoint = setpoint;
      d.AppendUserPoint(p);
    }
    d.SetBailoutNoOfGasSwitches(switches);
    if (!list.empty()) {
      d.SetBailoutUseGasList(true);
      d.SetBailoutGasList(list);
    }
    g.SetCylinderWorkingPressure(232);
    g.SetGasReserve(33);
    const std::string path = dir + name;
    EXPECT_TRUE(g.SavePlanGroup(path));
    return path;
  }
};

TEST_F(BailoutCommand, BailoutAtASecondDescribesTheBailoutDive) {
  const std::string plan = ClosedCircuitPlan(45, 20);
  const Json doc = RunJson({"bailout", plan, "--dive", "1", "--at", "1000"});
  ASSERT_EQ(doc["dives"].size(), 1u);
  const Json& d = doc["dives"][0];
  EXPECT_EQ(d["bailout_mode"], true);
  EXPECT_EQ(d["bailout_valid"], true);
  ASSERT_EQ(d["bailout_switches"].size(), 12u);
  int inUse = 0;
  for (const Json& s : d["bailout_switches"]) {
    EXPECT_EQ(Keys(s), (std::vector<std::string>{"depth", "o2", "he", "in_use"}));
    inUse += s["in_use"].get<bool>();
  }
  EXPECT_EQ(inUse, 2);
  EXPECT_EQ(d["bailout_switches"][0]["depth"], 45.0);
  ASSERT_FALSE(d["bailout_points"].empty());
  EXPECT_EQ(d["bailout_points"][0].size(), d["profile"][0].size()) << "in the shape of the profile";
  bool openCircuit = false;
  for (const Json& p : d["profile"]) openCircuit = openCircuit || (!p["cc"].get<bool>() && p["bailout"].get<bool>());
  EXPECT_TRUE(openCircuit) << "the profile is the bailout dive's";
  EXPECT_FALSE(d["gas_consumption"].empty());
  EXPECT_EQ(err.str(), "");

  ASSERT_EQ(Run({"bailout", plan, "--dive", "1", "--end-of-segment", "200"}), kExitOk) << err.str();
  EXPECT_NE(out.str().find("Bailout at 20:00 (second 1200), 45.0 m"), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("Bailout gas switches"), std::string::npos);
  EXPECT_NE(out.str().find("Bailout gas volumes, reserve 33%, cylinders at 232 bar"), std::string::npos);
}

// Each gas line of the summary: litres, litres with the 33 % reserve and the
// cylinder at 232 bar, against the litres of the dive's consumption.
TEST_F(BailoutCommand, VolumesWithReserveAreTheLitresTimesOnePlusTheReserve) {
  const std::string plan = ClosedCircuitPlan(45, 20);
  const std::string json = dir + "/bailout.json";
  ASSERT_EQ(Run({"bailout", plan, "--dive", "1", "--at", "1000", "--json", json}), kExitOk) << err.str();
  const std::string text = out.str();
  const Json doc = Json::parse(test::ReadFile(json));
  const Json& gases = doc["dives"][0]["gas_consumption"];
  ASSERT_FALSE(gases.empty());
  for (const Json& g : gases) {
    SCOPED_TRACE(g.dump());
    const double litres = g["litres"].get<double>();
    const std::string line = Format("  %-12s %7.0f l  %7.0f l with reserve  cylinder %0.1f l\n",
                                    g["gas"].get<std::string>().c_str(), litres, 1.33 * litres, 1.33 * litres / 232.0);
    EXPECT_NE(text.find(line), std::string::npos) << text;
  }
}

TEST_F(BailoutCommand, TheLastSecondOfTheDiveIsAMomentToBailOutFrom) {
  const std::string plan = ClosedCircuitPlan(30, 10);
  const int last = RunJson({"calc", plan})["dives"][0]["run_time"].get<int>();
  EXPECT_NE(Run({"bailout", plan, "--dive", "1", "--at", std::to_string(last)}), kExitUsage) << err.str();
  EXPECT_NE(out.str().find(Format("(second %d)", last)), std::string::npos) << out.str();
  EXPECT_EQ(Run({"bailout", plan, "--dive", "1", "--at", std::to_string(last + 1)}), kExitUsage);
  EXPECT_NE(err.str().find(Format("kvplan: --at %d: dive 1 runs from second 1 to %d\n", last + 1, last)),
            std::string::npos)
      << err.str();
}

TEST_F(BailoutCommand, QuestionsAreAnsweredByTheOptionsAndPrinted) {
  const std::string plan = ClosedCircuitPlan(9, 30, 3);  // 9 m allows 2 switches
  const std::string question =
      "Kestrun Varnadel: Too many gases (3) for bailout. Allow the planner to reduce the number of gases?";
  EXPECT_EQ(Run({"bailout", plan, "--dive", "1", "--at", "1000"}), kExitDiveFailed);
  EXPECT_NE(err.str().find(question + " No\n"), std::string::npos) << err.str();
  EXPECT_NE(out.str().find("NO VALID BAILOUT PLAN"), std::string::npos);
  EXPECT_EQ(Run({"bailout", plan, "--dive", "1", "--at", "1000", "--allow-fewer-gases"}), kExitOk);
  EXPECT_NE(err.str().find(question + " Yes\n"), std::string::npos) << err.str();
}

TEST_F(BailoutCommand, ListItemsThatAreNotMixesAreReported) {
  const std::string plan = ClosedCircuitPlan(45, 20, 2, "18/45,50%,100/0");
  Run({"bailout", plan, "--dive", "1", "--at", "1000"});
  EXPECT_NE(err.str().find("kvplan: dive 1: bailout gas list item \"50%\" is not a mix written as O2/He and is left out"),
            std::string::npos)
      << err.str();
}

TEST_F(BailoutCommand, SavedBailoutIsShownAgainByCalcBailoutAndSavesBackUnchanged) {
  const std::string plan = ClosedCircuitPlan(45, 20);
  const std::string saved = dir + "/saved.ccp", again = dir + "/again.ccp";
  const Json bailout = RunJson({"bailout", plan, "--dive", "1", "--at", "1000", "--save", saved});
  const Json normal = RunJson({"calc", saved});
  EXPECT_EQ(normal["dives"][0]["bailout_mode"], false) << "the mode itself is not kept";
  EXPECT_EQ(normal["dives"][0]["bailout_valid"], true);
  const Json shown = RunJson({"calc", saved, "--bailout"});
  EXPECT_EQ(shown["dives"][0]["bailout_mode"], true);
  EXPECT_EQ(shown["dives"][0]["profile"], bailout["dives"][0]["profile"]);
  EXPECT_EQ(shown["dives"][0]["gas_consumption"], bailout["dives"][0]["gas_consumption"]);
  EXPECT_EQ(shown["dives"][0]["bailout_switches"], bailout["dives"][0]["bailout_switches"]);

  ASSERT_EQ(Run({"calc", saved, "--bailout"}), kExitOk) << err.str();
  EXPECT_EQ(out.str().rfind("Bailout at 16:40 (second 1000), 45.0 m, GF 100/100, SAC 30 l/min: plan valid\n", 0), 0u)
      << out.str();

  RunJson({"bailout", saved, "--dive", "1", "--at", "1000", "--save", again});
  EXPECT_EQ(test::ReadFile(again), test::ReadFile(saved));
}

TEST_F(BailoutCommand, SweepJsonAndEveryMomentAsABailoutAtThatSecond) {
  const std::string plan = ClosedCircuitPlan(40, 15);
  const Json doc = RunJson({"bailout", plan, "--dive", "1", "--sweep", "--step", "300", "--allow-fewer-gases"});
  EXPECT_EQ(Keys(doc), (std::vector<std::string>{"dive", "step", "moments", "invalid", "worst"}));
  EXPECT_EQ(Keys(doc["moments"][0]),
            (std::vector<std::string>{"second", "depth", "valid", "run_time", "ascent_time", "cns_final", "gases"}));
  EXPECT_EQ(Keys(doc["worst"]), (std::vector<std::string>{"run_time", "cns_final", "gases"}));
  EXPECT_EQ(doc["dive"], 1);
  EXPECT_EQ(doc["step"], 300);
  EXPECT_EQ(doc["invalid"], 0);
  ASSERT_GE(doc["moments"].size(), 4u);
  EXPECT_NE(err.str().find("Bailout sweep: "), std::string::npos) << "a progress line";
  for (const Json& m : doc["moments"]) {
    SCOPED_TRACE(m.dump());
    const Json at = RunJson({"bailout", plan, "--dive", "1", "--at", std::to_string(m["second"].get<int>()),
                             "--allow-fewer-gases"});
    const Json& d = at["dives"][0];
    EXPECT_EQ(m["valid"], d["bailout_valid"]);
    EXPECT_EQ(m["run_time"], d["run_time"]);
    EXPECT_EQ(m["cns_final"], d["cns_final"]);
    ASSERT_EQ(m["gases"].size(), d["gas_consumption"].size());
    for (std::size_t g = 0; g < m["gases"].size(); ++g) {
      EXPECT_EQ(m["gases"][g]["gas"], d["gas_consumption"][g]["gas"]);
      EXPECT_DOUBLE_EQ(m["gases"][g]["litres"].get<double>(), d["gas_consumption"][g]["litres"].get<double>());
    }
  }
  const Json& worst = doc["worst"];
  EXPECT_EQ(worst["run_time"].size(), 2u);
  ASSERT_FALSE(worst["gases"].empty());
  for (const Json& g : worst["gases"])
    EXPECT_DOUBLE_EQ(g["cylinder_litres"].get<double>(), 1.33 * g["litres"].get<double>() / 232.0);
}

// Down to 45 m without stopping there, then 15 minutes at 30 m, with a list
// whose deepest gas, 30/30, reaches 43.3 m: the moment at 45 m alone has no
// valid plan, and one such moment is enough to fail.
TEST_F(BailoutCommand, ASweepWithOneInvalidMomentExitsWith1) {
  const std::string plan =
      ClosedCircuitPlan({{0.0, 0, 0.7}, {45.0, 0, 1.3}, {30.0, 900, 1.3}}, 2, "30/30,100/0", "/turn45.ccp");
  const Json doc = RunJson({"bailout", plan, "--dive", "1", "--sweep"}, kExitDiveFailed);
  EXPECT_EQ(doc["invalid"], 1);
  for (const Json& m : doc["moments"]) EXPECT_EQ(m["valid"], m["depth"].get<double>() < 43.0) << m.dump();
}

TEST_F(BailoutCommand, UsageErrorsSayWhatIsWrong) {
  const std::string plan = ClosedCircuitPlan(30, 10);
  EXPECT_EQ(Run({"bailout", plan, "--dive", "1"}), kExitUsage);
  EXPECT_NE(err.str().find("bailout needs one of --at SECOND, --end-of-segment SECOND or --sweep"), std::string::npos);
  EXPECT_EQ(Run({"bailout", plan, "--dive", "2", "--at", "100"}), kExitUsage);
  EXPECT_NE(err.str().find("--dive 2: the plan has 1 dive"), std::string::npos);
  EXPECT_EQ(Run({"bailout", plan, "--dive", "1", "--at", "99999"}), kExitUsage);
  EXPECT_NE(err.str().find("--at: \"99999\" is not a run time second (1 to 86400)"), std::string::npos) << err.str();
  EXPECT_EQ(Run({"bailout", plan, "--dive", "1", "--at", "100", "--step", "30"}), kExitUsage);
  EXPECT_EQ(Run({"bailout", plan, "--dive", "1", "--at", "100", "--sweep"}), kExitUsage);
  EXPECT_EQ(Run({"bailout", plan, "--at", "100"}), kExitUsage) << "--dive is required";
  EXPECT_EQ(Run({"bailout", EXAMPLES_DIR "/oc-air-40m.ccp", "--dive", "1", "--sweep"}), kExitUsage);
  EXPECT_NE(err.str().find("kvplan: dive 1 has no closed-circuit time under water to bail out from"), std::string::npos);
}

}  // namespace
}  // namespace kv
