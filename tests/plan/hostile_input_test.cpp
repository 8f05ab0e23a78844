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
  std::string LastMessage() const { return env.prompt.shown.empty() ? "" : env.prompt.shown.back().text; }

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
  std::string list;
  EXPECT_FALSE(LoadGasMixList(Write(junk), list));
}

TEST_F(HostileInputTest, NulBytesStayInsideTheirText) {
  const std::string name("a\0b~c", 5);
  ASSERT_TRUE(LoadDive("020~" + name + "\r\n021~1\0" "013\r\n"));
  EXPECT_EQ(group.GetDive(0)->GetName(), std::string("a\0b", 3));
  EXPECT_DOUBLE_EQ(group.GetDive(0)->GetSurfacePressure(), 1.0) << "a number ends at the NUL";
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
  EXPECT_TRUE(LoadDive(std::string(10u << 20, '7') + "\r\n"));
}

TEST_F(HostileInputTest, TenThousandKeysAreReadQuickly) {
  std::string text = "Dive Plan\r\n";
  for (int i = 0; i < 10000; ++i) text += "Dive\r\n";
  EXPECT_FALSE(group.LoadPlanGroup(Write(text))) << "more than 30 dives";
  EXPECT_EQ(group.GetDiveCount(), 0);

  std::string keys = "021~1000\r\n";
  for (int i = 0; i < 10000; ++i) keys += i % 2 ? "022~30\r\n" : "022~35\r\n";
  for (int i = 0; i < 10000; ++i) keys += "100~60~1000.00~0~32.00~0.00~0.70~0~0\r\n";
  group.SetAutoRecalc(true);
  ASSERT_TRUE(LoadDive(keys));
  EXPECT_EQ(group.GetDive(0)->UserPointCount(), 10000);
  EXPECT_DOUBLE_EQ(group.GetDive(0)->GetGfLow(), 30.0);
}

TEST_F(HostileInputTest, NumbersThatAreNotNumbersReadAsZero) {
  ASSERT_TRUE(LoadDive("021~1e999\r\n022~nan\r\n023~-0\r\n024~inf\r\n025~0x1p3\r\n026~ 12.5kg\r\n"));
  const CDivePlan& d = *group.GetDive(0);
  EXPECT_DOUBLE_EQ(d.GetSurfacePressure(), 0.0);
  EXPECT_DOUBLE_EQ(d.GetGfLow(), 0.0);
  EXPECT_DOUBLE_EQ(d.GetGfHigh(), 0.0);
  EXPECT_FALSE(std::signbit(d.GetGfHigh()));
  EXPECT_DOUBLE_EQ(d.GetSacRate(), 0.0);
  EXPECT_DOUBLE_EQ(d.GetMaxPpo2(), 0.0);
  EXPECT_DOUBLE_EQ(d.GetMaxEad(), 12.5);
  const std::string path = dir + "/zero.ccp";
  ASSERT_TRUE(group.SavePlanGroup(path));
  EXPECT_NE(test::ReadFile(path).find("023~0.00\r\n"), std::string::npos) << "no \"-0.00\"";
}

TEST_F(HostileInputTest, ImpossibleValuesMakeTheFileInvalid) {
  test::CTestLog log(env);
  const char* cases[] = {
      "100~-60~1000.00~0~21.00~0.00~0.70~0~0",        // negative duration
      "100~99999999~1000.00~0~21.00~0.00~0.70~0~0",   // beyond any plan
      "100~60~10000000.00~0~21.00~0.00~0.70~0~0",     // 100,000 m
      "110~60~1000.00~0~121.00~0.00~0.70~0~0",        // 121 % oxygen
      "100~60~1000.00~1~21.00~-5.00~0.70~0~0",        // negative helium
      "100~60~1000.00~1~21.00~0.00~1e300~0~0",        // setpoint
      "027~-3600",                                    // negative surface interval
      "028~-20",                                      // negative rate
      "040~13",                                       // more bailout switches than exist
      "055~-1",
      "058~-2",
  };
  for (const char* line : cases) {
    env.prompt.shown.clear();
    EXPECT_FALSE(LoadDive(std::string(line) + "\r\n")) << line;
    EXPECT_EQ(LastMessage(), "Invalid Dive Plan file") << line;
    EXPECT_EQ(group.GetDiveCount(), 1) << line;
    EXPECT_EQ(group.GetDive(0)->UserPointCount(), 0) << line;
    EXPECT_FALSE(group.IsLoadInProgress());
  }
  EXPECT_TRUE(log.Has("out of range"));
  // An algorithm the calculation does not know would plan with no a values.
  EXPECT_FALSE(group.LoadPlanGroup(Write("Dive Plan\r\n002~7\r\nDive\r\n")));
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

TEST_F(HostileInputTest, DeepButPossibleDivesLoadAndFailOnlyInTheCalculation) {
  ASSERT_TRUE(LoadDive("100~0~0.00~0~21.00~0.00~0.70~0~0\r\n100~600~100000.00~0~21.00~0.00~0.70~0~0\r\n"));
  ASSERT_TRUE(group.CalculateDivePlans(true, 0, true));
  EXPECT_FALSE(group.GetDive(0)->IsCalculationCompleted());
  EXPECT_TRUE(group.GetDive(0)->IsTimeLimitExceeded());
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
