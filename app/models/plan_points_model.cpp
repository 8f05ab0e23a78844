#include "app/models/plan_points_model.h"

#include <algorithm>
#include <cmath>

#include "base/text.h"
#include "base/units.h"
#include "engine/dive_plan.h"
#include "app/platform/qt_text.h"
#include "app/i18n/text_ids.h"
#include "base/strings.h"

namespace kv::app {

QString PointCellText(const CPlanPoint& p, CPlanPointsModel::EColumn column, int row, bool imperial,
                      bool minutesSeconds, double surfacePressure) {
  using C = CPlanPointsModel::EColumn;
  switch (column) {
    case C::Number: return ToQt(Format("%02d", row + 1));
    case C::Depth: {
      return ToQt(SDisplayUnits{imperial}.WholeDepthText(p.Depth()) + "     ");
    }
    case C::NoClearSurface: return p.m_noClearSurface ? Str(kTextNoClearSurface) : QString();
    case C::Duration:
      return ToQt(minutesSeconds ? Format("%d:%02d        ", p.m_duration / 60, p.m_duration % 60)
                                      : Format("%d        ", p.m_duration / 60));
    case C::Mode: return Str(p.m_closedCircuit ? kTextClosedCircuit : kTextOpenCircuit);
    case C::Gas:
      return Str(p.m_closedCircuit ? kTextDiluent : kMsgGasHeading) + QStringLiteral(" - ") + ToQt(GasName(p.m_oxygen, p.m_helium));
    case C::Ppo2: {
      CGas gas;
      const double ppo2 = p.m_closedCircuit ? p.m_setpoint
                          : gas.SetMix(p.m_oxygen, p.m_helium) ? OcPpo2(p.m_oxygen, p.Depth(), surfacePressure)
                                                                : 0.0;
      return ToQt(Format(" %.2f", ppo2));
    }
  }
  return {};
}

CPlanPointsModel::CPlanPointsModel(QObject* parent) : QAbstractTableModel(parent) { m_columns = ColumnsFor(); }

const std::vector<CPlanPoint>* CPlanPointsModel::Source() const {
  if (!m_dive) return nullptr;
  return m_dive->IsBailoutMode() ? &m_dive->BailoutPlanPoints() : &m_dive->UserPoints();
}

std::vector<CPlanPointsModel::EColumn> CPlanPointsModel::ColumnsFor() const {
  std::vector<EColumn> columns{EColumn::Number, EColumn::Depth};
  for (const CPlanPoint& p : m_points) {
    if (p.m_noClearSurface) {
      columns.push_back(EColumn::NoClearSurface);
      break;
    }
  }
  columns.insert(columns.end(), {EColumn::Duration, EColumn::Mode, EColumn::Gas, EColumn::Ppo2});
  return columns;
}

void CPlanPointsModel::UpdateColumns() {
  const std::vector<EColumn> wanted = ColumnsFor();
  if (wanted.size() > m_columns.size()) {
    beginInsertColumns({}, 2, 2);
    m_columns = wanted;
    endInsertColumns();
  } else if (wanted.size() < m_columns.size()) {
    beginRemoveColumns({}, 2, 2);
    m_columns = wanted;
    endRemoveColumns();
  }
  bool minutesSeconds = false;
  for (const CPlanPoint& p : m_points) minutesSeconds = minutesSeconds || p.m_duration % 60 != 0;
  if (minutesSeconds != m_minutesSeconds) {
    m_minutesSeconds = minutesSeconds;
    if (!m_points.empty()) {
      const int c = static_cast<int>(m_columns.size()) - 4;
      emit dataChanged(index(0, c), index(rowCount() - 1, c));
    }
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
  }
}

void CPlanPointsModel::SetDive(const CDivePlan* dive) {
  m_dive = dive;
  Reload();
}

void CPlanPointsModel::SetImperial(bool imperial) {
  if (imperial == m_imperial) return;
  m_imperial = imperial;
  if (!m_points.empty()) emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
  emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

void CPlanPointsModel::Reload() {
  beginResetModel();
  const auto* source = Source();
  m_points = source ? *source : std::vector<CPlanPoint>();
  m_columns = ColumnsFor();
  m_minutesSeconds = false;
  for (const CPlanPoint& p : m_points) m_minutesSeconds = m_minutesSeconds || p.m_duration % 60 != 0;
  endResetModel();
}

namespace {
bool SamePoint(const CPlanPoint& a, const CPlanPoint& b) {
  return a.m_depthPressure == b.m_depthPressure && a.m_setpoint == b.m_setpoint && a.m_oxygen == b.m_oxygen &&
         a.m_helium == b.m_helium && a.m_duration == b.m_duration && a.m_closedCircuit == b.m_closedCircuit &&
         a.m_noClearSurface == b.m_noClearSurface && a.m_bailout == b.m_bailout;
}
}  // namespace

void CPlanPointsModel::Sync() {
  const auto* source = Source();
  const std::vector<CPlanPoint> none;
  const std::vector<CPlanPoint>& now = source ? *source : none;
  if (!std::equal(now.begin(), now.end(), m_points.begin(), m_points.end(), SamePoint)) {
    Reload();
    return;
  }
  if (!m_points.empty()) emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

void CPlanPointsModel::PointInserted(int row) {
  const auto* source = Source();
  if (!source || row < 0 || row >= static_cast<int>(source->size()) ||
      source->size() != m_points.size() + 1) {
    Reload();
    return;
  }
  beginInsertRows({}, row, row);
  m_points.insert(m_points.begin() + row, (*source)[static_cast<std::size_t>(row)]);
  endInsertRows();
  // Every later row's number moved.
  if (row + 1 < rowCount()) emit dataChanged(index(row + 1, 0), index(rowCount() - 1, 0));
  UpdateColumns();
}

void CPlanPointsModel::PointRemoved(int row) {
  const auto* source = Source();
  if (!source || row < 0 || row >= static_cast<int>(m_points.size()) || source->size() + 1 != m_points.size()) {
    Reload();
    return;
  }
  beginRemoveRows({}, row, row);
  m_points.erase(m_points.begin() + row);
  endRemoveRows();
  if (row < rowCount()) emit dataChanged(index(row, 0), index(rowCount() - 1, 0));
  UpdateColumns();
}

void CPlanPointsModel::PointChanged(int row) {
  const auto* source = Source();
  if (!source || row < 0 || row >= static_cast<int>(m_points.size()) || source->size() != m_points.size()) {
    Reload();
    return;
  }
  m_points[static_cast<std::size_t>(row)] = (*source)[static_cast<std::size_t>(row)];
  emit dataChanged(index(row, 0), index(row, columnCount() - 1));
  UpdateColumns();
}

void CPlanPointsModel::SettingsChanged() {
  if (m_points.empty()) return;
  const int c = columnCount() - 1;
  emit dataChanged(index(0, c), index(rowCount() - 1, c));
}

QString CPlanPointsModel::CellText(int row, EColumn column) const {
  if (row < 0 || row >= rowCount()) return {};
  return PointCellText(m_points[static_cast<std::size_t>(row)], column, row, m_imperial, m_minutesSeconds,
                       m_dive ? m_dive->GetSurfacePressure() : 1000.0);
}

int CPlanPointsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(m_points.size());
}

int CPlanPointsModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QVariant CPlanPointsModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
  if (role == Qt::DisplayRole) return CellText(index.row(), ColumnKind(index.column()));
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
  return {};
}

QVariant CPlanPointsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
  switch (ColumnKind(section)) {
    case EColumn::Number: return Tr("No.");
    case EColumn::Depth: return Str(m_imperial ? kTextDepthFeet : kTextDepthMetres);
    case EColumn::NoClearSurface: return Str(kTextNoClearSurface);
    case EColumn::Duration: return m_minutesSeconds ? Tr("Duration (m:s)") : Tr("Duration (mins)");
    case EColumn::Mode: return Tr("Mode");
    case EColumn::Gas: return Str(kMsgGasHeading);
    case EColumn::Ppo2: return Str(kTextPpo2);
  }
  return {};
}

}  // namespace kv::app
