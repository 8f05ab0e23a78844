#include "frontend/table_generation_preferences.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "base/preferences.h"
#include "base/status_log.h"

namespace kv {
namespace {

constexpr const char* kEmptySwitchText = "0.00,0.00,0.00,0,0.00,0";

// A preference number from a value the model holds (metres x 1000, or a plain
// count), kept inside 32 bits.
std::uint32_t Stored(double value) {
  if (!(value > 0.0)) return 0;
  const double rounded = std::floor(value + 0.5);
  return rounded >= 4294967295.0 ? 4294967295u : static_cast<std::uint32_t>(rounded);
}

int WholeMinutes(std::uint32_t stored) {
  return static_cast<int>(std::min<std::uint32_t>(stored, std::numeric_limits<int>::max()));
}

STableGroupSettings NewPlanSettings(const SPlanDefaults& defaults) {
  STableGroupSettings s;
  s.algorithm = defaults.algorithm;
  s.surfaceIntervalAlgorithm = defaults.surfaceIntervalAlgorithm;
  s.gasReserve = defaults.gasReserve;
  s.cylinderWorkingPressure = defaults.cylinderWorkingPressure;
  return s;
}

}  // namespace

void LoadTableGenerationPreferences(CTableGeneration& model, const SPreferenceSnapshot& snapshot) {
  const CPreferences& p = Prefs();
  model.SetUnits(snapshot.units);
  model.SetCalculationSettings(snapshot.calculation);
  model.SetReportOptions(snapshot.report);
  model.SetGroupSettings(NewPlanSettings(snapshot.defaults));

  STableGenerationInputs in;
  in.depthStart = p.GetScaled(EPref::TableDepthStart);
  in.depthFinish = p.GetScaled(EPref::TableDepthFinish);
  in.depthStep = p.GetScaled(EPref::TableDepthStepSize);
  in.durationStart = WholeMinutes(p.GetNumber(EPref::TableDurationStart));
  in.durationFinish = WholeMinutes(p.GetNumber(EPref::TableDurationFinish));
  in.durationStep = WholeMinutes(p.GetNumber(EPref::TableDurationStepSize));
  in.surfacePressure = p.GetNumber(EPref::TableSurfacePressure);
  in.gfLow = p.GetNumber(EPref::TableGfLow);
  in.gfHigh = p.GetNumber(EPref::TableGfHigh);
  in.descentRate = p.GetScaled(EPref::TableDescentRate);
  in.ascentRate = p.GetScaled(EPref::TableAscentRate);
  in.lastDecoStop = p.GetScaled(EPref::TableLastDecoStop);
  in.maxPpo2 = p.GetScaled(EPref::TableMaxPpo2);
  in.maxEad = p.GetScaled(EPref::TableMaxEad);
  in.grouping = p.GetNumber(EPref::TableGrouping) != 0 ? kGroupByTime : kGroupByDepth;
  model.SetMetricInputs(in);

  GasSwitchArray travel{}, deco{};
  for (int i = 0; i < kMaxGasSwitches; ++i) {
    travel[static_cast<std::size_t>(i)].FromText(p.GetText(TravelGas(i)));
    deco[static_cast<std::size_t>(i)].FromText(p.GetText(DecoGas(i)));
  }
  model.SetSchedules(travel, deco);
}

void SaveTableGenerationPreferences(const CTableGeneration& model) {
  CPreferences& p = Prefs();
  const STableGenerationInputs& in = model.MetricInputs();
  auto scaled = [&](EPref item, double held) { p.SetNumber(item, Stored(held * 1000.0)); };
  scaled(EPref::TableDepthStart, in.depthStart);
  scaled(EPref::TableDepthFinish, in.depthFinish);
  scaled(EPref::TableDepthStepSize, in.depthStep);
  p.SetNumber(EPref::TableDurationStart, Stored(in.durationStart));
  p.SetNumber(EPref::TableDurationFinish, Stored(in.durationFinish));
  p.SetNumber(EPref::TableDurationStepSize, Stored(in.durationStep));
  p.SetNumber(EPref::TableSurfacePressure, Stored(in.surfacePressure));
  p.SetNumber(EPref::TableGfLow, Stored(in.gfLow));
  p.SetNumber(EPref::TableGfHigh, Stored(in.gfHigh));
  scaled(EPref::TableDescentRate, in.descentRate);
  scaled(EPref::TableAscentRate, in.ascentRate);
  scaled(EPref::TableLastDecoStop, in.lastDecoStop);
  scaled(EPref::TableMaxPpo2, in.maxPpo2);
  scaled(EPref::TableMaxEad, in.maxEad);
  p.SetNumber(EPref::TableGrouping, in.grouping == kGroupByTime ? 1 : 0);
  const CGasSwitchSchedule& descent = model.DescentSchedule();
  const CGasSwitchSchedule& ascent = model.AscentSchedule();
  for (int i = 0; i < kMaxGasSwitches; ++i) {
    p.SetText(TravelGas(i), i < descent.Count() ? descent.At(i).ToText() : std::string(kEmptySwitchText));
    p.SetText(DecoGas(i), i < ascent.Count() ? ascent.At(i).ToText() : std::string(kEmptySwitchText));
  }
}

bool SaveTableGenerationSettingsAs(const CTableGeneration& model, const std::string& path) {
  StatusLog().LogMessage("User saved table generation settings as %s", path.c_str());
  const std::size_t slash = path.find_last_of("/\\");
  if (slash != std::string::npos) Prefs().SetText(EPref::DefaultSettingsDirectory, path.substr(0, slash));
  return model.SaveSettingsFile(path);
}

}  // namespace kv
