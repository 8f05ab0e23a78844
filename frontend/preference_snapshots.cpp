#include "frontend/preference_snapshots.h"

#include "base/preferences.h"

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

SPlanDefaults PlanDefaults(const CPreferences& p) {
  SPlanDefaults d;
  d.surfaceIntervalAlgorithm = static_cast<int>(p.GetNumber(EPref::SurfaceIntervalAlgorithm));
  d.algorithm = static_cast<int>(p.GetNumber(EPref::Algorithm));
  d.cylinderWorkingPressure = p.GetScaled(EPref::DefaultCylinderWorkingPressure);
  d.gasReserve = p.GetNumber(EPref::DefaultGasReserve);

  SDiveSettings& dive = d.dive.dive;
  dive.surfacePressure = p.GetNumber(EPref::DiveSurfacePressure);
  dive.gfLow = p.GetNumber(EPref::DiveGfLow);
  dive.gfHigh = p.GetNumber(EPref::DiveGfHigh);
  dive.sacRate = p.GetScaled(EPref::DiveSacRate);
  dive.maxPpo2 = p.GetScaled(EPref::DiveMaxPpo2);
  dive.maxEad = p.GetScaled(EPref::DiveMaxEad);
  dive.surfaceInterval = static_cast<int>(p.GetNumber(EPref::DiveSurfaceInterval));
  dive.descentRate = p.GetScaled(EPref::DiveDescentRate);
  dive.ascentRate = p.GetScaled(EPref::DiveAscentRate);
  dive.lastDecoStop = p.GetScaled(EPref::DiveLastDecoStop);

  SBailoutSettings& bailout = d.dive.bailout;
  bailout.noOfGasSwitches = static_cast<int>(p.GetNumber(EPref::BailoutNoOfGasSwitches));
  bailout.gfLow = p.GetNumber(EPref::BailoutGfLow);
  bailout.gfHigh = p.GetNumber(EPref::BailoutGfHigh);
  bailout.sacRate = p.GetScaled(EPref::BailoutSacRate);
  bailout.maxPpo2 = p.GetScaled(EPref::BailoutMaxPpo2);
  bailout.maxEad = p.GetScaled(EPref::BailoutMaxEad);
  bailout.maxCns = p.GetScaled(EPref::BailoutMaxCns);
  bailout.descentRate = p.GetScaled(EPref::BailoutDescentRate);
  bailout.ascentRate = p.GetScaled(EPref::BailoutAscentRate);
  bailout.lastDecoStop = p.GetScaled(EPref::BailoutLastDecoStop);
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

SReportOptions ReportOptionsFromPreferences() {
  const CPreferences& p = Prefs();
  return ReportOptions(p, SDisplayUnits{p.GetNumber(EPref::Units) == 1});
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
