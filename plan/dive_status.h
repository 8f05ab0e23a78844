#pragma once
// Whether a dive of a plan has results to show and, when not, why: the one
// reading of a dive's calculation flags that both front ends put into their
// own words (the desktop program on the dive page, kvplan on standard error).

namespace kv {

class CDivePlan;
class CPlanGroup;

enum class EDiveStatus {
  Calculated,           // completed, with segments to dive
  NoPoints,             // nothing entered yet
  NeverLeavesSurface,   // completed, but no segment lies under water
  SixHoursDeclined,     // its decompression needs more than 6 hours, and planning beyond was declined
  TwentyFourHours,      // its decompression does not end within the 24-hour limit
  EarlierDiveFailed,    // a dive before it failed: it has no end state to start from
  NotCalculated,        // not calculated yet (put off, cancelled or never asked for)
};

struct SDiveStatus {
  EDiveStatus status = EDiveStatus::NotCalculated;
  int failedDive = -1;  // EarlierDiveFailed: the index of the first dive that failed
  bool IsCalculated() const { return status == EDiveStatus::Calculated; }
  // A dive that should have results and has none because a calculation failed.
  bool IsFailure() const {
    return status == EDiveStatus::SixHoursDeclined || status == EDiveStatus::TwentyFourHours ||
           status == EDiveStatus::EarlierDiveFailed;
  }
};

SDiveStatus DiveStatus(const CPlanGroup& group, int index);
// The same for a dive read on its own (a dive calculated outside its plan);
// failedDive is the dive before it whose failure it follows, or -1.
SDiveStatus DiveStatus(const CDivePlan& dive, int failedDive = -1);

// The index of the first dive before index whose last calculation failed on a
// time limit, or -1. The dives after it cannot be calculated until it is.
int FirstFailedDiveBefore(const CPlanGroup& group, int index);

}  // namespace kv
