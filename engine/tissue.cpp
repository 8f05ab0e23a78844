// Nitrogen and helium in 16 compartments, one state per second, the gradient
// factor in force, the ceiling, and the starting state of a dive.

#include <algorithm>
#include <cmath>

#include "base/status_log.h"
#include "base/text.h"
#include "engine/dive_plan.h"

namespace kv {
namespace {

constexpr double kHalfTimeN[16] = {4, 8, 12.5, 18.5, 27, 38.3, 54.3, 77, 109, 146, 187, 239, 305, 390, 498, 635};
constexpr double kHalfTimeH[16] = {1.51,  3.02,  4.72,  6.99,  10.21, 14.48,  20.53,  29.11,
                                   41.2,  55.19, 70.69, 90.34, 115.29, 147.42, 188.24, 240.03};
constexpr double kAN_A[16] = {1259.9, 1000,  861.8, 756.2, 666.7, 593.3, 528.2, 470.1,
                              418.7,  379.8, 349.7, 322.3, 297.1, 273.7, 252.3, 232.7};
constexpr double kAN_C[16] = {1259.9, 1000, 861.8, 756.2, 620,   504.3, 441,   400,
                              375,    350,  329.5, 306.5, 283.5, 261,   248,   232.7};
constexpr double kBN[16] = {0.505,  0.6514, 0.7222, 0.7825, 0.8126, 0.8434, 0.8693, 0.891,
                            0.9092, 0.9222, 0.9319, 0.9403, 0.9477, 0.9544, 0.9602, 0.9653};
constexpr double kAH[16] = {1742.4, 1383,  1191.9, 1045.8, 922,   820.5, 730.5, 650.2,
                            595,    554.5, 533.3,  518.9,  518.1, 517.6, 517.2, 511.9};
constexpr double kBH[16] = {0.4245, 0.5747, 0.6527, 0.7223, 0.7582, 0.7957, 0.8279, 0.8553,
                            0.8757, 0.8903, 0.8997, 0.9073, 0.9122, 0.9171, 0.9217, 0.9267};

// The profile point that holds second t: the one the last second was on
// (guess) when it still does, else the first that does; -1 for none.
int ProfileIndexAt(const std::vector<CPlanPoint>& profile, int guess, int t) {
  const int count = static_cast<int>(profile.size());
  if (guess < count) {
    const CPlanPoint& p = profile[static_cast<std::size_t>(guess)];
    if (p.m_start <= t && t <= p.End()) return guess;
  }
  for (int i = 0; i < count; ++i) {
    const CPlanPoint& c = profile[static_cast<std::size_t>(i)];
    if (c.m_start <= t && t <= c.End()) return i;
  }
  return -1;
}

// Inspired nitrogen and helium (mbar) at ambient pressure less water vapour
// a (mbar) of a gas with nitrogen x and helium he (%): on closed circuit the
// inert part of the diluent shares what the setpoint leaves.
struct SInspired {
  double nitrogen = 0.0;
  double helium = 0.0;
};
SInspired InspiredInert(bool cc, double x, double he, double setpoint, double a) {
  double inN2 = 0.0, inHe = 0.0;
  if (cc) {
    const double inert = x + he;
    if (inert > 0.0) {
      inN2 = x / inert * (a - setpoint * 1000.0);
      inHe = he / inert * (a - setpoint * 1000.0);
    }
  } else {
    inN2 = x / 100.0 * a;
    inHe = he / 100.0 * a;
  }
  if (!(inN2 > 0.0) || !(x > 0.0)) inN2 = 0.0;
  if (!(inHe > 0.0) || !(he > 0.0)) inHe = 0.0;
  return {inN2, inHe};
}

template <typename Array>
std::string Values(const Array& values, const char* format) {
  std::string s;
  for (double v : values) s += Format(format, v);
  return s;
}

void LogCompartments(const CLeveledLog& log, const char* prefix, const std::array<double, kCompartments>& n2,
                     const std::array<double, kCompartments>& he) {
  if (!log.IsOn(kLogProgress)) return;
  std::string n = "Nitrogen ", h = "Helium   ";
  for (int i = 0; i < kCompartments; ++i) {
    n += Format("[%d] %06.1f ", i, n2[static_cast<std::size_t>(i)]);
    h += Format("[%d] %06.1f ", i, he[static_cast<std::size_t>(i)]);
  }
  log.LogAtLevelF(kLogProgress, "%s%s", prefix, n.c_str());
  log.LogAtLevelF(kLogProgress, "%s%s", prefix, h.c_str());
}

}  // namespace

void CDivePlan::SetConstants() {
  for (int i = 0; i < kCompartments; ++i) {
    auto k = static_cast<std::size_t>(i);
    m_halfTimeN[k] = kHalfTimeN[i];
    m_halfTimeH[k] = kHalfTimeH[i];
    m_factorN1s[k] = 1.0 - std::pow(2.0, -1.0 / (kHalfTimeN[i] * 60.0));
    m_factorH1s[k] = 1.0 - std::pow(2.0, -1.0 / (kHalfTimeH[i] * 60.0));
    m_factorN1m[k] = 1.0 - std::pow(2.0, -1.0 / kHalfTimeN[i]);
    m_factorH1m[k] = 1.0 - std::pow(2.0, -1.0 / kHalfTimeH[i]);
    m_BN[k] = kBN[i];
    m_AH[k] = kAH[i];
    m_BH[k] = kBH[i];
  }
  int algorithm = GetAlgorithm();
  // Any other algorithm value leaves the nitrogen a values as they were.
  if (algorithm == 0) std::copy(std::begin(kAN_A), std::end(kAN_A), m_AN.begin());
  if (algorithm == 1) std::copy(std::begin(kAN_C), std::end(kAN_C), m_AN.begin());

  const CLeveledLog log = Log();
  if (!log.IsOn(kLogProgress)) return;
  log.LogAtLevel("ZHL16 Nitrogen [0..15] " + Values(m_halfTimeN, "%.2f "), kLogProgress);
  log.LogAtLevel("ZHL16 Helium [0..15] " + Values(m_halfTimeH, "%.2f "), kLogProgress);
  if (algorithm == 0) log.LogAtLevel("Using ZH-L16A Algorithm", kLogProgress);
  if (algorithm == 1) log.LogAtLevel("Using ZH-L16C Algorithm", kLogProgress);
  log.LogAtLevel("m_AN [0..15] " + Values(m_AN, "%.6f "), kLogProgress);
  log.LogAtLevel("m_BN [0..15] " + Values(m_BN, "%.6f "), kLogProgress);
  log.LogAtLevel("m_AH [0..15] " + Values(m_AH, "%.6f "), kLogProgress);
  log.LogAtLevel("m_BH [0..15] " + Values(m_BH, "%.6f "), kLogProgress);
}

void CDivePlan::InitialiseSurface(CPredictionPoint& p0) {
  const CLeveledLog log = Log();
  log.LogAtLevel("Initialising Tissues to Surface Values", kLogProgress);
  double n = (m_inputs.settings.surfacePressure - kWaterVapour) * 0.79;
  p0.m_nitrogen.fill(n);
  p0.m_helium.fill(0.0);
  p0.m_inspiredNitrogen = n;
  p0.m_inspiredHelium = 0.0;
  p0.m_oxygen = 21.0;
  p0.m_heliumFraction = 0.0;
  LogCompartments(log, "", p0.m_nitrogen, p0.m_helium);
}

void CDivePlan::InitialiseSurfaceInterval(CPredictionPoint& p0, const double* prevN2, const double* prevHe) {
  const CLeveledLog log = Log();
  const int si = m_inputs.settings.surfaceInterval;
  std::array<double, kCompartments> n2{}, he{};
  for (int i = 0; i < kCompartments; ++i) {
    n2[static_cast<std::size_t>(i)] = prevN2[i];
    he[static_cast<std::size_t>(i)] = prevHe[i];
  }
  log.LogAtLevel("Initialising Tissue Values", kLogProgress);
  log.LogAtLevelF(kLogProgress, "Surface Interval %s", Format("%4d:%02d", si / 60, si % 60).c_str());
  log.LogAtLevel("Last Pressures From Previous Dive", kLogProgress);
  LogCompartments(log, "", n2, he);

  p0.m_depthPressure = 0.0;
  const double inspired = (m_inputs.settings.surfacePressure - kWaterVapour) * 0.79;
  p0.m_inspiredNitrogen = inspired;
  p0.m_inspiredHelium = 0.0;
  p0.m_oxygen = 21.0;
  log.LogAtLevelF(kLogProgress, "Inspired Nitrogen %06.1f Helium %06.1f", inspired, 0.0);

  if (GetSurfaceIntervalAlgorithm() != 0) {
    int algorithm = GetAlgorithm();
    log.LogAtLevel(algorithm == 0   ? "Using Buhlmann ZH-L16A algorithm"
                   : algorithm == 1 ? "Using Buhlmann ZH-L16C algoritm"
                                    : "Using invalid algorithm",
                   kLogProgress);
    for (std::size_t i = 0; i < kCompartments; ++i) {
      double old = n2[i];
      n2[i] = old + (inspired - old) * (1.0 - std::pow(2.0, -si / (m_halfTimeN[i] * 60.0)));
      he[i] = he[i] * std::pow(2.0, -si / (m_halfTimeH[i] * 60.0));
    }
  } else {
    log.LogAtLevel("Using Delayed Surface Desaturation method", kLogProgress);
    // The supersaturation of the slowest compartment at the end of the last
    // dive sets how long off-gassing is held back.
    const double s = prevN2[kCompartments - 1] + prevHe[kCompartments - 1] - inspired;
    const int minutes = si > 0 ? si / 60 : 0;
    for (int w = 1; w <= minutes; ++w) {
      double x = (w - (s / 1.708984375 + 61.0)) / 56.3355;
      double denominator = 1.0 + 0.0682667 * s / (1.0 + x * x);
      double f;
      if (denominator == 0.0)
        f = 1.0;
      else
        f = std::clamp(1.0 / denominator, 0.0, 1.0);
      if (!std::isfinite(f)) f = 1.0;
      for (std::size_t i = 0; i < kCompartments; ++i) {
        double kn = m_factorN1m[i];
        if (n2[i] >= inspired) kn *= f;
        n2[i] += kn * (inspired - n2[i]);
        double kh = m_factorH1m[i] * f;
        he[i] += kh * (0.0 - he[i]);
      }
      LogCompartments(log, "", n2, he);
    }
  }
  p0.m_nitrogen = n2;
  p0.m_helium = he;
  log.LogAtLevel("New Starting Pressures", kLogProgress);
  LogCompartments(log, "", n2, he);
}

double CDivePlan::GradientFactor(double q, double ambient, bool afterBailout) const {
  double lo = m_inputs.settings.gfLow, hi = m_inputs.settings.gfHigh;
  if (afterBailout) {
    lo = std::max(lo, m_inputs.bailoutSettings.gfLow);
    hi = std::max(hi, m_inputs.bailoutSettings.gfHigh);
  }
  const double surface = m_inputs.settings.surfacePressure;
  if (lo == hi) return hi / 100.0;
  if (q < surface) return hi / 100.0;
  const double m = m_maxCeiling;
  if (ambient > m) return lo / 100.0;
  const double d = m - (surface + m_inputs.settings.lastDecoStop * 100.0);
  // A max ceiling that never got below the last stop (D = 0, or D < 0 when
  // the surface pressure lifts the last stop above the initial 1600 mbar)
  // means no deep ceiling has occurred yet: GF high applies.
  if (d <= 0.0) return hi / 100.0;
  return (lo + (hi - lo) / d * (m - ambient)) / 100.0;
}

void CDivePlan::ComputeCeiling(CPredictionPoint& point, const CPredictionPoint* previous, bool bailoutSecond) {
  const double surface = m_inputs.settings.surfacePressure;
  const double q = previous ? previous->m_ceiling + surface : 0.0;
  const double ambient = point.m_depthPressure + surface;
  const bool afterBailout = m_results.bailoutWalked && point.m_time >= m_results.bailoutSecond;
  ComputeCeilingWithFactor(point, previous, bailoutSecond, GradientFactor(q, ambient, afterBailout));
}

void CDivePlan::ComputeCeilingWithFactor(CPredictionPoint& point, const CPredictionPoint* previous,
                                         bool bailoutSecond, double g) {
  const double surface = m_inputs.settings.surfacePressure;
  // A negative factor (GF low above GF high, extrapolated towards the
  // surface) would divide by zero below; no supersaturation is the floor.
  if (!(g >= 0.0)) g = 0.0;

  double ceiling = 0.0;
  double maxTissue = 0.0;
  for (std::size_t i = 0; i < kCompartments; ++i) {
    const double n = point.m_nitrogen[i];
    const double h = point.m_helium[i];
    const double p = n + h;
    if (p > maxTissue) maxTissue = p;
    if (!(p > 0.0)) continue;
    const double a = (m_AN[i] * n + m_AH[i] * h) / p;
    const double b = (m_BN[i] * n + m_BH[i] * h) / p;
    const double tolerated = (p - g * a) / (g / b - g + 1.0);
    if (tolerated > ceiling) ceiling = tolerated;
  }

  if (ceiling > m_maxCeiling) m_maxCeiling = ceiling;
  if (bailoutSecond && previous && !(previous->m_maxCeiling > previous->m_ceiling)) {
    Log().LogAtLevelF(kLogProgress,
                            "Replacing max ceiling %0.1f with %0.1f due to bailout trigger and "
                            "inDecompressionZone == true",
                            m_maxCeiling, ceiling);
    m_maxCeiling = ceiling;
  }
  if (maxTissue > m_highestTissuePressure) m_highestTissuePressure = maxTissue;
  point.m_ceiling = ceiling - surface;
  point.m_maxTissuePressure = maxTissue;
  point.m_maxCeiling = m_maxCeiling - surface;
  point.m_runningMaxCeiling = m_maxCeiling;
  point.m_highestTissuePressure = m_highestTissuePressure;
  point.m_gradientFactor = g;
}

void CDivePlan::StepOneSecond(int t) {
  const CPredictionPoint& prev = m_results.predictions[static_cast<std::size_t>(t - 1)];
  CPredictionPoint& point = m_results.predictions.emplace_back();
  point.m_time = t;
  // The emplace may not move earlier elements (chunked storage), so prev stays valid.

  const int index = ProfileIndexAt(m_results.profilePoints, m_profileSearchIndex, t);
  if (index < 0) return;
  m_profileSearchIndex = index;
  if (m_inStepWithReference && TakeReferenceSecond(t, index, point)) return;
  const CPlanPoint& pp = m_results.profilePoints[static_cast<std::size_t>(index)];
  const double pressure =
      DepthPressureAt(pp, index > 0 ? &m_results.profilePoints[static_cast<std::size_t>(index - 1)] : nullptr, t);

  const double surface = m_inputs.settings.surfacePressure;
  const bool cc = pp.m_closedCircuit != 0;
  const double o = pp.m_oxygen, he = pp.m_helium, x = 100.0 - o - he;
  const double setpoint = pp.m_setpoint;

  point.m_depthPressure = pressure;
  point.m_closedCircuit = pp.m_closedCircuit;
  point.m_oxygen = o;
  point.m_heliumFraction = he;
  point.m_bailout = pp.m_bailout;

  const double ppo2 = cc ? setpoint : (pressure + surface) / 1000.0 * o / 100.0;
  point.m_ppo2 = ppo2;
  // The PPO2 is constant over most points (a setpoint, or open circuit at
  // depth): reuse the last second's increments rather than a power per second.
  if (ppo2 != m_lastPpo2) {
    m_lastPpo2 = ppo2;
    m_lastCnsIncrement = CnsIncrement(ppo2, 1.0);
    m_lastOtuIncrement = OtuIncrement(ppo2, 1.0);
  }
  point.m_cns = prev.m_cns + m_lastCnsIncrement;
  point.m_otu = prev.m_otu + m_lastOtuIncrement;

  double n;
  if (cc)
    n = (x + he) > 0.0 ? x / (x + he) * (pressure / 1000.0 + surface / 1000.0 - setpoint) : 0.0;
  else
    n = (pressure / 1000.0 + 1.0) * x / 100.0;
  const double ead = (n / 0.79 - 1.0) * 10.0;
  point.m_ead = ead > 0.0 ? ead : 0.0;

  const SInspired inspired = InspiredInert(cc, x, he, setpoint, surface + pressure - kWaterVapour);
  const double inN2 = inspired.nitrogen, inHe = inspired.helium;
  point.m_inspiredNitrogen = inN2;
  point.m_inspiredHelium = inHe;

  for (std::size_t i = 0; i < kCompartments; ++i) {
    point.m_nitrogen[i] = prev.m_nitrogen[i] + m_factorN1s[i] * (inN2 - prev.m_nitrogen[i]);
    point.m_helium[i] = prev.m_helium[i] + m_factorH1s[i] * (inHe - prev.m_helium[i]);
  }

  ComputeCeiling(point, &prev, m_results.bailoutWalked && t == m_results.bailoutSecond);
  MarkIcdRisk(t);
  if (m_inStepWithReference) CompareWithReference(t, point);
}

bool CDivePlan::TakeReferenceSecond(int t, int index, CPredictionPoint& point) {
  const CDivePlan& ref = *m_stepReference;
  // From the bailout on the gradient factors and limits are the bailout's.
  if (m_useBailoutRates || t >= ref.PredictionCount() ||
      index >= static_cast<int>(ref.m_results.profilePoints.size())) {
    m_inStepWithReference = false;
    return false;
  }
  const CPlanPoint& p = m_results.profilePoints[static_cast<std::size_t>(index)];
  const CPlanPoint& r = ref.m_results.profilePoints[static_cast<std::size_t>(index)];
  const double before =
      index > 0 ? m_results.profilePoints[static_cast<std::size_t>(index - 1)].m_depthPressure : p.m_depthPressure;
  const double refBefore =
      index > 0 ? ref.m_results.profilePoints[static_cast<std::size_t>(index - 1)].m_depthPressure : r.m_depthPressure;
  // A level point gives every second the same depth, however long it grows;
  // a sloped one is computed (its seconds depend on its length when stepped).
  const bool same = p.m_depthPressure == before && r.m_depthPressure == refBefore && before == refBefore &&
                    p.m_depthPressure == r.m_depthPressure && p.m_start == r.m_start && t <= r.End() &&
                    p.m_closedCircuit == r.m_closedCircuit && p.m_oxygen == r.m_oxygen && p.m_helium == r.m_helium &&
                    p.m_setpoint == r.m_setpoint && p.m_bailout == r.m_bailout;
  if (!same) return false;
  point = ref.m_results.predictions[static_cast<std::size_t>(t)];
  m_maxCeiling = point.m_runningMaxCeiling;
  m_highestTissuePressure = point.m_highestTissuePressure;
  m_icdCarry = point.m_icdRisk;
  m_lastPpo2 = -1.0;
  return true;
}

void CDivePlan::CompareWithReference(int t, const CPredictionPoint& point) {
  const CDivePlan& ref = *m_stepReference;
  if (m_useBailoutRates || t >= ref.PredictionCount()) {
    m_inStepWithReference = false;
    return;
  }
  const CPredictionPoint& r = ref.m_results.predictions[static_cast<std::size_t>(t)];
  m_inStepWithReference = point.m_nitrogen == r.m_nitrogen && point.m_helium == r.m_helium &&
                          point.m_runningMaxCeiling == r.m_runningMaxCeiling && point.m_ceiling == r.m_ceiling &&
                          point.m_highestTissuePressure == r.m_highestTissuePressure && point.m_cns == r.m_cns &&
                          point.m_otu == r.m_otu && point.m_icdRisk == r.m_icdRisk && point.m_ead == r.m_ead &&
                          point.m_depthPressure == r.m_depthPressure && point.m_ppo2 == r.m_ppo2;
}

void CDivePlan::StepSeconds() {
  if (m_results.profilePoints.empty()) return;
  const int end = m_results.profilePoints.back().End();
  for (int t = m_lastComputedSecond + 1; t <= end; ++t) StepOneSecond(t);
  if (end > m_lastComputedSecond) m_lastComputedSecond = end;
}

void CDivePlan::CutPredictionsAfter(int second) {
  if (second < 0) second = 0;
  m_results.predictions.resize_down(static_cast<std::size_t>(second) + 1);
  m_lastComputedSecond = static_cast<int>(m_results.predictions.size()) - 1;
}

double CDivePlan::NextStopDepth(int t, double d) const {
  const CPredictionPoint* p = Prediction(t - 1);
  if (!p) p = LastPrediction();
  if (!p) return -1;
  const double c = p->m_ceiling / 100.0;
  const double l = m_inputs.settings.lastDecoStop;
  if (!(c >= 0.0)) return -1;
  if (c < d && l <= d) return -1;
  if (l >= c) return l;
  double s = l;
  // The grid above 6 m is 3 m whatever the last stop is; a last stop of 0 or
  // less starts the grid at 6 m.
  if (s < c && s < 6.0) s = 6.0;
  if (c - s > 30000.0) s += 3.0 * std::floor((c - s) / 3.0 - 1.0);  // absurd ceilings: skip ahead
  while (s < c) s += 3.0;
  return s;
}

}  // namespace kv
