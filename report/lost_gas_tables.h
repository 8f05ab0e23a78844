#pragma once
// The printed tables of the lost-gas variants (plan/lost_gas.h): each
// variant's dive table and gas table, built as its dive's tables are and
// headed with the gas lost, placed after the tables of its dive. A variant
// that cannot be completed gets a table that says so and why, never an
// empty one.

#include <string>
#include <vector>

#include "plan/lost_gas.h"
#include "report/table_builder.h"

namespace kv {

// "If 50% Nitrox is lost".
std::string LostGasTitle(const CGas& gas);
// Why a variant could not be completed: the run time limit that stopped it.
std::string LostGasFailureText(const CDivePlan& variant);

// The table that dives[index] would have with the variant in its place (the
// same dive number, surface interval and starting CNS and OTU), the title
// followed by the gas lost.
DiveTableContent BuildLostGasTableContent(const std::vector<const CDivePlan*>& dives, int index,
                                          const SLostGasVariant& variant, const SReportOptions& options);
DiveTableContent BuildLostGasUsageTableContent(const std::vector<const CDivePlan*>& dives, int index,
                                               const SLostGasVariant& variant, const SReportOptions& options);

// The tables BuildDiveTables (BuildGasUsageTables) builds, each dive's
// followed by those of its variants in the order of its switches. A variant
// that breathes no open-circuit gas has no gas table. False, with the writer
// unchanged, when no dive qualifies.
bool BuildDiveTablesWithLostGas(const std::vector<const CDivePlan*>& dives, int index,
                                const CLostGasVariants& variants, const SReportOptions& options,
                                CDivePlanTablesHtml& writer);
bool BuildGasUsageTablesWithLostGas(const std::vector<const CDivePlan*>& dives, int index,
                                    const CLostGasVariants& variants, const SReportOptions& options,
                                    CGasConsumptionTablesHtml& writer);

// The desktop program's "Lost-Gas Tables" of dives[index] as one document:
// the dive's table and gas table, then each variant's table and gas table
// (one table for a variant that cannot be completed). False, with the writer
// unchanged, when the dive does not qualify for a table.
bool BuildLostGasTables(const std::vector<const CDivePlan*>& dives, int index, const CLostGasVariants& variants,
                        const SReportOptions& options, CDivePlanTablesHtml& writer);

}  // namespace kv
