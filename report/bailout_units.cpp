#include "report/bailout_units.h"

#include <cmath>

#include "base/text.h"
#include "base/units.h"

namespace kv {

std::string SBailoutUnits::DepthNumber(double metres) const {
  return Format("%0.1f", imperial ? metres * kFeetPerMetre : metres);
}

std::string SBailoutUnits::Depth(double metres) const { return DepthNumber(metres) + " " + DepthUnit(); }

std::string SBailoutUnits::VolumeNumber(double litres) const {
  return imperial ? Format("%0.1f", litres * kCubicFeetPerLitre) : Format("%0.0f", litres);
}

std::string SBailoutUnits::Volume(double litres) const { return VolumeNumber(litres) + " " + VolumeUnit(); }

std::string SBailoutUnits::CylinderNumber(double litresWithReserve, double pressure) const {
  if (imperial) return Format("%0.1f", litresWithReserve * kCubicFeetPerLitre);
  return pressure > 0.0 ? Format("%0.1f", litresWithReserve / pressure) : std::string();
}

std::string SBailoutUnits::Pressure(double bar) const {
  return imperial ? Format("%0.0f psi", std::floor(bar * kPsiPerBar + 0.5)) : Format("%0.0f bar", bar);
}

std::string SBailoutUnits::Rate(double litresPerMinute) const {
  return imperial ? Format("%0.1f cu ft/min", litresPerMinute * kCubicFeetPerLitre)
                  : Format("%0.0f l/min", litresPerMinute);
}

}  // namespace kv
