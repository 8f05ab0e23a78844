#include "frontend/preference_snapshots.h"

#include "base/preferences.h"
#include "frontend/preference_fields.h"

namespace kv {
namespace {

SReportOptions ReportOptions(const CPreferences& p, const SDisplayUnits& units) {
  SReportOptions options;
  options.units = units;
  options.runTimeAscending = p.GetNumber(EPref::PrintingDirection) == 1;
  options.minutesAndSeconds = p.GetNumber(EPref::TimeUnits) == 1;
  options.diverName = p.GetText(EPref::DiverId);
  return options;
}

// The numbers of a new dive's settings.
constexpr SPreferenceField<SDiveSettings> kDiveDefaults[] = {
    {EPref::DiveSurfacePressure, &SDiveSettings::surfacePressure, false},
    {EPref::DiveGfLow, &SDiveSettings::gfLow, false},
    {EPref::DiveGfHigh, &SDiveSettings::gfHigh, false},
    {EPref::DiveSacRate, &SDiveSettings::sacRate, true},
    {EPref::DiveMaxPpo2, &SDiveSettings::maxPpo2, true},
    {EPref::DiveMaxEad, &SDiveSettings::maxEad, true},
    {EPref::DiveDescentRate, &SDiveSettings::descentRate, true},
    {EPref::DiveAscentRate, &SDiveSettings::ascentRate, true},
    {EPref::DiveLastDecoStop, &SDiveSettings::lastDecoStop, true},
};

constexpr SPreferenceField<SBailoutSettings> kBailoutDefaults[] = {
    {EPref::BailoutGfLow, &SBailoutSettings::gfLow, false},
    {EPref::BailoutGfHigh, &SBailoutSettings::gfHigh, false},
    {EPref::BailoutSacRate, &SBailoutSettings::sacRate, true},
    {EPref::BailoutMaxPpo2, &SBailoutSettings::maxPpo2, true},
    {EPref::BailoutMaxEad, &SBailoutSettings::maxEad, true},
    {EPref::BailoutMaxCns, &SBailoutSettings::maxCns, true},
    {EPref::BailoutDescentRate, &SBailoutSettings::descentRate, true},
    {EPref::BailoutAscentRate, &SBailoutSettings::ascentRate, true},
    {EPref::BailoutLastDecoStop, &SBailoutSettings::lastDecoStop, true},
};

SPlanDefaults PlanDefaults(const CPreferences& p) {
  SPlanDefaults d;
  d.surfaceIntervalAlgorithm = static_cast<int>(p.GetNumber(EPref::SurfaceIntervalAlgorithm));
  d.algorithm = static_cast<int>(p.GetNumber(EPref::Algorithm));
  d.cylinderWorkingPressure = p.GetScaled(EPref::DefaultCylinderWorkingPressure);
  d.gasReserve = p.GetNumber(EPref::DefaultGasReserve);

  ReadPreferenceFields(p, kDiveDefaults, d.dive.dive);
  d.dive.dive.surfaceInterval = static_cast<int>(p.GetNumber(EPref::DiveSurfaceInterval));
  SBailoutSettings& bailout = d.dive.bailout;
  ReadPreferenceFields(p, kBailoutDefaults, bailout);
  bailout.noOfGasSwitches = static_cast<int>(p.GetNumber(EPref::BailoutNoOfGasSwitches));
  bailout.useBailoutGasList = p.GetNumber(EPref::BailoutUseBailoutGasList) != 0;
  bailout.ignoreIcd = p.GetNumber(EPref::BailoutIgnoreIcd) != 0;
  bailout.ignoreCns = p.GetNumber(EPref::BailoutIgnoreCns) != 0;
  d.dive.bailoutGasList = p.GetText(EPref::BailoutGasList);
  return d;
}

}  // namespace

SPreferenceSnapshot TakePreferenceSnapshot() {
  const CPreferences& p = Prefs();
  SPreferenceSnapshot s;
  s.units.imperial = p.GetNumber(EPref::Units) == 1;
  s.calculation.debugLevel = static_cast<int>(p.GetNumber(EPref::DebugLevel));
  s.calculation.detailedFirstAscent = p.GetNumber(EPref::FirstAscentOption) == 1;
  s.calculation.units = s.units;
  s.report = ReportOptions(p, s.units);
  s.defaults = PlanDefaults(p);
  return s;
}

void ApplyPreferences(CPlanGroup& plan, const SPreferenceSnapshot& snapshot) {
  plan.ApplyDefaults(snapshot.defaults);
  plan.SetCalculationSettings(snapshot.calculation);
}

void ApplyChangedPreferences(CPlanGroup& plan, const SPreferenceSnapshot& snapshot) {
  plan.SetDefaultsForNewDives(snapshot.defaults);
  plan.SetCalculationSettings(snapshot.calculation);
}

}  // namespace kv
