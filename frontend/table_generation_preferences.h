#pragma once
// The table generation page's preferences: its last inputs and gas switch
// schedules ("Table Generation\...", "Gas Mix\Travel Gas NN" and "Deco Gas
// NN"), and what the page's model takes from the other preferences.

#include <string>

#include "frontend/preference_snapshots.h"
#include "tablegen/table_generation.h"

namespace kv {

// Gives the model the inputs and schedules last used, and from the snapshot
// the display units, the settings its calculations use, the options of its
// tables and the plan-wide values of a new plan.
void LoadTableGenerationPreferences(CTableGeneration& model, const SPreferenceSnapshot& snapshot);
// Keeps the inputs and schedules for the next time.
void SaveTableGenerationPreferences(const CTableGeneration& model);
// The page's save command after its file dialog: logs the user's choice,
// remembers the folder, then writes the file.
bool SaveTableGenerationSettingsAs(const CTableGeneration& model, const std::string& path);

}  // namespace kv
