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

SDiveStatus DiveStatus(const CDivePlan& dive, int failedDive) {
  SDiveStatus s;
  if (dive.IsCalculationCompleted() && dive.SegmentCount() > 0) {
    s.status = EDiveStatus::Calculated;
  } else if (dive.UserPoints().empty()) {
    s.status = EDiveStatus::NoPoints;
  } else if (dive.IsTimeLimitExceeded()) {
    s.status = dive.IsExtendedPlanningUsed() ? EDiveStatus::TwentyFourHours : EDiveStatus::SixHoursDeclined;
  } else if (failedDive >= 0) {
    s.status = EDiveStatus::EarlierDiveFailed;
    s.failedDive = failedDive;
  } else if (dive.IsCalculationCompleted()) {
    s.status = EDiveStatus::NeverLeavesSurface;
  }
  return s;
}

SDiveStatus DiveStatus(const CPlanGroup& group, int index) {
  const CDivePlan* dive = group.GetDive(index);
  if (!dive) return {};
  return DiveStatus(*dive, FirstFailedDiveBefore(group, index));
}

}  // namespace kv
