#include "app/models/gas_schedule_model.h"

#include "app/models/check_state_icon.h"
#include "app/platform/qt_text.h"
#include "base/text.h"
#include "base/units.h"
#include "tablegen/table_generation.h"

namespace kv::app {

CGasScheduleModel::CGasScheduleModel(const CTableGeneration& generation, bool descent, QObject* parent)
    : QAbstractTableModel(parent), m_generation(generation), m_descent(descent) {
  Reload();
}

void CGasScheduleModel::Reload() {
  const CGasSwitchSchedule& schedule = m_descent ? m_generation.DescentSchedule() : m_generation.AscentSchedule();
  beginResetModel();
  m_imperial = m_generation.IsImperial();
  m_rows.clear();
  for (int i = 0; i < schedule.Count(); ++i) {
    const CGasSwitch& s = schedule.At(i);
    SRow row;
    row.texts[static_cast<int>(EColumn::Depth)] = ToQt(Format("%0.0f", m_generation.Units().Shown(s.m_depth)));
    row.texts[static_cast<int>(EColumn::GasMix)] = ToQt(s.GasName());
    row.texts[static_cast<int>(EColumn::Ppo2)] = s.m_closedCircuit ? ToQt(Format("%.2f", s.m_setpoint)) : Tr("OC");
    row.state = m_generation.SwitchState(m_descent, i);
    m_rows.push_back(row);
  }
  endResetModel();
}

void CGasScheduleModel::UpdateStates() {
  for (std::size_t i = 0; i < m_rows.size(); ++i) {
    const int state = m_generation.SwitchState(m_descent, static_cast<int>(i));
    if (state == m_rows[i].state) continue;
    m_rows[i].state = state;
    const QModelIndex cell = index(static_cast<int>(i), static_cast<int>(EColumn::Depth));
    emit dataChanged(cell, cell, {Qt::DecorationRole, Qt::UserRole});
  }
}

int CGasScheduleModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int CGasScheduleModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(EColumn::Count);
}

QVariant CGasScheduleModel::data(const QModelIndex& index, int role) const {
  if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) return {};
  const SRow& row = m_rows[static_cast<std::size_t>(index.row())];
  switch (role) {
    case Qt::DisplayRole: return row.texts[index.column()];
    case Qt::DecorationRole:
      if (index.column() == static_cast<int>(EColumn::Depth)) return CheckStateIcon(row.state);
      break;
    case Qt::UserRole:
      if (index.column() == static_cast<int>(EColumn::Depth)) return row.state;
      break;
    default: break;
  }
  return {};
}

QVariant CGasScheduleModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  switch (static_cast<EColumn>(section)) {
    case EColumn::Depth: return Tr(m_imperial ? "Depth (ft)" : "Depth (m)");
    case EColumn::GasMix: return Tr("Gas Mix");
    case EColumn::Ppo2: return Tr("PPO2");
    case EColumn::Count: break;
  }
  return {};
}

}  // namespace kv::app
