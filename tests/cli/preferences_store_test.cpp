// The QSettings store (on INI files only: the user's own settings are never
// touched) and kvplan's overlay in front of it.

#include <gtest/gtest.h>

#include "cli/preference_overlay.h"
#include "qtsettings/qt_settings_storage.h"
#include "plan/file_store.h"
#include "support/test_support.h"

namespace kv {
namespace {

TEST(QtSettingsStorage, KeysLiveInTheSettingsGroup) {
  EXPECT_EQ(CQtSettingsStorage::KeyOf("Dive\\GF Low"), "Settings/Dive/GF Low");
  EXPECT_EQ(CQtSettingsStorage::KeyOf("Debug Level"), "Settings/Debug Level");
}

TEST(QtSettingsStorage, ValuesSurviveInTheIniFile) {
  const std::string ini = test::TempDir() + "/prefs.ini";
  {
    CQtSettingsStorage store(ini);
    EXPECT_FALSE(store.ReadNumber("Dive\\GF Low"));
    EXPECT_TRUE(store.WriteNumber("Dive\\GF Low", 35));
    EXPECT_TRUE(store.WriteNumber("Dive Plan\\Default Cylinder Working Pressure", 4000000000u));
    EXPECT_TRUE(store.WriteText("Bailout Gas List\\Gas Mix 01", "21/35, 50%, Oxygen"));
    EXPECT_TRUE(store.WriteText("General\\Diver ID", ""));
  }
  CQtSettingsStorage again(ini);
  EXPECT_TRUE(again.IsReadable());
  EXPECT_EQ(again.ReadNumber("Dive\\GF Low"), 35u);
  EXPECT_EQ(again.ReadNumber("Dive Plan\\Default Cylinder Working Pressure"), 4000000000u);
  EXPECT_EQ(again.ReadText("Bailout Gas List\\Gas Mix 01"), "21/35, 50%, Oxygen");
  EXPECT_EQ(again.ReadText("General\\Diver ID"), "");
}

TEST(QtSettingsStorage, HandWrittenIniFilesAreRead) {
  const std::string ini = test::TempDir() + "/hand.ini";
  CDiskFileStore().Write(ini,
                         "[Settings]\n"
                         "General\\Units=1\n"
                         "Dive\\GF%20High=85\n"
                         "Dive\\GF Low=30\n"
                         "Dive\\SAC Rate=lots\n"
                         "Debug Level=-1\n"
                         "Gas Mix\\Travel Gas 01=0.00,21.00,0.00,1,0.70,1\n");
  CQtSettingsStorage store(ini);
  EXPECT_EQ(store.ReadNumber("General\\Units"), 1u);
  EXPECT_EQ(store.ReadNumber("Dive\\GF High"), 85u);
  EXPECT_EQ(store.ReadNumber("Dive\\GF Low"), 30u);
  EXPECT_FALSE(store.ReadNumber("Dive\\SAC Rate")) << "not a number: the default applies";
  EXPECT_EQ(store.ReadNumber("Debug Level"), 0xFFFFFFFFu) << "the same 32 bits";
  EXPECT_EQ(store.ReadText("Gas Mix\\Travel Gas 01"), "0.00,21.00,0.00,1,0.70,1");
}

TEST(PreferenceOverlay, OverridesAndWritesStayInMemory) {
  test::CTestEnvironment env;
  auto base = std::make_unique<CMemoryPreferenceStorage>();
  CMemoryPreferenceStorage& real = *base;
  real.numbers["Dive\\GF Low"] = 25;
  CPreferenceOverlay overlay(std::move(base));
  EXPECT_EQ(overlay.ReadNumber("Dive\\GF Low"), 25u);
  EXPECT_EQ(ApplyPreferenceOverride(overlay, "Dive\\GF Low=40"), "");
  EXPECT_EQ(ApplyPreferenceOverride(overlay, "General\\Diver ID=A = B"), "");
  EXPECT_EQ(overlay.ReadNumber("Dive\\GF Low"), 40u);
  EXPECT_EQ(overlay.ReadText("General\\Diver ID"), "A = B");
  EXPECT_NE(ApplyPreferenceOverride(overlay, "Dive\\GF Low=-1"), "");
  EXPECT_NE(ApplyPreferenceOverride(overlay, "Dive\\GF Low=4294967296"), "");
  EXPECT_NE(ApplyPreferenceOverride(overlay, "Nowhere=1"), "");
  EXPECT_EQ(real.numbers["Dive\\GF Low"], 25u);
  EXPECT_EQ(real.writes, 0);
}

}  // namespace
}  // namespace kv
