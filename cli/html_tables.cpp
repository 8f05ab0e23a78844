#include "cli/html_tables.h"

#include "plan/plan_group.h"
#include "report/latin1.h"
#include "report/lost_gas_tables.h"
#include "report/table_builder.h"

namespace kv {

bool WriteHtmlTables(const CPlanGroup& group, const std::vector<int>& dives, const std::string& path,
                     bool gasTables, const SReportOptions& options, std::ostream& err,
                     const CLostGasVariants* lostGas) {
  std::vector<const CDivePlan*> all;
  for (int i = 0; i < group.GetDiveCount(); ++i) all.push_back(group.GetDive(i));
  // Every dive asks for the tables of the whole plan, one dive for its own.
  const int index = dives.size() == 1 && group.GetDiveCount() > 1 ? dives.front() : -1;
  bool built;
  std::string document;
  const CLostGasVariants none;
  const CLostGasVariants& variants = lostGas ? *lostGas : none;
  if (gasTables) {
    CGasConsumptionTablesHtml writer;
    built = BuildGasUsageTablesWithLostGas(all, index, variants, options, writer);
    document = writer.GetDocument();
  } else {
    CDivePlanTablesHtml writer;
    InitialiseDiveTablesWriter(writer);
    built = BuildDiveTablesWithLostGas(all, index, variants, options, writer);
    document = writer.GetDocument();
  }
  if (!built) {
    err << "kvplan: " << (gasTables ? "no dive breathes open-circuit gas" : "no dive has been calculated")
        << (index >= 0 ? " in the chosen dive" : "") << "; " << path << " not written\n";
    return true;
  }
  return WriteHtmlDocument(path, document);
}

}  // namespace kv
