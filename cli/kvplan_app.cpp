#include "cli/kvplan_app.h"

#include <CLI/CLI.hpp>

#include "cli/kvplan_command.h"
#include "cli/kvplan_session.h"

namespace kv {

int RunKvplan(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
              const SKvplanEnvironment& environment) {
  SKvplanOptions options;
  CLI::App app{"Kestrun Varnadel command-line dive planner", "kvplan"};
  app.require_subcommand(1, 1);
  app.set_help_all_flag("--help-all", "Help on every command");
  const std::vector<SKvplanCommand> commands = {AddCalcCommand(app, options), AddCheckCommand(app, options),
                                                AddBailoutCommand(app, options),
                                                AddTablesCommand(app, options)};

  std::vector<char*> argv;
  std::vector<std::string> copy = args;
  std::string name = "kvplan";
  argv.push_back(name.data());
  for (std::string& a : copy) argv.push_back(a.data());
  try {
    app.parse(static_cast<int>(argv.size()), argv.data());
  } catch (const CLI::CallForHelp&) {
    out << app.help();
    return kExitOk;
  } catch (const CLI::CallForAllHelp&) {
    out << app.help("", CLI::AppFormatMode::All);
    return kExitOk;
  } catch (const CLI::ParseError& e) {
    err << "kvplan: " << e.what() << " (see kvplan --help)\n";
    return kExitUsage;
  }
  for (const SKvplanCommand& c : commands) {
    if (!c.command->parsed()) continue;
    CKvplanSession session(options, environment, out, err);
    return session.Finish(c.run(session));
  }
  return kExitUsage;
}

}  // namespace kv
