#include "app/mainwindow/commands.h"

#include <iterator>

namespace {

const SCommandInfo kCommands[] = {
    {kCmdNew, "&New Dive Plan", "Create a new dive plan", QKeySequence::New, nullptr},
    {kCmdOpen, "&Open", "Open an existing dive plan", QKeySequence::Open, nullptr},
    {kCmdSave, "&Save", "Save the dive plan", QKeySequence::Save, nullptr},
    {kCmdSaveAs, "Save &As", "Save the dive plan under a new name", QKeySequence::UnknownKey, nullptr},
    {kCmdExit, "E&xit", "Quit the program, asking to save changes", QKeySequence::UnknownKey, nullptr},
    {kCmdAddDive, "&Add Dive", "Add a Dive", QKeySequence::UnknownKey, nullptr},
    {kCmdDeleteDive, "&Delete Dive", "Delete the current dive", QKeySequence::UnknownKey, nullptr},
    {kCmdRenameDive, "&Rename Dive", "Rename the current dive", QKeySequence::UnknownKey, nullptr},
    {kCmdSortDives, "&Sort Dives", "Change the order of the dives", QKeySequence::UnknownKey, nullptr},
    {kCmdPlanSettings, "Dive &Plan Settings", "Change the settings of the whole plan", QKeySequence::UnknownKey,
     nullptr},
    {kCmdImportDive, "&Import Dive", "Add a dive from a dive file", QKeySequence::UnknownKey, nullptr},
    {kCmdExportDive, "&Export Dive", "Write the current dive to a dive file", QKeySequence::UnknownKey, nullptr},
    {kCmdDetails, "&Details", "Show the tissue details of one second of a dive", QKeySequence::UnknownKey, nullptr},
    {kCmdCurrentDiveTable, "&View / Print Current Dive Table", "View and print the dive table of the current dive",
     QKeySequence::UnknownKey, nullptr},
    {kCmdCurrentGasTable, "View / Print Current &OC Gas Consumption Table",
     "View and print the OC gas consumption table of the current dive", QKeySequence::UnknownKey, nullptr},
    {kCmdAllDiveTables, "&View / Print All Dive Tables", "View and print the dive tables of all dives",
     QKeySequence::UnknownKey, nullptr},
    {kCmdAllGasTables, "View / Print All &OC Gas Consumption Tables",
     "View and print the OC gas consumption tables of all dives", QKeySequence::UnknownKey, nullptr},
    {kCmdLostGasTables, "&Lost-Gas Tables",
     "View and print the current dive's tables and the same dive finished without each of its deco gases",
     QKeySequence::UnknownKey, nullptr},
    {kCmdCalculate, "&Calculate", "Calculate the current dive", QKeySequence::UnknownKey, nullptr},
    {kCmdCreateDiveTables, "Create &Dive Tables", "Create sets of dive tables over ranges of depths and times",
     QKeySequence::UnknownKey, nullptr},
    {kCmdPreferences, "&Preferences", "Change the preferences", QKeySequence::UnknownKey, nullptr},
    {kCmdSelectLanguage, "Select &Language", "Choose the language of the program", QKeySequence::UnknownKey, nullptr},
    {kCmdHelpContents, "&Help Contents", "Open the help", QKeySequence::UnknownKey, "F1"},
    {kCmdWhatsThis, "&What's This?", "Click a control to see its help", QKeySequence::UnknownKey, "Shift+F1"},
    {kCmdAbout, "&About", "Program version and addresses", QKeySequence::UnknownKey, nullptr},
};

}  // namespace

const SCommandInfo* CommandInfo(int id) {
  for (const SCommandInfo& c : kCommands)
    if (c.id == id) return &c;
  return nullptr;
}
