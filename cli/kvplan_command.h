#pragma once
// kvplan's commands. Each adds itself to the command line with the option
// groups it takes (cli/kvplan_options.h) and runs through a CKvplanSession.

#include <functional>

#include "cli/kvplan_options.h"

namespace CLI {
class App;
}

namespace kv {

class CKvplanSession;

struct SKvplanCommand {
  CLI::App* command = nullptr;
  // Runs the command once it was parsed; returns the exit code.
  std::function<int(CKvplanSession&)> run;
};

// "calc": calculates every dive, prints the dive tables, --json, --tables.
SKvplanCommand AddCalcCommand(CLI::App& app, SKvplanOptions& options);
// "check": the entry check of every point.
SKvplanCommand AddCheckCommand(CLI::App& app, SKvplanOptions& options);
// "bailout": the bailout of one dive from a moment, or the worst-case sweep.
SKvplanCommand AddBailoutCommand(CLI::App& app, SKvplanOptions& options);
// "tables": table generation from a settings file (.cct) into --out.
SKvplanCommand AddTablesCommand(CLI::App& app, SKvplanOptions& options);

}  // namespace kv
