#include "bailout/bailout_sweep.h"

#include <algorithm>

#include "bailout/standalone_owner.h"
#include "base/parallel_for.h"
#include "base/text.h"

namespace kv {
namespace {

void TakeWorst(SBailoutWorstValue& worst, int second, double value) {
  if (worst.second < 0 || value > worst.value) worst = {second, value};
}

}  // namespace

void SummariseWorst(const CDivePlan& dive, SBailoutSweep& sweep) {
  const double reserve = dive.GetGasReserve();
  const double pressure = dive.GetCylinderWorkingPressure();
  for (const SBailoutListMix& mix : sweep.carried.gases) {
    SBailoutWorstGas row;
    row.gas = GasName(mix.oxygen, mix.helium);
    row.mix = mix;
    sweep.gases.push_back(row);
  }
  for (const SBailoutMoment& m : sweep.moments) {
    if (!m.valid) {
      ++sweep.invalid;
      continue;
    }
    TakeWorst(sweep.runTime, m.second, m.runTime);
    TakeWorst(sweep.cnsFinal, m.second, m.cnsFinal);
    // Every bailout gas of a moment is one of the carried set (the list path
    // picks from it); gases are told apart by their long-form names.
    for (const SBailoutGasVolume& g : m.gases) {
      auto it = std::find_if(sweep.gases.begin(), sweep.gases.end(),
                             [&](const SBailoutWorstGas& w) { return w.gas == g.gas; });
      if (it != sweep.gases.end() && (it->second < 0 || g.litres > it->litres)) {
        it->litres = g.litres;
        it->second = m.second;
      }
    }
  }
  for (SBailoutWorstGas& g : sweep.gases) {
    g.litresWithReserve = (reserve / 100.0 + 1.0) * g.litres;
    g.cylinderLitres = pressure > 0.0 ? g.litresWithReserve / pressure : 0.0;
  }
}

// The unattended settings and owner of one planning on a copy: the 6-hour
// question is answered in advance, so that no calculation of the planning
// reaches the process-wide prompt.
SCalculationSettings Unattended(const SCalculationSettings& settings, const SBailoutAnswers& answers) {
  SCalculationSettings unattended = settings;
  unattended.extendedPlanning =
      answers.extendPastSixHours ? EExtendedPlanning::Accept : EExtendedPlanning::Decline;
  return unattended;
}

std::vector<SBailoutGasVolume> BailoutGasVolumes(const CDivePlan& dive) {
  std::vector<SBailoutGasVolume> volumes;
  if (!dive.BailoutWalked()) return volumes;
  const double surface = dive.GetSurfacePressure();
  const double sac = dive.BailoutSettings().sacRate;
  SBailoutGasVolume* current = nullptr;
  double currentO2 = -1.0, currentHe = -1.0;
  for (int t = std::max(1, dive.GetBailoutSecond() + 1); t < dive.PredictionCount(); ++t) {
    const CPredictionPoint& p = *dive.Prediction(t);
    if (p.m_closedCircuit) continue;
    if (!current || p.m_oxygen != currentO2 || p.m_heliumFraction != currentHe) {
      const std::string name = GasName(p.m_oxygen, p.m_heliumFraction);
      auto it = std::find_if(volumes.begin(), volumes.end(), [&](const SBailoutGasVolume& v) { return v.gas == name; });
      if (it == volumes.end()) {
        volumes.push_back({name, 0.0, 0});
        it = volumes.end() - 1;
      }
      current = &*it;
      currentO2 = p.m_oxygen;
      currentHe = p.m_heliumFraction;
    }
    current->litres += (p.m_depthPressure + surface) / 1000.0 * sac / 60.0;
    ++current->seconds;
  }
  return volumes;
}

std::vector<int> BailoutSweepSeconds(const CDivePlan& dive, int step) {
  std::vector<int> seconds;
  if (step < 1 || dive.BailoutWalked() || dive.ProfilePoints().empty()) return seconds;
  auto closedCircuit = [&](int t) {
    const CPredictionPoint* p = dive.Prediction(t);
    return p && p->m_closedCircuit != 0;
  };
  // At the surface (the first second of the descent, the arrival) there is
  // nothing to bail out from.
  auto underwater = [&](int t) { return dive.Prediction(t)->m_depthPressure > 0.0; };
  int lastClosedCircuit = 0;
  for (int t = 1; t < dive.PredictionCount(); ++t)
    if (closedCircuit(t)) lastClosedCircuit = t;
  for (int t = step; t <= lastClosedCircuit; t += step)
    if (closedCircuit(t) && underwater(t)) seconds.push_back(t);
  for (const CPlanPoint& p : dive.ProfilePoints())
    if (p.End() >= 1 && p.End() <= lastClosedCircuit && closedCircuit(p.End()) && underwater(p.End()))
      seconds.push_back(p.End());
  std::sort(seconds.begin(), seconds.end());
  seconds.erase(std::unique(seconds.begin(), seconds.end()), seconds.end());
  return seconds;
}

int MostDemandingBailoutSecond(const CDivePlan& dive, const std::vector<int>& seconds) {
  int chosen = -1;
  double deepest = -1.0;
  for (int t : seconds) {
    const CPredictionPoint* p = dive.Prediction(t);
    if (p && p->m_depthPressure >= deepest) {
      deepest = p->m_depthPressure;
      chosen = t;
    }
  }
  return chosen;
}

SBailoutMoment PlanBailoutMoment(const CDivePlan& dive, const SPreviousDiveState& start, int second,
                                 const SBailoutAnswers& answers, const SCalculationSettings& settings,
                                 CDivePlan& work, const std::string* gasList) {
  CAnsweringPrompt prompt(answers);
  CStandaloneDiveOwner owner(dive, start, prompt, Unattended(settings, answers));
  work.CopyFrom(dive);
  // Up to the bailout the copy walks the dive's own profile: it takes those
  // seconds from the dive rather than computing them again.
  work.SetStepReference(&dive);
  // Set while the copy has no owner, so that nothing is calculated for it.
  work.SetOwner(nullptr);
  if (gasList) {
    work.SetBailoutUseGasList(true);
    work.SetBailoutGasList(*gasList);
  }
  work.SetOwner(&owner);
  owner.SetDive(&work);

  SBailoutMoment moment;
  moment.second = second;
  if (work.SetBailout(second, false)) {
    moment.depth = work.Bailout().depth;
    moment.valid = work.IsBailoutPlanValid();
    moment.calculated = work.BailoutWalked() && work.IsCalculationCompleted();
    if (moment.calculated) {
      moment.runTime = work.GetRunTime();
      moment.ascentTime = moment.runTime - second;
      moment.cnsFinal = work.LastPrediction()->m_cns;
      moment.gases = BailoutGasVolumes(work);
    }
  }
  work.SetOwner(nullptr);
  work.SetStepReference(nullptr);
  moment.shown = std::move(prompt.shown);
  moment.calculations = owner.Calculations();
  return moment;
}

SBailoutMoment PlanBailoutMoment(const CDivePlan& dive, const SPreviousDiveState& start, int second,
                                 const SBailoutAnswers& answers, const SCalculationSettings& settings,
                                 const std::string* gasList) {
  CDivePlan work;
  return PlanBailoutMoment(dive, start, second, answers, settings, work, gasList);
}

SBailoutCarried ChooseCarriedGases(const CDivePlan& dive, const SPreviousDiveState& start,
                                   const std::vector<int>& seconds, const SBailoutAnswers& answers,
                                   const SCalculationSettings& settings) {
  SBailoutCarried carried;
  if (dive.BailoutSettings().useBailoutGasList) {
    carried.source = SBailoutCarried::ESource::List;
    carried.gases = ReadBailoutGasList(dive.GetBailoutGasList());
    return carried;
  }
  carried.source = SBailoutCarried::ESource::Suggested;
  carried.second = MostDemandingBailoutSecond(dive, seconds);
  if (carried.second < 0) return carried;
  CDivePlan work;
  SBailoutMoment suggestion = PlanBailoutMoment(dive, start, carried.second, answers, settings, work);
  carried.shown = std::move(suggestion.shown);
  // Only switches that a calculation breathed are a suggestion; a planning
  // that stopped before (a question declined) suggests nothing.
  if (!work.BailoutWalked()) return carried;
  for (const CGasSwitch& s : work.BailoutGasSwitches()) {
    if (!s.m_inUse) continue;
    const std::string name = GasName(s.m_oxygen, s.m_helium);
    const bool again = std::any_of(carried.gases.begin(), carried.gases.end(), [&](const SBailoutListMix& m) {
      return GasName(m.oxygen, m.helium) == name;
    });
    if (!again) carried.gases.push_back({s.m_oxygen, s.m_helium, static_cast<int>(carried.gases.size()) + 1});
  }
  return carried;
}

SBailoutSweep SweepBailout(const CDivePlan& dive, const SPreviousDiveState& start, int step,
                           const SBailoutAnswers& answers, IProgress& progress, int threads) {
  SBailoutSweep sweep;
  sweep.step = step;
  // One snapshot for every moment: the plan's own, taken here before any
  // moment is planned.
  const SCalculationSettings settings = dive.OwnerSettings();
  std::vector<int> seconds = BailoutSweepSeconds(dive, step);
  sweep.carried = ChooseCarriedGases(dive, start, seconds, answers, settings);
  if (sweep.carried.gases.empty()) seconds.clear();
  // The suggested gases become the bailout gas list of every moment; a list
  // of the dive's own is planned as the dive holds it.
  const std::string listText = BailoutGasListText(sweep.carried.gases);
  const std::string* gasList =
      sweep.carried.source == SBailoutCarried::ESource::Suggested ? &listText : nullptr;
  const std::size_t n = seconds.size();
  progress.SetRange(static_cast<int>(n));
  progress.SetText(Format("Planning a bailout from %d moments of dive %d", static_cast<int>(n),
                          dive.GetDiveNumber() + 1));

  // Each moment is planned on the copy of the worker that plans it (reused
  // moment after moment) and lands in its own slot.
  SParallelOptions options;
  options.threads = threads;
  options.progress = &progress;
  std::vector<CDivePlan> copies(ParallelWorkerCount(n, options));
  std::vector<SBailoutMoment> results(n);
  const SParallelResult run = ParallelFor(n, options, [&](std::size_t i, unsigned worker) {
    results[i] = PlanBailoutMoment(dive, start, seconds[i], answers, settings, copies[worker], gasList);
  });
  sweep.cancelled = run.cancelled;
  // A cancelled sweep keeps every moment it planned, those taken and those
  // the workers finished ahead.
  for (std::size_t i = 0; i < run.taken; ++i) sweep.moments.push_back(std::move(results[i]));
  for (const std::size_t i : run.abandoned) sweep.moments.push_back(std::move(results[i]));
  SummariseWorst(dive, sweep);
  return sweep;
}

}  // namespace kv
