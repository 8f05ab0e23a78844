#include "report/lost_gas_tables.h"

#include "base/strings.h"
#include "base/text.h"
#include "engine/dive_plan.h"

namespace kv {
namespace {

// Header field numbers (from 0) of table content.
enum EHeaderField : std::size_t { kHeaderTitle = 1, kHeaderDive = 3, kHeaderCns = 4, kHeaderOtu = 5, kHeaderFields = 6 };

std::vector<std::string> HeaderFields(const std::string& header) {
  CSParser parser(header, '~');
  std::vector<std::string> fields;
  for (int i = 1; i <= parser.Count(); ++i) fields.push_back(parser.GetField(i));
  fields.resize(kHeaderFields);
  return fields;
}

std::string JoinHeader(const std::vector<std::string>& fields) {
  std::string header;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) header += '~';
    header += fields[i];
  }
  return header;
}

// The plan's dives with the variant in the place of dives[index].
std::vector<const CDivePlan*> WithVariant(std::vector<const CDivePlan*> dives, int index, const CDivePlan& variant) {
  dives[static_cast<std::size_t>(index)] = &variant;
  return dives;
}

using ContentBuilder = DiveTableContent (*)(const std::vector<const CDivePlan*>&, int, const SReportOptions&);

// The variant's table as build gives it for the dive; for a variant that
// cannot be completed the dive's own header (depth, gradient factors) with
// no duration or oxygen exposure, and one row that says why.
DiveTableContent VariantContent(ContentBuilder build, const std::vector<const CDivePlan*>& dives, int index,
                                const SLostGasVariant& variant, const SReportOptions& options) {
  if (index < 0 || index >= static_cast<int>(dives.size()) || !dives[static_cast<std::size_t>(index)] ||
      !variant.dive)
    return {};
  if (variant.Completed()) {
    DiveTableContent content = build(WithVariant(dives, index, *variant.dive), index, options);
    std::vector<std::string> fields = HeaderFields(content.header);
    fields[kHeaderTitle] += "<br>" + LostGasTitle(variant.gas);
    content.header = JoinHeader(fields);
    return content;
  }
  DiveTableContent content = build(dives, index, options);
  std::vector<std::string> fields = HeaderFields(content.header);
  fields[kHeaderTitle] += "<br>" + LostGasTitle(variant.gas);
  fields[kHeaderDive] = Format(LoadString(kMsgDiveOfDives), index + 1, static_cast<int>(dives.size()));
  fields[kHeaderCns].clear();
  fields[kHeaderOtu].clear();
  content.header = JoinHeader(fields);
  content.cnsAlert = content.otuAlert = false;
  content.rows = {LoadString(kMsgLostGasNotCompleted), LostGasFailureText(*variant.dive)};
  content.rowAlerts = {false, true};
  content.warnings.clear();
  return content;
}

// Whether a variant gets a gas table: it breathed open-circuit gas, or it
// could not be completed (and the gas document says so too).
bool VariantQualifiesForGasTable(const SLostGasVariant& variant) {
  return !variant.Completed() || DiveQualifiesForGasTable(variant.dive.get());
}

}  // namespace

std::string LostGasTitle(const CGas& gas) { return Format(LoadString(kMsgLostGasTitle), gas.Format(false).c_str()); }

std::string LostGasFailureText(const CDivePlan& variant) {
  return LoadString(variant.IsExtendedPlanningUsed() ? kMsgLostGasDayLimit : kMsgLostGasSixHours);
}

DiveTableContent BuildLostGasTableContent(const std::vector<const CDivePlan*>& dives, int index,
                                          const SLostGasVariant& variant, const SReportOptions& options) {
  return VariantContent(BuildDiveTableContent, dives, index, variant, options);
}

DiveTableContent BuildLostGasUsageTableContent(const std::vector<const CDivePlan*>& dives, int index,
                                               const SLostGasVariant& variant, const SReportOptions& options) {
  return VariantContent(BuildGasUsageTableContent, dives, index, variant, options);
}

bool BuildDiveTablesWithLostGas(const std::vector<const CDivePlan*>& dives, int index,
                                const CLostGasVariants& variants, const SReportOptions& options,
                                CDivePlanTablesHtml& writer) {
  const std::vector<int> chosen = ChooseDiveTables(dives, index);
  if (chosen.empty()) return false;
  writer.Reset();
  for (const int i : chosen) {
    writer.AddTable(BuildDiveTableContent(dives, i, options));
    for (const SLostGasVariant& v : variants.Of(i)) writer.AddTable(BuildLostGasTableContent(dives, i, v, options));
  }
  writer.Finish();
  return true;
}

bool BuildGasUsageTablesWithLostGas(const std::vector<const CDivePlan*>& dives, int index,
                                    const CLostGasVariants& variants, const SReportOptions& options,
                                    CGasConsumptionTablesHtml& writer) {
  const std::vector<int> chosen = ChooseGasUsageTables(dives, index);
  if (chosen.empty()) return false;
  writer.Reset();
  for (const int i : chosen) {
    writer.AddTable(BuildGasUsageTableContent(dives, i, options));
    for (const SLostGasVariant& v : variants.Of(i))
      if (VariantQualifiesForGasTable(v)) writer.AddTable(BuildLostGasUsageTableContent(dives, i, v, options));
  }
  writer.Finish();
  return true;
}

bool BuildLostGasTables(const std::vector<const CDivePlan*>& dives, int index, const CLostGasVariants& variants,
                        const SReportOptions& options, CDivePlanTablesHtml& writer) {
  if (index < 0 || ChooseDiveTables(dives, index).empty()) return false;
  const CDivePlan* dive = dives[static_cast<std::size_t>(index)];
  writer.Reset();
  writer.AddTable(BuildDiveTableContent(dives, index, options));
  if (DiveQualifiesForGasTable(dive)) writer.AddTable(BuildGasUsageTableContent(dives, index, options));
  for (const SLostGasVariant& v : variants.Of(index)) {
    writer.AddTable(BuildLostGasTableContent(dives, index, v, options));
    if (v.Completed() && DiveQualifiesForGasTable(v.dive.get()))
      writer.AddTable(BuildLostGasUsageTableContent(dives, index, v, options));
  }
  writer.Finish();
  return true;
}

}  // namespace kv
