#include "cli/bailout_command.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cmath>

#include "bailout/bailout_planner.h"
#include "bailout/bailout_questions.h"
#include "bailout/bailout_sweep.h"
#include "base/progress.h"
#include "base/text.h"
#include "cli/cli_prompt.h"
#include "cli/json_report.h"
#include "cli/text_report.h"
#include "plan/file_store.h"
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

// Unreadable items are left out by the planner; say so where the user looks.
void WarnAboutListItems(const CDivePlan& dive, int index, std::ostream& err) {
  if (!dive.BailoutSettings().useBailoutGasList) return;
  const CSParser items(dive.GetBailoutGasList(), ',');
  int readable = 0;
  for (int i = 1; i <= items.Count(); ++i) {
    const std::string item = items.GetField(i);
    const std::size_t slash = item.find('/');
    double o = 0, h = 0;
    const bool ok = slash != std::string::npos && ReadNumber(std::string_view(item).substr(0, slash), o) &&
                    ReadNumber(std::string_view(item).substr(slash + 1), h) &&
                    CGas().SetMix(std::floor(o + 0.5), std::floor(h + 0.5));
    if (!ok) {
      err << "kvplan: dive " << index + 1 << ": bailout gas list item \"" << item
          << "\" is not a mix written as O2/He and is left out\n";
    } else if (++readable > CDivePlan::kMaxGases) {
      err << "kvplan: dive " << index + 1 << ": bailout gas list item \"" << item << "\" is beyond the first "
          << CDivePlan::kMaxGases << " gases and is left out\n";
    }
  }
}

std::string BailoutText(const CPlanGroup& group, const CDivePlan& dive) {
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

int WriteOutputs(const CPlanGroup& group, int index, const SBailoutCommandOptions& o,
                 const SKvplanEnvironment& env, std::ostream& out, std::ostream& err, const std::string& text,
                 const Json& json) {
  bool fileFailed = false;
  if (o.json != "-") out << text;
  if (!o.json.empty()) {
    const std::string document = JsonText(json);
    if (o.json == "-") {
      out << document;
    } else if (!FileStore().Write(o.json, document)) {
      err << "kvplan: cannot write " << o.json << "\n";
      fileFailed = true;
    }
  }
  for (auto [path, gas] : {std::pair{o.tables, false}, std::pair{o.gasTables, true}}) {
    if (path.empty()) continue;
    if (!env.writeTables(group, {index}, path, gas)) {
      err << "kvplan: cannot write " << path << "\n";
      fileFailed = true;
    }
  }
  return fileFailed ? kExitFile : kExitOk;
}

int RunSweep(CPlanGroup& group, int index, const SBailoutCommandOptions& o, const SBailoutAnswers& answers,
             const SKvplanEnvironment& env, std::ostream& out, std::ostream& err) {
  const CDivePlan& dive = *group.GetDive(index);
  if (BailoutSweepSeconds(dive, o.step).empty()) {
    err << "kvplan: dive " << index + 1 << " has no closed-circuit time under water to bail out from\n";
    return kExitUsage;
  }
  SPreviousDiveState start;
  group.PreviousState(index, start);
  SBailoutSweep sweep;
  {
    CStderrProgress progress(err);
    sweep = SweepBailout(dive, start, o.step, answers, progress, 1);
  }
  for (const SBailoutMoment& m : sweep.moments)
    for (const CAnsweringPrompt::SShown& s : m.shown)
      err << "Bailout at " << Clock(m.second) << ": " << kAppCaption << ": " << OneLine(s.text)
          << (s.question ? (s.answer ? " Yes" : " No") : "") << '\n';
  const int rc = WriteOutputs(group, index, o, env, out, err, SweepText(group, dive, index, sweep), SweepJson(sweep, index));
  if (rc != kExitOk) return rc;
  return sweep.invalid > 0 ? kExitDiveFailed : kExitOk;
}

}  // namespace

CLI::App* AddBailoutCommand(CLI::App& app, SBailoutCommandOptions& o) {
  CLI::App* cmd = app.add_subcommand(
      "bailout", "Plan the bailout of one closed-circuit dive from a moment, or sweep every moment for the worst case");
  cmd->add_option("--dive", o.dive, "The dive to bail out of (counting from 1)")->required()->check(CLI::PositiveNumber);
  auto* at = cmd->add_option("--at", o.at, "Bail out at this run time second")->check(CLI::PositiveNumber);
  auto* end = cmd->add_option("--end-of-segment", o.endOfSegment,
                              "Bail out at the end of the profile segment that holds this second")
                  ->check(CLI::PositiveNumber);
  auto* sweep = cmd->add_flag("--sweep", o.sweep, "Plan a bailout from every step of the dive's closed-circuit time");
  cmd->add_option("--step", o.step, "Seconds between the moments of a sweep (60)")->check(CLI::PositiveNumber)->needs(sweep);
  at->excludes(end)->excludes(sweep);
  end->excludes(sweep);
  auto* save = cmd->add_option("--save", o.save, "Write the plan with its bailout to OUT.ccp")->excludes(sweep);
  (void)save;
  cmd->add_flag("--allow-more-gases", o.allowMoreGases, "Answer yes when the planner asks to add bailout gases");
  cmd->add_flag("--allow-fewer-gases", o.allowFewerGases, "Answer yes when the planner asks to use fewer bailout gases");
  cmd->add_flag("--extend", o.extend, "Answer yes when a dive needs decompression beyond 6 hours");
  cmd->add_option("--json", o.json, "Write the results as JSON to FILE, or to standard output for -");
  cmd->add_option("--tables", o.tables, "Write the HTML dive table to FILE.html");
  cmd->add_option("--gas-tables", o.gasTables, "Write the HTML gas consumption table to FILE.html");
  return cmd;
}

int RunBailoutCommand(CPlanGroup& group, const SBailoutCommandOptions& o, const SKvplanEnvironment& env,
                      std::ostream& out, std::ostream& err) {
  if (o.at < 0 && o.endOfSegment < 0 && !o.sweep) {
    err << "kvplan: bailout needs one of --at SECOND, --end-of-segment SECOND or --sweep\n";
    return kExitUsage;
  }
  if ((!o.tables.empty() || !o.gasTables.empty()) && !env.writeTables) {
    err << "kvplan: " << (o.tables.empty() ? "--gas-tables" : "--tables") << " is not available in this build\n";
    return kExitUsage;
  }
  if (o.dive > group.GetDiveCount()) {
    err << "kvplan: --dive " << o.dive << ": the plan has " << group.GetDiveCount()
        << (group.GetDiveCount() == 1 ? " dive\n" : " dives\n");
    return kExitUsage;
  }
  const int index = o.dive - 1;
  const SBailoutAnswers answers{o.allowMoreGases, o.allowFewerGases, o.extend};
  CBailoutCliPrompt prompt(err, answers);
  CPromptScope scope(prompt);

  group.CalculateDivePlans(true, 0, true);
  CDivePlan& dive = *group.GetDive(index);
  if (!dive.IsCalculationCompleted()) {
    err << "kvplan: dive " << o.dive << " could not be calculated; there is no profile to bail out from\n";
    return kExitDiveFailed;
  }
  WarnAboutListItems(dive, index, err);
  if (o.sweep) return RunSweep(group, index, o, answers, env, out, err);

  const bool fromEnd = o.endOfSegment >= 0;
  const int second = fromEnd ? o.endOfSegment : o.at;
  const int last = dive.PredictionCount() - 1;
  if (second > last) {
    err << "kvplan: " << (fromEnd ? "--end-of-segment " : "--at ") << second << ": dive " << o.dive
        << " runs from second 1 to " << last << "\n";
    return kExitUsage;
  }
  dive.SetBailout(second, fromEnd);

  const std::string text = BailoutText(group, dive) + "\n" + DiveTableText(group, index, TextTableOptionsFromPreferences());
  int rc = WriteOutputs(group, index, o, env, out, err, text, PlanJson(group, {index}, {}));
  if (!o.save.empty() && !group.SavePlanGroup(o.save)) {
    err << "kvplan: cannot write " << o.save << "\n";
    rc = kExitFile;
  }
  if (rc != kExitOk) return rc;
  return dive.IsBailoutPlanValid() ? kExitOk : kExitDiveFailed;
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
