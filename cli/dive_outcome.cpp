#include "cli/dive_outcome.h"

#include "base/text.h"
#include "engine/dive_plan.h"
#include "plan/dive_status.h"
#include "plan/plan_group.h"

namespace kv {
namespace {

SDiveOutcome Outcome(const CDivePlan& dive, const SDiveStatus& status) {
  SDiveOutcome outcome;
  outcome.calculated = status.IsCalculated();
  switch (status.status) {
    case EDiveStatus::Calculated: break;
    case EDiveStatus::NoPoints: outcome.reason = "it has no points"; break;
    case EDiveStatus::TwentyFourHours:
      outcome.reason = "its decompression does not end within the 24-hour planning limit";
      break;
    case EDiveStatus::SixHoursDeclined:
      outcome.reason = "its decompression does not end within 6 hours (--extend plans beyond 6 hours)";
      break;
    case EDiveStatus::EarlierDiveFailed:
      outcome.reason = Format("dive %d could not be calculated", status.failedDive + 1);
      break;
    case EDiveStatus::NeverLeavesSurface: outcome.reason = "it never leaves the surface"; break;
    case EDiveStatus::NotCalculated: outcome.reason = "it has not been calculated"; break;
  }
  if (!outcome.calculated) return outcome;
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
  return Outcome(*dive, DiveStatus(group, index));
}

SDiveOutcome DiveOutcome(const CDivePlan& dive) { return Outcome(dive, DiveStatus(dive)); }

}  // namespace kv
