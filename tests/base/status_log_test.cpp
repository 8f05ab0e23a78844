#include "base/status_log.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "support/test_support.h"

namespace kv {
namespace {

class StatusLogTest : public ::testing::Test {
protected:
  void SetUp() override {
    env.clock.Set(1772874303);  // 7 March 2026 09:05:03
    path = test::TempDir() + "/StatusLog.txt";
    ASSERT_TRUE(log.OpenLogAt(path, false));
  }
  std::vector<std::string> Lines() { return SplitLines(test::ReadFile(path)); }

  test::CTestEnvironment env;
  CStatusLog log;
  std::string path;
};

TEST_F(StatusLogTest, LineCarriesDateAndTime) {
  ASSERT_TRUE(log.LogMessage("Program Version %s", "0.1.0"));
  EXPECT_EQ(test::ReadFile(path), "07/03/2026 09:05:03 : Program Version 0.1.0\n");
  log.SetTimeStamps(false);
  log.SetNamePrefix(true);
  log.LogMessage("%d%%", 5);
  EXPECT_EQ(Lines().at(1), "StatusLog.txt : 5%");
}

TEST_F(StatusLogTest, OpeningDeletesUnlessKept) {
  log.LogMessage("first run");
  ASSERT_TRUE(log.OpenLogAt(path, true));
  log.LogMessage("kept");
  EXPECT_EQ(Lines().size(), 2u);
  ASSERT_TRUE(log.OpenLogAt(path, false));
  log.LogMessage("second run");
  ASSERT_EQ(Lines().size(), 1u);
  EXPECT_EQ(Lines()[0].substr(22), "second run");
}

TEST_F(StatusLogTest, LevelsFollowDebugLevel) {
  env.store->numbers["Debug Level"] = 3;
  EXPECT_TRUE(log.LogAtLevel("progress", kLogProgress));
  EXPECT_TRUE(log.LogAtLevel("detail", kLogDetail));
  EXPECT_TRUE(log.LogAtLevelF(kLogUsers, "answer %d", 2));
  EXPECT_TRUE(log.LogAtLevelF(kLogDetail, "Finished in %.6f seconds", 0.5));
  // A leveled text is written as it is, never used as a format.
  log.LogAtLevel("100% %s %n", kLogProgress);
  std::vector<std::string> lines = Lines();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].substr(22), "progress");
  EXPECT_EQ(lines[1].substr(22), "answer 2");
  EXPECT_EQ(lines[2].substr(22), "100% %s %n");
  EXPECT_TRUE(log.IsOn(3));
  EXPECT_FALSE(log.IsOn(4));
}

TEST_F(StatusLogTest, FailuresAndDisabledLog) {
  CStatusLog unopened;
  EXPECT_FALSE(unopened.LogMessage("nowhere"));
  EXPECT_FALSE(unopened.LogAtLevelF(0, "nowhere %d", 1));
  EXPECT_FALSE(unopened.LogAtLevel("nowhere", 0));
  const char* noFormat = nullptr;
  EXPECT_FALSE(log.LogMessage(noFormat, 1));

  log.SetEnabled(false);
  EXPECT_TRUE(log.LogMessage("dropped"));
  log.SetEnabled(true);
  EXPECT_EQ(test::ReadFile(path), "");

  CStatusLog broken;
  broken.OpenLogAt(test::TempDir() + "/missing/folder/StatusLog.txt", false);
  EXPECT_FALSE(broken.LogMessage("cannot be written"));
}

TEST_F(StatusLogTest, LongMessagesAreCut) {
  std::string text(5000, 'x');
  ASSERT_TRUE(log.LogMessage("%s", text.c_str()));
  std::string line = Lines().at(0);
  EXPECT_EQ(line.size(), 22u + CStatusLog::kBufferSize - 1);
  // A cut never splits a character of several bytes.
  std::string accented = std::string(2998, 'x') + "\xC3\xA9";  // e-acute across the limit
  log.LogMessage("%s", accented.c_str());
  EXPECT_EQ(Lines().at(1).substr(22), std::string(2998, 'x'));
}

}  // namespace
}  // namespace kv
