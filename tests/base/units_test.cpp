// The display units: conversions with the program's factors, a field's value
// that keeps what it was filled with, where two depths meet, and the texts.

#include "base/units.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

constexpr SDisplayUnits kMetric = SDisplayUnits::Metric();
constexpr SDisplayUnits kImperial = SDisplayUnits::Imperial();

TEST(DisplayUnits, ConvertWithTheProgramsFactorsOnlyWhenImperial) {
  EXPECT_DOUBLE_EQ(kImperial.Shown(40), 40 * 3.2568);
  EXPECT_DOUBLE_EQ(kImperial.Metres(130), 130 * 0.30705);
  EXPECT_DOUBLE_EQ(kImperial.Shown(EQuantity::Rate, 10), 32.568);
  EXPECT_DOUBLE_EQ(kImperial.Shown(EQuantity::Volume, 30), 30 * 0.03531467);
  EXPECT_DOUBLE_EQ(kImperial.Held(EQuantity::Volume, 1), 28.31685);
  EXPECT_DOUBLE_EQ(kImperial.Shown(EQuantity::Pressure, 232), 232 * 14.50377);
  EXPECT_DOUBLE_EQ(kImperial.Held(EQuantity::Pressure, 3000), 3000 * 0.06894757);
  EXPECT_DOUBLE_EQ(kImperial.Shown(EQuantity::None, 1.3), 1.3);
  for (const EQuantity q : {EQuantity::Depth, EQuantity::Rate, EQuantity::Volume, EQuantity::Pressure}) {
    EXPECT_EQ(kMetric.Shown(q, 12.34), 12.34);
    EXPECT_EQ(kMetric.Held(q, 12.34), 12.34);
  }
  // There and back is not the same number: the factors are not inverses.
  EXPECT_NE(kImperial.Metres(kImperial.Shown(6.0)), 6.0);
}

TEST(DisplayUnits, AnUntouchedFieldKeepsTheHeldValueExactly) {
  // 40 m shows as 130 ft in a whole-foot field; 130 ft is 39.9165 m.
  EXPECT_EQ(kImperial.HeldFromField(EQuantity::Depth, 130, 40.0, 0), 40.0);
  EXPECT_DOUBLE_EQ(kImperial.HeldFromField(EQuantity::Depth, 131, 40.0, 0), 131 * 0.30705);
  // A SAC rate shown with two decimals: 25.5 l/min is 0.90 cu ft/min.
  EXPECT_EQ(kImperial.HeldFromField(EQuantity::Volume, 0.90, 25.5, 2), 25.5);
  EXPECT_DOUBLE_EQ(kImperial.HeldFromField(EQuantity::Volume, 0.91, 25.5, 2), 0.91 * 28.31685);
  // Compared exactly: only the very value Shown gave keeps the held one.
  const double shown = kImperial.Shown(6.0);
  EXPECT_EQ(kImperial.HeldFromField(EQuantity::Depth, shown, 6.0, SDisplayUnits::kExactly), 6.0);
  EXPECT_NE(kImperial.HeldFromField(EQuantity::Depth, 19.54, 6.0, SDisplayUnits::kExactly), 6.0);
  EXPECT_EQ(kMetric.HeldFromField(EQuantity::Depth, 6.004, 6.0, 2), 6.0);
}

TEST(DisplayUnits, DepthsMeetWithinAMillimetre) {
  EXPECT_TRUE(DepthsMeet(6.0, 6.0000026));
  EXPECT_TRUE(DepthsMeet(39.9165, 39.9165000001));
  EXPECT_FALSE(DepthsMeet(6.0, 6.001));
  EXPECT_FALSE(DepthsMeet(6.0, 6.141));
}

TEST(DisplayUnits, TextsInEitherUnitSystem) {
  EXPECT_EQ(kMetric.DepthText("%0.0f", 40), "40m");
  EXPECT_EQ(kImperial.DepthText("%0.0f", 40), "130ft");
  EXPECT_EQ(kImperial.DepthText("%0.1f", 40, " "), "130.3 ft");
  EXPECT_EQ(std::string(kImperial.RateUnit()) + kMetric.VolumeRateUnit() + kImperial.PressureUnit(),
            "ft/minl/minpsi");
  EXPECT_EQ(kMetric.VolumeNumber(1234.4), "1234");
  EXPECT_EQ(kImperial.VolumeNumber(1234.4), "43.6");
  EXPECT_EQ(kMetric.CylinderNumber(1632, 240), "6.8");
  EXPECT_EQ(kMetric.CylinderNumber(1632, 0), "") << "no cylinder without a working pressure";
  EXPECT_EQ(kImperial.CylinderNumber(1632, 240), "57.6") << "the gas it holds, in cubic feet";
  EXPECT_EQ(kImperial.ShownPressure(232), 3365) << "whole psi";
  EXPECT_EQ(kMetric.ShownPressure(232), 232);
  EXPECT_EQ(kImperial.PressureText(232), "3365 psi");
  EXPECT_EQ(kMetric.VolumeText(1234.4), "1234 l");
  EXPECT_EQ(kImperial.VolumeRateText(30), "1.1 cu ft/min");
}

}  // namespace
}  // namespace kv
