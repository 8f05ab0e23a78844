#pragma once
// Units: the program's conversion factors, the display units the user chose
// and the rounding rule shared by limits, PPO2 values and switch depths.
//
// Everything is held metric: metres, metres per minute, litres, litres per
// minute, bar. Only what the user sees (pages, messages, reports) is in
// imperial units when the "General\Units" preference asks for them. Every
// conversion, unit label and unit-dependent number text goes through
// SDisplayUnits; a front end reads the preference once and passes the value down.

#include <string>

namespace kv {

inline constexpr double kFeetPerMetre = 3.2568;
inline constexpr double kMetresPerFoot = 0.30705;
inline constexpr double kCubicFeetPerLitre = 0.03531467;
inline constexpr double kLitresPerCubicFoot = 28.31685;
inline constexpr double kPsiPerBar = 14.50377;
inline constexpr double kBarPerPsi = 0.06894757;

// A depth converted from feet and back is not the depth it started from
// (3.2568 x 0.30705 is not 1). Where such a depth meets one held exactly (a
// last stop against a switch depth, a table depth against a schedule), the
// two are the same depth when they lie within this distance.
inline constexpr double kDepthTolerance = 0.001;  // m
bool DepthsMeet(double a, double b);

// The kinds of quantity whose display changes with the units.
enum class EQuantity {
  None,      // a plain number, the same in both unit systems
  Depth,     // m <-> ft
  Rate,      // m/min <-> ft/min, as depths
  Volume,    // l <-> cu ft; l/min <-> cu ft/min alike
  Pressure,  // bar <-> psi
};

struct SDisplayUnits {
  bool imperial = false;

  static constexpr SDisplayUnits Metric() { return SDisplayUnits{false}; }
  static constexpr SDisplayUnits Imperial() { return SDisplayUnits{true}; }

  // A held (metric) value as shown, and a shown value back in held units.
  double Shown(EQuantity quantity, double held) const;
  double Held(EQuantity quantity, double shown) const;
  // What a field gives back: the held value it was filled with, exactly,
  // while it still shows what that value is shown as (both rounded to the
  // field's decimals, or compared exactly with kExactly); otherwise its value
  // converted. An untouched "131 ft" stays 40.00 m rather than 40.22 m.
  static constexpr int kExactly = -1;
  double HeldFromField(EQuantity quantity, double shown, double held, int decimals) const;
  // A held value as a field with that many decimals shows it.
  double ShownInField(EQuantity quantity, double held, int decimals) const;

  // Depths (and depth rates), the most common case.
  double Shown(double metres) const { return Shown(EQuantity::Depth, metres); }
  double Metres(double shown) const { return Held(EQuantity::Depth, shown); }
  const char* Unit() const { return imperial ? "ft" : "m"; }
  const char* RateUnit() const { return imperial ? "ft/min" : "m/min"; }
  // A depth in whole units as the point and segment lists show it: feet
  // rounded half up ("130"), metres as printed by "%.0f" ("40").
  std::string WholeDepthText(double metres) const;
  // A depth with its unit: DepthText("%0.0f", 40) is "40m" or "130ft"; a
  // separator goes between number and unit ("%0.1f", " " gives "40.0 m").
  std::string DepthText(const char* numberFormat, double metres, const char* separator = "") const;

  // Volumes and gas: litres or cubic feet, pressures in bar or psi.
  const char* VolumeUnit() const { return imperial ? "cu ft" : "l"; }
  const char* VolumeRateUnit() const { return imperial ? "cu ft/min" : "l/min"; }
  const char* PressureUnit() const { return imperial ? "psi" : "bar"; }
  // A gas volume as the tables print it: "1234" litres or "43.6" cubic feet,
  // and with its unit ("1234 l"); a gas rate alike ("30 l/min", "1.1 cu ft/min").
  std::string VolumeNumber(double litres) const;
  std::string VolumeText(double litres) const;
  std::string VolumeRateText(double litresPerMinute) const;
  // A cylinder for a volume at a working pressure (bar), as the gas tables
  // print it: its water capacity "6.8" in litres, or in imperial units the
  // gas it holds "43.6" in cubic feet (at the pressure in psi). Empty in
  // metric units without a working pressure.
  std::string CylinderNumber(double litres, double workingPressure) const;
  // A pressure as printed: whole bar, or whole psi; with its unit ("240 bar").
  double ShownPressure(double bar) const;
  std::string PressureText(double bar) const;
};

// Nearest multiple of m: the whole multiples of m in the value (truncated
// towards zero) plus m x floor(remainder / m + 0.5). m must be positive.
double RoundToMultiple(double value, double m);

}  // namespace kv
