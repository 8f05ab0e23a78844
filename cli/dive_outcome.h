#pragma once
// What a calculation made of each dive, in the words kvplan uses on standard
// error, in the text tables and in the JSON: whether the dive was calculated
// and, if not, why; and the oxygen exposure it ends with that a diver must
// not miss.

#include <string>
#include <vector>

namespace kv {

class CDivePlan;
class CPlanGroup;

struct SDiveOutcome {
  // The calculation completed and gave segments to dive.
  bool calculated = false;
  // Why not, when not calculated: "it has no points", ...
  std::string reason;
  // "CNS above 100 %" and "OTU above 300" when the dive ends above them.
  std::vector<std::string> warnings;
  double finalCns = 0.0;  // fraction, 1.0 = 100 %
  double finalOtu = 0.0;
};

SDiveOutcome DiveOutcome(const CPlanGroup& group, int index);
// The same for a dive calculated outside the plan (a lost-gas variant).
SDiveOutcome DiveOutcome(const CDivePlan& dive);

}  // namespace kv
