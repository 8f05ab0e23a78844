#pragma once
// One plan: up to 30 dives done one after another, the four plan-wide
// settings, the plan's file and modified state, and the chained calculation
// that hands each dive the tissue, CNS and OTU state its predecessor left.

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/progress.h"
#include "engine/dive_owner.h"
#include "engine/dive_plan.h"
#include "gas/gas_switch.h"
#include "plan/plan_notifications.h"

namespace kv {

// The settings of a dive that the table generation settings file takes over.
struct SPlanDiveSettings {
  double surfacePressure = 0.0;
  double gfLow = 0.0;
  double gfHigh = 0.0;
  double descentRate = 0.0;
  double ascentRate = 0.0;
  double lastDecoStop = 0.0;
};

// What a new plan and each new dive take from the user's preferences. The
// front end reads the preferences; a group without any uses the built-in
// defaults, which are the preferences' own.
struct SPlanDefaults {
  int surfaceIntervalAlgorithm = 0;        // 1 Buhlmann, 0 delayed surface desaturation
  int algorithm = 1;                       // ZH-L16C
  double cylinderWorkingPressure = 240.0;  // bar
  double gasReserve = 33.0;                // %
  SDiveDefaults dive;
};

class CPlanGroup final : public IDiveOwner {
public:
  static constexpr int kMaxDives = 30;
  static constexpr int kResetRow = 999;
  static constexpr int kMaxGasSwitchEntries = 60;

  // Plans the bailout of a dive in bailout mode (rebuilds its bailout points,
  // chooses gases, recalculates it as often as it needs, each time from the
  // state its own calculation starts from); true when planned within every
  // limit. A new group plans with the bailout layer's planner.
  using BailoutDriver = std::function<bool(CDivePlan&, const SPreviousDiveState& start)>;

  CPlanGroup();
  ~CPlanGroup() override;
  CPlanGroup(const CPlanGroup&) = delete;
  CPlanGroup& operator=(const CPlanGroup&) = delete;

  // ---- Notifications ---------------------------------------------------------
  // Without a sink notifications are dropped.
  void SetSink(IPlanGroupSink* sink);
  // Hands every queued notification to the sink, in the order sent, including
  // those that the sink's own reactions send meanwhile. Returns the number delivered.
  int DeliverNotifications();
  bool HasPendingNotifications() const { return !m_pending.empty(); }
  void PostDiveRowReset(int dive) override;

  void SetBailoutDriver(BailoutDriver driver) { m_bailoutDriver = std::move(driver); }

  // ---- Plan-wide settings (IDiveOwner) ---------------------------------------
  int GetAlgorithm() const override { return m_algorithm; }
  int GetSurfaceIntervalAlgorithm() const override { return m_surfaceIntervalAlgorithm; }
  double GetGasReserve() const override { return m_gasReserve; }
  double GetCylinderWorkingPressure() const override { return m_cylinderWorkingPressure; }
  void SetAlgorithm(int v) { m_algorithm = v; }
  void SetSurfaceIntervalAlgorithm(int v) { m_surfaceIntervalAlgorithm = v; }
  void SetGasReserve(double v) { m_gasReserve = v; }
  void SetCylinderWorkingPressure(double v) { m_cylinderWorkingPressure = v; }
  bool IsAutoRecalc() const { return m_autoRecalc; }
  void SetAutoRecalc(bool on) { m_autoRecalc = on; }
  bool IsRecalculationRequired() const { return m_recalculationRequired; }
  bool IsUpdateInProgress() const { return m_updateInProgress; }
  bool IsLoadInProgress() const { return m_loadInProgress; }
  // The settings every calculation of the plan's dives uses (log level,
  // first ascent, units, the 6-hour answer), as the front end took them.
  void SetCalculationSettings(const SCalculationSettings& settings) { m_calculationSettings = settings; }
  SCalculationSettings GetCalculationSettings() const override { return m_calculationSettings; }

  // ---- Dives -------------------------------------------------------------------
  int GetDiveCount() const { return static_cast<int>(m_dives.size()); }
  CDivePlan* GetDive(int index);
  const CDivePlan* GetDive(int index) const;
  bool AddDivePlan();
  void DeleteDivePlan(int index);
  // order[j] is the old index of the dive that goes to position j. False (and
  // nothing changed) unless order holds every old index exactly once.
  bool SortDivePlans(const std::vector<int>& order);
  bool SetDiveName(int index, const std::string& name);
  std::string GetDiveName(int index) const;
  std::string GetDiveSummary(int index) const;
  bool IsBailoutMode(int index) const;
  bool GetDiveSettings(int index, bool bailout, SPlanDiveSettings& settings) const;
  bool GetDiveGasSwitches(int index, std::vector<CGasSwitch>& switches, bool bailout) const;
  const std::string& GetFilePath() const { return m_filePath; }
  void SetFilePath(const std::string& path) { m_filePath = path; }

  // ---- Calculation -----------------------------------------------------------
  bool CalculateDivePlan(int index, bool force) override;
  bool BailoutPlan(int index, bool force) override;
  bool Recalculate(int index);
  // Recalculates, from dive 0 up to the last dive (checkAll) or lastIndex,
  // every dive that is out of date (or every dive when force or a deferred
  // request says so). Progress counts the dives; cancellation is checked
  // before each dive's calculation. A cancelled pass returns false: the dives
  // it calculated keep their results, those from the one it stopped before up
  // to the last asked for lose theirs (as after a failure, with a
  // DiveCalculated notification each), and the plan stays "recalculation
  // required". Otherwise true, also when a dive failed: the dives before it
  // keep their results, it and every dive after it lose theirs (see
  // plan/dive_status.h for why each one has none).
  bool CalculateDivePlans(bool checkAll, int lastIndex, bool force, IProgress* progress = nullptr);
  // The state dive index starts from; false when a dive involved is missing.
  bool PreviousState(int index, SPreviousDiveState& state) const;

  // ---- Modified state and lifecycle --------------------------------------------
  bool IsModified() const { return m_modified; }
  void SetModified(bool modified);
  void CheckModified();
  void ClearModified();
  void ClearPlanGroup();
  void ResetPlanGroup();
  // Gives the plan its plan-wide defaults and every dive its dive and
  // bailout defaults, and keeps them for the dives added later.
  void ApplyDefaults(const SPlanDefaults& defaults);
  // Keeps defaults for the dives added from now on; the plan and its dives
  // keep their settings (the user changed the preferences).
  void SetDefaultsForNewDives(const SPlanDefaults& defaults) { m_defaults = defaults; }

  void DiveModifiedChanged(int dive, bool modified) override;
  void PostDiveCalculated(int dive) override;

  // ---- Files (plan_files.cpp) ---------------------------------------------------
  bool SavePlanGroup(const std::string& path);
  bool LoadPlanGroup(const std::string& path);
  bool ExportDive(const std::string& path, int index);
  bool ImportDive(const std::string& path);
  // Why the last load or import failed, for the user: "line 23: key 022
  // (gradient factor low): 900.00 is outside 0 to 100 %", "no such file".
  // Empty after one that succeeded.
  const std::string& GetFileError() const { return m_fileError; }

private:
  void Post(const SPlanNotification& notification);
  std::unique_ptr<CDivePlan> NewDive(int index);
  void RenumberDives();
  void ClearAllResults();
  // A dive after one whose last calculation failed is not calculated: its
  // results are cleared and reported. True when that is so.
  bool NotCalculable(int index);
  bool CalculateOne(int index, const SPreviousDiveState& previous, const SCalculationSettings& settings);
  bool UpToDate(int index) const;
  // Records a request without force that waits for the "Calculate" command
  // (auto recalc off, or a file being read); true when it does.
  bool Deferred(int index, bool force);
  // Load and import share the reading of dive sections; see plan_files.cpp.
  enum class EReadMode { Plan, Dive };
  bool ReadFile(const std::string& path, EReadMode mode);
  // Reads path and checks the whole file. On a problem the user is told, the
  // reason is kept as the file error and what failed is returned for the
  // log; nullptr when the lines are good.
  const char* ReadCheckedLines(const std::string& path, bool plan, std::vector<std::string>& lines);
  // Applies the checked lines after the header: the plan-wide keys (plan
  // files only), each dive section to a dive of its own (the first to dive
  // 1), a dive file's keys to current. False, with the file error and the
  // plan cleared, when a plan file holds more dives than a plan may.
  bool ApplyFileLines(const std::vector<std::string>& lines, bool plan, CDivePlan* current);

  struct SDiveEntry {
    std::unique_ptr<CDivePlan> dive;
    // When this group last calculated the dive, as a count of calculations.
    // Time stamps have whole-second resolution; two calculations within one
    // second are told apart by this order (see UpToDate).
    std::uint64_t calculationOrder = 0;
  };
  std::vector<SDiveEntry> m_dives;
  int m_surfaceIntervalAlgorithm = 0;
  int m_algorithm = 1;
  // The preferences' defaults rather than 0 until ApplyDefaults or a file
  // sets them: a plan of 0 bar cylinders and no reserve would size nothing,
  // and could not be read back once saved.
  double m_cylinderWorkingPressure = 240.0;
  double m_gasReserve = 33.0;
  std::string m_filePath;
  std::string m_fileError;
  bool m_modified = false;
  bool m_autoRecalc = false;
  bool m_updateInProgress = true;
  bool m_recalculationRequired = false;
  bool m_loadInProgress = true;

  std::uint64_t m_calculationCounter = 0;
  SPlanDefaults m_defaults;
  SCalculationSettings m_calculationSettings;

  IPlanGroupSink* m_sink = nullptr;
  std::deque<SPlanNotification> m_pending;
  bool m_delivering = false;
  BailoutDriver m_bailoutDriver;
};

}  // namespace kv
