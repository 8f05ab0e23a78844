#include "plan/dive_status.h"

#include "engine/dive_plan.h"
#include "plan/plan_group.h"

namespace kv {

int FirstFailedDiveBefore(const CPlanGroup& group, int index) {
  for (int i = 0; i < index && i < group.GetDiveCount(); ++i) {
    const CDivePlan* dive = group.GetDive(i);
    if (dive && dive->IsTimeLimitExceeded()) return i;
  }
  return -1;
}

SDiveStatus DiveStatus(const CPlanGroup& group, int index) {
  SDiveStatus s;
  const CDivePlan* dive = group.GetDive(index);
  if (!dive) return s;
  if (dive->IsCalculationCompleted() && dive->SegmentCount() > 0) {
    s.status = EDiveStatus::Calculated;
  } else if (dive->UserPoints().empty()) {
    s.status = EDiveStatus::NoPoints;
  } else if (dive->IsTimeLimitExceeded()) {
    s.status = dive->IsExtendedPlanningUsed() ? EDiveStatus::TwentyFourHours : EDiveStatus::SixHoursDeclined;
  } else if (const int failed = FirstFailedDiveBefore(group, index); failed >= 0) {
    s.status = EDiveStatus::EarlierDiveFailed;
    s.failedDive = failed;
  } else if (dive->IsCalculationCompleted()) {
    s.status = EDiveStatus::NeverLeavesSurface;
  }
  return s;
}

}  // namespace kv
