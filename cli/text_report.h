#pragma once
// The plain-text dive table that kvplan prints for each dive: a heading with
// the dive, its duration, depth, gradient factors and oxygen exposure, then
// the rows of the printed dive table (report/) in the same order, as plain
// text, the gas warnings and the open-circuit gas needed.

#include <string>

#include "report/table_builder.h"

namespace kv {

class CPlanGroup;
struct SLostGasVariant;

std::string DiveTableText(const CPlanGroup& group, int index, const SReportOptions& options);
// The table of a lost-gas variant of dive index, as that dive's, under the
// line "If <gas> is lost"; for a variant that cannot be completed, why.
std::string LostGasTableText(const CPlanGroup& group, int index, const SLostGasVariant& variant,
                             const SReportOptions& options);

// A cell of the printed tables as plain text: line breaks become blanks,
// "&nbsp" nothing, entities their characters, other tags are dropped.
std::string PlainText(const std::string& html);

}  // namespace kv
