#pragma once
// The printed tables of a table generation run: the generated dives merged
// into consolidated tables, either one table per depth (columns: the bottom
// times) or one per bottom time (columns: the depths of a run of dives that
// used the same number of gas switches). Each cell holds the segment time and
// run time of one row for one column, "-" where that dive has no such row.

#include <vector>

#include "report/table_builder.h"
#include "report/tables_html.h"

namespace kv {

class CDivePlan;

struct SGeneratedRun {
  std::vector<double> depths;   // m, ascending
  std::vector<int> bottomTimes;  // min, ascending
  // One per plan, indexed depth index x bottom times + time index; nullptr
  // for a dive that takes no part (skipped or failed).
  std::vector<const CDivePlan*> dives;
  int grouping = 0;  // 0 one depth per table, 1 one time per table
  // The dives were calculated with the detailed first ascent: its rows are
  // merged as rows of their own.
  bool detailedFirstAscent = false;
};

// The content of every table, in order: by depth, or by bottom time and
// then depth.
std::vector<DiveTableContent> GeneratedTableContents(const SGeneratedRun& run, const SReportOptions& options);

// Resets the writer, adds one table per group that has a dive taking part,
// and finishes the document. Returns the number of tables.
int BuildGeneratedTables(const SGeneratedRun& run, const SReportOptions& options, CDivePlanTablesHtml& writer);

}  // namespace kv
