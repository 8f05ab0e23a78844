#include "cli/bailout_command.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cmath>
#include <memory>

#include "bailout/bailout_planner.h"
#include "bailout/bailout_questions.h"
#include "bailout/bailout_sweep.h"
#include "base/progress.h"
#include "base/text.h"
#include "base/units.h"
#include "cli/cli_prompt.h"
#include "cli/dive_outcome.h"
#include "cli/json_report.h"
#include "cli/kvplan_command.h"
#include "cli/kvplan_session.h"
#include "cli/text_report.h"
#include "plan/plan_group.h"
#include "report/worst_case_html.h"

namespace kv {
namespace {

using Json = nlohmann::ordered_json;

// Message boxes on standard error, as everywhere in kvplan; the questions of
// bailout planning and the 6-hour question answered from the options.
class CBailoutCliPrompt final : public IUserPrompt {
public:
  CBailoutCliPrompt(std::ostream& err, const SBailoutAnswers& answers) : m_err(err), m_answers(answers) {}
  void ShowMessage(const std::string& text, EIcon) override { m_err << kAppCaption << ": " << OneLine(text) << '\n'; }
  bool AskYesNo(const std::string& text, bool defaultYes, EIcon) override {
    const bool answer = CAnsweringPrompt::Answer(m_answers, text, defaultYes);
    m_err << kAppCaption << ": " << OneLine(text) << (answer ? " Yes" : " No") << '\n';
    return answer;
  }

private:
  std::ostream& m_err;
  SBailoutAnswers m_answers;
};

// Puts the process-wide prompt back when the command ends.
class CPromptScope {
public:
  explicit CPromptScope(IUserPrompt& prompt) : m_previous(UserPrompt()) { SetUserPrompt(&prompt); }
  ~CPromptScope() { SetUserPrompt(&m_previous); }

private:
  IUserPrompt& m_previous;
};

// "\rBailout sweep: 12/45 moments" on standard error, one line rewritten;
// only on a terminal, so that a log of standard error holds no progress.
class CStderrProgress final : public IProgress {
public:
  CStderrProgress(std::ostream& err, bool terminal) : m_err(err), m_terminal(terminal) {}
  ~CStderrProgress() override {
    if (m_shown) m_err << '\n';
  }
  void SetRange(int maximum) override { m_maximum = maximum; }
  // About every 5 %.
  void SetPosition(int position) override {
    if (!m_terminal) return;
    const int stride = std::max(1, m_maximum / 20);
    if (m_shown && (position == m_position || (position / stride == m_position / stride && position < m_maximum)))
      return;
    m_position = position;
    m_shown = true;
    m_err << "\rBailout sweep: " << position << "/" << m_maximum << " moments" << std::flush;
  }
  void SetText(const std::string&) override {}
  bool IsCancelled() const override { return false; }

private:
  std::ostream& m_err;
  bool m_terminal;
  int m_maximum = 0;
  int m_position = -1;
  bool m_shown = false;
};

std::string Clock(int seconds) { return Format("%d:%02d", seconds / 60, seconds % 60); }

// Items the planner leaves out of the bailout gas list; said where the user looks.
void WarnAboutListItems(const CDivePlan& dive, int index, std::ostream& err) {
  if (!dive.BailoutSettings().useBailoutGasList) return;
  std::vector<std::string> leftOut;
  ReadBailoutGasList(dive.GetBailoutGasList(), &leftOut);
  for (const std::string& why : leftOut)
    err << "kvplan: dive " << index + 1 << ": bailout gas list item " << why << " and is left out\n";
}

void PrintShown(std::ostream& err, const std::string& when, const std::vector<CAnsweringPrompt::SShown>& shown) {
  for (const CAnsweringPrompt::SShown& s : shown)
    err << when << ": " << kAppCaption << ": " << OneLine(s.text) << (s.question ? (s.answer ? " Yes" : " No") : "")
        << '\n';
}

}  // namespace

std::string BailoutSummaryText(const CPlanGroup& group, const CDivePlan& dive, const SReportOptions& options) {
  const SDisplayUnits& units = options.units;
  const SBailoutSettings& b = dive.BailoutSettings();
  const bool valid = dive.IsBailoutPlanValid();
  std::string out = Format("Bailout at %s (second %d), %s, GF %d/%d, SAC %s: %s\n", Clock(dive.Bailout().time).c_str(),
                           dive.Bailout().time, units.DepthText("%0.1f", dive.Bailout().depth, " ").c_str(),
                           static_cast<int>(b.gfLow), static_cast<int>(b.gfHigh),
                           units.VolumeRateText(b.sacRate).c_str(), valid ? "plan valid" : "NO VALID BAILOUT PLAN");
  if (!dive.BailoutWalked()) return out + "The bailout was not calculated; the table shows the dive without it.\n";
  // The gases of a plan that failed a limit are the planner's last attempt,
  // not gases to carry.
  if (!valid)
    return out + "The bailout does not keep within its limits (see the messages above): no gases or volumes are "
                 "given; the table shows the planner's last attempt.\n";
  out += "Bailout gas switches\n";
  for (const CGasSwitch& s : dive.BailoutGasSwitches())
    if (s.m_inUse) out += Format("  %8s  %s\n", units.DepthText("%0.1f", s.m_depth, " ").c_str(), s.GasName().c_str());
  const double reserve = group.GetGasReserve(), pressure = group.GetCylinderWorkingPressure();
  out += Format("Bailout gas volumes, reserve %0.0f%%, cylinders at %s\n", reserve, units.PressureText(pressure).c_str());
  for (const SBailoutGasVolume& g : BailoutGasVolumes(dive)) {
    const double withReserve = (reserve / 100.0 + 1.0) * g.litres;
    out += Format("  %-12s %12s  %12s with reserve", g.gas.c_str(), units.VolumeText(g.litres).c_str(),
                  units.VolumeText(withReserve).c_str());
    const std::string cylinder = units.CylinderNumber(withReserve, pressure);
    if (!cylinder.empty()) out += "  cylinder " + cylinder + " " + units.VolumeUnit();
    out += "\n";
  }
  return out;
}

namespace {

Json SweepJson(const SBailoutSweep& sweep, int index) {
  Json doc;
  doc["dive"] = index + 1;
  doc["step"] = sweep.step;
  Json carried;
  carried["source"] = sweep.carried.source == SBailoutCarried::ESource::List ? "list" : "suggested";
  carried["second"] = sweep.carried.second >= 0 ? Json(sweep.carried.second) : Json(nullptr);
  Json carriedGases = Json::array();
  for (const SBailoutListMix& m : sweep.carried.gases) carriedGases.push_back(BailoutGasListText({m}));
  carried["gases"] = std::move(carriedGases);
  doc["carried"] = std::move(carried);
  Json moments = Json::array();
  for (const SBailoutMoment& m : sweep.moments) {
    Json j;
    j["second"] = m.second;
    j["depth"] = m.depth;
    j["valid"] = m.valid;
    j["run_time"] = m.runTime;
    j["ascent_time"] = m.ascentTime;
    j["cns_final"] = m.cnsFinal;
    Json gases = Json::array();
    for (const SBailoutGasVolume& g : m.gases) gases.push_back({{"gas", g.gas}, {"litres", g.litres}});
    j["gases"] = std::move(gases);
    moments.push_back(std::move(j));
  }
  doc["moments"] = std::move(moments);
  doc["invalid"] = sweep.invalid;
  Json worst;
  worst["run_time"] = {{"second", sweep.runTime.second}, {"value", sweep.runTime.value}};
  worst["cns_final"] = {{"second", sweep.cnsFinal.second}, {"value", sweep.cnsFinal.value}};
  Json gases = Json::array();
  for (const SBailoutWorstGas& g : sweep.gases)
    gases.push_back({{"gas", g.gas},
                     {"mix", BailoutGasListText({g.mix})},
                     {"litres", g.litres},
                     {"litres_with_reserve", g.litresWithReserve},
                     {"second", g.second >= 0 ? Json(g.second) : Json(nullptr)},
                     {"cylinder_litres", g.cylinderLitres}});
  worst["gases"] = std::move(gases);
  doc["worst"] = std::move(worst);
  return doc;
}

std::string SweepText(const CPlanGroup& group, const CDivePlan& dive, int index, const SBailoutSweep& sweep,
                      const SReportOptions& options) {
  const SDisplayUnits& units = options.units;
  std::string out = Format("Bailout sweep of dive %d, every %d s of closed-circuit time and every segment end: %d "
                           "moments, %d without a valid bailout plan\n",
                           index + 1, sweep.step, static_cast<int>(sweep.moments.size()), sweep.invalid);
  if (!dive.GetName().empty()) out = dive.GetName() + "\n" + out;
  out += CarriedGasesText(sweep) + "\n";
  if (sweep.moments.empty()) return out;
  out += Format("  Time    %10s  Valid  Run time  Ascent   CNS     Bailout gas (%s)\n",
                Format("Depth (%s)", units.Unit()).c_str(), units.VolumeUnit());
  for (const SBailoutMoment& m : sweep.moments) {
    const double depth = units.Shown(m.depth);
    if (!m.valid) {
      // The planner's last attempt is no plan: no times or gas to read off.
      out += Format("  %6s  %10.1f  %-5s  %8s  %6s  %6s  %s\n", Clock(m.second).c_str(), depth, "NO", "-", "-", "-",
                    "-");
      continue;
    }
    std::string gases;
    for (const SBailoutGasVolume& g : m.gases)
      gases += Format("%s%s %s", gases.empty() ? "" : ", ", g.gas.c_str(), units.VolumeNumber(g.litres).c_str());
    out += Format("  %6s  %10.1f  %-5s  %8s  %6s  %5.1f%%  %s\n", Clock(m.second).c_str(), depth, "yes",
                  Clock(m.runTime).c_str(), Clock(m.ascentTime).c_str(), m.cnsFinal * 100.0, gases.c_str());
  }
  if (sweep.invalid > 0) {
    out += "No valid bailout plan at";
    for (const SBailoutMoment& m : sweep.moments)
      if (!m.valid) out += " " + Clock(m.second);
    out += "; the worst case below covers the valid moments only.\n";
  }
  if (sweep.runTime.second < 0) return out + "No moment has a valid bailout plan: there is no worst case.\n";
  const double pressure = group.GetCylinderWorkingPressure();
  out += Format("Worst case, reserve %0.0f%%, cylinders at %s\n", group.GetGasReserve(),
                units.PressureText(pressure).c_str());
  out += Format("  Longest run time %s, bailout at %s\n", Clock(static_cast<int>(sweep.runTime.value)).c_str(),
                Clock(sweep.runTime.second).c_str());
  out += Format("  Highest CNS %0.1f%%, bailout at %s\n", sweep.cnsFinal.value * 100.0,
                Clock(sweep.cnsFinal.second).c_str());
  for (const SBailoutWorstGas& g : sweep.gases) {
    if (g.second < 0) {
      out += Format("  %-12s not breathed at any valid moment\n", g.gas.c_str());
      continue;
    }
    out += Format("  %-12s %12s, %12s with reserve, bailout at %s", g.gas.c_str(), units.VolumeText(g.litres).c_str(),
                  units.VolumeText(g.litresWithReserve).c_str(), Clock(g.second).c_str());
    const std::string cylinder = units.CylinderNumber(g.litresWithReserve, pressure);
    if (!cylinder.empty()) out += ", cylinder " + cylinder + " " + units.VolumeUnit();
    out += "\n";
  }
  return out;
}

// The text (unless the JSON goes to standard output), --json and the tables.
int WriteOutputs(CKvplanSession& session, const CPlanGroup& group, int index, const std::string& text,
                 const Json& json) {
  const SKvplanOptions& o = session.Options();
  if (o.json != "-") session.Out() << text;
  int rc = kExitOk;
  if (!o.json.empty()) rc = std::max(rc, session.WriteJson(JsonText(json)));
  return std::max(rc, session.WriteTables(group, {index}));
}

int RunSweep(CKvplanSession& session, CPlanGroup& group, int index, int step, const SBailoutAnswers& answers) {
  std::ostream& err = session.Err();
  const CDivePlan& dive = *group.GetDive(index);
  if (BailoutSweepSeconds(dive, step).empty()) {
    err << "kvplan: dive " << index + 1 << " has no closed-circuit time under water to bail out from\n";
    return kExitUsage;
  }
  SPreviousDiveState start;
  group.PreviousState(index, start);
  SBailoutSweep sweep;
  {
    CStderrProgress progress(err, session.ErrIsTerminal());
    sweep = SweepBailout(dive, start, step, answers, progress);
  }
  if (sweep.carried.second >= 0)
    PrintShown(err, "Suggesting gases for a bailout at " + Clock(sweep.carried.second), sweep.carried.shown);
  for (const SBailoutMoment& m : sweep.moments) PrintShown(err, "Bailout at " + Clock(m.second), m.shown);
  const SReportOptions& options = session.ReportOptions();
  const int rc = WriteOutputs(session, group, index, SweepText(group, dive, index, sweep, options),
                              SweepJson(sweep, index));
  if (rc != kExitOk) return rc;
  return sweep.invalid > 0 || sweep.carried.gases.empty() ? kExitDiveFailed : kExitOk;
}

struct SBailoutOptions {
  std::string dive;          // --dive N, from 1
  std::string at;            // --at SECOND
  std::string endOfSegment;  // --end-of-segment SECOND
  bool sweep = false;
  std::string step;          // --step SECONDS (60)
  bool allowMoreGases = false;
  bool allowFewerGases = false;
};

// Reads --dive, the bailout second (--at or --end-of-segment) and --step;
// kExitUsage, said on err, when one is missing, not a number in range, or
// --tables or --gas-tables come with a sweep.
int ReadBailoutOptions(const SBailoutOptions& b, const SKvplanOptions& o, std::ostream& err, int& dive, int& second,
                       int& step) {
  auto number = [&](const char* option, const std::string& text, int lowest, int highest, const char* what,
                    int& value) {
    const std::string why = ReadOptionNumber(option, text, lowest, highest, what, value);
    if (!why.empty()) err << "kvplan: " << why << "\n";
    return why.empty();
  };
  if (!number("--dive", b.dive, 1, CPlanGroup::kMaxDives, "a dive number", dive)) return kExitUsage;
  const bool fromEnd = !b.endOfSegment.empty();
  if (b.at.empty() && !fromEnd && !b.sweep) {
    err << "kvplan: bailout needs one of --at SECOND, --end-of-segment SECOND or --sweep\n";
    return kExitUsage;
  }
  if (!b.sweep && !number(fromEnd ? "--end-of-segment" : "--at", fromEnd ? b.endOfSegment : b.at, 1,
                          CDivePlan::kTwentyFourHours, "a run time second", second))
    return kExitUsage;
  if (!b.step.empty() && !number("--step", b.step, 1, CDivePlan::kTwentyFourHours, "a number of seconds", step))
    return kExitUsage;
  if (b.sweep && (!o.tables.empty() || !o.gasTables.empty())) {
    // A sweep plans a bailout dive for every moment; the tables print one dive.
    err << "kvplan: " << (o.tables.empty() ? "--gas-tables" : "--tables")
        << " prints one dive: give --at SECOND for the tables of one bailout, not --sweep\n";
    return kExitUsage;
  }
  return kExitOk;
}

// kExitUsage, said on err, when the chosen dive has no closed-circuit
// second to bail out from at second (from the end of its segment).
int CheckBailoutSecond(const CDivePlan& chosen, int dive, int second, bool fromEnd, std::ostream& err) {
  const char* option = fromEnd ? "--end-of-segment" : "--at";
  const int last = chosen.PredictionCount() - 1;
  if (second > last) {
    err << "kvplan: " << option << " " << second << ": dive " << dive << " runs from second 1 to " << last << "\n";
    return kExitUsage;
  }
  // Only a rebreather fails: on open circuit there is nothing to bail out from.
  const int bailoutSecond = chosen.BailoutSecondFor(second, fromEnd);
  if (bailoutSecond < 0 || !chosen.Prediction(bailoutSecond)->m_closedCircuit) {
    err << "kvplan: " << option << " " << second << ": dive " << dive << " is on open circuit at "
        << Clock(bailoutSecond < 0 ? second : bailoutSecond)
        << "; it has no closed-circuit time there to bail out from\n";
    return kExitUsage;
  }
  return kExitOk;
}

int RunBailout(CKvplanSession& session, const SBailoutOptions& b) {
  std::ostream& err = session.Err();
  int dive = 0, second = 0, step = 60;
  if (int rc = ReadBailoutOptions(b, session.Options(), err, dive, second, step); rc != kExitOk) return rc;
  const bool fromEnd = !b.endOfSegment.empty();

  if (int rc = session.Start(); rc != kExitOk) return rc;
  CPlanGroup group;
  if (int rc = session.LoadPlan(group); rc != kExitOk) return rc;
  if (int rc = session.CheckDiveNumber(group, dive); rc != kExitOk) return rc;
  const int index = dive - 1;
  const SBailoutAnswers answers{b.allowMoreGases, b.allowFewerGases, session.Options().extend};
  CBailoutCliPrompt prompt(err, answers);
  CPromptScope scope(prompt);

  group.CalculateDivePlans(true, 0, true);
  CDivePlan& chosen = *group.GetDive(index);
  if (!chosen.IsCalculationCompleted() || chosen.ProfilePoints().empty()) {
    err << "kvplan: dive " << dive << " not calculated: " << DiveOutcome(group, index).reason
        << "; there is no profile to bail out from\n";
    return kExitDiveFailed;
  }
  WarnAboutListItems(chosen, index, err);
  if (b.sweep) return RunSweep(session, group, index, step, answers);
  if (int rc = CheckBailoutSecond(chosen, dive, second, fromEnd, err); rc != kExitOk) return rc;
  chosen.SetBailout(second, fromEnd);

  const SReportOptions& options = session.ReportOptions();
  const std::string text =
      BailoutSummaryText(group, chosen, options) + "\n" + DiveTableText(group, index, options);
  int rc = WriteOutputs(session, group, index, text, PlanJson(group, {index}, {}));
  rc = std::max(rc, session.SavePlan(group, index));
  if (rc != kExitOk) return rc;
  return chosen.IsBailoutPlanValid() ? kExitOk : kExitDiveFailed;
}

}  // namespace

SKvplanCommand AddBailoutCommand(CLI::App& app, SKvplanOptions& options) {
  auto b = std::make_shared<SBailoutOptions>();
  CLI::App* command = app.add_subcommand(
      "bailout", "Plan the bailout of one closed-circuit dive from a moment, or sweep every moment for the worst case");
  AddPlanArgument(command, options);
  AddPreferenceOptions(command, options);
  command->add_option("--dive", b->dive, "The dive to bail out of (counting from 1)")->required()->type_name("N");
  auto* at = command->add_option("--at", b->at, "Bail out at this run time second")->type_name("SECOND");
  auto* end = command
                  ->add_option("--end-of-segment", b->endOfSegment,
                               "Bail out at the end of the profile segment that holds this second")
                  ->type_name("SECOND");
  auto* sweep = command->add_flag("--sweep", b->sweep,
                                  "Plan a bailout from every step of the dive's closed-circuit time and print the "
                                  "worst case");
  command->add_option("--step", b->step, "Seconds between the moments of a sweep (60)")
      ->type_name("SECONDS")
      ->needs(sweep);
  at->excludes(end)->excludes(sweep);
  end->excludes(sweep);
  command
      ->add_option("--save", options.save,
                   "Write the plan with its bailout to this file: a dive file (.ccd) for a name ending in .ccd or "
                   "when PLAN is a dive file, otherwise a plan file")
      ->type_name("OUT.ccp")
      ->excludes(sweep);
  command->add_flag("--allow-more-gases", b->allowMoreGases, "Answer yes when the planner asks to add bailout gases");
  command->add_flag("--allow-fewer-gases", b->allowFewerGases,
                    "Answer yes when the planner asks to use fewer bailout gases");
  AddExtendOption(command, options);
  AddOutputOptions(command, options, true);
  return {command, [b](CKvplanSession& session) { return RunBailout(session, *b); }};
}

bool ReplanSavedBailouts(CPlanGroup& group, std::ostream& err) {
  bool allValid = true;
  bool endChanged = false;
  for (int i = 0; i < group.GetDiveCount(); ++i) {
    CDivePlan& dive = *group.GetDive(i);
    // A dive after a bailout starts from the end that bailout left.
    if (endChanged) group.CalculateDivePlan(i, true);
    const bool saved = dive.IsBailoutPlanValid() && !dive.BailoutPlanPoints().empty() && dive.Bailout().time >= 1;
    if (!saved || !dive.IsCalculationCompleted()) continue;
    dive.EnterBailoutMode();
    endChanged = true;
    if (!dive.IsBailoutPlanValid()) {
      allValid = false;
      err << "kvplan: dive " << i + 1 << ": the saved bailout from second " << dive.Bailout().time
          << " has no valid plan any more\n";
    }
  }
  return allValid;
}

}  // namespace kv
