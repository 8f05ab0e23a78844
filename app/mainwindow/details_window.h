#pragma once
// "Details": the state of one second of one dive, from that second's
// prediction point: depth, ceilings, inspired gases, CNS, OTU, gradient
// factor and the 16 compartments with their share of the surface limit.

#include <QDialog>

namespace kv {
class CPlanGroup;
}
class QLabel;
class QTableWidget;

class CDetailsWindow final : public QDialog {
  Q_OBJECT
public:
  explicit CDetailsWindow(QWidget* parent = nullptr);

  // Shows second of dive (a second past the dive's last shows the last).
  void ShowSecond(const kv::CPlanGroup* plan, int dive, int second);
  void Retranslate();
  int Dive() const { return m_dive; }
  int Second() const { return m_second; }
  // The label texts and values shown now, for tests and the screen reader.
  QString ValueText(const char* label) const;
  QTableWidget* Compartments() const { return m_table; }

private:
  void Clear();
  const kv::CPlanGroup* m_plan = nullptr;
  int m_dive = 0;
  int m_second = 0;
  QLabel* m_heading;
  QTableWidget* m_values;
  QTableWidget* m_table;
};
