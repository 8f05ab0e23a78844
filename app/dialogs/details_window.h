#pragma once
// "Details": the state of one second of one dive, from that second's
// prediction point: the values of the second (time, depth, ceilings, inspired
// gases, CNS, OTU, gradient factor, tissue pressures, gas and PPO2), the
// tissue chart of the 16 compartments against their surface limit under GF
// High, and the compartments' pressures in a table.

#include <QDialog>

namespace kv {
class CDivePlan;
class CPlanGroup;
}  // namespace kv
class QLabel;
class QTableWidget;

namespace kv::app {

class CBarGraph;
class CGraphWidget;

class CDetailsWindow final : public QDialog {
  Q_OBJECT
public:
  explicit CDetailsWindow(QWidget* parent = nullptr);

  // Shows second of dive (a second past the dive's last shows the last).
  void ShowSecond(const kv::CPlanGroup* plan, int dive, int second);
  // Shows the same second again (the dive was recalculated, or the units changed).
  void Reshow();
  void Retranslate();
  int Dive() const { return m_dive; }
  // The second asked for, and the second shown (the dive's last when asked past it; -1 when none).
  int Second() const { return m_second; }
  int ShownSecond() const { return m_shownSecond; }
  // The value shown beside a label of the list, for tests and the screen reader.
  QString ValueText(const QString& label) const;
  QTableWidget* Values() const { return m_values; }
  QTableWidget* Compartments() const { return m_table; }
  const CBarGraph& TissueChart() const;
  CGraphWidget* TissueChartWidget() const { return m_chart; }

private:
  void ShowCompartments(const kv::CDivePlan& d);
  void Clear();
  void FitValues();
  const kv::CPlanGroup* m_plan = nullptr;
  int m_dive = 0;
  int m_second = 0;
  int m_shownSecond = -1;
  QLabel* m_heading;
  QTableWidget* m_values;
  CGraphWidget* m_chart;
  QTableWidget* m_table;
};

}  // namespace kv::app
