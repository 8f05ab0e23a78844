#pragma once
// Lost-gas variants: what a dive becomes when one of its deco gases is lost
// (a free-flowing regulator, a cylinder left on the shot line) and the diver
// finishes the dive on the gases that remain.
//
// A deco gas is an open-circuit gas that the dive's points first switch to on
// the ascent: on a point after the deepest point, and not breathed on any
// point up to it. Its variant is the dive calculated without the ascent
// points on that gas, so that the diver stays on the gas before; it starts
// from the state the dive itself starts from (the previous dive's end) and
// changes no other dive. One gas is lost at a time.

#include <map>
#include <memory>
#include <vector>

#include "base/progress.h"
#include "engine/calculation_settings.h"
#include "engine/dive_plan.h"
#include "gas/gas.h"

namespace kv {

class CPlanGroup;
class CStandaloneDiveOwner;

// The deco gases of a dive in the order its points first switch to them;
// none for a dive in bailout mode (its ascent gases are the bailout planner's).
std::vector<CGas> DecoGases(const CDivePlan& dive);

// A copy of dive (settings, remembered 6-hour answer and all) whose user
// points leave out every open-circuit point on gas after the deepest point;
// not calculated. owner answers the copy's group-wide settings.
std::unique_ptr<CDivePlan> LostGasDive(const CDivePlan& dive, const CGas& gas, IDiveOwner* owner);

struct SLostGasVariant {
  CGas gas;                         // the gas lost
  std::unique_ptr<CDivePlan> dive;  // the dive without it, calculated
  // The calculation completed within the run time limits. Otherwise the dive
  // holds no results, and IsTimeLimitExceeded and IsExtendedPlanningUsed say
  // which limit stopped it, as for a dive of the plan that fails.
  bool Completed() const;
};

struct SLostGasOptions {
  // The 6-hour answer of a variant whose dive remembers none. Accept or
  // Decline answer it for every variant in advance. Ask calculates the
  // variants declined and then, for each dive with a variant stopped at
  // 6 hours, asks once through the user prompt on the calling thread and
  // calculates those variants again with the answer.
  EExtendedPlanning extendedPlanning = EExtendedPlanning::Ask;
  // As SParallelOptions::threads: 0 every core, 1 in order on the calling thread.
  int threads = 0;
  // Counts the variants; cancellation is polled between them. May be null.
  IProgress* progress = nullptr;
};

class CLostGasVariants {
public:
  CLostGasVariants();
  ~CLostGasVariants();
  CLostGasVariants(CLostGasVariants&&) noexcept;
  CLostGasVariants& operator=(CLostGasVariants&&) noexcept;

  // The variants of dive index (of the plan), one per deco gas in the order
  // of DecoGases; none for a dive that was not asked for, not calculated, or
  // has no deco gas.
  const std::vector<SLostGasVariant>& Of(int dive) const;
  // Whether any dive asked for has a variant.
  bool Any() const { return !m_variants.empty(); }
  // The dives, in order, with a variant stopped at 6 hours because no answer
  // was given (neither in advance nor remembered by the dive).
  std::vector<int> AwaitingSixHourAnswer() const;
  // Stopped through the progress: the variants were dropped, none is shown.
  bool cancelled = false;

private:
  friend CLostGasVariants CalculateLostGasVariants(const CPlanGroup&, const std::vector<int>&,
                                                   const SLostGasOptions&);
  friend bool AskToExtendLostGasVariants(const CLostGasVariants&, int);
  friend bool ExtendLostGasVariants(CLostGasVariants&, const std::vector<int>&, const SLostGasOptions&);
  void Cancel();
  // Declared before the dives that point at them, so that they go last.
  std::vector<std::unique_ptr<CStandaloneDiveOwner>> m_owners;
  std::map<int, std::vector<SLostGasVariant>> m_variants;
  std::map<int, SPreviousDiveState> m_starts;  // the state each dive's variants start from
  SCalculationSettings m_settings;             // the snapshot they were calculated with
};

// Calculates the lost-gas variants of the given dives of a calculated plan
// (dives that were not calculated, or failed, get none). The preferences are
// read once, on the calling thread, before any variant is calculated; the
// variants are spread over threads and come out as a sequential run gives
// them. The plan itself is only read.
CLostGasVariants CalculateLostGasVariants(const CPlanGroup& group, const std::vector<int>& dives,
                                          const SLostGasOptions& options = {});

// The two steps of Ask, for a caller that must ask on its own thread between
// two runs of long work (the desktop program): calculate with Decline, then
// for each dive of AwaitingSixHourAnswer ask (through the user prompt, on the
// calling thread) and extend the dives answered yes.
bool AskToExtendLostGasVariants(const CLostGasVariants& variants, int dive);
// Calculates again, answered yes, the variants of dives that stopped at 6
// hours for want of an answer; false (and cancelled set) when cancelled
// through the progress.
bool ExtendLostGasVariants(CLostGasVariants& variants, const std::vector<int>& dives,
                           const SLostGasOptions& options = {});

}  // namespace kv
