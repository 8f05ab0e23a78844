#pragma once
// kvplan's "bailout" command (AddBailoutCommand, cli/kvplan_command.h): the
// bailout of one dive planned from a second or from the end of the segment
// that holds it, or swept over every moment of the dive; and what
// "calc --bailout" does with the bailout plans a file keeps.

#include <ostream>
#include <string>

#include "report/table_builder.h"

namespace kv {

class CDivePlan;
class CPlanGroup;

// The lines printed above a bailout dive's table, in the units of options:
// the bailout second, depth, gradient factors, SAC and validity, and for a
// valid plan the switches and the bailout gas volumes with and without the
// reserve and their cylinders. A plan that is not valid gives no gases.
std::string BailoutSummaryText(const CPlanGroup& group, const CDivePlan& dive, const SReportOptions& options);

// Every calculated dive whose file keeps a valid bailout plan enters bailout
// mode and is re-planned from its bailout second, in plan order, each later
// dive recalculated from the end its predecessor now has. A saved bailout
// that no longer plans within its limits is said on err; false then.
bool ReplanSavedBailouts(CPlanGroup& group, std::ostream& err);

}  // namespace kv
