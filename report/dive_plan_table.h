#pragma once
// The consolidated table into which table generation merges many generated
// dives: one row per depth of the profile, one column per generated dive
// (a bottom time or a depth), each cell a segment time and a run time.

#include <memory>
#include <string>
#include <vector>

namespace kv {

// The next whole minute at or above a number of seconds, in seconds
// (121 -> 180, 120 -> 120, 0 -> 0, -61 -> -60).
int RoundUpToMinute(int seconds);
// Seconds as "m:ss" (125 -> "2:05"), the minutes-and-seconds time of the tables;
// a time before the start (no moment) reads "0:00".
std::string MinutesSeconds(int seconds);

// One row of a consolidated table.
class CDivePlanTableSegment {
public:
  CDivePlanTableSegment() = default;
  CDivePlanTableSegment(double depth, bool noClearSurface, const std::string& gas, bool closedCircuit,
                        double setpoint, int warningFlags, int kind);

  // Stores key and times at column n, first growing the three column arrays
  // with zero entries until n exists.
  void SetColumn(int n, double key, int segmentTime, int runTime);
  // True when some column's key equals key exactly.
  bool HasColumnKey(double key) const;
  int ColumnCount() const { return static_cast<int>(m_columnKeys.size()); }
  // 0 for a column past the end.
  int SegmentTime(int column) const;
  int RunTime(int column) const;
  double ColumnKey(int column) const;

  double m_depth = 0.0;  // m
  double m_setpoint = 0.0;
  bool m_closedCircuit = false;
  bool m_noClearSurface = false;
  std::string m_gas;
  int m_kind = 0;          // segment kind of the engine (1 travel ... 7 gas switch)
  int m_warningFlags = 0;  // OR of every segment merged into the row
  std::vector<int> m_segmentTimes;
  std::vector<int> m_runTimes;
  std::vector<double> m_columnKeys;
};

class CDivePlanTable {
public:
  // With the detailed first ascent ("General\First Ascent Option" 1) the
  // dives' first-ascent rows are merged into one row of their own.
  explicit CDivePlanTable(bool detailedFirstAscent = false) : m_detailedFirstAscent(detailedFirstAscent) {}
  CDivePlanTable(const CDivePlanTable&) = delete;
  CDivePlanTable& operator=(const CDivePlanTable&) = delete;

  // Merges one segment of one generated dive. firstPlan says that the dive
  // starts the table: its segments are appended as they come.
  void AddSegment(bool firstPlan, double depth, bool noClearSurface, const std::string& gas, bool closedCircuit,
                  double setpoint, int warningFlags, int kind, int column, double columnKey, int segmentTime,
                  int runTime);

  // Deletes the rows. The previous call's column and depth are kept, so the
  // first segment of the next table is compared with the last of this one.
  void Clear() { m_rows.clear(); }

  int RowCount() const { return static_cast<int>(m_rows.size()); }
  // The largest number of columns of any row.
  int MaxColumns() const;
  const CDivePlanTableSegment* Row(int row) const;

  // Readers by row: 0, false or an empty text past the end.
  double GetDepth(int row) const;
  double GetSetpoint(int row) const;
  bool GetClosedCircuit(int row) const;
  bool GetNoClearSurface(int row) const;
  int GetWarningFlags(int row) const;
  int GetKind(int row) const;
  bool IsFirstAscent(int row) const;
  bool IsBottom(int row) const;
  bool IsAscentToSurface(int row) const;
  std::string GetGasText(int row) const;
  int GetSegmentTime(int row, int column) const;
  int GetRunTime(int row, int column) const;

  // The row as one debug line: gas, setpoint, warning flags, kind, depth, then
  // segment time and run time of every column. Empty past the end.
  std::string GetRowText(int row) const;

private:
  void Log(const char* text) const;

  std::vector<std::unique_ptr<CDivePlanTableSegment>> m_rows;
  bool m_detailedFirstAscent = false;
  int m_previousColumn = -1;
  double m_previousDepth = -1.0;
};

}  // namespace kv
