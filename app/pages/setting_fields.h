#pragma once
// The numeric settings of the dive and bailout settings pages: their
// names, labels, ranges, units, tooltips and the dive's getter and setter,
// so that both pages and the host that applies their changes share one list.

#include <vector>

#include "app/widgets/field_descriptor.h"

namespace kv {
class CDivePlan;
}

namespace kv::app {

// The numeric settings of the dive and bailout settings pages, by name.
enum class ESetting {
  SurfacePressure,
  GfLow,
  GfHigh,
  SacRate,
  MaxPpo2,
  MaxEad,
  DescentRate,
  AscentRate,
  LastDecoStop,
  BailoutNoOfGasSwitches,
  BailoutGfLow,
  BailoutGfHigh,
  BailoutSacRate,
  BailoutMaxPpo2,
  BailoutMaxEad,
  BailoutMaxCns,
  BailoutDescentRate,
  BailoutAscentRate,
  BailoutLastDecoStop,
};

struct SSettingField {
  ESetting setting;
  SFieldDescriptor<CDivePlan> field;
  int tooltip;  // a numbered text
};

// The numeric fields of the "Dive Settings" page, without the surface interval.
const std::vector<SSettingField>& DiveSettingFields();
// The numeric fields of the "Bailout Settings" page.
const std::vector<SSettingField>& BailoutSettingFields();
const SSettingField* FindSettingField(ESetting setting);

}  // namespace kv::app
