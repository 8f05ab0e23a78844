// kvplan calc: calculates every dive of a plan and prints its dive tables,
// and writes --json, --tables and --gas-tables.

#include <CLI/CLI.hpp>

#include <memory>

#include "cli/bailout_command.h"
#include "cli/dive_outcome.h"
#include "cli/json_report.h"
#include "cli/kvplan_command.h"
#include "cli/kvplan_session.h"
#include "cli/text_report.h"
#include "engine/dive_plan.h"
#include "plan/lost_gas.h"
#include "plan/plan_group.h"

namespace kv {
namespace {

struct SCalcOptions {
  std::string dive;                  // from 1; empty for every dive
  std::vector<std::string> seconds;  // run time seconds for the JSON
  bool bailout = false;              // show the bailout plans the file keeps
  bool lostGas = false;              // add the lost-gas variants of every dive
};

// A variant that cannot be completed, or that ends above an oxygen limit, is
// said on standard error as a dive is; the plan itself stands, so the exit
// code does not change.
void ReportLostGasOutcomes(const CLostGasVariants& variants, const std::vector<int>& dives, std::ostream& err) {
  for (int i : dives) {
    for (const SLostGasVariant& v : variants.Of(i)) {
      const SDiveOutcome outcome = DiveOutcome(*v.dive);
      const std::string which = "kvplan: dive " + std::to_string(i + 1) + ", if " + v.gas.Format(false) + " is lost";
      if (!outcome.calculated) err << which << ": cannot be completed: " << outcome.reason << "\n";
      for (const std::string& w : outcome.warnings) err << which << ", warning: " << w << " at the end of the dive\n";
    }
  }
}

// Reads --dive (0 for every dive) and --seconds; kExitUsage, said on err,
// when one is not a number in range or --seconds comes without --json.
int ReadCalcOptions(const SCalcOptions& calc, const SKvplanOptions& o, std::ostream& err, int& dive,
                    std::vector<int>& seconds) {
  dive = 0;
  if (!calc.dive.empty()) {
    if (const std::string why = ReadOptionNumber("--dive", calc.dive, 1, CPlanGroup::kMaxDives, "a dive number", dive);
        !why.empty()) {
      err << "kvplan: " << why << "\n";
      return kExitUsage;
    }
  }
  for (const std::string& text : calc.seconds) {
    int second = 0;
    if (const std::string why =
            ReadOptionNumber("--seconds", text, 0, CDivePlan::kTwentyFourHours, "a run time second", second);
        !why.empty()) {
      err << "kvplan: " << why << "\n";
      return kExitUsage;
    }
    seconds.push_back(second);
  }
  if (!seconds.empty() && o.json.empty()) {
    err << "kvplan: --seconds adds states to the JSON: give --json too\n";
    return kExitUsage;
  }
  return kExitOk;
}

// Says on err each dive of the plan that was not calculated and the end
// warnings of the dives asked for; true when a dive was not calculated.
// Every dive counts: a chosen dive starts from the state of those before it.
bool ReportDiveOutcomes(const CPlanGroup& group, const std::vector<int>& dives, std::ostream& err) {
  bool failed = false;
  for (int i = 0; i < group.GetDiveCount(); ++i) {
    const SDiveOutcome outcome = DiveOutcome(group, i);
    if (!outcome.calculated) {
      err << "kvplan: dive " << i + 1 << " not calculated: " << outcome.reason << "\n";
      failed = true;
    }
  }
  for (int i : dives)
    for (const std::string& w : DiveOutcome(group, i).warnings)
      err << "kvplan: dive " << i + 1 << " warning: " << w << " at the end of the dive\n";
  return failed;
}

// The text tables of the dives asked for, each with its bailout summary
// (--bailout) and its lost-gas variants.
void PrintDiveTables(CKvplanSession& session, const CPlanGroup& group, const std::vector<int>& dives,
                     const SCalcOptions& calc, const CLostGasVariants& variants) {
  const SReportOptions& options = session.ReportOptions();
  for (std::size_t k = 0; k < dives.size(); ++k) {
    if (k > 0) session.Out() << "\n";
    if (calc.bailout && group.GetDive(dives[k])->IsBailoutMode())
      session.Out() << BailoutSummaryText(group, *group.GetDive(dives[k]), options) << "\n";
    session.Out() << DiveTableText(group, dives[k], options);
    for (const SLostGasVariant& v : variants.Of(dives[k]))
      session.Out() << "\n" << LostGasTableText(group, dives[k], v, options);
  }
}

int RunCalc(CKvplanSession& session, const SCalcOptions& calc) {
  std::ostream& err = session.Err();
  const SKvplanOptions& o = session.Options();
  int dive = 0;
  std::vector<int> seconds;
  if (int rc = ReadCalcOptions(calc, o, err, dive, seconds); rc != kExitOk) return rc;
  if (int rc = session.Start(); rc != kExitOk) return rc;
  CPlanGroup group;
  if (int rc = session.LoadPlan(group); rc != kExitOk) return rc;
  if (int rc = session.CheckDiveNumber(group, dive); rc != kExitOk) return rc;

  group.CalculateDivePlans(true, 0, true);
  // A saved bailout without a valid plan any more is a plan that fails.
  const bool bailoutsValid = !calc.bailout || ReplanSavedBailouts(group, err);
  std::vector<int> dives;
  for (int i = 0; i < group.GetDiveCount(); ++i)
    if (dive == 0 || i == dive - 1) dives.push_back(i);
  const bool failed = ReportDiveOutcomes(group, dives, err) || !bailoutsValid;

  // A variant answers the 6-hour question as the plan does: with --extend.
  CLostGasVariants variants;
  if (calc.lostGas) {
    SLostGasOptions lostGasOptions;
    lostGasOptions.extendedPlanning = o.extend ? EExtendedPlanning::Accept : EExtendedPlanning::Decline;
    variants = CalculateLostGasVariants(group, dives, lostGasOptions);
    ReportLostGasOutcomes(variants, dives, err);
  }

  if (o.json != "-") PrintDiveTables(session, group, dives, calc, variants);
  const CLostGasVariants* lostGas = calc.lostGas ? &variants : nullptr;
  int rc = kExitOk;
  if (!o.json.empty()) rc = std::max(rc, session.WriteJson(JsonText(PlanJson(group, dives, seconds, lostGas))));
  rc = std::max(rc, session.WriteTables(group, dives, lostGas));
  if (rc != kExitOk) return rc;
  return failed ? kExitDiveFailed : kExitOk;
}

}  // namespace

SKvplanCommand AddCalcCommand(CLI::App& app, SKvplanOptions& options) {
  auto calc = std::make_shared<SCalcOptions>();
  CLI::App* command = app.add_subcommand("calc", "Calculate every dive and print its dive table");
  AddPlanArgument(command, options);
  AddPreferenceOptions(command, options);
  command->add_option("--dive", calc->dive, "Print only this dive (counting from 1)")->type_name("N");
  AddExtendOption(command, options);
  AddOutputOptions(command, options, true);
  command->add_option("--seconds", calc->seconds, "Add the state at these run time seconds to the JSON (100,200)")
      ->delimiter(',')
      ->type_name("SECONDS");
  command->add_flag("--bailout", calc->bailout,
                    "Show every dive whose file keeps a valid bailout plan in bailout mode, re-planned");
  command->add_flag("--lost-gas", calc->lostGas,
                    "Add to each dive one table per deco gas: the dive finished without that gas");
  return {command, [calc](CKvplanSession& session) { return RunCalc(session, *calc); }};
}

}  // namespace kv
