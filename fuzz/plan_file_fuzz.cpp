// LoadPlanGroup on arbitrary bytes. A plan that loads must save and load
// again to the same text: what the reader accepts, the writer can express.

#include "fuzz_support.h"
#include "plan/plan_group.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kv;
  fuzz::CMemoryFileStore& files = fuzz::Files();
  files.files["in.ccp"] = fuzz::Input(data, size);
  CPlanGroup group;
  const bool loaded = group.LoadPlanGroup("in.ccp");
  fuzz::Require(!group.IsLoadInProgress());
  fuzz::Require(group.GetDiveCount() <= CPlanGroup::kMaxDives);
  group.DeliverNotifications();
  if (!loaded) return 0;

  fuzz::Require(group.GetDiveCount() >= 1);
  fuzz::Require(group.SavePlanGroup("first.ccp"));
  CPlanGroup again;
  fuzz::Require(again.LoadPlanGroup("first.ccp"));
  fuzz::Require(again.GetDiveCount() == group.GetDiveCount());
  fuzz::Require(again.SavePlanGroup("second.ccp"));
  CPlanGroup third;
  fuzz::Require(third.LoadPlanGroup("second.ccp"));
  fuzz::Require(third.SavePlanGroup("third.ccp"));
  fuzz::Require(files.files["second.ccp"] == files.files["third.ccp"]);
  return 0;
}
