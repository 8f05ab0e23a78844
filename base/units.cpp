#include "base/units.h"

#include <cmath>

#include "base/text.h"

namespace kv {
namespace {

// The factors from held to shown, and from shown to held. Each direction has
// its own factor, as the program has always converted.
struct SFactors {
  double toShown;
  double toHeld;
};

SFactors ImperialFactors(EQuantity quantity) {
  switch (quantity) {
    case EQuantity::Depth:
    case EQuantity::Rate: return {kFeetPerMetre, kMetresPerFoot};
    case EQuantity::Volume: return {kCubicFeetPerLitre, kLitresPerCubicFoot};
    case EQuantity::Pressure: return {kPsiPerBar, kBarPerPsi};
    case EQuantity::None: break;
  }
  return {1.0, 1.0};
}

double RoundToDecimals(double value, int decimals) {
  if (decimals == SDisplayUnits::kExactly) return value;
  const double scale = std::pow(10.0, decimals);
  return std::round(value * scale) / scale;
}

}  // namespace

bool DepthsMeet(double a, double b) { return std::fabs(a - b) < kDepthTolerance; }

double SDisplayUnits::Shown(EQuantity quantity, double held) const {
  return imperial ? held * ImperialFactors(quantity).toShown : held;
}

double SDisplayUnits::Held(EQuantity quantity, double shown) const {
  return imperial ? shown * ImperialFactors(quantity).toHeld : shown;
}

double SDisplayUnits::HeldFromField(EQuantity quantity, double shown, double held, int decimals) const {
  if (ShownInField(quantity, held, decimals) == RoundToDecimals(shown, decimals)) return held;
  return Held(quantity, shown);
}

double SDisplayUnits::ShownInField(EQuantity quantity, double held, int decimals) const {
  return RoundToDecimals(Shown(quantity, held), decimals);
}

std::string SDisplayUnits::WholeDepthText(double metres) const {
  return Format("%.0f", imperial ? std::floor(Shown(metres) + 0.5) : metres);
}

std::string SDisplayUnits::DepthText(const char* numberFormat, double metres, const char* separator) const {
  return Format(numberFormat, Shown(metres)) + separator + Unit();
}

std::string SDisplayUnits::VolumeNumber(double litres) const {
  return imperial ? Format("%0.1f", Shown(EQuantity::Volume, litres)) : Format("%0.0f", litres);
}

std::string SDisplayUnits::VolumeText(double litres) const { return VolumeNumber(litres) + " " + VolumeUnit(); }

std::string SDisplayUnits::VolumeRateText(double litresPerMinute) const {
  return VolumeNumber(litresPerMinute) + " " + VolumeRateUnit();
}

std::string SDisplayUnits::CylinderNumber(double litres, double workingPressure) const {
  if (imperial) return Format("%0.1f", Shown(EQuantity::Volume, litres));
  return workingPressure > 0.0 ? Format("%0.1f", litres / workingPressure) : std::string();
}

double SDisplayUnits::ShownPressure(double bar) const {
  return imperial ? std::floor(Shown(EQuantity::Pressure, bar) + 0.5) : bar;
}

std::string SDisplayUnits::PressureText(double bar) const {
  return Format("%0.0f %s", ShownPressure(bar), PressureUnit());
}

double RoundToMultiple(double value, double m) {
  if (!(m > 0.0) || !std::isfinite(value)) return value;
  double whole = std::trunc(value / m) * m;
  double remainder = value - whole;
  return whole + m * std::floor(remainder / m + 0.5);
}

}  // namespace kv
