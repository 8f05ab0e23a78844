#pragma once
// "kvplan tables": loads a table generation settings file, validates it,
// runs the generation on every core and writes the printed tables (and, with
// --json, every generated dive) the way the desktop page does.

#include <ostream>
#include <string>

namespace CLI {
class App;
}

namespace kv {

struct STablesCommandOptions {
  std::string settings;  // the ".cct" file
  std::string out;       // the HTML document
  std::string grouping;  // "depth" or "time"; empty keeps the file's choice
  std::string json;      // a file, or "-" for standard output
  bool extend = false;   // answer yes when a dive needs more than 6 hours
};

// Adds the "tables" command with its own options; the caller adds the
// options every command shares (--prefs, --set, --log).
CLI::App* AddTablesCommand(CLI::App& app, STablesCommandOptions& options);

// Runs the command once the preferences, the status log and the prompt of
// the run are in place. Returns a kvplan exit code.
int RunTablesCommand(const STablesCommandOptions& options, std::ostream& out, std::ostream& err);

}  // namespace kv
