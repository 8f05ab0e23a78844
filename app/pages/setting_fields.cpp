#include "app/pages/setting_fields.h"

#include <cmath>

#include "app/i18n/text_ids.h"
#include "engine/dive_plan.h"

namespace kv::app {

const std::vector<SSettingField>& DiveSettingFields() {
  static const std::vector<SSettingField> fields = {
      {ESetting::SurfacePressure,
       {"Surface Pressure (mBar)", "Surface Pressure (mBar)", EValue::SurfacePressure,
        [](const CDivePlan& d) { return d.GetSurfacePressure(); },
        [](CDivePlan& d, double v) { d.SetSurfacePressure(v); }},
       kTipSurfacePressure},
      {ESetting::GfLow,
       {"Gradient Factor Low (%)", "Gradient Factor Low (%)", EValue::GradientFactor,
        [](const CDivePlan& d) { return d.GetGfLow(); }, [](CDivePlan& d, double v) { d.SetGfLow(v); }},
       kTipGfLow},
      {ESetting::GfHigh,
       {"Gradient Factor High (%)", "Gradient Factor High (%)", EValue::GradientFactor,
        [](const CDivePlan& d) { return d.GetGfHigh(); }, [](CDivePlan& d, double v) { d.SetGfHigh(v); }},
       kTipGfHigh},
      {ESetting::SacRate,
       {"SAC Rate (l/min)", "SAC Rate (cu ft/min)", EValue::SacRate, [](const CDivePlan& d) { return d.GetSacRate(); },
        [](CDivePlan& d, double v) { d.SetSacRate(v); }},
       kTipSacRate},
      {ESetting::MaxPpo2,
       {"Max PPO2", "Max PPO2", EValue::MaxPpo2, [](const CDivePlan& d) { return d.GetMaxPpo2(); },
        [](CDivePlan& d, double v) { d.SetMaxPpo2(v); }},
       kTipMaxPpo2},
      {ESetting::MaxEad,
       {"Max EAD (m)", "Max EAD (ft)", EValue::MaxEad, [](const CDivePlan& d) { return d.GetMaxEad(); },
        [](CDivePlan& d, double v) { d.SetMaxEad(v); }},
       kTipMaxEad},
      {ESetting::DescentRate,
       {"Descent Rate (m/min)", "Descent Rate (ft/min)", EValue::DescentRate,
        [](const CDivePlan& d) { return d.GetDescentRate(); }, [](CDivePlan& d, double v) { d.SetDescentRate(v); }},
       kTipDescentRate},
      {ESetting::AscentRate,
       {"Ascent Rate (m/min)", "Ascent Rate (ft/min)", EValue::AscentRate,
        [](const CDivePlan& d) { return d.GetAscentRate(); }, [](CDivePlan& d, double v) { d.SetAscentRate(v); }},
       kTipAscentRate},
      {ESetting::LastDecoStop,
       {"Last Deco Stop (m)", "Last Deco Stop (ft)", EValue::LastDecoStop,
        [](const CDivePlan& d) { return d.GetLastDecoStop(); }, [](CDivePlan& d, double v) { d.SetLastDecoStop(v); }},
       kTipLastDecoStop},
  };
  return fields;
}

const std::vector<SSettingField>& BailoutSettingFields() {
  static const std::vector<SSettingField> fields = {
      {ESetting::BailoutNoOfGasSwitches,
       {"Number of Gas Switches", "Number of Gas Switches", EValue::NoOfGasSwitches,
        [](const CDivePlan& d) { return double(d.BailoutSettings().noOfGasSwitches); },
        [](CDivePlan& d, double v) { d.SetBailoutNoOfGasSwitches(static_cast<int>(std::lround(v))); }},
       kTipBailoutNoOfGasSwitches},
      {ESetting::BailoutGfLow,
       {"Gradient Factor Low (%)", "Gradient Factor Low (%)", EValue::GradientFactor,
        [](const CDivePlan& d) { return d.BailoutSettings().gfLow; },
        [](CDivePlan& d, double v) { d.SetBailoutGfLow(v); }},
       kTipBailoutGfLow},
      {ESetting::BailoutGfHigh,
       {"Gradient Factor High (%)", "Gradient Factor High (%)", EValue::GradientFactor,
        [](const CDivePlan& d) { return d.BailoutSettings().gfHigh; },
        [](CDivePlan& d, double v) { d.SetBailoutGfHigh(v); }},
       kTipBailoutGfHigh},
      {ESetting::BailoutSacRate,
       {"SAC Rate (l/min)", "SAC Rate (cu ft/min)", EValue::SacRate,
        [](const CDivePlan& d) { return d.BailoutSettings().sacRate; },
        [](CDivePlan& d, double v) { d.SetBailoutSacRate(v); }},
       kTipBailoutSacRate},
      {ESetting::BailoutMaxPpo2,
       {"Max PPO2", "Max PPO2", EValue::MaxPpo2, [](const CDivePlan& d) { return d.BailoutSettings().maxPpo2; },
        [](CDivePlan& d, double v) { d.SetBailoutMaxPpo2(v); }},
       kTipBailoutMaxPpo2},
      {ESetting::BailoutMaxEad,
       {"Max EAD (m)", "Max EAD (ft)", EValue::MaxEad, [](const CDivePlan& d) { return d.BailoutSettings().maxEad; },
        [](CDivePlan& d, double v) { d.SetBailoutMaxEad(v); }},
       kTipBailoutMaxEad},
      {ESetting::BailoutMaxCns,
       {"Max CNS (%)", "Max CNS (%)", EValue::MaxCns, [](const CDivePlan& d) { return d.BailoutSettings().maxCns; },
        [](CDivePlan& d, double v) { d.SetBailoutMaxCns(v); }},
       kTipBailoutMaxCns},
      {ESetting::BailoutDescentRate,
       {"Descent Rate (m/min)", "Descent Rate (ft/min)", EValue::DescentRate,
        [](const CDivePlan& d) { return d.BailoutSettings().descentRate; },
        [](CDivePlan& d, double v) { d.SetBailoutDescentRate(v); }},
       kTipBailoutDescentRate},
      {ESetting::BailoutAscentRate,
       {"Ascent Rate (m/min)", "Ascent Rate (ft/min)", EValue::AscentRate,
        [](const CDivePlan& d) { return d.BailoutSettings().ascentRate; },
        [](CDivePlan& d, double v) { d.SetBailoutAscentRate(v); }},
       kTipBailoutAscentRate},
      {ESetting::BailoutLastDecoStop,
       {"Last Deco Stop (m)", "Last Deco Stop (ft)", EValue::LastDecoStop,
        [](const CDivePlan& d) { return d.BailoutSettings().lastDecoStop; },
        [](CDivePlan& d, double v) { d.SetBailoutLastDecoStop(v); }},
       kTipBailoutLastDecoStop},
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
