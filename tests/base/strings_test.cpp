#include "base/strings.h"

#include <string>

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(StringTable, TextsByNumber) {
  EXPECT_STREQ(LoadString(1204), "Depth already exists.\n\nUse Update to modify an item");
  EXPECT_STREQ(LoadString(1253), "Fail");
  EXPECT_STREQ(LoadString(1252), "Warning");
  EXPECT_STREQ(LoadString(1063), "Pigt");
  EXPECT_STREQ(LoadString(1311), "Run Time");
  EXPECT_STREQ(LoadString(1513),
               "Surface Pressure %0.0f, GF High %0.0f, GF Low %0.0f, Descent Rate %0.0f (ft/min), Ascent Rate "
               "%0.0f (ft/min), Last Deco Stop %0.0f (ft)");
  EXPECT_STREQ(LoadString(1206), kSixHourQuestion);
  EXPECT_STREQ(LoadString(1), "");
}

TEST(StringTable, EntryHelpIsExact) {
  EXPECT_EQ(std::string(LoadString(1264)),
            "Invalid entry!\n\n\nPermitted gas entry styles are...\n\nNamed - Air, Oxygen\n\nNitrox (02%) - 32% "
            "Nx, 32% Nitrox, 32% N, 32%, 32/0\n\nTrimix (O2%/He%) - 13/59, 16/44, 6/70\n\n\nGas limits "
            "are...\n\nOxygen 5% - 100%\n\nHelium 0% - 99%");
}

TEST(StringTable, OverridesMustTakeTheSameArguments) {
  EXPECT_TRUE(OverrideString(1252, "Avertissement"));
  EXPECT_STREQ(LoadString(1252), "Avertissement");
  EXPECT_TRUE(OverrideString(1252, ""));
  EXPECT_STREQ(LoadString(1252), "Warning");

  // 1280 takes a number and a unit three times.
  EXPECT_TRUE(OverrideString(1280, "Doppelt @ %.0f %s / %.0f %s: %.0f %s entfernt (100%%)"));
  EXPECT_FALSE(OverrideString(1280, "Doppelt @ %s %s / %.0f %s: %.0f %s"));
  EXPECT_FALSE(OverrideString(1280, "Doppelt @ %.0f %s"));
  EXPECT_FALSE(OverrideString(1252, "%s"));
  EXPECT_STREQ(LoadString(1252), "Warning");
  OverrideString(1280, "");
}

TEST(StringTable, TextHandedOutSurvivesALaterOverride) {
  // A calculation on a worker thread may be formatting a text while the
  // language changes; the text it holds must stay readable.
  ASSERT_TRUE(OverrideString(1306, "Gaz"));
  const char* held = LoadString(1306);
  ASSERT_TRUE(OverrideString(1306, "Gemisch"));
  ASSERT_TRUE(OverrideString(1306, ""));
  EXPECT_STREQ(held, "Gaz");
  EXPECT_STREQ(LoadString(1306), "Gas");
}

}  // namespace
}  // namespace kv
