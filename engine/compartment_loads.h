#pragma once
// How near each compartment is to the pressure it may hold at the surface:
// what the tissue chart and the details window show.

#include <vector>

namespace kv {

class CDivePlan;

// One compartment at one second.
struct SCompartmentLoad {
  double nitrogen = 0.0;         // mbar
  double helium = 0.0;           // mbar
  double percent = 0.0;          // (nitrogen + helium) / tolerated surface pressure under GF High x 100
  double nitrogenPercent = 0.0;  // the nitrogen share of percent
};

// The 16 compartments at second (a second past the dive's last: the last);
// empty for a dive without calculated seconds. The tolerated pressure is
// L = P x (g / b - g + 1) + a x g with P the surface pressure, g GF High / 100
// and a, b the nitrogen and helium coefficients weighted by the pressures.
std::vector<SCompartmentLoad> CompartmentLoads(const CDivePlan& dive, int second);

}  // namespace kv
