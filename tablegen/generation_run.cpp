// The run of the table generation page: one generated dive for every table
// depth and bottom time, calculated on the gas switch schedules, with the
// two rules that tie the dives of a run together: the 6-hour answer given
// once for the whole run, and the skip rule after a failure.

#include <algorithm>
#include <atomic>
#include <functional>
#include <optional>

#include "base/parallel_for.h"
#include "base/perf_timer.h"
#include "base/progress.h"
#include "base/status_log.h"
#include "base/strings.h"
#include "base/text.h"
#include "plan/plan_group.h"
#include "tablegen/consolidation.h"
#include "tablegen/table_generation.h"

namespace kv {


namespace {

// The owner of the generated dives: it gives them the plan-wide values taken
// when the run started and ignores their requests, since a generated dive is
// calculated by the run alone.
class CGeneratedDiveOwner final : public IDiveOwner {
public:
  explicit CGeneratedDiveOwner(const STableGroupSettings& settings) : m_settings(settings) {}
  int GetAlgorithm() const override { return m_settings.algorithm; }
  int GetSurfaceIntervalAlgorithm() const override { return m_settings.surfaceIntervalAlgorithm; }
  double GetGasReserve() const override { return m_settings.gasReserve; }
  double GetCylinderWorkingPressure() const override { return m_settings.cylinderWorkingPressure; }
  bool CalculateDivePlan(int, bool) override { return false; }
  bool BailoutPlan(int, bool) override { return false; }
  void DiveModifiedChanged(int, bool) override {}
  void PostDiveCalculated(int) override {}

private:
  STableGroupSettings m_settings;
};

// The plan's values, or without a plan those given for a new one.
STableGroupSettings GroupSettings(const CPlanGroup* group, const STableGroupSettings& newPlan) {
  if (!group) return newPlan;
  STableGroupSettings s;
  s.algorithm = group->GetAlgorithm();
  s.surfaceIntervalAlgorithm = group->GetSurfaceIntervalAlgorithm();
  s.gasReserve = group->GetGasReserve();
  s.cylinderWorkingPressure = group->GetCylinderWorkingPressure();
  return s;
}

// The run's progress: after each plan taken, the depth of the next plan when
// it starts a depth, as the run reaches it.
class CPlanProgress final : public IProgress {
public:
  CPlanProgress(IProgress& inner, std::function<void(int)> reachedPlan)
      : m_inner(inner), m_reachedPlan(std::move(reachedPlan)) {}
  void SetRange(int maximum) override { m_inner.SetRange(maximum); }
  void SetPosition(int position) override {
    m_inner.SetPosition(position);
    m_reachedPlan(position);
  }
  void SetText(const std::string& text) override { m_inner.SetText(text); }
  bool IsCancelled() const override { return m_inner.IsCancelled(); }

private:
  IProgress& m_inner;
  std::function<void(int)> m_reachedPlan;
};

// A bottom time far beyond the 24-hour limit fails like any other beyond it;
// keeping it bounded keeps the seconds inside an int.
int BottomSeconds(int minutes) { return std::clamp(minutes, 0, 2 * 24 * 60) * 60; }

}  // namespace

void CTableGeneration::LogRun(const std::string& text) const {
  StatusLog().LogAtLevelF(kLogProgress, "Create Dive Tables - %s", text.c_str());
}

CTableGeneration::SRunSettings CTableGeneration::RunSettings() const {
  const STableGenerationInputs& in = m_inputs;
  // The last stop meets the switch at its depth: a deco gas switched to
  // there is breathed for the whole last stop.
  return {in.surfacePressure, in.gfLow,   in.gfHigh, in.descentRate, in.ascentRate, OnSchedule(in.lastDecoStop),
          in.maxPpo2,         in.maxEad};
}

std::unique_ptr<CDivePlan> CTableGeneration::MakeDive(const SRunSettings& run, double depth, int minutes) {
  auto dive = std::make_unique<CDivePlan>(m_owner.get(), 0);
  // Table generation mode first: the setters below then leave the owner alone.
  dive->SetTableGenerationMode(true);
  dive->SetUseGasSwitchSchedule(true);
  dive->SetSurfacePressure(run.surfacePressure);
  dive->SetGfHigh(run.gfHigh);
  dive->SetGfLow(run.gfLow);
  dive->SetDescentRate(run.descentRate);
  dive->SetAscentRate(run.ascentRate);
  dive->SetLastDecoStop(run.lastDecoStop);
  dive->SetMaxEad(run.maxEad);
  dive->SetMaxPpo2(run.maxPpo2);
  CPlanPoint bottom;
  bottom.SetDepth(depth);
  bottom.m_duration = BottomSeconds(minutes);
  bottom.m_noClearSurface = 0;
  dive->AppendUserPoint(bottom);
  // The question names the dive of the run that meets it; only a run with a
  // closed-circuit switch speaks of scrubbers.
  bool closedCircuit = false;
  for (const CGasSwitchSchedule* schedule : {&m_descent, &m_ascent})
    for (int i = 0; i < schedule->Count(); ++i) closedCircuit = closedCircuit || schedule->At(i).m_closedCircuit;
  dive->SetExtensionQuestion(Format(LoadString(closedCircuit ? kMsgSixHourTableQuestionCc : kMsgSixHourTableQuestionOc),
                                    m_units.Shown(depth), m_units.Unit(), minutes));
  return dive;
}

void CTableGeneration::RunMessage(int id, int state, double depth, int minutes) {
  const std::string text = Format(LoadString(id), m_units.Shown(depth), m_units.Unit(), minutes);
  AddMessage(text, state);
  LogRun(text);
}

void CTableGeneration::ReportProgress(IProgress* progress, int plan) const {
  const int times = static_cast<int>(m_bottomTimes.size());
  if (plan % times != 0) return;
  progress->SetText("Depth " + m_units.DepthText("%0.0f", m_depths[static_cast<std::size_t>(plan / times)], " "));
}

bool CTableGeneration::Generate(IProgress* progress) {
  if (!Validate()) return false;
  CNullProgress noProgress;
  if (!progress) progress = &noProgress;
  CPerfTimer timer;
  timer.Start();
  m_messages.clear();
  m_showViewer = false;

  const SRunSettings run = RunSettings();
  AnnounceRun(run);
  CreatePlans(run);

  LogRun("Starting Calculations");
  AddMessage(LoadString(1507));
  progress->SetRange(PlanCount());
  progress->SetPosition(0);
  // With the extended-planning answers in the status log (level 2 and up)
  // the run stays on one thread, so that the log reads dive by dive as the
  // sequential run writes it.
  const int threads = m_calculationSettings.debugLevel < kLogUsers ? m_threads : 1;
  m_runSettings = run;
  if (!CalculatePlans(progress, threads)) {
    LogRun("Cancelled");
    AddMessage(LoadString(1560), kCheckWarning);
    return false;
  }
  timer.Stop();
  if (StatusLog().IsOn(kLogDetail)) LogRun(Format("Finished in %.6f seconds", timer.Elapsed()));

  LogRun("Preparing report");
  AddMessage(LoadString(1509));
  CreateTables();
  LogRun("Completed");
  AddMessage(LoadString(1504));
  return true;
}

void CTableGeneration::AnnounceRun(const SRunSettings& run) {
  const SDisplayUnits& units = m_units;
  const STableGenerationInputs& in = m_inputs;
  const STableGenerationInputs shown = Inputs();
  LogRun("Started");
  AddMessage(LoadString(1500));
  LogRun(Format("Depths %0.0f to %0.0f in steps of %0.0f (m)", in.depthStart, in.depthFinish, in.depthStep));
  AddMessage(Format(LoadString(1501), shown.depthStart, shown.depthFinish, shown.depthStep) + " " + units.Unit());
  LogRun(Format("Durations %d to %d in steps of %d (mins)", in.durationStart, in.durationFinish, in.durationStep));
  AddMessage(Format(LoadString(1502), in.durationStart, in.durationFinish, in.durationStep));
  LogRun(Format("Surface Pressure %0.0f, GF High %0.0f, GF Low %0.0f, Descent Rate %0.0f, Ascent Rate %0.0f, "
                "Last Deco Stop %0.0f",
                run.surfacePressure, run.gfHigh, run.gfLow, run.descentRate, run.ascentRate, run.lastDecoStop));
  AddMessage(Format(LoadString(units.imperial ? 1513 : 1512), in.surfacePressure, in.gfHigh, in.gfLow,
                    shown.descentRate, shown.ascentRate, shown.lastDecoStop));
}

void CTableGeneration::CreatePlans(const SRunSettings& run) {
  const SDisplayUnits& units = m_units;
  m_depths = DepthList();
  m_bottomTimes = BottomTimeList();
  m_dives.clear();
  m_status.clear();
  m_extensionAnswer.reset();
  m_skipFrom = static_cast<int>(m_bottomTimes.size());
  m_runGrouping = m_inputs.grouping;
  m_owner = std::make_unique<CGeneratedDiveOwner>(GroupSettings(m_group, m_groupSettings));

  const int plans = static_cast<int>(m_depths.size() * m_bottomTimes.size());
  LogRun(Format("Creating %d dive plans", plans));
  AddMessage(Format(LoadString(1505), plans));
  for (const double depth : m_depths) {
    for (const int minutes : m_bottomTimes) {
      m_dives.push_back(MakeDive(run, depth, minutes));
      LogRun(Format("Created a Dive Plan for %0.0f m, duration %d Mins", depth, minutes));
      AddMessage(Format(LoadString(1506), units.Shown(depth), units.Unit(), minutes));
    }
  }
  m_status.assign(static_cast<std::size_t>(plans), EGeneratedDiveStatus::NotRun);
}

bool CTableGeneration::SkippedByEarlierFailure(int plan) const {
  return plan % static_cast<int>(m_bottomTimes.size()) >= m_skipFrom;
}

void CTableGeneration::CalculatePlan(int plan, std::optional<bool> answer) {
  CDivePlan& dive = *m_dives[static_cast<std::size_t>(plan)];
  dive.SetGasRanges(m_descent, m_ascent);
  dive.SetRememberedAnswer(answer.has_value(), answer.value_or(false));
  dive.Calculate(0, nullptr, nullptr, 0.0, 0.0, true, m_calculationSettings);
}

void CTableGeneration::CommitPlan(int plan, bool calculated) {
  const int times = static_cast<int>(m_bottomTimes.size());
  const int timeIndex = plan % times;
  const double depth = m_depths[static_cast<std::size_t>(plan / times)];
  const int minutes = m_bottomTimes[static_cast<std::size_t>(timeIndex)];
  EGeneratedDiveStatus& status = m_status[static_cast<std::size_t>(plan)];
  if (!calculated) {
    status = EGeneratedDiveStatus::Skipped;
    RunMessage(1511, kCheckWarning, depth, minutes);
    return;
  }
  const CDivePlan& dive = *m_dives[static_cast<std::size_t>(plan)];
  // The first dive that had to be asked gives the answer for the whole run.
  if (!m_extensionAnswer && dive.HasRememberedAnswer()) m_extensionAnswer = dive.GetRememberedAnswer();
  // A walk stopped at a run time limit ends normally in table generation
  // mode, but the dive is incomplete: it fails, and limits the longer bottom times.
  if (!dive.IsCalculationCompleted() || dive.IsTimeLimitExceeded()) {
    status = EGeneratedDiveStatus::Failed;
    RunMessage(1510, kCheckWarning, depth, minutes);
    m_skipFrom = std::min(m_skipFrom, timeIndex);
    return;
  }
  status = EGeneratedDiveStatus::Calculated;
}

SGeneratedRun CTableGeneration::GeneratedRun() const {
  SGeneratedRun run;
  run.depths = m_depths;
  run.bottomTimes = m_bottomTimes;
  run.grouping = m_runGrouping;
  run.detailedFirstAscent = m_calculationSettings.detailedFirstAscent;
  for (int plan = 0; plan < PlanCount(); ++plan) run.dives.push_back(TakesPart(plan) ? Dive(plan) : nullptr);
  return run;
}

int CTableGeneration::CreateTables() {
  const int tables = BuildGeneratedTables(GeneratedRun(), m_reportOptions, m_writer);
  m_showViewer = true;
  return tables;
}

void CTableGeneration::ResetPlan(int plan) {
  const int times = static_cast<int>(m_bottomTimes.size());
  m_dives[static_cast<std::size_t>(plan)] = MakeDive(m_runSettings, m_depths[static_cast<std::size_t>(plan / times)],
                                                     m_bottomTimes[static_cast<std::size_t>(plan % times)]);
}

// The dives of a run are independent calculations; only the 6-hour answer
// and the skip rule tie them together. Workers calculate the plans in array
// order, ahead of need, while this thread takes their results in the same
// order and applies the rules exactly as the sequential run does. A plan
// calculated before the run's answer was known is calculated as if the
// answer were no (nothing is asked on a worker); if it needed the answer,
// it is calculated again here, asking the question when it is the first.
// A plan that turns out to be skipped is put back uncalculated. Messages,
// questions and progress all come from this thread, in plan order. On one
// thread every plan is calculated in its turn with what is known by then.
bool CTableGeneration::CalculatePlans(IProgress* progress, int threads) {
  const int plans = PlanCount();
  const int times = static_cast<int>(m_bottomTimes.size());
  CPlanProgress planProgress(*progress, [&](int plan) {
    if (plan < plans) ReportProgress(progress, plan);
  });
  SParallelOptions options;
  options.threads = threads;
  options.progress = &planProgress;
  const bool inOrder = ParallelWorkerCount(static_cast<std::size_t>(plans), options) <= 1;
  // Each plan's slot, written by the worker that calculates it.
  std::vector<EPlanWork> work(static_cast<std::size_t>(plans), EPlanWork::Waiting);
  std::vector<char> answered(static_cast<std::size_t>(plans), 0);  // calculated with the run's answer
  // What the taking knows so far, for the workers. A plan that failed with
  // the run's answer makes every later plan of its bottom time or longer
  // skipped, whether or not it is itself: known before their turn comes, so
  // that no worker calculates those.
  std::atomic<int> skipLimit{m_skipFrom};
  std::atomic<int> answer{-1};  // -1 not known yet, 0 no, 1 yes
  auto lowerSkipLimit = [&](int limit) {
    int now = skipLimit.load();
    while (limit < now && !skipLimit.compare_exchange_weak(now, limit)) {
    }
  };

  auto calculate = [&](std::size_t index, unsigned) {
    const int plan = static_cast<int>(index);
    if (inOrder) {
      // This thread only: the rules of the plans before are applied already.
      if (SkippedByEarlierFailure(plan)) {
        work[index] = EPlanWork::Passed;
        return;
      }
      CalculatePlan(plan, m_extensionAnswer);
      work[index] = EPlanWork::Calculated;
      answered[index] = 1;
      return;
    }
    if (plan % times >= skipLimit.load()) {
      work[index] = EPlanWork::Passed;
      return;
    }
    const int known = answer.load();
    const bool failed = CalculateAhead(plan, known);
    work[index] = EPlanWork::Calculated;
    answered[index] = known >= 0;
    // Also a dive told "no" before the run's answer is known: the plans it
    // would skip are passed over, and calculated in their turn if the answer
    // turns out yes.
    if (failed) lowerSkipLimit(plan % times);
  };

  auto take = [&](std::size_t index) {
    TakePlan(static_cast<int>(index), work[index], answered[index] != 0);
    lowerSkipLimit(m_skipFrom);
    answer.store(m_extensionAnswer.has_value() ? (*m_extensionAnswer ? 1 : 0) : -1);
    return true;
  };

  if (plans > 0) ReportProgress(progress, 0);
  const SParallelResult result = ParallelFor(static_cast<std::size_t>(plans), options, calculate, take);
  // A cancelled run leaves the plans it did not reach uncalculated, whatever
  // the workers had done ahead.
  for (const std::size_t index : result.abandoned)
    if (work[index] == EPlanWork::Calculated) ResetPlan(static_cast<int>(index));
  return !result.cancelled;
}

bool CTableGeneration::CalculateAhead(int plan, int knownAnswer) {
  CalculatePlan(plan, knownAnswer >= 0 ? std::optional<bool>(knownAnswer == 1) : std::optional<bool>(false));
  const CDivePlan& dive = *m_dives[static_cast<std::size_t>(plan)];
  return !dive.IsCalculationCompleted() || dive.IsTimeLimitExceeded();
}

void CTableGeneration::TakePlan(int plan, EPlanWork work, bool answered) {
  const bool skipped = SkippedByEarlierFailure(plan);
  if (skipped) {
    if (work == EPlanWork::Calculated) ResetPlan(plan);
  } else if (work == EPlanWork::Passed) {
    // Passed over only for a failure that skips it; calculated all the same
    // rather than trusting that.
    CalculatePlan(plan, m_extensionAnswer);
  } else if (!answered) {
    CDivePlan& dive = *m_dives[static_cast<std::size_t>(plan)];
    // Told "no", a dive stops exactly when it reaches the 6-hour question:
    // the first such dive asks it now, and answered no stands as it is.
    const bool reachedQuestion = dive.IsTimeLimitExceeded();
    if (reachedQuestion && !m_extensionAnswer.has_value()) {
      if (dive.AskToExtend()) CalculatePlan(plan, true);
    } else if (reachedQuestion && *m_extensionAnswer) {
      CalculatePlan(plan, true);
    } else {
      dive.SetRememberedAnswer(m_extensionAnswer.has_value(), m_extensionAnswer.value_or(false));
    }
  }
  CommitPlan(plan, !skipped);
}

}  // namespace kv
