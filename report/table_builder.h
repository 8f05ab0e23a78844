#pragma once
// Building the printed tables of a plan's calculated dives: the content of one
// dive's dive table or gas consumption table, and the builders that choose the
// dives and fill a writer. The desktop program and kvplan call the same code.

#include <string>
#include <vector>

#include "base/units.h"
#include "report/dive_table_content.h"
#include "report/tables_html.h"

namespace kv {

class CDivePlan;

// What a report takes from the user's preferences; the front end reads them
// once per report.
struct SReportOptions {
  SDisplayUnits units;             // "Units"
  bool runTimeAscending = true;    // "Printing Direction" 1: the last segment at the top
  bool minutesAndSeconds = false;  // "Time Units" 1
  std::string diverName;           // "Diver ID"
};

// The home page in the footer of the dive-table document.
inline constexpr const char* kMakerHomePage = "https://www.kestrun.example/";

// The program version as printed: every "," turned into "." and blanks removed.
std::string ProgramVersionText();
// "<b>Created <date> by <diver><br>Kestrun Varnadel (Version <version>)</b>",
// with "&", "<" and ">" of the diver's name written as HTML entities.
std::string TableFooterText(const std::string& diverName);

// Whether a dive gets a dive table when asked for by itself: it exists, has
// segments, and its last calculation completed without hitting a time limit.
bool DiveQualifiesForTable(const CDivePlan* dive);
// Whether a dive gets a gas consumption table: it breathed open-circuit gas.
bool DiveQualifiesForGasTable(const CDivePlan* dive);

// The table of dives[index]; dives are the plan's dives in plan order.
DiveTableContent BuildDiveTableContent(const std::vector<const CDivePlan*>& dives, int index,
                                       const SReportOptions& options);
DiveTableContent BuildGasUsageTableContent(const std::vector<const CDivePlan*>& dives, int index,
                                           const SReportOptions& options);

// Gives a dive-table writer the desktop program's title, author, link and colours.
void InitialiseDiveTablesWriter(CDivePlanTablesHtml& writer);

// The dives that get a table when dives[index], or every dive for index -1,
// is asked for, in plan order; none when no dive qualifies.
std::vector<int> ChooseDiveTables(const std::vector<const CDivePlan*>& dives, int index);
std::vector<int> ChooseGasUsageTables(const std::vector<const CDivePlan*>& dives, int index);

// Builds the tables of dives[index], or of every dive for index -1, into the
// writer (reset first, finished last). When no dive qualifies nothing is
// built, the writer keeps its previous document, and the result is false.
bool BuildDiveTables(const std::vector<const CDivePlan*>& dives, int index, const SReportOptions& options,
                     CDivePlanTablesHtml& writer);
bool BuildGasUsageTables(const std::vector<const CDivePlan*>& dives, int index, const SReportOptions& options,
                         CGasConsumptionTablesHtml& writer);

// The names of a segment's gas warning flags, joined by ", " (ICD, EAD, high, low O2).
std::string WarningsText(int flags);

// The warning lines of a table: the "Gas~Warnings" heading and one line per
// gas warning record of the dive; none when the dive has no record.
void AddGasWarningLines(const CDivePlan& dive, DiveTableContent& content);

}  // namespace kv
