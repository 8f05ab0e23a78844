#pragma once
// One dive of a plan: what the user gives it (SDiveInputs), its bailout
// (SBailoutState), what its last calculation gave (SDiveResults), and the
// working state of a calculation.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/perf_timer.h"
#include "base/status_log.h"
#include "engine/calculation_settings.h"
#include "engine/chunked_vector.h"
#include "engine/dive_owner.h"
#include "engine/plan_point.h"
#include "gas/gas.h"
#include "gas/gas_switch.h"

namespace kv {

// Dive states.
enum EDiveState : int { kStateIdle = 0, kStateRecalculate = 1, kStateReplanBailout = 2, kStateCalculated = 3, kStateBailoutPlanned = 4 };

// Settings of the dive ("Dive" defaults of the preferences).
struct SDiveSettings {
  double surfacePressure = 1000.0;  // mbar
  double gfLow = 20.0;              // %
  double gfHigh = 80.0;             // %
  double sacRate = 30.0;            // l/min
  double maxPpo2 = 1.6;             // bar
  double maxEad = 35.0;             // m
  int surfaceInterval = 0;          // s before this dive
  double descentRate = 20.0;        // m/min
  double ascentRate = 10.0;         // m/min
  double lastDecoStop = 6.0;        // m
};

// Settings of the bailout part of a closed-circuit dive ("Bailout" defaults).
struct SBailoutSettings {
  int noOfGasSwitches = 2;
  double gfLow = 100.0;
  double gfHigh = 100.0;
  double sacRate = 30.0;
  double maxPpo2 = 1.6;
  double maxEad = 40.0;
  double maxCns = 100.0;  // %
  double descentRate = 20.0;
  double ascentRate = 10.0;
  double lastDecoStop = 6.0;
  std::uint8_t useBailoutGasList = 0;
  std::uint8_t ignoreIcd = 0;
  std::uint8_t ignoreCns = 0;
};

// What a new dive takes from the user's preferences; the front end reads them.
struct SDiveDefaults {
  SDiveSettings dive;
  SBailoutSettings bailout;
  std::string bailoutGasList;
};

// The state a dive's calculation starts from: its predecessor's last second
// (16 nitrogen and 16 helium pressures in mbar, CNS as a fraction, OTU).
struct SPreviousDiveState {
  std::array<double, kCompartments> nitrogen{};
  std::array<double, kCompartments> helium{};
  double cns = 0.0;
  double otu = 0.0;
  bool noPreviousState = false;  // the predecessor has no prediction points: start from the surface
};

// Gas switch warnings summarised over a run of seconds.
struct SWarningSummary {
  int flags = 0;
  std::string icd;
  std::string ead;
  std::string highO2;
  std::string lowO2;
};

// What the user and the files give a dive: the values a calculation starts
// from and never changes.
struct SDiveInputs {
  std::string name;
  std::vector<CPlanPoint> userPoints;
  SDiveSettings settings;
  SBailoutSettings bailoutSettings;
  std::string bailoutGasList;
  // The 6-hour question asked instead of the plan's own text, and the answer
  // remembered for it (table generation asks once for a whole run).
  std::string extensionQuestion;
  std::uint8_t answerRemembered = 0;
  std::uint8_t extendedPlanningAnswer = 0;
  // Table generation: the dive is one of a run, breathing the gases of the
  // two schedules' ranges.
  std::uint8_t tableGenerationMode = 0;
  std::uint8_t useGasSwitchSchedule = 0;
  std::array<SGasRange, kMaxGases> travelGasRanges{};
  std::array<SGasRange, kMaxGases> decoGasRanges{};
};

// The bailout of a closed-circuit dive: the moment the trigger recorded, the
// points the bailout planner cut and the switches it chose.
struct SBailoutState {
  std::uint8_t mode = 0;       // the dive shows and calculates its bailout plan
  std::uint8_t planValid = 0;  // the bailout plan points are those of a planning
  std::vector<CPlanPoint> planPoints;
  std::vector<CPlanPoint> initialPlanPoints;  // as first cut, before any gas was chosen
  std::array<CGasSwitch, kMaxGases> gasSwitches{};
  int time = 0;                          // the trigger's run time second
  double depth = 0.0;                    // m, at the bailout second
  double ceiling = 0.0;                  // m gauge (negative without a ceiling)
  double ead = 0.0;                      // m
  double deepestPostBailoutDepth = 0.0;  // m
  // Index in the bailout plan points of the last point copied up to the
  // bailout: the bailout point itself or the overhead remainder point.
  int segmentIndex = -1;
  // Seconds of the "Planned" segment left after the bailout second; -1 until
  // computed. Kept in the files, but always worked out again from the bailout
  // second when the bailout points are cut, so a stale value plans nothing.
  int remainder = -1;
};

// A walk that never reached a bailout point.
inline constexpr int kNoBailoutSecond = 999999;
// The first bailout point of a bailout plan without one: past every index.
inline constexpr int kNoBailoutPoint = 999;

// What the last calculation gave: the points it walked, every second's state,
// the segments, the gas warnings and the consumption, and how it ended.
struct SDiveResults {
  std::vector<CPlanPoint> planPlusPoints;
  std::vector<CPlanPoint> profilePoints;
  CChunkedVector<CPredictionPoint> predictions;
  std::vector<CDiveSegment> segments;
  std::vector<CDiveGasWarning> gasWarnings;
  std::array<SGasConsumption, kMaxGases> consumption{};
  // The settings the segments and warning summaries were built with.
  SCalculationSettings calculationSettings;
  std::uint8_t calculationCompleted = 0;
  std::uint8_t timeLimitExceeded = 0;
  std::uint8_t extendedPlanningUsed = 0;
  std::uint8_t predictionsPresent = 0;
  std::uint8_t predictionCheckPassed = 0;
  std::uint8_t anyConsumption = 0;
  std::uint8_t diveSacUsed = 0;
  std::uint8_t bailoutSacUsed = 0;
  std::uint8_t bailoutWalked = 0;
  // The second before the first bailout point of the walk.
  int bailoutSecond = kNoBailoutSecond;
  int gasSwitchesUsed = 0;
  std::int64_t timeStamp = 0;
};

class CDivePlan {
public:
  static constexpr int kMaxGases = kv::kMaxGases;
  static constexpr double kWaterVapour = 56.7;    // mbar
  static constexpr double kStartMaxCeiling = 1600.0;  // mbar absolute
  static constexpr int kSixHours = 21600;
  static constexpr int kTwentyFourHours = 86400;

  // A dive with the built-in defaults; ApplyDefaults gives it the user's.
  explicit CDivePlan(IDiveOwner* owner = nullptr, int diveNumber = 0);
  // A full copy (inputs, calculated results, bailout state) that answers to
  // another owner: what a bailout sweep plans on.
  std::unique_ptr<CDivePlan> Clone(IDiveOwner* owner) const;
  // Becomes a full copy of other, keeping its own owner and reusing its own
  // storage (a sweep plans moment after moment on one copy per thread).
  void CopyFrom(const CDivePlan& other);

  // Takes the user's "Dive" and "Bailout" defaults and default bailout gas list.
  void ApplyDefaults(const SDiveDefaults& defaults);

  // ---- Owner, identity, state --------------------------------------------
  IDiveOwner* m_pPlanGroup = nullptr;
  void SetOwner(IDiveOwner* owner) { m_pPlanGroup = owner; }
  // A calculated dive whose seconds this dive's calculations take instead of
  // computing them while both walks step the same seconds: a copy bailed out
  // at a later moment walks the dive's own profile up to its bailout. A
  // second is taken only from a level profile point that the reference has
  // at the same place (start, depth, gas, setpoint), and only while every
  // second before it was the reference's own (each computed one is compared
  // with the reference's); the first that differs, or the bailout, ends the
  // taking for the calculation, so the result is the one computing every
  // second gives. Not owned, not copied by CopyFrom; it must not change while
  // this dive calculates (it may be read by several at once). nullptr for none.
  void SetStepReference(const CDivePlan* reference) { m_stepReference = reference; }
  int GetDiveNumber() const { return m_diveNumber; }
  void SetDiveNumber(int n) { m_diveNumber = n; }
  const std::string& GetName() const { return m_inputs.name; }
  void SetName(const std::string& name) { m_inputs.name = name; }

  EDiveState GetState() const { return m_state; }
  // Moves to state; states 1 and 2 ask the owner to calculate or re-plan the
  // dive (force: even when the plan calculates on demand only).
  EDiveState SetState(EDiveState state, bool force);
  bool IsModified() const { return m_modified != 0; }
  void SetModified(bool modified);
  bool IsTableGenerationMode() const { return m_inputs.tableGenerationMode != 0; }
  void SetTableGenerationMode(bool on) { m_inputs.tableGenerationMode = on; }
  bool IsCalculationCompleted() const { return m_results.calculationCompleted != 0; }
  bool IsTimeLimitExceeded() const { return m_results.timeLimitExceeded != 0; }
  bool IsExtendedPlanningUsed() const { return m_results.extendedPlanningUsed != 0; }
  bool HasRememberedAnswer() const { return m_inputs.answerRemembered != 0; }
  bool GetRememberedAnswer() const { return m_inputs.extendedPlanningAnswer != 0; }
  // Asks the 6-hour question of the dive now, as its calculation asks it on
  // reaching 6 hours (an answer given in advance answers it), and remembers
  // the answer in table generation mode. For a dive calculated as told "no"
  // that reached the question: answered no, it stands as calculated.
  bool AskToExtend() {
    m_inputs.answerRemembered = 0;
    return AskExtension();
  }
  void SetRememberedAnswer(bool remembered, bool answer) {
    m_inputs.answerRemembered = remembered;
    m_inputs.extendedPlanningAnswer = answer;
  }
  // The 6-hour question asked instead of the plan's "Unable to decompress
  // Dive %d ..." (table generation names the dive by depth and bottom time).
  void SetExtensionQuestion(std::string text) { m_inputs.extensionQuestion = std::move(text); }
  const std::string& GetExtensionQuestion() const { return m_inputs.extensionQuestion; }
  bool PredictionCheckPassed() const { return m_results.predictionCheckPassed != 0; }
  std::int64_t GetTimeStamp() const { return m_results.timeStamp; }
  void SetTimeStamp(std::int64_t t) { m_results.timeStamp = t; }

  // ---- Settings ------------------------------------------------------------
  const SDiveSettings& Settings() const { return m_inputs.settings; }
  const SBailoutSettings& BailoutSettings() const { return m_inputs.bailoutSettings; }
  double GetSurfacePressure() const { return m_inputs.settings.surfacePressure; }
  double GetGfLow() const { return m_inputs.settings.gfLow; }
  double GetGfHigh() const { return m_inputs.settings.gfHigh; }
  double GetSacRate() const { return m_inputs.settings.sacRate; }
  double GetMaxPpo2() const { return m_inputs.settings.maxPpo2; }
  double GetMaxEad() const { return m_inputs.settings.maxEad; }
  int GetSurfaceInterval() const { return m_inputs.settings.surfaceInterval; }
  double GetDescentRate() const { return m_inputs.settings.descentRate; }
  double GetAscentRate() const { return m_inputs.settings.ascentRate; }
  double GetLastDecoStop() const { return m_inputs.settings.lastDecoStop; }
  void SetSurfacePressure(double v);
  void SetGfLow(double v);
  void SetGfHigh(double v);
  void SetSacRate(double v);
  void SetMaxPpo2(double v);
  void SetMaxEad(double v);
  void SetSurfaceInterval(int v);
  void SetDescentRate(double v);
  void SetAscentRate(double v);
  void SetLastDecoStop(double v);

  void SetBailoutNoOfGasSwitches(int v);
  void SetBailoutGfLow(double v);
  void SetBailoutGfHigh(double v);
  void SetBailoutSacRate(double v);
  void SetBailoutMaxPpo2(double v);
  void SetBailoutMaxEad(double v);
  // Always stores; moves to state 2 whenever the value is not 0, changed or not.
  void SetBailoutMaxCns(double v);
  void SetBailoutDescentRate(double v);
  void SetBailoutAscentRate(double v);
  void SetBailoutLastDecoStop(double v);
  void SetBailoutUseGasList(bool v);
  void SetBailoutIgnoreIcd(bool v);
  void SetBailoutIgnoreCns(bool v);
  const std::string& GetBailoutGasList() const { return m_inputs.bailoutGasList; }
  void SetBailoutGasList(const std::string& list);

  // Group-wide values through the owner (ZH-L16C and delayed surface
  // desaturation, 33 % and 240 bar when the dive has no owner).
  int GetAlgorithm() const;
  int GetSurfaceIntervalAlgorithm() const;
  double GetGasReserve() const;
  double GetCylinderWorkingPressure() const;

  // ---- User points and their editing ---------------------------------------
  // Add or insert before index (append when past the end) after the entry
  // check; returns the new index or -1 when refused. Works on the bailout plan
  // points in bailout mode.
  int AddPoint(int index, const SEnteredPoint& point);
  // A point the user entered: the first point of a dive at depth (outside
  // bailout mode) brings a point at the surface on the same gas, mode and
  // setpoint before it, so that the dive starts at the surface. The entered
  // point is checked first, then the surface point: a refused entry leaves
  // no surface point behind. at is the entered point's index or -1.
  struct SAddedPoints {
    int at = -1;
    bool surface = false;  // a surface point went in at index 0
  };
  SAddedPoints AddEnteredPoint(int index, const SEnteredPoint& point);
  bool UpdatePoint(int index, const SEnteredPoint& point);
  void DeletePoint(int index);
  bool SelectCurrentPoint(int index);
  int InsertCurrentPoint(int index);
  bool HasCurrentPoint() const { return m_currentPointCopied != 0; }
  const CPlanPoint& CurrentPoint() const { return m_currentPoint; }
  // The first bailout plan point with the bailout byte set; kNoBailoutPoint without one, -1 outside bailout mode.
  int FirstBailoutPoint() const;
  void RestoreBailoutPlanPoints();

  // Appends without any check (files, table generation, tests).
  void AppendUserPoint(const CPlanPoint& p) { m_inputs.userPoints.push_back(p); }
  void AppendBailoutPoint(const CPlanPoint& p) { m_bailoutState.planPoints.push_back(p); }
  void ClearUserPoints() { m_inputs.userPoints.clear(); }
  void ClearBailoutPoints() { m_bailoutState.planPoints.clear(); }
  const std::vector<CPlanPoint>& UserPoints() const { return m_inputs.userPoints; }
  const std::vector<CPlanPoint>& PlanPlusPoints() const { return m_results.planPlusPoints; }
  const std::vector<CPlanPoint>& ProfilePoints() const { return m_results.profilePoints; }
  const std::vector<CPlanPoint>& BailoutPlanPoints() const { return m_bailoutState.planPoints; }
  std::vector<CPlanPoint>& BailoutPlanPointsRef() { return m_bailoutState.planPoints; }
  const std::vector<CPlanPoint>& BailoutInitialPlanPoints() const { return m_bailoutState.initialPlanPoints; }
  std::vector<CPlanPoint>& BailoutInitialPlanPointsRef() { return m_bailoutState.initialPlanPoints; }
  const CPlanPoint* GetUserPoint(int index) const;
  int UserPointCount() const { return static_cast<int>(m_inputs.userPoints.size()); }

  // The entry check: refuses invalid, hypoxic and hyperoxic gases and an EAD
  // over the limit, with the matching message box. depth in metres.
  bool CheckGasEntry(double depth, double oxygen, double helium, bool closedCircuit, double setpoint,
                     bool bailoutLimits) const;
  // The check of the surface point the first entry of a dive brings with it
  // (its gas, mode and setpoint at 0 m), with a message that explains the
  // point when it is refused. entryDepth in metres.
  bool CheckSurfacePointEntry(double entryDepth, double oxygen, double helium, bool closedCircuit,
                              double setpoint) const;
  bool m_skipEntryCheck = false;

  // ---- Gas switch schedule mode (table generation) -------------------------
  bool UsesGasSwitchSchedule() const { return m_inputs.useGasSwitchSchedule != 0; }
  void SetUseGasSwitchSchedule(bool on) { m_inputs.useGasSwitchSchedule = on; }
  // Builds the travel and deco gas ranges from the two schedules and logs them.
  void SetGasRanges(const CGasSwitchSchedule& travel, const CGasSwitchSchedule& deco);
  const std::array<SGasRange, kMaxGases>& TravelGasRanges() const { return m_inputs.travelGasRanges; }
  const std::array<SGasRange, kMaxGases>& DecoGasRanges() const { return m_inputs.decoGasRanges; }
  int GetNumberOfGasSwitchesUsed() const { return m_results.gasSwitchesUsed; }

  // ---- Calculation -----------------------------------------------------------
  // Calculates the dive from the previous dive's end state (ignored when
  // fromSurface or this is dive 0). False when the run time limits stopped it
  // outside table generation mode. Uses its owner's calculation settings
  // (the built-in ones without an owner).
  bool Calculate(int diveNumber, const double* prevN2, const double* prevHe, double prevCns,
                 double prevOtu, bool fromSurface);
  // The same with the settings given by the caller: every stage of the
  // calculation reads these and nothing shared, so dives can be calculated
  // on several threads at once (each dive on one thread).
  bool Calculate(int diveNumber, const double* prevN2, const double* prevHe, double prevCns,
                 double prevOtu, bool fromSurface, const SCalculationSettings& settings);
  bool Calculate(int diveNumber, const SPreviousDiveState& previous) {
    return Calculate(diveNumber, previous.nitrogen.data(), previous.helium.data(), previous.cns, previous.otu,
                     previous.noPreviousState);
  }
  bool Calculate(int diveNumber, const SPreviousDiveState& previous, const SCalculationSettings& settings) {
    return Calculate(diveNumber, previous.nitrogen.data(), previous.helium.data(), previous.cns, previous.otu,
                     previous.noPreviousState, settings);
  }
  // The settings of the last calculation (those the segments and warning
  // summaries were built with).
  const SCalculationSettings& CalculationSettings() const { return m_results.calculationSettings; }
  // The settings the dive's owner calculates with (the built-in ones without an owner).
  SCalculationSettings OwnerSettings() const;
  // Builds the plan-plus points (first step of a calculation outside bailout mode).
  void BuildPlanPlusPoints();
  // Clears every result of the last calculation.
  void ClearResults();
  // Next stop depth (m) at second t for target depth d, or -1.
  double NextStopDepth(int t, double d) const;

  // ---- Profile readers (-1 / 0 past the end) ---------------------------------
  int ProfilePointCount() const { return static_cast<int>(m_results.profilePoints.size()); }
  double GetProfileDepth(int i) const;
  int GetProfileStart(int i) const;
  int GetProfileEnd(int i) const;
  int GetProfileDuration(int i) const;
  double GetProfileOxygen(int i) const;
  double GetProfileHelium(int i) const;
  double GetProfileSetpoint(int i) const;
  int GetProfileClosedCircuit(int i) const;
  int GetProfileNoClearSurface(int i) const;
  double GetMaxProfileDepth() const;
  // Run time: end second of the last profile point (0 without points).
  int GetRunTime() const;

  // ---- Prediction readers by second ------------------------------------------
  int PredictionCount() const { return static_cast<int>(m_results.predictions.size()); }
  const CPredictionPoint* Prediction(int t) const;
  const CPredictionPoint* LastPrediction() const;
  double GetCeiling(int t) const;     // m
  double GetMaxCeiling(int t) const;  // m
  double GetDepth(int t) const;       // m
  double GetCns(int t) const;
  double GetOtu(int t) const;
  // The warning texts of second t, each followed by "#", in the units of the
  // last calculation.
  std::string GetWarningText(int t) const;
  // The maximum ceiling of the whole calculation, m gauge.
  double GetDiveMaxCeiling() const;

  // ---- Segments, gas warnings, consumption ------------------------------------
  const std::vector<CDiveSegment>& Segments() const { return m_results.segments; }
  int SegmentCount() const { return static_cast<int>(m_results.segments.size()); }
  const std::vector<CDiveGasWarning>& GasWarnings() const { return m_results.gasWarnings; }
  void BuildDiveSegments();
  // Evaluates one prediction point's warnings; true when it has none.
  bool EvaluatePointWarnings(CPredictionPoint& point) const;
  void MarkIcdRisk(int index);
  SWarningSummary SummariseWarnings(int first, int last) const;
  void AddGasWarning(double oxygen, double helium, const std::string& icdText, const std::string& eadText,
                     const std::string& highO2Text, const std::string& lowO2Text);
  std::string GasWarningText(int index) const;
  void ClearGasWarnings() { m_results.gasWarnings.clear(); }

  bool ComputeGasConsumption();
  const std::array<SGasConsumption, kMaxGases>& GasConsumption() const { return m_results.consumption; }
  // "gas~volume~cylinder" of consumption record index with the reserve, in
  // the given units; empty past the last record.
  std::string GasConsumptionRow(int index, const SDisplayUnits& units) const;
  bool AnyConsumption() const { return m_results.anyConsumption != 0; }
  bool DiveSacUsed() const { return m_results.diveSacUsed != 0; }
  bool BailoutSacUsed() const { return m_results.bailoutSacUsed != 0; }

  // ---- Bailout state (the planning itself lives in the bailout layer) --------
  bool IsBailoutMode() const { return m_bailoutState.mode != 0; }
  // The trigger: bail out at a run time second of the dive's own calculated
  // profile, or at the end of the profile segment that holds it. Records the
  // bailout depth, ceiling and EAD of that second, forgets the bailout plan
  // points built for an earlier trigger and asks the owner to re-plan the
  // bailout. False, with nothing changed, when the dive has no calculated
  // profile of its own (none, or a bailout profile) or the second lies outside it.
  bool SetBailout(int second, bool fromEndOfSegment);
  // The second SetBailout(second, fromEndOfSegment) would bail out at; -1
  // when it would refuse.
  int BailoutSecondFor(int second, bool fromEndOfSegment) const;
  // Bailout mode off and both bailout point lists cleared (the plan is no
  // longer valid); the dive is recalculated.
  void ClearBailout();
  // Bailout mode off, the bailout lists kept; the dive is recalculated.
  void ShowNormalPlan();
  // Bailout mode on: a valid bailout plan is re-planned, otherwise the owner
  // is told (so that the window can offer the bailout). The bailout second is
  // looked up in the dive's current calculation of its own profile again
  // first (a plan read from a file, or a dive edited since), so the
  // re-planning starts from the dive as it is now.
  void EnterBailoutMode();
  bool IsBailoutPlanValid() const { return m_bailoutState.planValid != 0; }
  void SetBailoutPlanValid(bool v) { m_bailoutState.planValid = v; }
  // The second before the first bailout point of the last calculation's walk
  // (kNoBailoutSecond when it walked none).
  int GetBailoutSecond() const { return m_results.bailoutSecond; }
  // The last calculation walked the bailout plan points.
  bool BailoutWalked() const { return m_results.bailoutWalked != 0; }
  std::array<CGasSwitch, kMaxGases>& BailoutGasSwitches() { return m_bailoutState.gasSwitches; }
  const std::array<CGasSwitch, kMaxGases>& BailoutGasSwitches() const { return m_bailoutState.gasSwitches; }
  // The bailout planner's own choices: stored (the dive is modified) without
  // asking for another re-plan, since they are the result of one.
  void AdoptBailoutNoOfGasSwitches(int n);
  void AdoptBailoutMaxPpo2(double maxPpo2);
  // "Bailout - Plan points" or "Bailout - Initial Plan points" with every
  // point and the deepest post-bailout depth, at the calculation's log level.
  void LogBailoutPlanPoints(bool initial) const;

  // The bailout state (the trigger's moment, the bailout plan points and
  // switches); the bailout planner and the files read and write it.
  SBailoutState& Bailout() { return m_bailoutState; }
  const SBailoutState& Bailout() const { return m_bailoutState; }

  // Tissue constants of the current calculation (exposed for tests and charts).
  void SetConstants();
  const std::array<double, kCompartments>& AN() const { return m_AN; }
  const std::array<double, kCompartments>& BN() const { return m_BN; }
  const std::array<double, kCompartments>& AH() const { return m_AH; }
  const std::array<double, kCompartments>& BH() const { return m_BH; }

  // Oxygen exposure increments for t seconds at PPO2 p (bar).
  static double CnsIncrement(double p, double seconds);
  static double OtuIncrement(double p, double seconds);

private:
  template <typename T>
  void ChangeSetting(T& field, T value, EDiveState state);
  int FirstBailoutIndexForLimits() const;
  std::vector<CPlanPoint>& EditedPoints();

  // Calculation stages. They log through Log(), at the debug level of the
  // calculation's settings.
  CLeveledLog Log() const { return CLeveledLog(StatusLog(), m_results.calculationSettings.debugLevel); }
  void InitialiseSurface(CPredictionPoint& p0);
  void InitialiseSurfaceInterval(CPredictionPoint& p0, const double* prevN2, const double* prevHe);
  void ComputeCeiling(CPredictionPoint& point, const CPredictionPoint* previous, bool bailoutSecond);
  void ComputeCeilingWithFactor(CPredictionPoint& point, const CPredictionPoint* previous, bool bailoutSecond,
                                double g);
  void RecordBailoutMoment();
  CDivePlan(const CDivePlan&) = default;
  CDivePlan& operator=(const CDivePlan&) = default;
  double GradientFactor(double previousCeilingAbs, double ambient, bool afterBailout) const;
  void StepSeconds();
  void StepOneSecond(int t);
  // The reference's second t for the profile point at index, when the two
  // walks are still in step and that point is level and the reference's
  // own; true when taken.
  bool TakeReferenceSecond(int t, int index, CPredictionPoint& point);
  // After computing second t: still in step only when it is the reference's.
  void CompareWithReference(int t, const CPredictionPoint& point);
  int TravelTime(double from, double to) const;
  bool CheckLimits(int nextSecond);
  bool AskExtension();
  void LogProfilePoint(const char* label, const CPlanPoint& p) const;
  void LogGasRanges() const;
  void CutPredictionsAfter(int second);
  // The walk over the targets (schedule.cpp), in the steps a diver makes.
  bool WalkTargets(const std::vector<CPlanPoint>& input);
  void StartAtSurface(const CPlanPoint& first);
  void DescendToTarget(const CPlanPoint& previous, const CPlanPoint& target, int index);
  void SpendTimeAtTarget(const CPlanPoint& target, int index);
  void AscendWithStops(const CPlanPoint& previous, double targetDepth);
  // One ascent towards level (m); returns the level reached.
  double AscendTowards(const CPlanPoint& previous, double level, double targetDepth);
  void StopAt(double level, double targetDepth);
  // A copy of from (depth included) as an inserted point of the walk, starting now.
  CPlanPoint InsertedPoint(const CPlanPoint& from, int kind, int duration);
  CPlanPoint& AppendProfilePoint(const CPlanPoint& point, const char* label);
  void AdvanceRunTime(int seconds);
  double NextStopAfterLastSecond(double targetDepth) const;

  // Data.
  int m_diveNumber = 0;
  EDiveState m_state = kStateIdle;
  std::uint8_t m_modified = 0;
  SDiveInputs m_inputs;
  SBailoutState m_bailoutState;
  SDiveResults m_results;
  CPlanPoint m_currentPoint;
  std::uint8_t m_currentPointCopied = 0;
  CPerfTimer m_calculationTimer;
  CPerfTimer m_planPlusTimer;

  // Tissue constants and running maxima of the current calculation.
  double m_maxCeiling = kStartMaxCeiling;  // mbar absolute
  double m_highestTissuePressure = 0.0;
  std::array<double, kCompartments> m_halfTimeN{};
  std::array<double, kCompartments> m_halfTimeH{};
  std::array<double, kCompartments> m_factorN1s{};
  std::array<double, kCompartments> m_factorH1s{};
  std::array<double, kCompartments> m_factorN1m{};
  std::array<double, kCompartments> m_factorH1m{};
  std::array<double, kCompartments> m_AN{};
  std::array<double, kCompartments> m_BN{};
  std::array<double, kCompartments> m_AH{};
  std::array<double, kCompartments> m_BH{};
  std::uint8_t m_icdCarry = 0;

  // Where the walk stands.
  struct SWalkPosition {
    double depth = 0.0;     // m reached
    int runTime = 1;        // the next second of run time
    double source = 0.0;    // source number of the last inserted point
    int pendingTravel = 0;  // s of descent not yet taken off a target's time
  };
  SWalkPosition m_walk;
  // Walk state of the current calculation.
  int m_lastComputedSecond = 0;
  int m_profileSearchIndex = 0;
  bool m_useBailoutRates = false;
  bool m_questionAsked = false;
  bool m_stopped = false;
  bool m_extensionAccepted = false;
  double m_lastPpo2 = -1.0;
  double m_lastCnsIncrement = 0.0;
  double m_lastOtuIncrement = 0.0;
  const CDivePlan* m_stepReference = nullptr;
  bool m_inStepWithReference = false;
};

}  // namespace kv
