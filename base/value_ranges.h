#pragma once
// The allowed range of every number the user can set: each numeric
// preference, each plan, dive and bailout setting that plan and dive files
// carry, and the fields of a profile point and a gas switch. The preferences
// sheet, the dive and bailout settings pages, kvplan's --set and the file
// readers all take their limits from this one table, so that a value one of
// them accepts is never refused by another.
//
// A range is given in the unit in which the program holds the value (m,
// m/min, l/min, bar, mbar, %, s, counts) as the metric field shows it, and,
// where the pages switch to imperial units, as the imperial field shows it
// (ft, ft/min, cu ft/min, psi). A value entered in either unit system and
// held in metric units is accepted: the held range is the union of both
// fields, converted with the program's factors.

#include <cstdint>
#include <string>

#include "base/preferences.h"
#include "base/units.h"

namespace kv {

// One entry field: its limits, its spin step and the decimals it shows.
struct SFieldRange {
  double minimum = 0.0;
  double maximum = 0.0;
  double step = 1.0;
  int decimals = 0;
};

// The quantities that have a range. Several settings share one: the dive's
// and the bailout's gradient factors, every depth of a point or switch.
enum class EValue : int {
  Flag,                     // 0 or 1: check boxes and two-way choices
  LanguageId,               // a Windows language identifier
  DebugLevel,               // status log level
  Setpoint,                 // bar: profile entry default, closed-circuit points, gas switches
  CylinderWorkingPressure,  // bar
  GasReserve,               // %
  SurfacePressure,          // mbar
  GradientFactor,           // %
  SacRate,                  // l/min
  MaxPpo2,                  // bar
  MaxEad,                   // m
  SurfaceInterval,          // s; the page shows hours and minutes
  DescentRate,              // m/min
  AscentRate,               // m/min
  LastDecoStop,             // m
  NoOfGasSwitches,          // count
  MaxCns,                   // %
  Depth,                    // m: points, gas switches, bailout depth, table depths
  PointDuration,            // s; the page shows whole minutes
  TableDuration,            // whole minutes: table generation start, finish and step
  RunTimeSecond,            // s: the bailout second
  BailoutRemainder,         // s, -1 until set
  Oxygen,                   // % of a valid gas (which also keeps oxygen + helium <= 100)
  Helium,                   // % of a valid gas
  Count
};

struct SValueRange {
  SFieldRange metric;    // in the held unit
  SFieldRange imperial;  // the imperial field; the same as metric for EQuantity::None
  EQuantity quantity = EQuantity::None;  // how SDisplayUnits shows the value
  const char* metricUnit = "";    // "m", "l/min", "" for a plain number
  const char* imperialUnit = "";  // "ft", "cu ft/min"

  // An imperial field's value in the held unit, and back (the same number for
  // EQuantity::None).
  double ImperialToHeld(double imperialValue) const;
  // The field of the units: metric or imperial.
  const SFieldRange& Field(const SDisplayUnits& units) const { return units.imperial ? imperial : metric; }
  double HeldToImperial(double held) const;
  // The held range: both fields, the imperial one converted to held units.
  double LowestHeld() const;
  double HighestHeld() const;
  // Whether a held value lies in the held range, widened outward to whole
  // hundredths: files write two decimals and the preferences thousandths, so
  // a converted imperial limit (164 ft/min is 50.3562 m/min) comes back as
  // 50.36 or 50.356. A value accepted here is still accepted after it is
  // written with two decimals and read again.
  bool Accepts(double held) const;
  // "0 to 100", "8 to 80 l/min (0.28 to 2.82 cu ft/min)": for messages.
  std::string Text() const;
};

const SValueRange& ValueRange(EValue value);

// The range of a numeric preference and the factor by which the store holds
// it (1, or 1000 for decimal quantities: "Dive\SAC Rate" 30000 is 30 l/min).
struct SPreferenceRange {
  EValue value = EValue::Flag;
  std::uint32_t scale = 1;
  const SValueRange& Range() const { return ValueRange(value); }
  bool AcceptsStored(std::uint32_t stored) const { return Range().Accepts(stored / static_cast<double>(scale)); }
};
// Null for text preferences.
const SPreferenceRange* PreferenceRange(EPref item);

// The range of a plan or dive file key that holds one number (001 to 004,
// 021 to 058), with the setting's name for messages ("gradient factor low");
// null for text keys, point lines and keys the files do not have.
struct SPlanKeyRange {
  EValue value = EValue::Flag;
  const char* name = "";
  const SValueRange& Range() const { return ValueRange(value); }
};
const SPlanKeyRange* PlanKeyRange(int key);

}  // namespace kv
