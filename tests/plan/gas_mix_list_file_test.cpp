#include "plan/gas_mix_list_file.h"

#include <gtest/gtest.h>

#include "plan_test_util.h"

namespace kv {
namespace {

class GasMixListFileTest : public ::testing::Test {
protected:
  void SetUp() override { dir = test::TempDir(); }
  test::CTestEnvironment env;
  std::string dir;
};

TEST_F(GasMixListFileTest, SavedListReadsBack) {
  const std::string path = dir + "/bailout.ccg";
  ASSERT_TRUE(SaveGasMixList(path, CGasMixList::Read("15/55, 21/35, 50%, Oxygen")));
  EXPECT_EQ(test::ReadFile(path), "Gas Mix List\r\n060~15/55, 21/35, 50%, Oxygen\r\n");
  CGasMixList list = CGasMixList::Read("unchanged");
  ASSERT_TRUE(LoadGasMixList(path, list));
  EXPECT_EQ(list.Text(), "15/55, 21/35, 50%, Oxygen") << "as written";
  EXPECT_EQ(list.UsableCount(), 2);
}

TEST_F(GasMixListFileTest, KeyWithoutLeadingZerosAndOtherLinesAreAccepted) {
  const std::string path = dir + "/hand.ccg";
  test::WriteFile(path, "Gas Mix List\n\n61~Air\n60~Air, 32%\nnonsense\n");
  CGasMixList list;
  ASSERT_TRUE(LoadGasMixList(path, list));
  EXPECT_EQ(list.Text(), "Air, 32%");
}

TEST_F(GasMixListFileTest, FailuresKeepTheListAndSaySo) {
  test::CTestLog log(env);
  CGasMixList list = CGasMixList::Read("Air");
  EXPECT_FALSE(LoadGasMixList(dir + "/none.ccg", list));
  // Each message keeps its text and says which file and why.
  EXPECT_EQ(env.prompt.shown.back().text, "Unable to open data file.\n\n" + dir + "/none.ccg\nno such file");
  EXPECT_TRUE(log.Has("Unable to open gas mix list file " + dir + "/none.ccg"));

  test::WriteFile(dir + "/plan.ccg", "Dive Plan\r\n060~Oxygen\r\n");
  EXPECT_FALSE(LoadGasMixList(dir + "/plan.ccg", list));
  EXPECT_EQ(env.prompt.shown.back().text, "Invalid Bailout Gas Mix List file\n\n" + dir +
                                               "/plan.ccg\nline 1: the first line is not \"Gas Mix List\"");
  EXPECT_TRUE(log.Has("Invalid gas mix list file " + dir + "/plan.ccg"));
  EXPECT_EQ(list.Text(), "Air");

  EXPECT_FALSE(SaveGasMixList(dir, list));
  EXPECT_EQ(env.prompt.shown.back().text, "Unable to open data file for writing.\n\n" + dir + "\nit is a folder");
}

}  // namespace
}  // namespace kv
