#include "plan/lost_gas.h"

#include <set>
#include <string>

#include "bailout/standalone_owner.h"
#include "base/parallel_for.h"
#include "base/prompt.h"
#include "base/status_log.h"
#include "base/strings.h"
#include "base/text.h"
#include "plan/plan_group.h"

namespace kv {
namespace {

// The last user point at the dive's greatest depth: the ascent starts after it.
std::size_t DeepestPoint(const std::vector<CPlanPoint>& points) {
  std::size_t deepest = 0;
  for (std::size_t i = 1; i < points.size(); ++i)
    if (points[i].m_depthPressure >= points[deepest].m_depthPressure) deepest = i;
  return deepest;
}

std::string GasOf(const CPlanPoint& p) { return GasName(p.m_oxygen, p.m_helium); }

bool OnLostGas(const CPlanPoint& p, const std::string& lost) { return !p.m_closedCircuit && GasOf(p) == lost; }

// A variant is worth a table only when the dive itself is: calculated, within
// its limits, on its own points (a bailout profile has its own gases).
bool HasVariants(const CDivePlan* dive) {
  return dive && dive->IsCalculationCompleted() && !dive->IsTimeLimitExceeded() && dive->SegmentCount() > 0 &&
         !dive->BailoutWalked();
}

// The variant was stopped at 6 hours because nobody had said yes.
bool StoppedUnanswered(const CDivePlan& variant) {
  return variant.IsTimeLimitExceeded() && !variant.IsExtendedPlanningUsed() && !variant.HasRememberedAnswer();
}

// One variant to calculate; with a source it is first made from it (on the
// worker, so that copying the dives is spread over the threads too).
struct SJob {
  int dive;
  SLostGasVariant* variant;
  const CDivePlan* source = nullptr;
  IDiveOwner* owner = nullptr;
};

// Calculates every job's variant, spread over threads; false when cancelled.
bool CalculateJobs(const std::vector<SJob>& jobs, const std::map<int, SPreviousDiveState>& starts,
                   const SCalculationSettings& settings, const SLostGasOptions& options) {
  if (options.progress) {
    options.progress->SetRange(static_cast<int>(jobs.size()));
    options.progress->SetPosition(0);
  }
  SParallelOptions parallel;
  // With the calculation's own lines in the status log the variants are
  // calculated one after another, so that the log reads dive by dive.
  parallel.threads = settings.debugLevel >= kLogUsers ? 1 : options.threads;
  parallel.progress = options.progress;
  const SParallelResult result = ParallelFor(jobs.size(), parallel, [&](std::size_t i, unsigned) {
    const SJob& job = jobs[i];
    if (job.source) job.variant->dive = LostGasDive(*job.source, job.variant->gas, job.owner);
    CDivePlan& dive = *job.variant->dive;
    // Like a dive of the plan that fails, a variant that cannot be completed keeps no results.
    if (!dive.Calculate(job.dive, starts.at(job.dive), settings)) dive.ClearResults();
  });
  return !result.cancelled;
}

CSilentPrompt g_noPrompt;

}  // namespace

std::vector<CGas> DecoGases(const CDivePlan& dive) {
  std::vector<CGas> gases;
  const std::vector<CPlanPoint>& points = dive.UserPoints();
  if (dive.IsBailoutMode() || points.empty()) return gases;
  const std::size_t deepest = DeepestPoint(points);
  std::set<std::string> breathed;
  for (std::size_t i = 0; i <= deepest; ++i) breathed.insert(GasOf(points[i]));
  for (std::size_t i = deepest + 1; i < points.size(); ++i) {
    const CPlanPoint& p = points[i];
    if (p.m_closedCircuit || !breathed.insert(GasOf(p)).second) continue;
    CGas gas;
    gas.SetMix(p.m_oxygen, p.m_helium);
    gases.push_back(gas);
  }
  return gases;
}

std::unique_ptr<CDivePlan> LostGasDive(const CDivePlan& dive, const CGas& gas, IDiveOwner* owner) {
  std::unique_ptr<CDivePlan> variant = dive.Clone(owner);
  // Nothing of the dive's own calculation stays with the copy: a variant
  // that fails must not show the dive's results or time stamp as its own.
  variant->ClearResults();
  variant->SetTimeStamp(0);
  const std::vector<CPlanPoint>& points = dive.UserPoints();
  const std::string lost = gas.Format(false);
  variant->ClearUserPoints();
  const std::size_t deepest = points.empty() ? 0 : DeepestPoint(points);
  for (std::size_t i = 0; i < points.size(); ++i)
    if (i <= deepest || !OnLostGas(points[i], lost)) variant->AppendUserPoint(points[i]);
  return variant;
}

bool SLostGasVariant::Completed() const {
  return dive && dive->IsCalculationCompleted() && !dive->IsTimeLimitExceeded() && dive->SegmentCount() > 0;
}

CLostGasVariants::CLostGasVariants() = default;
CLostGasVariants::~CLostGasVariants() = default;
CLostGasVariants::CLostGasVariants(CLostGasVariants&&) noexcept = default;
CLostGasVariants& CLostGasVariants::operator=(CLostGasVariants&&) noexcept = default;

const std::vector<SLostGasVariant>& CLostGasVariants::Of(int dive) const {
  static const std::vector<SLostGasVariant> none;
  const auto it = m_variants.find(dive);
  return it == m_variants.end() ? none : it->second;
}

void CLostGasVariants::Cancel() {
  cancelled = true;
  m_variants.clear();
}

std::vector<int> CLostGasVariants::AwaitingSixHourAnswer() const {
  std::vector<int> dives;
  for (const auto& [index, variants] : m_variants)
    for (const SLostGasVariant& v : variants)
      if (StoppedUnanswered(*v.dive)) {
        dives.push_back(index);
        break;
      }
  return dives;
}

CLostGasVariants CalculateLostGasVariants(const CPlanGroup& group, const std::vector<int>& dives,
                                          const SLostGasOptions& options) {
  CLostGasVariants result;
  SCalculationSettings& settings = result.m_settings;
  settings = group.GetCalculationSettings();
  // Nothing is asked on a worker: a variant is calculated with the answer
  // given in advance, or declined until the question has been asked here.
  settings.extendedPlanning =
      options.extendedPlanning == EExtendedPlanning::Accept ? EExtendedPlanning::Accept : EExtendedPlanning::Decline;

  std::vector<SJob> jobs;
  for (const int index : dives) {
    const CDivePlan* dive = group.GetDive(index);
    if (!HasVariants(dive) || result.m_variants.count(index)) continue;
    const std::vector<CGas> gases = DecoGases(*dive);
    SPreviousDiveState start;
    if (gases.empty() || !group.PreviousState(index, start)) continue;
    result.m_starts[index] = start;
    auto owner = std::make_unique<CStandaloneDiveOwner>(*dive, start, g_noPrompt, settings);
    std::vector<SLostGasVariant>& variants = result.m_variants[index];
    for (const CGas& gas : gases) variants.push_back({gas, nullptr});
    for (SLostGasVariant& v : variants) jobs.push_back({index, &v, dive, owner.get()});
    result.m_owners.push_back(std::move(owner));
  }
  if (!CalculateJobs(jobs, result.m_starts, settings, options)) {
    result.Cancel();
    return result;
  }
  if (options.extendedPlanning != EExtendedPlanning::Ask) return result;

  // The question, once per dive that needs it, in dive order, as a sequential
  // run would meet it; then the variants of the dives answered yes again.
  std::vector<int> extend;
  for (const int index : result.AwaitingSixHourAnswer())
    if (AskToExtendLostGasVariants(result, index)) extend.push_back(index);
  ExtendLostGasVariants(result, extend, options);
  return result;
}

bool AskToExtendLostGasVariants(const CLostGasVariants& variants, int dive) {
  const bool yes = UserPrompt().AskYesNo(Format(LoadString(kMsgLostGasQuestion), dive + 1), false, EIcon::Question);
  CLeveledLog(StatusLog(), variants.m_settings.debugLevel)
      .LogAtLevel(yes ? "Lost-gas tables - User choose to extend the variants past 6 hours"
                      : "Lost-gas tables - User choose not to extend the variants past 6 hours",
                  kLogUsers);
  return yes;
}

bool ExtendLostGasVariants(CLostGasVariants& variants, const std::vector<int>& dives, const SLostGasOptions& options) {
  std::vector<SJob> again;
  for (const int index : dives)
    for (SLostGasVariant& v : variants.m_variants[index])
      if (StoppedUnanswered(*v.dive)) again.push_back({index, &v});
  if (again.empty()) return true;
  SCalculationSettings settings = variants.m_settings;
  settings.extendedPlanning = EExtendedPlanning::Accept;
  if (!CalculateJobs(again, variants.m_starts, settings, options)) variants.Cancel();
  return !variants.cancelled;
}

}  // namespace kv
