#pragma once
// The page shows depths, rates, the last stop and the max EAD in metres or
// in feet; the calculation always works in metres.

#include "base/units.h"

namespace kv {

struct SDisplayUnits {
  bool imperial = false;

  double Shown(double metres) const { return imperial ? metres * kFeetPerMetre : metres; }
  double Metres(double shown) const { return imperial ? shown * kMetresPerFoot : shown; }
  const char* Unit() const { return imperial ? "ft" : "m"; }
  const char* RateUnit() const { return imperial ? "ft/min" : "m/min"; }
};

}  // namespace kv
