// The table generation page's preferences: its inputs and schedules read and
// written back, the snapshot it is given, and the folder of a saved file.

#include <gtest/gtest.h>

#include "frontend/table_generation_preferences.h"
#include "support/test_support.h"
#include "tablegen/tablegen_test_util.h"

namespace kv {
namespace {

using test::Texts;

class TableGenerationPreferencesTest : public ::testing::Test {
protected:
  test::CTestEnvironment env;
  CTableGeneration page;
};

TEST_F(TableGenerationPreferencesTest, InputsComeFromThePreferencesAndGoBack) {
  LoadTableGenerationPreferences(page, TakePreferenceSnapshot());
  EXPECT_EQ(page.Inputs(), STableGenerationInputs{}) << "the defaults of the preferences";
  EXPECT_EQ(Texts(page.DescentSchedule()), std::vector<std::string>{"0.00,21.00,0.00,1,0.70,1"});
  EXPECT_EQ(Texts(page.AscentSchedule()), std::vector<std::string>{"3.00,21.00,0.00,1,0.70,1"});

  env.store->numbers["General\\Units"] = 1;
  env.store->numbers["Table Generation\\Depth Finish"] = 61410;
  env.store->numbers["Table Generation\\Table Grouping"] = 1;
  env.store->texts["Gas Mix\\Travel Gas 03"] = "30.00,18.00,45.00,0,0.00,1";
  env.store->texts["Gas Mix\\Deco Gas 01"] = "garbage";
  auto copy = std::make_unique<CMemoryPreferenceStorage>(*env.store);
  CMemoryPreferenceStorage& store = *copy;
  Prefs().SetStorage(std::move(copy));
  LoadTableGenerationPreferences(page, TakePreferenceSnapshot());
  EXPECT_TRUE(page.IsImperial());
  EXPECT_DOUBLE_EQ(page.MetricInputs().depthFinish, 61.41) << "held as stored";
  EXPECT_NEAR(page.Inputs().depthFinish, 200.0, 0.01) << "61.41 m shown in feet";
  EXPECT_NEAR(page.Inputs().descentRate, 20 * 3.2568, 1e-9);
  EXPECT_EQ(page.Inputs().grouping, kGroupByTime);
  EXPECT_EQ(page.DescentSchedule().Count(), 2) << "slot 3 in use, slot 2 empty";
  EXPECT_EQ(page.AscentSchedule().Count(), 0) << "an unreadable entry leaves its slot empty";

  STableGenerationInputs in = page.Inputs();
  in.depthStart = 100;
  in.durationStep = 7;
  page.SetInputs(in);
  page.DeleteDescentSwitch(1);
  SaveTableGenerationPreferences(page);
  EXPECT_EQ(store.numbers["Table Generation\\Depth Start"], 30705u);
  EXPECT_EQ(store.numbers["Table Generation\\Duration Step Size"], 7u);
  EXPECT_EQ(store.texts["Gas Mix\\Travel Gas 03"], "0.00,0.00,0.00,0,0.00,0");
  // Values that come back as they were read are not written again.
  EXPECT_EQ(store.numbers.count("Table Generation\\Descent Rate"), 0u);
  EXPECT_EQ(store.numbers["Table Generation\\Depth Finish"], 61410u);
  EXPECT_EQ(store.texts.count("Gas Mix\\Travel Gas 01"), 0u);
  EXPECT_EQ(store.texts["Gas Mix\\Deco Gas 01"], "0.00,0.00,0.00,0,0.00,0") << "the unreadable entry";
  EXPECT_EQ(store.writes, 4);
}

TEST_F(TableGenerationPreferencesTest, SaveAsRemembersTheFolder) {
  const std::string dir = test::TempDir();
  ASSERT_TRUE(SaveTableGenerationSettingsAs(page, dir + "/chosen.cct"));
  EXPECT_EQ(Prefs().GetText(EPref::DefaultSettingsDirectory), dir);
  CTableGeneration again;
  EXPECT_TRUE(again.OpenSettingsFile(dir + "/chosen.cct"));
  EXPECT_EQ(again.Inputs(), page.Inputs());
}

}  // namespace
}  // namespace kv
