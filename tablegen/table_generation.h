#pragma once
// The table generation page as a model without widgets: its inputs, the two
// gas switch schedules, the message list with the validation states, the run
// that calculates one dive for every table depth and bottom time, the printed
// tables, the settings files and the import from a dive of the plan. The
// desktop page is a view over it; kvplan drives the same code.
//
// Inputs are held in metres (metres per minute) whatever the display units,
// so that a value read from a file or the preferences is used exactly as
// stored; Inputs() and SetInputs() give and take them as the page shows them,
// in feet when the units are imperial. Gas switch depths are metres. A depth
// entered in feet that lies within 1 mm of a scheduled switch depth is that
// depth (the table depths and the last stop meet the switches exactly).
//
// The model never reads the preferences: the front end gives it the units,
// the inputs and schedules, the calculation settings, the report options and
// the plan-wide values of a new plan (frontend/table_generation_preferences.h).

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/units.h"
#include "engine/dive_plan.h"
#include "gas/gas_switch.h"
#include "report/table_builder.h"
#include "report/tables_html.h"
#include "tablegen/consolidation.h"

namespace kv {

class CPlanGroup;
class IProgress;

enum ETableGrouping : int { kGroupByDepth = 0, kGroupByTime = 1 };

// The page's inputs: depths, rates, the last stop and the max EAD in metres
// as the model holds them, or in the display units as Inputs() gives them.
struct STableGenerationInputs {
  double depthStart = 10.0;  // m or ft
  double depthFinish = 20.0;
  double depthStep = 10.0;
  int durationStart = 10;  // whole minutes
  int durationFinish = 20;
  int durationStep = 5;
  double surfacePressure = 1000.0;  // mbar
  double gfLow = 20.0;              // %
  double gfHigh = 80.0;             // %
  double descentRate = 20.0;        // m/min or ft/min
  double ascentRate = 10.0;         // m/min or ft/min
  double lastDecoStop = 6.0;        // m or ft
  double maxPpo2 = 1.6;             // bar
  double maxEad = 35.0;             // m or ft
  int grouping = kGroupByDepth;

  bool operator==(const STableGenerationInputs&) const = default;
};

// Check states of the validation and of each message: fine, warning, error.
enum ECheckState : int { kCheckFine = 0, kCheckWarning = 1, kCheckError = 2 };

struct STableMessage {
  std::string text;
  int state = kCheckFine;
};

enum class EGeneratedDiveStatus { NotRun, Calculated, Failed, Skipped };

// The plan-wide values a generated dive reads through its owner.
struct STableGroupSettings {
  int algorithm = 1;                 // ZH-L16C
  int surfaceIntervalAlgorithm = 0;  // not used: every generated dive starts from the surface
  double gasReserve = 33.0;          // %
  double cylinderWorkingPressure = 240.0;  // bar
};

// One line of the "Import Settings" list.
struct SImportChoice {
  std::string label;        // "Dive %d - %s" or "Dive %d"
  std::string description;  // the dive's summary, or "Bailout Mode"
  int dive = 0;
  bool bailout = false;
};

// The settings file dialogs.
inline constexpr const char* kSettingsFileFilter = "Table Generation Settings Files (*.cct)|*.cct||";
inline constexpr const char* kSettingsFileExtension = "*.cct";
inline constexpr const char* kSettingsFileOpenTitle = "Select Table Generation Settings file to open";

class CTableGeneration {
public:
  // At most this many table depths and as many bottom times: a range that
  // gives more is refused by the validation instead of running for days.
  static constexpr int kMaxListEntries = 200;

  CTableGeneration();
  ~CTableGeneration();
  CTableGeneration(const CTableGeneration&) = delete;
  CTableGeneration& operator=(const CTableGeneration&) = delete;

  // The plan whose dives can be imported and whose plan-wide settings the
  // generated dives take (not owned). Without one they take those of
  // SetGroupSettings (a new plan's).
  void SetPlanGroup(const CPlanGroup* group) { m_group = group; }
  void SetGroupSettings(const STableGroupSettings& settings) { m_groupSettings = settings; }
  // What the run's calculations use (log level, first ascent; the 6-hour
  // question is the run's own), and the options of its printed tables.
  void SetCalculationSettings(const SCalculationSettings& settings) { m_calculationSettings = settings; }
  void SetReportOptions(const SReportOptions& options) { m_reportOptions = options; }

  // ---- Inputs ------------------------------------------------------------------
  // The inputs as the page shows them, in the display units.
  STableGenerationInputs Inputs() const;
  // Takes inputs as the page shows them. A value left as Inputs() gave it
  // keeps the metres the model holds, exactly.
  void SetInputs(const STableGenerationInputs& inputs);
  // The inputs as held, in metres.
  const STableGenerationInputs& MetricInputs() const { return m_inputs; }
  void SetMetricInputs(const STableGenerationInputs& inputs) { m_inputs = inputs; }
  const SDisplayUnits& Units() const { return m_units; }
  bool IsImperial() const { return m_units.imperial; }
  // The units of the page's fields and messages; the inputs keep their metres.
  void SetUnits(const SDisplayUnits& units);

  // ---- Gas switch schedules ------------------------------------------------------
  const CGasSwitchSchedule& DescentSchedule() const { return m_descent; }
  const CGasSwitchSchedule& AscentSchedule() const { return m_ascent; }
  // Both schedules as stored (the preferences): the entries in use, in depth order.
  void SetSchedules(const GasSwitchArray& descent, const GasSwitchArray& ascent);
  bool AddDescentSwitch(const CGasSwitch& gasSwitch);
  bool AddAscentSwitch(const CGasSwitch& gasSwitch);
  bool UpdateDescentSwitch(const CGasSwitch& gasSwitch, int index);
  bool UpdateAscentSwitch(const CGasSwitch& gasSwitch, int index);
  bool DeleteDescentSwitch(int index);
  bool DeleteAscentSwitch(int index);
  // Deletes the selected rows from the highest down; row 0 of the descent
  // schedule stays.
  void DeleteDescentSwitches(std::vector<int> rows);
  void DeleteAscentSwitches(std::vector<int> rows);
  // Replaces both schedules with the gas changes of a dive of the plan (its
  // user points, or its bailout points); false when the dive has none.
  bool ImportSwitchesFromDive(const CPlanGroup& group, int dive, bool fromBailoutProfile);

  // Quiet mode: no messages from the schedules and no refresh per change.
  bool IsQuiet() const { return m_quiet; }
  void SetQuiet(bool quiet);
  // Called after each change of a schedule, a settings file read or an
  // import, unless quiet: the page redraws its lists and validates again.
  void SetRefreshHandler(std::function<void()> handler) { m_refresh = std::move(handler); }

  // ---- Import from a dive of the plan ------------------------------------------------
  // One line per dive, and a second "Bailout Mode" line for a dive with a bailout plan.
  std::vector<SImportChoice> ImportChoices(const CPlanGroup& group) const;
  // Copies the dive's (or its bailout) surface pressure, gradient factors,
  // rates and last stop into the inputs and/or replaces the schedules.
  bool ImportFromDive(const CPlanGroup& group, int dive, bool bailout, bool importSettings,
                      bool importGasSwitches);

  // ---- Validation -------------------------------------------------------------------
  // Checks every input and every scheduled gas at every table depth; fills the
  // message list and the states. True when the run is allowed.
  bool Validate();
  int DepthState() const { return m_depthState; }
  int DurationState() const { return m_durationState; }
  int DescentState() const { return m_descentState; }
  // The state of a switch (kept in its tag): a warning, an error or both (3).
  int SwitchState(bool descent, int index) const;
  // The look of the "Generate Tables" button: error, warning or fine.
  int CombinedState() const;
  bool IsRunAllowed() const { return CombinedState() != kCheckError; }

  // The table depths in metres and the bottom times in minutes of the inputs.
  // A step of 0 or less gives the start value only; the finish is added when
  // the steps do not land on it. Empty when a list would be too long. A
  // depth within 1 mm of a scheduled switch is the switch's depth.
  std::vector<double> DepthList() const;
  std::vector<int> BottomTimeList() const;

  // ---- Messages ----------------------------------------------------------------------
  const std::vector<STableMessage>& Messages() const { return m_messages; }
  void AddMessage(const std::string& text, int state = kCheckFine);
  void ClearMessages() { m_messages.clear(); }

  // ---- The run -----------------------------------------------------------------------
  // Validates, then calculates every plan and builds the tables. Progress
  // and cancellation go through progress (polled between dives). False when
  // the run was not allowed or was cancelled; the reasons stand in the messages.
  bool Generate(IProgress* progress = nullptr);
  // Worker threads of a run: 0 uses every core, 1 calculates on the caller's
  // thread. Any count gives the same results.
  void SetThreadCount(int threads) { m_threads = threads; }

  const std::vector<double>& Depths() const { return m_depths; }      // m
  const std::vector<int>& BottomTimes() const { return m_bottomTimes; }  // min
  int PlanCount() const { return static_cast<int>(m_dives.size()); }
  // Index of a plan in the array: depth index x number of bottom times + bottom time index.
  int PlanIndex(int depthIndex, int timeIndex) const;
  const CDivePlan* Dive(int plan) const;
  EGeneratedDiveStatus Status(int plan) const;
  // A calculated dive that did not fail takes part in the tables.
  bool TakesPart(int plan) const { return Status(plan) == EGeneratedDiveStatus::Calculated; }
  // The 6-hour answer of the last run, when a plan needed one.
  std::optional<bool> ExtensionAnswer() const { return m_extensionAnswer; }

  // ---- Tables ------------------------------------------------------------------------
  // The last run as the tables see it: the dives that take part, and the
  // grouping chosen when it started.
  SGeneratedRun GeneratedRun() const;
  // Builds the tables of the last run into the page's writer and asks for the
  // viewer. Returns the number of tables.
  int CreateTables();
  const std::string& Document() const { return m_writer.GetDocument(); }
  int TableCount() const { return m_writer.GetTableCount(); }
  bool ShowViewerRequested() const { return m_showViewer; }
  void ClearShowViewer() { m_showViewer = false; }

  // ---- Settings files (".cct") ---------------------------------------------------------
  bool SaveSettingsFile(const std::string& path) const;
  // Reads a file only when every line of it can be applied as written (the
  // numbers whole, within the ranges of the page's fields, the file not cut
  // short); otherwise nothing changes.
  bool LoadSettingsFile(const std::string& path);
  // Why the last LoadSettingsFile failed ("line 3: key 011 (gradient factor
  // low): 900 is outside 0 to 100 %"), or empty.
  const std::string& FileError() const { return m_fileError; }
  // The page's open command after its file dialog: logs the user's choice,
  // then reads. (A save also remembers the folder in the preferences: the
  // front end's SaveTableGenerationSettingsAs.)
  bool OpenSettingsFile(const std::string& path);

private:
  // The inputs of a run in metres.
  struct SRunSettings {
    double surfacePressure = 0.0;  // mbar
    double gfLow = 0.0;
    double gfHigh = 0.0;
    double descentRate = 0.0;  // m/min
    double ascentRate = 0.0;
    double lastDecoStop = 0.0;  // m
    double maxPpo2 = 0.0;       // bar
    double maxEad = 0.0;        // m
  };
  void Refresh();
  bool AfterChange(bool changed);
  // A depth within 1 mm of a scheduled switch depth is that switch's depth.
  double OnSchedule(double depth) const;
  void SetScheduleTag(bool descent, int index, int tag);
  void CheckGases(double tableDepth, double depthOffset);
  void CheckGas(bool descent, int index, double top, double bottom, double depthOffset);
  SRunSettings RunSettings() const;
  std::unique_ptr<CDivePlan> MakeDive(const SRunSettings& run, double depth, int minutes);
  void CalculatePlan(int plan, std::optional<bool> answer);
  // The run's opening messages and log lines: the depths, times and settings
  // it plans with, in the page's units.
  void AnnounceRun(const SRunSettings& run);
  // Makes the run's dives, one per depth and bottom time, uncalculated.
  void CreatePlans(const SRunSettings& run);
  // Puts a plan back as it was made, uncalculated.
  void ResetPlan(int plan);
  // Calculates every plan of the run on the parallel loop; false when cancelled.
  bool CalculatePlans(IProgress* progress, int threads);
  // What a worker did with a plan before its turn came.
  enum class EPlanWork : unsigned char { Waiting, Calculated, Passed };
  // A worker's calculation of a plan ahead of its turn, with the run's answer
  // as known so far (-1 not yet, calculated as told no; 0 no; 1 yes); true
  // when the dive failed.
  bool CalculateAhead(int plan, int knownAnswer);
  // Takes a plan in its turn, as the sequential run meets it: what the skip
  // rule passes over is put back, what a worker passed over or calculated
  // without the run's answer is settled, then CommitPlan.
  void TakePlan(int plan, EPlanWork work, bool answered);
  // Applies the run's rules to a calculated plan, in plan order.
  void CommitPlan(int plan, bool calculated);
  bool SkippedByEarlierFailure(int plan) const;
  void RunMessage(int id, int state, double depth, int minutes);
  void LogRun(const std::string& text) const;
  void ReportProgress(IProgress* progress, int plan) const;

  const CPlanGroup* m_group = nullptr;
  STableGenerationInputs m_inputs;  // metres
  SDisplayUnits m_units;
  STableGroupSettings m_groupSettings;
  SReportOptions m_reportOptions;
  CGasSwitchSchedule m_descent{true};
  CGasSwitchSchedule m_ascent{false};
  bool m_quiet = false;
  std::function<void()> m_refresh;

  std::vector<STableMessage> m_messages;
  int m_depthState = kCheckFine;
  int m_durationState = kCheckFine;
  int m_descentState = kCheckFine;

  std::unique_ptr<IDiveOwner> m_owner;
  std::vector<double> m_depths;
  std::vector<int> m_bottomTimes;
  std::vector<std::unique_ptr<CDivePlan>> m_dives;
  std::vector<EGeneratedDiveStatus> m_status;
  int m_runGrouping = kGroupByDepth;
  SRunSettings m_runSettings;
  SCalculationSettings m_calculationSettings;
  int m_skipFrom = 0;  // bottom time index from which plans are skipped
  std::optional<bool> m_extensionAnswer;
  int m_threads = 0;

  CDivePlanTablesHtml m_writer;
  std::string m_fileError;
  bool m_showViewer = false;
};

}  // namespace kv
