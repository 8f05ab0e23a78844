// kvplan bailout and calc --bailout run in-process: the questions on standard
// error, the JSON of a bailout dive and of a sweep, plans and dive files saved
// with their bailout (never over an input), the moments refused, saved
// bailouts planned again, units, and the sweep against single bailouts on the
// carried gases at the same seconds.

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "base/text.h"
#include "cli/kvplan_app.h"
#include "plan/plan_group.h"
#include "support/test_support.h"
#include "kvplan_fixture.h"
#include "plan/plan_test_util.h"

namespace kv {
namespace {

using test::Json;
using test::Keys;

void Write(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

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
    for (auto [metres, seconds, setpoint] : points)
      d.AppendUserPoint(test::Point(metres, seconds, 15, 55, true, setpoint));
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
    const std::size_t at = text.find("  " + g["gas"].get<std::string>() + " ");
    ASSERT_NE(at, std::string::npos) << text;
    const std::string line = text.substr(at, text.find('\n', at) - at);
    for (const std::string& part : {Format(" %0.0f l ", litres), Format(" %0.0f l with reserve", 1.33 * litres),
                                    Format("cylinder %0.1f l", 1.33 * litres / 232.0)})
      EXPECT_NE(line.find(part), std::string::npos) << part << " in " << line;
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

// Each moment of a sweep is "kvplan bailout --at S" on the dive with "Use
// Bailout Gas List" on and the carried gases as its list.
TEST_F(BailoutCommand, SweepJsonAndEveryMomentAsABailoutOnTheCarriedList) {
  const std::string plan = ClosedCircuitPlan(40, 15);
  const Json doc = RunJson({"bailout", plan, "--dive", "1", "--sweep", "--step", "300", "--allow-fewer-gases"});
  EXPECT_EQ(Keys(doc), (std::vector<std::string>{"dive", "step", "carried", "moments", "invalid", "worst"}));
  EXPECT_EQ(Keys(doc["carried"]), (std::vector<std::string>{"source", "second", "gases"}));
  EXPECT_EQ(Keys(doc["moments"][0]),
            (std::vector<std::string>{"second", "depth", "valid", "run_time", "ascent_time", "cns_final", "gases"}));
  EXPECT_EQ(Keys(doc["worst"]), (std::vector<std::string>{"run_time", "cns_final", "gases"}));
  EXPECT_EQ(doc["dive"], 1);
  EXPECT_EQ(doc["step"], 300);
  EXPECT_EQ(doc["invalid"], 0);
  EXPECT_EQ(doc["carried"]["source"], "suggested");
  EXPECT_EQ(doc["carried"]["second"], 900) << "the end of the bottom time at 40 m";
  std::string list;
  for (const Json& g : doc["carried"]["gases"]) list += (list.empty() ? "" : ",") + g.get<std::string>();
  ASSERT_EQ(doc["carried"]["gases"].size(), 2u) << list;
  EXPECT_EQ(err.str().find("Bailout sweep: "), std::string::npos) << "no progress where standard error is no terminal";

  const std::string listPlan = ClosedCircuitPlan(40, 15, 2, list);
  ASSERT_GE(doc["moments"].size(), 4u);
  for (const Json& m : doc["moments"]) {
    SCOPED_TRACE(m.dump());
    EXPECT_EQ(m["ascent_time"].get<int>(), m["run_time"].get<int>() - m["second"].get<int>());
    const Json at = RunJson({"bailout", listPlan, "--dive", "1", "--at", std::to_string(m["second"].get<int>())});
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
  ASSERT_EQ(worst["gases"].size(), doc["carried"]["gases"].size()) << "one row per carried gas";
  for (std::size_t i = 0; i < worst["gases"].size(); ++i) {
    const Json& g = worst["gases"][i];
    EXPECT_EQ(Keys(g), (std::vector<std::string>{"gas", "mix", "litres", "litres_with_reserve", "second",
                                                 "cylinder_litres"}));
    EXPECT_EQ(g["mix"], doc["carried"]["gases"][i]);
    EXPECT_DOUBLE_EQ(g["litres_with_reserve"].get<double>(), 1.33 * g["litres"].get<double>());
    EXPECT_DOUBLE_EQ(g["cylinder_litres"].get<double>(), g["litres_with_reserve"].get<double>() / 232.0);
  }

  // The progress line rewrites itself on a terminal only.
  errIsTerminal = true;
  Run({"bailout", plan, "--dive", "1", "--sweep", "--step", "300", "--allow-fewer-gases"});
  EXPECT_NE(err.str().find("\rBailout sweep: "), std::string::npos);
}

TEST_F(BailoutCommand, SweepTextSaysWhatIsCarriedAndBothVolumes) {
  const std::string plan = ClosedCircuitPlan(40, 15, 2, "18/45,50/0,100/0");
  ASSERT_EQ(Run({"bailout", plan, "--dive", "1", "--sweep", "--step", "300"}), kExitOk) << err.str();
  const std::string text = out.str();
  EXPECT_NE(text.find("Carried at every moment: the dive's bailout gas list, 18/45, 50% Nitrox, Oxygen"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("Worst case, reserve 33%, cylinders at 232 bar"), std::string::npos);
  EXPECT_NE(text.find(" l with reserve, bailout at "), std::string::npos) << text;
  const Json doc = RunJson({"bailout", plan, "--dive", "1", "--sweep", "--step", "300"});
  EXPECT_EQ(doc["carried"], Json::parse(R"({"source": "list", "second": null, "gases": ["18/45", "50/0", "100/0"]})"));

  // Feet, cubic feet and psi, like the tables.
  ASSERT_EQ(Run({"bailout", plan, "--dive", "1", "--sweep", "--step", "300", "--set", "General\\Units=1"}), kExitOk);
  EXPECT_NE(out.str().find("Depth (ft)"), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("Bailout gas (cu ft)"), std::string::npos);
  EXPECT_NE(out.str().find("cylinders at 3365 psi"), std::string::npos);
  EXPECT_NE(out.str().find(" cu ft with reserve"), std::string::npos);
  EXPECT_EQ(out.str().find(" l with reserve"), std::string::npos);
}

TEST_F(BailoutCommand, SummaryInImperialUnits) {
  const std::string plan = ClosedCircuitPlan(45, 20);
  ASSERT_EQ(Run({"bailout", plan, "--dive", "1", "--at", "1000", "--set", "General\\Units=1"}), kExitOk) << err.str();
  EXPECT_NE(out.str().find("Bailout at 16:40 (second 1000), 146.6 ft, GF 100/100, SAC 1.1 cu ft/min: plan valid"),
            std::string::npos)
      << out.str();
  EXPECT_NE(out.str().find("Bailout gas volumes, reserve 33%, cylinders at 3365 psi"), std::string::npos);
  EXPECT_NE(out.str().find(" cu ft with reserve  cylinder "), std::string::npos);
  EXPECT_EQ(out.str().find(" m  "), std::string::npos) << "no metres in the switches";
}

// --save never writes over the plan it read, by any name, nor over another
// output; the plan is left as it was.
TEST_F(BailoutCommand, SaveNeverOverwritesTheInputOrAnotherOutput) {
  const std::string plan = ClosedCircuitPlan(45, 20);
  const std::string before = test::ReadFile(plan);
  const std::string name = plan.substr(plan.rfind('/') + 1);
  const std::string link = dir + "/link.ccp", hard = dir + "/hard.ccp";
  ASSERT_EQ(::symlink(plan.c_str(), link.c_str()), 0);
  ASSERT_EQ(::link(plan.c_str(), hard.c_str()), 0);
  for (const std::string& target : {plan, dir + "/./" + name, link, hard}) {
    SCOPED_TRACE(target);
    EXPECT_EQ(Run({"bailout", plan, "--dive", "1", "--at", "1000", "--save", target}), kExitUsage);
    EXPECT_NE(err.str().find("--save " + target + " names the plan file itself"), std::string::npos) << err.str();
  }
  EXPECT_EQ(test::ReadFile(plan), before);
  const std::string out1 = dir + "/out.json";
  EXPECT_EQ(Run({"bailout", plan, "--dive", "1", "--at", "1000", "--json", out1, "--save", out1}), kExitUsage);
  EXPECT_NE(err.str().find("--json and --save name the same file"), std::string::npos) << err.str();
  EXPECT_EQ(Run({"bailout", plan, "--dive", "1", "--at", "1000", "--log", out1, "--save", out1}), kExitUsage);
  EXPECT_FALSE(std::filesystem::exists(out1));
}

// A bailout from a dive file is saved as a dive file, which reads back with
// its bailout; a plan file named .ccd becomes a dive file too.
TEST_F(BailoutCommand, ABailoutFromADiveFileIsSavedAsADiveFile) {
  test::CTestEnvironment env;
  CPlanGroup g;
  ASSERT_TRUE(g.LoadPlanGroup(ClosedCircuitPlan(45, 20)));
  const std::string diveFile = dir + "/one.ccd", saved = dir + "/saved.ccd";
  ASSERT_TRUE(g.ExportDive(diveFile, 0));
  const Json bailout = RunJson({"bailout", diveFile, "--dive", "1", "--at", "1000", "--save", saved});
  const std::vector<std::string> lines = SplitLines(test::ReadFile(saved));
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), "Dive");
  const Json shown = RunJson({"calc", saved, "--bailout"});
  EXPECT_EQ(shown["dives"][0]["bailout_mode"], true);
  EXPECT_EQ(shown["dives"][0]["profile"], bailout["dives"][0]["profile"]);

  const std::string fromPlan = dir + "/from-plan.ccd";
  RunJson({"bailout", ClosedCircuitPlan(45, 20), "--dive", "1", "--at", "1000", "--save", fromPlan});
  EXPECT_EQ(SplitLines(test::ReadFile(fromPlan)).front(), "Dive");
}

// A rebreather fails on closed circuit only; a dive without points has
// nothing to bail out from.
TEST_F(BailoutCommand, OpenCircuitMomentsAndDivesWithoutPointsAreRefused) {
  test::CTestEnvironment env;
  CPlanGroup g;
  CDivePlan& d = *g.GetDive(0);
  d.AppendUserPoint(test::Point(0, 0, 15, 55, true, 1.3));
  d.AppendUserPoint(test::Point(30, 600, 15, 55, true, 1.3));
  d.AppendUserPoint(test::Point(20, 300, 32, 0, false));
  g.AddDivePlan();
  const std::string plan = dir + "/mixed.ccp";
  ASSERT_TRUE(g.SavePlanGroup(plan));
  EXPECT_EQ(Run({"bailout", plan, "--dive", "1", "--at", "900"}), kExitUsage);
  EXPECT_NE(err.str().find("kvplan: --at 900: dive 1 is on open circuit at 15:00; it has no closed-circuit time "
                           "there to bail out from"),
            std::string::npos)
      << err.str();
  EXPECT_EQ(Run({"bailout", plan, "--dive", "1", "--end-of-segment", "800"}), kExitUsage) << "the 20 m segment ends on OC";
  EXPECT_EQ(Run({"bailout", plan, "--dive", "1", "--at", "300"}), kExitOk) << err.str();

  EXPECT_EQ(Run({"bailout", plan, "--dive", "2", "--at", "300"}), kExitDiveFailed);
  EXPECT_NE(err.str().find("kvplan: dive 2 not calculated: it has no points"), std::string::npos) << err.str();
  EXPECT_EQ(Run({"bailout", plan, "--dive", "2", "--sweep"}), kExitDiveFailed);
}

// A saved bailout that no longer plans within its limits fails calc
// --bailout, and its last attempt gives no gases to carry.
TEST_F(BailoutCommand, ASavedBailoutWithoutAValidPlanFailsAndGivesNoGases) {
  const std::string plan = ClosedCircuitPlan(45, 20);
  const std::string saved = dir + "/saved.ccp";
  RunJson({"bailout", plan, "--dive", "1", "--at", "1000", "--save", saved});
  // The file edited since: a list whose only gas cannot be breathed at 45 m.
  std::string text = test::ReadFile(saved);
  const auto replace = [&text](const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
  };
  replace("\n050~0\r", "\n050~1\r");
  replace("\n060~", "\n060~50/0,100/0");
  Write(saved, text);
  EXPECT_EQ(Run({"calc", saved, "--bailout"}), kExitDiveFailed);
  EXPECT_NE(err.str().find("kvplan: dive 1: the saved bailout from second 1000 has no valid plan any more"),
            std::string::npos)
      << err.str();
  EXPECT_NE(out.str().find("NO VALID BAILOUT PLAN"), std::string::npos);
  EXPECT_EQ(out.str().find("Bailout gas switches"), std::string::npos) << out.str();
  EXPECT_EQ(out.str().find("Bailout gas volumes"), std::string::npos);
}

// The time left of the bottom (key 058) kept in a file edited since is not
// used: the bailout is planned from its second on the dive as it is now.
TEST_F(BailoutCommand, AStaleRemainderIsPlannedFromTheBailoutSecond) {
  const std::string plan = ClosedCircuitPlan(45, 20);
  const std::string saved = dir + "/saved.ccp";
  RunJson({"bailout", plan, "--dive", "1", "--at", "1000", "--save", saved});
  std::string text = test::ReadFile(saved);
  ASSERT_NE(text.find("\n058~200\r"), std::string::npos) << "20 minutes end at second 1200";
  const std::size_t bottom = text.find("100~1200~4500.00");
  ASSERT_NE(bottom, std::string::npos);
  text.replace(bottom, 16, "100~1500~4500.00");  // a bottom time of 25 minutes
  Write(saved, text);
  const Json shown = RunJson({"calc", saved, "--bailout"});
  const Json& d = shown["dives"][0];
  EXPECT_EQ(d["bailout_valid"], true);
  EXPECT_EQ(d["bailout_points"][1]["duration"], 1000) << "1500 less the 500 s left at second 1000";
  for (const Json& p : d["profile"])
    if (!p["cc"].get<bool>()) {
      EXPECT_EQ(p["start"], 1001) << "the first second on bailout gas follows the bailout second";
      break;
    }
}

TEST_F(BailoutCommand, ListItemsLeftOutSayWhy) {
  const std::string plan = ClosedCircuitPlan(45, 20, 2, "18/45,3/0,21/90,50%,100/0");
  Run({"bailout", plan, "--dive", "1", "--at", "1000"});
  for (const char* why : {"\"3/0\" has too little oxygen to breathe (under 5 %)", "\"21/90\" adds up to more than 100 %",
                          "\"50%\" is not a mix written as O2/He"})
    EXPECT_NE(err.str().find(std::string("kvplan: dive 1: bailout gas list item ") + why + " and is left out"),
              std::string::npos)
        << why << "\n" << err.str();
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
  EXPECT_EQ(Run({"bailout", plan, "--dive", "1", "--sweep", "--tables", dir + "/t.html"}), kExitUsage);
  EXPECT_NE(err.str().find("--tables prints one dive: give --at SECOND for the tables of one bailout, not --sweep"),
            std::string::npos)
      << err.str();
  EXPECT_EQ(Run({"bailout", plan, "--dive", "1", "--sweep", "--gas-tables", dir + "/t.html"}), kExitUsage);
  EXPECT_EQ(Run({"bailout", EXAMPLES_DIR "/oc-air-40m.ccp", "--dive", "1", "--sweep"}), kExitUsage);
  EXPECT_NE(err.str().find("kvplan: dive 1 has no closed-circuit time under water to bail out from"), std::string::npos);
}

}  // namespace
}  // namespace kv
