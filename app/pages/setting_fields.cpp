#include "app/pages/setting_fields.h"

#include <cmath>

#include "engine/dive_plan.h"

namespace kv::app {

const std::vector<SSettingField>& DiveSettingFields() {
  static const std::vector<SSettingField> fields = {
      {kMsgSurfacePressure, "Surface Pressure (mBar)", "Surface Pressure (mBar)", EValue::SurfacePressure, 2700,
       [](const CDivePlan& d) { return d.GetSurfacePressure(); }, [](CDivePlan& d, double v) { d.SetSurfacePressure(v); }},
      {kMsgGfLow, "Gradient Factor Low (%)", "Gradient Factor Low (%)", EValue::GradientFactor, 2701,
       [](const CDivePlan& d) { return d.GetGfLow(); }, [](CDivePlan& d, double v) { d.SetGfLow(v); }},
      {kMsgGfHigh, "Gradient Factor High (%)", "Gradient Factor High (%)", EValue::GradientFactor, 2702,
       [](const CDivePlan& d) { return d.GetGfHigh(); }, [](CDivePlan& d, double v) { d.SetGfHigh(v); }},
      {kMsgSacRate, "SAC Rate (l/min)", "SAC Rate (cu ft/min)", EValue::SacRate, 2703,
       [](const CDivePlan& d) { return d.GetSacRate(); }, [](CDivePlan& d, double v) { d.SetSacRate(v); }},
      {kMsgMaxPpo2, "Max PPO2", "Max PPO2", EValue::MaxPpo2, 2704,
       [](const CDivePlan& d) { return d.GetMaxPpo2(); }, [](CDivePlan& d, double v) { d.SetMaxPpo2(v); }},
      {kMsgMaxEad, "Max EAD (m)", "Max EAD (ft)", EValue::MaxEad, 2705,
       [](const CDivePlan& d) { return d.GetMaxEad(); }, [](CDivePlan& d, double v) { d.SetMaxEad(v); }},
      {kMsgDescentRate, "Descent Rate (m/min)", "Descent Rate (ft/min)", EValue::DescentRate, 2707,
       [](const CDivePlan& d) { return d.GetDescentRate(); }, [](CDivePlan& d, double v) { d.SetDescentRate(v); }},
      {kMsgAscentRate, "Ascent Rate (m/min)", "Ascent Rate (ft/min)", EValue::AscentRate, 2708,
       [](const CDivePlan& d) { return d.GetAscentRate(); }, [](CDivePlan& d, double v) { d.SetAscentRate(v); }},
      {kMsgLastDecoStop, "Last Deco Stop (m)", "Last Deco Stop (ft)", EValue::LastDecoStop, 2709,
       [](const CDivePlan& d) { return d.GetLastDecoStop(); }, [](CDivePlan& d, double v) { d.SetLastDecoStop(v); }},
  };
  return fields;
}

const std::vector<SSettingField>& BailoutSettingFields() {
  static const std::vector<SSettingField> fields = {
      {kMsgBailoutNoOfGasSwitches, "Number of Gas Switches", "Number of Gas Switches", EValue::NoOfGasSwitches,
       2750, [](const CDivePlan& d) { return double(d.BailoutSettings().noOfGasSwitches); },
       [](CDivePlan& d, double v) { d.SetBailoutNoOfGasSwitches(static_cast<int>(std::lround(v))); }},
      {kMsgBailoutGfLow, "Gradient Factor Low (%)", "Gradient Factor Low (%)", EValue::GradientFactor, 2751,
       [](const CDivePlan& d) { return d.BailoutSettings().gfLow; }, [](CDivePlan& d, double v) { d.SetBailoutGfLow(v); }},
      {kMsgBailoutGfHigh, "Gradient Factor High (%)", "Gradient Factor High (%)", EValue::GradientFactor, 2752,
       [](const CDivePlan& d) { return d.BailoutSettings().gfHigh; },
       [](CDivePlan& d, double v) { d.SetBailoutGfHigh(v); }},
      {kMsgBailoutSacRate, "SAC Rate (l/min)", "SAC Rate (cu ft/min)", EValue::SacRate, 2753,
       [](const CDivePlan& d) { return d.BailoutSettings().sacRate; },
       [](CDivePlan& d, double v) { d.SetBailoutSacRate(v); }},
      {kMsgBailoutMaxPpo2, "Max PPO2", "Max PPO2", EValue::MaxPpo2, 2754,
       [](const CDivePlan& d) { return d.BailoutSettings().maxPpo2; },
       [](CDivePlan& d, double v) { d.SetBailoutMaxPpo2(v); }},
      {kMsgBailoutMaxEad, "Max EAD (m)", "Max EAD (ft)", EValue::MaxEad, 2755,
       [](const CDivePlan& d) { return d.BailoutSettings().maxEad; },
       [](CDivePlan& d, double v) { d.SetBailoutMaxEad(v); }},
      {kMsgBailoutMaxCns, "Max CNS (%)", "Max CNS (%)", EValue::MaxCns, 2756,
       [](const CDivePlan& d) { return d.BailoutSettings().maxCns; },
       [](CDivePlan& d, double v) { d.SetBailoutMaxCns(v); }},
      {kMsgBailoutDescentRate, "Descent Rate (m/min)", "Descent Rate (ft/min)", EValue::DescentRate, 2757,
       [](const CDivePlan& d) { return d.BailoutSettings().descentRate; },
       [](CDivePlan& d, double v) { d.SetBailoutDescentRate(v); }},
      {kMsgBailoutAscentRate, "Ascent Rate (m/min)", "Ascent Rate (ft/min)", EValue::AscentRate, 2758,
       [](const CDivePlan& d) { return d.BailoutSettings().ascentRate; },
       [](CDivePlan& d, double v) { d.SetBailoutAscentRate(v); }},
      {kMsgBailoutLastDecoStop, "Last Deco Stop (m)", "Last Deco Stop (ft)", EValue::LastDecoStop, 2759,
       [](const CDivePlan& d) { return d.BailoutSettings().lastDecoStop; },
       [](CDivePlan& d, double v) { d.SetBailoutLastDecoStop(v); }},
  };
  return fields;
}

const SSettingField* FindSettingField(int message) {
  for (const auto* list : {&DiveSettingFields(), &BailoutSettingFields()})
    for (const SSettingField& f : *list)
      if (f.message == message) return &f;
  return nullptr;
}

}  // namespace kv::app
