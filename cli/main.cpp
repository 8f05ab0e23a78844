// kvplan: the command-line dive planner.

#include <iostream>
#include <string>
#include <unistd.h>
#include <vector>

#include "cli/html_tables.h"
#include "cli/kvplan_app.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  kv::SKvplanEnvironment environment;
  environment.writeTables = [](const kv::CPlanGroup& group, const std::vector<int>& dives, const std::string& path,
                               bool gasTables, const kv::SReportOptions& options,
                               const kv::CLostGasVariants* lostGas) {
    return kv::WriteHtmlTables(group, dives, path, gasTables, options, std::cerr, lostGas);
  };
  environment.errIsTerminal = ::isatty(STDERR_FILENO) == 1;
  return kv::RunKvplan(args, std::cout, std::cerr, environment);
}
