#include "app/mainwindow/commands.h"

#include <iterator>

namespace kv::app {
namespace {

const SCommandInfo kCommands[] = {
    {ECommand::New, "actionNew", "&New Dive Plan", "Create a new dive plan", QKeySequence::New, nullptr},
    {ECommand::Open, "actionOpen", "&Open", "Open an existing dive plan", QKeySequence::Open, nullptr},
    {ECommand::Save, "actionSave", "&Save", "Save the dive plan", QKeySequence::Save, nullptr},
    {ECommand::SaveAs, "actionSaveAs", "Save &As", "Save the dive plan under a new name", QKeySequence::UnknownKey,
     nullptr},
    {ECommand::Exit, "actionExit", "E&xit", "Quit the program, asking to save changes", QKeySequence::UnknownKey,
     nullptr},
    {ECommand::AddDive, "actionAddDive", "&Add Dive", "Add a Dive", QKeySequence::UnknownKey, nullptr},
    {ECommand::DeleteDive, "actionDeleteDive", "&Delete Dive", "Delete the current dive", QKeySequence::UnknownKey,
     nullptr},
    {ECommand::RenameDive, "actionRenameDive", "&Rename Dive", "Rename the current dive", QKeySequence::UnknownKey,
     nullptr},
    {ECommand::SortDives, "actionSortDives", "&Sort Dives", "Change the order of the dives", QKeySequence::UnknownKey,
     nullptr},
    {ECommand::PlanSettings, "actionPlanSettings", "Dive &Plan Settings", "Change the settings of the whole plan",
     QKeySequence::UnknownKey, nullptr},
    {ECommand::ImportDive, "actionImportDive", "&Import Dive", "Add a dive from a dive file", QKeySequence::UnknownKey,
     nullptr},
    {ECommand::ExportDive, "actionExportDive", "&Export Dive", "Write the current dive to a dive file",
     QKeySequence::UnknownKey, nullptr},
    {ECommand::Details, "actionDetails", "&Details", "Show the tissue details of one second of a dive",
     QKeySequence::UnknownKey, nullptr},
    {ECommand::CurrentDiveTable, "actionCurrentDiveTable", "&View / Print Current Dive Table",
     "View and print the dive table of the current dive", QKeySequence::UnknownKey, nullptr},
    {ECommand::CurrentGasTable, "actionCurrentGasTable", "View / Print Current &OC Gas Consumption Table",
     "View and print the OC gas consumption table of the current dive", QKeySequence::UnknownKey, nullptr},
    {ECommand::AllDiveTables, "actionAllDiveTables", "&View / Print All Dive Tables",
     "View and print the dive tables of all dives", QKeySequence::UnknownKey, nullptr},
    {ECommand::AllGasTables, "actionAllGasTables", "View / Print All &OC Gas Consumption Tables",
     "View and print the OC gas consumption tables of all dives", QKeySequence::UnknownKey, nullptr},
    {ECommand::LostGasTables, "actionLostGasTables", "&Lost-Gas Tables",
     "View and print the current dive's tables and the same dive finished without each of its deco gases",
     QKeySequence::UnknownKey, nullptr},
    {ECommand::Calculate, "actionCalculate", "&Calculate", "Calculate the current dive", QKeySequence::UnknownKey,
     nullptr},
    {ECommand::CreateDiveTables, "actionCreateDiveTables", "Create &Dive Tables",
     "Create sets of dive tables over ranges of depths and times", QKeySequence::UnknownKey, nullptr},
    {ECommand::Preferences, "actionPreferences", "&Preferences", "Change the preferences", QKeySequence::UnknownKey,
     nullptr},
    {ECommand::SelectLanguage, "actionSelectLanguage", "Select &Language", "Choose the language of the program",
     QKeySequence::UnknownKey, nullptr},
    {ECommand::HelpContents, "actionHelpContents", "&Help Contents", "Open the help", QKeySequence::UnknownKey, "F1"},
    {ECommand::WhatsThis, "actionWhatsThis", "&What's This?", "Click a control to see its help",
     QKeySequence::UnknownKey, "Shift+F1"},
    {ECommand::About, "actionAbout", "&About", "Program version and addresses", QKeySequence::UnknownKey, nullptr},
};

}  // namespace

const SCommandInfo* CommandInfo(ECommand command) {
  for (const SCommandInfo& c : kCommands)
    if (c.command == command) return &c;
  return nullptr;
}

const char* CommandName(ECommand command) {
  if (command == ECommand::RecentFile1) return "actionRecentFile1";
  const SCommandInfo* info = CommandInfo(command);
  return info ? info->name : "";
}

}  // namespace kv::app
