#include "engine/compartment_loads.h"

#include <algorithm>

#include "engine/dive_plan.h"

namespace kv {

std::vector<SCompartmentLoad> CompartmentLoads(const CDivePlan& dive, int second) {
  std::vector<SCompartmentLoad> loads;
  const int n = dive.PredictionCount();
  if (n == 0) return loads;
  const CPredictionPoint* state = dive.Prediction(std::clamp(second, 0, n - 1));
  const double surface = dive.GetSurfacePressure();
  const double g = dive.GetGfHigh() / 100.0;
  loads.resize(kCompartments);
  for (std::size_t c = 0; c < loads.size(); ++c) {
    SCompartmentLoad& load = loads[c];
    load.nitrogen = state->m_nitrogen[c];
    load.helium = state->m_helium[c];
    const double p = load.nitrogen + load.helium;
    if (p <= 0.0) continue;
    const double a = (dive.AN()[c] * load.nitrogen + dive.AH()[c] * load.helium) / p;
    const double b = (dive.BN()[c] * load.nitrogen + dive.BH()[c] * load.helium) / p;
    const double limit = b > 0.0 ? surface * (g / b - g + 1.0) + a * g : 0.0;
    if (limit <= 0.0) continue;
    load.percent = p / limit * 100.0;
    load.nitrogenPercent = load.percent * load.nitrogen / p;
  }
  return loads;
}

}  // namespace kv
