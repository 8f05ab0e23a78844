// Open-circuit gas breathed per distinct gas: every second on open circuit,
// at the dive SAC rate, or at the bailout SAC rate after a bailout.

#include "base/status_log.h"
#include "base/text.h"
#include "engine/dive_plan.h"

namespace kv {

bool CDivePlan::ComputeGasConsumption() {
  for (auto& c : m_results.consumption) c = SGasConsumption{};
  m_results.anyConsumption = m_results.diveSacUsed = m_results.bailoutSacUsed = 0;
  const double surface = m_inputs.settings.surfacePressure;
  // Names are compared per second; remember the last match so that a long
  // stretch on one gas does not format names every second.
  int lastRecord = -1;
  double lastO = -1.0, lastHe = -1.0;
  for (std::size_t t = 1; t < m_results.predictions.size(); ++t) {
    const CPredictionPoint& p = m_results.predictions[t];
    if (p.m_closedCircuit) continue;
    double sac;
    if (m_bailoutState.mode && m_results.bailoutWalked && p.m_time > m_results.bailoutSecond) {
      sac = m_inputs.bailoutSettings.sacRate;
      m_results.bailoutSacUsed = 1;
    } else {
      sac = m_inputs.settings.sacRate;
      m_results.diveSacUsed = 1;
    }
    const double litres = (p.m_depthPressure + surface) / 1000.0 * sac / 60.0;
    int record = -1;
    if (lastRecord >= 0 && p.m_oxygen == lastO && p.m_heliumFraction == lastHe) {
      record = lastRecord;
    } else {
      CGas gas;
      gas.SetMix(p.m_oxygen, p.m_heliumFraction);
      const std::string name = gas.Format(false);
      for (int i = 0; i < kMaxGases; ++i) {
        SGasConsumption& c = m_results.consumption[static_cast<std::size_t>(i)];
        if (!c.m_gas.IsValid()) {
          c.m_gas = gas;
          record = i;
          break;
        }
        if (c.m_gas.Format(false) == name) {
          record = i;
          break;
        }
      }
      // A gas the entry check would refuse has no valid name to count under.
      if (record >= 0 && !m_results.consumption[static_cast<std::size_t>(record)].m_gas.IsValid()) record = -1;
      lastRecord = record;
      lastO = p.m_oxygen;
      lastHe = p.m_heliumFraction;
    }
    if (record < 0) continue;
    SGasConsumption& c = m_results.consumption[static_cast<std::size_t>(record)];
    c.m_volume += litres;
    c.m_time += 1.0;
  }
  for (const auto& c : m_results.consumption)
    if (c.m_gas.IsValid() && c.m_volume > 0.0) m_results.anyConsumption = 1;

  const CLeveledLog log = Log();
  if (log.IsOn(kLogProgress)) {
    log.LogAtLevel("Bailout - OC Gas Consumption", kLogProgress);
    for (const auto& c : m_results.consumption)
      if (c.m_gas.IsValid())
        log.LogAtLevelF(kLogProgress, "Bailout - Gas %s Consumption %0.1f (l), time %0.0fs",
                        c.m_gas.Format(false).c_str(), c.m_volume, c.m_time);
  }
  return true;
}

std::string CDivePlan::GasConsumptionRow(int index, const SDisplayUnits& units) const {
  if (index < 0 || index >= kMaxGases) return {};
  const SGasConsumption& c = m_results.consumption[static_cast<std::size_t>(index)];
  if (!c.m_gas.IsValid()) return {};
  const double reserve = GetGasReserve();
  const double pressure = GetCylinderWorkingPressure();
  const double v = (reserve / 100.0 + 1.0) * c.m_volume;
  return c.m_gas.Format(false) + "~" + units.VolumeNumber(v) + "~" + units.CylinderNumber(v, pressure);
}

}  // namespace kv
