// kvplan calc --lost-gas: a table per deco gas after each dive, the
// "lost_gas" list in the JSON, the variant tables in --tables and
// --gas-tables; each variant is what kvplan gives for the plan file without
// that gas's switch points.

#include <gtest/gtest.h>

#include "base/text.h"
#include "cli/html_tables.h"
#include "kvplan_fixture.h"
#include "plan/file_store.h"
#include "plan/plan_group.h"
#include "support/test_support.h"

namespace kv {
namespace {

using test::Json;

const std::string kTrimix = std::string(EXAMPLES_DIR) + "/oc-trimix-60m.ccp";

// The file's text without the lines that contain any of drop.
std::string Without(const std::string& text, const std::vector<std::string>& drop) {
  std::string out;
  for (const std::string& line : SplitLines(text)) {
    bool keep = true;
    for (const std::string& d : drop) keep = keep && line.find(d) == std::string::npos;
    if (keep) out += line + "\r\n";
  }
  return out;
}

class LostGasCommandTest : public test::CKvplanFixture {
protected:
  // A plan whose dive needs its oxygen to decompress within 6 hours.
  std::string LongPlan() {
    const std::string path = dir + "/long.ccp";
    // 40 minutes at 60 m on 21/35, GF 30/85, oxygen from 6 m.
    std::string text = Without(test::ReadFile(kTrimix), {"~2100.00~0~50.00~"});
    ReplaceAll(text, "18.00~45.00", "21.00~35.00");
    ReplaceAll(text, "100~1200~6000.00", "100~2400~6000.00");
    ReplaceAll(text, "023~80.00", "023~85.00");
    CDiskFileStore().Write(path, text);
    return path;
  }
  static void ReplaceAll(std::string& text, const std::string& what, const std::string& with) {
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size()))
      text.replace(at, what.size(), with);
  }
};

TEST_F(LostGasCommandTest, ATablePerDecoGasFollowsTheDivesTable) {
  ASSERT_EQ(Run({"calc", kTrimix, "--lost-gas"}), kExitOk) << err.str();
  const std::string text = out.str();
  const std::size_t dive = text.find("Dive 1 of 1");
  const std::size_t nitrox = text.find("\nIf 50% Nitrox is lost\nDive 1 of 1");
  const std::size_t oxygen = text.find("\nIf Oxygen is lost\nDive 1 of 1");
  ASSERT_NE(nitrox, std::string::npos) << text;
  ASSERT_NE(oxygen, std::string::npos);
  EXPECT_LT(dive, nitrox);
  EXPECT_LT(nitrox, oxygen);
  EXPECT_NE(text.find("Open-circuit gas required", oxygen), std::string::npos);
  EXPECT_EQ(err.str(), "");

  // Without the option nothing of it.
  ASSERT_EQ(Run({"calc", kTrimix}), kExitOk);
  EXPECT_EQ(out.str().find("is lost"), std::string::npos);
  const Json plain = RunJson({"calc", kTrimix});
  EXPECT_FALSE(plain["dives"][0].contains("lost_gas"));
}

TEST_F(LostGasCommandTest, EachVariantIsThePlanFileWithoutItsSwitchPoints) {
  const Json doc = RunJson({"calc", kTrimix, "--lost-gas"});
  const Json& lost = doc["dives"][0]["lost_gas"];
  ASSERT_EQ(lost.size(), 2u);
  EXPECT_EQ(test::Keys(lost[0]), (std::vector<std::string>{"gas", "completed", "run_time", "cns_final", "otu_final",
                                                           "warnings", "segments", "gas_consumption", "gas_warnings"}));
  const std::string text = test::ReadFile(kTrimix);
  const std::vector<std::pair<std::string, std::string>> cases = {{"50% Nitrox", "~2100.00~0~50.00~"},
                                                                  {"Oxygen", "~600.00~0~100.00~"}};
  for (std::size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE(cases[i].first);
    EXPECT_EQ(lost[i]["gas"], cases[i].first);
    const std::string path = dir + "/without.ccp";
    CDiskFileStore().Write(path, Without(text, {cases[i].second}));
    const Json own = RunJson({"calc", path})["dives"][0];
    for (const char* field : {"completed", "run_time", "cns_final", "otu_final", "warnings", "segments",
                              "gas_consumption", "gas_warnings"})
      EXPECT_EQ(lost[i][field], own[field]) << field;
    EXPECT_NE(lost[i]["run_time"], doc["dives"][0]["run_time"]);
  }
}

TEST_F(LostGasCommandTest, AVariantPastSixHoursSaysSoAndExtendPlansIt) {
  const std::string plan = LongPlan();
  ASSERT_EQ(Run({"calc", plan, "--lost-gas"}), kExitOk) << err.str();
  EXPECT_NE(out.str().find("If Oxygen is lost\nCannot be completed on the remaining gases: its decompression does "
                           "not end within 6 hours (--extend plans beyond 6 hours).\n"),
            std::string::npos)
      << out.str();
  EXPECT_NE(err.str().find("kvplan: dive 1, if Oxygen is lost: cannot be completed: its decompression does not end "
                           "within 6 hours"),
            std::string::npos)
      << err.str();

  const Json declined = RunJson({"calc", plan, "--lost-gas"});
  ASSERT_EQ(declined["dives"][0]["lost_gas"].size(), 1u);
  const Json& withoutOxygen = declined["dives"][0]["lost_gas"][0];
  EXPECT_EQ(withoutOxygen["completed"], false);
  EXPECT_TRUE(withoutOxygen["segments"].empty());
  EXPECT_TRUE(withoutOxygen["gas_consumption"].empty());

  const Json extended = RunJson({"calc", plan, "--lost-gas", "--extend"});
  EXPECT_EQ(extended["dives"][0]["lost_gas"][0]["completed"], true);
  EXPECT_GT(extended["dives"][0]["lost_gas"][0]["run_time"].get<int>(), CDivePlan::kSixHours);
  // The plan itself is the same either way.
  EXPECT_EQ(extended["dives"][0]["run_time"], declined["dives"][0]["run_time"]);
}

TEST_F(LostGasCommandTest, ADiveWithoutDecoGasHasAnEmptyList) {
  const Json doc = RunJson({"calc", std::string(EXAMPLES_DIR) + "/oc-nitrox-two-dives.ccp", "--lost-gas"});
  ASSERT_EQ(doc["dives"].size(), 2u);
  for (const Json& d : doc["dives"]) EXPECT_TRUE(d["lost_gas"].empty());
}

TEST_F(LostGasCommandTest, TheTablesFilesPutTheVariantsAfterTheirDive) {
  SKvplanEnvironment env;
  env.userPreferences = [] { return std::make_unique<CMemoryPreferenceStorage>(); };
  env.writeTables = [this](const CPlanGroup& group, const std::vector<int>& dives, const std::string& path,
                           bool gasTables, const SReportOptions& options, const CLostGasVariants* lostGas) {
    return WriteHtmlTables(group, dives, path, gasTables, options, err, lostGas);
  };
  const std::string tables = dir + "/tables.html", gas = dir + "/gas.html";
  ASSERT_EQ(RunKvplan({"calc", kTrimix, "--lost-gas", "--tables", tables, "--gas-tables", gas}, out, err, env),
            kExitOk)
      << err.str();
  const std::string doc = test::ReadFile(tables);
  const std::size_t nitrox = doc.find("Dive Plan<br>If 50% Nitrox is lost");
  ASSERT_NE(nitrox, std::string::npos);
  EXPECT_LT(doc.find("Dive Plan</h2>"), nitrox);
  EXPECT_LT(nitrox, doc.find("Dive Plan<br>If Oxygen is lost"));
  // One table per page.
  std::size_t breaks = 0;
  for (std::size_t at = doc.find("breakafter\"><br>"); at != std::string::npos; at = doc.find("breakafter\"><br>", at + 1))
    ++breaks;
  EXPECT_EQ(breaks, 2u);
  EXPECT_NE(test::ReadFile(gas).find("<br>If Oxygen is lost"), std::string::npos);

  // Without --lost-gas the file holds the dive's table alone.
  ASSERT_EQ(RunKvplan({"calc", kTrimix, "--tables", tables}, out, err, env), kExitOk);
  EXPECT_EQ(test::ReadFile(tables).find("is lost"), std::string::npos);
}

}  // namespace
}  // namespace kv
