#include "cli/json_report.h"

#include "cli/dive_outcome.h"
#include "engine/dive_plan.h"
#include "plan/lost_gas.h"
#include "plan/plan_group.h"

namespace kv {
namespace {

using Json = nlohmann::ordered_json;

Json Compartments(const std::array<double, kCompartments>& values) {
  Json a = Json::array();
  for (double v : values) a.push_back(v);
  return a;
}

Json ProfilePoint(const CPlanPoint& p) {
  Json j;
  j["depth"] = p.Depth();
  j["start"] = p.m_start;
  j["duration"] = p.m_duration;
  j["kind"] = p.m_kind;
  j["source"] = p.m_source;
  j["o2"] = p.m_oxygen;
  j["he"] = p.m_helium;
  j["cc"] = p.m_closedCircuit != 0;
  j["setpoint"] = p.m_setpoint;
  j["ncs"] = p.m_noClearSurface != 0;
  j["bailout"] = p.m_bailout != 0;
  return j;
}

Json Segment(const CDiveSegment& s) {
  Json j;
  j["end"] = s.m_end;
  j["duration"] = s.m_duration;
  j["kind"] = s.m_kind;
  j["depth"] = s.m_depth;
  j["o2"] = s.m_oxygen;
  j["he"] = s.m_helium;
  j["ppo2"] = s.m_ppo2;
  j["cc"] = s.m_closedCircuit != 0;
  j["ncs"] = s.m_noClearSurface != 0;
  j["warnings"] = s.m_warningFlags;
  return j;
}

Json Second(const CPredictionPoint& p) {
  Json j;
  j["time"] = p.m_time;
  j["depth"] = p.m_depthPressure / 100.0;
  j["ceiling"] = p.m_ceiling / 100.0;
  j["gf"] = p.m_gradientFactor;
  j["cns"] = p.m_cns;
  j["otu"] = p.m_otu;
  j["ead"] = p.m_ead;
  j["ppo2"] = p.m_ppo2;
  j["flags"] = p.m_warningFlags;
  j["n2"] = Compartments(p.m_nitrogen);
  j["he"] = Compartments(p.m_helium);
  return j;
}

Json GasWarnings(const CDivePlan& dive) {
  Json warnings = Json::array();
  for (const CDiveGasWarning& w : dive.GasWarnings()) warnings.push_back(w.DisplayText());
  return warnings;
}

Json GasConsumption(const CDivePlan& dive) {
  Json consumption = Json::array();
  for (const SGasConsumption& c : dive.GasConsumption()) {
    if (!c.m_gas.IsValid()) continue;
    Json g;
    g["gas"] = c.m_gas.Format(false);
    g["litres"] = c.m_volume;
    g["seconds"] = static_cast<long long>(c.m_time);
    consumption.push_back(std::move(g));
  }
  return consumption;
}

}  // namespace

Json SegmentJson(const CDiveSegment& segment) { return Segment(segment); }

Json DiveJson(const CPlanGroup& group, int index, const std::vector<int>& seconds) {
  const CDivePlan& dive = *group.GetDive(index);
  const SDiveOutcome outcome = DiveOutcome(group, index);
  const CPredictionPoint* first = dive.Prediction(0);
  const CPredictionPoint* last = dive.LastPrediction();
  Json d;
  d["index"] = index;
  d["name"] = dive.GetName();
  d["completed"] = outcome.calculated;
  d["time_limit_exceeded"] = dive.IsTimeLimitExceeded();
  // The results below describe the bailout dive when its last calculation walked the bailout points.
  d["bailout_mode"] = dive.BailoutWalked();
  d["bailout_valid"] = dive.IsBailoutPlanValid();
  Json switches = Json::array();
  for (const CGasSwitch& s : dive.BailoutGasSwitches())
    switches.push_back({{"depth", s.m_depth}, {"o2", s.m_oxygen}, {"he", s.m_helium}, {"in_use", s.m_inUse}});
  d["bailout_switches"] = std::move(switches);
  Json bailoutPoints = Json::array();
  for (const CPlanPoint& p : dive.BailoutPlanPoints()) bailoutPoints.push_back(ProfilePoint(p));
  d["bailout_points"] = std::move(bailoutPoints);
  d["run_time"] = dive.GetRunTime();
  d["max_depth"] = dive.GetMaxProfileDepth();
  d["cns_initial"] = first ? first->m_cns : 0.0;
  d["cns_final"] = last ? last->m_cns : 0.0;
  d["otu_initial"] = first ? first->m_otu : 0.0;
  d["otu_final"] = last ? last->m_otu : 0.0;
  d["max_ceiling"] = dive.GetDiveMaxCeiling();

  Json profile = Json::array();
  for (const CPlanPoint& p : dive.ProfilePoints()) profile.push_back(ProfilePoint(p));
  d["profile"] = std::move(profile);

  Json segments = Json::array();
  for (const CDiveSegment& s : dive.Segments()) segments.push_back(Segment(s));
  d["segments"] = std::move(segments);

  // A dive without results (not calculated, or cleared after a failure) has
  // no end state: its lists are empty rather than invented zeros.
  Json end;
  end["n2"] = last ? Compartments(last->m_nitrogen) : Json::array();
  end["he"] = last ? Compartments(last->m_helium) : Json::array();
  end["cns"] = last ? last->m_cns : 0.0;
  end["otu"] = last ? last->m_otu : 0.0;
  d["end_state"] = std::move(end);

  d["gas_warnings"] = GasWarnings(dive);
  d["warnings"] = outcome.warnings;
  d["gas_consumption"] = GasConsumption(dive);
  d["prediction_points"] = dive.PredictionCount();

  if (!seconds.empty()) {
    Json list = Json::array();
    for (int t : seconds)
      if (const CPredictionPoint* p = dive.Prediction(t)) list.push_back(Second(*p));
    d["seconds"] = std::move(list);
  }
  return d;
}

Json LostGasJson(const CLostGasVariants& variants, int index) {
  Json list = Json::array();
  for (const SLostGasVariant& v : variants.Of(index)) {
    const CDivePlan& dive = *v.dive;
    const SDiveOutcome outcome = DiveOutcome(dive);
    const CPredictionPoint* last = dive.LastPrediction();
    Json j;
    j["gas"] = v.gas.Format(false);
    j["completed"] = outcome.calculated;
    j["run_time"] = dive.GetRunTime();
    j["cns_final"] = last ? last->m_cns : 0.0;
    j["otu_final"] = last ? last->m_otu : 0.0;
    j["warnings"] = outcome.warnings;
    Json segments = Json::array();
    for (const CDiveSegment& s : dive.Segments()) segments.push_back(Segment(s));
    j["segments"] = std::move(segments);
    j["gas_consumption"] = GasConsumption(dive);
    j["gas_warnings"] = GasWarnings(dive);
    list.push_back(std::move(j));
  }
  return list;
}

Json PlanJson(const CPlanGroup& group, const std::vector<int>& dives, const std::vector<int>& seconds,
              const CLostGasVariants* lostGas) {
  Json list = Json::array();
  for (int i : dives) {
    if (!group.GetDive(i)) continue;
    list.push_back(DiveJson(group, i, seconds));
    if (lostGas) list.back()["lost_gas"] = LostGasJson(*lostGas, i);
  }
  Json doc;
  doc["dives"] = std::move(list);
  return doc;
}

std::string JsonText(const Json& document) {
  return document.dump(-1, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace kv
