#pragma once
// Depths, gas volumes, cylinders and pressures of the bailout summaries (the
// bailout summary and sweep of kvplan, the worst-case document and window)
// in the user's units. Metric: metres, litres, and a cylinder's size in litres
// at the working pressure in bar. Imperial: feet, cubic feet, and, as the gas
// consumption tables give it, a cylinder's gas capacity in cubic feet at the
// working pressure in psi. Numbers are written in the C locale.

#include <string>

namespace kv {

struct SBailoutUnits {
  bool imperial = false;

  std::string DepthNumber(double metres) const;  // "30.0" or "97.7"
  std::string Depth(double metres) const;        // "30.0 m" or "97.7 ft"
  const char* DepthUnit() const { return imperial ? "ft" : "m"; }
  std::string VolumeNumber(double litres) const;  // "1234" or "43.6"
  std::string Volume(double litres) const;        // "1234 l" or "43.6 cu ft"
  const char* VolumeUnit() const { return imperial ? "cu ft" : "l"; }
  // The cylinder for litresWithReserve at pressure (bar): "6.8" litres, or
  // "43.6" cubic feet; empty in metric units without a working pressure.
  std::string CylinderNumber(double litresWithReserve, double pressure) const;
  std::string Pressure(double bar) const;         // "240 bar" or "3481 psi"
  std::string Rate(double litresPerMinute) const;  // "30 l/min" or "1.1 cu ft/min"
};

}  // namespace kv
