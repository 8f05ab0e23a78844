#pragma once
// Gas checks at the level of plain values: the decision of the entry check for
// a user point, and the checks of the gases of a table generation schedule.
// Depths are metres; messages show them in the display units.

#include <string>

#include "base/prompt.h"
#include "base/units.h"
#include "gas/gas_switch.h"

namespace kv {

// Every limit (PPO2, EAD) is compared with this tolerance, after any rounding,
// so that a value equal to its limit on paper is accepted although its binary
// form misses it in the last digit ((50 / 10 + 1) x 0.21 is 1.2600000000000002).
// The entry check, the schedule checks and the warnings of every second of a
// calculated dive all compare this way.
inline constexpr double kLimitTolerance = 1e-9;

// Severities of a table generation check.
enum EGasCheckSeverity : int { kGasCheckFine = 0, kGasCheckWarning = 1, kGasCheckError = 2 };

struct SGasCheck {
  EGasCheckSeverity severity = kGasCheckFine;
  std::string text;  // empty when fine
};

// The open-circuit PPO2 checks of a scheduled gas. The PPO2 is taken at
// depth + depthOffset (the offset turns the surface pressure into extra
// depth); the message names depth. Hypoxic (string 1552) or hyperoxic (1553)
// gives an error with the suffix " (Fail)". The PPO2 and the limit are
// compared at 0.01 bar, as the warnings of a calculated dive compare them, so
// that a gas the dive would not flag is not refused here.
SGasCheck CheckTableGasPpo2(double oxygen, double depth, double depthOffset, double maxPpo2, const SDisplayUnits& units);

// The EAD check of a scheduled gas, on its setpoint when closed circuit: an
// EAD above the limit (rounded to whole metres, as in a calculated dive) gives
// a warning (string 1554, suffix " (Warning)") naming the EAD, depth and limit.
SGasCheck CheckTableGasEad(double oxygen, double helium, bool closedCircuit, double setpoint, double depth,
                           double depthOffset, double maxEad, const SDisplayUnits& units);

// Both in turn for one switch's gas at one depth: the PPO2 checks for an
// open-circuit gas, then the EAD check; the first finding is returned.
SGasCheck CheckTableGas(const CGasSwitch& gasSwitch, double depth, double depthOffset, double maxPpo2,
                        double maxEad, const SDisplayUnits& units);

// The entry check of a user point, as a decision: accepted, or refused with
// the message to show and its icon. On closed circuit the PPO2 is the setpoint.
// A value at its limit is accepted. CDivePlan::CheckGasEntry shows the message.
struct SGasEntryCheck {
  bool accepted = true;
  std::string message;
  EIcon icon = EIcon::Exclamation;
};
SGasEntryCheck CheckGasEntryValues(double depth, double oxygen, double helium, bool closedCircuit,
                                   double setpoint, double maxPpo2, double maxEad, const SDisplayUnits& units);

// The entry check of the surface point that the first entry of a dive brings
// with it: the entry's gas, mode and setpoint at 0 m. A gas refused there as
// hypoxic (a bottom mix that is fine at entryDepth) is refused with a message
// that says the program adds that point itself, and what to do instead.
SGasEntryCheck CheckSurfacePointValues(double entryDepth, double oxygen, double helium, bool closedCircuit,
                                       double setpoint, double maxPpo2, double maxEad, const SDisplayUnits& units);

}  // namespace kv
