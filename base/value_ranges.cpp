#include "base/value_ranges.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>

#include "base/text.h"
#include "base/units.h"

namespace kv {
namespace {

// Files write two decimals ("%0.2f").
constexpr double kHundredths = 100.0;
// Below the resolution of any value of the program: keeps 1.8 x 100 =
// 180.00000000000003 from counting as more than 180 hundredths.
constexpr double kEpsilon = 1e-6;

constexpr int kCount = static_cast<int>(EValue::Count);

SValueRange Plain(double lo, double hi, double step, int decimals, const char* unit = "") {
  SValueRange r;
  r.metric = {lo, hi, step, decimals};
  r.imperial = r.metric;
  r.metricUnit = r.imperialUnit = unit;
  return r;
}

SValueRange Converted(SFieldRange metric, SFieldRange imperial, EQuantity quantity, const char* metricUnit,
                      const char* imperialUnit) {
  SValueRange r;
  r.metric = metric;
  r.imperial = imperial;
  r.quantity = quantity;
  r.metricUnit = metricUnit;
  r.imperialUnit = imperialUnit;
  return r;
}

// The pages' fields (preferences sheet, dive and bailout settings, profile
// entry, gas switch editor, plan settings). Where they give no limit the
// comment says where the range comes from.
std::array<SValueRange, kCount> BuildValues() {
  std::array<SValueRange, kCount> v{};
  auto set = [&](EValue e, SValueRange r) { v[static_cast<std::size_t>(e)] = r; };
  set(EValue::Flag, Plain(0, 1, 1, 0));
  // A language identifier is a 16-bit number.
  set(EValue::LanguageId, Plain(0, 65535, 1, 0));
  // Lines go up to level 4; a higher level logs the same, and is allowed.
  set(EValue::DebugLevel, Plain(0, 10, 1, 0));
  set(EValue::Setpoint, Plain(0.5, 1.5, 0.01, 2, "bar"));
  set(EValue::CylinderWorkingPressure,
      Converted({150, 250, 1, 0}, {2200, 3675, 1, 0}, EQuantity::Pressure, "bar", "psi"));
  set(EValue::GasReserve, Plain(10, 50, 1, 0, "%"));
  set(EValue::SurfacePressure, Plain(600, 1080, 1, 0, "mbar"));
  set(EValue::GradientFactor, Plain(0, 100, 1, 0, "%"));
  set(EValue::SacRate, Converted({8, 80, 0.1, 1}, {0.28, 2.82, 0.01, 2}, EQuantity::Volume, "l/min", "cu ft/min"));
  set(EValue::MaxPpo2, Plain(1.0, 1.8, 0.01, 2, "bar"));
  set(EValue::MaxEad, Converted({20, 70, 1, 0}, {65, 230, 1, 0}, EQuantity::Depth, "m", "ft"));
  // An hours:minutes field: 0:00 to 23:59.
  set(EValue::SurfaceInterval, Plain(0, 23 * 3600 + 59 * 60, 60, 0, "s"));
  set(EValue::DescentRate, Converted({5, 50, 1, 0}, {16, 164, 1, 0}, EQuantity::Rate, "m/min", "ft/min"));
  set(EValue::AscentRate, Converted({1, 25, 1, 0}, {3, 82, 1, 0}, EQuantity::Rate, "m/min", "ft/min"));
  set(EValue::LastDecoStop, Converted({3, 6, 1, 0}, {10, 20, 1, 0}, EQuantity::Depth, "m", "ft"));
  set(EValue::NoOfGasSwitches, Plain(1, 12, 1, 0));
  set(EValue::MaxCns, Plain(100, 250, 1, 0, "%"));
  set(EValue::Depth, Converted({0, 305, 1, 0}, {0, 1000, 1, 0}, EQuantity::Depth, "m", "ft"));
  // 0 to 360 whole minutes on the page, held in seconds.
  set(EValue::PointDuration, Plain(0, 360 * 60, 60, 0, "s"));
  set(EValue::TableDuration, Plain(0, 360, 1, 0, "min"));
  // Any second of a plan: the calculation stops at 24 hours.
  set(EValue::RunTimeSecond, Plain(0, 86401, 1, 0, "s"));
  set(EValue::BailoutRemainder, Plain(-1, 86400, 1, 0, "s"));
  set(EValue::Oxygen, Plain(5, 100, 1, 0, "%"));
  set(EValue::Helium, Plain(0, 99, 1, 0, "%"));
  return v;
}

const std::array<SValueRange, kCount>& Values() {
  static const std::array<SValueRange, kCount> values = BuildValues();
  return values;
}

std::string FieldText(const SFieldRange& f, const char* unit) {
  std::string text = Format("%.*f to %.*f", f.decimals, f.minimum, f.decimals, f.maximum);
  if (*unit) text += std::string(" ") + unit;
  return text;
}

std::map<EPref, SPreferenceRange> BuildPreferences() {
  std::map<EPref, SPreferenceRange> m;
  auto set = [&](EPref item, EValue value, std::uint32_t scale = 1) { m[item] = {value, scale}; };
  set(EPref::LanguageId, EValue::LanguageId);
  for (EPref flag : {EPref::ChartGridEnable, EPref::AutoRecalc, EPref::Units, EPref::PrintingDirection,
                     EPref::TimeUnits, EPref::FirstAscentOption, EPref::SurfaceIntervalAlgorithm, EPref::Algorithm,
                     EPref::DefaultCc, EPref::DefaultNoClearSurface, EPref::BailoutUseBailoutGasList,
                     EPref::BailoutIgnoreCns, EPref::BailoutIgnoreIcd, EPref::TableGrouping})
    set(flag, EValue::Flag);
  set(EPref::DefaultPpo2, EValue::Setpoint, 1000);
  set(EPref::DefaultCylinderWorkingPressure, EValue::CylinderWorkingPressure, 1000);
  set(EPref::DefaultGasReserve, EValue::GasReserve);
  set(EPref::DiveSurfacePressure, EValue::SurfacePressure);
  set(EPref::DiveGfLow, EValue::GradientFactor);
  set(EPref::DiveGfHigh, EValue::GradientFactor);
  set(EPref::DiveSacRate, EValue::SacRate, 1000);
  set(EPref::DiveMaxPpo2, EValue::MaxPpo2, 1000);
  set(EPref::DiveMaxEad, EValue::MaxEad, 1000);
  set(EPref::DiveSurfaceInterval, EValue::SurfaceInterval);
  set(EPref::DiveDescentRate, EValue::DescentRate, 1000);
  set(EPref::DiveAscentRate, EValue::AscentRate, 1000);
  set(EPref::DiveLastDecoStop, EValue::LastDecoStop, 1000);
  set(EPref::BailoutNoOfGasSwitches, EValue::NoOfGasSwitches);
  set(EPref::BailoutGfLow, EValue::GradientFactor);
  set(EPref::BailoutGfHigh, EValue::GradientFactor);
  set(EPref::BailoutSacRate, EValue::SacRate, 1000);
  set(EPref::BailoutMaxPpo2, EValue::MaxPpo2, 1000);
  set(EPref::BailoutMaxEad, EValue::MaxEad, 1000);
  set(EPref::BailoutMaxCns, EValue::MaxCns, 1000);
  set(EPref::BailoutDescentRate, EValue::DescentRate, 1000);
  set(EPref::BailoutAscentRate, EValue::AscentRate, 1000);
  set(EPref::BailoutLastDecoStop, EValue::LastDecoStop, 1000);
  // The table generation page takes the profile entry page's depths and
  // durations; a step of 0 gives the start value only.
  set(EPref::TableDepthStart, EValue::Depth, 1000);
  set(EPref::TableDepthFinish, EValue::Depth, 1000);
  set(EPref::TableDepthStepSize, EValue::Depth, 1000);
  set(EPref::TableDurationStart, EValue::TableDuration);
  set(EPref::TableDurationFinish, EValue::TableDuration);
  set(EPref::TableDurationStepSize, EValue::TableDuration);
  set(EPref::TableSurfacePressure, EValue::SurfacePressure);
  set(EPref::TableGfLow, EValue::GradientFactor);
  set(EPref::TableGfHigh, EValue::GradientFactor);
  set(EPref::TableDescentRate, EValue::DescentRate, 1000);
  set(EPref::TableAscentRate, EValue::AscentRate, 1000);
  set(EPref::TableLastDecoStop, EValue::LastDecoStop, 1000);
  set(EPref::TableMaxPpo2, EValue::MaxPpo2, 1000);
  set(EPref::TableMaxEad, EValue::MaxEad, 1000);
  set(EPref::DebugLevel, EValue::DebugLevel);
  return m;
}

std::map<int, SPlanKeyRange> BuildPlanKeys() {
  std::map<int, SPlanKeyRange> m;
  auto set = [&](int key, EValue value, const char* name) { m[key] = {value, name}; };
  set(1, EValue::Flag, "surface interval algorithm");
  set(2, EValue::Flag, "algorithm");
  set(3, EValue::CylinderWorkingPressure, "cylinder working pressure");
  set(4, EValue::GasReserve, "gas reserve");
  set(21, EValue::SurfacePressure, "surface pressure");
  set(22, EValue::GradientFactor, "gradient factor low");
  set(23, EValue::GradientFactor, "gradient factor high");
  set(24, EValue::SacRate, "SAC rate");
  set(25, EValue::MaxPpo2, "maximum PPO2");
  set(26, EValue::MaxEad, "maximum EAD");
  set(27, EValue::SurfaceInterval, "surface interval");
  set(28, EValue::DescentRate, "descent rate");
  set(29, EValue::AscentRate, "ascent rate");
  set(30, EValue::LastDecoStop, "last decompression stop");
  set(40, EValue::NoOfGasSwitches, "bailout number of gas switches");
  set(41, EValue::GradientFactor, "bailout gradient factor low");
  set(42, EValue::GradientFactor, "bailout gradient factor high");
  set(43, EValue::SacRate, "bailout SAC rate");
  set(44, EValue::MaxPpo2, "bailout maximum PPO2");
  set(45, EValue::MaxEad, "bailout maximum EAD");
  set(46, EValue::MaxCns, "bailout maximum CNS");
  set(47, EValue::DescentRate, "bailout descent rate");
  set(48, EValue::AscentRate, "bailout ascent rate");
  set(49, EValue::LastDecoStop, "bailout last decompression stop");
  set(50, EValue::Flag, "use bailout gas list");
  set(51, EValue::Flag, "ignore ICD");
  set(52, EValue::Flag, "ignore CNS");
  set(55, EValue::RunTimeSecond, "bailout second");
  set(56, EValue::Depth, "bailout depth");
  set(57, EValue::Flag, "bailout plan valid");
  set(58, EValue::BailoutRemainder, "bailout remainder");
  return m;
}

}  // namespace

double SValueRange::ImperialToHeld(double imperialValue) const {
  return SDisplayUnits::Imperial().Held(quantity, imperialValue);
}

double SValueRange::HeldToImperial(double held) const { return SDisplayUnits::Imperial().Shown(quantity, held); }

double SValueRange::LowestHeld() const { return std::min(metric.minimum, ImperialToHeld(imperial.minimum)); }

double SValueRange::HighestHeld() const { return std::max(metric.maximum, ImperialToHeld(imperial.maximum)); }

bool SValueRange::Accepts(double held) const {
  const double lowest = std::floor(LowestHeld() * kHundredths + kEpsilon) / kHundredths;
  const double highest = std::ceil(HighestHeld() * kHundredths - kEpsilon) / kHundredths;
  // NaN fails both comparisons and is refused.
  return held >= lowest - kEpsilon && held <= highest + kEpsilon;
}

std::string SValueRange::Text() const {
  std::string text = FieldText(metric, metricUnit);
  if (quantity != EQuantity::None) text += " (" + FieldText(imperial, imperialUnit) + ")";
  return text;
}

const SValueRange& ValueRange(EValue value) {
  const int i = std::clamp(static_cast<int>(value), 0, kCount - 1);
  return Values()[static_cast<std::size_t>(i)];
}

const SPreferenceRange* PreferenceRange(EPref item) {
  static const std::map<EPref, SPreferenceRange> table = BuildPreferences();
  const auto it = table.find(item);
  return it == table.end() ? nullptr : &it->second;
}

const SPlanKeyRange* PlanKeyRange(int key) {
  static const std::map<int, SPlanKeyRange> table = BuildPlanKeys();
  const auto it = table.find(key);
  return it == table.end() ? nullptr : &it->second;
}

}  // namespace kv
