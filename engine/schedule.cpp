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
  const double descent = bailout ? m_bailoutSettings.descentRate : m_settings.descentRate;
  const double ascent = bailout ? m_bailoutSettings.ascentRate : m_settings.ascentRate;
  double seconds = from < to ? (to - from) / (descent / 60.0) : (from - to) / (ascent / 60.0);
  // A rate of 0 (or a nonsensical negative one) would never arrive: the
  // travel is made longer than any plan may run, so the 24-hour limit ends
  // the calculation cleanly.
  if (!(seconds >= 0.0) || seconds > kTwentyFourHours + 1.0) return kTwentyFourHours + 1;
  return static_cast<int>(seconds);
}

void CDivePlan::LogProfilePoint(const char* label, const CPlanPoint& p) const {
  CStatusLog& log = StatusLog();
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
  CStatusLog& log = StatusLog();
  if (m_answerRemembered) {
    log.LogAtLevel(m_extendedPlanningAnswer
                       ? "Table generation and user accepted extended planning on a previous plan so continuing to "
                         "use this choice."
                       : "Table generation and user declined extended planning on a previous plan so continuing to "
                         "use this choice.",
                   kLogUsers);
    return m_extendedPlanningAnswer != 0;
  }
  m_calculationTimer.Pause();
  const bool yes = UserPrompt().AskYesNo(Format(kSixHourQuestion, m_diveNumber + 1), false, EIcon::Question);
  log.LogAtLevel(yes ? "User choose to extend the plan past 6 hours"
                     : "User choose not to extend the plan past 6 hours",
                 kLogUsers);
  if (m_tableGenerationMode || yes) {
    m_answerRemembered = 1;
    m_extendedPlanningAnswer = yes;
  }
  m_calculationTimer.Resume();
  return yes;
}

bool CDivePlan::CheckLimits(int runTime) {
  if (m_stopped) return false;
  if (runTime > kSixHours && !m_questionAsked) {
    m_questionAsked = true;
    m_extensionAccepted = AskExtension();
    if (!m_extensionAccepted) m_stopped = true;
  }
  if (runTime > kTwentyFourHours) m_stopped = true;
  return !m_stopped;
}

bool CDivePlan::WalkTargets(const std::vector<CPlanPoint>& input) {
  const int n = static_cast<int>(input.size());
  if (n == 0) return true;

  CPlanPoint surface = input[0];
  surface.m_source = 0.0;
  surface.m_start = 0;
  surface.m_kind = kKindNone;
  const int firstDuration = surface.m_duration;
  surface.m_duration = 0;
  m_profilePoints.push_back(surface);
  LogProfilePoint(kSurfaceLabel, surface);

  double h = surface.Depth();
  int t = 1;
  double source = 0.0;
  int pending = 0;

  // A first point at the surface with a time is time spent breathing its gas
  // at the surface before the descent; it gets seconds of its own rather than
  // overlapping the first travel.
  if (firstDuration > 0) {
    CPlanPoint wait = input[0];
    wait.m_start = t;
    wait.m_duration = firstDuration;
    wait.m_kind = kKindPlanned;
    wait.m_source = 0.0;
    m_profilePoints.push_back(wait);
    LogProfilePoint(kPlanLabel, wait);
    StepSeconds();
    t += wait.m_duration;
    CheckLimits(t);
  }

  auto addPoint = [&](CPlanPoint p, const char* label) -> CPlanPoint& {
    m_profilePoints.push_back(p);
    StepSeconds();
    LogProfilePoint(label, m_profilePoints.back());
    return m_profilePoints.back();
  };
  auto nextStopAtEnd = [&](double target) { return NextStopDepth(m_lastComputedSecond + 1, target); };
  // A target's own time at its depth, counted in full.
  auto addTarget = [&](int i) {
    CPlanPoint target = input[static_cast<std::size_t>(i)];
    target.m_start = t;
    target.m_kind = kKindPlanned;
    source = i;
    target.m_source = source;
    addPoint(target, kPlanLabel);
    t += target.m_duration;
    CheckLimits(t);
  };

  for (int i = 1; i <= n && !m_stopped; ++i) {
    const CPlanPoint& previous = input[static_cast<std::size_t>(i - 1)];
    const bool isSurface = i == n;
    const double v = isSurface ? 0.0 : input[static_cast<std::size_t>(i)].Depth();
    const int u = isSurface ? 0 : input[static_cast<std::size_t>(i)].m_duration;

    if (m_bailoutWalked && !m_useBailoutRates && !isSurface && input[static_cast<std::size_t>(i)].m_bailout) {
      m_useBailoutRates = true;
      m_bailoutSecond = t - 1;
    }

    if (v > h) {
      CPlanPoint travel = previous;
      travel.SetDepth(v);
      travel.m_start = t;
      travel.m_duration = TravelTime(h, v);
      travel.m_kind = kKindDescent;
      travel.m_noClearSurface = 0;
      travel.m_source = source + 0.01;
      pending += travel.m_duration;
      addPoint(travel, kTravelLabel);
      t += travel.m_duration;
      CheckLimits(t);
      if (u != 0) {
        CPlanPoint target = input[static_cast<std::size_t>(i)];
        target.m_start = t;
        target.m_duration = std::max(0, u - pending);
        target.m_kind = kKindPlanned;
        source = i;
        target.m_source = source;
        pending = 0;
        addPoint(target, kPlanLabel);
        h = v;
        t += target.m_duration;
        CheckLimits(t);
      } else {
        source = i;
        h = v;
      }
      continue;
    }

    if (v == h) {
      if (!isSurface) addTarget(i);
      continue;
    }

    // Shallower: ascend, stopping on the grid wherever the ceiling demands.
    while (v < h && !m_stopped) {
      const int roundStart = t;
      const double roundDepth = h;
      // Both tests of a round read the ceiling of the last computed second, so
      // that a zero-duration point cannot make them disagree.
      const double x = nextStopAtEnd(v);
      double y = x < v ? v : std::min(x, h);
      if (y != h) {
        CPlanPoint ascent = previous;
        ascent.SetDepth(y);
        ascent.m_start = t;
        ascent.m_duration = TravelTime(h, y);
        ascent.m_kind = kKindDecoAscent;
        ascent.m_noClearSurface = 0;
        source += 0.01;
        ascent.m_source = source;
        m_profilePoints.push_back(ascent);
        StepSeconds();
        CPlanPoint& point = m_profilePoints.back();
        // The ceiling rose during the ascent: come back down to the stop it now demands.
        const double deeper = nextStopAtEnd(v);
        if (deeper > y) {
          y = std::min(deeper, h);
          point.SetDepth(y);
          point.m_duration = TravelTime(h, y);
          CutPredictionsAfter(point.End());
        }
        h = y;
        // Continue through every stop level the ceiling has already cleared.
        while (h != 0.0) {
          const double stop = nextStopAtEnd(v);
          const double level = stop == -1 ? v : (stop > h ? h : stop);
          if (level == h) break;
          point.SetDepth(level);
          point.m_duration += TravelTime(h, level);
          StepSeconds();
          h = level;
        }
        LogProfilePoint(kDecoTravelLabel, point);
        t += point.m_duration;
        CheckLimits(t);
        y = h;
      }
      bool stopNeeded = nextStopAtEnd(v) >= y;
      // Every round must add time or depth; one that did neither stops here.
      if (!stopNeeded && t == roundStart && h == roundDepth) stopNeeded = true;
      if (stopNeeded) {
        CPlanPoint stop = m_profilePoints.back();
        stop.m_start = t;
        stop.m_duration = (t / 60) * 60 + 60 - t;
        stop.m_kind = kKindDeco;
        stop.m_noClearSurface = 0;
        source += 0.01;
        stop.m_source = source;
        m_profilePoints.push_back(stop);
        StepSeconds();
        CPlanPoint& point = m_profilePoints.back();
        while (nextStopAtEnd(v) >= y && !m_stopped) {
          point.m_duration += 60;
          StepSeconds();
          CheckLimits(t + point.m_duration);
        }
        LogProfilePoint(kDecoStopLabel, point);
        t += point.m_duration;
        CheckLimits(t);
        h = y;
      }
    }
    if (!isSurface && !m_stopped) addTarget(i);
  }
  return !m_stopped;
}

bool CDivePlan::Calculate(int diveNumber, const double* prevN2, const double* prevHe, double prevCns, double prevOtu,
                          bool fromSurface) {
  CStatusLog& log = StatusLog();
  m_diveNumber = diveNumber;
  log.LogAtLevelF(kLogProgress, m_bailoutMode ? "Construct Profile - Bailout Started in dive %d"
                                              : "Construct Profile - Started in dive %d",
                  diveNumber);
  log.LogAtLevel("Construct Profile - Initialsing Constants", kLogProgress);
  SetConstants();
  if (!m_bailoutMode) BuildPlanPlusPoints();

  ClearResults();
  m_timeLimitExceeded = 0;
  m_extendedPlanningUsed = 0;
  m_predictionCheckPassed = 0;
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
  m_bailoutWalked = m_bailoutMode;
  m_bailoutSecond = 999999;

  CPredictionPoint& p0 = m_predictions.emplace_back();
  p0.m_time = 0;
  const bool surface = diveNumber == 0 || fromSurface || prevN2 == nullptr || prevHe == nullptr;
  if (surface) {
    InitialiseSurface(p0);
  } else {
    InitialiseSurfaceInterval(p0, prevN2, prevHe);
    const double si = m_settings.surfaceInterval;
    p0.m_cns = std::max(0.0, prevCns * std::pow(2.0, -si / 5400.0));
    p0.m_otu = std::max(0.0, prevOtu - si / 86400.0 * 300.0);
    if (!std::isfinite(p0.m_cns)) p0.m_cns = 0.0;
    if (!std::isfinite(p0.m_otu)) p0.m_otu = 0.0;
  }
  ComputeCeiling(p0, nullptr, false);

  const std::vector<CPlanPoint>& input = m_bailoutMode ? m_bailoutPlanPoints : m_planPlusPoints;
  if (log.IsOn(kLogDetail)) m_calculationTimer.Start();
  WalkTargets(input);
  if (log.IsOn(kLogDetail)) {
    m_calculationTimer.Stop();
    log.LogAtLevelF(kLogDetail, "Completed in %.6f seconds", m_calculationTimer.Elapsed());
  }
  if (m_questionAsked && m_extensionAccepted) m_extendedPlanningUsed = 1;
  if (m_stopped)
    m_timeLimitExceeded = 1;
  else
    m_calculationCompleted = 1;

  if (m_stopped && !m_tableGenerationMode) {
    if (m_extensionAccepted) {
      UserPrompt().ShowMessage(kTwentyFourHourLimit, EIcon::Warning);
      log.LogMessage("Unable to complete the plan. Exceeded the 24 Hour plan time limition.");
    }
    return false;
  }

  bool passed = true;
  for (std::size_t s = 1; s < m_predictions.size(); ++s) passed = EvaluatePointWarnings(m_predictions[s]) && passed;
  m_predictionCheckPassed = passed;
  BuildDiveSegments();
  ComputeGasConsumption();
  if (m_tableGenerationMode && m_predictions.size() > 1) {
    CPredictionPoint last = m_predictions.back();
    m_predictions.clear();
    m_predictions.push_back(last);
    m_predictions.shrink_to_fit();
  }
  m_predictionsPresent = 1;
  m_timeStamp = Clock().Now();
  return true;
}

}  // namespace kv
