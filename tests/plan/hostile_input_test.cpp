// Files that no planner wrote: each is read without a crash or a hang and
// gives the documented result, or is refused as invalid.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "plan/gas_mix_list_file.h"
#include "plan_test_util.h"

namespace kv {
namespace {

class HostileInputTest : public ::testing::Test {
protected:
  void SetUp() override { dir = test::TempDir(); }
  std::string Write(const std::string& content) {
    const std::string path = dir + "/f" + std::to_string(++n) + ".ccp";
    test::WriteFile(path, content);
    return path;
  }
  // A plan of one dive whose section ends with extra.
  bool LoadDive(const std::string& extra) { return group.LoadPlanGroup(Write("Dive Plan\r\nDive\r\n" + extra)); }
  // The message's own text, before the file and the reason that follow it.
  std::string LastMessage() const {
    const std::string text = env.prompt.shown.empty() ? "" : env.prompt.shown.back().text;
    return text.substr(0, text.find("\n\n"));
  }

  test::CTestEnvironment env;
  CPlanGroup group;
  std::string dir;
  int n = 0;
};

TEST_F(HostileInputTest, BinaryDataIsNotAPlan) {
  std::string junk;
  for (int i = 0; i < 4096; ++i) junk.push_back(static_cast<char>((i * 7919) & 0xFF));
  EXPECT_FALSE(group.LoadPlanGroup(Write(junk)));
  EXPECT_EQ(LastMessage(), "Invalid Dive Plan file");
  EXPECT_FALSE(group.ImportDive(Write(junk)));
  EXPECT_EQ(LastMessage(), "Invalid Dive file");
  CGasMixList list;
  EXPECT_FALSE(LoadGasMixList(Write(junk), list));
}

TEST_F(HostileInputTest, NulBytesStayInsideTheirText) {
  const std::string name("a\0b~c", 5);
  ASSERT_TRUE(LoadDive("020~" + name + "\r\n"));
  EXPECT_EQ(group.GetDive(0)->GetName(), std::string("a\0b", 3));
  const std::string path = dir + "/nul.ccp";
  ASSERT_TRUE(group.SavePlanGroup(path));
  CPlanGroup again;
  ASSERT_TRUE(again.LoadPlanGroup(path));
  EXPECT_EQ(again.GetDive(0)->GetName(), std::string("a\0b", 3));
}

TEST_F(HostileInputTest, ATenMegabyteLineIsReadWhole) {
  const std::string longName(10u << 20, 'x');
  ASSERT_TRUE(LoadDive("020~" + longName + "\r\n"));
  EXPECT_EQ(group.GetDive(0)->GetName().size(), longName.size());
  // Ten million separators: still one line, and only its first fields count.
  ASSERT_TRUE(LoadDive("021~990" + std::string(10u << 20, '~') + "\r\n"));
  EXPECT_DOUBLE_EQ(group.GetDive(0)->GetSurfacePressure(), 990.0);
  EXPECT_FALSE(LoadDive(std::string(10u << 20, '7') + "\r\n")) << "a key beyond any number";
  EXPECT_EQ(group.GetFileError().size(), std::string("line 3: \"").size() + 40 + std::string("...\" is neither a "
                                                                                                 "\"Dive\" line nor a key line").size())
      << "the message quotes a short piece";
}

TEST_F(HostileInputTest, TenThousandKeysAreReadQuickly) {
  std::string text = "Dive Plan\r\n";
  for (int i = 0; i < 10000; ++i) text += "Dive\r\n";
  EXPECT_FALSE(group.LoadPlanGroup(Write(text))) << "more than 30 dives";
  EXPECT_EQ(group.GetDiveCount(), 1) << "nothing loaded: the reset plan";
  EXPECT_EQ(group.GetFileError(), "line 32: the file holds 10000 dives; the program takes at most 30, so nothing was "
                                  "loaded");

  std::string keys = "021~1000\r\n";
  for (int i = 0; i < 10000; ++i) keys += i % 2 ? "022~30\r\n" : "022~35\r\n";
  for (int i = 0; i < 10000; ++i) keys += "100~60~1000.00~0~32.00~0.00~0.70~0~0\r\n";
  group.SetAutoRecalc(true);
  ASSERT_TRUE(LoadDive(keys));
  EXPECT_EQ(group.GetDive(0)->UserPointCount(), 10000);
  EXPECT_DOUBLE_EQ(group.GetDive(0)->GetGfLow(), 30.0);
}

// A number that does not read whole as a number used to read as 0 (or as
// its first digits) and gave a plan of another dive: a depth "4O00.00" was
// planned at 0 m.
TEST_F(HostileInputTest, NumbersThatAreNotNumbersMakeTheFileInvalid) {
  test::CTestLog log(env);
  const std::pair<std::string, std::string> cases[] = {
      {"100~1500~4O00.00~0~21.00~0.00~0.70~0~0", "line 4: key 100 (user point), field 3 (depth): \"4O00.00\" is not a number"},
      {"100~1500~nan~0~21.00~0.00~0.70~0~0", "line 4: key 100 (user point), field 3 (depth): \"nan\" is not a number"},
      {std::string("100~1500~40") + '\0' + "00.00~0~21.00~0.00~0.70~0~0",
       "line 4: key 100 (user point), field 3 (depth): \"40\\x0000.00\" is not a number"},
      {"100~15OO~4000.00~0~21.00~0.00~0.70~0~0", "line 4: key 100 (user point), field 2 (duration): \"15OO\" is not a number"},
      {"100~90.5~4000.00~0~21.00~0.00~0.70~0~0",
       "line 4: key 100 (user point), field 2 (duration): \"90.5\" is not a whole number"},
      {"021~1e999", "line 4: key 021 (surface pressure): \"1e999\" is not a number"},
      {"022~", "line 4: key 022 (gradient factor low): \"\" is not a number"},
      {"024~inf", "line 4: key 024 (SAC rate): \"inf\" is not a number"},
      {"025~0x1p3", "line 4: key 025 (maximum PPO2): \"0x1p3\" is not a number"},
      {"026~ 12.5kg", "line 4: key 026 (maximum EAD): \" 12.5kg\" is not a number"},
      {"O21~1013.00", "line 4: \"O21~1013.00\" is neither a \"Dive\" line nor a key line"},
      {"Dlve", "line 4: \"Dlve\" is neither a \"Dive\" line nor a key line"},
  };
  for (const auto& [line, why] : cases) {
    env.prompt.shown.clear();
    EXPECT_FALSE(LoadDive("021~1000.00\r\n" + line + "\r\n")) << line;
    EXPECT_EQ(LastMessage(), "Invalid Dive Plan file") << line;
    EXPECT_EQ(group.GetFileError(), why);
    EXPECT_EQ(group.GetDive(0)->UserPointCount(), 0);
  }
  EXPECT_TRUE(log.Has("line 4: key 021 (surface pressure): \"1e999\" is not a number"));

  // Blanks around a number and an integer written as "1.0" change nothing.
  ASSERT_TRUE(LoadDive("021~ 1013.25\t\r\n023~-0\r\n050~1.0\r\n"));
  EXPECT_DOUBLE_EQ(group.GetDive(0)->GetSurfacePressure(), 1013.25);
  EXPECT_TRUE(group.GetDive(0)->BailoutSettings().useBailoutGasList);
  EXPECT_TRUE(group.GetFileError().empty());
  const std::string path = dir + "/zero.ccp";
  ASSERT_TRUE(group.SavePlanGroup(path));
  EXPECT_NE(test::ReadFile(path).find("023~0.00\r\n"), std::string::npos) << "no \"-0.00\"";
}

// Values that no page or preference of the program can enter used to be
// planned: an invalid gas with a CNS of thousands of percent, GF 900/5, a
// surface pressure of 999999 mbar, a last stop at 0 m, 0 bar cylinders.
TEST_F(HostileInputTest, ValuesOutsideWhatThePagesAllowMakeTheFileInvalid) {
  test::CTestLog log(env);
  const std::pair<const char*, const char*> cases[] = {
      {"100~-60~1000.00~0~21.00~0.00~0.70~0~0", "field 2 (duration): -60 is outside 0 to 21600 s"},
      {"100~21660~1000.00~0~21.00~0.00~0.70~0~0", "field 2 (duration): 21660 is outside 0 to 21600 s"},
      {"100~60~40000.00~0~21.00~0.00~0.70~0~0", "field 3 (depth): 40000.00 (400.00 m) is outside 0 to 305 m (0 to 1000 ft)"},
      {"100~60~-100.00~0~21.00~0.00~0.70~0~0", "field 3 (depth): -100.00 (-1.00 m) is outside"},
      {"100~60~1000.00~0~80.00~30.00~0.70~0~0", "80.00 % oxygen and 30.00 % helium are not a valid gas"},
      {"110~60~1000.00~0~121.00~0.00~0.70~0~0", "121.00 % oxygen and 0.00 % helium are not a valid gas"},
      {"100~60~1000.00~1~21.00~-5.00~0.70~0~0", "21.00 % oxygen and -5.00 % helium are not a valid gas"},
      {"100~60~1000.00~1~0.00~0.00~0.70~0~0", "0.00 % oxygen and 0.00 % helium are not a valid gas"},
      {"100~60~1000.00~1~21.00~0.00~1.60~0~0", "field 7 (setpoint): 1.60 is outside 0.50 to 1.50 bar"},
      {"100~60~1000.00~0~21.00~0.00~1e300~0~0", "field 7 (setpoint): 1e300 is outside"},
      {"100~60~1000.00~2~21.00~0.00~0.70~0~0", "field 4 (closed circuit): 2 is outside 0 to 1"},
      {"100~60~1000.00~0~21.00~0.00~0.70~0", nullptr},  // 8 fields are enough
      {"100~60~1000.00~0~21.00~0.00~0.70", "key 100 (user point) has 7 of its 9 fields"},
      {"021~999999.00", "key 021 (surface pressure): 999999.00 is outside 600 to 1080 mbar"},
      {"022~900.00", "key 022 (gradient factor low): 900.00 is outside 0 to 100 %"},
      {"027~-3600", "key 027 (surface interval): -3600 is outside 0 to 86340 s"},
      {"028~-20.00", "key 028 (descent rate): -20.00 is outside 5 to 50 m/min (16 to 164 ft/min)"},
      {"030~0.00", "key 030 (last decompression stop): 0.00 is outside 3 to 6 m (10 to 20 ft)"},
      {"040~13", "key 040 (bailout number of gas switches): 13 is outside 1 to 12"},
      {"044~2.00", "key 044 (bailout maximum PPO2): 2.00 is outside 1.00 to 1.80 bar"},
      {"046~99.00", "key 046 (bailout maximum CNS): 99.00 is outside 100 to 250 %"},
      {"050~2", "key 050 (use bailout gas list): 2 is outside 0 to 1"},
      {"055~-1", "key 055 (bailout second): -1 is outside"},
      {"058~-2", "key 058 (bailout remainder): -2 is outside"},
      {"021", "key 021 (surface pressure) has no value"},
  };
  for (const auto& [line, why] : cases) {
    env.prompt.shown.clear();
    const bool loaded = LoadDive(std::string(line) + "\r\n");
    if (!why) {
      EXPECT_TRUE(loaded) << line;
      continue;
    }
    EXPECT_FALSE(loaded) << line;
    EXPECT_EQ(LastMessage(), "Invalid Dive Plan file") << line;
    EXPECT_EQ(group.GetFileError().rfind("line 3: ", 0), 0u) << group.GetFileError();
    EXPECT_NE(group.GetFileError().find(why), std::string::npos) << group.GetFileError();
    EXPECT_EQ(group.GetDiveCount(), 1) << line;
    EXPECT_EQ(group.GetDive(0)->UserPointCount(), 0) << line;
    EXPECT_FALSE(group.IsLoadInProgress());
  }
  EXPECT_TRUE(log.Has("line 3: key 022 (gradient factor low): 900.00 is outside 0 to 100 %"));

  const std::pair<const char*, const char*> planKeys[] = {
      {"002~7", "key 002 (algorithm): 7 is outside 0 to 1"},
      {"003~0.00", "key 003 (cylinder working pressure): 0.00 is outside 150 to 250 bar (2200 to 3675 psi)"},
      {"004~999999.00", "key 004 (gas reserve): 999999.00 is outside 10 to 50 %"},
  };
  for (const auto& [line, why] : planKeys) {
    EXPECT_FALSE(group.LoadPlanGroup(Write(std::string("Dive Plan\r\n") + line + "\r\nDive\r\n"))) << line;
    EXPECT_EQ(group.GetFileError(), std::string("line 2: ") + why);
  }
  // In a dive file the plan keys are ignored, so they cannot make it invalid.
  const std::string dive = dir + "/d.ccd";
  test::WriteFile(dive, "Dive\r\n002~7\r\n");
  EXPECT_TRUE(group.ImportDive(dive));
  test::WriteFile(dive, "Dive\r\n100~-1~0~0~21~0~0.7~0~0\r\n");
  const int before = group.GetDiveCount();
  EXPECT_FALSE(group.ImportDive(dive));
  EXPECT_EQ(LastMessage(), "Invalid Dive file");
  EXPECT_EQ(group.GetDiveCount(), before) << "nothing appended";
}

TEST_F(HostileInputTest, TheDeepestDiveThePagesAllowLoadsAndFailsOnlyInTheCalculation) {
  // 1000 ft, the deepest the imperial depth field takes, is 307.05 m.
  ASSERT_TRUE(LoadDive("100~0~0.00~0~21.00~0.00~0.70~0~0\r\n100~600~30705.00~0~21.00~0.00~0.70~0~0\r\n"));
  ASSERT_TRUE(group.CalculateDivePlans(true, 0, true));
  EXPECT_FALSE(group.GetDive(0)->IsCalculationCompleted());
  EXPECT_TRUE(group.GetDive(0)->IsTimeLimitExceeded());
}

// A file cut short used to be planned with what was left: the trimix
// example without its last 60 bytes was planned on its back gas alone.
TEST_F(HostileInputTest, AFileCutShortIsRefused) {
  const std::string whole = test::ReadFile(std::string(EXAMPLES_DIR) + "/oc-trimix-60m.ccp");
  ASSERT_GT(whole.size(), 60u);
  const std::string cut = whole.substr(0, whole.size() - 60);
  EXPECT_FALSE(group.LoadPlanGroup(Write(cut)));
  EXPECT_EQ(LastMessage(), "Invalid Dive Plan file");
  EXPECT_NE(group.GetFileError().find("the file seems cut short"), std::string::npos) << group.GetFileError();
  // Cut inside the last line but one, with a line end added by hand: the
  // point line has lost fields.
  const std::size_t lastLine = whole.rfind("100~", whole.size() - 3);
  EXPECT_FALSE(group.LoadPlanGroup(Write(whole.substr(0, lastLine) + "100~0~600.00\r\n")));
  EXPECT_NE(group.GetFileError().find("has 3 of its 9 fields"), std::string::npos) << group.GetFileError();
  EXPECT_TRUE(group.LoadPlanGroup(Write(whole)));
  CGasMixList list;
  EXPECT_FALSE(LoadGasMixList(Write("Gas Mix List\r\n060~21/0,50/0,10"), list));
  EXPECT_EQ(LastMessage(), "Invalid Bailout Gas Mix List file");
}

TEST_F(HostileInputTest, AByteOrderMarkIsSkipped) {
  const std::string bom = "\xEF\xBB\xBF";
  ASSERT_TRUE(group.LoadPlanGroup(Write(bom + test::ReadFile(std::string(EXAMPLES_DIR) + "/oc-air-40m.ccp"))));
  EXPECT_EQ(group.GetDive(0)->GetName(), "Air 40 m");
  const std::string dive = dir + "/bom.ccd";
  test::WriteFile(dive, bom + "Dive\r\n020~Bom\r\n");
  ASSERT_TRUE(group.ImportDive(dive));
  EXPECT_EQ(group.GetDive(group.GetDiveCount() - 1)->GetName(), "Bom");
  CGasMixList list;
  ASSERT_TRUE(LoadGasMixList(Write(bom + "Gas Mix List\r\n060~21/0,50/0\r\n"), list));
  EXPECT_EQ(list.Text(), "21/0,50/0");
  EXPECT_FALSE(group.LoadPlanGroup(Write(bom + bom + "Dive Plan\r\n"))) << "only one mark is skipped";
}


TEST_F(HostileInputTest, LineBreaksInTextsCannotForgeKeys) {
  group.SetDiveName(0, "evil\r\n021~5\nname");
  group.GetDive(0)->SetBailoutGasList("Air\n100~1~1~1~1~1~1~1~1");
  const std::string path = dir + "/forged.ccp";
  ASSERT_TRUE(group.SavePlanGroup(path));
  CPlanGroup loaded;
  ASSERT_TRUE(loaded.LoadPlanGroup(path));
  EXPECT_DOUBLE_EQ(loaded.GetDive(0)->GetSurfacePressure(), 1000.0);
  EXPECT_EQ(loaded.GetDive(0)->UserPointCount(), 0);
  EXPECT_EQ(loaded.GetDive(0)->GetName(), "evil  021");
}

TEST_F(HostileInputTest, FilesLargerThanAnyPlanAreNotRead) {
  std::string content;
  EXPECT_FALSE(CDiskFileStore().Read("/dev/zero", content)) << "not a regular file";
  const std::string path = dir + "/huge.ccp";
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  ASSERT_EQ(std::fseek(f, static_cast<long>(IFileStore::kMaxFileSize), SEEK_SET), 0);
  std::fputc('x', f);
  std::fclose(f);
  EXPECT_FALSE(group.LoadPlanGroup(path));
  EXPECT_EQ(LastMessage(), "Unable to open data file.");
}

}  // namespace
}  // namespace kv
