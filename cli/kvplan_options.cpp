#include "cli/kvplan_options.h"

#include <CLI/CLI.hpp>

#include "base/text.h"

namespace kv {

void AddPlanArgument(CLI::App* command, SKvplanOptions& o) {
  command->add_option("PLAN", o.plan, "Plan file (.ccp) or dive file (.ccd)")->required()->type_name("FILE");
}

void AddPreferenceOptions(CLI::App* command, SKvplanOptions& o) {
  command->add_option("--prefs", o.prefs, "Use this settings (INI) file as the preferences instead of the user's")
      ->type_name("FILE");
  command
      ->add_option("--set", o.sets,
                   "Override one preference for this run: PATH=VALUE as the store holds it, such as "
                   "\"General\\Units=1\" or \"Dive\\SAC Rate=25500\"")
      ->take_all()
      ->allow_extra_args(false)
      ->type_name("PATH=VALUE");
  command->add_option("--log", o.log, "Append the status log to this file")->type_name("FILE");
}

void AddExtendOption(CLI::App* command, SKvplanOptions& o) {
  command->add_flag("--extend", o.extend, "Answer yes when a dive needs decompression beyond 6 hours");
}

void AddOutputOptions(CLI::App* command, SKvplanOptions& o, bool tables) {
  command->add_option("--json", o.json, "Write the results as JSON to FILE, or to standard output for -")
      ->type_name("FILE");
  if (!tables) return;
  command->add_option("--tables", o.tables, "Write the HTML dive tables to FILE.html")->type_name("FILE");
  command->add_option("--gas-tables", o.gasTables, "Write the HTML gas consumption tables to FILE.html")
      ->type_name("FILE");
}

std::string ReadOptionNumber(const char* option, const std::string& text, int lowest, int highest,
                             const char* what, int& value) {
  int n = 0;
  if (ReadWholeInt(text, n) && n >= lowest && n <= highest) {
    value = n;
    return {};
  }
  std::string shown = text.size() > 20 ? text.substr(0, 20) + "..." : text;
  return Format("%s: \"%s\" is not %s (%d to %d)", option, shown.c_str(), what, lowest, highest);
}

}  // namespace kv
