#pragma once
// The page of one dive in the main window's tab strip.

#include <QWidget>

namespace kv {
class CPlanGroup;
}
class QTreeWidget;
class QLabel;

namespace kv::app {

class CTabDivePlan : public QWidget {
  Q_OBJECT
public:
  explicit CTabDivePlan(QWidget* parent = nullptr);

  // Shows dive diveIndex of plan; nullptr unbinds.
  void Bind(kv::CPlanGroup* plan, int diveIndex);
  int DiveIndex() const { return m_diveIndex; }
  // After DiveCalculated: list, chart, warnings.
  void Refresh();
  void ShowFirstSheet();
  // DiveRowReset: the highlighted profile row (999 for none).
  void SetSelectedRow(int row);
  int SelectedRow() const { return m_selectedRow; }
  void SetImperial(bool imperial);
  // Re-reads the remembered gases of the gas entry fields from the preferences.
  void ReloadGasMixes() {}

Q_SIGNALS:
  void gasListChanged();
  void secondShown(int diveIndex, int second);
  void diveEdited(int diveIndex);

private:
  kv::CPlanGroup* m_plan = nullptr;
  int m_diveIndex = -1;
  int m_selectedRow = -1;
  bool m_imperial = false;
  QTreeWidget* m_points;
  QTreeWidget* m_segments;
  QLabel* m_status;
};

}  // namespace kv::app
