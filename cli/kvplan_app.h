#pragma once
// kvplan, the command-line planner: "calc" calculates a plan or dive file and
// prints its dive tables (and --json), "check" runs the entry check of every
// point, "tables" generates tables from a table generation settings file.
// The whole program behind main(), so that tests can run it in-process.
// Each command lives in its own file (cli/*_command.cpp), the options they
// share in cli/kvplan_options.h and the run they share in cli/kvplan_session.h.

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "base/preferences.h"

namespace kv {

class CLostGasVariants;
class CPlanGroup;
struct SReportOptions;

enum EKvplanExit : int {
  kExitOk = 0,
  kExitDiveFailed = 1,  // calc: a dive was not calculated; check: a point was refused or a dive has none
  kExitUsage = 2,       // the command line, a --set or the preferences are not usable
  kExitFile = 3,        // a file could not be read, is invalid, or an output could not be written
};

struct SKvplanEnvironment {
  // The user's own preferences store; the QSettings store when not set.
  std::function<std::unique_ptr<IPreferenceStorage>()> userPreferences;
  // Writes the HTML dive tables (gasTables false) or gas consumption tables of
  // the given dives to path with the run's report options, each followed by
  // its lost-gas variants' tables when lostGas is given; true when written,
  // or when no dive qualifies and it has said so. Without it --tables and
  // --gas-tables are refused.
  std::function<bool(const CPlanGroup& group, const std::vector<int>& dives, const std::string& path,
                     bool gasTables, const SReportOptions& options, const CLostGasVariants* lostGas)>
      writeTables;
  // Standard error is a terminal: progress may rewrite its line with "\r".
  // Elsewhere (a file, a pipe, a test) no progress is written.
  bool errIsTerminal = false;
};

int RunKvplan(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
              const SKvplanEnvironment& environment = {});

}  // namespace kv
