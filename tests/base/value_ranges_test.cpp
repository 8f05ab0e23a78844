#include "base/value_ranges.h"

#include <gtest/gtest.h>

#include <cmath>

#include "base/text.h"
#include "base/units.h"

namespace kv {
namespace {

TEST(ValueRanges, EveryNumericPreferenceHasARangeThatHoldsItsDefault) {
  for (int i = 0; i < static_cast<int>(EPref::Count); ++i) {
    const EPref item = static_cast<EPref>(i);
    const SPrefInfo& info = CPreferences::Info(item);
    SCOPED_TRACE(info.path);
    const SPreferenceRange* range = PreferenceRange(item);
    if (info.type == EPrefType::Text) {
      EXPECT_EQ(range, nullptr);
      continue;
    }
    ASSERT_NE(range, nullptr);
    EXPECT_TRUE(range->AcceptsStored(info.defaultNumber)) << info.defaultNumber;
    EXPECT_LE(range->Range().metric.minimum, range->Range().metric.maximum);
  }
}

// The file keys and the preferences that give new dives their values must
// agree, or a dive made from the preferences could be saved into a file that
// does not read back.
TEST(ValueRanges, FileKeysShareTheRangesOfTheirPreferences) {
  const std::pair<int, EPref> pairs[] = {
      {1, EPref::SurfaceIntervalAlgorithm}, {2, EPref::Algorithm},
      {3, EPref::DefaultCylinderWorkingPressure}, {4, EPref::DefaultGasReserve},
      {21, EPref::DiveSurfacePressure}, {22, EPref::DiveGfLow}, {23, EPref::DiveGfHigh},
      {24, EPref::DiveSacRate}, {25, EPref::DiveMaxPpo2}, {26, EPref::DiveMaxEad},
      {27, EPref::DiveSurfaceInterval}, {28, EPref::DiveDescentRate}, {29, EPref::DiveAscentRate},
      {30, EPref::DiveLastDecoStop}, {40, EPref::BailoutNoOfGasSwitches}, {41, EPref::BailoutGfLow},
      {42, EPref::BailoutGfHigh}, {43, EPref::BailoutSacRate}, {44, EPref::BailoutMaxPpo2},
      {45, EPref::BailoutMaxEad}, {46, EPref::BailoutMaxCns}, {47, EPref::BailoutDescentRate},
      {48, EPref::BailoutAscentRate}, {49, EPref::BailoutLastDecoStop}, {50, EPref::BailoutUseBailoutGasList},
      {51, EPref::BailoutIgnoreIcd}, {52, EPref::BailoutIgnoreCns},
  };
  for (const auto& [key, item] : pairs) {
    SCOPED_TRACE(key);
    ASSERT_NE(PlanKeyRange(key), nullptr);
    EXPECT_EQ(PlanKeyRange(key)->value, PreferenceRange(item)->value);
  }
  EXPECT_EQ(PlanKeyRange(20), nullptr) << "the name is text";
  EXPECT_EQ(PlanKeyRange(60), nullptr) << "the gas list is text";
  EXPECT_EQ(PlanKeyRange(100), nullptr) << "point lines have ranges per field";
}

// What an imperial field can produce, held in metric units and written with
// two decimals, must read back; one step further out must not.
TEST(ValueRanges, ImperialFieldsWrittenWithTwoDecimalsStayInside) {
  struct SCase {
    EValue value;
    double imperial;
    double factor;
    int edge;  // +1: the highest held value, -1: the lowest, 0: inside the metric range
  };
  const SCase cases[] = {
      {EValue::DescentRate, 164, kMetresPerFoot, 1},     {EValue::DescentRate, 16, kMetresPerFoot, -1},
      {EValue::AscentRate, 82, kMetresPerFoot, 1},       {EValue::AscentRate, 3, kMetresPerFoot, -1},
      {EValue::MaxEad, 230, kMetresPerFoot, 1},          {EValue::MaxEad, 65, kMetresPerFoot, -1},
      {EValue::LastDecoStop, 20, kMetresPerFoot, 1},     {EValue::LastDecoStop, 10, kMetresPerFoot, 0},
      {EValue::Depth, 1000, kMetresPerFoot, 1},          {EValue::SacRate, 0.28, kLitresPerCubicFoot, -1},
      {EValue::SacRate, 2.82, kLitresPerCubicFoot, 0},   {EValue::CylinderWorkingPressure, 3675, kBarPerPsi, 1},
      {EValue::CylinderWorkingPressure, 2200, kBarPerPsi, 0},
  };
  for (const SCase& c : cases) {
    const SValueRange& r = ValueRange(c.value);
    const double held = c.imperial * c.factor;
    EXPECT_DOUBLE_EQ(r.ImperialToHeld(c.imperial), held);
    EXPECT_NEAR(r.HeldToImperial(held), c.imperial, c.imperial * 1e-3) << "the program's two factors differ slightly";
    const double written = std::stod(Format("%0.2f", held));
    SCOPED_TRACE(Format("%g -> %0.4f written %0.2f", c.imperial, held, written));
    EXPECT_TRUE(r.Accepts(written));
    EXPECT_TRUE(r.Accepts(std::round(held * 1000.0) / 1000.0)) << "as the preferences store it";
    if (c.edge != 0) {
      EXPECT_FALSE(r.Accepts(written + c.edge * 0.02));
    }
  }
}

TEST(ValueRanges, LimitsFromThePagesJustInsideAndOutside) {
  const SValueRange& gf = ValueRange(EValue::GradientFactor);
  EXPECT_TRUE(gf.Accepts(0));
  EXPECT_TRUE(gf.Accepts(100));
  EXPECT_FALSE(gf.Accepts(100.01));
  EXPECT_FALSE(gf.Accepts(-0.01));
  EXPECT_FALSE(gf.Accepts(std::nan("")));
  EXPECT_FALSE(ValueRange(EValue::SurfacePressure).Accepts(999999));
  EXPECT_TRUE(ValueRange(EValue::Setpoint).Accepts(1.5));
  EXPECT_FALSE(ValueRange(EValue::Setpoint).Accepts(1.51));
  EXPECT_FALSE(ValueRange(EValue::LastDecoStop).Accepts(0));
  EXPECT_FALSE(PreferenceRange(EPref::DiveSacRate)->AcceptsStored(7000));
  EXPECT_TRUE(PreferenceRange(EPref::DiveSacRate)->AcceptsStored(25500));
  EXPECT_FALSE(PreferenceRange(EPref::Units)->AcceptsStored(2));
}

TEST(ValueRanges, TextNamesBothUnitSystems) {
  EXPECT_EQ(ValueRange(EValue::GradientFactor).Text(), "0 to 100 %");
  EXPECT_EQ(ValueRange(EValue::SacRate).Text(), "8.0 to 80.0 l/min (0.28 to 2.82 cu ft/min)");
  EXPECT_EQ(ValueRange(EValue::MaxPpo2).Text(), "1.00 to 1.80 bar");
}

}  // namespace
}  // namespace kv
