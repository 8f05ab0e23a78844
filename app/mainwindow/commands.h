#pragma once
// The main window's commands: identifiers, menu texts, shortcuts and tool tips.

#include <QKeySequence>

enum ECommand : int {
  kCmdNew = 4000,
  kCmdOpen = 57601,
  kCmdSave = 57603,
  kCmdSaveAs = 4001,
  kCmdExit = 4002,
  kCmdAddDive = 4010,
  kCmdDeleteDive = 4011,
  kCmdRenameDive = 4012,
  kCmdSortDives = 4013,
  kCmdPlanSettings = 4014,
  kCmdImportDive = 4015,
  kCmdExportDive = 4016,
  kCmdDetails = 59411,
  kCmdCurrentDiveTable = 4020,
  kCmdCurrentGasTable = 4021,
  kCmdAllDiveTables = 4022,
  kCmdAllGasTables = 4023,
  kCmdLostGasTables = 4024,
  kCmdCalculate = 4030,
  kCmdCreateDiveTables = 4031,
  kCmdPreferences = 4032,
  kCmdSelectLanguage = 4033,
  kCmdHelpContents = 4040,
  kCmdWhatsThis = 4041,
  kCmdAbout = 4042,
  // The recent files, File1 to File4.
  kCmdRecentFile1 = 57616,
};

struct SCommandInfo {
  int id;
  const char* text;  // menu text, English
  const char* tip;   // tool tip and status text, English
  QKeySequence::StandardKey standardKey;
  const char* key;   // a shortcut of its own, or nullptr
};

// The command's description; nullptr for an unknown id.
const SCommandInfo* CommandInfo(int id);
