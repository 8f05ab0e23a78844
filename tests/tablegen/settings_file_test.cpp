// The ".cct" settings file: its exact text, round trips in both unit
// systems, the reading rules, and the failures with their messages.

#include <gtest/gtest.h>

#include "base/status_log.h"
#include "base/text.h"
#include "plan/file_store.h"
#include "support/test_support.h"
#include "tablegen/table_generation.h"
#include "tablegen_test_util.h"

namespace kv {
namespace {

using test::Cc;
using test::Oc;

constexpr const char* kExpectedFile =
    "Table Generation Settings\n"
    "001~30.00\n002~60.00\n003~3.00\n004~15.00\n005~40.00\n006~5.00\n"
    "010~1013.00\n011~30.00\n012~75.00\n013~18.00\n014~9.00\n015~3.00\n016~1\n"
    "020~1.40\n021~30.00\n"
    "030~Travel~0.00~21.00~0.00~1~0.70~1\n"
    "030~Travel~20.00~15.00~50.00~1~1.30~1\n"
    "030~Deco~6.00~100.00~0.00~0~0.00~1\n"
    "030~Deco~21.00~50.00~0.00~0~0.00~1\n";

// Twelve closed-circuit oxygen switches at 3 to 36 m, each at its own setpoint.
std::string TwelveDecoSwitches() {
  std::string lines;
  for (int i = 1; i <= 12; ++i) lines += Format("030~Deco~%d.00~100.00~0.00~1~%0.2f~1\n", 3 * i, 0.5 + 0.05 * i);
  return lines;
}

class SettingsFileTest : public ::testing::Test {
protected:
  SettingsFileTest() {
    dir = test::TempDir();
    STableGenerationInputs in;
    in.depthStart = 30;
    in.depthFinish = 60;
    in.depthStep = 3;
    in.durationStart = 15;
    in.durationFinish = 40;
    in.durationStep = 5;
    in.surfacePressure = 1013;
    in.gfLow = 30;
    in.gfHigh = 75;
    in.descentRate = 18;
    in.ascentRate = 9;
    in.lastDecoStop = 3;
    in.maxPpo2 = 1.4;
    in.maxEad = 30;
    in.grouping = kGroupByTime;
    page.SetInputs(in);
    test::SetSchedules(page, {Cc(0, 21, 0, 0.7), Cc(20, 15, 50, 1.3)}, {Oc(21, 50), Oc(6, 100)});
  }
  std::string Write(const std::string& name, const std::string& text) {
    const std::string path = dir + "/" + name;
    EXPECT_TRUE(FileStore().Write(path, text));
    return path;
  }

  test::CTestEnvironment env;
  CTableGeneration page;
  std::string dir;
};

TEST_F(SettingsFileTest, WritesEveryInputAndSwitchInMetres) {
  const std::string path = dir + "/set.cct";
  ASSERT_TRUE(page.SaveSettingsFile(path));
  EXPECT_EQ(test::ReadFile(path), kExpectedFile);

  CTableGeneration again;
  ASSERT_TRUE(again.LoadSettingsFile(path));
  EXPECT_EQ(again.Inputs(), page.Inputs());
  ASSERT_EQ(again.DescentSchedule().Count(), 2);
  ASSERT_EQ(again.AscentSchedule().Count(), 2);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(again.DescentSchedule().At(i).ToText(), page.DescentSchedule().At(i).ToText());
    EXPECT_EQ(again.AscentSchedule().At(i).ToText(), page.AscentSchedule().At(i).ToText());
  }
  EXPECT_TRUE(env.prompt.shown.empty());
}

TEST_F(SettingsFileTest, NumbersKeepTheirPointInACommaLocale) {
  test::CCommaLocale comma;
  if (!comma.Active()) GTEST_SKIP() << "no comma-decimal locale installed";
  const std::string path = dir + "/set.cct";
  ASSERT_TRUE(page.SaveSettingsFile(path));
  EXPECT_EQ(test::ReadFile(path), kExpectedFile);
  CTableGeneration again;
  ASSERT_TRUE(again.LoadSettingsFile(path));
  EXPECT_EQ(again.Inputs().maxPpo2, 1.4);
}

TEST_F(SettingsFileTest, ImperialFileReadsAsMetresOnAMetricPageAndAsTheSameFeetOnAnImperialOne) {
  CTableGeneration feet;
  feet.SetUnits(SDisplayUnits::Imperial());
  STableGenerationInputs in;
  in.depthStart = 100;
  in.depthFinish = 200;
  in.depthStep = 10;
  in.descentRate = 60;
  in.ascentRate = 30;
  in.lastDecoStop = 20;
  in.maxEad = 115;
  feet.SetInputs(in);
  const std::string path = dir + "/feet.cct";
  ASSERT_TRUE(feet.SaveSettingsFile(path));
  EXPECT_NE(test::ReadFile(path).find("001~30.70\n002~61.41\n003~3.07\n"), std::string::npos);

  CTableGeneration metric;
  ASSERT_TRUE(metric.LoadSettingsFile(path));
  EXPECT_DOUBLE_EQ(metric.Inputs().depthFinish, 61.41);
  EXPECT_DOUBLE_EQ(metric.Inputs().descentRate, 18.42);

  CTableGeneration imperial;
  imperial.SetUnits(SDisplayUnits::Imperial());
  ASSERT_TRUE(imperial.LoadSettingsFile(path));
  const STableGenerationInputs& back = imperial.Inputs();
  for (auto [read, written] : {std::pair{back.depthStart, 100.0}, {back.depthFinish, 200.0}, {back.depthStep, 10.0},
                               {back.descentRate, 60.0}, {back.ascentRate, 30.0}, {back.lastDecoStop, 20.0},
                               {back.maxEad, 115.0}})
    EXPECT_NEAR(read, written, 0.02) << "metres are stored to the centimetre";
  EXPECT_EQ(back.durationStart, in.durationStart) << "minutes are no distance";
}

TEST_F(SettingsFileTest, HeadingAloneEmptiesTheSchedulesAndNothingElse) {
  const STableGenerationInputs before = page.Inputs();
  ASSERT_TRUE(page.LoadSettingsFile(Write("empty.cct", "Table Generation Settings\n")));
  EXPECT_EQ(page.DescentSchedule().Count(), 0);
  EXPECT_EQ(page.AscentSchedule().Count(), 0);
  EXPECT_EQ(page.Inputs(), before);
}

TEST_F(SettingsFileTest, ReaderSkipsWhatItDoesNotKnow) {
  int refreshes = 0;
  page.SetRefreshHandler([&] { ++refreshes; });
  ASSERT_TRUE(page.LoadSettingsFile(Write("odd.cct",
                                          "\xEF\xBB\xBFTable Generation Settings\r\n"  // with a byte order mark
                                          "1~42.5\r\n"       // a key without leading zeros
                                          "004~12.9\r\n"     // minutes are whole
                                          "016~7\r\n"        // any non-zero grouping is by time
                                          "099~5\r\n"        // unknown key
                                          "\r\n"
                                          "030~Bailout~30.00\r\n"  // another label: skipped
                                          "030~Travel~0.00~32.00~0.00~0~0.00~1\r\n"
                                          "030~Deco~6.00~100.00~0.00~1~1.50~1\r\n")));
  const STableGenerationInputs& in = page.Inputs();
  EXPECT_EQ(in.depthStart, 42.5);
  EXPECT_EQ(in.durationStart, 12);
  EXPECT_EQ(in.grouping, kGroupByTime);
  EXPECT_EQ(in.gfHigh, 75) << "unchanged";
  ASSERT_EQ(page.DescentSchedule().Count(), 1);
  EXPECT_EQ(page.DescentSchedule().At(0).m_oxygen, 32);
  ASSERT_EQ(page.AscentSchedule().Count(), 1);
  EXPECT_TRUE(page.AscentSchedule().At(0).m_closedCircuit);
  EXPECT_TRUE(env.prompt.shown.empty()) << "a file is read quietly";
  EXPECT_EQ(refreshes, 1) << "one refresh when the whole file is read";
}

TEST_F(SettingsFileTest, FilesThatCannotBeAppliedAsWrittenAreRefusedWhole) {
  const STableGenerationInputs before = page.Inputs();
  const std::string head = "Table Generation Settings\n001~20.00\n";
  for (auto [content, error] : std::vector<std::pair<std::string, std::string>>{
           {head + "005~4O\n", "line 3: key 005 (finish duration): \"4O\" is not a number"},
           {head + "011~900\n", "line 3: key 011 (gradient factor low): 900 is outside 0 to 100 %"},
           {head + "015~0\n", "line 3: key 015 (last deco stop): 0 is outside 3 to 6 m (10 to 20 ft)"},
           {head + "016~0.5\n", "line 3: key 016 (grouping): \"0.5\" is not a whole number"},
           {head + "012\n", "line 3: key 012 (gradient factor high) has no value"},
           {head + "030~Travel~0.00~21.00~0.00~0~0.00\n", "line 3: key 030 (Travel gas switch) has 7 of its 8 fields"},
           {head + "030~Deco~6.00~80.00~30.00~0~0.00~1\n",
            "line 3: key 030 (Deco gas switch): 80.00 % oxygen and 30.00 % helium are not a valid gas"},
           {head + "030~Deco~6.00~100.00~0.00~1~2.50~1\n",
            "line 3: key 030 (Deco gas switch), field 7 (setpoint): 2.50 is outside 0.50 to 1.50 bar"},
           {head + "hello\n", "line 3: \"hello\" is not a key line"},
           {head + "011~30\n011~35\n", "line 4: key 011 is given again (first on line 3)"},
           {head + "030~Deco~6.00~100.00~0.00~0~0.00~0\n",
            "line 3: key 030 (Deco gas switch), field 8 (in use): 0, but a switch of the file is always in use"},
           {head + "030~Travel~0.00~32.00~0.00~0~0.00~1\n030~Travel~0.00~21.00~0.00~0~0.00~1\n",
            "line 4: key 030 (Travel gas switch) is a second switch at 0.00 m"},
           {head + "030~Travel~0.00~32.00~0.00~0~0.00~1\n030~Travel~10.00~32.00~0.00~0~0.00~1\n",
            "line 4: key 030 (Travel gas switch) at 10.00 m breathes the same as the switch next to it in depth: "
            "one of them would be dropped"},
           {head + TwelveDecoSwitches() + "030~Deco~39.00~100.00~0.00~1~1.00~1\n",
            "line 15: key 030 (Deco gas switch) is the Deco schedule's 13th: it holds at most 12"},
           {head + "002~60.00", "line 3: the last line has no line end: the file seems cut short"},
       }) {
    SCOPED_TRACE(content);
    EXPECT_FALSE(page.LoadSettingsFile(Write("bad.cct", content)));
    EXPECT_EQ(page.FileError(), error);
    EXPECT_EQ(env.prompt.shown.back().text.rfind("Invalid Table Generation Settings file\n\n", 0), 0u);
  }
  EXPECT_EQ(page.Inputs(), before) << "not even the valid first lines are applied";
  EXPECT_EQ(page.DescentSchedule().Count(), 2);
}

TEST_F(SettingsFileTest, BadFilesAreRefusedWithTheirMessagesAndChangeNothing) {
  const std::string log = dir + "/StatusLog.txt";
  StatusLog().OpenLogAt(log, false);
  const STableGenerationInputs before = page.Inputs();
  const std::string bad = Write("bad.cct", "Table Generation\n001~99\n");
  EXPECT_FALSE(page.LoadSettingsFile(bad));
  EXPECT_FALSE(page.LoadSettingsFile(dir + "/missing.cct"));
  EXPECT_FALSE(page.SaveSettingsFile(dir));  // a folder cannot be replaced by a file
  StatusLog().Close();

  ASSERT_EQ(env.prompt.shown.size(), 3u);
  // Each keeps its text and says which file and why.
  EXPECT_EQ(env.prompt.shown[0].text.rfind("Invalid Table Generation Settings file\n\n" + bad + "\nline ", 0), 0u)
      << env.prompt.shown[0].text;
  EXPECT_EQ(env.prompt.shown[1].text, "Unable to open data file.\n\n" + dir + "/missing.cct\nno such file");
  EXPECT_EQ(env.prompt.shown[2].text, "Unable to open data file for writing.\n\n" + dir + "\nit is a folder");
  for (const auto& shown : env.prompt.shown) EXPECT_EQ(shown.icon, EIcon::Exclamation);
  const std::string text = test::ReadFile(log);
  EXPECT_NE(text.find("Invalid table generation settings file " + bad), std::string::npos);
  EXPECT_NE(text.find("Unable to open table generation settings file " + dir + "/missing.cct"), std::string::npos);
  EXPECT_EQ(page.Inputs(), before);
  EXPECT_EQ(page.DescentSchedule().Count(), 2);
}

}  // namespace
}  // namespace kv
