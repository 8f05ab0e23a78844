// ImportDive on arbitrary bytes, into a plan that already holds a dive. An
// imported dive exports and imports again to the same text.

#include "fuzz_support.h"
#include "plan/plan_group.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kv;
  fuzz::CMemoryFileStore& files = fuzz::Files();
  files.files["in.ccd"] = fuzz::Input(data, size);
  CPlanGroup group;
  const bool imported = group.ImportDive("in.ccd");
  fuzz::Require(!group.IsLoadInProgress());
  fuzz::Require(group.GetDiveCount() == (imported ? 2 : 1));
  if (!imported) return 0;

  fuzz::Require(group.ExportDive("first.ccd", 1));
  CPlanGroup again;
  fuzz::Require(again.ImportDive("first.ccd"));
  fuzz::Require(again.ExportDive("second.ccd", 1));
  CPlanGroup third;
  fuzz::Require(third.ImportDive("second.ccd"));
  fuzz::Require(third.ExportDive("third.ccd", 1));
  fuzz::Require(files.files["second.ccd"] == files.files["third.ccd"]);
  return 0;
}
