#include "gas/gas_checks.h"

#include "base/strings.h"
#include "base/text.h"

namespace kv {
namespace {

std::string WithSuffix(std::string text, int suffixId) {
  text += " (";
  text += LoadString(suffixId);
  text += ")";
  return text;
}

}  // namespace

SGasCheck CheckTableGasPpo2(double oxygen, double depth, double depthOffset, double maxPpo2, const SDisplayUnits& units) {
  SGasCheck result;
  double ppo2 = RoundToMultiple(OcPpo2(oxygen, depth + depthOffset), 0.01);
  if (ppo2 < kMinPpo2 - kLimitTolerance) {
    result.severity = kGasCheckError;
    result.text = WithSuffix(
        Format(LoadString(1552), ppo2, kMinPpo2, units.Shown(depth), units.Unit()), kMsgFail);
  } else if (ppo2 > RoundToMultiple(maxPpo2, 0.01) + kLimitTolerance) {
    result.severity = kGasCheckError;
    result.text = WithSuffix(
        Format(LoadString(1553), ppo2, maxPpo2, units.Shown(depth), units.Unit()), kMsgFail);
  }
  return result;
}

SGasCheck CheckTableGasEad(double oxygen, double helium, bool closedCircuit, double setpoint, double depth,
                           double depthOffset, double maxEad, const SDisplayUnits& units) {
  SGasCheck result;
  double ead = Ead(oxygen, helium, depth + depthOffset, closedCircuit ? setpoint : 0.0, closedCircuit);
  if (ead > RoundToMultiple(maxEad, 1.0) + kLimitTolerance) {
    const char* unit = units.Unit();
    result.severity = kGasCheckWarning;
    result.text = WithSuffix(Format(LoadString(1554), units.Shown(ead), unit, units.Shown(depth), unit,
                                    units.Shown(maxEad), unit),
                             kMsgWarning);
  }
  return result;
}

SGasCheck CheckTableGas(const CGasSwitch& gasSwitch, double depth, double depthOffset, double maxPpo2,
                        double maxEad, const SDisplayUnits& units) {
  if (!gasSwitch.m_closedCircuit) {
    SGasCheck ppo2 = CheckTableGasPpo2(gasSwitch.m_oxygen, depth, depthOffset, maxPpo2, units);
    if (ppo2.severity != kGasCheckFine) return ppo2;
  }
  return CheckTableGasEad(gasSwitch.m_oxygen, gasSwitch.m_helium, gasSwitch.m_closedCircuit,
                          gasSwitch.m_setpoint, depth, depthOffset, maxEad, units);
}

SGasEntryCheck CheckGasEntryValues(double depth, double oxygen, double helium, bool closedCircuit,
                                   double setpoint, double maxPpo2, double maxEad, const SDisplayUnits& units) {
  SGasEntryCheck result;
  CGas gas;
  if (!gas.SetMix(oxygen, helium)) {
    result.accepted = false;
    result.message = LoadString(1263);
    return result;
  }
  double ppo2 = closedCircuit ? setpoint : OcPpo2(oxygen, depth);
  if (ppo2 < kMinPpo2 - kLimitTolerance) {
    result.accepted = false;
    result.message = Format(LoadString(1260), ppo2, kMinPpo2);
  } else if (ppo2 > maxPpo2 + kLimitTolerance) {
    result.accepted = false;
    result.message = Format(LoadString(1261), ppo2, maxPpo2);
  } else {
    double ead = Ead(oxygen, helium, depth, setpoint, closedCircuit);
    if (ead > maxEad + kLimitTolerance) {
      result.accepted = false;
      result.icon = EIcon::Question;
      const char* unit = units.Unit();
      result.message = Format(LoadString(1262), units.Shown(ead), unit, units.Shown(maxEad), unit);
    }
  }
  return result;
}

SGasEntryCheck CheckSurfacePointValues(double entryDepth, double oxygen, double helium, bool closedCircuit,
                                       double setpoint, double maxPpo2, double maxEad, const SDisplayUnits& units) {
  SGasEntryCheck result = CheckGasEntryValues(0.0, oxygen, helium, closedCircuit, setpoint, maxPpo2, maxEad, units);
  if (result.accepted) return result;
  const double ppo2 = closedCircuit ? setpoint : OcPpo2(oxygen, 0.0);
  if (ppo2 < kMinPpo2 - kLimitTolerance) {
    const char* unit = units.Unit();
    result.message = Format(LoadString(kMsgSurfacePointHypoxic), units.Shown(entryDepth), unit,
                            GasName(oxygen, helium).c_str(), ppo2, kMinPpo2, unit, units.Shown(entryDepth), unit);
  }
  return result;
}

}  // namespace kv
