// Bails out of one closed-circuit dive at a second and prints the result for
// the cross-check against bailout_model.py. Argument: a JSON object with
// "dive" {lo, hi, L, desc, asc}, "bailout" {lo, hi, desc, asc, switches,
// max_ppo2, max_ead, max_cns, list, ignore_icd, ignore_cns}, "points"
// [[depth, seconds, o2, he, cc, setpoint, ncs], ...], "second" and "answers"
// [more, fewer]. Output: one JSON object (see the end of main).

#include <nlohmann/json.hpp>

#include <cstdio>
#include <iostream>

#include "bailout/bailout_questions.h"
#include "bailout/standalone_owner.h"
#include "engine/dive_plan.h"

namespace {

using Json = nlohmann::json;

Json PointJson(const kv::CPlanPoint& p) {
  return Json::array({p.Depth(), p.m_duration, p.m_oxygen, p.m_helium, p.m_closedCircuit != 0, p.m_noClearSurface != 0,
                      p.m_bailout != 0});
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const Json in = Json::parse(argv[1]);
  const Json& d = in["dive"];
  const Json& b = in["bailout"];
  kv::SBailoutAnswers answers;
  answers.allowMoreGases = in["answers"][0].get<bool>();
  answers.allowFewerGases = in["answers"][1].get<bool>();
  kv::CAnsweringPrompt prompt(answers);
  kv::CDivePlan dive;
  const kv::SPreviousDiveState start;
  kv::CStandaloneDiveOwner owner(dive, start, prompt, kv::SCalculationSettings{});
  dive.SetSurfacePressure(1000);
  dive.SetGfLow(d["lo"].get<double>());
  dive.SetGfHigh(d["hi"].get<double>());
  dive.SetLastDecoStop(d["L"].get<double>());
  dive.SetDescentRate(d["desc"].get<double>());
  dive.SetAscentRate(d["asc"].get<double>());
  dive.SetBailoutGfLow(b["lo"].get<double>());
  dive.SetBailoutGfHigh(b["hi"].get<double>());
  dive.SetBailoutDescentRate(b["desc"].get<double>());
  dive.SetBailoutAscentRate(b["asc"].get<double>());
  dive.SetBailoutNoOfGasSwitches(b["switches"].get<int>());
  dive.SetBailoutMaxPpo2(b["max_ppo2"].get<double>());
  dive.SetBailoutMaxEad(b["max_ead"].get<double>());
  dive.SetBailoutMaxCns(b["max_cns"].get<double>());
  dive.SetBailoutUseGasList(!b["list"].get<std::string>().empty());
  dive.SetBailoutGasList(b["list"].get<std::string>());
  dive.SetBailoutIgnoreIcd(b["ignore_icd"].get<bool>());
  dive.SetBailoutIgnoreCns(b["ignore_cns"].get<bool>());
  for (const Json& p : in["points"]) {
    kv::CPlanPoint point;
    point.SetDepth(p[0].get<double>());
    point.m_duration = p[1].get<int>();
    point.m_oxygen = p[2].get<double>();
    point.m_helium = p[3].get<double>();
    point.m_closedCircuit = p[4].get<int>() != 0;
    point.m_setpoint = p[5].get<double>();
    point.m_noClearSurface = p[6].get<int>() != 0;
    dive.AppendUserPoint(point);
  }
  dive.SetOwner(&owner);
  owner.SetDive(&dive);
  if (!dive.Calculate(0, start, kv::SCalculationSettings{})) return 3;
  if (!dive.SetBailout(in["second"].get<int>(), false)) return 4;

  Json out;
  out["trigger"] = {dive.Bailout().depth, dive.Bailout().ceiling, dive.Bailout().ead};
  out["deepest"] = dive.Bailout().deepestPostBailoutDepth;
  Json initial = Json::array();
  for (const kv::CPlanPoint& p : dive.BailoutInitialPlanPoints()) initial.push_back(PointJson(p));
  out["initial"] = initial;
  out["valid"] = dive.IsBailoutPlanValid();
  out["walked"] = dive.BailoutWalked();
  Json switches = Json::array();
  for (const kv::CGasSwitch& s : dive.BailoutGasSwitches())
    if (s.m_inUse) switches.push_back({s.m_depth, s.m_oxygen, s.m_helium});
  out["switches"] = switches;
  Json points = Json::array();
  for (const kv::CPlanPoint& p : dive.BailoutPlanPoints()) points.push_back(PointJson(p));
  out["points"] = points;
  Json profile = Json::array();
  for (const kv::CPlanPoint& p : dive.ProfilePoints())
    profile.push_back({p.m_kind, p.Depth(), p.m_start, p.m_duration, p.m_oxygen, p.m_helium, p.m_closedCircuit != 0});
  out["profile"] = profile;
  out["bailout_second"] = dive.GetBailoutSecond();
  const kv::CPredictionPoint& last = *dive.LastPrediction();
  out["end"] = {{"n2", last.m_nitrogen}, {"he", last.m_helium}, {"cns", last.m_cns}, {"otu", last.m_otu}};
  Json shown = Json::array();
  for (const auto& s : prompt.shown) shown.push_back(s.text);
  out["shown"] = shown;
  out["switch_setting"] = dive.BailoutSettings().noOfGasSwitches;
  std::cout << out.dump() << "\n";
  return 0;
}
