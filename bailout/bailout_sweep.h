#pragma once
// The worst-case bailout sweep: where in a dive is bailout worst, and what
// must the diver carry for it? A bailout is planned from every step of the
// dive's closed-circuit time and from the end of every profile segment, each
// on its own copy of the dive with the dive's own bailout settings, and the
// largest gas volumes, run time and CNS over the moments are kept.

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
  int ascentTime = 0;    // s, from the bailout to the surface
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

struct SBailoutWorstGas {
  std::string gas;
  double litres = 0.0;
  int second = 0;
  // Litres of cylinder at the plan's working pressure, with the plan's gas
  // reserve; 0 when the plan has no working pressure.
  double cylinderLitres = 0.0;
  bool operator==(const SBailoutWorstGas&) const = default;
};

struct SBailoutSweep {
  int step = 0;
  std::vector<SBailoutMoment> moments;
  int invalid = 0;  // moments without a valid bailout plan; the worst case covers the valid ones
  SBailoutWorstValue runTime;
  SBailoutWorstValue cnsFinal;
  std::vector<SBailoutWorstGas> gases;
  bool cancelled = false;  // stopped through the progress; moments holds those planned
};

// The seconds a sweep plans from: step, 2 x step, ... up to the last
// closed-circuit second, and the end of every closed-circuit profile point;
// closed-circuit seconds below the surface only, in order, each once. Empty for a step below 1
// or a dive without a calculated profile of its own.
std::vector<int> BailoutSweepSeconds(const CDivePlan& dive, int step);

// A bailout from second planned on a copy of dive, which must hold its own
// calculated profile: what SetBailout(second, false) on the dive in its plan
// gives. start is the state the dive's calculation starts from; settings the
// snapshot every calculation runs with (its 6-hour answer is given by
// answers). Reads no preferences and reaches no process-wide prompt.
SBailoutMoment PlanBailoutMoment(const CDivePlan& dive, const SPreviousDiveState& start, int second,
                                 const SBailoutAnswers& answers, const SCalculationSettings& settings);
// The same on work, which becomes the copy (keeping the storage it has from
// earlier moments, so that planning moment after moment allocates nothing new).
SBailoutMoment PlanBailoutMoment(const CDivePlan& dive, const SPreviousDiveState& start, int second,
                                 const SBailoutAnswers& answers, const SCalculationSettings& settings,
                                 CDivePlan& work);

// The worst case over sweep.moments: counts the moments without a valid plan
// and takes the run time, CNS and litres of each gas from the valid ones only;
// a moment calculated past a limit (its CNS, say) is not a plan to carry gas for.
// Cylinder sizes use the dive's gas reserve and working pressure.
void SummariseWorst(const CDivePlan& dive, SBailoutSweep& sweep);

// Plans every moment; threads 0 uses every core, 1 plans in order on the
// calling thread. The preferences are read once, on the calling thread,
// before any moment is planned; the result does not depend on the number of
// threads.
SBailoutSweep SweepBailout(const CDivePlan& dive, const SPreviousDiveState& start, int step,
                           const SBailoutAnswers& answers, IProgress& progress, int threads = 0);

}  // namespace kv
