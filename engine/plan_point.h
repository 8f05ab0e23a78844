#pragma once
// The point, per-second and segment types that the engine, the files and the
// reports share. Depths are metres (positive down), pressures mbar, times
// whole seconds of run time (the dive starts at second 1).

#include <array>
#include <cstdint>
#include <string>

#include "gas/gas.h"

namespace kv {

inline constexpr int kCompartments = 16;

// Kinds of profile point.
enum EPointKind : int { kKindNone = 0, kKindDescent = 1, kKindPlanned = 2, kKindAscent = 3, kKindDecoAscent = 4, kKindDeco = 5 };
// "None", "Descent", "Planned", "Ascent", "Deco Ascent", "Deco", else "Invalid".
const char* PointKindText(int kind);

// One point of any point list (user, plan-plus, profile, bailout).
struct CPlanPoint {
  double m_depthPressure = 0.0;  // mbar gauge, depth x 100
  double m_setpoint = 0.7;       // bar
  double m_oxygen = 21.0;        // %
  double m_helium = 0.0;         // %
  double m_source = -1.0;        // user points -1; profile points: plan-plus number (+0.01 per inserted segment)
  int m_start = 0;               // run time second at which the point starts
  int m_duration = 0;            // seconds
  int m_reservedIndex = -1;
  std::uint8_t m_closedCircuit = 1;
  std::uint8_t m_noClearSurface = 0;
  std::uint8_t m_bailout = 0;
  int m_kind = kKindNone;

  // Metres, never below 0.
  double Depth() const { return m_depthPressure > 0.0 ? m_depthPressure / 100.0 : 0.0; }
  void SetDepth(double metres) { m_depthPressure = metres * 100.0; }
  // start + duration - 1, or start for a point of no duration.
  int End() const { return m_duration > 0 ? m_start + m_duration - 1 : m_start; }
  // Same gas, mode and (on closed circuit) setpoint.
  bool SameBreathing(const CPlanPoint& other) const;
  // Every field equal, bit for bit in practice (results are compared this
  // way to prove that calculations on several threads give the sequential ones).
  bool operator==(const CPlanPoint&) const = default;
};

// What the user enters for a point of a dive (the rest of a point is the
// calculation's).
struct SEnteredPoint {
  int duration = 0;            // seconds
  double depthPressure = 0.0;  // mbar gauge, depth x 100
  bool closedCircuit = false;
  double oxygen = 21.0;   // %
  double helium = 0.0;    // %
  double setpoint = 0.7;  // bar
  bool noClearSurface = false;
};

// The depth pressure at run time second t of point: the depth of the point
// before it (previous; its own for the first point) at its start second, then
// a straight line to its own depth at its end second.
inline double DepthPressureAt(const CPlanPoint& point, const CPlanPoint* previous, int t) {
  const double from = previous ? previous->m_depthPressure : point.m_depthPressure;
  const int start = point.m_start, end = point.End();
  if (end == start) return from;
  return from + static_cast<double>(t - start) / static_cast<double>(end - start) * (point.m_depthPressure - from);
}

// Warning flag bits shared by prediction points, segments and reports.
enum EWarningFlag : int {
  kWarnEad = 0x01,
  kWarnCns = 0x02,
  kWarnOtu = 0x04,
  kWarnPpo2High = 0x08,
  kWarnPpo2Low = 0x10,
  kWarnIcd = 0x20,
};

// The oxygen exposure a diver must not pass: CNS 100 % (held as a fraction,
// 1.0) and 300 OTU. The per-second warnings, the tables and kvplan flag a
// dive above them.
inline constexpr double kCnsWarningLimit = 1.0;
inline constexpr double kOtuWarningLimit = 300.0;
inline bool CnsAboveLimit(double cns) { return cns > kCnsWarningLimit; }
inline bool OtuAboveLimit(double otu) { return otu > kOtuWarningLimit; }
// As the texts show them: CNS in percent, OTU in percent of its limit.
inline double CnsPercent(double cns) { return cns * 100.0; }
inline double OtuPercentOfLimit(double otu) { return otu / kOtuWarningLimit * 100.0; }

// The diver's state at one second of run time; index = second.
struct CPredictionPoint {
  int m_time = 0;
  int m_warningFlags = 0;
  std::uint8_t m_closedCircuit = 0;
  std::uint8_t m_noWarning = 0;
  std::uint8_t m_icdRisk = 0;
  std::uint8_t m_bailout = 0;
  double m_ceiling = 0.0;                // mbar gauge; negative when the surface is reachable
  double m_maxTissuePressure = 0.0;      // mbar, largest N2 + He of any compartment
  double m_maxCeiling = 0.0;             // mbar gauge, deepest ceiling so far
  double m_highestTissuePressure = 0.0;  // largest max tissue pressure so far
  // mbar absolute: the calculation's running max ceiling after this second,
  // exactly as the walk holds it (m_maxCeiling is the same less the surface).
  double m_runningMaxCeiling = 0.0;
  std::array<double, kCompartments> m_nitrogen{};
  std::array<double, kCompartments> m_helium{};
  double m_depthPressure = 0.0;  // mbar gauge
  double m_gradientFactor = 0.0; // fraction
  double m_cns = 0.0;            // fraction
  double m_otu = 0.0;
  double m_ead = 0.0;            // m, not below 0
  double m_inspiredNitrogen = 0.0;  // mbar
  double m_inspiredHelium = 0.0;    // mbar
  double m_ppo2 = 0.0;              // bar
  double m_oxygen = 0.0;            // %
  double m_heliumFraction = 0.0;    // %
  double m_minPpo2 = kMinPpo2;
  double m_maxPpo2Limit = 0.0;
  double m_maxEadLimit = 0.0;

  CPredictionPoint() = default;
  explicit CPredictionPoint(int time) : m_time(time) {}
  bool operator==(const CPredictionPoint&) const = default;
};

// One printable segment of a calculated dive.
enum ESegmentKind : int {
  kSegPrinted = 0,
  kSegTravel = 1,
  kSegBottom = 2,
  kSegAscent = 3,
  kSegFirstAscent = 4,
  kSegAscentToSurface = 5,
  kSegDecoStop = 6,
  kSegGasSwitch = 7,
};
// "", "Travel", "BottomDepth", "Ascent", "First Ascent", "", "Deco Stop", "Gas Switch".
const char* SegmentKindName(int kind);

struct CDiveSegment {
  int m_end = 0;
  int m_duration = 0;
  int m_kind = 0;
  int m_warningFlags = 0;
  double m_oxygen = 0.0;
  double m_helium = 0.0;
  double m_depth = 0.0;  // m
  double m_ppo2 = 0.0;   // setpoint on closed circuit
  std::uint8_t m_closedCircuit = 0;
  std::uint8_t m_noClearSurface = 0;
  bool operator==(const CDiveSegment&) const = default;
};

// One record per distinct gas of a calculated dive.
struct CDiveGasWarning {
  CGas m_gas;
  std::string m_lowO2;
  std::string m_highO2;
  std::string m_ead;
  std::string m_icd;
  // Long-form gas name, then "~" and each non-empty text in the order ICD, EAD, high O2, low O2.
  std::string DisplayText() const;
};

// A gas range of gas-switch-schedule mode.
struct SGasRange {
  double m_fromDepth = 0.0;
  double m_toDepth = 0.0;
  std::uint8_t m_closedCircuit = 0;
  double m_oxygen = 0.0;
  double m_helium = 0.0;
  double m_setpoint = 0.0;
  std::uint8_t m_inUse = 0;
};

// Open-circuit gas breathed, per distinct gas.
struct SGasConsumption {
  CGas m_gas;          // invalid for a free record
  double m_volume = 0; // litres at surface pressure
  double m_time = 0;   // seconds
};

}  // namespace kv
