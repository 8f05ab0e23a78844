// The page's inputs in held and shown units, the two schedules with their
// editing, and the import of settings and gas switches from a dive of the plan.

#include "tablegen/table_generation.h"

#include <algorithm>
#include <functional>

#include "base/text.h"
#include "plan/plan_group.h"

namespace kv {
namespace {

// The inputs that carry a unit, and how it converts.
struct SUnitInput {
  double STableGenerationInputs::*field;
  EQuantity quantity;
};
constexpr SUnitInput kUnitInputs[] = {
    {&STableGenerationInputs::depthStart, EQuantity::Depth},   {&STableGenerationInputs::depthFinish, EQuantity::Depth},
    {&STableGenerationInputs::depthStep, EQuantity::Depth},    {&STableGenerationInputs::descentRate, EQuantity::Rate},
    {&STableGenerationInputs::ascentRate, EQuantity::Rate},    {&STableGenerationInputs::lastDecoStop, EQuantity::Depth},
    {&STableGenerationInputs::maxEad, EQuantity::Depth},
};

}  // namespace

CTableGeneration::CTableGeneration() = default;
CTableGeneration::~CTableGeneration() = default;

// ---- Inputs ------------------------------------------------------------------------

STableGenerationInputs CTableGeneration::Inputs() const {
  STableGenerationInputs shown = m_inputs;
  for (const SUnitInput& u : kUnitInputs) shown.*u.field = m_units.Shown(u.quantity, m_inputs.*u.field);
  return shown;
}

void CTableGeneration::SetInputs(const STableGenerationInputs& shown) {
  STableGenerationInputs held = shown;
  for (const SUnitInput& u : kUnitInputs)
    held.*u.field = m_units.HeldFromField(u.quantity, shown.*u.field, m_inputs.*u.field, SDisplayUnits::kExactly);
  m_inputs = held;
}

void CTableGeneration::SetUnits(const SDisplayUnits& units) {
  m_units = units;
  m_descent.SetUnits(units);
  m_ascent.SetUnits(units);
}

// ---- Schedules ---------------------------------------------------------------------

void CTableGeneration::SetSchedules(const GasSwitchArray& descent, const GasSwitchArray& ascent) {
  m_descent.SetFromArray(descent);
  m_ascent.SetFromArray(ascent);
}

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
  RemoveDuplicateSwitches(descent, true, true, m_units);
  RemoveDuplicateSwitches(ascent, false, true, m_units);

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
      m_inputs.surfacePressure = s.surfacePressure;
      m_inputs.gfLow = s.gfLow;
      m_inputs.gfHigh = s.gfHigh;
      m_inputs.descentRate = s.descentRate;
      m_inputs.ascentRate = s.ascentRate;
      m_inputs.lastDecoStop = s.lastDecoStop;
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
