#pragma once
// The worst-case bailout sweep: where in a dive is bailout worst, and what
// must the diver carry for it? A bailout is planned from every step of the
// dive's closed-circuit time and from the end of every profile segment, each
// on its own copy of the dive, all with one set of gases that the diver
// carries: the dive's bailout gas list, or the gases the planner suggests for
// the most demanding moment. The largest gas volumes, run time and CNS over
// the moments are kept.

#include <string>
#include <vector>

#include "bailout/bailout_planner.h"
#include "bailout/bailout_questions.h"
#include "base/progress.h"
#include "engine/dive_plan.h"

namespace kv {

// Open-circuit gas breathed after the bailout second, per gas.
struct SBailoutGasVolume {
  std::string gas;  // long-form name
  double litres = 0.0;  // at surface pressure, at the bailout SAC rate
  int seconds = 0;
  bool operator==(const SBailoutGasVolume&) const = default;
};

// The bailout gases of the dive's last calculation, in the order first
// breathed; empty unless that calculation walked the bailout plan points.
std::vector<SBailoutGasVolume> BailoutGasVolumes(const CDivePlan& dive);

struct SBailoutMoment {
  int second = 0;        // the bailout second
  double depth = 0.0;    // m, at that second
  bool valid = false;    // planned within every limit
  bool calculated = false;  // the copy holds a completed bailout profile (also when a limit was not met)
  int runTime = 0;       // s, of the bailout dive
  int ascentTime = 0;    // s, run time less the bailout second
  double cnsFinal = 0.0; // fraction
  std::vector<SBailoutGasVolume> gases;
  std::vector<CAnsweringPrompt::SShown> shown;  // questions and warnings of this moment's planning
  int calculations = 0;  // dive calculations the planning ran
  bool operator==(const SBailoutMoment&) const = default;
};

struct SBailoutWorstValue {
  int second = -1;  // -1 when no moment is valid
  double value = 0.0;
  bool operator==(const SBailoutWorstValue&) const = default;
};

// One carried gas over the valid moments.
struct SBailoutWorstGas {
  std::string gas;  // long-form name
  SBailoutListMix mix;
  double litres = 0.0;  // the most breathed at one moment, at surface pressure, without reserve
  double litresWithReserve = 0.0;  // the same with the plan's gas reserve
  int second = -1;  // the moment it was breathed most; -1 when no valid moment breathes it
  // Litres of cylinder at the plan's working pressure for the litres with
  // reserve; 0 when the plan has no working pressure.
  double cylinderLitres = 0.0;
  bool operator==(const SBailoutWorstGas&) const = default;
};

// The gases the diver carries, one set for every moment of the sweep.
struct SBailoutCarried {
  enum class ESource { List, Suggested };
  ESource source = ESource::List;
  // The moment the gases were suggested for; -1 for the bailout gas list.
  int second = -1;
  // In the order of a bailout gas list: the list's own order, or the
  // suggested switches deepest first. Empty when no gas could be suggested.
  std::vector<SBailoutListMix> gases;
  // Questions and warnings of the planning that suggested the gases.
  std::vector<CAnsweringPrompt::SShown> shown;
  bool operator==(const SBailoutCarried&) const = default;
};

struct SBailoutSweep {
  int step = 0;
  SBailoutCarried carried;
  std::vector<SBailoutMoment> moments;
  int invalid = 0;  // moments without a valid bailout plan; the worst case covers the valid ones
  SBailoutWorstValue runTime;
  SBailoutWorstValue cnsFinal;
  std::vector<SBailoutWorstGas> gases;  // one per carried gas, in their order
  bool cancelled = false;  // stopped through the progress; moments holds those planned
};

// The moment whose bailout needs the most: the latest of the sweep's seconds
// at the greatest depth (for a dive with a bottom time, the end of its
// deepest planned segment); -1 when seconds is empty.
int MostDemandingBailoutSecond(const CDivePlan& dive, const std::vector<int>& seconds);

// The seconds a sweep plans from: step, 2 x step, ... up to the last
// closed-circuit second, and the end of every closed-circuit profile point;
// closed-circuit seconds below the surface only, in order, each once. Empty for a step below 1
// or a dive without a calculated profile of its own.
std::vector<int> BailoutSweepSeconds(const CDivePlan& dive, int step);

// A bailout from second planned on a copy of dive, which must hold its own
// calculated profile: what SetBailout(second, false) on the dive in its plan
// gives, with the dive's bailout settings or, given gasList, with "Use
// Bailout Gas List" on and that list. start is the state the dive's
// calculation starts from; settings the snapshot every calculation runs with
// (its 6-hour answer is given by answers). Reads no preferences and reaches
// no process-wide prompt.
SBailoutMoment PlanBailoutMoment(const CDivePlan& dive, const SPreviousDiveState& start, int second,
                                 const SBailoutAnswers& answers, const SCalculationSettings& settings,
                                 const std::string* gasList = nullptr);
// The same on work, which becomes the copy (keeping the storage it has from
// earlier moments, so that planning moment after moment allocates nothing new).
SBailoutMoment PlanBailoutMoment(const CDivePlan& dive, const SPreviousDiveState& start, int second,
                                 const SBailoutAnswers& answers, const SCalculationSettings& settings,
                                 CDivePlan& work, const std::string* gasList = nullptr);

// The worst case over sweep.moments: counts the moments without a valid plan
// and takes the run time, CNS and litres of each gas from the valid ones only;
// a moment calculated past a limit (its CNS, say) is not a plan to carry gas for.
// Cylinder sizes use the dive's gas reserve and working pressure.
void SummariseWorst(const CDivePlan& dive, SBailoutSweep& sweep);

// The carried gases: the dive's bailout gas list when it plans from one,
// otherwise the gases suggested for a bailout at the most demanding moment
// of seconds (the questions answered by answers).
SBailoutCarried ChooseCarriedGases(const CDivePlan& dive, const SPreviousDiveState& start,
                                   const std::vector<int>& seconds, const SBailoutAnswers& answers,
                                   const SCalculationSettings& settings);

// Chooses the carried gases and plans every moment with them on the parallel
// loop; threads 0 uses every core, 1 plans in order on the calling thread.
// Every moment is planned with the settings of the dive's owner, taken once
// on the calling thread before any moment is planned; the result does not
// depend on the number of threads. Without carried gases no moment is planned.
SBailoutSweep SweepBailout(const CDivePlan& dive, const SPreviousDiveState& start, int step,
                           const SBailoutAnswers& answers, IProgress& progress, int threads = 0);

}  // namespace kv
