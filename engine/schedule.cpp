// The calculation of one dive: the walk over the targets that inserts travel,
// ascents and whole-minute stops while the tissues are stepped every second,
// the 6-hour question and the 24-hour limit, then checks and summaries.

#include <algorithm>
#include <cmath>

#include "base/clock.h"
#include "base/prompt.h"
#include "base/status_log.h"
#include "base/strings.h"
#include "base/text.h"
#include "engine/dive_plan.h"

namespace kv {
namespace {

const char* kSurfaceLabel = "Adding Surface Point          ";
const char* kTravelLabel = "Adding Travel Segment         ";
const char* kPlanLabel = "Adding Dive Plan Segment      ";
const char* kDecoTravelLabel = "Adding Deco Travel Segment    ";
const char* kDecoStopLabel = "Adding Deco Stop Segment      ";

std::string Clock4(int seconds) { return Format("%4d:%02d", seconds / 60, seconds % 60); }

}  // namespace

int CDivePlan::TravelTime(double from, double to) const {
  const bool bailout = m_useBailoutRates;
  const double descent = bailout ? m_inputs.bailoutSettings.descentRate : m_inputs.settings.descentRate;
  const double ascent = bailout ? m_inputs.bailoutSettings.ascentRate : m_inputs.settings.ascentRate;
  double seconds = from < to ? (to - from) / (descent / 60.0) : (from - to) / (ascent / 60.0);
  // A rate of 0 (or a nonsensical negative one) would never arrive: the
  // travel is made longer than any plan may run, so the 24-hour limit ends
  // the calculation cleanly.
  if (!(seconds >= 0.0) || seconds > kTwentyFourHours + 1.0) return kTwentyFourHours + 1;
  return static_cast<int>(seconds);
}

void CDivePlan::LogProfilePoint(const char* label, const CPlanPoint& p) const {
  const CLeveledLog log = Log();
  if (!log.IsOn(kLogProgress)) return;
  std::string s = Format("Construct Profile - %s, Depth %6.2f, Start %s, Finish %s, Duration %5d, %s %s, PPO2 %0.2f, "
                         "Source %0.2f",
                         label, p.Depth(), Clock4(p.m_start).c_str(), Clock4(p.End()).c_str(), p.m_duration,
                         p.m_closedCircuit ? "Dil" : "Gas", GasName(p.m_oxygen, p.m_helium).c_str(), p.m_setpoint,
                         p.m_source);
  if (p.m_noClearSurface) s += ", No Clear Surface";
  log.LogAtLevel(s, kLogProgress);
}

bool CDivePlan::AskExtension() {
  const CLeveledLog log = Log();
  // An answer given before the calculation is logged as a remembered one: it
  // is the answer to an earlier question (or the caller's own choice).
  const EExtendedPlanning inAdvance = m_results.calculationSettings.extendedPlanning;
  if (m_inputs.answerRemembered || inAdvance != EExtendedPlanning::Ask) {
    const bool yes =
        m_inputs.answerRemembered ? m_inputs.extendedPlanningAnswer != 0 : inAdvance == EExtendedPlanning::Accept;
    log.LogAtLevel(yes ? "Table generation and user accepted extended planning on a previous plan so continuing to "
                         "use this choice."
                       : "Table generation and user declined extended planning on a previous plan so continuing to "
                         "use this choice.",
                   kLogUsers);
    return yes;
  }
  m_calculationTimer.Pause();
  const std::string question =
      m_inputs.extensionQuestion.empty() ? Format(kSixHourQuestion, m_diveNumber + 1) : m_inputs.extensionQuestion;
  const bool yes = UserPrompt().AskYesNo(question, false, EIcon::Question);
  log.LogAtLevel(yes ? "User choose to extend the plan past 6 hours"
                     : "User choose not to extend the plan past 6 hours",
                 kLogUsers);
  if (m_inputs.tableGenerationMode || yes) {
    m_inputs.answerRemembered = 1;
    m_inputs.extendedPlanningAnswer = yes;
  }
  m_calculationTimer.Resume();
  return yes;
}

bool CDivePlan::CheckLimits(int nextSecond) {
  if (m_stopped) return false;
  // The walk's counter is the second the next point starts on; the dive has
  // reached the one before it. A dive that surfaces at 6:00:00 exactly is
  // within six hours, and one at 24:00:00 within the day.
  const int reached = nextSecond - 1;
  if (reached > kSixHours && !m_questionAsked) {
    m_questionAsked = true;
    m_extensionAccepted = AskExtension();
    if (!m_extensionAccepted) m_stopped = true;
  }
  if (reached > kTwentyFourHours) m_stopped = true;
  return !m_stopped;
}

// ---- The walk ------------------------------------------------------------------
//
// The letters of the written walk, where a reader wants to compare: H is
// m_walk.depth, T m_walk.runTime, N m_walk.source, E m_walk.pendingTravel,
// v and u the target's depth and duration, X the next stop depth, Y the
// level an ascent round goes to.

CPlanPoint& CDivePlan::AppendProfilePoint(const CPlanPoint& point, const char* label) {
  m_results.profilePoints.push_back(point);
  StepSeconds();
  LogProfilePoint(label, m_results.profilePoints.back());
  return m_results.profilePoints.back();
}

void CDivePlan::AdvanceRunTime(int seconds) {
  m_walk.runTime += seconds;
  CheckLimits(m_walk.runTime);
}

double CDivePlan::NextStopAfterLastSecond(double targetDepth) const {
  // The ceiling of the last computed second decides, which is the second
  // after the end of the last profile point.
  return NextStopDepth(m_lastComputedSecond + 1, targetDepth);
}

CPlanPoint CDivePlan::InsertedPoint(const CPlanPoint& from, int kind, int duration) {
  CPlanPoint point = from;
  point.m_start = m_walk.runTime;
  point.m_duration = duration;
  point.m_kind = kind;
  // Travel and stops are never under an overhead of their own.
  point.m_noClearSurface = 0;
  m_walk.source += 0.01;
  point.m_source = m_walk.source;
  return point;
}

void CDivePlan::StartAtSurface(const CPlanPoint& first) {
  CPlanPoint surface = first;
  surface.m_source = 0.0;
  surface.m_start = 0;
  surface.m_kind = kKindNone;
  surface.m_duration = 0;
  m_results.profilePoints.push_back(surface);
  LogProfilePoint(kSurfaceLabel, surface);
  m_walk = SWalkPosition{surface.Depth(), 1, 0.0, 0};

  // A first point at the surface with a time is time spent breathing its gas
  // at the surface before the descent; it gets seconds of its own rather than
  // overlapping the first travel.
  if (first.m_duration > 0) {
    CPlanPoint wait = first;
    wait.m_start = m_walk.runTime;
    wait.m_kind = kKindPlanned;
    wait.m_source = 0.0;
    AppendProfilePoint(wait, kPlanLabel);
    AdvanceRunTime(wait.m_duration);
  }
}

void CDivePlan::SpendTimeAtTarget(const CPlanPoint& target, int index) {
  CPlanPoint atDepth = target;
  atDepth.m_start = m_walk.runTime;
  atDepth.m_kind = kKindPlanned;
  m_walk.source = index;
  atDepth.m_source = m_walk.source;
  AppendProfilePoint(atDepth, kPlanLabel);
  AdvanceRunTime(atDepth.m_duration);
}

void CDivePlan::DescendToTarget(const CPlanPoint& previous, const CPlanPoint& target, int index) {
  const double targetDepth = target.Depth();
  CPlanPoint travel = InsertedPoint(previous, kKindDescent, TravelTime(m_walk.depth, targetDepth));
  travel.SetDepth(targetDepth);
  m_walk.pendingTravel += travel.m_duration;
  AppendProfilePoint(travel, kTravelLabel);
  AdvanceRunTime(travel.m_duration);
  m_walk.source = index;
  m_walk.depth = targetDepth;
  // A target without a time of its own keeps the travel pending: it is taken
  // off the next target that has a time, whose time counts from leaving the
  // last target with a time.
  if (target.m_duration == 0) return;

  CPlanPoint atDepth = target;
  atDepth.m_start = m_walk.runTime;
  atDepth.m_duration = std::max(0, target.m_duration - m_walk.pendingTravel);
  atDepth.m_kind = kKindPlanned;
  atDepth.m_source = m_walk.source;
  m_walk.pendingTravel = 0;
  AppendProfilePoint(atDepth, kPlanLabel);
  AdvanceRunTime(atDepth.m_duration);
}

double CDivePlan::AscendTowards(const CPlanPoint& previous, double level, double targetDepth) {
  const double startDepth = m_walk.depth;
  CPlanPoint ascent = InsertedPoint(previous, kKindDecoAscent, TravelTime(startDepth, level));
  ascent.SetDepth(level);
  m_results.profilePoints.push_back(ascent);
  StepSeconds();
  CPlanPoint& point = m_results.profilePoints.back();

  // The ceiling rose during the ascent: come back down to the stop it now demands.
  const double demanded = NextStopAfterLastSecond(targetDepth);
  if (demanded > level) {
    level = std::min(demanded, startDepth);
    point.SetDepth(level);
    point.m_duration = TravelTime(startDepth, level);
    CutPredictionsAfter(point.End());
  }
  m_walk.depth = level;

  // Go on through every stop level the ceiling has cleared by the time the
  // diver reaches it, extending the same point.
  while (m_walk.depth != 0.0) {
    const double stop = NextStopAfterLastSecond(targetDepth);
    const double nextLevel = stop == -1 ? targetDepth : (stop > m_walk.depth ? m_walk.depth : stop);
    if (nextLevel == m_walk.depth) break;
    point.SetDepth(nextLevel);
    point.m_duration += TravelTime(m_walk.depth, nextLevel);
    StepSeconds();
    m_walk.depth = nextLevel;
  }
  LogProfilePoint(kDecoTravelLabel, point);
  AdvanceRunTime(point.m_duration);
  return m_walk.depth;
}

void CDivePlan::StopAt(double level, double targetDepth) {
  const int start = m_walk.runTime;
  // Stops end on whole minutes of run time: the first piece runs to the next
  // minute (1 to 60 seconds), then whole minutes until the ceiling allows the
  // next level.
  m_results.profilePoints.push_back(
      InsertedPoint(m_results.profilePoints.back(), kKindDeco, (start / 60) * 60 + 60 - start));
  StepSeconds();
  CPlanPoint& point = m_results.profilePoints.back();
  while (NextStopAfterLastSecond(targetDepth) >= level && !m_stopped) {
    point.m_duration += 60;
    StepSeconds();
    CheckLimits(start + point.m_duration);
  }
  LogProfilePoint(kDecoStopLabel, point);
  AdvanceRunTime(point.m_duration);
  m_walk.depth = level;
}

void CDivePlan::AscendWithStops(const CPlanPoint& previous, double targetDepth) {
  while (targetDepth < m_walk.depth && !m_stopped) {
    const int roundStart = m_walk.runTime;
    const double roundDepth = m_walk.depth;
    // Both tests of a round read the ceiling of the last computed second, so
    // that a zero-duration point cannot make them disagree.
    const double nextStop = NextStopAfterLastSecond(targetDepth);
    double level = nextStop < targetDepth ? targetDepth : std::min(nextStop, m_walk.depth);
    if (level != m_walk.depth) level = AscendTowards(previous, level, targetDepth);
    bool stopNeeded = NextStopAfterLastSecond(targetDepth) >= level;
    // Every round must add time or depth; one that did neither stops here.
    if (!stopNeeded && m_walk.runTime == roundStart && m_walk.depth == roundDepth) stopNeeded = true;
    if (stopNeeded) StopAt(level, targetDepth);
  }
}

bool CDivePlan::WalkTargets(const std::vector<CPlanPoint>& input) {
  const int n = static_cast<int>(input.size());
  if (n == 0) return true;
  StartAtSurface(input[0]);

  // Target i is input i; after the last input point the target is the surface.
  for (int i = 1; i <= n && !m_stopped; ++i) {
    const CPlanPoint& previous = input[static_cast<std::size_t>(i - 1)];
    const CPlanPoint* target = i < n ? &input[static_cast<std::size_t>(i)] : nullptr;
    const double targetDepth = target ? target->Depth() : 0.0;

    if (m_results.bailoutWalked && !m_useBailoutRates && target && target->m_bailout) {
      m_useBailoutRates = true;
      m_results.bailoutSecond = m_walk.runTime - 1;
    }

    if (target && targetDepth > m_walk.depth) {
      DescendToTarget(previous, *target, i);
    } else if (targetDepth == m_walk.depth) {
      if (target) SpendTimeAtTarget(*target, i);
    } else {
      AscendWithStops(previous, targetDepth);
      // An ascent target's time does not include the ascent.
      if (target && !m_stopped) SpendTimeAtTarget(*target, i);
    }
  }
  return !m_stopped;
}

bool CDivePlan::Calculate(int diveNumber, const double* prevN2, const double* prevHe, double prevCns, double prevOtu,
                          bool fromSurface) {
  return Calculate(diveNumber, prevN2, prevHe, prevCns, prevOtu, fromSurface, OwnerSettings());
}

SCalculationSettings CDivePlan::OwnerSettings() const {
  return m_pPlanGroup ? m_pPlanGroup->GetCalculationSettings() : SCalculationSettings{};
}

bool CDivePlan::Calculate(int diveNumber, const double* prevN2, const double* prevHe, double prevCns, double prevOtu,
                          bool fromSurface, const SCalculationSettings& settings) {
  m_results.calculationSettings = settings;
  const CLeveledLog log = Log();
  m_diveNumber = diveNumber;
  log.LogAtLevelF(
      kLogProgress,
      m_bailoutState.mode ? "Construct Profile - Bailout Started in dive %d" : "Construct Profile - Started in dive %d",
      diveNumber);
  log.LogAtLevel("Construct Profile - Initialsing Constants", kLogProgress);
  SetConstants();
  if (!m_bailoutState.mode) BuildPlanPlusPoints();

  ClearResults();
  m_results.timeLimitExceeded = 0;
  m_results.extendedPlanningUsed = 0;
  m_results.predictionCheckPassed = 0;
  m_questionAsked = false;
  m_extensionAccepted = false;
  m_stopped = false;
  m_icdCarry = 0;
  m_maxCeiling = kStartMaxCeiling;
  m_highestTissuePressure = 0.0;
  m_lastComputedSecond = 0;
  m_lastPpo2 = -1.0;
  m_profileSearchIndex = 0;
  m_useBailoutRates = false;
  m_results.bailoutWalked = m_bailoutState.mode;
  m_results.bailoutSecond = kNoBailoutSecond;

  CPredictionPoint& p0 = m_results.predictions.emplace_back();
  p0.m_time = 0;
  const bool surface = diveNumber == 0 || fromSurface || prevN2 == nullptr || prevHe == nullptr;
  if (surface) {
    InitialiseSurface(p0);
  } else {
    InitialiseSurfaceInterval(p0, prevN2, prevHe);
    const double si = m_inputs.settings.surfaceInterval;
    p0.m_cns = std::max(0.0, prevCns * std::pow(2.0, -si / 5400.0));
    p0.m_otu = std::max(0.0, prevOtu - si / 86400.0 * 300.0);
    if (!std::isfinite(p0.m_cns)) p0.m_cns = 0.0;
    if (!std::isfinite(p0.m_otu)) p0.m_otu = 0.0;
  }
  ComputeCeiling(p0, nullptr, false);
  // The reference's seconds serve only a calculation that starts where it did.
  m_inStepWithReference = m_stepReference != nullptr && m_stepReference->PredictionCount() > 0;
  if (m_inStepWithReference) CompareWithReference(0, p0);

  const std::vector<CPlanPoint>& input = m_bailoutState.mode ? m_bailoutState.planPoints : m_results.planPlusPoints;
  if (log.IsOn(kLogDetail)) m_calculationTimer.Start();
  WalkTargets(input);
  if (log.IsOn(kLogDetail)) {
    m_calculationTimer.Stop();
    log.LogAtLevelF(kLogDetail, "Completed in %.6f seconds", m_calculationTimer.Elapsed());
  }
  if (m_questionAsked && m_extensionAccepted) m_results.extendedPlanningUsed = 1;
  if (m_stopped)
    m_results.timeLimitExceeded = 1;
  else
    m_results.calculationCompleted = 1;

  if (m_stopped && !m_inputs.tableGenerationMode) {
    if (m_extensionAccepted) {
      // An unattended calculation (answer given in advance) leaves the
      // message to its caller: it may run on a thread that must not show one.
      if (settings.extendedPlanning == EExtendedPlanning::Ask)
        UserPrompt().ShowMessage(kTwentyFourHourLimit, EIcon::Warning);
      log.LogMessage("Unable to complete the plan. Exceeded the 24 Hour plan time limition.");
    }
    return false;
  }

  bool passed = true;
  for (std::size_t s = 1; s < m_results.predictions.size(); ++s)
    passed = EvaluatePointWarnings(m_results.predictions[s]) && passed;
  m_results.predictionCheckPassed = passed;
  BuildDiveSegments();
  ComputeGasConsumption();
  if (m_inputs.tableGenerationMode && m_results.predictions.size() > 1) {
    CPredictionPoint last = m_results.predictions.back();
    m_results.predictions.clear();
    m_results.predictions.push_back(last);
    m_results.predictions.shrink_to_fit();
  }
  m_results.predictionsPresent = 1;
  m_results.timeStamp = Clock().Now();
  return true;
}

}  // namespace kv
