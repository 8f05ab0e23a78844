#include "report/dive_plan_table.h"

#include <algorithm>

#include "base/status_log.h"
#include "base/text.h"
#include "engine/plan_point.h"

namespace kv {

int RoundUpToMinute(int seconds) {
  int minutes = seconds / 60;
  if (seconds % 60 > 0) ++minutes;
  return minutes * 60;
}

std::string MinutesSeconds(int seconds) {
  seconds = std::max(seconds, 0);
  return Format("%d:%02d", seconds / 60, seconds % 60);
}

// ---- One row -------------------------------------------------------------------

CDivePlanTableSegment::CDivePlanTableSegment(double depth, bool noClearSurface, const std::string& gas,
                                             bool closedCircuit, double setpoint, int warningFlags, int kind)
    : m_depth(depth),
      m_setpoint(setpoint),
      m_closedCircuit(closedCircuit),
      m_noClearSurface(noClearSurface),
      m_gas(gas),
      m_kind(kind),
      m_warningFlags(warningFlags) {}

void CDivePlanTableSegment::SetColumn(int n, double key, int segmentTime, int runTime) {
  if (n < 0) return;
  const auto size = static_cast<std::size_t>(n) + 1;
  if (m_columnKeys.size() < size) {
    m_columnKeys.resize(size, 0.0);
    m_segmentTimes.resize(size, 0);
    m_runTimes.resize(size, 0);
  }
  m_columnKeys[static_cast<std::size_t>(n)] = key;
  m_segmentTimes[static_cast<std::size_t>(n)] = segmentTime;
  m_runTimes[static_cast<std::size_t>(n)] = runTime;
}

bool CDivePlanTableSegment::HasColumnKey(double key) const {
  return std::find(m_columnKeys.begin(), m_columnKeys.end(), key) != m_columnKeys.end();
}

int CDivePlanTableSegment::SegmentTime(int column) const {
  return column >= 0 && column < ColumnCount() ? m_segmentTimes[static_cast<std::size_t>(column)] : 0;
}

int CDivePlanTableSegment::RunTime(int column) const {
  return column >= 0 && column < ColumnCount() ? m_runTimes[static_cast<std::size_t>(column)] : 0;
}

double CDivePlanTableSegment::ColumnKey(int column) const {
  return column >= 0 && column < ColumnCount() ? m_columnKeys[static_cast<std::size_t>(column)] : 0.0;
}

// ---- Merging -------------------------------------------------------------------

void CDivePlanTable::Log(const char* text) const {
  StatusLog().LogAtLevelF(kLogProgress, "Table Consolidation - %s", text);
}

void CDivePlanTable::AddSegment(bool firstPlan, double depth, bool noClearSurface, const std::string& gas,
                                bool closedCircuit, double setpoint, int warningFlags, int kind, int column,
                                double columnKey, int segmentTime, int runTime) {
  // A new column, or going deeper, means the dive is still on its way down;
  // otherwise it is ascending. Rows of the way down stand before the deepest
  // row, those of the ascent after it.
  const bool descending = column != m_previousColumn || depth > m_previousDepth;
  m_previousColumn = column;
  m_previousDepth = depth;

  auto newRow = [&] {
    auto row = std::make_unique<CDivePlanTableSegment>(depth, noClearSurface, gas, closedCircuit, setpoint,
                                                       warningFlags, kind);
    row->SetColumn(column, columnKey, segmentTime, runTime);
    return row;
  };
  if (firstPlan) {
    m_rows.push_back(newRow());
    return;
  }

  const bool detailed = m_detailedFirstAscent;
  const int n = RowCount();
  int deepest = -1;
  int firstAscentRow = -1;
  int bottomRow = -1;
  double largest = 0.0;
  for (int i = 0; i < n; ++i) {
    const CDivePlanTableSegment& row = *m_rows[static_cast<std::size_t>(i)];
    if (row.m_depth >= largest) {
      deepest = i;
      largest = row.m_depth;
    }
    if (detailed && row.m_kind == kSegFirstAscent && firstAscentRow < 0) firstAscentRow = i;
    if (row.m_kind == kSegBottom && bottomRow < 0) bottomRow = i;
  }

  auto addColumn = [&](int i, const char* text) {
    CDivePlanTableSegment& row = *m_rows[static_cast<std::size_t>(i)];
    row.SetColumn(column, columnKey, segmentTime, runTime);
    row.m_warningFlags |= warningFlags;
    Log(text);
  };

  const bool firstAscentKind = detailed && kind == kSegFirstAscent;
  const bool bottomKind = kind == kSegBottom;
  if (firstAscentKind && firstAscentRow >= 0) {
    addColumn(firstAscentRow, "First Ascent - AddColumn");
    return;
  }
  if (bottomKind && bottomRow >= 0) {
    addColumn(bottomRow, "Bottom Depth - Add Column");
    return;
  }

  const int split = std::max(deepest, 0);
  // A first-ascent or bottom segment without its row goes straight to the
  // insertion below: matching it by depth would hide it in a stop row.
  if (!firstAscentKind && !bottomKind) {
    const int from = descending ? 0 : split;
    const int to = descending ? split : n;
    for (int i = from; i < to; ++i) {
      const CDivePlanTableSegment& row = *m_rows[static_cast<std::size_t>(i)];
      if (row.m_depth == depth && !row.HasColumnKey(columnKey)) {
        addColumn(i, "Segment Depth Found - Add Column");
        return;
      }
    }
  }

  int position;
  if (descending) {
    position = split;
    for (int i = 0; i < split; ++i) {
      if (m_rows[static_cast<std::size_t>(i)]->m_depth > depth) {
        position = i;
        break;
      }
    }
  } else {
    int from = deepest + 1;
    if (detailed && firstAscentRow >= 0) from = std::max(from, firstAscentRow + 1);
    position = n;
    for (int i = from; i < n; ++i) {
      if (m_rows[static_cast<std::size_t>(i)]->m_depth < depth) {
        position = i;
        break;
      }
    }
  }
  m_rows.insert(m_rows.begin() + position, newRow());
  Log("Depth Not Found - Insert Line");
}

// ---- Readers -------------------------------------------------------------------

int CDivePlanTable::MaxColumns() const {
  int most = 0;
  for (const auto& row : m_rows) most = std::max(most, row->ColumnCount());
  return most;
}

const CDivePlanTableSegment* CDivePlanTable::Row(int row) const {
  return row >= 0 && row < RowCount() ? m_rows[static_cast<std::size_t>(row)].get() : nullptr;
}

double CDivePlanTable::GetDepth(int row) const { return Row(row) ? Row(row)->m_depth : 0.0; }
double CDivePlanTable::GetSetpoint(int row) const { return Row(row) ? Row(row)->m_setpoint : 0.0; }
bool CDivePlanTable::GetClosedCircuit(int row) const { return Row(row) && Row(row)->m_closedCircuit; }
bool CDivePlanTable::GetNoClearSurface(int row) const { return Row(row) && Row(row)->m_noClearSurface; }
int CDivePlanTable::GetWarningFlags(int row) const { return Row(row) ? Row(row)->m_warningFlags : 0; }
int CDivePlanTable::GetKind(int row) const { return Row(row) ? Row(row)->m_kind : 0; }
bool CDivePlanTable::IsFirstAscent(int row) const { return Row(row) && Row(row)->m_kind == kSegFirstAscent; }
bool CDivePlanTable::IsBottom(int row) const { return Row(row) && Row(row)->m_kind == kSegBottom; }
bool CDivePlanTable::IsAscentToSurface(int row) const {
  return Row(row) && Row(row)->m_kind == kSegAscentToSurface;
}
std::string CDivePlanTable::GetGasText(int row) const { return Row(row) ? Row(row)->m_gas : std::string(); }
int CDivePlanTable::GetSegmentTime(int row, int column) const {
  return Row(row) ? Row(row)->SegmentTime(column) : 0;
}
int CDivePlanTable::GetRunTime(int row, int column) const { return Row(row) ? Row(row)->RunTime(column) : 0; }

std::string CDivePlanTable::GetRowText(int row) const {
  const CDivePlanTableSegment* r = Row(row);
  if (!r) return {};
  std::string text = r->m_gas + ",";
  text += Format("%0.2f,%d,%d,%0.0f,", r->m_setpoint, r->m_warningFlags, r->m_kind, r->m_depth);
  for (int c = 0; c < r->ColumnCount(); ++c) {
    const int segment = r->SegmentTime(c);
    const int run = r->RunTime(c);
    text += Format("%d:%02d,%d:%02d,", segment / 60, segment % 60, run / 60, run % 60);
  }
  return text;
}

}  // namespace kv
