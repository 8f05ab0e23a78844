#include "app/pages/setting_fields.h"

#include <cmath>

#include "engine/dive_plan.h"

namespace kv::app {

const std::vector<SSettingField>& DiveSettingFields() {
  static const std::vector<SSettingField> fields = {
      {ESetting::SurfacePressure, "Surface Pressure (mBar)", "Surface Pressure (mBar)", EValue::SurfacePressure, 2700,
       [](const CDivePlan& d) { return d.GetSurfacePressure(); }, [](CDivePlan& d, double v) { d.SetSurfacePressure(v); }},
      {ESetting::GfLow, "Gradient Factor Low (%)", "Gradient Factor Low (%)", EValue::GradientFactor, 2701,
       [](const CDivePlan& d) { return d.GetGfLow(); }, [](CDivePlan& d, double v) { d.SetGfLow(v); }},
      {ESetting::GfHigh, "Gradient Factor High (%)", "Gradient Factor High (%)", EValue::GradientFactor, 2702,
       [](const CDivePlan& d) { return d.GetGfHigh(); }, [](CDivePlan& d, double v) { d.SetGfHigh(v); }},
      {ESetting::SacRate, "SAC Rate (l/min)", "SAC Rate (cu ft/min)", EValue::SacRate, 2703,
       [](const CDivePlan& d) { return d.GetSacRate(); }, [](CDivePlan& d, double v) { d.SetSacRate(v); }},
      {ESetting::MaxPpo2, "Max PPO2", "Max PPO2", EValue::MaxPpo2, 2704,
       [](const CDivePlan& d) { return d.GetMaxPpo2(); }, [](CDivePlan& d, double v) { d.SetMaxPpo2(v); }},
      {ESetting::MaxEad, "Max EAD (m)", "Max EAD (ft)", EValue::MaxEad, 2705,
       [](const CDivePlan& d) { return d.GetMaxEad(); }, [](CDivePlan& d, double v) { d.SetMaxEad(v); }},
      {ESetting::DescentRate, "Descent Rate (m/min)", "Descent Rate (ft/min)", EValue::DescentRate, 2707,
       [](const CDivePlan& d) { return d.GetDescentRate(); }, [](CDivePlan& d, double v) { d.SetDescentRate(v); }},
      {ESetting::AscentRate, "Ascent Rate (m/min)", "Ascent Rate (ft/min)", EValue::AscentRate, 2708,
       [](const CDivePlan& d) { return d.GetAscentRate(); }, [](CDivePlan& d, double v) { d.SetAscentRate(v); }},
      {ESetting::LastDecoStop, "Last Deco Stop (m)", "Last Deco Stop (ft)", EValue::LastDecoStop, 2709,
       [](const CDivePlan& d) { return d.GetLastDecoStop(); }, [](CDivePlan& d, double v) { d.SetLastDecoStop(v); }},
  };
  return fields;
}

const std::vector<SSettingField>& BailoutSettingFields() {
  static const std::vector<SSettingField> fields = {
      {ESetting::BailoutNoOfGasSwitches, "Number of Gas Switches", "Number of Gas Switches", EValue::NoOfGasSwitches,
       2750, [](const CDivePlan& d) { return double(d.BailoutSettings().noOfGasSwitches); },
       [](CDivePlan& d, double v) { d.SetBailoutNoOfGasSwitches(static_cast<int>(std::lround(v))); }},
      {ESetting::BailoutGfLow, "Gradient Factor Low (%)", "Gradient Factor Low (%)", EValue::GradientFactor, 2751,
       [](const CDivePlan& d) { return d.BailoutSettings().gfLow; }, [](CDivePlan& d, double v) { d.SetBailoutGfLow(v); }},
      {ESetting::BailoutGfHigh, "Gradient Factor High (%)", "Gradient Factor High (%)", EValue::GradientFactor, 2752,
       [](const CDivePlan& d) { return d.BailoutSettings().gfHigh; },
       [](CDivePlan& d, double v) { d.SetBailoutGfHigh(v); }},
      {ESetting::BailoutSacRate, "SAC Rate (l/min)", "SAC Rate (cu ft/min)", EValue::SacRate, 2753,
       [](const CDivePlan& d) { return d.BailoutSettings().sacRate; },
       [](CDivePlan& d, double v) { d.SetBailoutSacRate(v); }},
      {ESetting::BailoutMaxPpo2, "Max PPO2", "Max PPO2", EValue::MaxPpo2, 2754,
       [](const CDivePlan& d) { return d.BailoutSettings().maxPpo2; },
       [](CDivePlan& d, double v) { d.SetBailoutMaxPpo2(v); }},
      {ESetting::BailoutMaxEad, "Max EAD (m)", "Max EAD (ft)", EValue::MaxEad, 2755,
       [](const CDivePlan& d) { return d.BailoutSettings().maxEad; },
       [](CDivePlan& d, double v) { d.SetBailoutMaxEad(v); }},
      {ESetting::BailoutMaxCns, "Max CNS (%)", "Max CNS (%)", EValue::MaxCns, 2756,
       [](const CDivePlan& d) { return d.BailoutSettings().maxCns; },
       [](CDivePlan& d, double v) { d.SetBailoutMaxCns(v); }},
      {ESetting::BailoutDescentRate, "Descent Rate (m/min)", "Descent Rate (ft/min)", EValue::DescentRate, 2757,
       [](const CDivePlan& d) { return d.BailoutSettings().descentRate; },
       [](CDivePlan& d, double v) { d.SetBailoutDescentRate(v); }},
      {ESetting::BailoutAscentRate, "Ascent Rate (m/min)", "Ascent Rate (ft/min)", EValue::AscentRate, 2758,
       [](const CDivePlan& d) { return d.BailoutSettings().ascentRate; },
       [](CDivePlan& d, double v) { d.SetBailoutAscentRate(v); }},
      {ESetting::BailoutLastDecoStop, "Last Deco Stop (m)", "Last Deco Stop (ft)", EValue::LastDecoStop, 2759,
       [](const CDivePlan& d) { return d.BailoutSettings().lastDecoStop; },
       [](CDivePlan& d, double v) { d.SetBailoutLastDecoStop(v); }},
  };
  return fields;
}

const SSettingField* FindSettingField(ESetting setting) {
  for (const auto* list : {&DiveSettingFields(), &BailoutSettingFields()})
    for (const SSettingField& f : *list)
      if (f.setting == setting) return &f;
  return nullptr;
}

}  // namespace kv::app
