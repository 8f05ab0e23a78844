#pragma once
// The dive page: the profile entry fields, the segment list with its editing
// commands, the dive and bailout settings pages it hosts, the profile chart
// with its bailout commands, and the dive's warnings and segments. The page
// is a view: every edit goes to the dive, which recalculates through its
// plan; Refresh shows the result after the plan reports DiveCalculated.

#include <QString>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "app/pages/setting_fields.h"
#include "base/units.h"

namespace kv {
class CDivePlan;
class CPlanGroup;
}  // namespace kv

class QAction;
class QCheckBox;
class QLabel;
class QMenu;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableView;

namespace kv::app {

class CDiveSegmentsModel;
class CGasComboCompletion;
class CGasEntryFields;
class CGasWarningsModel;
class CGraphWidget;
class CPlanPointsModel;
class CSettingsPage;
class CSpinField;
class CTabDivePlanBailoutGasList;
class CTabDivePlanBailoutSettings;
class CTabDivePlanDiveSettings;
class CXYLineGraph;

// Which list commands are offered for the highlighted row: in bailout mode
// Cut, Copy and Delete only on points done on bailout gas, and Paste only
// after a copy onto such a point; otherwise always, Paste after a copy.
// The worst-case bailout sweep plans a bailout from every this many seconds
// of closed-circuit time (and from every segment end).
inline constexpr int kWorstCaseStep = 60;

struct SListEditEnabling {
  bool cut = false;
  bool copy = false;
  bool paste = false;
  bool remove = false;
  bool operator==(const SListEditEnabling&) const = default;
};
SListEditEnabling ListEditEnabling(const CDivePlan* dive, int highlightedRow);

// Why a dive of the plan has no results although it should ("Not calculated:
// dive 3 before it could not be calculated."), shown across its chart; empty
// for a calculated dive, an empty one, or one not calculated yet.
QString NotCalculatedText(const CPlanGroup& plan, int dive);

class CTabDivePlan : public QWidget {
  Q_OBJECT
public:
  explicit CTabDivePlan(QWidget* parent = nullptr);
  ~CTabDivePlan() override;

  // Shows dive diveIndex of the plan; nullptr unbinds.
  void Bind(kv::CPlanGroup* plan, int diveIndex);
  int DiveIndex() const { return m_diveIndex; }
  // After DiveCalculated: the list, the chart, the warnings and the settings.
  void Refresh();
  void ShowFirstSheet();
  // Shows every text in the language now chosen.
  void Retranslate();
  // The highlighted row (DiveRowReset gives 999: none, new points go last).
  void SetSelectedRow(int row);
  int SelectedRow() const { return m_selectedRow; }
  void SetImperial(bool imperial);
  bool Imperial() const { return m_units.imperial; }
  // Re-reads the remembered gases of the gas entry fields from the preferences.
  void ReloadGasMixes();

  // ---- Commands (buttons, list menu, keys) --------------------------------------
  bool AddEntry();
  bool InsertEntry();
  bool UpdateEntry();
  void DeleteEntry();
  void CopyEntry();
  void CutEntry();
  void PasteEntry();
  SListEditEnabling EditEnabling() const;
  // The list's pop-up menu "Dive Plan List Pop" (the caller owns it).
  QMenu* CreateListMenu(QWidget* parent);

  // ---- Requests of the profile chart and the settings pages ------------------------
  void BailoutFromCursor(int second);
  void BailoutFromEndOfSegment(int second);
  void ReturnToDive();
  void ClearBailout();
  // A numeric field of the dive or bailout settings page, as the user left it.
  void ApplySetting(ESetting setting);
  void ApplySurfaceInterval(int seconds);
  void ApplyBailoutGasList();

  // ---- Parts, for the window and for tests ---------------------------------------
  CGasEntryFields& EntryFields() const { return *m_entry; }
  CSpinField* DepthField() const;
  CSpinField* DurationField() const { return m_duration; }
  QRadioButton* ClosedCircuitButton() const;
  QRadioButton* OpenCircuitButton() const;
  CGasComboCompletion* GasField() const;
  CSpinField* SetpointField() const;
  QLabel* Ppo2Display() const;
  QCheckBox* NoClearSurfaceBox() const { return m_ncs; }
  QLabel* DepthLabel() const { return m_depthLabel; }
  QPushButton* AddButton() const { return m_add; }
  QPushButton* InsertButton() const { return m_insert; }
  QPushButton* UpdateButton() const { return m_update; }
  QPushButton* DeleteButton() const { return m_delete; }
  QTableView* PointList() const { return m_list; }
  CPlanPointsModel* PointsModel() const { return m_points; }
  CGasWarningsModel* WarningsModel() const { return m_warnings; }
  CDiveSegmentsModel* SegmentsModel() const { return m_segments; }
  QTabWidget* SettingsTabs() const { return m_settingsTabs; }
  CTabDivePlanDiveSettings* DiveSettingsPage() const { return m_diveSettings; }
  CTabDivePlanBailoutSettings* BailoutSettingsPage() const { return m_bailoutSettings; }
  CTabDivePlanBailoutGasList* BailoutGasListPage() const { return m_gasList; }
  CGraphWidget* ChartWidget() const { return m_chart; }
  const CXYLineGraph& Chart() const;

signals:
  // A gas typed on this page joined the remembered gases (stored in the preferences).
  void gasListChanged();
  // The gas of the entry field changed (whole percentages).
  void gasChanged(int oxygen, int helium);
  // The chart's cursor shows this second of the dive (for the details window).
  void secondShown(int diveIndex, int second);
  // "Worst-case Bailout…" of the chart's pop-up menu: the window sweeps the dive.
  void worstCaseBailoutRequested(int diveIndex);
  // The user changed the dive through this page.
  void diveEdited(int diveIndex);

private:
  CDivePlan* Dive() const;
  // Runs edit on the dive for a change the user made on page (a bailout
  // page's only in bailout mode), then reports the dive edited; false when
  // nothing was applied.
  bool EditSettings(const CSettingsPage& page, bool bailout, const std::function<void(CDivePlan&)>& edit);
  void BuildEntryFields(QWidget* box);
  void LayOutEntryFields(QWidget* box);
  void ConnectEntryFields();
  void BuildList();
  void BuildSettings();
  void BuildChart();
  bool AddAt(bool insert);
  // Takes what is typed in the entry fields; false when the gas typed is not a gas.
  bool CommitFields();
  void StartBailout(int second, bool fromEndOfSegment);
  // A bailout command of the chart: shows the settings sheet, changes the dive.
  void ChangeBailout(int sheet, const std::function<void(CDivePlan&)>& change);
  void LoadFieldsFromRow(int row);
  void HighlightRow(int row);
  void UpdateEnabling();
  void UpdateGasListTab(bool show);
  void RefreshChart();
  void RetranslateTexts();
  void UpdateWarningsTabText();
  void TellOfListItemsLeftOut(const CDivePlan& dive);
  void Edited();

  kv::CPlanGroup* m_plan = nullptr;
  int m_diveIndex = -1;
  SDisplayUnits m_units;
  std::vector<std::string> m_toldLeftOut;  // the bailout gas list items last told as left out
  bool m_busy = false;
  bool m_restoringSelection = false;
  int m_selectedRow = -1;
  double m_lastSetpoint = 1.3;
  int m_lastDepth = 0;
  int m_lastDuration = 0;

  CGasEntryFields* m_entry = nullptr;  // depth, mode, gas, setpoint and PPO2
  QLabel* m_depthLabel = nullptr;
  QLabel* m_durationLabel = nullptr;
  QLabel* m_gasLabel = nullptr;
  CSpinField* m_duration = nullptr;
  QCheckBox* m_ncs = nullptr;
  QPushButton* m_add = nullptr;
  QPushButton* m_insert = nullptr;
  QPushButton* m_update = nullptr;
  QPushButton* m_delete = nullptr;
  QAction* m_cutAction = nullptr;
  QAction* m_copyAction = nullptr;
  QAction* m_pasteAction = nullptr;
  QAction* m_deleteAction = nullptr;
  QTableView* m_list = nullptr;
  CPlanPointsModel* m_points = nullptr;
  QTabWidget* m_settingsTabs = nullptr;
  CTabDivePlanDiveSettings* m_diveSettings = nullptr;
  CTabDivePlanBailoutSettings* m_bailoutSettings = nullptr;
  CTabDivePlanBailoutGasList* m_gasList = nullptr;
  // The scrolling sheets of the settings tabs that hold the three pages.
  QWidget* m_diveSheet = nullptr;
  QWidget* m_bailoutSheet = nullptr;
  QWidget* m_gasListSheet = nullptr;
  CGraphWidget* m_chart = nullptr;
  QTabWidget* m_results = nullptr;
  CGasWarningsModel* m_warnings = nullptr;
  CDiveSegmentsModel* m_segments = nullptr;
};

}  // namespace kv::app
