#pragma once
// Bailout planning of a closed-circuit dive in bailout mode: the bailout plan
// points cut from the dive's own profile at the bailout second, the
// open-circuit gases and their switch depths (suggested by the planner or
// picked from the dive's bailout gas list), and the recalculations of the
// dive in bailout mode that check them.
//
// Pressures are absolute in bar (Ps the dive's surface pressure / 1000, a
// depth d m at Ps + d / 10), depths in metres, PPO2 in bar, gases in percent.

#include <string>
#include <vector>

#include "base/prompt.h"
#include "base/status_log.h"
#include "engine/calculation_settings.h"
#include "engine/dive_plan.h"
#include "gas/gas.h"

namespace kv {

// 0 failed, 1 planned within every limit, 2 planned but a limit was not met.
enum class EBailoutResult : int { Failed = 0, Planned = 1, LimitNotMet = 2 };

class CBailoutPlanner {
public:
  // start is the state the dive's own calculation starts from (the previous
  // dive's end, or the surface); every recalculation starts from it, with the
  // settings snapshot given (so that a planning on a worker thread never reads
  // the preferences), and the planner logs at its debug level. The questions
  // and warnings of the planning go to prompt.
  CBailoutPlanner(CDivePlan& dive, const SPreviousDiveState& start, IUserPrompt& prompt,
                  const SCalculationSettings& settings);
  // The same with the preferences' settings, taken now.
  CBailoutPlanner(CDivePlan& dive, const SPreviousDiveState& start, IUserPrompt& prompt);

  // The driver: builds the bailout plan points, chooses the gases, stores the
  // bailout plan valid flag (set for Planned only) and marks the dive
  // modified. A dive not in bailout mode is left alone (Failed).
  EBailoutResult BailoutPlan();

  // ---- Bailout plan points ----------------------------------------------------
  // Restores the initial plan points, or cuts them from the profile at the
  // bailout second; false when that second lies in no profile point.
  bool InitialiseBailoutPlan();
  // Gives every point from the bailout on the gas of its switch and inserts
  // the switch points between them; false when a point has no switch in use.
  bool AddBailoutGasSwitches();
  // Gives every point from the bailout on the gas of its switch again.
  bool UpdateBailoutGasSwitches();
  // Drops the switch points (every point after the bailout that is not an overhead point).
  void RemoveBailoutGasSwitches();
  // The shallowest switch in use at or below depth; -1 when switch 0 is shallower.
  int SwitchIndexForDepth(double depth) const;

  // ---- Suggested gases --------------------------------------------------------
  // Switch depths from the deepest post-bailout depth (may ask to change the
  // number of switches); false when the user declines or 12 are not enough.
  bool CalculateBailoutSwitchDepths();
  void CalculateBailoutSwitchGases(double maxPpo2, double ratio);
  CGas GasForSwitch(double depth, double previousN2, bool isFirst, double targetPpo2) const;
  double PressureRatioToSurface(double pressure, int stops) const;
  double PressureRatioTo6m(double pressure, int stops) const;
  double PressureRatio(double pressure, int stops) const;
  // Ceiling margin (m) and target EAD (m) at the first bailout profile point on switch index's gas.
  bool FindIcdSwitchValues(int index, double& margin, double& targetEad) const;
  EBailoutResult SuggestBailoutGases();

  // ---- Gases from the list ----------------------------------------------------
  EBailoutResult GasesFromList();

  // Dive calculations this planner has run.
  int Calculations() const { return m_calculations; }

private:
  struct SListGas;
  // "Bailout - " and the text, at the calculation's log level.
  void Log(const std::string& text) const;
  void LogF(const char* format, ...) const __attribute__((format(printf, 2, 3)));
  bool Recalculate();
  double LastCns() const;
  double SurfaceBar() const { return m_dive.GetSurfacePressure() / 1000.0; }
  void AssignSwitch(CPlanPoint& point, int index) const;
  // Every point from the bailout on gets the gas of its switch; false when one has none.
  bool AssignSwitchGases();
  void LogSwitches() const;
  bool OptimiseIcd();
  EBailoutResult FitCns();
  std::vector<SListGas> ReadGasList(double workingMaxPpo2) const;
  std::vector<SListGas> SelectFromBase(const std::vector<SListGas>& base) const;
  bool CheckOutput(std::vector<SListGas>& output, int icdCount) const;
  bool PlanListSwitches(const std::vector<SListGas>& output);
  void LogGasList(const std::string& title, const std::vector<SListGas>& gases) const;
  // Steps 1 and 2 of planning from the list: the usable mixes at working Max
  // PPO2 w, richest first, down to the first that may be breathed at the
  // deepest depth after the bailout. Empty, with the message shown, when the
  // list cannot give a plan.
  std::vector<SListGas> BaseSet(double w);
  // Steps 3 to 6: plans the switches of base and repairs the counter-diffusion
  // risk the calculation flags; false when no plan could be made.
  bool PlanFromBaseSet(std::vector<SListGas>& base, int& icdCount);
  // The first second after the bailout with a counter-diffusion risk, or nullptr.
  const CPredictionPoint* FirstIcdRisk() const;

  CDivePlan& m_dive;
  SPreviousDiveState m_start;
  IUserPrompt& m_prompt;
  SCalculationSettings m_settings;
  CLeveledLog m_log;
  int m_calculations = 0;
};

// The mixes the planner takes from a bailout gas list text, as CGasMixList
// reads it (gas/gas_mix_list.h): the first 12 mixes, in list order, each
// with its position in the text. Each item left out is said in leftOut with
// its reason.
struct SBailoutListMix {
  double oxygen = 0.0;
  double helium = 0.0;
  int item = 0;  // position in the text, from 1
  bool operator==(const SBailoutListMix&) const = default;
};
std::vector<SBailoutListMix> ReadBailoutGasList(const std::string& text, std::vector<std::string>* leftOut = nullptr);
// The text of a bailout gas list holding mixes, written by CGasMixList ("18/45,50/0,100/0").
std::string BailoutGasListText(const std::vector<SBailoutListMix>& mixes);

// Everything from 7 m on allows another switch: 1 below 7 m, 12 from 56 m.
int MaxGasSwitchesForDepth(double depth);

// The bailout driver of the plan group: plans with the process-wide prompt;
// true when planned within every limit.
bool PlanBailout(CDivePlan& dive, const SPreviousDiveState& start);

}  // namespace kv
