#pragma once
// The numeric settings of the dive and bailout settings pages: their
// messages, labels, ranges, units, tooltips and the dive's getter and setter,
// so that both pages and the host that applies their changes share one list.

#include <vector>

#include "base/value_ranges.h"

namespace kv {
class CDivePlan;
}

namespace kv::app {

// Private messages (WM_APP + n) of the settings pages.
enum ESettingMessage : int {
  kMsgSurfacePressure = 100,
  kMsgGfLow = 101,
  kMsgGfHigh = 102,
  kMsgSacRate = 103,
  kMsgMaxPpo2 = 104,
  kMsgMaxEad = 105,
  kMsgSurfaceInterval = 106,
  kMsgDescentRate = 107,
  kMsgAscentRate = 108,
  kMsgLastDecoStop = 109,
  kMsgBailoutNoOfGasSwitches = 200,
  kMsgBailoutGfLow = 201,
  kMsgBailoutGfHigh = 202,
  kMsgBailoutSacRate = 203,
  kMsgBailoutMaxPpo2 = 204,
  kMsgBailoutMaxEad = 205,
  kMsgBailoutMaxCns = 206,
  kMsgBailoutDescentRate = 207,
  kMsgBailoutAscentRate = 208,
  kMsgBailoutLastDecoStop = 209,
  kMsgBailoutUseGasList = 210,
  kMsgBailoutIgnoreIcd = 211,
  kMsgBailoutIgnoreCns = 212,
  kMsgBailoutGasListChanged = 300,
};

struct SSettingField {
  int message;
  const char* metricLabel;
  const char* imperialLabel;
  EValue value;  // the range, step, decimals and imperial unit
  int tooltip;
  double (*get)(const CDivePlan&);
  void (*set)(CDivePlan&, double);

  const SValueRange& Range() const { return ValueRange(value); }
  const SFieldRange& Field(const SDisplayUnits& units) const { return Range().Field(units); }
};

// The numeric fields of the "Dive Settings" page, without the surface interval.
const std::vector<SSettingField>& DiveSettingFields();
// The numeric fields of the "Bailout Settings" page.
const std::vector<SSettingField>& BailoutSettingFields();
const SSettingField* FindSettingField(int message);

}  // namespace kv::app
