// The planner's own choice of bailout gases: switch depths spaced by a
// constant pressure ratio from the deepest post-bailout depth, a mix for each
// depth from the bailout Max PPO2 and Max EAD, the helium reshaped by the
// counter-diffusion rule, and the shallow mixes leaned until the CNS fits.

#include <algorithm>
#include <cmath>

#include "bailout/tolerance.h"
#include "bailout/bailout_planner.h"
#include "base/strings.h"
#include "base/text.h"
#include "base/units.h"

namespace kv {

using namespace bailout_detail;

int MaxGasSwitchesForDepth(double depth) {
  static constexpr double kDepths[] = {7, 10, 14, 17, 21, 25, 30, 35, 41, 48, 56};
  int count = 1;
  for (double d : kDepths)
    if (d <= depth) ++count;
  return count;
}

double CBailoutPlanner::PressureRatioToSurface(double pressure, int stops) const {
  const double ratio = std::pow(pressure / SurfaceBar(), 1.0 / stops);
  LogF("Pressure ratio to surface %0.6f for bailout pressure %0.1f using %d stops", ratio, pressure, stops);
  return ratio;
}

double CBailoutPlanner::PressureRatioTo6m(double pressure, int stops) const {
  const double ratio = stops == 1 ? 1000.0 : std::pow(pressure / (SurfaceBar() + 0.6), 1.0 / (stops - 1));
  LogF("Pressure ratio to 6m %0.6f for bailout pressure %0.1f using %d stops", ratio, pressure, stops);
  return ratio;
}

double CBailoutPlanner::PressureRatio(double pressure, int stops) const {
  const double ratio = std::min(PressureRatioToSurface(pressure, stops), PressureRatioTo6m(pressure, stops));
  LogF("Pressure ratio %0.6f for bailout pressure %0.1f using %d stops", ratio, pressure, stops);
  return ratio;
}

void CBailoutPlanner::LogSwitches() const {
  if (!m_log.IsOn(kLogProgress)) return;
  Log("Bailout Gas Switches");
  const auto& switches = m_dive.BailoutGasSwitches();
  for (std::size_t i = 0; i < switches.size(); ++i)
    if (switches[i].m_inUse)
      LogF("S%d Depth %0.1f %s", static_cast<int>(i), switches[i].m_depth, switches[i].GasName().c_str());
}

bool CBailoutPlanner::CalculateBailoutSwitchDepths() {
  const double ps = SurfaceBar();
  const double deepest = m_dive.Bailout().deepestPostBailoutDepth;
  const double pbo = ps + deepest / 10.0;
  const double maxPpo2 = m_dive.BailoutSettings().maxPpo2;
  LogF("Calculating bailout gas switch depths from t%d seconds and %0.1fm depth, Max post bailout depth %0.1fm",
       m_dive.Bailout().time, m_dive.Bailout().depth, deepest);
  const int setting = m_dive.BailoutSettings().noOfGasSwitches;
  // The settings page offers 1 to 12; a file may hold anything.
  int n = std::clamp(setting, 1, CDivePlan::kMaxGases);
  const int max = MaxGasSwitchesForDepth(deepest);
  if (n > max) {
    LogF("No of Gas Switches %d too high, max %d  - Less Gases?", n, max);
    if (!m_prompt.AskYesNo(Format(LoadString(1271), n), false, EIcon::Warning)) {
      Log("User choose not to decrease the number of gas switches");
      return false;
    }
    n = max;
  }
  double ratioSurface = PressureRatioToSurface(pbo, n);
  const double limit = maxPpo2 / 0.2;
  if (Above(ratioSurface, limit)) {
    LogF("Pressure Ratio %0.6f > (BoPPO2Max / 0.2) - %0.2f - More Gases?", ratioSurface, limit);
    if (!m_prompt.AskYesNo(Format(LoadString(1270), n), false, EIcon::Question)) {
      Log("User choose not to increase the number of gas switches");
      return false;
    }
    while (true) {
      if (++n > CDivePlan::kMaxGases) {
        Log("No of gas switches > NO_OF_GAS_MIXES");
        return false;
      }
      ratioSurface = PressureRatioToSurface(pbo, n);
      if (!Above(ratioSurface, limit)) break;
      LogF("Pressure Ratio %0.6f > (BoPPO2Max / 0.2) - %0.2f", ratioSurface, limit);
    }
  }
  if (n != setting) m_dive.AdoptBailoutNoOfGasSwitches(n);
  LogF("Using %d gas switches", n);
  const double ratio = PressureRatio(pbo, n);

  auto& switches = m_dive.BailoutGasSwitches();
  double p = pbo;
  for (int k = 0; k < CDivePlan::kMaxGases; ++k) {
    double depth;
    if (k == 0) {
      depth = (p - ps) * 10.0;
    } else {
      p = p / ratio;
      if (Below(p, 1.0, 0.001)) p = 1.0;
      depth = Below(p, ps + 0.6, 0.001) ? 0.0 : std::max(6.0, RoundToMultiple(10.0 * (p - ps), 3.0));
    }
    CGasSwitch& s = switches[static_cast<std::size_t>(k)];
    if (depth > 0.0)
      s.Set(depth, s.m_oxygen, s.m_helium, false, 0.0, true);
    else
      s.Clear();
  }
  return true;
}

CGas CBailoutPlanner::GasForSwitch(double depth, double previousN2, bool isFirst, double targetPpo2) const {
  const SBailoutSettings& b = m_dive.BailoutSettings();
  const double ps = SurfaceBar();
  double target = std::min(targetPpo2, isFirst ? 1.8 : 1.6);
  const double p = ps + depth / 10.0;
  double eadLimit = b.maxEad;
  if (isFirst) {
    // Not above 1.6 at the bailout ceiling either, and the EAD may rise at the
    // switch by no more than the distance to the ceiling.
    const double atCeiling = ps + m_dive.Bailout().ceiling / 10.0;
    if (atCeiling > 0.0) target = std::min(target, 1.6 * p / atCeiling);
    if (!b.ignoreIcd) eadLimit = std::min(eadLimit, depth - m_dive.Bailout().ceiling + m_dive.Bailout().ead);
  }
  const double oxygen = std::floor(std::min(100.0, target * 100.0 / p));
  const double inert = 100.0 - oxygen;
  double nitrogen = (isFirst || b.ignoreIcd) ? std::min((ps + eadLimit / 10.0) * 0.79 / p * 100.0, inert)
                                             : std::min(previousN2, inert);
  // An EAD limit above the surface allows no nitrogen; it never makes the mix exceed 100 %.
  nitrogen = std::max(0.0, nitrogen);
  CGas gas;
  gas.SetOxygen(oxygen);
  gas.SetHelium(inert - std::floor(nitrogen));
  return gas;
}

void CBailoutPlanner::CalculateBailoutSwitchGases(double maxPpo2, double ratio) {
  Log("Calculating bailout gas switch gases");
  auto& switches = m_dive.BailoutGasSwitches();
  double x = maxPpo2;
  double previousN2 = 0.0;
  bool first = true;
  for (CGasSwitch& s : switches) {
    if (!s.m_inUse) continue;
    double target = x;
    if (!first) {
      x = std::min(1.6, x) / ratio;
      target = RoundToMultiple(x, 0.05);
    }
    const CGas gas = GasForSwitch(s.m_depth, previousN2, first, target);
    s.m_oxygen = gas.Oxygen();
    s.m_helium = gas.Helium();
    previousN2 = gas.Nitrogen();
    first = false;
  }
  LogSwitches();
}

bool CBailoutPlanner::FindIcdSwitchValues(int index, double& margin, double& targetEad) const {
  const CGasSwitch& s = m_dive.BailoutGasSwitches()[static_cast<std::size_t>(index)];
  for (const CPlanPoint& p : m_dive.ProfilePoints()) {
    if (!p.m_bailout || p.m_oxygen != s.m_oxygen || p.m_helium != s.m_helium) continue;
    if (std::fabs(p.Depth() - s.m_depth) > 1e-9 * std::max(1.0, s.m_depth)) continue;
    const CPredictionPoint* at = m_dive.Prediction(p.m_start);
    if (!at) return false;
    margin = s.m_depth - at->m_ceiling / 100.0;
    targetEad = std::min(at->m_ead + margin, m_dive.BailoutSettings().maxEad);
    return true;
  }
  return false;
}

bool CBailoutPlanner::OptimiseIcd() {
  LogSwitches();
  auto& switches = m_dive.BailoutGasSwitches();
  const int n = std::min(m_dive.BailoutSettings().noOfGasSwitches, CDivePlan::kMaxGases);
  const double ps = SurfaceBar();
  bool recalculate = true;
  const auto& points = m_dive.BailoutPlanPoints();
  const bool overheadAfterBailout =
      std::any_of(points.begin() + std::clamp<std::ptrdiff_t>(m_dive.Bailout().segmentIndex, 0,
                                                              static_cast<std::ptrdiff_t>(points.size())),
                  points.end(), [](const CPlanPoint& p) { return p.m_noClearSurface != 0; });
  if (n <= 1) {
    Log("No of gas switches = 1 - aborting ICD optimise");
  } else if (overheadAfterBailout) {
    Log("NCS Segment after bailout - aborting ICD optimise");
  } else {
    for (int i = 1; i <= n - 1; ++i) {
      CGasSwitch& s = switches[static_cast<std::size_t>(i)];
      if (s.m_helium == 0.0) {
        Log("Helium = 0.0 - aborting ICD optimise");
        break;
      }
      double margin = 0.0, targetEad = 0.0;
      if (!FindIcdSwitchValues(i, margin, targetEad)) {
        Log("Unable to locate values - aborting ICD optimise");
        recalculate = false;
        break;
      }
      if (margin < 2.0) {
        Log("Allowable ceiling < 2.0 - aborting ICD optimise");
        break;
      }
      const double inert = 100.0 - s.m_oxygen;
      const double nitrogen =
          std::floor(std::min(inert, (ps + targetEad / 10.0) * 0.79 / (ps + s.m_depth / 10.0) * 100.0));
      s.m_helium = inert - nitrogen;
      LogF("Outer Loop - Gas Switch %d being set to %s", i, s.GasName().c_str());
      for (int j = i + 1; j <= n - 1; ++j) {
        CGasSwitch& later = switches[static_cast<std::size_t>(j)];
        if (later.m_helium == 0.0) break;
        const double laterInert = 100.0 - later.m_oxygen;
        const double laterNitrogen = laterInert - later.m_helium;
        later.m_helium = laterInert - std::min(std::floor(laterInert), laterNitrogen);
        LogF("Inner Loop - Gas Switch %d being set to %s", j, later.GasName().c_str());
      }
    }
  }
  LogSwitches();
  if (!UpdateBailoutGasSwitches()) return false;
  return !recalculate || Recalculate();
}

EBailoutResult CBailoutPlanner::FitCns() {
  const SBailoutSettings& b = m_dive.BailoutSettings();
  const double limit = b.maxCns / 100.0;
  double cns = LastCns();
  if (cns <= limit) return EBailoutResult::Planned;
  LogF("PPO2Max %0.1f - CNS of %0.1f%% is above the limit of %0.1f%%", b.maxPpo2, cns * 100.0, limit * 100.0);
  const int n = std::min(b.noOfGasSwitches, CDivePlan::kMaxGases);
  if (n <= 1) {
    // Only the first gas, always mixed for the bailout Max PPO2, is carried:
    // there is no shallow gas whose oxygen could be lowered.
    Log("A single bailout gas has no shallow PPO2 to lower");
  } else {
    // 0.5 itself is tried, also when the steps of 0.05 do not land on it exactly.
    for (double s = std::min(b.maxPpo2, 1.55); s >= 0.5 - kEqualTolerance; s -= 0.05) {
      const double ratio = std::pow(std::min(b.maxPpo2, 1.6) / s, 1.0 / (n - 1));
      m_dive.RestoreBailoutPlanPoints();
      CalculateBailoutSwitchGases(b.maxPpo2, ratio);
      if (!AddBailoutGasSwitches() || !Recalculate()) return EBailoutResult::Failed;
      cns = LastCns();
      if (cns < limit) {
        LogF("Shallow PPO2Max %0.2f - CNS of %0.1f%% is within the limit of %0.1f%%", s, cns * 100.0, limit * 100.0);
        return EBailoutResult::Planned;
      }
      LogF("Shallow PPO2Max %0.2f - CNS of %0.1f%% is above the limit of %0.1f%%", s, cns * 100.0, limit * 100.0);
    }
  }
  Log("Cannot Meet Max CNS% limit with current settings");
  m_prompt.ShowMessage(LoadString(1294), EIcon::Warning);
  return EBailoutResult::LimitNotMet;
}

EBailoutResult CBailoutPlanner::SuggestBailoutGases() {
  // A declined question leaves the switch depths as they were.
  CalculateBailoutSwitchDepths();
  CalculateBailoutSwitchGases(m_dive.BailoutSettings().maxPpo2, 1.0);
  if (!AddBailoutGasSwitches() || !Recalculate()) return EBailoutResult::Failed;
  if (!m_dive.BailoutSettings().ignoreIcd && !OptimiseIcd()) return EBailoutResult::Failed;
  if (m_dive.BailoutSettings().ignoreCns) return EBailoutResult::Planned;
  return FitCns();
}

}  // namespace kv
