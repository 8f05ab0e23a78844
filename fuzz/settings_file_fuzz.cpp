// LoadSettingsFile on arbitrary bytes, on a metric and on an imperial page.
// Settings that load must validate without running away (the lists stay
// short) and save and load again to the same text.

#include "fuzz_support.h"
#include "tablegen/table_generation.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kv;
  fuzz::CMemoryFileStore& files = fuzz::Files();
  files.files["in.cct"] = fuzz::Input(data, size);

  CTableGeneration imperial;
  imperial.SetImperial(true);
  if (imperial.LoadSettingsFile("in.cct")) imperial.Validate();

  CTableGeneration page;
  if (!page.LoadSettingsFile("in.cct")) return 0;
  fuzz::Require(!page.IsQuiet());
  fuzz::Require(page.DescentSchedule().Count() <= kMaxGasSwitches);
  fuzz::Require(page.AscentSchedule().Count() <= kMaxGasSwitches);
  page.Validate();
  fuzz::Require(page.DepthList().size() <= CTableGeneration::kMaxListEntries);
  fuzz::Require(page.BottomTimeList().size() <= CTableGeneration::kMaxListEntries);

  fuzz::Require(page.SaveSettingsFile("first.cct"));
  CTableGeneration again;
  // Values written to two decimals can make two switches one depth or one
  // gas, so the first reading may drop one; from then on the text is stable.
  fuzz::Require(again.LoadSettingsFile("first.cct"));
  fuzz::Require(again.SaveSettingsFile("second.cct"));
  CTableGeneration third;
  fuzz::Require(third.LoadSettingsFile("second.cct"));
  fuzz::Require(third.SaveSettingsFile("third.cct"));
  fuzz::Require(files.files["second.cct"] == files.files["third.cct"]);
  return 0;
}
