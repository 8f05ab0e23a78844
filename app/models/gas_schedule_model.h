#pragma once
// One gas switch schedule of the table generation (descent or ascent) as a
// table: depth in the display units, gas mix, and the setpoint or "OC". The
// first column carries the check state the validation gave each switch, as
// an icon and as Qt::UserRole. The model keeps a copy of the rows it shows,
// so a view never reads a schedule that changed before it was told.

#include <QAbstractTableModel>
#include <QString>
#include <vector>

namespace kv {
class CTableGeneration;
}

namespace kv::app {

class CGasScheduleModel final : public QAbstractTableModel {
  Q_OBJECT
public:
  enum class EColumn { Depth, GasMix, Ppo2, Count };

  CGasScheduleModel(const CTableGeneration& generation, bool descent, QObject* parent = nullptr);

  bool IsDescent() const { return m_descent; }
  // The schedule, its units or its length changed: reset from the generation.
  void Reload();
  // After a validation: takes the switches' states, with dataChanged.
  void UpdateStates();
  int State(int row) const { return m_rows[static_cast<std::size_t>(row)].state; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
  struct SRow {
    QString texts[static_cast<int>(EColumn::Count)];
    int state = 0;
  };

  const CTableGeneration& m_generation;
  bool m_descent;
  bool m_imperial = false;
  std::vector<SRow> m_rows;
};

}  // namespace kv::app
