#pragma once
// The plain-text dive table that kvplan prints for each dive: heading with
// depth, gradient factors, duration and oxygen exposure, one row per segment
// (gas, PPO2, depth, segment time, run time), the gas warnings and the
// open-circuit gas needed.

#include <string>

namespace kv {

class CPlanGroup;

struct STextTableOptions {
  bool imperial = false;           // "General\Units" 1
  bool minutesAndSeconds = false;  // "General\Time Units" 1
};
STextTableOptions TextTableOptionsFromPreferences();

std::string DiveTableText(const CPlanGroup& group, int index, const STextTableOptions& options);

}  // namespace kv
