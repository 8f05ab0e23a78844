#pragma once
// kvplan's "bailout" command: the bailout of one dive planned from a second or
// from the end of the segment that holds it, or swept over every moment of the
// dive; and "calc --bailout", which re-plans the bailout plans a file keeps.

#include <ostream>
#include <string>

#include "cli/kvplan_app.h"

namespace CLI {
class App;
}

namespace kv {

class CPlanGroup;

struct SBailoutCommandOptions {
  int dive = 0;           // from 1
  int at = -1;            // --at SECOND
  int endOfSegment = -1;  // --end-of-segment SECOND
  bool sweep = false;
  int step = 60;
  std::string save;
  bool allowMoreGases = false;
  bool allowFewerGases = false;
  bool extend = false;
  std::string json;
  std::string tables;
  std::string gasTables;
};

// Adds the "bailout" subcommand and its own options (the plan, preferences and
// log options are the caller's, as for the other commands).
CLI::App* AddBailoutCommand(CLI::App& app, SBailoutCommandOptions& options);

// Runs the command on a loaded plan; returns the kvplan exit code.
int RunBailoutCommand(CPlanGroup& group, const SBailoutCommandOptions& options, const SKvplanEnvironment& environment,
                      std::ostream& out, std::ostream& err);

// Every calculated dive whose file keeps a valid bailout plan enters bailout
// mode and is re-planned, in plan order, each later dive recalculated from the
// end its predecessor now has. A saved bailout that no longer plans within its
// limits is said on err.
void ReplanSavedBailouts(CPlanGroup& group, std::ostream& err);

}  // namespace kv
