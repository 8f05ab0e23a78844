// The bailout plan points of a dive: cut from the dive's own profile at the
// bailout second, the switch points placed among them, and the driver that
// the plan group calls.

#include <algorithm>
#include <cmath>
#include <cstdarg>

#include "bailout/tolerance.h"
#include "bailout/bailout_planner.h"
#include "base/text.h"

namespace kv {

using namespace bailout_detail;

namespace {

// Depths copied through a depth pressure (x 100, / 100) may differ in the last bits.
bool SameDepth(double a, double b) { return std::fabs(a - b) <= 1e-9 * std::max(1.0, std::max(a, b)); }

// The seconds of the descent that holds the bailout second, counted from
// leaving the last target with a time: the run of descent points before it.
int DescentSeconds(const std::vector<CPlanPoint>& profile, std::size_t segment, int bailoutSecond) {
  std::size_t first = segment;
  while (first > 0 && profile[first - 1].m_kind == kKindDescent) --first;
  return bailoutSecond - profile[first].m_start + 1;
}

// The profile point that holds second; profile.size() when none does.
std::size_t SegmentHolding(const std::vector<CPlanPoint>& profile, int second) {
  for (std::size_t i = 0; i < profile.size(); ++i)
    if (profile[i].m_start <= second && second <= profile[i].End()) return i;
  return profile.size();
}

// Where the bailout second lies: the profile point that holds it, the target
// (plan-plus point) that profile point belongs to, and what of it is done.
struct SBailoutCut {
  const CPlanPoint* segment = nullptr;
  std::size_t segmentIndex = 0;
  int second = 0;
  std::size_t target = 0;
  bool inserted = false;  // the walk inserted the profile point on its way to the target
  int remaining = 0;      // s of a planned bottom time left after the second
  int elapsed = 0;        // s of a stop spent by the second
  // On the way up from a stop the diver has done that stop.
  const CPlanPoint* stopLeft = nullptr;
};

SBailoutCut LocateBailout(const std::vector<CPlanPoint>& profile, const std::vector<CPlanPoint>& planPlus,
                          std::size_t segment, int second) {
  SBailoutCut cut;
  cut.segment = &profile[segment];
  cut.segmentIndex = segment;
  cut.second = second;
  const double source = cut.segment->m_source;
  cut.target = std::min(planPlus.size() - 1, static_cast<std::size_t>(std::max(0.0, std::floor(source))));
  cut.inserted = source > static_cast<double>(cut.target);
  if (cut.segment->m_kind == kKindPlanned) {
    cut.remaining = cut.segment->End() - second;
  } else if (cut.segment->m_kind == kKindDeco) {
    cut.elapsed = second - cut.segment->m_start;
  }
  // The stop's whole time comes first, or the walk would leave the stop as
  // soon as the ceiling cleared the bailout depth and bail out up to a whole
  // stop early.
  if (cut.inserted && cut.segment->m_kind == kKindDecoAscent && segment > 0 && profile[segment - 1].m_kind == kKindDeco)
    cut.stopLeft = &profile[segment - 1];
  return cut;
}

// Appends, after the targets up to the one being made for (points ends with
// it, as target), what the diver has done of it and the bailout point;
// returns the deepest depth from the bailout on so far.
double AppendPointsToBailout(std::vector<CPlanPoint>& points, const CPlanPoint& target, const SBailoutCut& cut,
                             double bailoutDepth) {
  bool overheadAppended = false;
  int remaining = cut.remaining;
  if (remaining > 0) {
    CPlanPoint& atBailout = points.back();
    if (remaining >= atBailout.m_duration) remaining = atBailout.m_duration;
    atBailout.m_duration -= remaining;
    if (target.m_noClearSurface && remaining > 0) {
      // The rest of the overhead section is done on bailout gas.
      CPlanPoint rest = target;
      rest.m_duration = remaining;
      rest.m_closedCircuit = 0;
      rest.SetDepth(bailoutDepth);
      rest.m_oxygen = rest.m_helium = 0.0;
      rest.m_bailout = 1;
      points.push_back(rest);
      overheadAppended = true;
    }
  } else if (cut.inserted) {
    if (cut.stopLeft) {
      CPlanPoint stop = target;
      stop.m_duration = cut.stopLeft->m_duration;
      stop.SetDepth(cut.stopLeft->Depth());
      stop.m_noClearSurface = 0;
      stop.m_bailout = 0;
      points.push_back(stop);
    }
    CPlanPoint reached = target;
    reached.m_duration = cut.segment->m_kind == kKindDeco ? cut.elapsed : 0;
    reached.SetDepth(bailoutDepth);
    reached.m_noClearSurface = 0;
    reached.m_bailout = 0;
    points.push_back(reached);
  }
  // From the end of the stop left the diver may breathe bailout gas at its depth.
  double deepest = cut.stopLeft ? cut.stopLeft->Depth() : points.back().Depth();
  if (!overheadAppended) {
    CPlanPoint bailout = target;
    bailout.m_duration = 0;
    bailout.m_closedCircuit = 0;
    bailout.m_noClearSurface = 0;
    bailout.SetDepth(bailoutDepth);
    bailout.m_oxygen = bailout.m_helium = 0.0;
    bailout.m_bailout = 1;
    points.push_back(bailout);
    deepest = std::max(deepest, bailout.Depth());
  }
  return deepest;
}

// Later overhead sections are done on bailout gas too; everything else is
// dropped, since from the bailout the diver ascends. Returns the deepest of
// them (0 without any).
double AppendLaterOverheads(std::vector<CPlanPoint>& points, const std::vector<CPlanPoint>& profile,
                            const std::vector<CPlanPoint>& planPlus, const SBailoutCut& cut, double bailoutDepth) {
  double deepest = 0.0;
  for (std::size_t i = cut.target + 1; i < planPlus.size(); ++i) {
    if (!planPlus[i].m_noClearSurface) continue;
    CPlanPoint overhead = planPlus[i];
    overhead.m_closedCircuit = 0;
    overhead.m_oxygen = overhead.m_helium = 0.0;
    overhead.m_bailout = 1;
    // Reached at the very bottom of the descent to it, the overhead target
    // owes only what is left of its time: the descent counts towards it as it
    // would have without the bailout. A target still deeper takes the pending
    // travel off itself in the walk as usual.
    if (i == cut.target + 1 && cut.inserted && cut.segment->m_kind == kKindDescent &&
        SameDepth(overhead.Depth(), bailoutDepth))
      overhead.m_duration = std::max(0, overhead.m_duration - DescentSeconds(profile, cut.segmentIndex, cut.second));
    points.push_back(overhead);
    deepest = std::max(deepest, overhead.Depth());
  }
  return deepest;
}

}  // namespace

CBailoutPlanner::CBailoutPlanner(CDivePlan& dive, const SPreviousDiveState& start, IUserPrompt& prompt,
                                 const SCalculationSettings& settings)
    : m_dive(dive), m_start(start), m_prompt(prompt), m_settings(settings), m_log(StatusLog(), settings.debugLevel) {}

CBailoutPlanner::CBailoutPlanner(CDivePlan& dive, const SPreviousDiveState& start, IUserPrompt& prompt)
    : CBailoutPlanner(dive, start, prompt, dive.OwnerSettings()) {}

void CBailoutPlanner::Log(const std::string& text) const { m_log.LogAtLevel("Bailout - " + text, kLogProgress); }

void CBailoutPlanner::LogF(const char* format, ...) const {
  if (!m_log.IsOn(kLogProgress)) return;
  std::va_list args;
  va_start(args, format);
  const std::string text = FormatV(format, args);
  va_end(args);
  Log(text);
}

bool CBailoutPlanner::Recalculate() {
  ++m_calculations;
  return m_dive.Calculate(m_dive.GetDiveNumber(), m_start, m_settings);
}

double CBailoutPlanner::LastCns() const {
  const CPredictionPoint* last = m_dive.LastPrediction();
  return last ? last->m_cns : 0.0;
}

EBailoutResult CBailoutPlanner::BailoutPlan() {
  // A dive shown without its bailout keeps its bailout plan as it is.
  if (!m_dive.IsBailoutMode()) return EBailoutResult::Failed;
  Log("Storing initial tissue / cns / otu details from end of last dive");
  EBailoutResult result = EBailoutResult::Failed;
  if (InitialiseBailoutPlan())
    result = m_dive.BailoutSettings().useBailoutGasList ? GasesFromList() : SuggestBailoutGases();
  m_dive.SetModified(true);
  m_dive.SetState(kStateIdle, false);
  m_dive.SetBailoutPlanValid(result == EBailoutResult::Planned);
  return result;
}

bool CBailoutPlanner::InitialiseBailoutPlan() {
  Log("Initialising bailout plan");
  // A profile walked on the bailout points has nothing to cut them from: the
  // re-planning after a bailout setting changed starts from the points as
  // first cut. The dive's own profile is always cut again, so that a dive
  // changed since (or read from a file) plans from its bailout second.
  if (m_dive.BailoutWalked() || m_dive.ProfilePoints().empty()) {
    if (m_dive.BailoutInitialPlanPoints().empty()) {
      Log("No profile of the dive's own to cut the bailout plan points from");
      return false;
    }
    m_dive.RestoreBailoutPlanPoints();
    return true;
  }
  std::vector<CPlanPoint>& points = m_dive.BailoutPlanPointsRef();
  points.clear();
  SBailoutState& bailout = m_dive.Bailout();
  const int second = bailout.time;
  const std::vector<CPlanPoint>& profile = m_dive.ProfilePoints();
  const std::vector<CPlanPoint>& planPlus = m_dive.PlanPlusPoints();
  const std::size_t segment = SegmentHolding(profile, second);
  if (second < 1 || segment == profile.size() || planPlus.empty()) {
    LogF("Bailout second t%d lies outside the dive's profile", second);
    return false;
  }
  const SBailoutCut cut = LocateBailout(profile, planPlus, segment, second);
  // Always from the second: a remainder kept from an earlier cut (a file
  // edited since, a bottom time changed) would cut the wrong time.
  if (cut.segment->m_kind == kKindPlanned) bailout.remainder = cut.remaining;

  points.assign(planPlus.begin(), planPlus.begin() + static_cast<std::ptrdiff_t>(cut.target) + 1);
  double deepest = AppendPointsToBailout(points, planPlus[cut.target], cut, bailout.depth);
  bailout.segmentIndex = static_cast<int>(points.size()) - 1;
  deepest = std::max(deepest, AppendLaterOverheads(points, profile, planPlus, cut, bailout.depth));
  bailout.deepestPostBailoutDepth = deepest;
  m_dive.LogBailoutPlanPoints(false);
  m_dive.BailoutInitialPlanPointsRef() = points;
  m_dive.LogBailoutPlanPoints(true);
  return true;
}

int CBailoutPlanner::SwitchIndexForDepth(double depth) const {
  int count = 0;
  for (const CGasSwitch& s : m_dive.BailoutGasSwitches()) {
    if (!s.m_inUse || Below(s.m_depth, depth, 0.001)) break;
    ++count;
  }
  return count - 1;
}

void CBailoutPlanner::AssignSwitch(CPlanPoint& point, int index) const {
  const CGasSwitch& s = m_dive.BailoutGasSwitches()[static_cast<std::size_t>(index)];
  point.m_closedCircuit = 0;
  point.m_oxygen = s.m_oxygen;
  point.m_helium = s.m_helium;
  point.m_reservedIndex = index;
}

bool CBailoutPlanner::AssignSwitchGases() {
  std::vector<CPlanPoint>& points = m_dive.BailoutPlanPointsRef();
  const int start = m_dive.Bailout().segmentIndex;
  if (start < 0 || start >= static_cast<int>(points.size())) return false;
  for (std::size_t i = static_cast<std::size_t>(start); i < points.size(); ++i) {
    const int index = SwitchIndexForDepth(points[i].Depth());
    if (index < 0) {
      LogF("No bailout gas switch in use at %0.1fm", points[i].Depth());
      return false;
    }
    AssignSwitch(points[i], index);
    LogF("Replacing segment %d gas with %s", static_cast<int>(i), GasName(points[i].m_oxygen, points[i].m_helium).c_str());
  }
  return true;
}

bool CBailoutPlanner::UpdateBailoutGasSwitches() {
  Log("Updating bailout gas switches");
  m_dive.LogBailoutPlanPoints(false);
  if (!AssignSwitchGases()) return false;
  m_dive.LogBailoutPlanPoints(false);
  return true;
}

bool CBailoutPlanner::AddBailoutGasSwitches() {
  Log("Adding bailout gas switches");
  std::vector<CPlanPoint>& points = m_dive.BailoutPlanPointsRef();
  const auto& switches = m_dive.BailoutGasSwitches();
  if (!AssignSwitchGases()) return false;

  // A switch point is only a place to change gas: no time of its own and no
  // overhead, so that the next round's removal takes it away again.
  auto switchPoint = [&](const CPlanPoint& from, int index) {
    CPlanPoint p = from;
    p.SetDepth(switches[static_cast<std::size_t>(index)].m_depth);
    p.m_duration = 0;
    p.m_noClearSurface = 0;
    AssignSwitch(p, index);
    LogF("Inserting segment with %s", GasName(p.m_oxygen, p.m_helium).c_str());
    return p;
  };
  std::size_t c = static_cast<std::size_t>(m_dive.Bailout().segmentIndex);
  while (c + 1 < points.size()) {
    int j = points[c].m_reservedIndex;
    if (j == -1) j = SwitchIndexForDepth(points[c].Depth()) + 1;
    const int e = points[c + 1].m_reservedIndex;
    std::vector<CPlanPoint> between;
    if (j < e) {
      for (int s = j + 1; s <= e; ++s)
        if (switches[static_cast<std::size_t>(s)].m_inUse) between.push_back(switchPoint(points[c], s));
    } else {
      for (int s = j - 1; s >= e; --s)
        if (switches[static_cast<std::size_t>(s)].m_inUse) between.push_back(switchPoint(points[c], s));
    }
    points.insert(points.begin() + static_cast<std::ptrdiff_t>(c) + 1, between.begin(), between.end());
    c += between.size() + 1;
  }
  // The switches of the final ascent to the surface.
  const CPlanPoint last = points.back();
  for (int s = last.m_reservedIndex + 1; s < CDivePlan::kMaxGases; ++s)
    if (switches[static_cast<std::size_t>(s)].m_inUse) points.push_back(switchPoint(last, s));

  m_dive.LogBailoutPlanPoints(false);
  if (!m_dive.IsTableGenerationMode() && m_dive.m_pPlanGroup) m_dive.m_pPlanGroup->PostDiveRowReset(m_dive.GetDiveNumber());
  return true;
}

void CBailoutPlanner::RemoveBailoutGasSwitches() {
  Log("Removing bailout gas switches");
  m_dive.LogBailoutPlanPoints(false);
  std::vector<CPlanPoint>& points = m_dive.BailoutPlanPointsRef();
  const std::size_t first = static_cast<std::size_t>(std::max(0, m_dive.Bailout().segmentIndex)) + 1;
  if (first < points.size())
    points.erase(std::remove_if(points.begin() + static_cast<std::ptrdiff_t>(first), points.end(),
                                [](const CPlanPoint& p) { return !p.m_noClearSurface; }),
                 points.end());
  Log("After removal of gas switches");
  m_dive.LogBailoutPlanPoints(false);
}

bool PlanBailout(CDivePlan& dive, const SPreviousDiveState& start) {
  CBailoutPlanner planner(dive, start, UserPrompt());
  return planner.BailoutPlan() == EBailoutResult::Planned;
}

}  // namespace kv
