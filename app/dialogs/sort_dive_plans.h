#pragma once
// "Sort Dive Plans": the dives with their summaries; the selected row moves
// one place up or down at a time.

#include <QDialog>

#include <vector>

class QTreeWidget;

namespace kv::app {

class CSortDivePlans final : public QDialog {
  Q_OBJECT
public:
  struct SRow {
    QString dive;     // the tab text
    QString summary;  // CPlanGroup::GetDiveSummary
  };
  CSortDivePlans(const std::vector<SRow>& rows, QWidget* parent = nullptr);

  // Entry j is the old index of the dive now at position j.
  const std::vector<int>& Order() const { return m_order; }
  bool Moved() const;
  void MoveSelected(int step);
  int SelectedRow() const;
  void SelectRow(int row);
  QTreeWidget* List() const { return m_list; }

private:
  void Fill(int selected);

  std::vector<SRow> m_rows;
  std::vector<int> m_order;
  QTreeWidget* m_list;
};

}  // namespace kv::app
