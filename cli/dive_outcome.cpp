#include "cli/dive_outcome.h"

#include "base/text.h"
#include "engine/dive_plan.h"
#include "plan/plan_group.h"

namespace kv {
namespace {

// A failed dive clears the results of the whole plan, so a dive may be
// without results because another one failed.
int FailedDive(const CPlanGroup& group) {
  for (int i = 0; i < group.GetDiveCount(); ++i)
    if (group.GetDive(i)->IsTimeLimitExceeded()) return i;
  return -1;
}

// failed: the dive of the plan whose failure cleared the others, or -1.
SDiveOutcome Outcome(const CDivePlan& dive, int index, int failed) {
  SDiveOutcome outcome;
  outcome.calculated = dive.IsCalculationCompleted() && dive.SegmentCount() > 0;
  if (!outcome.calculated) {
    if (dive.UserPoints().empty())
      outcome.reason = "it has no points";
    else if (dive.IsTimeLimitExceeded() && dive.IsExtendedPlanningUsed())
      outcome.reason = "its decompression does not end within the 24-hour planning limit";
    else if (dive.IsTimeLimitExceeded())
      outcome.reason = "its decompression does not end within 6 hours (--extend plans beyond 6 hours)";
    else if (failed >= 0 && failed != index)
      outcome.reason = Format("dive %d could not be calculated", failed + 1);
    else if (dive.IsCalculationCompleted())
      outcome.reason = "it never leaves the surface";
    else
      outcome.reason = "it has not been calculated";
    return outcome;
  }
  if (const CPredictionPoint* last = dive.LastPrediction()) {
    outcome.finalCns = last->m_cns;
    outcome.finalOtu = last->m_otu;
  }
  // The limits of the printed tables' red headings.
  if (CnsAboveLimit(outcome.finalCns)) outcome.warnings.push_back("CNS above 100 %");
  if (OtuAboveLimit(outcome.finalOtu)) outcome.warnings.push_back("OTU above 300");
  return outcome;
}

}  // namespace

SDiveOutcome DiveOutcome(const CPlanGroup& group, int index) {
  const CDivePlan* dive = group.GetDive(index);
  if (!dive) return {};
  return Outcome(*dive, index, FailedDive(group));
}

SDiveOutcome DiveOutcome(const CDivePlan& dive) { return Outcome(dive, dive.GetDiveNumber(), -1); }

}  // namespace kv
