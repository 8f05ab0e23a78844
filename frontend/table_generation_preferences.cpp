#include "frontend/table_generation_preferences.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <utility>

#include "base/preferences.h"
#include "base/status_log.h"
#include "frontend/preference_fields.h"

namespace kv {
namespace {

constexpr const char* kEmptySwitchText = "0.00,0.00,0.00,0,0.00,0";

// The page's decimal inputs, held in metres (per minute), and their preferences.
constexpr SPreferenceField<STableGenerationInputs> kDecimalInputs[] = {
    {EPref::TableDepthStart, &STableGenerationInputs::depthStart, true},
    {EPref::TableDepthFinish, &STableGenerationInputs::depthFinish, true},
    {EPref::TableDepthStepSize, &STableGenerationInputs::depthStep, true},
    {EPref::TableSurfacePressure, &STableGenerationInputs::surfacePressure, false},
    {EPref::TableGfLow, &STableGenerationInputs::gfLow, false},
    {EPref::TableGfHigh, &STableGenerationInputs::gfHigh, false},
    {EPref::TableDescentRate, &STableGenerationInputs::descentRate, true},
    {EPref::TableAscentRate, &STableGenerationInputs::ascentRate, true},
    {EPref::TableLastDecoStop, &STableGenerationInputs::lastDecoStop, true},
    {EPref::TableMaxPpo2, &STableGenerationInputs::maxPpo2, true},
    {EPref::TableMaxEad, &STableGenerationInputs::maxEad, true},
};

// Whole minutes, and their preferences.
constexpr std::pair<EPref, int STableGenerationInputs::*> kMinuteInputs[] = {
    {EPref::TableDurationStart, &STableGenerationInputs::durationStart},
    {EPref::TableDurationFinish, &STableGenerationInputs::durationFinish},
    {EPref::TableDurationStepSize, &STableGenerationInputs::durationStep},
};

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
  ReadPreferenceFields(p, kDecimalInputs, in);
  for (const auto& [item, field] : kMinuteInputs) in.*field = WholeMinutes(p.GetNumber(item));
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
  WritePreferenceFields(p, kDecimalInputs, in);
  for (const auto& [item, field] : kMinuteInputs) p.SetNumber(item, StoredPreferenceNumber(in.*field));
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
