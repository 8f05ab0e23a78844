#pragma once
// The fixture of the in-process kvplan tests: a private folder, standard
// output and error captured, and a run that gives kvplan its own user
// preferences store (empty, unless a fixture hands over one it keeps).

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "base/preferences.h"
#include "cli/kvplan_app.h"
#include "support/test_support.h"

namespace kv::test {

using Json = nlohmann::ordered_json;

// The keys of a JSON object in document order.
inline std::vector<std::string> Keys(const Json& j) {
  std::vector<std::string> keys;
  for (auto it = j.begin(); it != j.end(); ++it) keys.push_back(it.key());
  return keys;
}

class CKvplanFixture : public ::testing::Test {
protected:
  void SetUp() override { dir = TempDir(); }
  virtual std::unique_ptr<IPreferenceStorage> UserPreferences() {
    return std::make_unique<CMemoryPreferenceStorage>();
  }

  int Run(const std::vector<std::string>& args) {
    out.str("");
    err.str("");
    SKvplanEnvironment env;
    env.userPreferences = [this] { return UserPreferences(); };
    env.errIsTerminal = errIsTerminal;
    return RunKvplan(args, out, err, env);
  }
  // Runs with "--json -" added and reads the document it wrote.
  Json RunJson(std::vector<std::string> args, int expected = kExitOk) {
    args.insert(args.end(), {"--json", "-"});
    EXPECT_EQ(Run(args), expected) << err.str();
    return Json::parse(out.str());
  }

  std::ostringstream out, err;
  std::string dir;
  bool errIsTerminal = false;  // standard error as a terminal, where progress is shown
};

}  // namespace kv::test
