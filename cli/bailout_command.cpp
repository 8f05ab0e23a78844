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
#include "cli/cli_prompt.h"
#include "cli/json_report.h"
#include "cli/kvplan_command.h"
#include "cli/kvplan_session.h"
#include "cli/text_report.h"
#include "plan/plan_group.h"

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

// "\rBailout sweep: 12/45 moments" on standard error, one line rewritten.
class CStderrProgress final : public IProgress {
public:
  explicit CStderrProgress(std::ostream& err) : m_err(err) {}
  ~CStderrProgress() override {
    if (m_shown) m_err << '\n';
  }
  void SetRange(int maximum) override { m_maximum = maximum; }
  // About every 5 %, so that a log of standard error stays short.
  void SetPosition(int position) override {
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

}  // namespace

std::string BailoutSummaryText(const CPlanGroup& group, const CDivePlan& dive) {
  const SBailoutSettings& b = dive.BailoutSettings();
  std::string out = Format("Bailout at %s (second %d), %0.1f m, GF %d/%d, SAC %0.0f l/min: %s\n",
                           Clock(dive.m_bailoutTime).c_str(), dive.m_bailoutTime, dive.m_bailoutDepth,
                           static_cast<int>(b.gfLow), static_cast<int>(b.gfHigh), b.sacRate,
                           dive.IsBailoutPlanValid() ? "plan valid" : "NO VALID BAILOUT PLAN");
  if (!dive.BailoutWalked()) return out + "The bailout was not calculated; the table shows the dive without it.\n";
  out += "Bailout gas switches\n";
  for (const CGasSwitch& s : dive.BailoutGasSwitches())
    if (s.m_inUse) out += Format("  %6.1f m  %s\n", s.m_depth, s.GasName().c_str());
  const double reserve = group.GetGasReserve(), pressure = group.GetCylinderWorkingPressure();
  out += Format("Bailout gas volumes, reserve %0.0f%%, cylinders at %0.0f bar\n", reserve, pressure);
  for (const SBailoutGasVolume& g : BailoutGasVolumes(dive)) {
    const double withReserve = (reserve / 100.0 + 1.0) * g.litres;
    out += Format("  %-12s %7.0f l  %7.0f l with reserve", g.gas.c_str(), g.litres, withReserve);
    if (pressure > 0.0) out += Format("  cylinder %0.1f l", withReserve / pressure);
    out += "\n";
  }
  return out;
}

namespace {

Json SweepJson(const SBailoutSweep& sweep, int index) {
  Json doc;
  doc["dive"] = index + 1;
  doc["step"] = sweep.step;
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
    gases.push_back({{"gas", g.gas}, {"litres", g.litres}, {"second", g.second}, {"cylinder_litres", g.cylinderLitres}});
  worst["gases"] = std::move(gases);
  doc["worst"] = std::move(worst);
  return doc;
}

std::string SweepText(const CPlanGroup& group, const CDivePlan& dive, int index, const SBailoutSweep& sweep) {
  std::string out = Format("Bailout sweep of dive %d, every %d s of closed-circuit time and every segment end: %d "
                           "moments, %d without a valid bailout plan\n",
                           index + 1, sweep.step, static_cast<int>(sweep.moments.size()), sweep.invalid);
  if (!dive.GetName().empty()) out = dive.GetName() + "\n" + out;
  out += "  Time    Depth  Valid  Run time  Ascent   CNS     Bailout gas (l)\n";
  for (const SBailoutMoment& m : sweep.moments) {
    std::string gases;
    for (const SBailoutGasVolume& g : m.gases) gases += Format("%s%s %0.0f", gases.empty() ? "" : ", ", g.gas.c_str(), g.litres);
    out += Format("  %6s %5.1f  %-5s  %8s  %6s  %5.1f%%  %s\n", Clock(m.second).c_str(), m.depth, m.valid ? "yes" : "NO",
                  Clock(m.runTime).c_str(), Clock(m.ascentTime).c_str(), m.cnsFinal * 100.0, gases.c_str());
  }
  if (sweep.invalid > 0) {
    out += "No valid bailout plan at";
    for (const SBailoutMoment& m : sweep.moments)
      if (!m.valid) out += " " + Clock(m.second);
    out += "; the worst case below covers the valid moments only.\n";
  }
  if (sweep.runTime.second < 0) return out + "No moment has a valid bailout plan: there is no worst case.\n";
  out += Format("Worst case, reserve %0.0f%%, cylinders at %0.0f bar\n", group.GetGasReserve(),
                group.GetCylinderWorkingPressure());
  out += Format("  Longest run time %s, bailout at %s\n", Clock(static_cast<int>(sweep.runTime.value)).c_str(),
                Clock(sweep.runTime.second).c_str());
  out += Format("  Highest CNS %0.1f%%, bailout at %s\n", sweep.cnsFinal.value * 100.0,
                Clock(sweep.cnsFinal.second).c_str());
  for (const SBailoutWorstGas& g : sweep.gases) {
    out += Format("  %-12s %7.0f l, bailout at %s", g.gas.c_str(), g.litres, Clock(g.second).c_str());
    if (g.cylinderLitres > 0.0) out += Format(", cylinder %0.1f l", g.cylinderLitres);
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
    CStderrProgress progress(err);
    sweep = SweepBailout(dive, start, step, answers, progress);
  }
  for (const SBailoutMoment& m : sweep.moments)
    for (const CAnsweringPrompt::SShown& s : m.shown)
      err << "Bailout at " << Clock(m.second) << ": " << kAppCaption << ": " << OneLine(s.text)
          << (s.question ? (s.answer ? " Yes" : " No") : "") << '\n';
  const int rc = WriteOutputs(session, group, index, SweepText(group, dive, index, sweep), SweepJson(sweep, index));
  if (rc != kExitOk) return rc;
  return sweep.invalid > 0 ? kExitDiveFailed : kExitOk;
}

struct SBailoutOptions {
  std::string dive;          // --dive N, from 1
  std::string at;            // --at SECOND
  std::string endOfSegment;  // --end-of-segment SECOND
  bool sweep = false;
  std::string step;          // --step SECONDS (60)
  std::string save;          // --save OUT.ccp
  bool allowMoreGases = false;
  bool allowFewerGases = false;
};

int RunBailout(CKvplanSession& session, const SBailoutOptions& b) {
  std::ostream& err = session.Err();
  int dive = 0, second = 0, step = 60;
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
  if (!chosen.IsCalculationCompleted()) {
    err << "kvplan: dive " << dive << " could not be calculated; there is no profile to bail out from\n";
    return kExitDiveFailed;
  }
  WarnAboutListItems(chosen, index, err);
  if (b.sweep) return RunSweep(session, group, index, step, answers);

  const int last = chosen.PredictionCount() - 1;
  if (second > last) {
    err << "kvplan: " << (fromEnd ? "--end-of-segment " : "--at ") << second << ": dive " << dive
        << " runs from second 1 to " << last << "\n";
    return kExitUsage;
  }
  chosen.SetBailout(second, fromEnd);

  const std::string text =
      BailoutSummaryText(group, chosen) + "\n" + DiveTableText(group, index, session.ReportOptions());
  int rc = WriteOutputs(session, group, index, text, PlanJson(group, {index}, {}));
  if (!b.save.empty() && !group.SavePlanGroup(b.save)) {
    err << "kvplan: cannot write " << b.save << "\n";
    rc = std::max(rc, static_cast<int>(kExitFile));
  }
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
  command->add_option("--save", b->save, "Write the plan with its bailout to this plan file")
      ->type_name("OUT.ccp")
      ->excludes(sweep);
  command->add_flag("--allow-more-gases", b->allowMoreGases, "Answer yes when the planner asks to add bailout gases");
  command->add_flag("--allow-fewer-gases", b->allowFewerGases,
                    "Answer yes when the planner asks to use fewer bailout gases");
  AddExtendOption(command, options);
  AddOutputOptions(command, options, true);
  return {command, [b](CKvplanSession& session) { return RunBailout(session, *b); }};
}

void ReplanSavedBailouts(CPlanGroup& group, std::ostream& err) {
  bool endChanged = false;
  for (int i = 0; i < group.GetDiveCount(); ++i) {
    CDivePlan& dive = *group.GetDive(i);
    // A dive after a bailout starts from the end that bailout left.
    if (endChanged) group.CalculateDivePlan(i, true);
    const bool saved = dive.IsBailoutPlanValid() && !dive.BailoutPlanPoints().empty() && dive.m_bailoutTime >= 1;
    if (!saved || !dive.IsCalculationCompleted()) continue;
    dive.EnterBailoutMode();
    endChanged = true;
    if (!dive.IsBailoutPlanValid())
      err << "kvplan: dive " << i + 1 << ": the saved bailout from second " << dive.m_bailoutTime
          << " has no valid plan any more\n";
  }
}

}  // namespace kv
