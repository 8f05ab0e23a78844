#pragma once
// One numeric field described once: its label in either unit system, its
// entry of the program's table of ranges (range, step, decimals, imperial
// unit) and where its value lives in what the page edits. The settings pages
// and the table generation page are built from lists of these.

#include "base/units.h"
#include "base/value_ranges.h"

namespace kv::app {

template <typename Target>
struct SFieldDescriptor {
  const char* metricLabel;
  const char* imperialLabel;
  EValue value;
  double (*get)(const Target&);
  void (*set)(Target&, double);

  const SValueRange& Range() const { return ValueRange(value); }
  const SFieldRange& Field(const SDisplayUnits& units) const { return Range().Field(units); }
  const char* Label(const SDisplayUnits& units) const { return units.imperial ? imperialLabel : metricLabel; }
};

}  // namespace kv::app
