// kvplan tables run in-process: the JSON document, exit codes, the
// validation and run messages, and the written document.

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>

#include "cli/kvplan_app.h"
#include "plan/file_store.h"
#include "support/test_support.h"
#include "kvplan_fixture.h"

namespace kv {
namespace {

using test::Json;
using test::Keys;

const std::string kExamples = EXAMPLES_DIR;

int Count(const std::string& text, const std::string& what) {
  int n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

class TablesCommandTest : public test::CKvplanFixture {
protected:
  std::string Settings(const std::string& text) {
    const std::string path = dir + "/run.cct";
    EXPECT_TRUE(FileStore().Write(path, "Table Generation Settings\n" + text));
    return path;
  }
};

TEST_F(TablesCommandTest, JsonListsEveryDiveInArrayOrder) {
  const std::string html = dir + "/oc.html";
  ASSERT_EQ(Run({"tables", kExamples + "/oc-trimix-50-70m.cct", "--out", html, "--json", "-"}), kExitOk)
      << err.str();
  const Json doc = Json::parse(out.str());
  EXPECT_EQ(Keys(doc), (std::vector<std::string>{"validation", "depths", "bottom_times", "dives"}));
  EXPECT_TRUE(doc["validation"].empty());
  EXPECT_EQ(doc["depths"], Json::parse("[50.0,55.0,60.0,65.0,70.0]"));
  EXPECT_EQ(doc["bottom_times"], Json::parse("[15,20,25,30]"));
  ASSERT_EQ(doc["dives"].size(), 20u);
  for (std::size_t i = 0; i < 20; ++i) {
    const Json& d = doc["dives"][i];
    SCOPED_TRACE(i);
    EXPECT_EQ(Keys(d), (std::vector<std::string>{"depth", "bottom_time", "status", "run_time", "gas_switches_used",
                                                 "segments"}));
    EXPECT_EQ(d["depth"], doc["depths"][i / 4]);
    EXPECT_EQ(d["bottom_time"], doc["bottom_times"][i % 4]);
    EXPECT_EQ(d["status"], "calculated");
    EXPECT_EQ(d["gas_switches_used"], 4);
    ASSERT_FALSE(d["segments"].empty());
    EXPECT_EQ(Keys(d["segments"][0]), (std::vector<std::string>{"end", "duration", "kind", "depth", "o2", "he",
                                                                "ppo2", "cc", "ncs", "warnings"}));
    EXPECT_EQ(d["run_time"], d["segments"].back()["end"]);
  }
  const std::string document = test::ReadFile(html);
  EXPECT_EQ(document.rfind("<!DOCTYPE html", 0), 0u);
  EXPECT_EQ(Count(document, "<div class=\"breakafter\">"), 3) << "four tables, one per bottom time";
  EXPECT_NE(document.find("Depths 50m - 70m"), std::string::npos);
}

TEST_F(TablesCommandTest, RefusedSettingsExitWithOneAndWriteNoDocument) {
  const std::string html = dir + "/no.html";
  const std::string path = Settings("001~10\n002~30\n004~2\n005~10\n013~10\n030~Travel~0~10~70~0~0~1\n");
  ASSERT_EQ(Run({"tables", path, "--out", html, "--json", "-"}), kExitDiveFailed);
  const Json doc = Json::parse(out.str());
  ASSERT_EQ(doc["validation"].size(), 2u);
  EXPECT_EQ(doc["validation"][0]["state"], 2);
  EXPECT_EQ(doc["validation"][1]["text"], "Descent Gas 0 m - PPO2 of 0.10 is Hypoxic (0.16 limit) at 0 m (Fail)");
  EXPECT_EQ(doc["depths"], Json::parse("[10.0,20.0,30.0]"));
  EXPECT_TRUE(doc["dives"].empty());
  EXPECT_NE(err.str().find("kvplan: error: The start duration 2 (mins)"), std::string::npos) << err.str();
  EXPECT_EQ(test::ReadFile(html), "") << "nothing written";
}

TEST_F(TablesCommandTest, FailuresAndSkipsAreReportedAndSkippedDivesHaveNoRunTime) {
  const std::string path =
      Settings("001~10\n002~11\n003~1\n004~270\n005~360\n006~30\n021~70\n030~Travel~0~21~0~0~0~1\n");
  ASSERT_EQ(Run({"tables", path, "--out", dir + "/t.html", "--json", "-"}), kExitOk) << err.str();
  const Json doc = Json::parse(out.str());
  std::vector<std::string> statuses;
  for (const Json& d : doc["dives"]) statuses.push_back(d["status"]);
  EXPECT_EQ(statuses, (std::vector<std::string>{"calculated", "calculated", "failed", "skipped", "calculated",
                                                "failed", "skipped", "skipped"}));
  EXPECT_TRUE(doc["dives"][3]["run_time"].is_null());
  EXPECT_TRUE(doc["dives"][2]["run_time"].is_number_integer()) << "where the walk stopped";
  EXPECT_EQ(Count(err.str(), "Unable to decompress the dive to 10 m for 330 minutes within 6 hours."), 1);
  EXPECT_NE(err.str().find("kvplan: warning: Warning - Dive Plan for 11 m - duration 330 Mins, Skipped"),
            std::string::npos);

  ASSERT_EQ(Run({"tables", path, "--out", dir + "/t.html", "--json", "-", "--extend"}), kExitOk) << err.str();
  EXPECT_NE(err.str().find("of this bottom time or longer are left out of the tables.) Yes"), std::string::npos);
}

TEST_F(TablesCommandTest, GroupingAndUnitsFromTheCommandLine) {
  const std::string html = dir + "/t.html";
  ASSERT_EQ(Run({"tables", kExamples + "/oc-trimix-50-70m.cct", "--out", html, "--grouping", "depth", "--set",
                 "General\\Units=1"}),
            kExitOk)
      << err.str();
  EXPECT_EQ(out.str(), "5 tables written to " + html + " (20 dives calculated, 0 failed, 0 skipped)\n");
  const std::string document = test::ReadFile(html);
  EXPECT_NE(document.find("<h1>228ft</h1>"), std::string::npos) << "70 m in feet";
  EXPECT_NE(err.str().find("kvplan: Depth 179 ft (4 of 20 plans done)"), std::string::npos) << "a line per depth";
  EXPECT_EQ(Run({"tables", kExamples + "/oc-trimix-50-70m.cct", "--out", html, "--grouping", "rows"}), kExitUsage);
}

TEST_F(TablesCommandTest, UnreadableSettingsAndUnwritableOutputAreFileErrors) {
  EXPECT_EQ(Run({"tables", dir + "/missing.cct", "--out", dir + "/t.html"}), kExitFile);
  EXPECT_NE(err.str().find("kvplan: " + dir + "/missing.cct: "), std::string::npos) << "names the file";
  EXPECT_EQ(Run({"tables", kExamples + "/oc-air-40m.ccp", "--out", dir + "/t.html"}),
            kExitFile);
  EXPECT_NE(err.str().find("Kestrun Varnadel: Invalid Table Generation Settings file"), std::string::npos);
  EXPECT_NE(err.str().find("oc-air-40m.ccp: line 1: the first line is \"Dive Plan\", not \"Table Generation "
                           "Settings\""),
            std::string::npos)
      << err.str();
  EXPECT_EQ(Run({"tables", kExamples + "/cc-trimix-45-60m.cct", "--out", dir}), kExitFile);
  EXPECT_NE(err.str().find("kvplan: --out " + dir + ": it is a folder"), std::string::npos) << err.str();
  const std::string settings = dir + "/copy.cct";
  ASSERT_TRUE(FileStore().Write(settings, test::ReadFile(kExamples + "/cc-trimix-45-60m.cct")));
  EXPECT_EQ(Run({"tables", settings, "--out", settings}), kExitUsage) << "the settings would be overwritten";
  EXPECT_EQ(test::ReadFile(settings), test::ReadFile(kExamples + "/cc-trimix-45-60m.cct"));
  EXPECT_EQ(Run({"tables", kExamples + "/cc-trimix-45-60m.cct"}), kExitUsage) << "--out is required";
}

}  // namespace
}  // namespace kv
