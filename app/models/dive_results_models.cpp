#include "app/models/dive_results_models.h"

#include <QBrush>
#include <QColor>

#include "base/text.h"
#include "base/units.h"
#include "engine/dive_plan.h"
#include "report/table_builder.h"
#include "app/platform/qt_text.h"
#include "app/i18n/text_ids.h"
#include "base/strings.h"

namespace kv::app {
namespace {

QString MinutesSeconds(int seconds) { return ToQt(Format("%d:%02d", seconds / 60, seconds % 60)); }

}  // namespace

// ---- Segments ---------------------------------------------------------------------

CDiveSegmentsModel::CDiveSegmentsModel(QObject* parent) : QAbstractTableModel(parent) {}

void CDiveSegmentsModel::SetDive(const CDivePlan* dive) {
  m_dive = dive;
  Reload();
}

void CDiveSegmentsModel::SetImperial(bool imperial) {
  if (imperial == m_imperial) return;
  beginResetModel();
  m_imperial = imperial;
  endResetModel();
}

void CDiveSegmentsModel::Reload() {
  // The row count is copied so that the model's shape only changes inside the reset.
  beginResetModel();
  m_rows = m_dive ? m_dive->SegmentCount() : 0;
  endResetModel();
}

int CDiveSegmentsModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_rows; }
int CDiveSegmentsModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumnCount; }

QVariant CDiveSegmentsModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || !m_dive || index.row() >= m_rows || index.row() >= m_dive->SegmentCount()) return {};
  const CDiveSegment& s = m_dive->Segments()[static_cast<std::size_t>(index.row())];
  if (role == Qt::ForegroundRole && index.column() == kWarnings && s.m_warningFlags != 0) return QBrush(QColor(200, 0, 0));
  if (role != Qt::DisplayRole) return {};
  switch (index.column()) {
    case kDepth: return ToQt(SDisplayUnits{m_imperial}.WholeDepthText(s.m_depth));
    case kSegmentTime: return MinutesSeconds(s.m_duration);
    case kRunTime: return MinutesSeconds(s.m_end);
    case kMode: return Str(s.m_closedCircuit ? kTextClosedCircuit : kTextOpenCircuit) + (s.m_noClearSurface ? QLatin1Char(' ') + Str(kTextNoClearSurface) : QString());
    case kGas: return ToQt(GasName(s.m_oxygen, s.m_helium));
    case kPpo2: return ToQt(Format("%.2f", s.m_ppo2));
    case kWarnings: return ToQt(WarningsText(s.m_warningFlags));
  }
  return {};
}

QVariant CDiveSegmentsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
  switch (section) {
    case kDepth: return Str(m_imperial ? kTextListDepthFeet : kTextListDepthMetres);
    case kSegmentTime: return Str(kTextSegmentTime);
    case kRunTime: return Str(kTextRunTime);
    case kMode: return Tr("Mode");
    case kGas: return Str(kMsgGasHeading);
    case kPpo2: return Str(kTextListPpo2);
    case kWarnings: return Str(kMsgWarningsHeading);
  }
  return {};
}

// ---- Gas warnings ------------------------------------------------------------------

CGasWarningsModel::CGasWarningsModel(QObject* parent) : QAbstractTableModel(parent) {}

void CGasWarningsModel::SetDive(const CDivePlan* dive) {
  m_dive = dive;
  Reload();
}

void CGasWarningsModel::Reload() {
  beginResetModel();
  m_exposure = m_dive ? ExposureWarnings(*m_dive) : std::vector<SExposureWarning>();
  m_rows = (m_dive ? static_cast<int>(m_dive->GasWarnings().size()) : 0) + static_cast<int>(m_exposure.size());
  endResetModel();
}

int CGasWarningsModel::GasRows() const { return m_rows - static_cast<int>(m_exposure.size()); }

int CGasWarningsModel::WarningCount() const {
  int count = static_cast<int>(m_exposure.size());
  for (int i = 0; m_dive && i < GasRows(); ++i) {
    const CDiveGasWarning& w = m_dive->GasWarnings()[static_cast<std::size_t>(i)];
    if (!w.m_icd.empty() || !w.m_ead.empty() || !w.m_highO2.empty() || !w.m_lowO2.empty()) ++count;
  }
  return count;
}

int CGasWarningsModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_rows; }
int CGasWarningsModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumnCount; }

QVariant CGasWarningsModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || !m_dive || index.row() >= m_rows) return {};
  if (role == Qt::ForegroundRole && index.column() != kGas) return QBrush(QColor(200, 0, 0));
  // A narrow list cuts long warnings: the tip shows the whole text.
  if (role == Qt::ToolTipRole) role = Qt::DisplayRole;
  if (role != Qt::DisplayRole) return {};
  if (index.row() >= GasRows()) {
    // Oxygen exposure is a high-oxygen warning of the whole dive, not of one gas.
    const SExposureWarning& e = m_exposure[static_cast<std::size_t>(index.row() - GasRows())];
    if (index.column() == kGas) return Str(e.flag == kWarnCns ? kTextCns : kTextOtu);
    if (index.column() == kHighO2) return ExposureWarningText(e);
    return {};
  }
  if (index.row() >= static_cast<int>(m_dive->GasWarnings().size())) return {};
  const CDiveGasWarning& w = m_dive->GasWarnings()[static_cast<std::size_t>(index.row())];
  switch (index.column()) {
    case kGas: return ToQt(w.m_gas.Format(false));
    case kIcd: return ToQt(w.m_icd);
    case kEad: return ToQt(w.m_ead);
    case kHighO2: return ToQt(w.m_highO2);
    case kLowO2: return ToQt(w.m_lowO2);
  }
  return {};
}

QVariant CGasWarningsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
  switch (section) {
    case kGas: return Str(kMsgGasHeading);
    case kIcd: return Tr("ICD");
    case kEad: return Str(kTextEad);
    case kHighO2: return Tr("High O2");
    case kLowO2: return Tr("Low O2");
  }
  return {};
}

}  // namespace kv::app
