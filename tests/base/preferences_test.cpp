#include "base/preferences.h"

#include <gtest/gtest.h>

#include "base/status_log.h"
#include "base/text.h"
#include "support/test_support.h"

namespace kv {
namespace {

class PreferencesTest : public ::testing::Test {
protected:
  test::CTestEnvironment env;
  CMemoryPreferenceStorage& store = *env.store;
  CPreferences& prefs = Prefs();
};

TEST_F(PreferencesTest, EmptyStoreGivesDefaultsAndWritesNothing) {
  EXPECT_EQ(prefs.GetNumber(EPref::LanguageId), 1033u);
  EXPECT_EQ(prefs.GetNumber(EPref::DiveGfLow), 20u);
  EXPECT_EQ(prefs.GetNumber(EPref::BailoutMaxCns), 100000u);
  EXPECT_DOUBLE_EQ(prefs.GetScaled(EPref::DefaultPpo2), 1.3);
  EXPECT_EQ(prefs.GetText(EPref::DefaultDirectory), "");
  EXPECT_EQ(prefs.GetText(EPref::GasMixes), "21/0");
  EXPECT_EQ(prefs.GetText(EPref::GasMixesAgeing), "21/0/-1/-1");
  EXPECT_EQ(prefs.GetText(TravelGas(0)), "0.00,21.00,0.00,1,0.70,1");
  EXPECT_EQ(prefs.GetText(DecoGas(0)), "3.00,21.00,0.00,1,0.70,1");
  EXPECT_EQ(prefs.GetText(TravelGas(11)), "0.00,0.00,0.00,0,0.00,0");
  EXPECT_EQ(prefs.GetText(DecoGas(5)), "0.00,0.00,0.00,0,0.00,0");
  EXPECT_EQ(prefs.GetNumber(EPref::TableGrouping), 0u);
  EXPECT_EQ(prefs.GetNumber(EPref::DebugLevel), 0u);
  // Setting a value to what it already is writes nothing either.
  prefs.SetNumber(EPref::DiveGfHigh, 80);
  prefs.SetText(EPref::GasMixes, "21/0");
  EXPECT_EQ(store.writes, 0);
}

TEST_F(PreferencesTest, ChangesAreWrittenOnce) {
  prefs.SetNumber(EPref::DiveGfLow, 30);
  prefs.SetNumber(EPref::DiveGfLow, 30);
  prefs.SetText(EPref::DiverId, "J. Diver");
  EXPECT_EQ(store.writes, 2);
  EXPECT_EQ(store.numbers.at("Dive\\GF Low"), 30u);
  EXPECT_EQ(store.texts.at("General\\Diver ID"), "J. Diver");
  EXPECT_EQ(prefs.GetNumber(EPref::DiveGfLow), 30u);
}

TEST_F(PreferencesTest, ReadsAreCachedOnceReadDefaultsToo) {
  store.numbers["Dive\\SAC Rate"] = 25500;
  EXPECT_DOUBLE_EQ(prefs.GetScaled(EPref::DiveSacRate), 25.5);
  store.numbers["Dive\\SAC Rate"] = 12000;  // changed behind the program's back
  EXPECT_DOUBLE_EQ(prefs.GetScaled(EPref::DiveSacRate), 25.5);
  // An unset value is not looked up again on every read either.
  EXPECT_EQ(prefs.GetNumber(EPref::DiveGfHigh), 80u);
  store.numbers["Dive\\GF High"] = 90;
  EXPECT_EQ(prefs.GetNumber(EPref::DiveGfHigh), 80u);
  prefs.LoadSettings();
  EXPECT_EQ(prefs.GetNumber(EPref::DiveGfHigh), 90u);
}

TEST_F(PreferencesTest, LoadSettingsSwitchesToZhl16c) {
  prefs.LoadSettings();
  EXPECT_EQ(prefs.GetNumber(EPref::Algorithm), 1u);
  EXPECT_EQ(store.numbers.at("Dive Plan\\Algorithm"), 1u);
  EXPECT_EQ(store.writes, 1);

  store.writes = 0;
  prefs.LoadSettings();  // already ZH-L16C: nothing to write
  EXPECT_EQ(store.writes, 0);
}

TEST_F(PreferencesTest, LoadSettingsForgetsCachedValues) {
  EXPECT_EQ(prefs.GetNumber(EPref::Units), 0u);
  store.numbers["General\\Units"] = 1;
  store.numbers["Dive\\GF Low"] = 30;
  EXPECT_EQ(prefs.GetNumber(EPref::DiveGfLow), 30u);
  store.numbers["Dive\\GF Low"] = 35;
  prefs.LoadSettings();
  EXPECT_EQ(prefs.GetNumber(EPref::Units), 1u);
  EXPECT_EQ(prefs.GetNumber(EPref::DiveGfLow), 35u);
}

// A store that refuses every write, as a read-only registry would.
class CReadOnlyStorage final : public IPreferenceStorage {
public:
  std::optional<std::uint32_t> ReadNumber(const std::string&) override { return std::nullopt; }
  std::optional<std::string> ReadText(const std::string&) override { return std::nullopt; }
  bool WriteNumber(const std::string&, std::uint32_t) override { return false; }
  bool WriteText(const std::string&, const std::string&) override { return false; }
};

TEST_F(PreferencesTest, FailedWriteStillHoldsForThisRun) {
  prefs.SetStorage(std::make_unique<CReadOnlyStorage>());
  prefs.SetNumber(EPref::Units, 1);
  prefs.SetText(EPref::DiverId, "J. Diver");
  EXPECT_EQ(prefs.GetNumber(EPref::Units), 1u);
  EXPECT_EQ(prefs.GetText(EPref::DiverId), "J. Diver");
}

TEST(PreferencesPaths, FindPathAndInfo) {
  EXPECT_EQ(CPreferences::FindPath("Dive\\GF Low"), EPref::DiveGfLow);
  EXPECT_EQ(CPreferences::FindPath("Table Generation\\Max EAD"), EPref::TableMaxEad);
  EXPECT_EQ(CPreferences::FindPath("Gas Mix\\Deco Gas 12"), DecoGas(11));
  EXPECT_EQ(CPreferences::FindPath("Bailout Gas List\\Gas Mix 01"), EPref::BailoutGasList);
  EXPECT_FALSE(CPreferences::FindPath("Dive\\GF low").has_value());
  EXPECT_FALSE(CPreferences::FindPath("").has_value());
  EXPECT_EQ(CPreferences::Info(TravelGas(11)).path, "Gas Mix\\Travel Gas 12");
  EXPECT_EQ(CPreferences::Info(EPref::DebugLevel).path, "Debug Level");
  EXPECT_EQ(CPreferences::Info(EPref::DiverId).type, EPrefType::Text);
  // Every item has a path of its own.
  for (int i = 0; i < static_cast<int>(EPref::Count); ++i) {
    auto item = static_cast<EPref>(i);
    EXPECT_EQ(CPreferences::FindPath(CPreferences::Info(item).path), item) << i;
  }
}

class SettingsSummaryTest : public PreferencesTest {
protected:
  void SetUp() override {
    path = test::TempDir() + "/StatusLog.txt";
    StatusLog().OpenLogAt(path, false);
  }
  void TearDown() override { StatusLog().Close(); }
  std::string path;
};

TEST_F(SettingsSummaryTest, WrittenAboveDebugLevelThree) {
  store.numbers["Debug Level"] = 3;
  prefs.LogSettings();
  EXPECT_EQ(test::ReadFile(path), "");

  prefs.LoadSettings();
  store.numbers["Debug Level"] = 4;
  store.texts["Directories\\Default Directory"] = "/home/diver/plans";
  store.numbers["General\\Time Units"] = 1;
  prefs.LoadSettings();
  prefs.LogSettings();
  std::vector<std::string> lines;
  for (const std::string& line : SplitLines(test::ReadFile(path))) lines.push_back(line.substr(22));
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "Registry Settings",
                       "   Default Dir - /home/diver/plans",
                       "   Default Settings Dir - ",
                       "   Chart Grid Enable - Enabled",
                       "   Auto Recalc - Enabled",
                       "   Surface Interval Algorithm - SDS",
                       "   Buhlmann Algorithm - ZH-L16C",
                       "   Print Direction - Run Time Ascending up the page",
                       "   Time Units - Minutes & Seconds",
                       "   First Ascent Option - Merged 1st Ascent",
                   }));
}

}  // namespace
}  // namespace kv
