#pragma once
// The --json document of kvplan: every calculated value of the chosen dives,
// depths in metres and times in seconds whatever the display units.

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace kv {

class CLostGasVariants;
class CPlanGroup;
struct CDiveSegment;

// One printable segment: end, duration, kind, depth, gas, PPO2, mode, NCS, warnings.
nlohmann::ordered_json SegmentJson(const CDiveSegment& segment);

// One dive's object; seconds lists the run time seconds whose per-second
// state is wanted ("seconds" is left out when the list is empty; seconds the
// dive does not have are skipped). "completed" is false for a dive that was
// not calculated for any reason (cli/dive_outcome.h); "warnings" names the
// oxygen exposure limits it ends above.
nlohmann::ordered_json DiveJson(const CPlanGroup& group, int index, const std::vector<int>& seconds);
// The "lost_gas" list of dive index: one object per variant in the order of
// the dive's switches, {gas, completed, run_time, cns_final, otu_final,
// warnings, segments, gas_consumption, gas_warnings} with the meanings of the
// dive's own fields; a variant that cannot be completed has no segments.
nlohmann::ordered_json LostGasJson(const CLostGasVariants& variants, int index);
// {"dives": [...]} for the given dive indexes, in the order given; with
// lostGas each dive gains its "lost_gas" list.
nlohmann::ordered_json PlanJson(const CPlanGroup& group, const std::vector<int>& dives,
                                const std::vector<int>& seconds, const CLostGasVariants* lostGas = nullptr);
// The document as text; bytes that are not UTF-8 (a name typed in another
// code page) are replaced rather than refused.
std::string JsonText(const nlohmann::ordered_json& document);

}  // namespace kv
