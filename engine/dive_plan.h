#pragma once
// One dive of a plan: the points the user entered, the dive's settings, the
// point lists the calculation derives, the per-second states, the printable
// segments and the calculation state.

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
  const std::string& GetName() const { return m_name; }
  void SetName(const std::string& name) { m_name = name; }

  EDiveState GetState() const { return m_state; }
  // Moves to state; states 1 and 2 ask the owner to calculate or re-plan the
  // dive (force: even when the plan calculates on demand only).
  EDiveState SetState(EDiveState state, bool force);
  bool IsModified() const { return m_modified != 0; }
  void SetModified(bool modified);
  bool IsTableGenerationMode() const { return m_tableGenerationMode != 0; }
  void SetTableGenerationMode(bool on) { m_tableGenerationMode = on; }
  bool IsCalculationCompleted() const { return m_calculationCompleted != 0; }
  bool IsTimeLimitExceeded() const { return m_timeLimitExceeded != 0; }
  bool IsExtendedPlanningUsed() const { return m_extendedPlanningUsed != 0; }
  bool HasRememberedAnswer() const { return m_answerRemembered != 0; }
  bool GetRememberedAnswer() const { return m_extendedPlanningAnswer != 0; }
  // Asks the 6-hour question of the dive now, as its calculation asks it on
  // reaching 6 hours (an answer given in advance answers it), and remembers
  // the answer in table generation mode. For a dive calculated as told "no"
  // that reached the question: answered no, it stands as calculated.
  bool AskToExtend() {
    m_answerRemembered = 0;
    return AskExtension();
  }
  void SetRememberedAnswer(bool remembered, bool answer) {
    m_answerRemembered = remembered;
    m_extendedPlanningAnswer = answer;
  }
  // The 6-hour question asked instead of the plan's "Unable to decompress
  // Dive %d ..." (table generation names the dive by depth and bottom time).
  void SetExtensionQuestion(std::string text) { m_extensionQuestion = std::move(text); }
  const std::string& GetExtensionQuestion() const { return m_extensionQuestion; }
  bool PredictionCheckPassed() const { return m_predictionCheckPassed != 0; }
  std::int64_t GetTimeStamp() const { return m_timeStamp; }
  void SetTimeStamp(std::int64_t t) { m_timeStamp = t; }

  // ---- Settings ------------------------------------------------------------
  const SDiveSettings& Settings() const { return m_settings; }
  const SBailoutSettings& BailoutSettings() const { return m_bailoutSettings; }
  double GetSurfacePressure() const { return m_settings.surfacePressure; }
  double GetGfLow() const { return m_settings.gfLow; }
  double GetGfHigh() const { return m_settings.gfHigh; }
  double GetSacRate() const { return m_settings.sacRate; }
  double GetMaxPpo2() const { return m_settings.maxPpo2; }
  double GetMaxEad() const { return m_settings.maxEad; }
  int GetSurfaceInterval() const { return m_settings.surfaceInterval; }
  double GetDescentRate() const { return m_settings.descentRate; }
  double GetAscentRate() const { return m_settings.ascentRate; }
  double GetLastDecoStop() const { return m_settings.lastDecoStop; }
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
  const std::string& GetBailoutGasList() const { return m_bailoutGasList; }
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
  int AddPoint(int index, int duration, double depthPressure, bool closedCircuit, double oxygen,
               double helium, double setpoint, bool noClearSurface);
  // A point the user entered: the first point of a dive at depth (outside
  // bailout mode) brings a point at the surface on the same gas, mode and
  // setpoint before it, so that the dive starts at the surface. The entered
  // point is checked first, then the surface point: a refused entry leaves
  // no surface point behind. at is the entered point's index or -1.
  struct SAddedPoints {
    int at = -1;
    bool surface = false;  // a surface point went in at index 0
  };
  SAddedPoints AddEnteredPoint(int index, int duration, double depthPressure, bool closedCircuit, double oxygen,
                               double helium, double setpoint, bool noClearSurface);
  bool UpdatePoint(int index, int duration, double depthPressure, bool closedCircuit, double oxygen,
                   double helium, double setpoint, bool noClearSurface);
  void DeletePoint(int index);
  bool SelectCurrentPoint(int index);
  int InsertCurrentPoint(int index);
  bool HasCurrentPoint() const { return m_currentPointCopied != 0; }
  const CPlanPoint& CurrentPoint() const { return m_currentPoint; }
  // The first bailout plan point with the bailout byte set; 999 without one, -1 outside bailout mode.
  int FirstBailoutPoint() const;
  void RestoreBailoutPlanPoints();

  // Appends without any check (files, table generation, tests).
  void AppendUserPoint(const CPlanPoint& p) { m_userPoints.push_back(p); }
  void AppendBailoutPoint(const CPlanPoint& p) { m_bailoutPlanPoints.push_back(p); }
  void ClearUserPoints() { m_userPoints.clear(); }
  void ClearBailoutPoints() { m_bailoutPlanPoints.clear(); }
  const std::vector<CPlanPoint>& UserPoints() const { return m_userPoints; }
  const std::vector<CPlanPoint>& PlanPlusPoints() const { return m_planPlusPoints; }
  const std::vector<CPlanPoint>& ProfilePoints() const { return m_profilePoints; }
  const std::vector<CPlanPoint>& BailoutPlanPoints() const { return m_bailoutPlanPoints; }
  std::vector<CPlanPoint>& BailoutPlanPointsRef() { return m_bailoutPlanPoints; }
  const std::vector<CPlanPoint>& BailoutInitialPlanPoints() const { return m_bailoutInitialPlanPoints; }
  std::vector<CPlanPoint>& BailoutInitialPlanPointsRef() { return m_bailoutInitialPlanPoints; }
  const CPlanPoint* GetUserPoint(int index) const;
  int UserPointCount() const { return static_cast<int>(m_userPoints.size()); }

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
  bool UsesGasSwitchSchedule() const { return m_useGasSwitchSchedule != 0; }
  void SetUseGasSwitchSchedule(bool on) { m_useGasSwitchSchedule = on; }
  // Builds the travel and deco gas ranges from the two schedules and logs them.
  void SetGasRanges(const CGasSwitchSchedule& travel, const CGasSwitchSchedule& deco);
  const std::array<SGasRange, 12>& TravelGasRanges() const { return m_travelGasRanges; }
  const std::array<SGasRange, 12>& DecoGasRanges() const { return m_decoGasRanges; }
  int GetNumberOfGasSwitchesUsed() const { return m_gasSwitchesUsed; }

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
  const SCalculationSettings& CalculationSettings() const { return m_calculationSettings; }
  // The settings the dive's owner calculates with (the built-in ones without an owner).
  SCalculationSettings OwnerSettings() const;
  // Builds the plan-plus points (first step of a calculation outside bailout mode).
  void BuildPlanPlusPoints();
  // Clears every result of the last calculation.
  void ClearResults();
  // Next stop depth (m) at second t for target depth d, or -1.
  double NextStopDepth(int t, double d) const;

  // ---- Profile readers (-1 / 0 past the end) ---------------------------------
  int ProfilePointCount() const { return static_cast<int>(m_profilePoints.size()); }
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
  int PredictionCount() const { return static_cast<int>(m_predictions.size()); }
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
  const std::vector<CDiveSegment>& Segments() const { return m_segments; }
  int SegmentCount() const { return static_cast<int>(m_segments.size()); }
  const std::vector<CDiveGasWarning>& GasWarnings() const { return m_gasWarnings; }
  void BuildDiveSegments();
  // Evaluates one prediction point's warnings; true when it has none.
  bool EvaluatePointWarnings(CPredictionPoint& point) const;
  void MarkIcdRisk(int index);
  SWarningSummary SummariseWarnings(int first, int last) const;
  void AddGasWarning(double oxygen, double helium, const std::string& icdText, const std::string& eadText,
                     const std::string& highO2Text, const std::string& lowO2Text);
  std::string GasWarningText(int index) const;
  void ClearGasWarnings() { m_gasWarnings.clear(); }

  bool ComputeGasConsumption();
  const std::array<SGasConsumption, kMaxGases>& GasConsumption() const { return m_consumption; }
  // "gas~volume~cylinder" of consumption record index with the reserve, in
  // the given units; empty past the last record.
  std::string GasConsumptionRow(int index, const SDisplayUnits& units) const;
  bool AnyConsumption() const { return m_anyConsumption != 0; }
  bool DiveSacUsed() const { return m_diveSacUsed != 0; }
  bool BailoutSacUsed() const { return m_bailoutSacUsed != 0; }

  // ---- Bailout state (the planning itself lives in the bailout layer) --------
  bool IsBailoutMode() const { return m_bailoutMode != 0; }
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
  bool IsBailoutPlanValid() const { return m_bailoutPlanValid != 0; }
  void SetBailoutPlanValid(bool v) { m_bailoutPlanValid = v; }
  // The second before the first bailout point of the last calculation's walk
  // (999999 when it walked none).
  int GetBailoutSecond() const { return m_bailoutSecond; }
  // The last calculation walked the bailout plan points.
  bool BailoutWalked() const { return m_bailoutWalked != 0; }
  std::array<CGasSwitch, 12>& BailoutGasSwitches() { return m_bailoutSwitches; }
  const std::array<CGasSwitch, 12>& BailoutGasSwitches() const { return m_bailoutSwitches; }
  // The bailout planner's own choices: stored (the dive is modified) without
  // asking for another re-plan, since they are the result of one.
  void AdoptBailoutNoOfGasSwitches(int n);
  void AdoptBailoutMaxPpo2(double maxPpo2);
  // "Bailout - Plan points" or "Bailout - Initial Plan points" with every
  // point and the deepest post-bailout depth, at the calculation's log level.
  void LogBailoutPlanPoints(bool initial) const;

  int m_bailoutTime = 0;              // the trigger's run time second
  double m_bailoutDepth = 0.0;        // m, at the bailout second
  double m_bailoutCeiling = 0.0;      // m gauge (negative without a ceiling)
  double m_bailoutEad = 0.0;          // m
  double m_deepestPostBailoutDepth = 0.0;  // m
  // Index in the bailout plan points of the last point copied up to the
  // bailout: the bailout point itself or the overhead remainder point.
  int m_bailoutSegmentIndex = -1;
  int m_bailoutCursor = -1;
  // Seconds of the "Planned" segment left after the bailout second; -1 until
  // computed. Kept in the files, but always worked out again from the bailout
  // second when the bailout points are cut, so a stale value plans nothing.
  int m_bailoutRemainder = -1;

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
  CLeveledLog Log() const { return CLeveledLog(StatusLog(), m_calculationSettings.debugLevel); }
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
  std::string m_extensionQuestion;
  std::string m_name;
  std::vector<CPlanPoint> m_userPoints;
  std::vector<CPlanPoint> m_planPlusPoints;
  std::vector<CPlanPoint> m_profilePoints;
  CChunkedVector<CPredictionPoint> m_predictions;
  std::vector<CDiveSegment> m_segments;
  std::vector<CPlanPoint> m_bailoutPlanPoints;
  std::vector<CPlanPoint> m_bailoutInitialPlanPoints;
  std::vector<CDiveGasWarning> m_gasWarnings;
  CPlanPoint m_currentPoint;
  CPerfTimer m_calculationTimer;
  CPerfTimer m_planPlusTimer;
  std::array<SGasRange, 12> m_travelGasRanges{};
  std::array<SGasRange, 12> m_decoGasRanges{};
  std::array<SGasConsumption, kMaxGases> m_consumption{};

  EDiveState m_state = kStateIdle;
  std::uint8_t m_modified = 0;
  std::uint8_t m_calculationCompleted = 0;
  std::uint8_t m_timeLimitExceeded = 0;
  std::uint8_t m_extendedPlanningUsed = 0;
  std::uint8_t m_extendedPlanningAnswer = 0;
  std::uint8_t m_answerRemembered = 0;
  std::uint8_t m_tableGenerationMode = 0;
  std::uint8_t m_predictionsPresent = 0;
  std::uint8_t m_predictionCheckPassed = 0;
  std::uint8_t m_currentPointCopied = 0;
  std::uint8_t m_anyConsumption = 0;
  std::uint8_t m_diveSacUsed = 0;
  std::uint8_t m_bailoutSacUsed = 0;

  SDiveSettings m_settings;
  SBailoutSettings m_bailoutSettings;
  SCalculationSettings m_calculationSettings;

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
  std::uint8_t m_bailoutMode = 0;
  std::uint8_t m_bailoutPlanValid = 0;
  std::uint8_t m_bailoutWalked = 0;
  std::uint8_t m_useGasSwitchSchedule = 0;
  std::array<CGasSwitch, 12> m_bailoutSwitches{};
  std::string m_bailoutGasList;
  std::int64_t m_timeStamp = 0;
  int m_gasSwitchesUsed = 0;
  int m_bailoutSecond = 999999;

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
