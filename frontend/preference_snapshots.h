#pragma once
// The snapshot a front end takes of the user's preferences and passes down:
// the display units, the calculation settings, the report options and the
// defaults of new plans and dives. Taken on the front end's own thread when
// it starts and again after the user changed the preferences; the layers
// below only ever see these values.

#include "base/units.h"
#include "engine/calculation_settings.h"
#include "plan/plan_group.h"
#include "report/table_builder.h"

namespace kv {

struct SPreferenceSnapshot {
  // "General\Units", read once: the calculations' texts, the reports and the
  // pages all use these.
  SDisplayUnits units;
  // "Debug Level", "General\First Ascent Option" and the units; the 6-hour
  // question is asked.
  SCalculationSettings calculation;
  // The units, "Printing Direction", "Time Units" and "Diver ID".
  SReportOptions report;
  // The plan-wide defaults ("Dive Plan\...") and the "Dive", "Bailout" and
  // "Bailout Gas List" defaults of a new dive.
  SPlanDefaults defaults;
};

SPreferenceSnapshot TakePreferenceSnapshot();

// Gives a plan the snapshot: its defaults (to the plan and every dive, as on
// a new plan) and the settings its calculations use.
void ApplyPreferences(CPlanGroup& plan, const SPreferenceSnapshot& snapshot);
// After the user changed the preferences: the plan calculates with the new
// settings and gives the new defaults to the dives added from now on; the
// plan and its dives keep their own settings.
void ApplyChangedPreferences(CPlanGroup& plan, const SPreferenceSnapshot& snapshot);

}  // namespace kv
