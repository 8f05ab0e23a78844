// kvplan: the command-line dive planner.

#include <iostream>
#include <string>
#include <vector>

#include "cli/kvplan_app.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return kv::RunKvplan(args, std::cout, std::cerr);
}
