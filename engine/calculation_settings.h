#pragma once
// The settings one calculation of a dive runs with: the front end takes them
// from the preferences and the plan hands them down. A calculation reads
// nothing shared while it runs, so that several can run at once: a caller
// that calculates many dives on worker threads takes one snapshot before it
// starts them and hands it to each.

#include "base/units.h"

namespace kv {

// How a calculation meets the 6-hour question.
enum class EExtendedPlanning {
  Ask,      // ask through the user prompt (a dive's remembered answer is used first)
  Accept,   // answered yes in advance: plan on up to 24 hours
  Decline,  // answered no in advance: stop at 6 hours
};

struct SCalculationSettings {
  int debugLevel = 0;                // "Debug Level": which status log lines are written
  bool detailedFirstAscent = false;  // "General\First Ascent Option" 1: the first ascent is a segment of its own
  SDisplayUnits units;               // "General\Units": the depths of the warning texts
  // An answer given in advance makes the calculation unattended: it asks no
  // question and shows no message (a stop at 24 hours is left to the caller,
  // who reads CDivePlan::IsTimeLimitExceeded). A dive's remembered answer
  // still comes first.
  EExtendedPlanning extendedPlanning = EExtendedPlanning::Ask;
};

}  // namespace kv
