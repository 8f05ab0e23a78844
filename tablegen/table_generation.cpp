// The page's inputs and their preferences, the two schedules with their
// editing, and the import of settings and gas switches from a dive of the plan.

#include "tablegen/table_generation.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>

#include "base/preferences.h"
#include "base/text.h"
#include "base/units.h"
#include "plan/plan_group.h"
#include "tablegen/units.h"

namespace kv {
namespace {

constexpr const char* kEmptySwitchText = "0.00,0.00,0.00,0,0.00,0";

// A preference number from a value the page shows: metres (after turning
// feet back into metres) x 1000, or a plain count, kept inside 32 bits.
std::uint32_t Stored(double value) {
  if (!(value > 0.0)) return 0;
  const double rounded = std::floor(value + 0.5);
  return rounded >= 4294967295.0 ? 4294967295u : static_cast<std::uint32_t>(rounded);
}

int WholeMinutes(std::uint32_t stored) {
  return static_cast<int>(std::min<std::uint32_t>(stored, std::numeric_limits<int>::max()));
}

}  // namespace

CTableGeneration::CTableGeneration() = default;
CTableGeneration::~CTableGeneration() = default;

// ---- Inputs ------------------------------------------------------------------------

void CTableGeneration::SetInputs(const STableGenerationInputs& inputs) { m_inputs = inputs; }

void CTableGeneration::SetImperial(bool imperial) {
  if (imperial == m_imperial) return;
  const double f = imperial ? kFeetPerMetre : kMetresPerFoot;
  for (double* v : {&m_inputs.depthStart, &m_inputs.depthFinish, &m_inputs.depthStep, &m_inputs.descentRate,
                    &m_inputs.ascentRate, &m_inputs.lastDecoStop, &m_inputs.maxEad})
    *v *= f;
  m_imperial = imperial;
  m_descent.SetImperial(imperial);
  m_ascent.SetImperial(imperial);
}

void CTableGeneration::LoadFromPreferences() {
  CPreferences& p = Prefs();
  m_imperial = p.GetNumber(EPref::Units) == 1;
  m_descent.SetImperial(m_imperial);
  m_ascent.SetImperial(m_imperial);
  const SDisplayUnits units{m_imperial};
  auto shown = [&](EPref item) { return units.Shown(p.GetScaled(item)); };
  m_inputs.depthStart = shown(EPref::TableDepthStart);
  m_inputs.depthFinish = shown(EPref::TableDepthFinish);
  m_inputs.depthStep = shown(EPref::TableDepthStepSize);
  m_inputs.durationStart = WholeMinutes(p.GetNumber(EPref::TableDurationStart));
  m_inputs.durationFinish = WholeMinutes(p.GetNumber(EPref::TableDurationFinish));
  m_inputs.durationStep = WholeMinutes(p.GetNumber(EPref::TableDurationStepSize));
  m_inputs.surfacePressure = p.GetNumber(EPref::TableSurfacePressure);
  m_inputs.gfLow = p.GetNumber(EPref::TableGfLow);
  m_inputs.gfHigh = p.GetNumber(EPref::TableGfHigh);
  m_inputs.descentRate = shown(EPref::TableDescentRate);
  m_inputs.ascentRate = shown(EPref::TableAscentRate);
  m_inputs.lastDecoStop = shown(EPref::TableLastDecoStop);
  m_inputs.maxPpo2 = p.GetScaled(EPref::TableMaxPpo2);
  m_inputs.maxEad = shown(EPref::TableMaxEad);
  m_inputs.grouping = p.GetNumber(EPref::TableGrouping) != 0 ? kGroupByTime : kGroupByDepth;

  GasSwitchArray travel{}, deco{};
  for (int i = 0; i < kMaxGasSwitches; ++i) {
    travel[static_cast<std::size_t>(i)].FromText(p.GetText(TravelGas(i)));
    deco[static_cast<std::size_t>(i)].FromText(p.GetText(DecoGas(i)));
  }
  m_descent.SetFromArray(travel);
  m_ascent.SetFromArray(deco);
}

void CTableGeneration::SaveToPreferences() const {
  CPreferences& p = Prefs();
  const SDisplayUnits units{m_imperial};
  auto scaled = [&](EPref item, double shownValue) { p.SetNumber(item, Stored(units.Metres(shownValue) * 1000.0)); };
  scaled(EPref::TableDepthStart, m_inputs.depthStart);
  scaled(EPref::TableDepthFinish, m_inputs.depthFinish);
  scaled(EPref::TableDepthStepSize, m_inputs.depthStep);
  p.SetNumber(EPref::TableDurationStart, Stored(m_inputs.durationStart));
  p.SetNumber(EPref::TableDurationFinish, Stored(m_inputs.durationFinish));
  p.SetNumber(EPref::TableDurationStepSize, Stored(m_inputs.durationStep));
  p.SetNumber(EPref::TableSurfacePressure, Stored(m_inputs.surfacePressure));
  p.SetNumber(EPref::TableGfLow, Stored(m_inputs.gfLow));
  p.SetNumber(EPref::TableGfHigh, Stored(m_inputs.gfHigh));
  scaled(EPref::TableDescentRate, m_inputs.descentRate);
  scaled(EPref::TableAscentRate, m_inputs.ascentRate);
  scaled(EPref::TableLastDecoStop, m_inputs.lastDecoStop);
  p.SetNumber(EPref::TableMaxPpo2, Stored(m_inputs.maxPpo2 * 1000.0));
  scaled(EPref::TableMaxEad, m_inputs.maxEad);
  p.SetNumber(EPref::TableGrouping, m_inputs.grouping == kGroupByTime ? 1 : 0);
  for (int i = 0; i < kMaxGasSwitches; ++i) {
    const CGasSwitch& t = m_descent.At(i);
    const CGasSwitch& d = m_ascent.At(i);
    p.SetText(TravelGas(i), i < m_descent.Count() ? t.ToText() : std::string(kEmptySwitchText));
    p.SetText(DecoGas(i), i < m_ascent.Count() ? d.ToText() : std::string(kEmptySwitchText));
  }
}

// ---- Schedules ---------------------------------------------------------------------

void CTableGeneration::SetQuiet(bool quiet) {
  m_quiet = quiet;
  m_descent.SetQuiet(quiet);
  m_ascent.SetQuiet(quiet);
}

void CTableGeneration::Refresh() {
  if (!m_quiet && m_refresh) m_refresh();
}

bool CTableGeneration::AfterChange(bool changed) {
  if (changed) Refresh();
  return changed;
}

bool CTableGeneration::AddDescentSwitch(const CGasSwitch& s) { return AfterChange(m_descent.Add(s)); }
bool CTableGeneration::AddAscentSwitch(const CGasSwitch& s) { return AfterChange(m_ascent.Add(s)); }
bool CTableGeneration::UpdateDescentSwitch(const CGasSwitch& s, int index) {
  return AfterChange(m_descent.Update(s, index));
}
bool CTableGeneration::UpdateAscentSwitch(const CGasSwitch& s, int index) {
  return AfterChange(m_ascent.Update(s, index));
}
bool CTableGeneration::DeleteDescentSwitch(int index) { return AfterChange(m_descent.Delete(index)); }
bool CTableGeneration::DeleteAscentSwitch(int index) { return AfterChange(m_ascent.Delete(index)); }

namespace {
bool DeleteRows(CGasSwitchSchedule& schedule, std::vector<int> rows) {
  std::sort(rows.begin(), rows.end(), std::greater<>());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  bool any = false;
  for (const int row : rows) any = schedule.Delete(row) || any;  // Delete keeps descent row 0
  return any;
}
}  // namespace

void CTableGeneration::DeleteDescentSwitches(std::vector<int> rows) { AfterChange(DeleteRows(m_descent, std::move(rows))); }
void CTableGeneration::DeleteAscentSwitches(std::vector<int> rows) { AfterChange(DeleteRows(m_ascent, std::move(rows))); }

void CTableGeneration::SetScheduleTag(bool descent, int index, int tag) {
  (descent ? m_descent : m_ascent).SetTag(index, tag);
}

bool CTableGeneration::ImportSwitchesFromDive(const CPlanGroup& group, int dive, bool fromBailoutProfile) {
  std::vector<CGasSwitch> sequence;
  if (!group.GetDiveGasSwitches(dive, sequence, fromBailoutProfile)) return false;
  // Gas changes met on the way down are travel switches, those on the way up
  // deco switches; a dive that goes down again after an ascent is on its way
  // down again.
  std::vector<CGasSwitch> descent, ascent;
  bool descending = true;
  for (std::size_t i = 0; i < sequence.size(); ++i) {
    if (i > 0) {
      const double previous = sequence[i - 1].m_depth;
      if (descending && sequence[i].m_depth < previous)
        descending = false;
      else if (!descending && sequence[i].m_depth > previous)
        descending = true;
    }
    (descending ? descent : ascent).push_back(sequence[i]);
  }
  RemoveDuplicateSwitches(descent, true, true, m_imperial);
  RemoveDuplicateSwitches(ascent, false, true, m_imperial);

  const bool wasQuiet = m_quiet;
  SetQuiet(true);
  m_descent.ClearAll();
  m_ascent.ClearAll();
  for (const CGasSwitch& s : descent) m_descent.Add(s);
  for (const CGasSwitch& s : ascent) m_ascent.Add(s);
  SetQuiet(wasQuiet);
  Refresh();
  return true;
}

// ---- Import from a dive --------------------------------------------------------------

std::vector<SImportChoice> CTableGeneration::ImportChoices(const CPlanGroup& group) const {
  std::vector<SImportChoice> choices;
  for (int i = 0; i < group.GetDiveCount(); ++i) {
    const CDivePlan* dive = group.GetDive(i);
    if (!dive) continue;
    const std::string& name = dive->GetName();
    const std::string label = name.empty() ? Format("Dive %d", i + 1) : Format("Dive %d - %s", i + 1, name.c_str());
    choices.push_back({label, group.GetDiveSummary(i), i, false});
    if (!dive->BailoutPlanPoints().empty()) choices.push_back({label, "Bailout Mode", i, true});
  }
  return choices;
}

bool CTableGeneration::ImportFromDive(const CPlanGroup& group, int dive, bool bailout, bool importSettings,
                                      bool importGasSwitches) {
  if (!group.GetDive(dive)) return false;
  const bool wasQuiet = m_quiet;
  SetQuiet(true);
  bool ok = true;
  if (importSettings) {
    SPlanDiveSettings s;
    ok = group.GetDiveSettings(dive, bailout, s);
    if (ok) {
      const SDisplayUnits units{m_imperial};
      m_inputs.surfacePressure = s.surfacePressure;
      m_inputs.gfLow = s.gfLow;
      m_inputs.gfHigh = s.gfHigh;
      m_inputs.descentRate = units.Shown(s.descentRate);
      m_inputs.ascentRate = units.Shown(s.ascentRate);
      m_inputs.lastDecoStop = units.Shown(s.lastDecoStop);
    }
  }
  if (importGasSwitches) ok = ImportSwitchesFromDive(group, dive, bailout) && ok;
  SetQuiet(wasQuiet);
  Refresh();
  return ok;
}

// ---- Messages and results --------------------------------------------------------------

void CTableGeneration::AddMessage(const std::string& text, int state) { m_messages.push_back({text, state}); }

int CTableGeneration::PlanIndex(int depthIndex, int timeIndex) const {
  return depthIndex * static_cast<int>(m_bottomTimes.size()) + timeIndex;
}

const CDivePlan* CTableGeneration::Dive(int plan) const {
  return plan >= 0 && plan < PlanCount() ? m_dives[static_cast<std::size_t>(plan)].get() : nullptr;
}

EGeneratedDiveStatus CTableGeneration::Status(int plan) const {
  return plan >= 0 && plan < static_cast<int>(m_status.size()) ? m_status[static_cast<std::size_t>(plan)]
                                                                 : EGeneratedDiveStatus::NotRun;
}

}  // namespace kv
