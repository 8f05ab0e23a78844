// The run of the table generation page: one generated dive for every table
// depth and bottom time, calculated on the gas switch schedules, with the
// two rules that tie the dives of a run together: the 6-hour answer given
// once for the whole run, and the skip rule after a failure.

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

#include "base/perf_timer.h"
#include "base/preferences.h"
#include "base/progress.h"
#include "base/status_log.h"
#include "base/strings.h"
#include "base/text.h"
#include "plan/plan_group.h"
#include "tablegen/consolidation.h"
#include "tablegen/table_generation.h"
#include "tablegen/units.h"

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

STableGroupSettings GroupSettings(const CPlanGroup* group) {
  STableGroupSettings s;
  if (group) {
    s.algorithm = group->GetAlgorithm();
    s.surfaceIntervalAlgorithm = group->GetSurfaceIntervalAlgorithm();
    s.gasReserve = group->GetGasReserve();
    s.cylinderWorkingPressure = group->GetCylinderWorkingPressure();
  } else {
    // A new plan's values, as the plan group takes them from the preferences.
    CPreferences& p = Prefs();
    s.algorithm = static_cast<int>(p.GetNumber(EPref::Algorithm));
    s.surfaceIntervalAlgorithm = static_cast<int>(p.GetNumber(EPref::SurfaceIntervalAlgorithm));
    s.gasReserve = p.GetNumber(EPref::DefaultGasReserve);
    s.cylinderWorkingPressure = p.GetScaled(EPref::DefaultCylinderWorkingPressure);
  }
  return s;
}

// A bottom time far beyond the 24-hour limit fails like any other beyond it;
// keeping it bounded keeps the seconds inside an int.
int BottomSeconds(int minutes) { return std::clamp(minutes, 0, 2 * 24 * 60) * 60; }

}  // namespace

void CTableGeneration::LogRun(const std::string& text) const {
  StatusLog().LogAtLevelF(kLogProgress, "Create Dive Tables - %s", text.c_str());
}

CTableGeneration::SRunSettings CTableGeneration::RunSettings() const {
  const SDisplayUnits units{m_imperial};
  const STableGenerationInputs& in = m_inputs;
  return {in.surfacePressure,         in.gfLow,
          in.gfHigh,                  units.Metres(in.descentRate),
          units.Metres(in.ascentRate), units.Metres(in.lastDecoStop),
          in.maxPpo2,                 units.Metres(in.maxEad)};
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
  const SDisplayUnits units{m_imperial};
  dive->SetExtensionQuestion(Format(LoadString(closedCircuit ? kMsgSixHourTableQuestionCc : kMsgSixHourTableQuestionOc),
                                    units.Shown(depth), units.Unit(), minutes));
  return dive;
}

void CTableGeneration::RunMessage(int id, int state, double depth, int minutes) {
  const SDisplayUnits units{m_imperial};
  const std::string text = Format(LoadString(id), units.Shown(depth), units.Unit(), minutes);
  AddMessage(text, state);
  LogRun(text);
}

void CTableGeneration::ReportProgress(IProgress* progress, int plan) const {
  const int times = static_cast<int>(m_bottomTimes.size());
  if (plan % times != 0) return;
  const SDisplayUnits units{m_imperial};
  progress->SetText(Format("Depth %0.0f %s", units.Shown(m_depths[static_cast<std::size_t>(plan / times)]),
                           units.Unit()));
}

bool CTableGeneration::Generate(IProgress* progress) {
  if (!Validate()) return false;
  CNullProgress noProgress;
  if (!progress) progress = &noProgress;
  CPerfTimer timer;
  timer.Start();
  m_messages.clear();
  m_showViewer = false;

  const SDisplayUnits units{m_imperial};
  const STableGenerationInputs& in = m_inputs;
  const SRunSettings run = RunSettings();
  LogRun("Started");
  AddMessage(LoadString(1500));
  LogRun(Format("Depths %0.0f to %0.0f in steps of %0.0f (m)", units.Metres(in.depthStart),
                units.Metres(in.depthFinish), units.Metres(in.depthStep)));
  AddMessage(Format(LoadString(1501), in.depthStart, in.depthFinish, in.depthStep) + " " + units.Unit());
  LogRun(Format("Durations %d to %d in steps of %d (mins)", in.durationStart, in.durationFinish, in.durationStep));
  AddMessage(Format(LoadString(1502), in.durationStart, in.durationFinish, in.durationStep));
  LogRun(Format("Surface Pressure %0.0f, GF High %0.0f, GF Low %0.0f, Descent Rate %0.0f, Ascent Rate %0.0f, "
                "Last Deco Stop %0.0f",
                run.surfacePressure, run.gfHigh, run.gfLow, run.descentRate, run.ascentRate, run.lastDecoStop));
  AddMessage(Format(LoadString(m_imperial ? 1513 : 1512), in.surfacePressure, in.gfHigh, in.gfLow, in.descentRate,
                    in.ascentRate, in.lastDecoStop));

  m_depths = DepthList();
  m_bottomTimes = BottomTimeList();
  m_dives.clear();
  m_status.clear();
  m_extensionAnswer.reset();
  m_skipFrom = static_cast<int>(m_bottomTimes.size());
  m_runGrouping = in.grouping;
  m_owner = std::make_unique<CGeneratedDiveOwner>(GroupSettings(m_group));

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

  LogRun("Starting Calculations");
  AddMessage(LoadString(1507));
  progress->SetRange(plans);
  progress->SetPosition(0);
  const int threads = std::min(m_threads > 0 ? m_threads : static_cast<int>(std::thread::hardware_concurrency()),
                               plans);
  // What the calculations read from the preferences, taken here, before any
  // worker starts. With the extended-planning answers in the status log
  // (level 2 and up) the run stays on one thread, so that the log reads dive
  // by dive as the sequential run writes it.
  m_calculationSettings = SCalculationSettings::FromPreferences();
  const bool parallel = threads > 1 && m_calculationSettings.debugLevel < kLogUsers;
  m_runSettings = run;
  if (!(parallel ? CalculateOnThreads(progress, threads) : CalculateSequentially(progress))) {
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

bool CTableGeneration::CalculateSequentially(IProgress* progress) {
  for (int plan = 0; plan < PlanCount(); ++plan) {
    if (progress->IsCancelled()) return false;
    ReportProgress(progress, plan);
    const bool skipped = SkippedByEarlierFailure(plan);
    if (!skipped) CalculatePlan(plan, m_extensionAnswer);
    CommitPlan(plan, !skipped);
    progress->SetPosition(plan + 1);
  }
  return true;
}

SGeneratedRun CTableGeneration::GeneratedRun() const {
  SGeneratedRun run;
  run.depths = m_depths;
  run.bottomTimes = m_bottomTimes;
  run.grouping = m_runGrouping;
  for (int plan = 0; plan < PlanCount(); ++plan) run.dives.push_back(TakesPart(plan) ? Dive(plan) : nullptr);
  return run;
}

int CTableGeneration::CreateTables() {
  const int tables = BuildGeneratedTables(GeneratedRun(), ReportOptionsFromPreferences(), m_writer);
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
// questions and progress all come from this thread, in plan order.
bool CTableGeneration::CalculateOnThreads(IProgress* progress, int threads) {
  enum class EWork : unsigned char { Waiting, Taken, Calculated, Passed };
  const int plans = PlanCount();
  const int times = static_cast<int>(m_bottomTimes.size());
  std::mutex lock;
  std::condition_variable changed;
  std::vector<EWork> work(static_cast<std::size_t>(plans), EWork::Waiting);
  std::vector<char> answered(static_cast<std::size_t>(plans), 0);  // calculated with the run's answer
  int next = 0;
  bool stop = false;
  int skipFrom = m_skipFrom;
  // A plan that failed with the run's answer makes every later plan of its
  // bottom time or longer skipped, whether or not it is itself: known before
  // its turn comes, so that no worker calculates those.
  int failedFrom = times;
  std::optional<bool> answer = m_extensionAnswer;

  auto worker = [&] {
    std::unique_lock<std::mutex> guard(lock);
    while (!stop && next < plans) {
      const int plan = next++;
      if (plan % times >= std::min(skipFrom, failedFrom)) {
        work[static_cast<std::size_t>(plan)] = EWork::Passed;
        changed.notify_all();
        continue;
      }
      work[static_cast<std::size_t>(plan)] = EWork::Taken;
      const std::optional<bool> known = answer;
      guard.unlock();
      CalculatePlan(plan, known.has_value() ? known : std::optional<bool>(false));
      const CDivePlan& dive = *m_dives[static_cast<std::size_t>(plan)];
      const bool failed = !dive.IsCalculationCompleted() || dive.IsTimeLimitExceeded();
      guard.lock();
      work[static_cast<std::size_t>(plan)] = EWork::Calculated;
      answered[static_cast<std::size_t>(plan)] = known.has_value();
      if (failed && known.has_value()) failedFrom = std::min(failedFrom, plan % times);
      changed.notify_all();
    }
  };
  std::vector<std::thread> pool;
  pool.reserve(static_cast<std::size_t>(threads));
  try {
    for (int i = 0; i < threads; ++i) pool.emplace_back(worker);
  } catch (const std::system_error&) {
    // The system gives no more threads: those started do the work, or this
    // one does it alone.
    if (pool.empty()) return CalculateSequentially(progress);
  }

  int committed = 0;
  for (; committed < plans; ++committed) {
    const int plan = committed;
    if (progress->IsCancelled()) break;
    ReportProgress(progress, plan);
    EWork state;
    bool withAnswer;
    {
      std::unique_lock<std::mutex> guard(lock);
      changed.wait(guard, [&] {
        const EWork w = work[static_cast<std::size_t>(plan)];
        return w == EWork::Calculated || w == EWork::Passed;
      });
      state = work[static_cast<std::size_t>(plan)];
      withAnswer = answered[static_cast<std::size_t>(plan)] != 0;
    }
    const bool skipped = SkippedByEarlierFailure(plan);
    if (skipped) {
      if (state == EWork::Calculated) ResetPlan(plan);
    } else if (state == EWork::Passed) {
      // Passed over only for a failure that skips it; calculated all the same
      // rather than trusting that.
      CalculatePlan(plan, m_extensionAnswer);
    } else if (!withAnswer) {
      CDivePlan& dive = *m_dives[static_cast<std::size_t>(plan)];
      // Told "no", a dive stops exactly when it reaches the 6-hour question.
      const bool neededAnswer = dive.IsTimeLimitExceeded();
      if (neededAnswer && m_extensionAnswer != false)
        CalculatePlan(plan, m_extensionAnswer);
      else
        dive.SetRememberedAnswer(m_extensionAnswer.has_value(), m_extensionAnswer.value_or(false));
    }
    CommitPlan(plan, !skipped);
    {
      std::lock_guard<std::mutex> guard(lock);
      skipFrom = m_skipFrom;
      answer = m_extensionAnswer;
    }
    progress->SetPosition(plan + 1);
  }
  {
    std::lock_guard<std::mutex> guard(lock);
    stop = true;
  }
  changed.notify_all();
  for (std::thread& t : pool) t.join();
  // A cancelled run leaves the plans it did not reach uncalculated, whatever
  // the workers had done ahead.
  for (int plan = committed; plan < plans; ++plan)
    if (work[static_cast<std::size_t>(plan)] == EWork::Calculated) ResetPlan(plan);
  return committed == plans;
}

}  // namespace kv
