// kvplan check: the entry check of every point of a plan, as the profile
// entry page would run it.

#include <CLI/CLI.hpp>

#include "base/prompt.h"
#include "cli/cli_prompt.h"
#include "cli/kvplan_command.h"
#include "cli/kvplan_session.h"
#include "engine/dive_plan.h"
#include "plan/plan_group.h"

namespace kv {
namespace {

int RunCheck(CKvplanSession& session) {
  if (int rc = session.Start(); rc != kExitOk) return rc;
  CPlanGroup group;
  if (int rc = session.LoadPlan(group); rc != kExitOk) return rc;
  std::ostream& out = session.Out();
  int checked = 0, refused = 0;
  bool empty = false;
  for (int d = 0; d < group.GetDiveCount(); ++d) {
    CDivePlan* dive = group.GetDive(d);
    if (dive->UserPointCount() == 0) {
      session.Err() << "kvplan: dive " << d + 1 << " has no points\n";
      empty = true;
    }
    for (int i = 0; i < dive->UserPointCount(); ++i) {
      const CPlanPoint& p = *dive->GetUserPoint(i);
      CCollectingPrompt collect;
      IUserPrompt* previous = &UserPrompt();
      SetUserPrompt(&collect);
      const bool ok = dive->CheckGasEntry(p.Depth(), p.m_oxygen, p.m_helium, p.m_closedCircuit != 0, p.m_setpoint,
                                          false);
      SetUserPrompt(previous);
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
  return refused == 0 && !empty ? kExitOk : kExitDiveFailed;
}

}  // namespace

SKvplanCommand AddCheckCommand(CLI::App& app, SKvplanOptions& options) {
  CLI::App* command = app.add_subcommand("check", "Run the entry check of every point of a plan");
  AddPlanArgument(command, options);
  AddPreferenceOptions(command, options);
  return {command, RunCheck};
}

}  // namespace kv
