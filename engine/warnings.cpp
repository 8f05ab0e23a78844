// Gas checks: the entry check of a point, the warnings of every second, the
// counter-diffusion marking at gas changes and the per-gas warning list.

#include <algorithm>

#include "base/prompt.h"
#include "base/strings.h"
#include "base/text.h"
#include "base/units.h"
#include "engine/dive_plan.h"
#include "gas/gas_checks.h"

namespace kv {
bool CDivePlan::CheckGasEntry(double depth, double oxygen, double helium, bool closedCircuit, double setpoint,
                              bool bailoutLimits) const {
  if (m_skipEntryCheck) return true;
  const SGasEntryCheck check = CheckGasEntryValues(
      depth, oxygen, helium, closedCircuit, setpoint,
      bailoutLimits ? m_inputs.bailoutSettings.maxPpo2 : m_inputs.settings.maxPpo2,
      bailoutLimits ? m_inputs.bailoutSettings.maxEad : m_inputs.settings.maxEad, OwnerSettings().units);
  if (!check.accepted) UserPrompt().ShowMessage(check.message, check.icon);
  return check.accepted;
}

bool CDivePlan::CheckSurfacePointEntry(double entryDepth, double oxygen, double helium, bool closedCircuit,
                                       double setpoint) const {
  if (m_skipEntryCheck) return true;
  const SGasEntryCheck check =
      CheckSurfacePointValues(entryDepth, oxygen, helium, closedCircuit, setpoint, m_inputs.settings.maxPpo2,
                              m_inputs.settings.maxEad, OwnerSettings().units);
  if (!check.accepted) UserPrompt().ShowMessage(check.message, check.icon);
  return check.accepted;
}

bool CDivePlan::EvaluatePointWarnings(CPredictionPoint& point) const {
  const bool bailout = point.m_bailout != 0;
  const double eadLimit = bailout ? m_inputs.bailoutSettings.maxEad : m_inputs.settings.maxEad;
  const double ppo2Limit = bailout ? m_inputs.bailoutSettings.maxPpo2 : m_inputs.settings.maxPpo2;
  int flags = 0;
  point.m_minPpo2 = kMinPpo2;
  if (CnsAboveLimit(point.m_cns)) flags |= kWarnCns;
  if (OtuAboveLimit(point.m_otu)) flags |= kWarnOtu;
  point.m_maxEadLimit = RoundToMultiple(eadLimit, 1.0);
  if (point.m_maxEadLimit + kLimitTolerance < point.m_ead) flags |= kWarnEad;
  point.m_maxPpo2Limit = RoundToMultiple(ppo2Limit, 0.01);
  const double ppo2 = RoundToMultiple(point.m_ppo2, 0.01);
  if (ppo2 > point.m_maxPpo2Limit + kLimitTolerance) flags |= kWarnPpo2High;
  if (ppo2 < point.m_minPpo2 - kLimitTolerance) flags |= kWarnPpo2Low;
  if (point.m_icdRisk) flags |= kWarnIcd;
  point.m_warningFlags = flags;
  point.m_noWarning = flags == 0;
  return flags == 0;
}

std::string CDivePlan::GetWarningText(int t) const {
  const CPredictionPoint* p = Prediction(t);
  if (!p) return {};
  const int f = p->m_warningFlags;
  std::string s;
  if (f & kWarnCns) s += Format("CNS %0.1f%%", CnsPercent(p->m_cns)) + "#";
  if (f & kWarnOtu) s += Format("OTU %0.1f%%", OtuPercentOfLimit(p->m_otu)) + "#";
  if (f & kWarnEad) s += "Max EAD " + m_results.calculationSettings.units.DepthText("%0.1f", p->m_ead) + "#";
  if (f & kWarnPpo2High) s += Format("PPO2 %0.2f", p->m_ppo2) + "#";
  if (f & kWarnPpo2Low) s += Format("PPO2 %0.2f", p->m_ppo2) + "#";
  if (f & kWarnIcd) s += "Isobaric Counter Diffusion Risk#";
  return s;
}

void CDivePlan::MarkIcdRisk(int index) {
  if (index < 1 || index >= PredictionCount()) return;
  CPredictionPoint& p = m_results.predictions[static_cast<std::size_t>(index)];
  const CPredictionPoint& q = m_results.predictions[static_cast<std::size_t>(index - 1)];
  const bool same = p.m_oxygen == q.m_oxygen && p.m_heliumFraction == q.m_heliumFraction &&
                    p.m_closedCircuit == q.m_closedCircuit && (!p.m_closedCircuit || p.m_ppo2 == q.m_ppo2);
  if (!same) {
    const double margin = p.m_depthPressure / 100.0 - std::max(p.m_ceiling / 100.0, 0.0);
    m_icdCarry = (p.m_ead - q.m_ead) > margin;
  }
  p.m_icdRisk = m_icdCarry;
}

SWarningSummary CDivePlan::SummariseWarnings(int first, int last) const {
  SWarningSummary s;
  const SDisplayUnits& units = m_results.calculationSettings.units;
  const double surfaceBar = m_inputs.settings.surfacePressure / 1000.0;
  for (int t = std::max(first, 0); t <= last && t < PredictionCount(); ++t) {
    const CPredictionPoint& p = m_results.predictions[static_cast<std::size_t>(t)];
    const int flags = p.m_warningFlags;
    s.flags |= flags;
    if ((flags & kWarnIcd) && s.icd.empty()) s.icd = "ICD Risk";
    if ((flags & kWarnEad) && s.ead.empty())
      s.ead = "EAD " + units.DepthText("%0.0f", p.m_maxEadLimit) + " @ " +
              units.DepthText("%0.0f", p.m_depthPressure / 100.0);
    const double fraction = p.m_oxygen / 100.0;
    if ((flags & kWarnPpo2Low) && s.lowO2.empty()) {
      if (p.m_closedCircuit) {
        s.lowO2 = Format("Low O2 < %0.2f Min PPO2", p.m_minPpo2);
      } else {
        const double depth = fraction > 0.0 ? (p.m_minPpo2 / fraction - surfaceBar) * 10.0 : 0.0;
        s.lowO2 = Format("Low O2 %0.2f @ < ", p.m_minPpo2) + units.DepthText("%0.0f", depth);
      }
    }
    if ((flags & kWarnPpo2High) && s.highO2.empty()) {
      if (p.m_closedCircuit) {
        s.highO2 = Format("High O2 > %0.2f Max PPO2", p.m_maxPpo2Limit);
      } else {
        const double depth = fraction > 0.0 ? (p.m_maxPpo2Limit / fraction - surfaceBar) * 10.0 : 0.0;
        s.highO2 = Format("High O2 %0.2f @ > ", p.m_maxPpo2Limit) + units.DepthText("%0.0f", depth);
      }
    }
  }
  return s;
}

void CDivePlan::AddGasWarning(double oxygen, double helium, const std::string& icdText, const std::string& eadText,
                              const std::string& highO2Text, const std::string& lowO2Text) {
  for (CDiveGasWarning& w : m_results.gasWarnings) {
    if (w.m_gas.Oxygen() == oxygen && w.m_gas.Helium() == helium) {
      if (!icdText.empty()) w.m_icd = icdText;
      if (!eadText.empty()) w.m_ead = eadText;
      if (!highO2Text.empty()) w.m_highO2 = highO2Text;
      if (!lowO2Text.empty()) w.m_lowO2 = lowO2Text;
      return;
    }
  }
  CDiveGasWarning w;
  if (!w.m_gas.SetMix(oxygen, helium)) {
    // Keep the record's percentages even for a mix the entry check would refuse.
    w.m_gas.SetHelium(helium);
    w.m_gas.SetOxygen(oxygen);
  }
  w.m_icd = icdText;
  w.m_ead = eadText;
  w.m_highO2 = highO2Text;
  w.m_lowO2 = lowO2Text;
  m_results.gasWarnings.push_back(std::move(w));
}

std::string CDivePlan::GasWarningText(int index) const {
  if (index < 0 || index >= static_cast<int>(m_results.gasWarnings.size())) return "Invalid";
  return m_results.gasWarnings[static_cast<std::size_t>(index)].DisplayText();
}

}  // namespace kv
