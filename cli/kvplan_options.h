#pragma once
// The options that kvplan's commands share, declared once so that every
// command spells, explains and checks them the same way. A command adds the
// groups it takes; CKvplanSession (cli/kvplan_session.h) acts on them.

#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace kv {

struct SKvplanOptions {
  std::string plan;               // PLAN: the plan (.ccp) or dive (.ccd) file
  std::string prefs;              // --prefs: a settings (INI) file instead of the user's preferences
  std::vector<std::string> sets;  // --set PATH=VALUE, in the order given
  std::string log;                // --log: the status log, appended to
  bool extend = false;            // --extend: plan beyond 6 hours
  std::string json;               // --json FILE, or "-" for standard output
  std::string tables;             // --tables FILE.html
  std::string gasTables;          // --gas-tables FILE.html
  std::string out;                // --out FILE.html: the generated tables of "tables"
  std::string save;               // --save FILE: "bailout" writes the plan with its bailout
};

void AddPlanArgument(CLI::App* command, SKvplanOptions& o);
// --prefs, --set and --log.
void AddPreferenceOptions(CLI::App* command, SKvplanOptions& o);
void AddExtendOption(CLI::App* command, SKvplanOptions& o);
// --json, and with tables also --tables and --gas-tables.
void AddOutputOptions(CLI::App* command, SKvplanOptions& o, bool tables);

// One whole number of an option given as text, for one-line messages:
// "--dive: \"0\" is not a dive number (1 to 30)". Empty when it reads.
std::string ReadOptionNumber(const char* option, const std::string& text, int lowest, int highest,
                             const char* what, int& value);

}  // namespace kv
