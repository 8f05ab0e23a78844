#include "cli/kvplan_app.h"

#include <CLI/CLI.hpp>

#include <unistd.h>

#include "base/prompt.h"
#include "base/status_log.h"
#include "base/text.h"
#include "cli/cli_prompt.h"
#include "cli/json_report.h"
#include "cli/preference_overlay.h"
#include "cli/qt_settings_storage.h"
#include "cli/tables_command.h"
#include "cli/text_report.h"
#include "engine/dive_plan.h"
#include "plan/file_store.h"
#include "plan/plan_group.h"

namespace kv {
namespace {

struct SOptions {
  std::string plan;
  int dive = 0;  // from 1; 0 for every dive
  bool extend = false;
  std::string json;
  std::vector<int> seconds;
  std::string prefs;
  std::vector<std::string> sets;
  std::string tables;
  std::string gasTables;
  std::string log;
};

// The process-wide seams that a run installs, put back as they were found
// (prompt, log) or to their defaults (preferences).
class CRunScope {
public:
  ~CRunScope() {
    SetUserPrompt(nullptr);
    StatusLog().Close();
    Prefs().SetStorage(nullptr);
  }
};

bool EndsWith(const std::string& text, const char* suffix) {
  const std::string s = ToLower(text);
  const std::string x = suffix;
  return s.size() >= x.size() && s.compare(s.size() - x.size(), x.size(), x) == 0;
}

// A ".ccd" file is a dive file; any other name is looked at: a dive file
// starts with the line "Dive".
bool IsDiveFile(const std::string& path) {
  if (EndsWith(path, ".ccd")) return true;
  if (EndsWith(path, ".ccp")) return false;
  std::string content;
  if (!FileStore().Read(path, content)) return false;
  const std::size_t end = content.find('\n');
  std::string first = content.substr(0, end);
  if (!first.empty() && first.back() == '\r') first.pop_back();
  return first == "Dive";
}

int SetUpPreferences(const SOptions& o, const SKvplanEnvironment& env, std::ostream& err) {
  std::unique_ptr<IPreferenceStorage> base;
  if (!o.prefs.empty()) {
    if (::access(o.prefs.c_str(), R_OK) != 0) {
      err << "kvplan: cannot read preferences file " << o.prefs << "\n";
      return kExitFile;
    }
    auto ini = std::make_unique<CQtSettingsStorage>(o.prefs);
    if (!ini->IsReadable()) {
      err << "kvplan: invalid preferences file " << o.prefs << "\n";
      return kExitFile;
    }
    base = std::move(ini);
  } else if (env.userPreferences) {
    base = env.userPreferences();
  } else {
    base = std::make_unique<CQtSettingsStorage>();
  }
  auto overlay = std::make_unique<CPreferenceOverlay>(std::move(base));
  for (const std::string& s : o.sets) {
    const std::string why = ApplyPreferenceOverride(*overlay, s);
    if (!why.empty()) {
      err << "kvplan: --set " << s << ": " << why << "\n";
      return kExitUsage;
    }
  }
  Prefs().SetStorage(std::move(overlay));
  Prefs().LoadSettings();
  return kExitOk;
}

int LoadInput(CPlanGroup& group, const SOptions& o, const CCliPrompt& prompt, std::ostream& err) {
  const int shownBefore = prompt.Shown();
  bool ok;
  if (IsDiveFile(o.plan)) {
    // A dive file is a plan of one dive with the user's plan defaults.
    group.ClearPlanGroup();
    group.ApplyPreferences();
    ok = group.ImportDive(o.plan);
  } else {
    ok = group.LoadPlanGroup(o.plan);
  }
  if (ok) return kExitOk;
  if (prompt.Shown() == shownBefore)
    err << "kvplan: " << o.plan << ": the plan cannot be loaded (a plan holds at most "
        << CPlanGroup::kMaxDives << " dives)\n";
  return kExitFile;
}

int RunCalc(const SOptions& o, const SKvplanEnvironment& env, CPlanGroup& group, std::ostream& out,
            std::ostream& err) {
  if (o.dive > group.GetDiveCount()) {
    err << "kvplan: --dive " << o.dive << ": the plan has " << group.GetDiveCount()
        << (group.GetDiveCount() == 1 ? " dive\n" : " dives\n");
    return kExitUsage;
  }
  group.CalculateDivePlans(true, 0, true);
  bool failed = false;
  for (int i = 0; i < group.GetDiveCount(); ++i) failed = failed || !group.GetDive(i)->IsCalculationCompleted();

  std::vector<int> dives;
  if (o.dive > 0)
    dives.push_back(o.dive - 1);
  else
    for (int i = 0; i < group.GetDiveCount(); ++i) dives.push_back(i);

  bool fileFailed = false;
  if (o.json != "-") {
    const STextTableOptions options = TextTableOptionsFromPreferences();
    for (std::size_t k = 0; k < dives.size(); ++k) {
      if (k > 0) out << "\n";
      out << DiveTableText(group, dives[k], options);
    }
  }
  if (!o.json.empty()) {
    const std::string text = JsonText(PlanJson(group, dives, o.seconds));
    if (o.json == "-") {
      out << text;
    } else if (!FileStore().Write(o.json, text)) {
      err << "kvplan: cannot write " << o.json << "\n";
      fileFailed = true;
    }
  }
  for (auto [path, gas] : {std::pair{o.tables, false}, std::pair{o.gasTables, true}}) {
    if (path.empty()) continue;
    if (!env.writeTables(group, dives, path, gas)) {
      err << "kvplan: cannot write " << path << "\n";
      fileFailed = true;
    }
  }
  if (fileFailed) return kExitFile;
  return failed ? kExitDiveFailed : kExitOk;
}

int RunCheck(CPlanGroup& group, std::ostream& out) {
  int checked = 0, refused = 0;
  for (int d = 0; d < group.GetDiveCount(); ++d) {
    CDivePlan* dive = group.GetDive(d);
    for (int i = 0; i < dive->UserPointCount(); ++i) {
      const CPlanPoint& p = *dive->GetUserPoint(i);
      CCollectingPrompt collect;
      SetUserPrompt(&collect);
      const bool ok = dive->CheckGasEntry(p.Depth(), p.m_oxygen, p.m_helium, p.m_closedCircuit != 0, p.m_setpoint,
                                          false);
      SetUserPrompt(nullptr);
      ++checked;
      if (ok) continue;
      ++refused;
      std::string message;
      for (const std::string& m : collect.messages) {
        if (!message.empty()) message += ' ';
        message += OneLine(m);
      }
      out << "Dive " << d + 1 << ", point " << i + 1 << ": " << message << "\n";
    }
  }
  out << checked << (checked == 1 ? " point checked, " : " points checked, ") << refused << " refused\n";
  return refused == 0 ? kExitOk : kExitDiveFailed;
}

}  // namespace

int RunKvplan(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
              const SKvplanEnvironment& environment) {
  SOptions o;
  CLI::App app{"Kestrun Varnadel command-line dive planner", "kvplan"};
  app.require_subcommand(1, 1);
  app.set_help_all_flag("--help-all", "Help on every command");

  auto addShared = [&](CLI::App* cmd) {
    cmd->add_option("--prefs", o.prefs, "Use this INI file as the preferences instead of the user's");
    cmd->add_option("--set", o.sets, "Override one preference for this run: PATH=VALUE, such as \"General\\Units=1\"")
        ->take_all()
        ->allow_extra_args(false);
    cmd->add_option("--log", o.log, "Write the status log to this file");
  };
  auto addCommon = [&](CLI::App* cmd) {
    cmd->add_option("PLAN", o.plan, "Plan file (.ccp) or dive file (.ccd)")->required();
    addShared(cmd);
  };
  CLI::App* calc = app.add_subcommand("calc", "Calculate every dive and print its dive table");
  addCommon(calc);
  calc->add_option("--dive", o.dive, "Print only this dive (counting from 1)")->check(CLI::PositiveNumber);
  calc->add_flag("--extend", o.extend, "Answer yes when a dive needs decompression beyond 6 hours");
  calc->add_option("--json", o.json, "Write the results as JSON to FILE, or to standard output for -");
  calc->add_option("--seconds", o.seconds, "Add the state at these run time seconds to the JSON (100,200)")
      ->delimiter(',')
      ->check(CLI::NonNegativeNumber);
  calc->add_option("--tables", o.tables, "Write the HTML dive tables to FILE.html");
  calc->add_option("--gas-tables", o.gasTables, "Write the HTML gas consumption tables to FILE.html");
  CLI::App* check = app.add_subcommand("check", "Run the entry check of every point of a plan");
  addCommon(check);
  STablesCommandOptions tablesOptions;
  CLI::App* tables = AddTablesCommand(app, tablesOptions);
  addShared(tables);

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
    err << "kvplan: " << e.what() << "\nRun with --help for more information.\n";
    return kExitUsage;
  }
  if ((!o.tables.empty() || !o.gasTables.empty()) && !environment.writeTables) {
    err << "kvplan: " << (o.tables.empty() ? "--gas-tables" : "--tables") << " is not available in this build\n";
    return kExitUsage;
  }

  CRunScope scope;
  if (int rc = SetUpPreferences(o, environment, err); rc != kExitOk) return rc;
  if (!o.log.empty() && !StatusLog().OpenLogAt(o.log, false)) {
    err << "kvplan: cannot write the status log " << o.log << "\n";
    return kExitFile;
  }
  CCliPrompt prompt(err, o.extend || tablesOptions.extend);
  SetUserPrompt(&prompt);
  if (tables->parsed()) return RunTablesCommand(tablesOptions, out, err);

  CPlanGroup group;
  // The plan is calculated once, after it is loaded, not key by key.
  group.SetAutoRecalc(false);
  if (int rc = LoadInput(group, o, prompt, err); rc != kExitOk) return rc;
  if (calc->parsed()) return RunCalc(o, environment, group, out, err);
  return RunCheck(group, out);
}

}  // namespace kv
