// Bailout gases picked from the dive's bailout gas list: the gases that cover
// the ascent from the bailout depth to the surface, each switched to where it
// reaches its deepest usable pressure, counter-diffusion risks repaired by
// moving a gas's switch shallower, and the working Max PPO2 lowered until the
// CNS fits.

#include <algorithm>
#include <cmath>

#include "bailout/tolerance.h"
#include "bailout/bailout_planner.h"
#include "base/strings.h"
#include "base/text.h"
#include "base/units.h"
#include "gas/gas_mix_list.h"

namespace kv {

using namespace bailout_detail;

// One candidate gas (pressures absolute, bar).
struct CBailoutPlanner::SListGas {
  double oxygen = 0.0;
  double helium = 0.0;
  double ppo2Lim = 0.0;   // where it reaches the working Max PPO2
  double eadLim = 0.0;    // where it reaches the bailout Max EAD
  double pEadZero = 0.0;  // where its EAD is 0
  double maxPamb = 0.0;   // deepest usable pressure
  double minPamb = 0.0;   // shallowest usable pressure (PPO2 0.20)
  int listOrder = 0;      // position in the list text, the last tie-break of the sorts
  double Nitrogen() const { return 100.0 - oxygen - helium; }
};

namespace {

constexpr int kMaxCnsRounds = 40;  // the working Max PPO2 falls by 0.1 a round; 0.5 ends it long before

// Lower helium first among equals, then the list order (the sorts are stable).
bool TieBreak(const auto& a, const auto& b) {
  if (a.helium != b.helium) return a.helium < b.helium;
  return a.listOrder < b.listOrder;
}

}  // namespace

std::string BailoutGasListText(const std::vector<SBailoutListMix>& mixes) {
  CGasMixList list;
  for (const SBailoutListMix& m : mixes) {
    CGas gas;
    if (gas.SetMix(m.oxygen, m.helium)) list.Add(gas);
  }
  return list.Text();
}

void CBailoutPlanner::LogGasList(const std::string& title, const std::vector<SListGas>& gases) const {
  if (!m_log.IsOn(kLogProgress)) return;
  Log("Bailout Gas List - " + title);
  for (std::size_t i = 0; i < gases.size(); ++i) {
    const SListGas& g = gases[i];
    LogF("Gas %02d %02.0f/%02.0f ppo2Lim %0.2f eadLim %0.2f maxPamb %0.2f minPamb %0.2f pEadZero %0.2f",
         static_cast<int>(i) + 1, g.oxygen, g.helium, g.ppo2Lim, g.eadLim, g.maxPamb, g.minPamb, g.pEadZero);
  }
}

std::vector<SBailoutListMix> ReadBailoutGasList(const std::string& text, std::vector<std::string>* leftOut) {
  const CGasMixList list = CGasMixList::Read(text);
  if (leftOut) *leftOut = list.LeftOut();
  std::vector<SBailoutListMix> mixes;
  for (const SGasListItem& item : list.UsableItems())
    mixes.push_back({item.gas.Oxygen(), item.gas.Helium(), item.position});
  return mixes;
}

std::vector<CBailoutPlanner::SListGas> CBailoutPlanner::ReadGasList(double workingMaxPpo2) const {
  const double ps = SurfaceBar();
  const double maxEad = m_dive.BailoutSettings().maxEad;
  std::vector<SListGas> gases;
  for (const SBailoutListMix& mix : ReadBailoutGasList(m_dive.GetBailoutGasList())) {
    SListGas g;
    g.oxygen = mix.oxygen;
    g.helium = mix.helium;
    g.listOrder = mix.item;
    const double nitrogen = g.Nitrogen();
    g.ppo2Lim = workingMaxPpo2 * 100.0 / g.oxygen;
    g.eadLim = nitrogen > 0.0 ? (ps + maxEad / 10.0) * 0.79 * 100.0 / nitrogen : g.ppo2Lim;
    g.maxPamb = std::min(g.ppo2Lim, g.eadLim);
    g.pEadZero = nitrogen > 0.0 ? ps * 0.79 / (nitrogen / 100.0) : g.maxPamb;
    g.minPamb = 20.0 / g.oxygen;
    gases.push_back(g);
  }
  return gases;
}

std::vector<CBailoutPlanner::SListGas> CBailoutPlanner::SelectFromBase(const std::vector<SListGas>& base) const {
  const double ps = SurfaceBar();
  Log("Calculate Gases from List Step 3");
  LogGasList("Base", base);
  std::vector<SListGas> work = base;
  std::stable_sort(work.begin(), work.end(), [](const SListGas& a, const SListGas& b) {
    if (a.maxPamb != b.maxPamb) return a.maxPamb > b.maxPamb;
    return TieBreak(a, b);
  });
  LogGasList("Base after sorting on maxPamb", work);

  // A gas with more helium or less oxygen than the one before it is no use,
  // unless leaving it out would open a gap in the ascent.
  std::vector<SListGas> output;
  for (std::size_t k = 0; k < work.size(); ++k) {
    if (!output.empty()) {
      const SListGas& previous = output.back();
      const SListGas& g = work[k];
      if (g.helium > previous.helium || g.oxygen < previous.oxygen) {
        const bool keep = k + 1 < work.size() ? work[k + 1].maxPamb <= previous.minPamb : ps <= previous.minPamb;
        if (!keep) continue;
      }
    }
    output.push_back(work[k]);
  }
  LogGasList("Working set after helium and oxygen check removals", output);
  LogGasList("Ouput set after helium and oxygen check removals", output);

  // Switch depths on the 3 m grid, rounded towards the surface; a depth that
  // is a whole multiple on paper stays on it.
  for (std::size_t k = 1; k < output.size(); ++k) {
    const double metres = 10.0 * (output[k].maxPamb - ps);
    output[k].maxPamb = ps + std::trunc(metres / 3.0 + kEqualTolerance) * 3.0 / 10.0;
  }
  LogGasList("Ouput set after rounding down", output);

  // One gas per switch depth: the richer (then the one with more nitrogen, then the earlier) stays.
  for (std::size_t i = 1; i < output.size();) {
    const SListGas& previous = output[i - 1];
    const SListGas& current = output[i];
    std::size_t drop;
    if (previous.maxPamb == current.maxPamb) {
      if (current.oxygen != previous.oxygen)
        drop = current.oxygen < previous.oxygen ? i : i - 1;
      else
        drop = current.Nitrogen() <= previous.Nitrogen() ? i : i - 1;
    } else if (previous.maxPamb < current.maxPamb) {
      drop = i - 1;
    } else {
      ++i;
      continue;
    }
    output.erase(output.begin() + static_cast<std::ptrdiff_t>(drop));
    // The gases now side by side are compared next.
    if (drop == i - 1 && i > 1) --i;
  }
  LogGasList("Output set after removal of matching depths", output);
  return output;
}

bool CBailoutPlanner::CheckOutput(std::vector<SListGas>& output, int icdCount) const {
  const double ps = SurfaceBar();
  const double pbo = ps + m_dive.Bailout().deepestPostBailoutDepth / 10.0;
  const std::string prefix = icdCount > 0 ? LoadString(1296) : "";
  auto fail = [&](const char* line, int id) {
    Log(line);
    m_prompt.ShowMessage(Format(LoadString(id), prefix.c_str()), EIcon::Exclamation);
    return false;
  };
  if (output.empty() || Above(pbo, output.front().maxPamb))
    return fail("Step 4 No suitable gas at bailout depth", 1291);
  if (output.size() == 1 && output.front().minPamb > ps)
    return fail("Step 4 Single Gas does not reach from bailout to surface", 1297);
  for (std::size_t k = 0; k + 1 < output.size(); ++k) {
    if (output[k + 1].maxPamb < output[k].minPamb) {
      if (output[k].minPamb > ps) return fail("Step 4 Gases do not overlap from bailout to surface", 1292);
      // The gas reaches the surface on its own: the leaner ones after the gap are not needed.
      output.resize(k + 1);
      break;
    }
  }
  if (output.back().minPamb > ps) return fail("Step 4 Last gases does not reach the surface", 1290);
  LogGasList("Ouput set after confirming overlaps and surface reach", output);
  return true;
}

bool CBailoutPlanner::PlanListSwitches(const std::vector<SListGas>& output) {
  const double ps = SurfaceBar();
  auto& switches = m_dive.BailoutGasSwitches();
  for (CGasSwitch& s : switches) s.Clear();
  for (std::size_t k = 0; k < output.size() && k < switches.size(); ++k) {
    const double depth = k == 0 ? m_dive.Bailout().deepestPostBailoutDepth : (output[k].maxPamb - ps) * 10.0;
    switches[k].Set(depth, output[k].oxygen, output[k].helium, false, 0.0, true);
  }
  LogSwitches();
  RemoveBailoutGasSwitches();
  if (!AddBailoutGasSwitches()) return false;
  m_dive.LogBailoutPlanPoints(false);
  return Recalculate();
}

std::vector<CBailoutPlanner::SListGas> CBailoutPlanner::BaseSet(double w) {
  const double pbo = SurfaceBar() + m_dive.Bailout().deepestPostBailoutDepth / 10.0;
  Log("Calculate Gases from List Step 1");
  std::vector<SListGas> base = ReadGasList(w);
  if (base.empty()) {
    Log("Step 1 No gas mixes in list");
    m_prompt.ShowMessage(LoadString(1295), EIcon::Exclamation);
    return {};
  }
  LogGasList("Step 1", base);

  Log("Calculate Gases from List Step 2");
  std::stable_sort(base.begin(), base.end(), [](const SListGas& a, const SListGas& b) {
    if (a.oxygen != b.oxygen) return a.oxygen > b.oxygen;
    return TieBreak(a, b);
  });
  LogGasList("Step 2", base);
  if (base.front().oxygen < 20.0) {
    Log(Format("Step 2 Gas Mix 1 Oxygen %0.0f below 20", base.front().oxygen) + "% at surface");
    m_prompt.ShowMessage(Format(LoadString(1290), ""), EIcon::Exclamation);
    return {};
  }
  // A gas exactly at its limit at the bailout depth is usable there, as the entry check accepts it.
  const auto deep = std::find_if(base.begin(), base.end(), [&](const SListGas& g) { return !Above(pbo, g.maxPamb); });
  if (deep == base.end()) {
    Log("Step 2 No suitable gas at bailout depth");
    m_prompt.ShowMessage(Format(LoadString(1291), ""), EIcon::Exclamation);
    return {};
  }
  Log("Removing gases not required");
  base.erase(deep + 1, base.end());
  LogGasList("Step 2", base);
  return base;
}

const CPredictionPoint* CBailoutPlanner::FirstIcdRisk() const {
  for (int t = m_dive.GetBailoutSecond() + 1; t < m_dive.PredictionCount(); ++t)
    if (m_dive.Prediction(t)->m_icdRisk) return m_dive.Prediction(t);
  return nullptr;
}

bool CBailoutPlanner::PlanFromBaseSet(std::vector<SListGas>& base, int& icdCount) {
  const double ps = SurfaceBar();
  // Each repair round moves one gas's switch to where its EAD is 0 or drops
  // the gas, so a round that changes nothing ends them.
  for (std::size_t repair = 0;; ++repair) {
    std::vector<SListGas> output = SelectFromBase(base);
    if (!CheckOutput(output, icdCount)) return false;
    if (!PlanListSwitches(output)) return false;
    if (m_dive.BailoutSettings().ignoreIcd || repair > 2 * base.size()) return true;
    const CPredictionPoint* flagged = FirstIcdRisk();
    if (!flagged) return true;
    const double oxygen = flagged->m_oxygen, helium = flagged->m_heliumFraction;
    LogF("Base set prior to removing gas %02.0f/%02.0f", oxygen, helium);
    LogGasList("Base", base);
    const auto gas = std::find_if(base.begin(), base.end(),
                                  [&](const SListGas& g) { return g.oxygen == oxygen && g.helium == helium; });
    if (gas == base.end() || (gas->maxPamb == gas->pEadZero && gas->maxPamb > gas->minPamb && gas->pEadZero >= ps)) {
      Log("ICD repair changes nothing more");
      return true;
    }
    gas->maxPamb = gas->pEadZero;
    if (gas->maxPamb <= gas->minPamb || gas->pEadZero < ps) base.erase(gas);
    LogF("Base set after replacing gas %02.0f/%02.0f maxPamb with pEadZero and removals", oxygen, helium);
    LogGasList("Base", base);
    ++icdCount;
  }
}

EBailoutResult CBailoutPlanner::GasesFromList() {
  const SBailoutSettings& settings = m_dive.BailoutSettings();
  double w = settings.maxPpo2;
  int icdCount = 0;
  // The CNS fit: each round plans at a lower working Max PPO2 until the dive
  // ends within the CNS limit.
  for (int round = 0; round < kMaxCnsRounds; ++round) {
    std::vector<SListGas> base = BaseSet(w);
    if (base.empty()) return EBailoutResult::Failed;
    if (!PlanFromBaseSet(base, icdCount)) return EBailoutResult::Failed;
    if (settings.ignoreCns) return EBailoutResult::Planned;

    const double cns = LastCns();
    const double limit = settings.maxCns / 100.0;
    if (cns < limit) {
      m_dive.AdoptBailoutMaxPpo2(w);
      return EBailoutResult::Planned;
    }
    if (w <= 0.5) break;
    w = w > 1.5 ? 1.5 : RoundToMultiple(w, 0.1) - 0.1;
  }
  Log("Step 5 Cannot Meet Max CNS% limit with current settings and Gaslist");
  m_prompt.ShowMessage(LoadString(1293), EIcon::Exclamation);
  // The plan stands as calculated, with the warning.
  return EBailoutResult::Planned;
}

}  // namespace kv
