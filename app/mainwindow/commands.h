#pragma once
// The main window's commands: their names, menu texts, shortcuts and tool tips.
// Each command is a QAction whose object name is the command's name, so menus,
// toolbar, tests and language libraries find it by what it does.

#include <QKeySequence>

namespace kv::app {

enum class ECommand {
  New,
  Open,
  Save,
  SaveAs,
  Exit,
  AddDive,
  DeleteDive,
  RenameDive,
  SortDives,
  PlanSettings,
  ImportDive,
  ExportDive,
  Details,
  CurrentDiveTable,
  CurrentGasTable,
  AllDiveTables,
  AllGasTables,
  LostGasTables,
  Calculate,
  CreateDiveTables,
  Preferences,
  SelectLanguage,
  HelpContents,
  WhatsThis,
  About,
  // The first entry of the recent files; the others follow it in the menu.
  RecentFile1,
};

struct SCommandInfo {
  ECommand command;
  const char *name;  // the action's object name
  const char *text;  // menu text, English
  const char *tip;   // tool tip and status text, English
  QKeySequence::StandardKey standardKey;
  const char *key;  // a shortcut of its own, or nullptr
};

// The description of a command with menu text and tip of its own (every
// command but the recent files, which show their paths).
const SCommandInfo *CommandInfo(ECommand command);
// The object name of a command's action.
const char *CommandName(ECommand command);

}  // namespace kv::app
