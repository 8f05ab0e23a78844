#pragma once
// The segment list of a dive page: the dive's user points, or its bailout
// plan points in bailout mode. The model keeps a copy of the rows it shows and
// is told of each edit, so views get row-level inserts and removes; a rebuilt
// list (bailout re-planning, another dive) resets it.

#include <QAbstractTableModel>
#include <vector>

#include "engine/plan_point.h"

namespace kv {
class CDivePlan;
}

namespace kv::app {

class CPlanPointsModel : public QAbstractTableModel {
  Q_OBJECT
public:
  enum class EColumn { Number, Depth, NoClearSurface, Duration, Mode, Gas, Ppo2 };

  explicit CPlanPointsModel(QObject* parent = nullptr);

  // The dive whose points are shown (nullptr shows none); resets.
  void SetDive(const CDivePlan* dive);
  void SetImperial(bool imperial);
  // The dive's list changed in one row; the copy follows with row signals.
  void PointInserted(int row);
  void PointRemoved(int row);
  void PointChanged(int row);
  // The list was rebuilt or the mode changed: reset from the dive.
  void Reload();
  // After a calculation: resets only when the dive's list differs from the
  // copy (bailout re-planning rebuilt it, another mode), else refreshes texts.
  void Sync();
  // Texts that depend on the dive's settings (the open-circuit PPO2) changed.
  void SettingsChanged();

  const std::vector<CPlanPoint>& Points() const { return m_points; }
  EColumn ColumnKind(int column) const { return m_columns[static_cast<std::size_t>(column)]; }
  // Cell text as the list shows it.
  QString CellText(int row, EColumn column) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
  const std::vector<CPlanPoint>* Source() const;
  // Brings the columns (the "NCS" column, the duration format) in line with
  // the rows, with column signals.
  void UpdateColumns();
  std::vector<EColumn> ColumnsFor() const;

  const CDivePlan* m_dive = nullptr;
  std::vector<CPlanPoint> m_points;
  std::vector<EColumn> m_columns;
  bool m_imperial = false;
  bool m_minutesSeconds = false;
};

// The texts of one point in the list: "%02d" row number, depth "%.0f     "
// (feet rounded to the nearest foot), duration "%d:%02d        " or
// "%d        ", "CC"/"OC", "Dil - "/"Gas - " and the gas name, PPO2 " %.2f"
// (the setpoint, or on open circuit the gas at the depth and surface pressure).
QString PointCellText(const CPlanPoint& point, CPlanPointsModel::EColumn column, int row, bool imperial,
                      bool minutesSeconds, double surfacePressure);

}  // namespace kv::app
