#pragma once
// kvplan's --tables and --gas-tables: the printed tables of the report layer,
// written as ISO-8859-1 HTML files.

#include <ostream>
#include <string>
#include <vector>

namespace kv {

class CLostGasVariants;
class CPlanGroup;
struct SReportOptions;

// Writes the dive tables (or, with gasTables, the gas consumption tables) of
// the chosen dives to path, with the run's report options. dives holds every dive of the group, or the one
// dive of --dive. When no dive qualifies nothing is written and err says so;
// that is not a failure of the file. False only when the file cannot be written.
// With lostGas every dive's tables are followed by its variants' tables.
bool WriteHtmlTables(const CPlanGroup& group, const std::vector<int>& dives, const std::string& path,
                     bool gasTables, const SReportOptions& options, std::ostream& err,
                     const CLostGasVariants* lostGas = nullptr);

}  // namespace kv
