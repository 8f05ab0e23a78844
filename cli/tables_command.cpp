// kvplan tables: loads a table generation settings file, validates it, runs
// the generation on every core and writes the printed tables (and, with
// --json, every generated dive) the way the desktop page does.

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <iostream>
#include <memory>
#include <unistd.h>

#include "base/progress.h"
#include "base/prompt.h"
#include "cli/json_report.h"
#include "cli/kvplan_command.h"
#include "cli/kvplan_session.h"
#include "report/latin1.h"
#include "frontend/table_generation_preferences.h"
#include "tablegen/table_generation.h"

namespace kv {
namespace {

using Json = nlohmann::ordered_json;

// Progress on standard error: a line per table depth, or one bar redrawn in
// place when standard error is a terminal.
class CStreamProgress final : public IProgress {
public:
  CStreamProgress(std::ostream& err, bool terminal) : m_err(err), m_terminal(terminal) {}
  ~CStreamProgress() override {
    if (m_terminal && m_drawn) m_err << '\n';
  }
  void SetRange(int maximum) override { m_maximum = maximum; }
  void SetPosition(int position) override {
    m_position = position;
    if (m_terminal) Draw();
  }
  void SetText(const std::string& text) override {
    m_text = text;
    if (m_terminal)
      Draw();
    else
      m_err << "kvplan: " << text << " (" << m_position << " of " << m_maximum << " plans done)\n";
  }
  bool IsCancelled() const override { return false; }
  // Ends the bar's line, so that a message starts on a line of its own.
  void BreakLine() {
    if (!m_terminal || !m_drawn) return;
    m_err << '\n';
    m_drawn = false;
  }

private:
  void Draw() {
    constexpr int kWidth = 30;
    const int filled = m_maximum > 0 ? kWidth * m_position / m_maximum : 0;
    m_err << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
          << std::string(static_cast<std::size_t>(kWidth - filled), ' ') << "] " << m_position << "/" << m_maximum
          << " " << m_text << "\x1b[K" << std::flush;
    m_drawn = true;
  }

  std::ostream& m_err;
  bool m_terminal;
  bool m_drawn = false;
  int m_maximum = 0;
  int m_position = 0;
  std::string m_text;
};

// The run's questions and messages, each on a line of its own below the bar.
class CProgressAwarePrompt final : public IUserPrompt {
public:
  CProgressAwarePrompt(IUserPrompt& inner, CStreamProgress& progress) : m_inner(inner), m_progress(progress) {}
  void ShowMessage(const std::string& text, EIcon icon) override {
    m_progress.BreakLine();
    m_inner.ShowMessage(text, icon);
  }
  bool AskYesNo(const std::string& text, bool defaultYes, EIcon icon) override {
    m_progress.BreakLine();
    return m_inner.AskYesNo(text, defaultYes, icon);
  }

private:
  IUserPrompt& m_inner;
  CStreamProgress& m_progress;
};

const char* StatusName(EGeneratedDiveStatus status) {
  switch (status) {
    case EGeneratedDiveStatus::Calculated: return "calculated";
    case EGeneratedDiveStatus::Failed: return "failed";
    default: return "skipped";
  }
}

Json MessagesJson(const std::vector<STableMessage>& messages) {
  Json list = Json::array();
  for (const STableMessage& m : messages) list.push_back({{"text", m.text}, {"state", m.state}});
  return list;
}

Json RunJson(const CTableGeneration& model, const std::vector<STableMessage>& validation) {
  Json doc;
  doc["validation"] = MessagesJson(validation);
  Json depths = Json::array(), times = Json::array(), dives = Json::array();
  // Before a run (the settings did not allow one) the lists are those the run would use.
  const bool ran = model.PlanCount() > 0;
  for (const double d : ran ? model.Depths() : model.DepthList()) depths.push_back(d);
  for (const int t : ran ? model.BottomTimes() : model.BottomTimeList()) times.push_back(t);
  const int count = static_cast<int>(model.BottomTimes().size());
  for (int plan = 0; plan < model.PlanCount(); ++plan) {
    const CDivePlan& dive = *model.Dive(plan);
    const EGeneratedDiveStatus status = model.Status(plan);
    const bool skipped = status != EGeneratedDiveStatus::Calculated && status != EGeneratedDiveStatus::Failed;
    Json d;
    d["depth"] = model.Depths()[static_cast<std::size_t>(plan / count)];
    d["bottom_time"] = model.BottomTimes()[static_cast<std::size_t>(plan % count)];
    d["status"] = StatusName(status);
    d["run_time"] = skipped ? Json(nullptr) : Json(dive.GetRunTime());
    d["gas_switches_used"] = dive.GetNumberOfGasSwitchesUsed();
    Json segments = Json::array();
    for (const CDiveSegment& s : dive.Segments()) segments.push_back(SegmentJson(s));
    d["segments"] = std::move(segments);
    dives.push_back(std::move(d));
  }
  doc["depths"] = std::move(depths);
  doc["bottom_times"] = std::move(times);
  doc["dives"] = std::move(dives);
  return doc;
}

// Validation findings and the run's warnings, one line each.
void PrintMessages(const std::vector<STableMessage>& messages, std::ostream& err) {
  for (const STableMessage& m : messages) {
    if (m.state == kCheckFine) continue;
    err << "kvplan: " << (m.state & kCheckError ? "error: " : "warning: ") << m.text << "\n";
  }
}

int RunTables(CKvplanSession& session, const std::string& grouping) {
  if (int rc = session.Start(); rc != kExitOk) return rc;
  const SKvplanOptions& o = session.Options();
  std::ostream& out = session.Out();
  std::ostream& err = session.Err();
  CTableGeneration model;
  LoadTableGenerationPreferences(model, session.Preferences());
  if (!model.LoadSettingsFile(o.plan)) {
    err << "kvplan: " << o.plan << ": "
        << (model.FileError().empty() ? std::string("the table generation settings cannot be loaded")
                                      : model.FileError())
        << "\n";
    return kExitFile;
  }
  if (!grouping.empty()) {
    STableGenerationInputs inputs = model.Inputs();
    inputs.grouping = grouping == "time" ? kGroupByTime : kGroupByDepth;
    model.SetInputs(inputs);
  }

  const bool allowed = model.Validate();
  const std::vector<STableMessage> validation = model.Messages();
  PrintMessages(validation, err);
  if (!allowed) {
    err << "kvplan: " << o.plan << ": the settings do not allow a run; " << o.out << " not written\n";
    if (int rc = session.WriteJson(JsonText(RunJson(model, validation))); rc != kExitOk) return rc;
    return kExitDiveFailed;
  }

  {
    CStreamProgress progress(err, &err == &std::cerr && ::isatty(STDERR_FILENO) == 1);
    IUserPrompt& prompt = UserPrompt();
    CProgressAwarePrompt aware(prompt, progress);
    SetUserPrompt(&aware);
    model.Generate(&progress);
    SetUserPrompt(&prompt);
  }
  std::vector<STableMessage> runWarnings;
  for (const STableMessage& m : model.Messages())
    if (m.state != kCheckFine) runWarnings.push_back(m);
  PrintMessages(runWarnings, err);

  int calculated = 0, failed = 0, skipped = 0;
  for (int plan = 0; plan < model.PlanCount(); ++plan) {
    const EGeneratedDiveStatus s = model.Status(plan);
    (s == EGeneratedDiveStatus::Calculated ? calculated : s == EGeneratedDiveStatus::Failed ? failed : skipped)++;
  }
  int rc = o.json.empty() ? kExitOk : session.WriteJson(JsonText(RunJson(model, validation)));
  if (model.TableCount() == 0) {
    err << "kvplan: no dive of the run could be completed; " << o.out << " not written\n";
    return std::max(rc, static_cast<int>(kExitDiveFailed));
  }
  if (!WriteHtmlDocument(o.out, model.Document())) {
    err << "kvplan: cannot write " << o.out << "\n";
    return kExitFile;
  }
  if (o.json != "-")
    out << model.TableCount() << (model.TableCount() == 1 ? " table" : " tables") << " written to " << o.out << " ("
        << calculated << " dives calculated, " << failed << " failed, " << skipped << " skipped)\n";
  return rc;
}

}  // namespace

SKvplanCommand AddTablesCommand(CLI::App& app, SKvplanOptions& options) {
  auto grouping = std::make_shared<std::string>();
  CLI::App* command =
      app.add_subcommand("tables", "Generate dive tables over ranges of depths and bottom times");
  command->add_option("SETTINGS", options.plan, "Table generation settings file (.cct)")
      ->required()
      ->type_name("FILE");
  command->add_option("--out", options.out, "Write the HTML tables to FILE.html")->required()->type_name("FILE");
  command
      ->add_option("--grouping", *grouping,
                   "One table per depth (columns: the bottom times) or per bottom time (columns: the depths)")
      ->check(CLI::IsMember({"depth", "time"}));
  AddPreferenceOptions(command, options);
  AddExtendOption(command, options);
  AddOutputOptions(command, options, false);
  return {command, [grouping](CKvplanSession& session) { return RunTables(session, *grouping); }};
}

}  // namespace kv
