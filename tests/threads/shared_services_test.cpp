// The process-wide services a calculation meets (preferences, status log,
// string table) used from several threads at once.
// Run under ThreadSanitizer (the tsan preset), a race fails these tests.

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "base/preferences.h"
#include "base/status_log.h"
#include "base/strings.h"
#include "base/text.h"
#include "support/test_support.h"

namespace kv {
namespace {

template <typename Work>
void OnThreads(int count, Work work) {
  std::vector<std::thread> threads;
  for (int i = 0; i < count; ++i) threads.emplace_back(work, i);
  for (std::thread& t : threads) t.join();
}

TEST(SharedServices, PreferencesReadAndWrittenFromSeveralThreads) {
  test::CTestEnvironment env;
  env.store->numbers["Dive\\GF Low"] = 35;
  // Four threads fill the cache at once (unset values too, which read as
  // their defaults) while one of them keeps changing another value.
  OnThreads(4, [](int thread) {
    for (int round = 0; round < 200; ++round) {
      EXPECT_EQ(Prefs().GetNumber(EPref::DiveGfLow), 35u);
      EXPECT_EQ(Prefs().GetNumber(EPref::DebugLevel), 0u);
      EXPECT_EQ(Prefs().GetText(EPref::GasMixes), "21/0");
      if (thread == 0) Prefs().SetNumber(EPref::TableGrouping, static_cast<std::uint32_t>(round % 2));
      const std::uint32_t grouping = Prefs().GetNumber(EPref::TableGrouping);
      EXPECT_LE(grouping, 1u);
    }
  });
  EXPECT_EQ(env.store->numbers.at("Table Generation\\Table Grouping"), 1u);
}

TEST(SharedServices, LogLinesFromSeveralThreadsStayWhole) {
  test::CTestEnvironment env;
  const std::string path = test::TempDir() + "/StatusLog.txt";
  StatusLog().OpenLogAt(path, false);
  constexpr int kThreads = 4, kLines = 150;
  OnThreads(kThreads, [](int thread) {
    const CLeveledLog log(StatusLog(), kLogProgress);
    for (int line = 0; line < kLines; ++line) {
      if (line % 2)
        log.LogAtLevelF(kLogProgress, "thread %d line %d %s", thread, line, std::string(200, 'x').c_str());
      else
        StatusLog().LogMessage("thread %d line %d %s", thread, line, std::string(200, 'x').c_str());
      log.LogAtLevel("never written", kLogDetail);
    }
  });
  StatusLog().Close();
  std::set<std::string> seen;
  for (const std::string& line : SplitLines(test::ReadFile(path))) {
    // "dd/mm/yyyy hh:mm:ss : thread t line n xxx..."
    ASSERT_GT(line.size(), 22u);
    EXPECT_EQ(line.substr(line.size() - 200), std::string(200, 'x')) << line;
    seen.insert(line.substr(22, line.size() - 22 - 201));
  }
  EXPECT_EQ(seen.size(), static_cast<std::size_t>(kThreads * kLines));
  EXPECT_EQ(seen.count("thread 3 line 149"), 1u);
}

TEST(SharedServices, TextsStayReadableWhileTheLanguageChanges) {
  // A worker formats a text while the front end replaces it.
  std::atomic<bool> done{false};
  std::thread language([&] {
    for (int i = 0; i < 300; ++i) OverrideString(kMsgDiveOfDives, i % 2 ? "Tauchgang %d von %d" : "");
    done = true;
  });
  OnThreads(3, [&](int) {
    while (!done) {
      const std::string text = Format(LoadString(kMsgDiveOfDives), 2, 3);
      EXPECT_TRUE(text == "Dive 2 of 3" || text == "Tauchgang 2 von 3") << text;
    }
  });
  language.join();
  OverrideString(kMsgDiveOfDives, "");
  EXPECT_STREQ(LoadString(kMsgDiveOfDives), "Dive %d of %d");
}

}  // namespace
}  // namespace kv
